#pragma once

#include "SqlError.h"

class QSqlDriver;
class QSqlError;

// The SqlError for a failed statement. The engine's own text is English and says little to a member;
// for the failures a member can do something about (another program writing the file, a read-only
// file, a full disk, a damaged file, the server refusing a write) a Korean sentence saying so comes first.
SqlError FailureOf(const QSqlDriver* driver, const QSqlError& error, const QString& sql, const QString& lead = {});
// The same for a statement run on SQLite's own handle: its result code and its text as Qt would word it.
SqlError SqliteFailureOf(int resultCode, const QString& text, const QString& sql);
