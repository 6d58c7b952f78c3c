#pragma once

#include <QByteArray>
#include <QString>

// Putting one file in place so that, whatever happens and whenever the process is stopped, the target
// holds either its old bytes or its new ones, never a part of them: the new bytes are written beside the
// target, flushed to the disk and renamed over it in one step.
namespace FilePlacement {

// The name the new bytes take beside their target until they are renamed over it.
QString StagingPath(const QString& target);

// Copies a file's bytes to a new file (replacing it) and flushes them to the disk. The copy is made
// piece by piece, so that a large file never sits in memory whole.
bool CopyBytes(const QString& from, const QString& to, QString* error);

// Replaces (or creates) target with the bytes of source. When the target exists, its bytes are first
// kept in backup, and its permissions carry over to the new file. A target that is read-only is left
// alone and reported.
bool Place(const QString& source, const QString& target, const QString& backup, QString* error);

// The SHA-256 of a file's bytes, read piece by piece; empty when it cannot be read.
QByteArray Sha256Of(const QString& path);

// Undoes Place: the backup goes back over the target, or a target that did not exist is removed.
bool Restore(const QString& target, const QString& backup, bool existed, QString* error);

} // namespace FilePlacement
