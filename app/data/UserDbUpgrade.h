#pragma once

#include "Connection.h"

#include <QStringList>

// Tables the member's own database gained after the first release. The setup tool's template has them;
// a member's file made from an older template gets them when it is opened. This is the one place where
// the program itself creates tables, and only in the member's file: the tables of the first release are
// never altered here.
const QStringList& UserTablesAddedLater();

// Creates the tables of UserTablesAddedLater() that the file lacks, all in one transaction. A file that
// is not a member's database (one of the first release's tables missing) is left alone for the check at
// opening to refuse. Throws SqlError, leaving the file as it was.
void UpgradeUserDatabase(const Connection& connection);
