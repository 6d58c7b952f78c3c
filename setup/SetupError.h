#pragma once

#include <QString>

#include <stdexcept>

// What the setup tool could not do, worded for the person who ran it.
class SetupError : public std::runtime_error
{
public:
    explicit SetupError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
