#pragma once

#include "Connection.h"

#include <QString>

#include <functional>

// Builds an SQLite file beside its final name and moves it into place in one step, so that a failure
// half-way leaves whatever was there before. fill runs on the new, empty file.
void BuildSqliteFile(const QString& path, const std::function<void(const Connection&)>& fill);
