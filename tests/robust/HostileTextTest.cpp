// Whatever a member types into a box that reaches a database — statements, a NUL, a novel, emoji, line
// breaks — is kept by the field's own rules (its byte length, apostrophes as backquotes), comes back on
// screen as it was kept, and leaves the tables alone.

#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Grid.h"
#include "Installer.h"
#include "LoginService.h"
#include "Query.h"
#include "TestEnvironment.h"
#include "Tools.h"
#include "WhenShown.h"
#include "frmA1Job11.h"
#include "frmLogin.h"
#include "frmPrint1.h"
#include "frmRun1.h"
#include "frmSave1.h"
#include "frmSave22.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Hostile
{
    const char* name;
    QString text;
};

std::vector<Hostile> HostileTexts()
{
    return {
        {"statement", u"'); DROP TABLE List1; --"_s},
        {"nul", u"앞"_s + QChar(u'\0') + u"뒤"_s},
        {"long", QString(10000, u'가')},
        {"emoji", u"행운 🍀🎉 가득"_s},
        {"lines", u"첫 줄\r\n둘째 줄\n셋째"_s},
    };
}

// Every table and index of the database, with its definition.
QString Schema(const Connection& c)
{
    return SqlValue(
        c,
        u"SELECT group_concat(type || name || sql, '|') FROM (SELECT * FROM sqlite_master ORDER BY name)"_s);
}

// What any kept text must be, whatever the field: within its bytes, no apostrophe, no half of a
// character that needs two UTF-16 units.
void ExpectKept(const QString& kept, int bytes, const Hostile& typed)
{
    EXPECT_LE(ByteLen(kept), bytes) << typed.name;
    EXPECT_FALSE(kept.contains(u'\'')) << typed.name;
    EXPECT_TRUE(kept.isValidUtf16()) << typed.name;
    if (std::string(typed.name) == "statement" && bytes >= 27) {
        EXPECT_TRUE(kept.endsWith(u"`); DROP TABLE List1; --"_s)) << kept.toStdString();
    }
    if (std::string(typed.name) == "emoji" && bytes >= 20) {
        EXPECT_TRUE(kept.contains(u"🍀🎉"_s)) << kept.toStdString();
    }
}

class HostileText : public ::testing::Test
{
protected:
    void logIn(const QString& id)
    {
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(id, id, false).outcome, LoginService::Outcome::LoggedIn);
        SyncDrawResults();
        install.messages.clear();
    }
    TestInstall install {TestInstall::Kind::Demo};
};

} // namespace

TEST_F(HostileText, TheSaveDialogsMemoAndGroupName)
{
    logIn(u"player"_s);
    const QString schema = Schema(gUserConn);
    frmRun1 window;
    Grid* list = window.findChild<Grid*>(u"grdR1"_s);
    list->setMaxRows(1);
    const QStringList cells = {u"01"_s, u"02"_s, u"04"_s, u"16"_s, u"20"_s, u"32"_s};
    for (int c = 0; c < 6; ++c)
        list->setText(c + 1, 1, cells[c]);

    for (const Hostile& typed : HostileTexts()) {
        WhenShown<frmSave1>([&typed](frmSave1* d) {
            d->findChild<Grid*>(u"grdR1"_s)->setActiveCell(1, 2); // 1200
            Q_EMIT d->findChild<Grid*>(u"grdR1"_s)->cellClicked(1, 2);
            d->findChild<QLineEdit*>(u"txtBigo1"_s)->setText(typed.text);
            d->findChild<QLineEdit*>(u"txtGName1"_s)->setText(typed.text);
            d->findChild<QPushButton*>(u"cmdSave1"_s)->click();
        });
        window.SaveToSafe();
        EXPECT_EQ(Schema(gUserConn), schema) << typed.name;
        const QString memo = SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 1200"_s);
        const QString group = SqlValue(gUserConn, u"SELECT GName1 FROM Group1 ORDER BY GNo1 DESC"_s);
        ExpectKept(memo, 10000, typed);
        ExpectKept(group, 30, typed);

        // The next save shows them back as they were kept.
        frmSave1 again(1);
        Grid* draws = again.findChild<Grid*>(u"grdR1"_s);
        draws->setActiveCell(1, 2);
        Q_EMIT draws->cellClicked(1, 2);
        EXPECT_EQ(again.findChild<QLineEdit*>(u"txtBigo1"_s)->text(), memo) << typed.name;
        EXPECT_GE(again.findChild<QComboBox*>(u"cboGroup1"_s)->findText(group), 1) << typed.name;
    }
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1200"_s), u"5"_s);
}

TEST_F(HostileText, TheCouponForm)
{
    Installer::demoShop();
    logIn(u"shop7"_s);
    const QString schema = Schema(gUserConn);
    const Connection server = ConnectServer(ServerLocation::parse(u"sqlite:SERVER/VELTRA1.db"_s));
    const QString serverSchema = Schema(server);
    const QStringList lines = {u"txtComp1"_s,
                               u"txtTitle1"_s,
                               u"txtTitle2"_s,
                               u"txtNo1Text"_s,
                               u"txtNo5Text"_s,
                               u"txtText1"_s,
                               u"txtText2"_s};
    const QStringList columns
        = {u"Comp1"_s, u"Title1"_s, u"Title2"_s, u"No1Text"_s, u"No5Text"_s, u"Text1"_s, u"Text2"_s};
    const std::vector<int> bytes = {20, 35, 16, 24, 24, 35, 35};

    for (const Hostile& typed : HostileTexts()) {
        {
            // The coupon of the draw on sale: its copy on the server is written too.
            frmSave22 form(CouponRegistration::Mode::Edit, gCurrentDrawNo);
            for (const QString& name : lines)
                form.findChild<QLineEdit*>(name)->setText(u"가"_s + typed.text);
            form.findChild<QPlainTextEdit*>(u"txtBigo1"_s)->setPlainText(typed.text);
            form.findChild<QPushButton*>(u"cmdSave1"_s)->click();
            ASSERT_EQ(form.savedDraw(), gCurrentDrawNo) << typed.name << install.messages.last().toStdString();
        }
        EXPECT_EQ(Schema(gUserConn), schema) << typed.name;
        EXPECT_EQ(Schema(server), serverSchema) << typed.name;

        frmSave22 shown(CouponRegistration::Mode::Edit, gCurrentDrawNo);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const QString kept
                = SqlValue(gUserConn, u"SELECT "_s + columns[k] + u" FROM Bok2 WHERE BokNo = ?"_s, {gCurrentDrawNo});
            ExpectKept(kept, bytes[size_t(k)], typed);
            // A line of the printed coupon cannot break.
            EXPECT_FALSE(kept.contains(u'\n') || kept.contains(u'\r') || kept.contains(QChar(u'\0'))) << typed.name;
            EXPECT_EQ(shown.findChild<QLineEdit*>(lines[k])->text(), kept)
                << typed.name << ' ' << columns[k].toStdString();
            EXPECT_EQ(SqlValue(server,
                               u"SELECT "_s + columns[k] + u" FROM Coupon1 WHERE ID1 = 'shop7' AND BokNo = ?"_s,
                               {gCurrentDrawNo}),
                      kept)
                << typed.name;
        }
        const QString memo = SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok2 WHERE BokNo = ?"_s, {gCurrentDrawNo});
        ExpectKept(memo, 10000, typed);
        EXPECT_EQ(shown.findChild<QPlainTextEdit*>(u"txtBigo1"_s)->toPlainText(), memo) << typed.name;
    }
}

TEST_F(HostileText, TheLoginId)
{
    OpenSystemDb();
    const QString schema = Schema(gSystemConn);
    const Connection server = ConnectServer(ServerLocation::parse(u"sqlite:SERVER/VELTRA1.db"_s));
    const QString serverSchema = Schema(server);
    const QString members = SqlValue(server, u"SELECT COUNT(*) FROM Member"_s);
    for (const Hostile& typed : HostileTexts()) {
        install.messages.clear();
        frmLogin form;
        form.findChild<QLineEdit*>(u"txtID1"_s)->setText(typed.text);
        form.findChild<QLineEdit*>(u"txtPwd"_s)->setText(typed.text);
        form.findChild<QPushButton*>(u"cmdStart1"_s)->click();
        EXPECT_FALSE(install.messages.shown().isEmpty()) << typed.name;
        EXPECT_NE(gDialogResult, u"정상"_s) << typed.name;
        EXPECT_TRUE(gUserID.isEmpty()) << typed.name;
    }
    EXPECT_EQ(Schema(gSystemConn), schema);
    EXPECT_EQ(Schema(server), serverSchema);
    EXPECT_EQ(SqlValue(server, u"SELECT COUNT(*) FROM Member"_s), members);
}

TEST_F(HostileText, TheCouponWindowsMemo)
{
    Installer::demoShop();
    logIn(u"shop7"_s);
    const QString schema = Schema(gUserConn);
    frmPrint1 window;
    Grid* coupons = window.findChild<Grid*>(u"grdR1"_s);
    int row = 0;
    for (int r = 1; r <= coupons->maxRows(); ++r) {
        if (coupons->text(1, r).toLongLong() == gCurrentDrawNo)
            row = r;
    }
    ASSERT_GT(row, 0);
    auto* memo = window.findChild<QPlainTextEdit*>(u"txtBigo1"_s);
    for (const Hostile& typed : HostileTexts()) {
        Q_EMIT coupons->cellClicked(1, row);
        memo->setPlainText(typed.text);
        window.findChild<QPushButton*>(u"cmdSave1"_s)->click();
        EXPECT_EQ(Schema(gUserConn), schema) << typed.name;
        const QString kept = SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok2 WHERE BokNo = ?"_s, {gCurrentDrawNo});
        ExpectKept(kept, 10000, typed);
        EXPECT_EQ(memo->toPlainText(), kept) << typed.name;
        Q_EMIT coupons->cellClicked(1, row);
        EXPECT_EQ(memo->toPlainText(), kept) << typed.name;
    }
}

TEST_F(HostileText, TheOrderWindowsTexts)
{
    OpenSystemDb();
    OpenServerConn();
    gUserID = u"chief"_s;
    const QString schema = Schema(gServerConn);
    frmA1Job11 window;
    window.setGameSource([] { return std::optional<QStringList>(QStringList()); });
    Grid* orders = window.findChild<Grid*>(u"grdR1"_s);
    ASSERT_GT(orders->maxRows(), 0);
    const qint64 code = orders->text(1, 1).toLongLong();
    auto pick = [&] {
        for (int r = 1; r <= orders->maxRows(); ++r) {
            if (orders->text(1, r).toLongLong() == code) {
                orders->setActiveCell(1, r);
                Q_EMIT orders->cellClicked(1, r);
            }
        }
    };
    auto* sendNo = window.findChild<QLineEdit*>(u"txtSendNo1"_s);
    auto* memo = window.findChild<QPlainTextEdit*>(u"txtBigo1"_s);
    for (const Hostile& typed : HostileTexts()) {
        pick();
        const QString before
            = SqlValue(gServerConn, u"SELECT SendNo1 || '|' || Bigo1 FROM NBList1 WHERE JPCodeNo = ?"_s, {code});
        window.findChild<QLineEdit*>(u"txtState1"_s)->setText(u"2"_s);
        sendNo->setText(typed.text);
        memo->setPlainText(typed.text);
        install.messages.clear();
        install.messages.answerNext(MsgAnswer::Ok);
        window.SaveOrder();
        EXPECT_EQ(Schema(gServerConn), schema) << typed.name;
        const QString keptSendNo = SqlValue(gServerConn, u"SELECT SendNo1 FROM NBList1 WHERE JPCodeNo = ?"_s, {code});
        const QString keptMemo = SqlValue(gServerConn, u"SELECT Bigo1 FROM NBList1 WHERE JPCodeNo = ?"_s, {code});
        if (keptSendNo + u'|' + keptMemo == before) {
            // Refused: said so, and nothing changed.
            EXPECT_FALSE(install.messages.shown().isEmpty()) << typed.name;
        } else {
            EXPECT_FALSE(keptMemo.contains(u'\'')) << typed.name;
            EXPECT_TRUE(keptMemo.isValidUtf16() && keptSendNo.isValidUtf16()) << typed.name;
        }
        pick();
        EXPECT_EQ(sendNo->text(), keptSendNo) << typed.name;
        EXPECT_EQ(memo->toPlainText(), keptMemo) << typed.name;
    }
}
