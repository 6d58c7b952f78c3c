#pragma once

#include "Connection.h"

#include <QStringList>

// Tables the member's own database gained after the first release. The setup tool's template has them;
// a member's file made from an older template gets them when it is opened. This is the one place where
// the program itself creates tables, and only in the member's file: the tables of the first release are
// never altered here.
const QStringList& UserTablesAddedLater();

// Brings a member's file of an older layout up to the setup tool's template, in place and in one
// transaction, when the program opens it: the tables of UserTablesAddedLater() that it lacks, a table the
// template keeps in the order of its key copied into that layout (the games, once, at the first opening
// after the update), and the indexes of its tables as the template has them (each index is written for
// every game saved). A file
// that is not a member's database (one of the first release's tables missing) is left alone for the check
// at opening to refuse; a current file costs a few reads and no write. Throws SqlError, leaving the file as
// it was.
void UpgradeUserDatabase(const Connection& connection);
