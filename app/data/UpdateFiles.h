#pragma once

#include <QByteArray>
#include <QString>

// What the main program and the updater share about updates besides the system database: the install's
// public key, the note of what the last runs could not install, and the record of a copy under way. All
// three are files of the install (InstallPaths::updateKey(), updateNote(), updateJournal()): an install of
// any age has them or does without them, and neither program has to add a settings row.
namespace UpdateFiles {

// Bytes of an Ed25519 public key.
inline constexpr int kPublicKeyBytes = 32;

// Key files hold one line of base64 text. A secret key file is readable by its owner only. The write
// replaces the file in one step; false with a reason when it cannot be written.
bool WriteKeyFile(const QString& path, const QByteArray& key, bool secret, QString* error);
// The key, or empty when the file is missing or does not hold a key of that size.
QByteArray ReadKeyFile(const QString& path, int bytes);

// An install made without the service's public key takes no updates.
bool InstallHasKey();

// A copy of new files was begun and not finished: the updater has to finish or undo it before either
// program does anything else.
bool CopyInterrupted();

// What the updater leaves for the next start of the main program.
struct Note
{
    // A release (its files stamp) refused for a reason that will not change: a bad signature, an older
    // release, files that do not match what was signed. The main program does not hand over for it again.
    QString refused;
    // The member was told, once, that the refused release was not installed.
    bool told = false;
    // The last run failed for a passing reason (the server, the disk): the start right after it goes on
    // without the updater, and the one after that tries again.
    bool skipOnce = false;
    // The member was told, once, that this install takes no updates.
    bool toldNoKey = false;

    bool operator==(const Note&) const = default;
};

// A missing or unreadable note reads as the empty one.
Note ReadNote();
// Replaces the note in one step; the empty note removes the file. False when it cannot be written.
bool WriteNote(const Note& note);

} // namespace UpdateFiles
