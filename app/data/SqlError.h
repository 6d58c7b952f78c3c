#pragma once

#include <QString>

#include <stdexcept>

// A statement or connection that failed. Windows catch it at the edge of a user action, report it and
// stay usable; a transaction guard on the way out has already rolled the action back.
class SqlError : public std::runtime_error
{
public:
    SqlError(QString message, QString nativeCode, QString statement)
        : std::runtime_error(message.toStdString())
        , m_message(std::move(message))
        , m_nativeCode(std::move(nativeCode))
        , m_statement(std::move(statement))
    {
    }

    // A statement run with more or fewer values than it has places: a fault of the caller, never run.
    static SqlError ValueCount(qsizetype places, qsizetype given, const QString& statement)
    {
        return SqlError(QStringLiteral("문장의 값 자리 수(%1)와 주어진 값의 수(%2)가 다릅니다.").arg(places).arg(given),
                        QString(),
                        statement);
    }

    const QString& message() const { return m_message; }
    const QString& nativeCode() const { return m_nativeCode; }
    const QString& statement() const { return m_statement; }

private:
    QString m_message;
    QString m_nativeCode;
    QString m_statement;
};
