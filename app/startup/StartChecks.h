#pragma once

#include "InstanceLock.h"

#include <QDate>
#include <QString>

// What the start checks before anything opens: one instance per install, an install to run on, a date
// format the program can read.

// An install is there when its system database is.
bool InstallPresent();
// Asked where there is none: where the program looked, the demo install it offers to make, and how an
// install of the real service is made instead.
QString NoInstallQuestion(const QString& root);
// Said when the demo install could not be made.
QString NoDemoMessage(const QString& root);

// The date as the operating system's short date format writes it: the user's locale on Windows,
// nl_langinfo(D_FMT) of LC_TIME elsewhere (what `date +%x` shows). A strftime format may be given
// instead, as tests do.
QString SystemShortDate(const QDate& date, const QString& strftimeFormat = QString());

// The program reads dates as YYYY-MM-DD. A text of 8 characters, or of 10 whose 5th is not "-", is taken
// for a format it cannot read; every other length passes.
bool ShortDateAccepted(const QString& shortDate);
