#include "Clock.h"

namespace {
QDateTime& fixedNow()
{
    static QDateTime value;
    return value;
}
} // namespace

QDateTime Clock::now()
{
    const QDateTime& fixed = fixedNow();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime& fixed) { fixedNow() = fixed; }

void Clock::reset() { fixedNow() = QDateTime(); }
