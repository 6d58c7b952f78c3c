#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Held for the life of the process; a second program of the same name on the same install root fails to
// take it. The main program and the updater each take their own.
std::unique_ptr<QLockFile> TakeInstanceLock(const QString& name);
