#include "UpdateRun.h"

#include "Database.h"
#include "FilePlacement.h"
#include "Globals.h"
#include "Paths.h"
#include "ProtocolStatement.h"
#include "Query.h"
#include "Settings.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"
#include "UpdateTargets.h"
#include "WebSite.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kUpdate = u"업데이트"_s;
const QString kInstalledStamp = u"화일복사:변경날짜"_s;

QString grouped(qint64 n) { return QLocale(QLocale::English).toString(n); }

std::atomic<int> gFetchesRunning {0};

QString refusal(const QString& name, const QString& why) { return u"업데이트 화일 ["_s + name + u"]: "_s + why; }

const QString kUntouched = u"\n\n설치된 화일은 그대로입니다."_s;

} // namespace

// What the fetching thread and the run share. The thread writes the failure before it sets done; the run
// reads it only after it has seen done.
struct UpdateRun::Fetch
{
    struct Job
    {
        QString name;
        QString date;
        qint64 size = 0;
        QByteArray sha256;
        QString tempPath;
    };

    ServerLocation server;
    std::vector<Job> jobs;
    qint64 pieceBytes = kPieceBytes;
    std::function<void()> beforePiece;

    std::atomic<bool> cancel {false};
    std::atomic<bool> done {false};
    std::atomic<qint64> bytes {0};
    std::atomic<int> current {-1};
    QString failure;
    bool lasting = false; // the failure lies in what the server holds, not in the way to it

    void run();
    bool fetchOne(const Connection& connection, const Job& job);
    bool refuse(const Job& job, const QString& why)
    {
        failure = refusal(job.name, why);
        lasting = true;
        return false;
    }
};

void UpdateRun::Fetch::run()
{
    ++gFetchesRunning;
    try {
        // The connection belongs to this thread: it is made, used and let go here.
        const Connection connection = ConnectServer(server);
        // Each piece is read once: the large page cache the stand-in gets for the member's big tables
        // would only keep every file read so far in memory.
        if (connection.engine() == Connection::Engine::SQLite)
            Execute(connection, u"PRAGMA cache_size = -8192"_s);
        for (size_t i = 0; i < jobs.size() && !cancel; ++i) {
            current = int(i);
            if (!fetchOne(connection, jobs[i]))
                break;
        }
    } catch (const SqlError& error) {
        failure = u"서버에서 업데이트 화일을 받지 못하였습니다: "_s + error.message();
    } catch (const std::exception& error) {
        failure = u"업데이트 화일을 받지 못하였습니다: "_s + QString::fromLocal8Bit(error.what());
    }
    done = true;
    --gFetchesRunning;
}

namespace {

// The pieces of one update file. PostgreSQL sends them in its binary form, the bytes as they are: through
// Qt's driver each would come as hex text of twice its size, to be decoded here.
class PieceReader
{
public:
    PieceReader(const Connection& connection, const QString& name, const QString& date)
        : m_connection(connection)
        , m_name(name)
        , m_date(date)
    {
        if (connection.engine() != Connection::Engine::PostgreSQL)
            m_query.emplace(connection,
                            u"SELECT substr(Bin1, ?, ?) AS Part1 FROM Update1 WHERE Name1 = ? AND Date1 = ?"_s);
    }
    // From byte `from` (counted from 1); nothing when the row is gone.
    std::optional<QByteArray> read(qint64 from, qint64 length)
    {
        if (m_query) {
            m_query->run({from, length, m_name, m_date});
            if (!m_query->next())
                return std::nullopt;
            return m_query->value(u"Part1"_s).toByteArray();
        }
        const ProtocolStatement piece(
            m_connection,
            u"SELECT substr(Bin1, $1, $2) AS Part1 FROM Update1 WHERE Name1 = $3 AND Date1 = $4"_s,
            {QString::number(from), QString::number(length), m_name, m_date},
            ProtocolStatement::Results::Binary);
        if (piece.rows() == 0)
            return std::nullopt;
        return piece.value(0, u"Part1"_s).toByteArray();
    }

private:
    const Connection& m_connection;
    QString m_name;
    QString m_date;
    std::optional<Query> m_query;
};

} // namespace

bool UpdateRun::Fetch::fetchOne(const Connection& connection, const Job& job)
{
    PieceReader piece(connection, job.name, job.date);
    QFile::remove(job.tempPath);
    QFile out(job.tempPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failure = u"임시 화일을 만들 수 없습니다: "_s + job.tempPath + u" ("_s + out.errorString() + u')';
        return false;
    }
    UpdateSignature::Sha256 hash;
    qint64 got = 0;
    // Never more than the signed size is asked for, so a row that holds more brings no more than that.
    while (got < job.size) {
        if (beforePiece)
            beforePiece();
        if (cancel)
            return false;
        const qint64 ask = qMin(pieceBytes, job.size - got);
        const std::optional<QByteArray> read = piece.read(got + 1, ask);
        if (!read) {
            failure = refusal(job.name, u"받는 도중 서버에서 바뀌거나 지워졌습니다."_s);
            return false;
        }
        // Bytes as they are: no text conversion on the way.
        const QByteArray part = read->left(ask);
        if (part.isEmpty())
            break;
        if (out.write(part) != part.size()) {
            failure = u"임시 화일을 쓸 수 없습니다: "_s + job.tempPath + u" ("_s + out.errorString() + u')';
            return false;
        }
        hash.add(part);
        got += part.size();
        bytes += part.size();
    }
    if (got != job.size)
        return refuse(job, u"받은 크기가 서명된 크기("_s + grouped(job.size) + u" byte)와 다릅니다."_s);
    // One byte past the signed size tells a longer row without fetching the rest of it.
    const std::optional<QByteArray> past = piece.read(job.size + 1, 1);
    if (past && !past->isEmpty())
        return refuse(job, u"서버의 내용이 서명된 크기("_s + grouped(job.size) + u" byte)보다 깁니다."_s);
    if (hash.result() != job.sha256)
        return refuse(job, u"내용이 서명된 업데이트와 다릅니다. 서비스가 보낸 화일이 아닙니다."_s);
    if (!out.flush()) {
        failure = u"임시 화일을 쓸 수 없습니다: "_s + job.tempPath + u" ("_s + out.errorString() + u')';
        return false;
    }
    return true;
}

UpdateRun::UpdateRun(QObject* parent)
    : QObject(parent)
{
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &UpdateRun::onPoll);
}

UpdateRun::~UpdateRun()
{
    if (m_fetch)
        m_fetch->cancel = true;
    if (m_thread.joinable()) {
        // A stalled fetch may never come back; it holds its own share of what it uses.
        if (m_fetch && !m_fetch->done)
            m_thread.detach();
        else
            m_thread.join();
    }
}

int UpdateRun::FetchesRunning() { return gFetchesRunning; }

qint64 UpdateRun::bytesFetched() const { return m_fetch ? qint64(m_fetch->bytes) : m_fetched; }

void UpdateRun::start()
{
    if (m_outcome != Outcome::NotStarted)
        return;
    m_outcome = Outcome::Running;
    try {
        prepare();
    } catch (const SqlError& error) {
        removeFetched();
        fail(u"업데이트를 준비하지 못하였습니다: "_s + error.message());
    } catch (const std::exception& error) {
        removeFetched();
        fail(u"업데이트를 준비하지 못하였습니다: "_s + QString::fromLocal8Bit(error.what()));
    }
}

void UpdateRun::cancel()
{
    m_cancel = true;
    if (m_fetch)
        m_fetch->cancel = true;
}

ReleaseInstall::Report UpdateRun::report()
{
    return {[this](const QString& text) { Q_EMIT step(text); },
            [this](const QString& text, const QString& target) { Q_EMIT item(text, target); }};
}

bool UpdateRun::resumeInterrupted()
{
    QString damaged;
    const std::optional<ReleaseInstall::Job> job = ReleaseInstall::ReadJournal(&damaged);
    if (!damaged.isEmpty()) {
        fail(damaged + u"\n\n임시 폴더의 화일은 그대로 두었습니다."_s, true);
        return false;
    }
    if (!job)
        return true;
    const ReleaseInstall::Outcome resumed = ReleaseInstall::Resume(*job, report());
    switch (resumed.result) {
    case ReleaseInstall::Result::Installed:
    case ReleaseInstall::Result::NotInstalled:
        // One release is whole again, the old or the new: the run goes on from there.
        return true;
    case ReleaseInstall::Result::Unrestored:
    case ReleaseInstall::Result::NotRecorded:
        fail(resumed.text, true);
        return false;
    }
    return false;
}

void UpdateRun::prepare()
{
    Q_EMIT progress(0, 0);
    Q_EMIT step(u"업데이트 작업 초기화..."_s);
    if (!resumeInterrupted())
        return;
    if (m_cancel)
        return finish(Outcome::Cancelled);

    Q_EMIT step(u"서버접속 시도..."_s);
    const QString installed = ReadInfo(kUpdate, kInstalledStamp);
    // ReadServerInfo opens the server connection (gServerConn) that the checks below use.
    const QString progressText = ReadServerInfo(kUpdate, u"추첨진행"_s);
    Q_EMIT supplier(u"공급처: 벨트라닷컴 ("_s + WebSite::hostName().toUpper() + u')');
    Q_EMIT step(u"업데이트 화일크기 계산..."_s);

    if (ByteLen(progressText) < 51)
        return refuse(u"서버의 추첨진행 정보가 짧아 새 화일의 변경날짜를 읽을 수 없습니다."_s);
    m_offered = ByteMid(progressText, 42, 10).trimmed();
    if (!ReleaseManifest::ValidStamp(m_offered))
        return refuse(u"서버의 화일 변경날짜가 올바르지 않습니다: "_s + m_offered);
    Q_EMIT stamp(u"갱신날짜: "_s + m_offered.left(4) + u"년 "_s + m_offered.mid(4, 2) + u"월 "_s + m_offered.mid(6, 2)
                 + u"일"_s);
    if (m_offered == installed)
        return finish(Outcome::NothingNew);

    const QByteArray key = UpdateFiles::ReadKeyFile(InstallPaths::updateKey(), UpdateSignature::kPublicKeyBytes);
    if (key.isEmpty())
        return refuse(u"이 설치에는 업데이트의 서명을 확인할 열쇠("_s + InstallPaths::updateKey()
                      + u")가 없어 업데이트를 받을 수 없습니다."_s);
    const std::optional<ReleaseManifest> release = readRelease(key);
    if (!release)
        return;
    // A stamp the install holds that is not one (from before releases were signed) stops nothing.
    const QString floor = ReleaseManifest::ValidStamp(installed) ? installed : QString();
    if (!floor.isEmpty() && release->stamp <= floor)
        return refuse(u"설치된 업데이트(변경날짜 "_s + installed + u")보다 나중의 것이 아닌 업데이트(변경날짜 "_s
                      + release->stamp + u")는 설치하지 않습니다."_s);

    if (!chooseFiles(*release, floor))
        return;
    // Only once the release is known to be of a size worth fetching are its rows looked at.
    if (!rowsMatch(*release))
        return;
    if (m_files.isEmpty()) {
        ReleaseInstall::Job job;
        job.stamp = m_stamp;
        job.newKey = m_newKey;
        ReleaseInstall::Record(job);
        return finish(Outcome::NothingNew);
    }

    Q_EMIT total(u"전체크기: "_s + grouped(m_total) + u" (byte)"_s);
    Q_EMIT progress(0, m_total);
    Q_EMIT step(u"업데이트 화일 받기..."_s);
    startFetch();
}

bool UpdateRun::chooseFiles(const ReleaseManifest& release, const QString& floor)
{
    Query local(gSystemConn, u"SELECT Date1 FROM Update1 WHERE Name1 = ?"_s);
    const QString root = InstallPaths::root();
    QSet<QString> paths;
    for (const ReleaseManifest::File& file : release.files) {
        const UpdateTargets::Resolved where = UpdateTargets::Resolve(file.target, root);
        if (where.path.isEmpty()) {
            refuse(refusal(file.name, where.refusal + u": "_s + file.target));
            return false;
        }
        if (paths.contains(where.path)) {
            refuse(refusal(file.name, u"다른 항목과 같은 화일을 바꾸려 합니다: "_s + file.target));
            return false;
        }
        paths.insert(where.path);
        // A file belongs to this update when it is newer than the release installed and than this
        // install's own copy of it.
        if (!floor.isEmpty() && file.date <= floor)
            continue;
        local.run({file.name});
        const QString recorded = local.next() ? local.text(u"Date1"_s) : QString();
        if (recorded == file.date)
            continue;
        m_total += file.size;
        if (m_total > kMaxReleaseBytes) {
            refuse(u"업데이트가 너무 큽니다: 받을 화일이 "_s + grouped(kMaxReleaseBytes) + u" byte를 넘습니다."_s);
            return false;
        }
        m_recorded.append(recorded);
        m_files.append({file.name,
                        file.target,
                        where.path,
                        file.date,
                        file.size,
                        file.sha256,
                        int(m_files.size()) + 1,
                        where.exists});
    }
    return true;
}

void UpdateRun::startFetch()
{
    if (!QDir().mkpath(InstallPaths::tempDir()))
        return fail(u"임시 폴더를 만들 수 없습니다: "_s + InstallPaths::tempDir());
    // What a run stopped before its copying left behind is of no use: no record names it.
    const QDir temp(InstallPaths::tempDir());
    static const QRegularExpression leftOver(u"^TEMP\\d{4}\\.(TP|BK)$"_s, QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : temp.entryList(QDir::Files)) {
        if (leftOver.match(name).hasMatch())
            QFile::remove(temp.filePath(name));
    }

    auto fetch = std::make_shared<Fetch>();
    fetch->server = ServerLocation::ofInstall();
    fetch->pieceBytes = m_pieceBytes;
    fetch->beforePiece = m_beforePiece;
    for (const ReleaseInstall::File& file : std::as_const(m_files))
        fetch->jobs.push_back(
            {file.name, file.date, file.size, file.sha256, ReleaseInstall::TempPath(file.number, u".TP"_s)});
    m_fetch = fetch;
    m_thread = std::thread([fetch] { fetch->run(); });
    m_poll.start();
}

std::optional<ReleaseManifest> UpdateRun::readRelease(const QByteArray& installedKey)
{
    const QString offered = u"서버가 알린 업데이트(변경날짜 "_s + m_offered + u")"_s;
    auto refused = [&](const QString& why) -> std::optional<ReleaseManifest> {
        refuse(offered + why);
        return std::nullopt;
    };
    // A description beyond the limit is not even read. A server made before releases were signed has
    // no table of them: its offer is refused like an unsigned one.
    std::optional<Query> row;
    try {
        row.emplace(gServerConn,
                    u"SELECT Sig1, LENGTH(Manifest1) AS Len1, CASE WHEN LENGTH(Manifest1) <= ? THEN Manifest1 END AS "
                    "Manifest1 FROM Release1 WHERE Stamp1 = ?"_s);
        row->run({ReleaseManifest::kMaxBytes, m_offered});
    } catch (const SqlError& error) {
        if (!gServerConn.failedForMissingTable(error, u"Release1"_s))
            throw;
        return refused(u"에 서비스의 서명이 없습니다."_s);
    }
    if (!row->next())
        return refused(u"에 서비스의 서명이 없습니다."_s);
    if (row->integer(u"Len1"_s) > ReleaseManifest::kMaxBytes)
        return refused(u"의 설명이 너무 깁니다."_s);
    const QByteArray bytes = row->value(u"Manifest1"_s).toByteArray();
    const QByteArray signer = ReleaseManifest::Signer(bytes, row->value(u"Sig1"_s).toByteArray(), installedKey);
    if (signer.isEmpty())
        return refused(u"의 서명이 맞지 않습니다. 서비스가 낸 업데이트가 아닙니다."_s);
    QString why;
    std::optional<ReleaseManifest> release = ReleaseManifest::parse(bytes, &why);
    if (!release)
        return refused(u": "_s + why);
    if (release->stamp != m_offered)
        return refused(u"의 서명된 변경날짜가 "_s + release->stamp + u"입니다."_s);
    m_stamp = release->stamp;
    m_newKey = signer == installedKey ? QByteArray() : signer;
    return release;
}

bool UpdateRun::rowsMatch(const ReleaseManifest& release)
{
    QHash<QString, const ReleaseManifest::File*> signedFiles;
    for (const ReleaseManifest::File& file : release.files)
        signedFiles.insert(file.name, &file);
    Query rows(gServerConn, u"SELECT Name1, File1, Size1, Date1, LENGTH(Bin1) AS Len1 FROM Update1 ORDER BY Name1"_s);
    rows.run();
    QSet<QString> seen;
    while (rows.next()) {
        const QString name = rows.text(u"Name1"_s);
        const ReleaseManifest::File* file = signedFiles.value(name);
        if (!file || seen.contains(name)) {
            refuse(refusal(name, u"서명된 업데이트에 없는 화일입니다."_s));
            return false;
        }
        seen.insert(name);
        if (rows.text(u"File1"_s) != file->target || rows.value(u"Size1"_s).isNull()
            || rows.integer(u"Size1"_s) != file->size || rows.text(u"Date1"_s) != file->date) {
            refuse(refusal(name, u"서버의 화일이 서명된 업데이트와 다릅니다."_s));
            return false;
        }
        if (rows.value(u"Len1"_s).isNull() || rows.integer(u"Len1"_s) != file->size) {
            refuse(refusal(name, u"서버의 내용과 서명된 크기("_s + grouped(file->size) + u" byte)가 다릅니다."_s));
            return false;
        }
    }
    for (const ReleaseManifest::File& file : release.files) {
        if (!seen.contains(file.name)) {
            refuse(refusal(file.name, u"서명된 업데이트의 화일이 서버에 없습니다."_s));
            return false;
        }
    }
    return true;
}

void UpdateRun::onPoll()
{
    if (!m_fetch)
        return;
    const int current = m_fetch->current;
    if (current != m_shownFile && current >= 0 && current < m_files.size()) {
        m_shownFile = current;
        const ReleaseInstall::File& file = m_files[current];
        Q_EMIT item(u"갱신항목: "_s + file.name + u" - "_s + grouped(file.size) + u" (byte)"_s,
                    u"대상폴더: "_s + file.target);
    }
    m_fetched = m_fetch->bytes;
    Q_EMIT progress(m_fetched, m_total);
    if (m_fetch->done)
        fetchDone();
}

void UpdateRun::tick()
{
    if (!m_fetch || m_fetch->done)
        return;
    const qint64 bytes = m_fetch->bytes;
    m_quietTicks = bytes == m_lastBytes ? m_quietTicks + 1 : 0;
    m_lastBytes = bytes;
    if (m_quietTicks < kStallTicks)
        return;
    // The connection gives nothing more. The thread may stay blocked in the server's driver; it is left
    // to end on its own.
    m_fetch->cancel = true;
    m_fetched = bytes;
    m_poll.stop();
    m_fetch.reset();
    m_thread.detach();
    removeFetched();
    fail(u"서버에서 "_s + QString::number(kStallTicks) + u"초 동안 아무것도 받지 못하여 업데이트를 멈추었습니다."_s
         + kUntouched);
}

void UpdateRun::fetchDone()
{
    m_poll.stop();
    m_thread.join();
    const QString failure = m_fetch->failure;
    const bool lasting = m_fetch->lasting;
    m_fetched = m_fetch->bytes;
    m_fetch.reset();
    if (m_cancel) {
        removeFetched();
        return finish(Outcome::Cancelled);
    }
    if (!failure.isEmpty()) {
        removeFetched();
        return lasting ? refuse(failure + kUntouched) : fail(failure + kUntouched);
    }
    try {
        install();
    } catch (const SqlError& error) {
        removeFetched();
        fail(u"업데이트를 기록하지 못하였습니다: "_s + error.message() + kUntouched);
    } catch (const std::exception& error) {
        removeFetched();
        fail(u"업데이트를 마치지 못하였습니다: "_s + QString::fromLocal8Bit(error.what()) + kUntouched);
    }
}

void UpdateRun::install()
{
    {
        // The files of this run, in their order, with the dates they had before it; no other row is part of
        // it. (Written here rather than at the start, so that a run with nothing to fetch writes once.)
        Transaction transaction(gSystemConn);
        Execute(gSystemConn, u"UPDATE Update1 SET FileNo1 = 0 WHERE FileNo1 <> 0"_s);
        Query remove(gSystemConn, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
        Query insert(gSystemConn, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,FileNo1) VALUES (?,?,?,?,?)"_s);
        for (qsizetype i = 0; i < m_files.size(); ++i) {
            const ReleaseInstall::File& file = m_files[i];
            remove.run({file.name});
            insert.run({file.name, file.target, file.size, m_recorded[i], file.number});
        }
        transaction.commit();
    }
    ReleaseInstall::Job job;
    job.stamp = m_stamp;
    job.newKey = m_newKey;
    job.files = m_files;
    const ReleaseInstall::Outcome placed = ReleaseInstall::Complete(job, report());
    switch (placed.result) {
    case ReleaseInstall::Result::Installed:
        return finish(Outcome::Done);
    case ReleaseInstall::Result::NotInstalled:
        return fail(placed.text);
    case ReleaseInstall::Result::Unrestored:
    case ReleaseInstall::Result::NotRecorded:
        return fail(placed.text, true);
    }
}

void UpdateRun::removeFetched()
{
    for (const ReleaseInstall::File& file : std::as_const(m_files)) {
        QFile::remove(ReleaseInstall::TempPath(file.number, u".TP"_s));
        QFile::remove(ReleaseInstall::TempPath(file.number, u".BK"_s));
    }
}

void UpdateRun::refuse(const QString& why) { finish(Outcome::Refused, why); }

void UpdateRun::fail(const QString& why, bool unfinished)
{
    m_unfinished = unfinished;
    finish(Outcome::Failed, why);
}

void UpdateRun::finish(Outcome outcome, const QString& failure)
{
    m_outcome = outcome;
    m_failure = failure;
    // What the main program's next start needs to know of this run.
    const UpdateFiles::Note before = UpdateFiles::ReadNote();
    UpdateFiles::Note note = before;
    switch (outcome) {
    case Outcome::Refused:
        note.refused = m_offered;
        note.told = false;
        note.skipOnce = false;
        break;
    case Outcome::Failed:
        note.skipOnce = true;
        break;
    case Outcome::Done:
    case Outcome::NothingNew:
        note.refused.clear();
        note.told = false;
        note.skipOnce = false;
        break;
    case Outcome::NotStarted:
    case Outcome::Running:
    case Outcome::Cancelled:
        break;
    }
    if (note != before)
        UpdateFiles::WriteNote(note);
    Q_EMIT ended(outcome);
}
