// Faults from outside the program while it writes: a full disk, a read-only or locked member database, a
// server that goes away half-way. Each is told in words the member can act on, and what was stored
// before stays as it was.

#include "Busy.h"
#include "Connection.h"
#include "CouponRegistration.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Grid.h"
#include "IfoFiles.h"
#include "Installer.h"
#include "LoginService.h"
#include "Paths.h"
#include "Query.h"
#include "SafeStore.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "WhenShown.h"
#include "frmRun1.h"
#include "frmSave1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Games(int count, int salt = 0)
{
    QStringList games;
    for (int i = 0; i < count; ++i) {
        const int a = 1 + (i + salt) % 40;
        games.append(QString::number(a).rightJustified(2, u'0') + QString::number(a + 1).rightJustified(2, u'0')
                     + QString::number(a + 2).rightJustified(2, u'0') + u"424344"_s);
    }
    return games;
}

// Everything the safe holds, as one text.
QString SafeSnapshot(const Connection& user)
{
    return SqlValue(user,
                    u"SELECT group_concat(BokNo || ':' || GNo1 || ':' || SNo1 || ':' || No1 || ':' || Top1, ',') FROM "
                    "(SELECT * FROM List1 ORDER BY BokNo, SNo1)"_s)
        + u'|' + SqlValue(user, u"SELECT group_concat(BokNo || ':' || Count1 || ':' || Bigo1, ',') FROM Bok1"_s) + u'|'
        + SqlValue(user, u"SELECT group_concat(GNo1 || ':' || GName1, ',') FROM Group1"_s);
}

struct Outcome
{
    int exitCode = -1;
    QStringList lines;
    QString errors;
    QString line(const QString& start) const
    {
        for (const QString& l : lines) {
            if (l.startsWith(start))
                return l;
        }
        return {};
    }
};

Outcome RunWorker(const QStringList& arguments, const QString& asUser = {})
{
    QProcess process;
    if (asUser.isEmpty()) {
        process.setProgram(QStringLiteral(SURIBALL_KILL_WORKER));
        process.setArguments(arguments);
    } else {
        process.setProgram(u"runuser"_s);
        process.setArguments(QStringList {u"-u"_s, asUser, u"--"_s, QStringLiteral(SURIBALL_KILL_WORKER)} + arguments);
    }
    process.start();
    process.waitForFinished(60000);
    Outcome outcome;
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    outcome.errors = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

class FaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
        SyncDrawResults();
        ASSERT_FALSE(SafeStore::SaveGames(1200, Games(300), u"처음 메모"_s, u"처음"_s));
        before = SafeSnapshot(gUserConn);
    }
    // The worker is the one writing: the test lets go of its connections first.
    void letGo()
    {
        gServerConn.close();
        gUserConn.close();
        gSystemConn.close();
    }
    void expectSafeAsBefore()
    {
        const Connection user = OpenUserDatabase(InstallPaths::userDb(u"player"_s));
        EXPECT_EQ(SqlValue(user, u"PRAGMA integrity_check"_s), u"ok"_s);
        EXPECT_EQ(SafeSnapshot(user), before);
    }

    TestInstall install {TestInstall::Kind::Demo};
    QString before;
};

} // namespace

TEST_F(FaultTest, ADiskFullWhileSavingIsToldAndStoresNothing)
{
    letGo();
    const qint64 size = QFileInfo(InstallPaths::userDb(u"player"_s)).size();
    // Room for the journal, not for the 20,000 games.
    const Outcome full = RunWorker({u"fullsave"_s, u"player"_s, QString::number(size + 64 * 1024)});
    ASSERT_EQ(full.exitCode, 0) << full.errors.toStdString();
    const QString error = full.line(u"error"_s);
    EXPECT_TRUE(error.contains(u"디스크에 쓰지 못했습니다"_s)) << full.lines.join(u'\n').toStdString();
    expectSafeAsBefore();

    // With room again the same save goes through.
    const Outcome again = RunWorker({u"fullsave"_s, u"player"_s, QString::number(qint64(1) << 40)});
    EXPECT_EQ(again.line(u"saved"_s), u"saved"_s) << again.lines.join(u'\n').toStdString();
}

TEST_F(FaultTest, ADiskFullWhileExportingLeavesNoFile)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, Games(20000, 3), QString(), u"많이"_s));
    letGo();
    const Outcome full = RunWorker({u"fullexport"_s, u"player"_s, QString::number(100 * 1024)});
    ASSERT_EQ(full.exitCode, 0) << full.errors.toStdString();
    EXPECT_TRUE(full.line(u"message"_s).contains(u"화일을 저장할 수 없습니다"_s))
        << full.lines.join(u'\n').toStdString();
    EXPECT_EQ(full.line(u"failed"_s), u"failed"_s);
    // Neither the file nor a piece of it is left behind.
    EXPECT_TRUE(QDir(InstallPaths::dataDir()).entryList({u"복권금고_*"_s}, QDir::Files | QDir::Hidden).isEmpty());

    const Outcome roomy = RunWorker({u"fullexport"_s, u"player"_s, QString::number(qint64(1) << 40)});
    EXPECT_EQ(roomy.line(u"saved"_s), u"saved"_s) << roomy.lines.join(u'\n').toStdString();
    EXPECT_EQ(QDir(InstallPaths::dataDir()).entryList({u"복권금고_*"_s}, QDir::Files).size(), 1);
}

TEST_F(FaultTest, AReadOnlyMemberDatabaseIsToldAndStaysAsItWas)
{
    letGo();
    const QString path = InstallPaths::userDb(u"player"_s);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QString asUser;
    if (geteuid() == 0) {
        // The superuser writes whatever the file's rights say: the worker runs as a user they bind.
        asUser = u"nobody"_s;
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther;
        for (const QString& dir : {install.root(), InstallPaths::binDir(), InstallPaths::dataDir()})
            ASSERT_TRUE(QFile::setPermissions(dir, open));
        ASSERT_TRUE(QFile::setPermissions(InstallPaths::systemDb(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    const Outcome outcome = RunWorker({u"saveonce"_s, u"player"_s, u"0"_s}, asUser);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors.toStdString() << outcome.lines.join(u'\n').toStdString();
    EXPECT_TRUE(outcome.line(u"error"_s).contains(u"읽기 전용"_s)) << outcome.lines.join(u'\n').toStdString();
    expectSafeAsBefore();
}

TEST_F(FaultTest, ALockedMemberDatabaseIsToldAndWorksOnceFree)
{
    const Connection other = Connection::openSqlite(gUserDbPath);
    Execute(other, u"BEGIN IMMEDIATE"_s);
    // The lock is held for good: the program's five seconds of patience would only be waited out.
    Execute(gUserConn, u"PRAGMA busy_timeout = 50"_s);
    try {
        SafeStore::SaveGames(1200, Games(10), u"잠김"_s, u"잠김"_s);
        ADD_FAILURE() << "saved into a locked database";
    } catch (const SqlError& error) {
        EXPECT_TRUE(error.message().startsWith(u"다른 프로그램이 데이터베이스 화일을 쓰고 있어"_s))
            << error.message().toStdString();
    }
    EXPECT_EQ(SafeSnapshot(gUserConn), before);

    // The game window tells it, keeps its list, and saves it once the other program is done.
    frmRun1 window;
    Grid* list = window.findChild<Grid*>(u"grdR1"_s);
    list->setMaxRows(1);
    for (int c = 1; c <= 6; ++c)
        list->setText(c, 1, QString::number(c * 7).rightJustified(2, u'0'));
    auto chooseLastDraw = [] {
        WhenShown<frmSave1>([](frmSave1* d) {
            Grid* draws = d->findChild<Grid*>(u"grdR1"_s);
            draws->setActiveCell(1, 2); // 1200
            Q_EMIT draws->cellClicked(1, 2);
            d->findChild<QPushButton*>(u"cmdSave1"_s)->click();
        });
    };
    chooseLastDraw();
    EXPECT_NO_THROW(window.SaveToSafe());
    EXPECT_TRUE(install.messages.last().startsWith(u"복권번호를 저장하지 못하였습니다. 저장된 것은 없습니다.\n\n"
                                                   "다른 프로그램이 데이터베이스 화일을 쓰고 있어"_s))
        << install.messages.last().toStdString();
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(SafeSnapshot(gUserConn), before);
    EXPECT_EQ(list->maxRows(), 1);

    Execute(other, u"ROLLBACK"_s);
    chooseLastDraw();
    window.SaveToSafe();
    EXPECT_EQ(install.messages.last(), u"1200회차에 1개 복권번호가 [복권금고]에 저장되었습니다."_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = 1200"_s), u"301"_s);
}

namespace {

// The server goes away the moment the synchronisation turns to copying: the busy display is turned on
// for the second time just then.
class Saboteur final : public BusyIndicator
{
public:
    explicit Saboteur(std::function<void()> act)
        : m_act(std::move(act))
    {
        SetBusyIndicator(this);
    }
    ~Saboteur() override { SetBusyIndicator(nullptr); }
    void showBusy(bool busy, const QString&) override
    {
        if (busy && ++m_turnedOn == 2)
            m_act();
    }
    void setProgress(int) override { }

private:
    std::function<void()> m_act;
    int m_turnedOn = 0;
};

void DropServer(Backend backend)
{
    if (backend == Backend::PostgreSQL) {
        const Connection admin = PostgresAdminConnection(u"VELTRA1"_s);
        Query kill(admin,
                   u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = 'VELTRA1' "
                   "AND usename = 'user1' AND pid <> pg_backend_pid()"_s);
        kill.run();
        return;
    }
    // The stand-in's file is overwritten: every later read of the open connection fails.
    const ServerLocation location = ServerLocation::ofInstall();
    QFile file(location.file);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write(QByteArray(4096, 'x'));
}

class ServerDrop : public ::testing::TestWithParam<Backend>
{
protected:
    TestInstall install {TestInstall::Kind::Demo};
};

} // namespace

TEST_P(ServerDrop, HalfWayThroughTheSynchronisationEndsAndStoresNothing)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    OpenSystemDb();
    ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
    install.messages.clear();
    const QString draws = SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s);
    const QString stamp = ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s);
    {
        Saboteur saboteur([&] { DropServer(GetParam()); });
        EXPECT_THROW(SyncDrawResults(), ProgramEnded);
    }
    EXPECT_TRUE(
        install.messages.last().startsWith(u"추첨결과를 서버와 맞추지 못하였습니다. 받은 자료는 저장하지 않았으며"_s))
        << install.messages.last().toStdString();
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM BokList"_s), draws);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), stamp);
    EXPECT_EQ(SqlValue(gSystemConn, u"PRAGMA integrity_check"_s), u"ok"_s);
}

TEST_P(ServerDrop, DuringTheCouponsServerCopyNeitherSideIsWritten)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    Installer::demoShop();
    OpenSystemDb();
    ASSERT_EQ(LoginService().login(u"shop7"_s, u"shop7"_s, false).outcome, LoginService::Outcome::LoggedIn);
    SyncDrawResults();
    install.messages.clear();
    const std::optional<CouponRegistration::Fields> loaded = CouponRegistration::Load(gCurrentDrawNo);
    ASSERT_TRUE(loaded);
    const QString local = SqlValue(gUserConn, u"SELECT Title1 || Bigo1 FROM Bok2 WHERE BokNo = ?"_s, {gCurrentDrawNo});
    CouponRegistration::Fields changed = *loaded;
    changed.title1 = u"바뀐 제목"_s;
    changed.bigo1 = u"바뀐 메모"_s;

    if (GetParam() == Backend::PostgreSQL) {
        // The save opens a connection of its own; the server drops it inside the write itself.
        const Connection admin = PostgresAdminConnection(u"VELTRA1"_s);
        Execute(admin,
                u"CREATE OR REPLACE FUNCTION drop_me() RETURNS trigger LANGUAGE plpgsql AS "
                "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END $$"_s);
        Execute(admin,
                u"CREATE TRIGGER drop_me BEFORE INSERT OR UPDATE ON Coupon1 FOR EACH ROW EXECUTE FUNCTION drop_me()"_s);
    } else {
        DropServer(GetParam());
    }
    EXPECT_THROW(CouponRegistration::Save(CouponRegistration::Mode::Edit, CouponRegistration::Normalised(changed), 0),
                 SqlError);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Title1 || Bigo1 FROM Bok2 WHERE BokNo = ?"_s, {gCurrentDrawNo}), local);
    if (GetParam() == Backend::PostgreSQL) {
        const Connection owner = ServerOwnerConnection(GetParam());
        EXPECT_NE(SqlValue(owner, u"SELECT COUNT(*) FROM Coupon1 WHERE Title1 = '바뀐 제목'"_s), u"1"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerDrop, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
