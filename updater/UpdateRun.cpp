#include "UpdateRun.h"

#include "Database.h"
#include "FilePlacement.h"
#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "Settings.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateSignature.h"
#include "UpdateTargets.h"
#include "WebSite.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kUpdate = u"업데이트"_s;
const QString kInstalledStamp = u"화일복사:변경날짜"_s;

QString grouped(qint64 n) { return QLocale(QLocale::English).toString(n); }

bool validStamp(const QString& stamp)
{
    if (stamp.size() != 10)
        return false;
    for (QChar c : stamp) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return QDate::fromString(stamp.left(8), u"yyyyMMdd"_s).isValid();
}

std::atomic<int> gFetchesRunning {0};

QString refusal(const QString& name, const QString& why) { return u"업데이트 화일 ["_s + name + u"]: "_s + why; }

} // namespace

// What the fetching thread and the run share. The thread writes the failure text before it sets done;
// the run reads it only after it has seen done.
struct UpdateRun::Fetch
{
    struct Job
    {
        UpdateSignature::FileFacts facts;
        QByteArray signature;
        QString tempPath;
    };

    ServerLocation server;
    QByteArray publicKey;
    std::vector<Job> jobs;

    std::atomic<bool> cancel {false};
    std::atomic<bool> done {false};
    std::atomic<qint64> bytes {0};
    std::atomic<int> current {-1};
    QString failure;

    void run();
    bool fetchOne(Query& piece, const Job& job);
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
        Query piece(connection, u"SELECT substr(Bin1, ?, ?) AS Part1 FROM Update1 WHERE Name1 = ? AND Date1 = ?"_s);
        for (size_t i = 0; i < jobs.size() && !cancel; ++i) {
            current = int(i);
            if (!fetchOne(piece, jobs[i]))
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

bool UpdateRun::Fetch::fetchOne(Query& piece, const Job& job)
{
    const UpdateSignature::FileFacts& facts = job.facts;
    QFile::remove(job.tempPath);
    QFile out(job.tempPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failure = u"임시 화일을 만들 수 없습니다: "_s + job.tempPath + u" ("_s + out.errorString() + u')';
        return false;
    }
    UpdateSignature::Stream signature(facts);
    qint64 got = 0;
    while (got < facts.size) {
        if (cancel)
            return false;
        piece.run({got + 1, kPieceBytes, facts.name, facts.date});
        if (!piece.next()) {
            failure = refusal(facts.name, u"받는 도중 서버에서 바뀌거나 지워졌습니다."_s);
            return false;
        }
        // Bytes as they are: no text conversion on the way.
        const QByteArray part = piece.value(u"Part1"_s).toByteArray();
        if (part.isEmpty() || got + part.size() > facts.size)
            break;
        if (out.write(part) != part.size()) {
            failure = u"임시 화일을 쓸 수 없습니다: "_s + job.tempPath + u" ("_s + out.errorString() + u')';
            return false;
        }
        signature.add(part);
        got += part.size();
        bytes += part.size();
    }
    if (got != facts.size) {
        failure = refusal(facts.name, u"받은 크기가 알린 크기("_s + grouped(facts.size) + u" byte)와 다릅니다."_s);
        return false;
    }
    if (!signature.verify(job.signature, publicKey)) {
        failure = refusal(facts.name, u"서명이 맞지 않습니다. 서비스가 보낸 화일이 아닙니다."_s);
        return false;
    }
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

QString UpdateRun::TempPath(int number, const QString& suffix)
{
    return QDir(InstallPaths::tempDir()).filePath(u"TEMP"_s + QString::number(number).rightJustified(4, u'0') + suffix);
}

void UpdateRun::start()
{
    if (m_outcome != Outcome::NotStarted)
        return;
    m_outcome = Outcome::Running;
    try {
        prepare();
    } catch (const SqlError& error) {
        removeTemporaries();
        finish(Outcome::Refused, u"업데이트를 준비하지 못하였습니다: "_s + error.message());
    } catch (const std::exception& error) {
        removeTemporaries();
        finish(Outcome::Refused, u"업데이트를 준비하지 못하였습니다: "_s + QString::fromLocal8Bit(error.what()));
    }
}

void UpdateRun::cancel()
{
    m_cancel = true;
    if (m_fetch)
        m_fetch->cancel = true;
}

void UpdateRun::prepare()
{
    Q_EMIT progress(0, 0);
    Q_EMIT step(u"업데이트 작업 초기화..."_s);
    Execute(gSystemConn, u"UPDATE Update1 SET FileNo1 = 0"_s);
    if (m_cancel)
        return finish(Outcome::Cancelled);

    Q_EMIT step(u"서버접속 시도..."_s);
    const QString installed = ReadInfo(kUpdate, kInstalledStamp);
    OpenServerConn();
    const QString progressText = ReadServerInfo(kUpdate, u"추첨진행"_s);
    Q_EMIT supplier(u"공급처: 벨트라닷컴 ("_s + WebSite::hostName().toUpper() + u')');
    Q_EMIT step(u"업데이트 화일크기 계산..."_s);

    if (ByteLen(progressText) < 51)
        return finish(Outcome::Refused, u"서버의 추첨진행 정보가 짧아 새 화일의 변경날짜를 읽을 수 없습니다."_s);
    m_newStamp = ByteMid(progressText, 42, 10);
    // A stamp that is not a date would be written here and offered again at every start.
    if (!validStamp(m_newStamp))
        return finish(Outcome::Refused, u"서버의 화일 변경날짜가 올바르지 않습니다: "_s + m_newStamp);
    Q_EMIT stamp(u"갱신날짜: "_s + m_newStamp.left(4) + u"년 "_s + m_newStamp.mid(4, 2) + u"월 "_s
                 + m_newStamp.mid(6, 2) + u"일"_s);

    Query sum(gServerConn, u"SELECT SUM(Size1) AS Total1 FROM Update1 WHERE Date1 > ?"_s);
    sum.run({installed});
    m_total = sum.next() ? sum.integer(u"Total1"_s) : 0;

    Query rows(gServerConn,
               u"SELECT Name1, File1, Size1, Date1, Sig1, LENGTH(Bin1) AS Len1 FROM Update1 WHERE Date1 > ? "
               "ORDER BY Name1"_s);
    rows.run({installed});
    Query local(gSystemConn, u"SELECT Date1 FROM Update1 WHERE Name1 = ?"_s);
    const QString root = InstallPaths::root();
    QSet<QString> paths;
    QList<File> all;
    while (rows.next()) {
        File file;
        file.name = rows.text(u"Name1"_s);
        file.target = rows.text(u"File1"_s);
        file.date = rows.text(u"Date1"_s);
        file.size = rows.integer(u"Size1"_s);
        file.signature = rows.value(u"Sig1"_s).toByteArray();
        const QVariant length = rows.value(u"Len1"_s);
        if (!UpdateTargets::NameAcceptable(file.name))
            return finish(Outcome::Refused, refusal(file.name, u"이름이 올바르지 않습니다."_s));
        local.run({file.name});
        file.recorded = local.next() ? local.text(u"Date1"_s) : QString();
        file.fetch = file.date != file.recorded;
        if (!file.fetch) {
            m_skippedBytes += qMax<qint64>(file.size, 0);
            continue;
        }
        if (rows.value(u"Size1"_s).isNull() || file.size <= 0)
            return finish(Outcome::Refused, refusal(file.name, u"크기가 올바르지 않습니다."_s));
        if (length.isNull() || length.toLongLong() == 0)
            return finish(Outcome::Refused, refusal(file.name, u"내용이 비어 있습니다."_s));
        if (length.toLongLong() != file.size)
            return finish(
                Outcome::Refused,
                refusal(file.name, u"서버의 내용과 알린 크기("_s + grouped(file.size) + u" byte)가 다릅니다."_s));
        if (file.signature.isEmpty())
            return finish(Outcome::Refused,
                          refusal(file.name, u"서명이 없습니다. 서비스가 보낸 화일인지 알 수 없습니다."_s));
        const UpdateTargets::Resolved where = UpdateTargets::Resolve(file.target, root);
        if (where.path.isEmpty())
            return finish(Outcome::Refused, refusal(file.name, where.refusal + u": "_s + file.target));
        if (paths.contains(where.path))
            return finish(Outcome::Refused,
                          refusal(file.name, u"다른 항목과 같은 화일을 바꾸려 합니다: "_s + file.target));
        paths.insert(where.path);
        file.path = where.path;
        file.existed = where.exists;
        all.append(file);
    }
    if (all.isEmpty()) {
        WriteInfo(kUpdate, kInstalledStamp, m_newStamp);
        return finish(Outcome::NothingNew);
    }

    const QByteArray publicKey
        = UpdateSignature::ReadKeyFile(UpdateSignature::InstalledKeyFile(), UpdateSignature::kPublicKeyBytes);
    if (publicKey.isEmpty())
        return finish(Outcome::Refused,
                      u"이 설치에는 업데이트 화일의 서명을 확인할 열쇠("_s + UpdateSignature::InstalledKeyFile()
                          + u")가 없어 업데이트를 받을 수 없습니다."_s);

    Q_EMIT total(u"전체크기: "_s + grouped(m_total) + u" (byte)"_s);
    Q_EMIT progress(m_skippedBytes, m_total);
    Q_EMIT step(u"업데이트 화일 받기..."_s);
    if (!QDir().mkpath(InstallPaths::tempDir()))
        return finish(Outcome::Refused, u"임시 폴더를 만들 수 없습니다: "_s + InstallPaths::tempDir());

    // What a run that was stopped half-way left behind is of no use: every target is whole, old or new.
    const QDir temp(InstallPaths::tempDir());
    static const QRegularExpression leftOver(u"^TEMP\\d{4}\\.(TP|BK)$"_s, QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : temp.entryList(QDir::Files)) {
        if (leftOver.match(name).hasMatch())
            QFile::remove(temp.filePath(name));
    }

    auto fetch = std::make_shared<Fetch>();
    fetch->server = ServerLocation::ofInstall();
    fetch->publicKey = publicKey;
    for (File& file : all) {
        file.number = int(m_files.size()) + 1;
        m_files.append(file);
        fetch->jobs.push_back(
            {{file.name, file.target, file.date, file.size}, file.signature, TempPath(file.number, u".TP"_s)});
    }
    m_fetch = fetch;
    m_thread = std::thread([fetch] { fetch->run(); });
    m_poll.start();
}

void UpdateRun::onPoll()
{
    if (!m_fetch)
        return;
    const int current = m_fetch->current;
    if (current != m_shownFile && current >= 0 && current < m_files.size()) {
        m_shownFile = current;
        const File& file = m_files[current];
        Q_EMIT item(u"갱신항목: "_s + file.name + u" - "_s + grouped(file.size) + u" (byte)"_s,
                    u"대상폴더: "_s + file.target);
    }
    Q_EMIT progress(m_skippedBytes + m_fetch->bytes, m_total);
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
    // The connection gives nothing more: the run ends as a cancel would. The thread may stay blocked in
    // the server's driver; it is left to end on its own.
    m_fetch->cancel = true;
    m_poll.stop();
    m_fetch.reset();
    m_thread.detach();
    m_cancel = true;
    removeTemporaries();
    finish(Outcome::Cancelled);
}

void UpdateRun::fetchDone()
{
    m_poll.stop();
    m_thread.join();
    const QString failure = m_fetch->failure;
    m_fetch.reset();
    if (m_cancel) {
        removeTemporaries();
        return finish(Outcome::Cancelled);
    }
    if (!failure.isEmpty()) {
        removeTemporaries();
        return finish(Outcome::Refused, failure + u"\n\n설치된 화일은 그대로입니다."_s);
    }
    try {
        install();
    } catch (const SqlError& error) {
        removeTemporaries();
        finish(Outcome::Refused, u"업데이트를 기록하지 못하였습니다: "_s + error.message());
    } catch (const std::exception& error) {
        removeTemporaries();
        finish(Outcome::Refused, u"업데이트를 마치지 못하였습니다: "_s + QString::fromLocal8Bit(error.what()));
    }
}

void UpdateRun::install()
{
    {
        // The files of this run, in their order, with the dates they had before it.
        Transaction transaction(gSystemConn);
        Query remove(gSystemConn, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
        Query insert(gSystemConn, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,FileNo1) VALUES (?,?,?,?,?)"_s);
        for (const File& file : std::as_const(m_files)) {
            remove.run({file.name});
            insert.run({file.name, file.target, file.size, file.recorded, file.number});
        }
        transaction.commit();
    }

    Q_EMIT step(u"다운받은 화일 복사..."_s);
    QList<const File*> placed;
    for (const File& file : std::as_const(m_files)) {
        Q_EMIT item(u"갱신항목: "_s + file.name + u"  ("_s + grouped(file.size) + u')', u"대상폴더: "_s + file.target);
        QString error;
        if (FilePlacement::Place(TempPath(file.number, u".TP"_s), file.path, TempPath(file.number, u".BK"_s), &error)) {
            placed.append(&file);
            continue;
        }
        // Every file of the run goes in, or none: what was replaced so far gets its old bytes back.
        QStringList unrestored;
        for (auto it = placed.crbegin(); it != placed.crend(); ++it) {
            QString restoreError;
            if (!FilePlacement::Restore((*it)->path, TempPath((*it)->number, u".BK"_s), (*it)->existed, &restoreError))
                unrestored.append((*it)->path + u" ("_s + restoreError + u')');
        }
        QString text = refusal(file.name, u"설치하지 못하였습니다: "_s + file.path + u" ("_s + error + u")"_s);
        if (unrestored.isEmpty()) {
            text += u"\n\n이번에 바꾼 화일은 모두 원래대로 되돌렸습니다."_s;
            removeTemporaries();
        } else {
            // The backups are what is left of those files: they stay in TEMP.
            text += u"\n\n다음 화일을 되돌리지 못하였습니다. 원본은 임시 폴더에 남겨 두었습니다:\n"_s
                + unrestored.join(u'\n');
        }
        return finish(Outcome::Refused, text);
    }

    Q_EMIT step(u"다운받은 임시화일 삭제..."_s);
    removeTemporaries();
    Q_EMIT step(u"최종 재설정 작업..."_s);
    recordRun();
    finish(Outcome::Done);
}

void UpdateRun::recordRun()
{
    // The run may have replaced the system database itself: what follows goes into the file now in place.
    gSystemConn.close();
    gSystemConn = OpenSystemDatabase(InstallPaths::systemDb());
    Transaction transaction(gSystemConn);
    Query remove(gSystemConn, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
    Query insert(gSystemConn, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,FileNo1) VALUES (?,?,?,?,?)"_s);
    for (const File& file : std::as_const(m_files)) {
        remove.run({file.name});
        insert.run({file.name, file.target, file.size, file.date, file.number});
    }
    WriteInfo(kUpdate, kInstalledStamp, m_newStamp);
    transaction.commit();
}

void UpdateRun::removeTemporaries()
{
    for (const File& file : std::as_const(m_files)) {
        const QString tp = TempPath(file.number, u".TP"_s);
        const QString bk = TempPath(file.number, u".BK"_s);
        Q_EMIT item(u"갱신화일: "_s + tp, u"원본화일: "_s + bk);
        QFile::remove(tp);
        QFile::remove(bk);
        QFile::remove(FilePlacement::StagingPath(file.path));
    }
}

void UpdateRun::finish(Outcome outcome, const QString& failure)
{
    m_outcome = outcome;
    m_failure = failure;
    Q_EMIT ended(outcome);
}
