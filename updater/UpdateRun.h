#pragma once

#include "ReleaseInstall.h"
#include "ReleaseManifest.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>

// One run of the updater without its window. The release the server offers is taken only when the
// service signed it (ReleaseManifest) and it is later than the release installed; the server's rows must
// be exactly the release's files. The files changed since the release installed are fetched into
// numbered temporary files in TEMP, each bounded by its signed size and checked against its SHA-256, and
// put in place all together or not at all (ReleaseInstall); then the release's stamp is recorded.
//
// The fetching runs on a thread of its own with its own server connection, so that the window stays
// responsive and "취소" is heard between pieces of a file; everything that touches the local databases
// or the installed files runs on the caller's thread. What the window shows comes out of the signals,
// worded as it shows it.
//
// How a run ends is left for the main program's next start (UpdateFiles::Note): a release refused for
// good is not offered to the updater again, and after a passing failure the next start goes on without it.
class UpdateRun : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        NotStarted,
        Running,
        NothingNew, // nothing to fetch: the stamp is written; the main program starts again at once
        Done,
        Cancelled,
        Refused, // the release is not taken, for a reason that will not change; failure() says why
        Failed, // the run could not end, for a passing reason (server, disk); failure() says why and
                // what the install holds
    };

    // Ticks of a second without a byte after which a fetch counts as stalled.
    static constexpr int kStallTicks = 180;
    // Bytes asked of the stand-in at a time (of PostgreSQL, half as many): the largest piece of a file
    // held in memory.
    static constexpr qint64 kPieceBytes = 4 * 1024 * 1024;
    // A release whose files to fetch are larger than this together is refused before a byte is written.
    static constexpr qint64 kMaxReleaseBytes = qint64(1) << 30;

    explicit UpdateRun(QObject* parent = nullptr);
    ~UpdateRun() override;

    // Finishes what an earlier run left (ReleaseInstall), does the run's work up to the fetching and
    // starts it; the rest follows on this thread's event loop. Never throws: a failure ends the run.
    void start();
    // Heard before the start, between pieces of a fetch and before the copying; the copying itself, once
    // begun, is finished.
    void cancel();
    bool cancelRequested() const { return m_cancel; }
    // Once a second while the run lasts: a fetch that brings no byte for kStallTicks ticks ends the run.
    void tick();

    Outcome outcome() const { return m_outcome; }
    bool finished() const { return m_outcome != Outcome::NotStarted && m_outcome != Outcome::Running; }
    bool fetching() const { return bool(m_fetch); }
    QString failure() const { return m_failure; }
    // The installed files were changed and the change is not complete yet: the next run finishes it.
    bool unfinished() const { return m_unfinished; }
    // Files fetched in this run, in their order (TEMP0001 first).
    int fileCount() const { return int(m_files.size()); }
    // Bytes fetched so far in this run.
    qint64 bytesFetched() const;

    // Test seams: the size of the pieces asked of the server, and a call on the fetching thread before
    // each piece is asked for (a test holds the fetch there to stand for a server that gives nothing).
    void setPieceBytes(qint64 bytes) { m_pieceBytes = bytes; }
    void setBeforePiece(std::function<void()> call) { m_beforePiece = std::move(call); }

    // Fetching threads still alive in the process, also those a stalled run has left behind.
    static int FetchesRunning();

Q_SIGNALS:
    void step(const QString& text); // lblMsg11
    void supplier(const QString& text); // lblMsg31
    void stamp(const QString& text); // lblMsg12
    void total(const QString& text); // lblMsg13
    void item(const QString& item, const QString& target); // lblMsg21, lblMsg22
    void progress(qint64 value, qint64 maximum);
    void ended(UpdateRun::Outcome outcome);

private:
    struct Fetch;

    bool resumeInterrupted();
    void prepare();
    std::optional<ReleaseManifest> readRelease(const QByteArray& installedKey);
    bool chooseFiles(const ReleaseManifest& release, const QString& floor);
    bool rowsMatch(const ReleaseManifest& release);
    void startFetch();
    void onPoll();
    void fetchDone();
    void install();
    void removeFetched();
    ReleaseInstall::Report report();
    void refuse(const QString& why);
    void fail(const QString& why, bool unfinished = false);
    void finish(Outcome outcome, const QString& failure = QString());

    QList<ReleaseInstall::File> m_files;
    QStringList m_recorded; // the local Update1 dates of m_files before this run
    QString m_offered; // the files stamp the server's text offers
    QString m_stamp; // the signed release's
    QByteArray m_newKey;
    qint64 m_total = 0;
    qint64 m_fetched = 0;
    bool m_cancel = false;
    bool m_unfinished = false;
    Outcome m_outcome = Outcome::NotStarted;
    QString m_failure;
    int m_shownFile = -1;
    qint64 m_lastBytes = -1;
    int m_quietTicks = 0;
    qint64 m_pieceBytes = kPieceBytes;
    std::function<void()> m_beforePiece;
    QTimer m_poll;
    std::shared_ptr<Fetch> m_fetch;
    std::thread m_thread;
};
