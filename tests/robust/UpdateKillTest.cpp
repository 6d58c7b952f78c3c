// An updater run killed at any moment, while it fetches, copies or records, leaves one whole release by
// the time the program goes on: either every file old and the old stamp, or every file new and the new
// stamp. What the next start does first (finish or undo the copy the record names) is done here after
// each kill. Among the files are the main program itself and the system database the stamp is kept in.

#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "KillWorker.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "ReleaseInstall.h"
#include "TestEnvironment.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString kOld = u"2025120601"_s; // the demo's stamp
const QString kNew = u"2025121001"_s;

class UpdateKillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::mt19937 random(2101);
        auto bytes = [&](qsizetype size, char tag) {
            QByteArray b(size, tag);
            for (qsizetype i = 0; i < size; i += 97)
                b[i] = char(random());
            return b;
        };
        // The main program, six data files and the system database, old and new.
        m_files = {{u"수리볼"_s, bytes(2 * 1024 * 1024, 'm'), bytes(2 * 1024 * 1024 + 77, 'M')}};
        for (int i = 1; i <= 6; ++i)
            m_files.push_back({u"DOC/data"_s + QString::number(i) + u".bin"_s,
                               i == 6 ? QByteArray() : bytes(1024 * 1024, char('a' + i)),
                               bytes(1024 * 1024 + i, char('A' + i))});
        for (const Target& t : m_files) {
            if (!t.before.isEmpty())
                WriteBytes(install.path(t.relative), t.before);
        }
        // The new system database: this one with a mark of the release in it.
        m_oldSystem = ReadBytes(InstallPaths::systemDb());
        const QString newSystem = QDir(m_sources.path()).filePath(u"SYSTEM.mdb"_s);
        WriteBytes(newSystem, m_oldSystem);
        {
            const Connection c = Connection::openSqlite(newSystem);
            Execute(c, u"INSERT INTO Tip1 (Part1,No1,Text1) VALUES ('릴리스',1,'new')"_s);
        }

        QList<Publisher::Item> items {{newSystem, u"C:\\VELTRA\\수리볼\\BIN\\SYSTEM.mdb"_s}};
        int n = 0;
        for (const Target& t : m_files) {
            const QString source = QDir(m_sources.path()).filePath(QString::number(++n));
            WriteBytes(source, t.after);
            items.append({source, u"C:\\VELTRA\\수리볼\\"_s + QString(t.relative).replace(u'/', u'\\')});
        }
        const QByteArray key
            = UpdateFiles::ReadKeyFile(install.path(u"SERVER/VELTRA1.key"_s), UpdateSignature::kSecretKeyBytes);
        Publisher::Publish(ConnectServer(ServerLocation::ofInstall()), kNew, key, items);
        gServerConn.close();
        gSystemConn.close();
    }

    // The install as it was before the run: old files, old system database, nothing in TEMP, no note.
    void restore()
    {
        for (const Target& t : m_files) {
            QFile::remove(install.path(t.relative));
            if (!t.before.isEmpty())
                WriteBytes(install.path(t.relative), t.before);
        }
        QFile::remove(InstallPaths::systemDb() + u"-journal"_s);
        WriteBytes(InstallPaths::systemDb(), m_oldSystem);
        QDir(InstallPaths::tempDir()).removeRecursively();
        QDir().mkpath(InstallPaths::tempDir());
        QFile::remove(InstallPaths::updateNote());
    }

    // What the next start does first, then the release the install holds, or why it holds none whole.
    std::string recoverAndCheck()
    {
        gSystemConn = OpenSystemDatabase(InstallPaths::systemDb());
        QString damaged;
        if (const auto job = ReleaseInstall::ReadJournal(&damaged)) {
            const ReleaseInstall::Outcome resumed = ReleaseInstall::Resume(*job, {});
            if (resumed.result != ReleaseInstall::Result::Installed
                && resumed.result != ReleaseInstall::Result::NotInstalled)
                return "the copy could not be finished or undone: " + resumed.text.toStdString();
        }
        gSystemConn.close();
        if (!damaged.isEmpty())
            return damaged.toStdString();
        if (UpdateFiles::CopyInterrupted())
            return "the record of the copy is still there";

        const Connection system = OpenSystemDatabase(InstallPaths::systemDb());
        if (SqlValue(system, u"PRAGMA integrity_check"_s) != u"ok"_s)
            return "the system database is damaged";
        const QString stamp
            = SqlValue(system,
                       u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '화일복사:변경날짜'"_s);
        const bool marked = SqlValue(system, u"SELECT COUNT(*) FROM Tip1 WHERE Part1 = '릴리스'"_s) == u"1"_s;
        int oldFiles = 0, newFiles = 0;
        for (const Target& t : m_files) {
            const QString path = install.path(t.relative);
            const QByteArray now = QFile::exists(path) ? ReadBytes(path) : QByteArray();
            oldFiles += now == t.before;
            newFiles += now == t.after;
        }
        const int all = int(m_files.size());
        QDirIterator staged(install.root(), {u"*.업데이트"_s}, QDir::Files, QDirIterator::Subdirectories);
        if (staged.hasNext())
            return "a staged file is left: " + staged.next().toStdString();
        if (stamp == kOld && !marked && oldFiles == all)
            return {};
        if (stamp == kNew && marked && newFiles == all
            && SqlValue(system, u"SELECT COUNT(*) FROM Update1 WHERE Date1 = ?"_s, {kNew}) == QString::number(all + 1))
            return {};
        return "stamp " + stamp.toStdString() + ", release mark " + std::to_string(marked) + ", "
            + std::to_string(oldFiles) + " old and " + std::to_string(newFiles) + " new of " + std::to_string(all)
            + " files";
    }

    // The phase the run was in when its last event was shown.
    static std::string phaseOf(const QStringList& events)
    {
        std::string phase = "start";
        for (const QString& e : events) {
            if (e.contains(u"업데이트 화일 받기"_s))
                phase = "fetching";
            else if (e.contains(u"다운받은 화일 복사"_s))
                phase = "copying";
            else if (e.contains(u"최종 재설정 작업"_s))
                phase = "recording";
            else if (e.contains(u"다운받은 임시화일 삭제"_s))
                phase = "cleaning up";
            else if (e.startsWith(u"done"_s))
                phase = "done";
        }
        return phase;
    }

    struct Target
    {
        QString relative;
        QByteArray before; // empty: not there before
        QByteArray after;
    };

    TestInstall install {TestInstall::Kind::Demo};
    QTemporaryDir m_sources;
    std::vector<Target> m_files;
    QByteArray m_oldSystem;
};

} // namespace

TEST_F(UpdateKillTest, AnUpdateKilledAtAnyMomentLeavesOneWholeRelease)
{
    ASSERT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
    std::map<std::string, int> kills;

    // Undisturbed: how many events a run shows, and how long it takes.
    restore();
    int events = 0;
    qint64 took = 0;
    {
        Worker worker(u"update"_s, u"-"_s, 0);
        ASSERT_TRUE(worker.waitFor(0)) << worker.killNow().stderrText.toStdString();
        QElapsedTimer clock;
        clock.start();
        const WorkerRun run = worker.ended();
        took = clock.elapsed();
        ASSERT_TRUE(run.texts.last().startsWith(u"done "_s + QString::number(3)))
            << run.texts.join(u'\n').toStdString() << run.stderrText.toStdString();
        events = run.lines - 1;
    }
    ASSERT_EQ(recoverAndCheck(), "");

    // At every event the run shows: between the files of each phase. How many events a run shows varies
    // with how its files arrive, so the kills go on until a run gets past its last event.
    for (int at = 1; at <= 4 * events; ++at) {
        restore();
        Worker worker(u"update"_s, u"-"_s, quint32(at));
        const WorkerRun run = worker.ended();
        ASSERT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        if (phaseOf(run.texts) == "done") {
            ASSERT_EQ(recoverAndCheck(), "");
            break;
        }
        ++kills[phaseOf(run.texts)];
        ASSERT_EQ(recoverAndCheck(), "") << "killed at event " << at << ": "
                                         << run.texts.value(run.texts.size() - 1).toStdString();
    }
    // The recording is one event whose place moves with the files' arrival: a kill named by its text.
    {
        restore();
        Worker worker(u"update"_s, u"-"_s, u"최종 재설정 작업"_s);
        const WorkerRun run = worker.ended();
        ASSERT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        ASSERT_EQ(phaseOf(run.texts), "recording") << run.texts.join(u'\n').toStdString();
        ++kills["recording"];
        ASSERT_EQ(recoverAndCheck(), "") << "killed in the recording";
    }
    // And at random moments, inside a file's copy as well.
    std::mt19937 random(2102);
    int randomKills = 0;
    QElapsedTimer budget;
    budget.start();
    // Until enough of them have come inside the copying, where the events cannot reach.
    int randomInCopying = 0;
    while (budget.elapsed() < kBudgetMs && randomKills < 100 && randomInCopying < 5) {
        restore();
        Worker worker(u"update"_s, u"-"_s, 0);
        ASSERT_TRUE(worker.waitFor(0)) << worker.killNow().stderrText.toStdString();
        // The random moment of the kill is the point of the test, not a wait for anything.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<qint64>(0, took)(random)));
        const WorkerRun run = worker.killNow();
        ASSERT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        ++randomKills;
        ++kills[phaseOf(run.texts)];
        randomInCopying += phaseOf(run.texts) == "copying" ? 1 : 0;
        ASSERT_EQ(recoverAndCheck(), "") << "random kill " << randomKills << " in " << phaseOf(run.texts) << ": "
                                         << run.texts.value(run.texts.size() - 1).toStdString();
    }
    std::cout << "[ kills    ] update: " << events << " events of a " << took << " ms run, " << randomKills
              << " random kills;";
    for (const auto& [phase, count] : kills)
        std::cout << ' ' << phase << ' ' << count;
    std::cout << std::endl;
    EXPECT_GT(kills["fetching"], 0);
    EXPECT_GT(kills["copying"], 0);
    EXPECT_GT(kills["recording"], 0);
}
