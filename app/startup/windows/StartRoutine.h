#pragma once

#include "StartChecks.h"

#include <QString>

// The start of the main program: one instance per install, a date format the program can read, the
// system database, the login and the synchronisation. Every "end" on the way goes through EndProgram and
// does not return; after it the caller opens the main window.
void StartProgram(const QString& strftimeFormat = QString());
