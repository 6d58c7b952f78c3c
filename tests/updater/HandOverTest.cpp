// What the main program does with an update the updater could not install: never a dead end. "마침"
// starts 수리볼 again after any run but a cancelled one; a release refused for good is not offered again;
// after a passing failure the start right after goes on and the one after that tries again; an install
// without the service's key never hands over; a copy that was stopped half-way is finished first of all.

#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "LoginService.h"
#include "Paths.h"
#include "Query.h"
#include "ReleaseInstall.h"
#include "StartRoutine.h"
#include "UpdateFiles.h"
#include "UpdaterFixture.h"
#include "frmUpdate1.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class HandOverCase : public UpdaterCase
{
protected:
    // A start of the main program after its login: true when it handed over to the updater.
    bool startHandsOver()
    {
        install.launcher.programs.clear();
        if (LoginService().login(u"player"_s, u"player"_s, false).outcome != LoginService::Outcome::LoggedIn)
            ADD_FAILURE() << "login";
        try {
            SyncDrawResults();
        } catch (const ProgramEnded&) {
            EXPECT_EQ(install.launcher.programs,
                      QStringList {InstallPaths::updaterProgram() + u' '
                                   + QString::number(UpdaterDayNumber(QDate(2025, 12, 8)))});
            return true;
        }
        EXPECT_TRUE(install.launcher.programs.isEmpty());
        return false;
    }

    // The updater's window through to its result, and "마침".
    UpdateRun::Outcome runWindow(const std::function<void(UpdateRun&)>& prepare = {})
    {
        install.launcher.programs.clear();
        frmUpdate1 window;
        if (prepare)
            prepare(window.run());
        window.delayElapsed();
        window.jobTick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
        const UpdateRun::Outcome outcome = window.run().outcome();
        EXPECT_THROW(window.endPressed(), ProgramEnded);
        return outcome;
    }
};

} // namespace

TEST_P(HandOverCase, AfterARefusalTheProgramStartsAndTheReleaseIsNotOfferedAgain)
{
    setServerFilesStamp(u"2099123199"_s); // no signed release behind it
    ASSERT_TRUE(startHandsOver());
    EXPECT_EQ(runWindow(), UpdateRun::Outcome::Refused);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});

    install.messages.clear();
    EXPECT_FALSE(startHandsOver());
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"다음 업데이트"_s)) << install.messages.last().toStdString();
    EXPECT_FALSE(startHandsOver());
    EXPECT_EQ(install.messages.shown().size(), 1) << "said once";

    // The next release is offered again.
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
    EXPECT_TRUE(startHandsOver());
    EXPECT_EQ(runWindow(), UpdateRun::Outcome::Done);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
    EXPECT_FALSE(startHandsOver());
}

TEST_P(HandOverCase, ADroppedConnectionLetsTheNextStartGoOnAndIsTriedAgainAfter)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, QByteArray(64 * 1024, 'a')}});
    ASSERT_TRUE(startHandsOver());
    const Backend backend = GetParam();
    const UpdateRun::Outcome outcome = runWindow([backend](UpdateRun& run) {
        run.setPieceBytes(1024);
        auto dropped = std::make_shared<bool>(false);
        run.setBeforePiece([backend, dropped] {
            if (*dropped)
                return;
            *dropped = true;
            if (backend == Backend::SQLite) // the stand-in has no connection to cut: its driver fails
                throw SqlError(u"server closed the connection unexpectedly"_s, QString(), QString());
            const Connection admin = PostgresAdminConnection(u"VELTRA1"_s);
            SqlValue(admin,
                     u"SELECT COUNT(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE usename = 'user1' AND "
                     "datname = 'VELTRA1'"_s);
        });
    });
    EXPECT_EQ(outcome, UpdateRun::Outcome::Failed);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));

    install.messages.clear();
    EXPECT_FALSE(startHandsOver()) << "the start right after the failure goes on";
    EXPECT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(startHandsOver()) << "the one after tries again";
    EXPECT_EQ(runWindow(), UpdateRun::Outcome::Done);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), QByteArray(64 * 1024, 'a'));
}

TEST_P(HandOverCase, WithoutAKeyTheProgramNeverHandsOverAndSaysSoOnce)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
    ASSERT_TRUE(QFile::remove(InstallPaths::updateKey()));
    install.messages.clear();
    EXPECT_FALSE(startHandsOver());
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"열쇠"_s)) << install.messages.last().toStdString();
    EXPECT_FALSE(startHandsOver());
    EXPECT_EQ(install.messages.shown().size(), 1);
}

TEST_P(HandOverCase, AnInterruptedCopyIsHandedToTheUpdaterBeforeAnythingElse)
{
    // A run stopped after its file came and before it was copied.
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "new a"}});
    ReleaseInstall::Job job;
    job.stamp = kStamp;
    job.files = {{u"a.txt"_s,
                  kRoot + u"DOC\\a.txt"_s,
                  install.path(u"DOC/a.txt"_s),
                  kStamp,
                  5,
                  described(kRoot + u"DOC\\a.txt"_s, kStamp, "new a").sha256,
                  1,
                  false}};
    WriteBytes(ReleaseInstall::TempPath(1, u".TP"_s), "new a");
    QString error;
    ASSERT_TRUE(ReleaseInstall::WriteJournal(job, &error)) << error.toStdString();
    gSystemConn.close();
    install.launcher.programs.clear();
    // Before the date check and the login: nothing of the old program runs past this point.
    EXPECT_THROW(StartProgram(), ProgramEnded);
    EXPECT_EQ(
        install.launcher.programs,
        QStringList {InstallPaths::updaterProgram() + u' ' + QString::number(UpdaterDayNumber(QDate(2025, 12, 8)))});
    EXPECT_FALSE(gSystemConn.isOpen());

    // Right after a run that could not finish it, the program goes on once.
    UpdateFiles::Note note;
    note.skipOnce = true;
    ASSERT_TRUE(UpdateFiles::WriteNote(note));
    install.launcher.programs.clear();
    EXPECT_NO_THROW(FinishInterruptedUpdate());
    EXPECT_TRUE(install.launcher.programs.isEmpty());
    ASSERT_TRUE(UpdateFiles::WriteNote({}));

    // The updater finishes the copy first; the release is then the one installed.
    OpenSystemDb();
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::NothingNew) << run.failure().toStdString();
    EXPECT_FALSE(UpdateFiles::CopyInterrupted());
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(installedStamp(), kStamp);
    EXPECT_TRUE(tempFiles().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, HandOverCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
