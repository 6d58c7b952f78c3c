#pragma once

#include <QDate>
#include <QStringList>

// 수리볼 starts the updater with one number, the year plus month × 100 + day of the day it did so (3233
// on 2002-12-31). Without it, or with another day's, the updater ends without a word: it was not started
// by the main program handing over today.
int HandOverDayNumber(const QDate& day);
bool DayNumberAccepted(const QStringList& arguments, const QDate& today);
