#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Putting the fetched files of a release in place and recording it, so that a stop at any moment leaves
// the old release or the new one complete by the time either program goes on.
//
// Before the first target is touched, a record of the copy (the journal, InstallPaths::updateJournal())
// is written: every file with its temporary copy, its backup and the SHA-256 of its new bytes, and how
// far the work went (copying, recording, undoing). Whoever finds the record, the updater at its next run
// (the main program hands over to it before anything else when it sees one), finishes the copy when every
// new file not in place yet is still whole in TEMP, and otherwise puts the old files back. The release is
// recorded (the local Update1 rows, the files stamp, a new key) before the backups, the temporary files
// and the record go.
namespace ReleaseInstall {

struct File
{
    QString name;
    QString target; // as the release names it
    QString path; // on disk
    QString date;
    qint64 size = 0;
    QByteArray sha256;
    int number = 0; // k of TEMPk.TP and TEMPk.BK
    bool existed = false;
};

struct Job
{
    enum class Phase { Copying, Recording, Undoing };
    Phase phase = Phase::Copying;
    QString stamp;
    QByteArray newKey; // the key the release handed over to, installed with it; empty: the key stays
    QList<File> files;
};

// What the work shows while it goes: a step (lblMsg11), and the item and its target (lblMsg21, lblMsg22).
struct Report
{
    std::function<void(const QString&)> step;
    std::function<void(const QString&, const QString&)> item;
};

enum class Result {
    Installed, // every file in place and the release recorded
    NotInstalled, // a file could not be placed; every target has its old bytes again
    Unrestored, // a file could not be placed, and some targets could not be put back: their backups and
                // the record stay, and the next run tries again
    NotRecorded, // every file in place, but the record could not be written: the next run writes it
};

struct Outcome
{
    Result result = Result::Installed;
    QString text; // for the last three: what failed and what the install holds now
};

// "TEMP" + number as four digits + suffix, in the install's TEMP folder.
QString TempPath(int number, const QString& suffix);

// The record of a copy under way; false with the reason when it cannot be written.
bool WriteJournal(const Job& job, QString* error);
// The record left by a run that did not end, if any. One that cannot be read is reported in *damaged.
std::optional<Job> ReadJournal(QString* damaged);

// Places every file of a fresh run in order, then records the release and cleans up. A file that cannot
// be placed undoes the others. The journal is written here, first.
Outcome Complete(Job job, const Report& report);

// Finishes the work of a record found at start: forward when it can, else back.
Outcome Resume(Job job, const Report& report);

// Records the release without copying anything: the files stamp and a new key, in one step. Throws.
void Record(const Job& job);

} // namespace ReleaseInstall
