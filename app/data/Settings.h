#pragma once

#include "IfoFiles.h"

#include <QString>

// Local settings (rows of the system database's Info1) and the server's information texts; the IFO files
// come with IfoFiles.h. Rows are never created here: they come with the install, and a missing one is
// reported each time it is asked for.
QString ReadInfo(const QString& section, const QString& name);
void WriteInfo(const QString& section, const QString& name, const QString& value);
// Opens a fresh server connection on every call.
QString ReadServerInfo(const QString& part, const QString& name);
