#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <thread>

// One run of the updater without its window: the files changed on the server since the stamp last
// installed are fetched into numbered temporary files in TEMP, checked, and put in place all together or
// not at all; then the new stamp is recorded.
//
// The fetching runs on a thread of its own with its own server connection, so that the window stays
// responsive and "취소" is heard between pieces of a file; everything that touches the local databases
// or the installed files runs on the caller's thread. What the window shows comes out of the signals,
// worded as it shows it.
class UpdateRun : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        NotStarted,
        Running,
        NothingNew, // the stamp is written; the main program starts again at once
        Done,
        Cancelled,
        Refused, // nothing installed; failure() says why
    };

    // Ticks of a second without a byte after which a fetch counts as stalled.
    static constexpr int kStallTicks = 180;
    // Bytes asked of the server at a time: the largest piece of a file held in memory.
    static constexpr qint64 kPieceBytes = 4 * 1024 * 1024;

    explicit UpdateRun(QObject* parent = nullptr);
    ~UpdateRun() override;

    // Does the run's work up to the fetching and starts it; the rest follows on this thread's event loop.
    // Never throws: a failure ends the run as Refused.
    void start();
    // Heard before the start, between pieces of a fetch and before the copying; the copying itself, once
    // begun, is finished.
    void cancel();
    bool cancelRequested() const { return m_cancel; }
    // Once a second while the run lasts: a fetch that brings no byte for kStallTicks ticks ends the run
    // as "취소" would.
    void tick();

    Outcome outcome() const { return m_outcome; }
    bool finished() const { return m_outcome != Outcome::NotStarted && m_outcome != Outcome::Running; }
    bool fetching() const { return bool(m_fetch); }
    QString failure() const { return m_failure; }
    // Files fetched in this run, in their order (TEMP0001 first).
    int fileCount() const { return int(m_files.size()); }

    // Fetching threads still alive in the process, also those a stalled run has left behind.
    static int FetchesRunning();

    // "TEMP" + number as four digits + suffix, in the install's TEMP folder.
    static QString TempPath(int number, const QString& suffix);

Q_SIGNALS:
    void step(const QString& text); // lblMsg11
    void supplier(const QString& text); // lblMsg31
    void stamp(const QString& text); // lblMsg12
    void total(const QString& text); // lblMsg13
    void item(const QString& item, const QString& target); // lblMsg21, lblMsg22
    void progress(qint64 value, qint64 maximum);
    void ended(UpdateRun::Outcome outcome);

private:
    struct File
    {
        QString name;
        QString target; // as the server names it
        QString path; // on disk
        QString date; // the server's
        QString recorded; // the local row's before this run
        qint64 size = 0;
        QByteArray signature;
        int number = 0; // k of TEMPk
        bool existed = false;
        bool fetch = false;
    };
    struct Fetch;

    void prepare();
    void onPoll();
    void fetchDone();
    void install();
    void recordRun();
    void removeTemporaries();
    void finish(Outcome outcome, const QString& failure = QString());

    QList<File> m_files;
    QString m_newStamp;
    qint64 m_total = 0;
    qint64 m_skippedBytes = 0;
    bool m_cancel = false;
    Outcome m_outcome = Outcome::NotStarted;
    QString m_failure;
    int m_shownFile = -1;
    qint64 m_lastBytes = -1;
    int m_quietTicks = 0;
    QTimer m_poll;
    std::shared_ptr<Fetch> m_fetch;
    std::thread m_thread;
};
