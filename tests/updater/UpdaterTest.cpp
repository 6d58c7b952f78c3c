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

using namespace Qt::StringLiterals;

namespace {
const QString kRoot = u"C:\\VELTRA\\수리볼\\"_s;
const QString kStamp = u"2025121001"_s;

QString labelText(const QWidget& window, const char16_t* name)
{
    const auto* label = window.findChild<QLabel*>(QString::fromUtf16(name));
    return label ? label->text() : u"(없음)"_s;
}
} // namespace

void UpdaterCase::SetUp()
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    OpenSystemDb();
    install.messages.clear();
}

Connection UpdaterCase::server() const { return PublisherConnection(GetParam()); }

QByteArray UpdaterCase::secretKey() const
{
    return UpdateSignature::ReadKeyFile(install.path(u"SERVER/VELTRA1.key"_s), UpdateSignature::kSecretKeyBytes);
}

void UpdaterCase::publish(const QString& stamp, const QList<QPair<QString, QByteArray>>& targetsAndContent)
{
    QTemporaryDir sources;
    QList<Publisher::Item> items;
    int n = 0;
    for (const auto& [target, content] : targetsAndContent) {
        const QString file = QDir(sources.path()).filePath(QString::number(++n));
        WriteBytes(file, content);
        items.append({file, target});
    }
    Publisher::Publish(server(), stamp, secretKey(), items);
}

void UpdaterCase::insertRow(const QString& name,
                            const QString& target,
                            const QVariant& size,
                            const QString& date,
                            const QVariant& bytes,
                            const QVariant& signature)
{
    Execute(server(),
            u"INSERT INTO Update1 (Name1,File1,Size1,Date1,Bin1,Sig1) VALUES (?,?,?,?,?,?)"_s,
            {name, target, size, date, bytes, signature});
}

QByteArray
UpdaterCase::sign(const QString& name, const QString& target, const QString& date, const QByteArray& bytes) const
{
    UpdateSignature::Stream stream({name, target, date, bytes.size()});
    stream.add(bytes);
    return stream.sign(secretKey());
}

void UpdaterCase::setServerFilesStamp(const QString& stamp)
{
    const Connection s = ServerOwnerConnection(GetParam());
    const QString text = SqlValue(s, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    Execute(s,
            u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s,
            {Publisher::WithFilesStamp(text, stamp)});
}

UpdateRun::Outcome UpdaterCase::runToEnd(UpdateRun& run)
{
    run.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.finished(); }, 60000));
    return run.outcome();
}

QString UpdaterCase::installedStamp() const
{
    return SqlValue(gSystemConn,
                    u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '화일복사:변경날짜'"_s);
}

QStringList UpdaterCase::tempFiles() const { return QDir(InstallPaths::tempDir()).entryList(QDir::Files); }

// ---- the window and its start ----

TEST_P(UpdaterCase, OpensWithItsLabelsAndEndsAtOnceWhenNothingIsNewer)
{
    frmUpdate1 window;
    EXPECT_EQ(window.windowTitle(), u"업데이트 [수리볼]"_s);
    EXPECT_EQ(labelText(window, u"lblMsg11"), u"수리볼 업데이트"_s);
    EXPECT_EQ(labelText(window, u"lblMsg12"), u"갱신날짜:"_s);
    EXPECT_EQ(labelText(window, u"lblMsg13"), u"전체크기:"_s);
    EXPECT_EQ(labelText(window, u"lblMsg21"), u"갱신항목:"_s);
    EXPECT_EQ(labelText(window, u"lblMsg22"), u"대상폴더:"_s);
    EXPECT_TRUE(window.findChild<QWidget*>(u"fraR2"_s)->isHidden());

    setServerFilesStamp(kStamp); // a new stamp, but no file behind it
    window.delayElapsed();
    EXPECT_THROW(window.jobTick(), ProgramEnded);
    EXPECT_EQ(installedStamp(), kStamp);
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
    EXPECT_EQ(labelText(window, u"lblMsg51"), u"진행취소: 업데이트 작업을 중단합니다."_s);
    EXPECT_FALSE(window.findChild<QWidget*>(u"fraR2"_s)->isHidden());
    EXPECT_EQ(installedStamp(), u"2025120601"_s);
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/새소식.TXT"_s)));
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_TRUE(install.launcher.programs.isEmpty()); // not done: 수리볼 is not started
}

TEST_P(UpdaterCase, TimeOutEndsAWindowLeftOpenButNotTheWork)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "a"}});
    frmUpdate1 window;
    window.delayElapsed();
    window.jobTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
    ASSERT_EQ(window.run().outcome(), UpdateRun::Outcome::Done);
    for (int tick = 1; tick < frmUpdate1::kTickLimit; ++tick)
        window.jobTick();
    EXPECT_TRUE(install.messages.shown().isEmpty());
    EXPECT_THROW(window.jobTick(), ProgramEnded);
    EXPECT_EQ(install.messages.last(),
              u"작업시간이 초과되었습니다. 인터넷 연결이 안정적이지 못하여 작업을 종료합니다."_s);
}

// ---- a run that installs ----

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
    QObject::connect(&run, &UpdateRun::item, [&](const QString& item, const QString&) {
        if (item.startsWith(u"갱신항목: "_s) && item.contains(u"  ("_s)) // the copy, not the fetch
            copied.append(item.section(u' ', 1, 1));
    });
    QObject::connect(&run, &UpdateRun::step, [&](const QString& step) {
        if (step == u"다운받은 임시화일 삭제..."_s) {
            tempAtCleanUp = tempFiles();
            backupOfB = ReadBytes(UpdateRun::TempPath(2, u".BK"_s));
        }
    });
    ASSERT_EQ(runToEnd(run), UpdateRun::Outcome::Done) << run.failure().toStdString();

    EXPECT_EQ(copied, (QStringList {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"날짜형식오류.txt"_s}));
    // Every file came as TEMP000k.TP; the targets that existed went through TEMP000k.BK.
    EXPECT_EQ(tempAtCleanUp,
              (QStringList {u"TEMP0001.TP"_s,
                            u"TEMP0002.BK"_s,
                            u"TEMP0002.TP"_s,
                            u"TEMP0003.TP"_s,
                            u"TEMP0004.BK"_s,
                            u"TEMP0004.TP"_s}));
    EXPECT_EQ(backupOfB, "old b");
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
    EXPECT_EQ(installedStamp(), u"2025120601"_s);
}

TEST_P(UpdaterCase, AFetchThatBringsNothingFor180TicksEndsAsACancel)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old");
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, QByteArray(40 * 1024 * 1024, 's')}});
    // Another session takes the table away from the fetch half-way.
    Connection blocker;
    if (GetParam() == Backend::SQLite) {
        blocker = Connection::openSqlite(install.path(u"SERVER/VELTRA1.db"_s));
    } else {
        blocker = PostgresAdminConnection(u"VELTRA1"_s);
    }
    UpdateRun run;
    run.start();
    ASSERT_TRUE(run.fetching());
    if (GetParam() == Backend::SQLite) {
        Execute(blocker, u"BEGIN EXCLUSIVE"_s);
    } else {
        Execute(blocker, u"BEGIN"_s);
        Execute(blocker, u"LOCK TABLE Update1 IN ACCESS EXCLUSIVE MODE"_s);
    }
    for (int tick = 0; tick <= UpdateRun::kStallTicks && !run.finished(); ++tick)
        run.tick();
    EXPECT_EQ(run.outcome(), UpdateRun::Outcome::Cancelled);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old");
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(installedStamp(), u"2025120601"_s);

    Execute(blocker, u"ROLLBACK"_s);
    blocker.close();
    EXPECT_TRUE(QTest::qWaitFor([] { return UpdateRun::FetchesRunning() == 0; }, 60000));
    EXPECT_TRUE(tempFiles().isEmpty());
}

// ---- what must not be installed ----

TEST_P(UpdaterCase, HostileOrDamagedRowsRefuseTheWholeRun)
{
    const QByteArray bytes = "evil";
    const QString date = kStamp;
    struct Row
    {
        const char* why;
        QString name, target;
        QVariant size, bin, sig;
    };
    auto signedRow = [&](const char* why, const QString& name, const QString& target) {
        return Row {why, name, target, qint64(bytes.size()), bytes, sign(name, target, date, bytes)};
    };
    const QString doc = kRoot + u"DOC\\z.txt"_s;
    const std::vector<Row> rows = {
        signedRow("climbs out", u"z.txt"_s, kRoot + u"..\\..\\z.txt"_s),
        signedRow("another drive", u"z.txt"_s, u"D:\\VELTRA\\수리볼\\z.txt"_s),
        signedRow("another folder", u"z.txt"_s, u"C:\\WINDOWS\\z.txt"_s),
        signedRow("name with a slash", u"x/z.txt"_s, doc),
        signedRow("name with dots", u"..z"_s, doc),
        signedRow("name with a control", u"z\u0001"_s, doc),
        {"unsigned", u"z.txt"_s, doc, qint64(bytes.size()), bytes, QVariant(QMetaType(QMetaType::QByteArray))},
        {"signed for another target",
         u"z.txt"_s,
         doc,
         qint64(bytes.size()),
         bytes,
         sign(u"z.txt"_s, kRoot + u"DOC\\harmless.txt"_s, date, bytes)},
        {"signed for other bytes", u"z.txt"_s, doc, qint64(bytes.size()), bytes, sign(u"z.txt"_s, doc, date, "good")},
        {"signed with another key",
         u"z.txt"_s,
         doc,
         qint64(bytes.size()),
         bytes,
         [&] {
             UpdateSignature::Stream s({u"z.txt"_s, doc, date, bytes.size()});
             s.add(bytes);
             return QVariant(s.sign(UpdateSignature::Generate().secretKey));
         }()},
        {"size larger than the bytes", u"z.txt"_s, doc, qint64(9), bytes, sign(u"z.txt"_s, doc, date, bytes)},
        {"size zero", u"z.txt"_s, doc, qint64(0), bytes, sign(u"z.txt"_s, doc, date, bytes)},
        {"size negative", u"z.txt"_s, doc, qint64(-4), bytes, sign(u"z.txt"_s, doc, date, bytes)},
        {"no bytes",
         u"z.txt"_s,
         doc,
         qint64(4),
         QVariant(QMetaType(QMetaType::QByteArray)),
         sign(u"z.txt"_s, doc, date, bytes)},
    };
    // A good file comes first in name order: it must not be installed either.
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "good"}});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Execute(server(), u"DELETE FROM Update1 WHERE Name1 <> 'a.txt'"_s);
        insertRow(row.name, row.target, row.size, date, row.bin, row.sig);
        UpdateRun run;
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        EXPECT_TRUE(run.failure().contains(row.name)) << run.failure().toStdString();
        EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
        EXPECT_FALSE(QFile::exists(install.path(u"DOC/z.txt"_s)));
        EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
        EXPECT_EQ(installedStamp(), u"2025120601"_s);
    }
}

TEST_P(UpdaterCase, WithoutTheInstallsKeyNothingIsTaken)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "good"}});
    QFile::remove(UpdateSignature::InstalledKeyFile());
    frmUpdate1 window;
    window.delayElapsed();
    window.jobTick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
    EXPECT_EQ(window.run().outcome(), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(install.messages.last().contains(u"UPDATE.KEY"_s)) << install.messages.last().toStdString();
    EXPECT_EQ(labelText(window, u"lblMsg51"), u"실패: 업데이트를 설치하지 않았습니다."_s);
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_TRUE(install.launcher.programs.isEmpty());
}

TEST_P(UpdaterCase, ATempFolderThatCannotHoldFilesRefusesTheRun)
{
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "good"}});
    ASSERT_TRUE(QDir(InstallPaths::tempDir()).removeRecursively());
    WriteBytes(InstallPaths::tempDir(), "a file where the folder should be");
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(run.failure().contains(InstallPaths::tempDir())) << run.failure().toStdString();
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_EQ(installedStamp(), u"2025120601"_s);
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
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(run.failure().contains(u"c.txt"_s)) << run.failure().toStdString();
    EXPECT_TRUE(run.failure().contains(u"읽기 전용"_s)) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old a");
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/NEW/b.txt"_s)));
    EXPECT_EQ(ReadBytes(install.path(u"DOC/c.txt"_s)), "old c");
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_EQ(installedStamp(), u"2025120601"_s);
    EXPECT_NE(SqlValue(gSystemConn, u"SELECT Date1 FROM Update1 WHERE Name1 = 'a.txt'"_s), kStamp);
}

TEST_P(UpdaterCase, ADrawProgressTextTooShortForTheStampIsRefused)
{
    Execute(ServerOwnerConnection(GetParam()),
            u"UPDATE Info1 SET Text1 = '추첨1200회' WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_EQ(installedStamp(), u"2025120601"_s);
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
    EXPECT_EQ(labelText(window, u"lblMsg51"), u"결과: 업데이트 작업이 완료되었습니다."_s);
    EXPECT_EQ(labelText(window, u"lblMsg12"), u"갱신날짜: 2026년 12월 09일"_s);
    EXPECT_EQ(labelText(window, u"lblMsg13"), u"전체크기: 10 (byte)"_s);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/새소식.TXT"_s)), u"새 소식"_s.toUtf8());
    EXPECT_EQ(installedStamp(), u"2026120901"_s);
    EXPECT_THROW(window.endPressed(), ProgramEnded);
    EXPECT_EQ(install.launcher.programs, QStringList {InstallPaths::mainProgram()});
}

INSTANTIATE_TEST_SUITE_P(Backends, UpdaterCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
