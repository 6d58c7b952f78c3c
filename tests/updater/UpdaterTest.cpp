#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "LoginService.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "Settings.h"
#include "UpdateSignature.h"
#include "UpdaterFixture.h"
#include "UpdaterStart.h"
#include "frmUpdate1.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <mutex>

using namespace Qt::StringLiterals;

// ---- the window and its start ----

TEST_P(UpdaterCase, OpensWithItsLabelsAndEndsAtOnceWhenNothingIsNewer)
{
    frmUpdate1 window;
    EXPECT_EQ(window.windowTitle(), u"업데이트 [수리볼]"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg11"), u"수리볼 업데이트"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg12"), u"갱신날짜:"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg13"), u"전체크기:"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg21"), u"갱신항목:"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg22"), u"대상폴더:"_s);
    EXPECT_TRUE(window.findChild<QWidget*>(u"fraR2"_s)->isHidden());

    // A new release whose one file this install already holds in that version.
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
    Execute(gSystemConn,
            u"INSERT INTO Update1 (Name1,File1,Size1,Date1,FileNo1) VALUES ('a.txt',?,1,?,0)"_s,
            {QString(kRoot + u"DOC\\a.txt"_s), kStamp});
    window.delayElapsed();
    EXPECT_THROW(window.jobTick(), ProgramEnded);
    EXPECT_EQ(installedStamp(), kStamp);
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
    EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
}

TEST_P(UpdaterCase, CancelBeforeTheStartLeavesTheStamp)
{
    publish(kStamp, {{kRoot + u"DOC\\새소식.TXT"_s, "news"}});
    frmUpdate1 window;
    window.cancelPressed(); // within the two seconds
    window.delayElapsed();
    window.jobTick();
    EXPECT_EQ(window.run().outcome(), UpdateRun::Outcome::Cancelled);
    EXPECT_EQ(LabelText(window, u"lblMsg51"), u"진행취소: 업데이트 작업을 중단합니다."_s);
    EXPECT_FALSE(window.findChild<QWidget*>(u"fraR2"_s)->isHidden());
    EXPECT_EQ(installedStamp(), kDemoStamp);
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/새소식.TXT"_s)));
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_TRUE(install.launcher.programs.isEmpty()); // not done: 수리볼 is not started
}

TEST_P(UpdaterCase, ACancelledWindowLeftOpenTimesOut)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
    frmUpdate1 window;
    window.cancelPressed();
    window.delayElapsed();
    window.jobTick();
    ASSERT_EQ(window.run().outcome(), UpdateRun::Outcome::Cancelled);
    for (int tick = 1; tick < frmUpdate1::kTickLimit; ++tick)
        window.jobTick();
    EXPECT_TRUE(install.messages.shown().isEmpty());
    EXPECT_THROW(window.jobTick(), ProgramEnded);
    EXPECT_EQ(install.messages.last(),
              u"작업시간이 초과되었습니다. 인터넷 연결이 안정적이지 못하여 작업을 종료합니다."_s);
}

TEST_P(UpdaterCase, AWindowWhoseRunHasEndedNeverTimesOut)
{
    // Done, refused for good, failed for a passing reason: the result stays on screen for as long as the
    // member leaves it there, and "마침" still starts 수리볼.
    struct Case
    {
        const char* what;
        std::function<void()> arrange;
        UpdateRun::Outcome outcome;
    };
    const std::vector<Case> cases = {
        {"done",
         [&] {
             publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
         },
         UpdateRun::Outcome::Done},
        {"refused", [&] { setServerFilesStamp(u"2099123199"_s); }, UpdateRun::Outcome::Refused},
        {"failed",
         [&] {
             publish(u"2099123199"_s, {{kRoot + u"DOC\\b.txt"_s, "b"}});
             ASSERT_TRUE(QDir(InstallPaths::tempDir()).removeRecursively());
             WriteBytes(InstallPaths::tempDir(), "a file where the folder should be");
         },
         UpdateRun::Outcome::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        install.launcher.programs.clear();
        frmUpdate1 window;
        window.delayElapsed();
        window.jobTick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
        ASSERT_EQ(window.run().outcome(), c.outcome) << window.run().failure().toStdString();
        EXPECT_FALSE(window.findChild<QTimer*>(u"tmrJob1"_s)->isActive());
        install.messages.clear();
        for (int tick = 0; tick < 3 * frmUpdate1::kTickLimit; ++tick)
            ASSERT_NO_THROW(window.jobTick()) << "tick " << tick;
        EXPECT_TRUE(install.messages.shown().isEmpty()) << install.messages.last().toStdString();
        EXPECT_THROW(window.endPressed(), ProgramEnded);
        EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
    }
}

TEST_P(UpdaterCase, ChangedFilesArriveInNameOrderThroughTheirBackupsAndNothingIsLeftInTemp)
{
    WriteBytes(install.path(u"DOC/b.txt"_s), "old b");
    const QByteArray oldHelp = ReadBytes(install.path(u"DOC/날짜형식오류.TXT"_s));
    // Published out of order; the second names an existing file in another case.
    publish(kStamp,
            {{kRoot + u"DOC\\c.txt"_s, "new c"},
             {u"c:/veltra/수리볼/doc/날짜형식오류.txt"_s, "new help"},
             {kRoot + u"DOC\\b.txt"_s, "new b"},
             {kRoot + u"PR\\NEW\\a.txt"_s, "new a"}});

    UpdateRun run;
    QStringList copied;
    QStringList tempAtCleanUp;
    QByteArray backupOfB;
    QString stampAtCleanUp;
    QObject::connect(&run, &UpdateRun::item, [&](const QString& item, const QString&) {
        if (item.startsWith(u"갱신항목: "_s) && item.contains(u"  ("_s)) // the copy, not the fetch
            copied.append(item.section(u' ', 1, 1));
    });
    QObject::connect(&run, &UpdateRun::step, [&](const QString& step) {
        if (step == u"다운받은 임시화일 삭제..."_s) {
            tempAtCleanUp = tempFiles();
            stampAtCleanUp = installedStamp();
            backupOfB = ReadBytes(ReleaseInstall::TempPath(2, u".BK"_s));
        }
    });
    ASSERT_EQ(runToEnd(run), UpdateRun::Outcome::Done) << run.failure().toStdString();

    EXPECT_EQ(copied, (QStringList {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"날짜형식오류.txt"_s}));
    // Every file came as TEMP000k.TP; the targets that existed went through TEMP000k.BK.
    // The record of the copy goes last, after the stamp is written.
    EXPECT_EQ(tempAtCleanUp,
              (QStringList {u"TEMP0001.TP"_s,
                            u"TEMP0002.BK"_s,
                            u"TEMP0002.TP"_s,
                            u"TEMP0003.TP"_s,
                            u"TEMP0004.BK"_s,
                            u"TEMP0004.TP"_s,
                            u"UPDATE.RUN"_s}));
    EXPECT_EQ(backupOfB, "old b");
    EXPECT_EQ(stampAtCleanUp, kStamp); // recorded before the backups go
    EXPECT_TRUE(tempFiles().isEmpty());

    EXPECT_EQ(ReadBytes(install.path(u"PR/NEW/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/b.txt"_s)), "new b");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/c.txt"_s)), "new c");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/날짜형식오류.TXT"_s)), "new help");
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/날짜형식오류.txt"_s))) << "a second file beside the first";
    EXPECT_NE(oldHelp, "new help");
    EXPECT_EQ(QDir(install.path(u"DOC"_s)).entryList(QDir::Files).size(), 3); // nothing staged left beside

    EXPECT_EQ(installedStamp(), kStamp);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Update1 WHERE Date1 = ?"_s, {kStamp}), u"4"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT FileNo1 FROM Update1 WHERE Name1 = 'c.txt'"_s), u"3"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT File1 FROM Update1 WHERE Name1 = 'a.txt'"_s), kRoot + u"PR\\NEW\\a.txt"_s);
}

TEST_P(UpdaterCase, WhatAnInterruptedRunLeftInTempIsClearedAndItsTargetsStayWhole)
{
    // A run stopped during its copying: the first target already new, the second still old, the
    // staged copy beside it never renamed.
    WriteBytes(install.path(u"DOC/a.txt"_s), "new a");
    WriteBytes(install.path(u"DOC/b.txt"_s), "old b");
    WriteBytes(install.path(u"DOC/b.txt.업데이트"_s), "new");
    for (const char16_t* name : {u"TEMP0001.TP", u"TEMP0001.BK", u"TEMP0002.TP", u"TEMP0007.BK"})
        WriteBytes(QDir(InstallPaths::tempDir()).filePath(QString::fromUtf16(name)), "stale");
    WriteBytes(QDir(InstallPaths::tempDir()).filePath(u"memo.txt"_s), "someone's");
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "new a"}, {kRoot + u"DOC\\b.txt"_s, "new b"}});

    UpdateRun run;
    ASSERT_EQ(runToEnd(run), UpdateRun::Outcome::Done) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/b.txt"_s)), "new b");
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/b.txt.업데이트"_s)));
    EXPECT_EQ(tempFiles(), QStringList {u"memo.txt"_s});
}

TEST_P(UpdaterCase, TheRecordedDateKeepsAnInstalledFileFromComingAgain)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a1"}});
    UpdateRun first;
    ASSERT_EQ(runToEnd(first), UpdateRun::Outcome::Done) << first.failure().toStdString();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT Date1 FROM Update1 WHERE Name1 = 'a.txt'"_s), kStamp);

    // A later stamp with one more file: only that one comes.
    publish(u"2025121101"_s, {{kRoot + u"DOC\\b.txt"_s, "b1"}});
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = '2025120601' WHERE Name1 = '화일복사:변경날짜'"_s);
    UpdateRun second;
    ASSERT_EQ(runToEnd(second), UpdateRun::Outcome::Done) << second.failure().toStdString();
    EXPECT_EQ(second.fileCount(), 1);
    EXPECT_EQ(installedStamp(), u"2025121101"_s);
}

TEST_P(UpdaterCase, CancelWhileFetchingLeavesTheInstallAsItWas)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old");
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, QByteArray(3 * 1024 * 1024, 'x')}});
    UpdateRun run;
    run.start();
    ASSERT_TRUE(run.fetching());
    run.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.finished(); }, 60000));
    EXPECT_EQ(run.outcome(), UpdateRun::Outcome::Cancelled);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old");
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(installedStamp(), kDemoStamp);
}

namespace {

// Holds the fetch before each piece it asks for until the test lets one through: a server that gives
// nothing, for as long as the test likes. Shared with the fetching thread, which may outlive the run.
struct Gate
{
    std::mutex lock;
    std::condition_variable changed;
    int allowed = 0;
    bool held = false; // the fetch waits here now
    bool open = false;

    void pass()
    {
        std::unique_lock guard(lock);
        if (!open && allowed == 0) {
            held = true;
            changed.notify_all();
            changed.wait(guard, [this] { return open || allowed > 0; });
            held = false;
        }
        if (!open)
            --allowed;
    }
    void letOneThrough()
    {
        std::lock_guard guard(lock);
        ++allowed;
        changed.notify_all();
    }
    void openForGood()
    {
        std::lock_guard guard(lock);
        open = true;
        changed.notify_all();
    }
    // The fetch waits here and nothing lets it go on.
    bool holding()
    {
        return QTest::qWaitFor(
            [this] {
                std::lock_guard guard(lock);
                return held && !open && allowed == 0;
            },
            10000);
    }
};

} // namespace

TEST_P(UpdaterCase, AFetchThatBringsNothingFor180TicksEndsTheRunAndOneThatBringsBytesGoesOn)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old");
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, QByteArray(8 * 1024 * 1024, 's')}});
    auto gate = std::make_shared<Gate>();
    // Whatever happens to the test, the fetch is let go in the end.
    const std::shared_ptr<void> release(nullptr, [gate](void*) { gate->openForGood(); });
    UpdateRun run;
    run.setPieceBytes(16 * 1024);
    run.setBeforePiece([gate] { gate->pass(); });
    run.start();
    ASSERT_TRUE(run.fetching());

    // A piece between every two ticks: many more ticks than the limit do not end the run.
    for (int tick = 1; tick <= UpdateRun::kStallTicks + 20; ++tick) {
        ASSERT_TRUE(gate->holding());
        const qint64 before = run.bytesFetched();
        gate->letOneThrough();
        ASSERT_TRUE(QTest::qWaitFor([&] { return run.bytesFetched() > before; }, 60000));
        run.tick();
        ASSERT_FALSE(run.finished()) << "ended at tick " << tick << " while bytes came";
    }

    // Then nothing comes: at every tick the fetch still waits for the same piece, and the 180th quiet
    // tick ends the run.
    const qint64 got = run.bytesFetched();
    for (int tick = 1; tick <= UpdateRun::kStallTicks; ++tick) {
        ASSERT_TRUE(gate->holding()) << "the fetch is not held at quiet tick " << tick;
        ASSERT_FALSE(run.finished()) << "ended after " << tick - 1 << " quiet ticks";
        run.tick();
    }
    EXPECT_EQ(run.bytesFetched(), got);
    EXPECT_EQ(run.outcome(), UpdateRun::Outcome::Failed);
    EXPECT_TRUE(run.failure().contains(u"180초"_s)) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old");
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(installedStamp(), kDemoStamp);

    // The fetch left behind ends on its own once the server answers again, leaving nothing in TEMP.
    gate->openForGood();
    EXPECT_TRUE(QTest::qWaitFor([] { return UpdateRun::FetchesRunning() == 0; }, 60000));
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_P(UpdaterCase, AReleaseNamingHostileTargetsOrNamesIsRefusedWhole)
{
    // Even a release the service's key signed is not followed out of the install.
    const QByteArray bytes = "evil";
    const QString doc = kRoot + u"DOC\\z.txt"_s;
    struct Bad
    {
        const char* why;
        QString name, target;
    };
    const std::vector<Bad> bad = {
        {"climbs out", u"z.txt"_s, kRoot + u"..\\..\\z.txt"_s},
        {"another drive", u"z.txt"_s, u"D:\\VELTRA\\수리볼\\z.txt"_s},
        {"another folder", u"z.txt"_s, u"C:\\WINDOWS\\z.txt"_s},
        {"name with a slash", u"x/z.txt"_s, doc},
        {"name with dots", u"..z"_s, doc},
        {"name with a control", u"z\u0001"_s, doc},
        {"a second name for the same file", u"y.txt"_s, kRoot + u"DOC\\a.txt"_s},
    };
    const QString stamp = u"2025121101"_s;
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.why);
        Execute(owner(), u"DELETE FROM Update1"_s);
        ReleaseManifest release;
        release.stamp = stamp;
        release.files = {described(kRoot + u"DOC\\a.txt"_s, stamp, "good"), described(b.target, stamp, bytes)};
        release.files[1].name = b.name;
        insertRow(u"a.txt"_s, kRoot + u"DOC\\a.txt"_s, 4, stamp, QByteArray("good"), QVariant());
        insertRow(b.name, b.target, qint64(bytes.size()), stamp, bytes, QVariant());
        offerRelease(release);
        UpdateRun run;
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        EXPECT_TRUE(run.failure().contains(b.name) || run.failure().contains(u"이름"_s)) << run.failure().toStdString();
        EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
        EXPECT_FALSE(QFile::exists(install.path(u"DOC/z.txt"_s)));
        EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
        EXPECT_EQ(installedStamp(), kDemoStamp);
    }
}

TEST_P(UpdaterCase, WithoutTheInstallsKeyNothingIsTaken)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "good"}});
    QFile::remove(InstallPaths::updateKey());
    frmUpdate1 window;
    window.delayElapsed();
    window.jobTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
    EXPECT_EQ(window.run().outcome(), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(install.messages.last().contains(u"UPDATE.KEY"_s)) << install.messages.last().toStdString();
    EXPECT_EQ(LabelText(window, u"lblMsg51"), u"실패: 업데이트를 설치하지 않았습니다."_s);
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    // Not a dead end: "마침" starts 수리볼 as it is.
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
}

TEST_P(UpdaterCase, ATempFolderThatCannotHoldFilesFailsTheRun)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "good"}});
    ASSERT_TRUE(QDir(InstallPaths::tempDir()).removeRecursively());
    WriteBytes(InstallPaths::tempDir(), "a file where the folder should be");
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Failed);
    EXPECT_TRUE(run.failure().contains(InstallPaths::tempDir())) << run.failure().toStdString();
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_EQ(installedStamp(), kDemoStamp);
}

TEST_P(UpdaterCase, ACopyFailingHalfWayPutsEveryTargetBack)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old a");
    WriteBytes(install.path(u"DOC/c.txt"_s), "old c");
    ASSERT_TRUE(QFile::setPermissions(install.path(u"DOC/c.txt"_s), QFile::ReadOwner | QFile::ReadGroup));
    publish(kStamp,
            {{kRoot + u"DOC\\a.txt"_s, "new a"},
             {kRoot + u"DOC\\NEW\\b.txt"_s, "new b"},
             {kRoot + u"DOC\\c.txt"_s, "new c"}});
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Failed);
    EXPECT_FALSE(run.unfinished());
    EXPECT_TRUE(run.failure().contains(u"c.txt"_s)) << run.failure().toStdString();
    EXPECT_TRUE(run.failure().contains(u"읽기 전용"_s)) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old a");
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/NEW/b.txt"_s)));
    EXPECT_EQ(ReadBytes(install.path(u"DOC/c.txt"_s)), "old c");
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(installedStamp(), kDemoStamp);
    EXPECT_NE(SqlValue(gSystemConn, u"SELECT Date1 FROM Update1 WHERE Name1 = 'a.txt'"_s), kStamp);
}

TEST_P(UpdaterCase, ADrawProgressTextTooShortForTheStampIsRefused)
{
    Execute(ServerOwnerConnection(GetParam()),
            u"UPDATE Info1 SET Text1 = '추첨1200회' WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_EQ(installedStamp(), kDemoStamp);
}

// ---- from publishing to the restart ----

TEST_P(UpdaterCase, PublishedFileReachesTheInstallThroughTheSynchronisationAndTheUpdater)
{
    // The setup tool as a newcomer runs it, against the demo's server with the demo's key.
    const QString source = install.path(u"news.txt"_s);
    WriteBytes(source, "새 소식");
    if (GetParam() == Backend::SQLite) {
        QProcess tool;
        tool.start(QStringLiteral(SURIBALL_SETUP_TOOL),
                   {u"publish"_s,
                    u"--sqlite"_s,
                    install.path(u"SERVER/VELTRA1.db"_s),
                    u"--stamp"_s,
                    u"2026120901"_s,
                    source + u"=C:\\VELTRA\\수리볼\\DOC\\새소식.TXT"_s});
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    } else {
        publish(u"2026120901"_s, {{kRoot + u"DOC\\새소식.TXT"_s, "새 소식"}});
    }

    ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    const QString day = QString::number(UpdaterDayNumber(QDate(2025, 12, 8)));
    ASSERT_EQ(install.launcher.programs, QStringList {InstallPaths::updaterProgram() + u' ' + day});
    install.launcher.programs.clear();

    ASSERT_TRUE(DayNumberAccepted({day}, QDate(2025, 12, 8)));
    frmUpdate1 window;
    window.delayElapsed();
    window.jobTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
    ASSERT_EQ(window.run().outcome(), UpdateRun::Outcome::Done) << window.run().failure().toStdString();
    EXPECT_EQ(LabelText(window, u"lblMsg51"), u"결과: 업데이트 작업이 완료되었습니다."_s);
    EXPECT_EQ(LabelText(window, u"lblMsg12"), u"갱신날짜: 2026년 12월 09일"_s);
    EXPECT_EQ(LabelText(window, u"lblMsg13"), u"전체크기: 10 (byte)"_s);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/새소식.TXT"_s)), u"새 소식"_s.toUtf8());
    EXPECT_EQ(installedStamp(), u"2026120901"_s);
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
}

INSTANTIATE_TEST_SUITE_P(Backends, UpdaterCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
