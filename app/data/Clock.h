#pragma once

#include <QDateTime>

// The one source of "now" for the whole program, so that tests can stand still in time.
class Clock
{
public:
    static QDateTime now();
    static QDate today() { return now().date(); }

    static void setFixed(const QDateTime& fixed);
    static void reset();
};
