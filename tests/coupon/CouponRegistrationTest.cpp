#include "CouponRegistration.h"

#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "LoginService.h"
#include "Query.h"
#include "SqlError.h"
#include "TestEnvironment.h"
#include "Tools.h"
#include "frmSave22.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace CouponRegistration;

namespace {

Fields Typed(const QString& drawNo)
{
    Fields f;
    f.bokNo = drawNo;
    f.part2 = u"복권판매점"_s;
    f.comp1 = u"행운복권방"_s;
    f.title1 = u"행운의 주인공"_s;
    f.title2 = u"02-1234-5678"_s;
    f.prizes = {u"상품권"_s, QString(), QString(), u"음료수"_s, QString()};
    f.text1 = u"매장 방문"_s;
    return f;
}

} // namespace

TEST(CouponFields, AreKeptAsTheCouponPrintsThem)
{
    Fields typed = Typed(u" 57 "_s);
    typed.comp1 = u"가나다라마바사아자차카타"_s; // 12 syllables, 24 bytes
    typed.title1 = u"  들여 쓴 제목의 'quote'  "_s;
    typed.prizes[0] = u"   자전거   "_s;
    typed.prizes[1] = u"가나다라마바사아자차카"_s; // 22 bytes: the twelfth byte pair does not fit
    typed.title2 = u"010-1234-5678-99999"_s;
    typed.text1 = u"첫 줄\r\n둘째 줄"_s;
    typed.text2 = QString(20, QChar(0x1F600)).prepend(u"a"_s); // emoji: one "?" byte each in CP949
    typed.bigo1 = QString(6000, u'메') + u"\n끝"_s;
    const Fields kept = Normalised(typed);
    EXPECT_EQ(kept.bokNo, u"57"_s);
    EXPECT_EQ(kept.comp1, u"가나다라마바사아자차"_s);
    EXPECT_EQ(kept.title1, u"  들여 쓴 제목의 `quote`"_s); // the headline keeps its indent
    EXPECT_EQ(kept.prizes[0], u"자전거"_s);
    EXPECT_EQ(kept.prizes[1], u"가나다라마바사아자차카"_s);
    EXPECT_EQ(kept.title2, u"010-1234-5678-99"_s);
    EXPECT_EQ(kept.text1, u"첫 줄  둘째 줄"_s);
    EXPECT_LE(ByteLen(kept.text2), kLineBytes);
    EXPECT_FALSE(kept.text2.back().isHighSurrogate());
    EXPECT_EQ(ByteLen(kept.bigo1), kMemoBytes);
    EXPECT_FALSE(kept.bigo1.contains(u'끝'));
}

class Registration : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), true);
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(u"shop7"_s, u"shop7"_s, false).outcome, LoginService::Outcome::LoggedIn);
        OpenUserDb();
        gCurrentDrawNo = 1201;
        // The demo publishes shop7's coupon of the draw on sale; these tests start without it. Nobody
        // deletes a published coupon but the service.
        Execute(ServerOwnerConnection(GetParam()), u"DELETE FROM Coupon1 WHERE ID1 = 'shop7'"_s);
        install.messages.clear();
    }
    static QString ServerRow(qint64 drawNo)
    {
        OpenServerConn();
        return SqlValue(gServerConn,
                        u"SELECT Comp1 || '/' || Title1 || '/' || Count1 || '/' || No1Text || '/' || No4Text "
                        "FROM Coupon1 WHERE ID1 = 'shop7' AND BokNo = ?"_s,
                        {drawNo});
    }
    static QString LocalRow(qint64 drawNo)
    {
        return SqlValue(gUserConn,
                        u"SELECT Comp1 || '/' || Title1 || '/' || Count1 || '/' || Bigo1 FROM Bok2 WHERE BokNo = ?"_s,
                        {drawNo});
    }
    // The install's server moved where nothing answers.
    static void LoseServer()
    {
        WriteIfo(QString(),
                 QString::fromUtf16(kInstallSection),
                 QString::fromUtf16(kServerKey),
                 u"sqlite:SERVER/gone.db"_s);
    }
    TestInstall install {TestInstall::Kind::Demo};
};

TEST_P(Registration, TheDrawOnSaleIsPublishedAndRegisteredOnce)
{
    Fields f = Normalised(Typed(u"1201"_s));
    f.bigo1 = u"메모"_s;
    ASSERT_FALSE(Validate(Mode::Register, f).has_value());
    EXPECT_EQ(Save(Mode::Register, f, 0), 1201);
    EXPECT_EQ(LocalRow(1201), u"행운복권방/행운의 주인공/0/메모"_s);
    EXPECT_EQ(ServerRow(1201), u"행운복권방/행운의 주인공/0/상품권/음료수"_s);

    const auto again = Validate(Mode::Register, f);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->message, u"해당 추첨회차에 이미 복권쿠폰이 등록되었습니다."_s);
}

TEST_P(Registration, AnotherDrawNeverReachesTheServer)
{
    // Were any statement sent, the lost server would fail the save.
    LoseServer();
    EXPECT_EQ(Save(Mode::Register, Normalised(Typed(u"1205"_s)), 0), 1205);
    EXPECT_EQ(Save(Mode::Edit, Normalised(Typed(u"1205"_s)), 0), 1205);
    EXPECT_EQ(LocalRow(1205), u"행운복권방/행운의 주인공/0/"_s);
    PrepareServer(GetParam(), true);
    OpenServerConn();
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM Coupon1 WHERE BokNo = 1205"_s), u"0"_s);
}

TEST_P(Registration, AServerThatFailsChangesNothing)
{
    ASSERT_EQ(Save(Mode::Register, Normalised(Typed(u"1201"_s)), 0), 1201);
    LoseServer();
    Fields changed = Normalised(Typed(u"1201"_s));
    changed.comp1 = u"새이름"_s;
    try {
        Save(Mode::Edit, changed, 0);
        ADD_FAILURE() << "saved without the server";
    } catch (const SqlError& error) {
        EXPECT_EQ(error.message(), ServerErrorText());
    }
    EXPECT_EQ(LocalRow(1201), u"행운복권방/행운의 주인공/0/"_s);

    Execute(gUserConn, u"DELETE FROM Bok2"_s);
    EXPECT_THROW(Save(Mode::Register, Normalised(Typed(u"1201"_s)), 0), SqlError);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Bok2"_s), u"0"_s);
}

TEST_P(Registration, EditingTheDrawOnSalePublishesACouponRegisteredBeforeIt)
{
    gCurrentDrawNo = 1200; // registered while its draw was still ahead
    ASSERT_EQ(Save(Mode::Register, Normalised(Typed(u"1201"_s)), 0), 1201);
    Execute(gUserConn, u"UPDATE Bok2 SET Count1 = 3 WHERE BokNo = 1201"_s);
    EXPECT_EQ(ServerRow(1201), QString());

    gCurrentDrawNo = 1201; // now on sale
    Fields f = Normalised(Typed(u"1201"_s));
    f.title1 = u"바뀐 제목"_s;
    ASSERT_FALSE(Validate(Mode::Edit, f).has_value());
    Save(Mode::Edit, f, 0);
    EXPECT_EQ(ServerRow(1201), u"행운복권방/바뀐 제목/3/상품권/음료수"_s);
    f.comp1 = u"두번째"_s;
    Save(Mode::Edit, f, 0);
    EXPECT_EQ(ServerRow(1201), u"두번째/바뀐 제목/3/상품권/음료수"_s);
    OpenServerConn();
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT COUNT(*) FROM Coupon1 WHERE ID1 = 'shop7'"_s), u"1"_s);
}

TEST_P(Registration, TheChecksComeInTheOrderTheMemberMeetsThem)
{
    auto refusal = [](Fields f) {
        const auto r = Validate(Mode::Register, Normalised(f));
        return r ? r->message : QString();
    };
    Fields f = Typed(u"abc"_s);
    f.title1 = u"   "_s;
    EXPECT_EQ(refusal(f), u"광고제목을 입력하세요"_s);
    f.title1 = u"제목"_s;
    f.comp1.clear();
    EXPECT_EQ(refusal(f), u"업소명을 입력하세요"_s);
    f.comp1 = u"가게"_s;
    f.title2 = u" "_s;
    EXPECT_EQ(refusal(f), u"전화번호를 입력하세요"_s);
    f.title2 = u"02-1234-5678"_s;
    EXPECT_EQ(refusal(f), u"회차 숫자형식이 틀립니다."_s);
    for (const QString& outOfRange : {u"0"_s, u"10000"_s, u"-3"_s}) {
        f.bokNo = outOfRange;
        EXPECT_EQ(refusal(f), u"회차 숫자범위를 벗어났습니다. (1부터 9999까지)"_s);
    }
    f.bokNo = u"9999"_s;
    EXPECT_EQ(refusal(f), QString());

    for (const QString& typed : {u"0"_s, u"10000"_s, u"abc"_s, u"  "_s, QString()})
        EXPECT_EQ(DrawNoOrCurrent(typed), 1201) << typed.toStdString();
    EXPECT_EQ(DrawNoOrCurrent(u" 57 "_s), 57);
    EXPECT_EQ(DrawDateLabel(7), u"(추첨일: 2003-01-18)"_s);
}

TEST_P(Registration, TheFormFallsBackToTheDrawOnSaleAndSavesWhatItShows)
{
    frmSave22 form(Mode::Register, 0);
    EXPECT_EQ(form.windowTitle(), u"쿠폰 [등록]"_s);
    auto* bokNo = form.findChild<QLineEdit*>(u"txtBokNo"_s);
    auto* date = form.findChild<QLabel*>(u"lblDate1"_s);
    EXPECT_EQ(bokNo->text(), u"1201"_s);
    EXPECT_EQ(form.findChild<QComboBox*>(u"cboPart2"_s)->itemText(0), u"복권판매점"_s);
    for (const QString& typed : {u"0"_s, u"10000"_s, u"12a"_s, u"   "_s}) {
        bokNo->setText(typed);
        form.drawNoLeft();
        EXPECT_EQ(bokNo->text(), u"1201"_s) << typed.toStdString();
        EXPECT_EQ(date->text(), u"(추첨일: 2025-12-06)"_s);
    }
    bokNo->setText(u"1202"_s);
    form.drawNoLeft();
    EXPECT_EQ(date->text(), u"(추첨일: 2025-12-13)"_s);

    form.findChild<QLineEdit*>(u"txtComp1"_s)->setText(u"가나다라마바사아자차카타"_s);
    form.findChild<QLineEdit*>(u"txtTitle1"_s)->setText(u"it's 행운"_s);
    form.findChild<QPushButton*>(u"cmdSave1"_s)->click();
    EXPECT_EQ(install.messages.last(), u"전화번호를 입력하세요"_s);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(form.findChild<QLineEdit*>(u"txtComp1"_s)->text(), u"가나다라마바사아자차"_s);
    EXPECT_FALSE(form.savedDraw().has_value());

    form.findChild<QLineEdit*>(u"txtTitle2"_s)->setText(u"031-000-0000"_s);
    form.findChild<QPushButton*>(u"cmdSave1"_s)->click();
    ASSERT_EQ(form.savedDraw(), 1202);
    EXPECT_EQ(LocalRow(1202), u"가나다라마바사아자차/it`s 행운/0/"_s);

    frmSave22 edit(Mode::Edit, 1202);
    EXPECT_EQ(edit.windowTitle(), u"쿠폰 [수정]"_s);
    EXPECT_TRUE(edit.findChild<QLineEdit*>(u"txtBokNo"_s)->isReadOnly());
    EXPECT_EQ(edit.findChild<QLineEdit*>(u"txtTitle1"_s)->text(), u"it`s 행운"_s);
}

TEST_P(Registration, TheFormReportsALostServerAndStaysOpen)
{
    LoseServer();
    frmSave22 form(Mode::Register, 0);
    form.findChild<QLineEdit*>(u"txtComp1"_s)->setText(u"가게"_s);
    form.findChild<QLineEdit*>(u"txtTitle1"_s)->setText(u"제목"_s);
    form.findChild<QLineEdit*>(u"txtTitle2"_s)->setText(u"02-000-0000"_s);
    form.save();
    EXPECT_FALSE(form.savedDraw().has_value());
    EXPECT_TRUE(install.messages.last().contains(ServerErrorText())) << install.messages.last().toStdString();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Bok2"_s), u"0"_s);
}

INSTANTIATE_TEST_SUITE_P(Servers, Registration, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
