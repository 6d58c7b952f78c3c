#include "BackofficeFixture.h"
#include "CouponLayout.h"
#include "Grid.h"
#include "OrderStore.h"
#include "PageImages.h"
#include "PreviewPages.h"
#include "SqlError.h"
#include "TicketLayout.h"
#include "TicketPrint.h"
#include "TicketStore.h"
#include "UiTools.h"
#include "WhenShown.h"
#include "frmA1Job12.h"
#include "frmPrintSet2.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QStringList kFive {u"031119243845"_s, u"010203040506"_s, u"101112131415"_s, u"404142434445"_s, u"071421283542"_s};

TicketLayout::Lines Ticket(int games, qint64 serial = 7)
{
    return TicketLayout::Build({103, serial, 1201, u"20251213"_s, kFive.mid(0, games)});
}

QStringList Texts(const TicketLayout::Lines& lines, int from, int to)
{
    QStringList texts;
    for (int k = from; k <= to; ++k)
        texts.append(lines[size_t(k - 1)].text);
    return texts;
}

const QString kEq = QString(37, u'=');
const QString kDash = QString(37, u'-');
const QString kGreeting = u"   고객님 공짜복권으로 대박나세요."_s;

} // namespace

TEST(TicketLines, EachNumberOfGamesHasItsOwnClosingLines)
{
    const auto two = Ticket(2);
    EXPECT_EQ(two[9].text, u"[벨트라복권]   1201회 추첨일:2025/12/13"_s);
    EXPECT_EQ(two[10].text, kEq);
    EXPECT_EQ(Texts(two, 12, 17),
              (QStringList {u" [게임1]  03 11 19 24 38 45"_s,
                            u" [게임2]  01 02 03 04 05 06"_s,
                            kEq,
                            kGreeting,
                            u"        무료 증정용 로또게임"_s,
                            kDash}));
    EXPECT_EQ(Texts(Ticket(3), 14, 17), (QStringList {u" [게임3]  10 11 12 13 14 15"_s, kEq, kGreeting, kDash}));
    EXPECT_EQ(Texts(Ticket(4), 14, 17),
              (QStringList {u" [게임3]  10 11 12 13 14 15"_s, u" [게임4]  40 41 42 43 44 45"_s, kEq, kGreeting}));
    EXPECT_EQ(Texts(Ticket(5), 14, 17),
              (QStringList {u" [게임3]  10 11 12 13 14 15"_s,
                            u" [게임4]  40 41 42 43 44 45"_s,
                            u" [게임5]  07 14 21 28 35 42"_s,
                            kEq}));
    for (int g = 2; g <= 5; ++g) {
        const auto lines = Ticket(g);
        for (int k = 12; k < 12 + g; ++k)
            EXPECT_TRUE(lines[size_t(k - 1)].bold && lines[size_t(k - 1)].size == 10) << g << ' ' << k;
        EXPECT_TRUE(Texts(lines, 1, 9).join(QString()).isEmpty());
        EXPECT_EQ(lines[17].text, u"-추첨일 SBS방송의 로또6/45 추첨결과에"_s);
        EXPECT_EQ(lines[28].text, u"벨트라닷컴에서 매일 무료복권을 드립니다"_s);
        EXPECT_TRUE(lines[26].text.isEmpty() && lines[27].text.isEmpty());
    }
    // Five games summing to 140 + 21 + 75 + 255 + 147 = 638.
    EXPECT_EQ(Ticket(5)[22].text.trimmed(), u"인증번호 : 050638-000103-000007"_s);
    EXPECT_EQ(TicketLayout::DrawLine(7, QString()), u"[벨트라복권]      7회 추첨일:"_s);
}

TEST(TicketLines, ASingleGamePrintsAsTwoWithTheSecondLineEmpty)
{
    const auto one = Ticket(1);
    EXPECT_EQ(one[11].text, u" [게임1]  03 11 19 24 38 45"_s);
    EXPECT_TRUE(one[12].text.isEmpty());
    EXPECT_EQ(Texts(one, 14, 17), Texts(Ticket(2), 14, 17));
    // Only the game printed counts: 3 + 11 + 19 + 24 + 38 + 45 = 140.
    EXPECT_EQ(one[22].text.trimmed(), u"인증번호 : 010140-000103-000007"_s);
}

namespace {

// A slot painted at a tenth of a pixel per twip, white paper.
QImage Render(const std::function<void(QPainter&)>& paint, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.1, 0.1);
    paint(painter);
    return image;
}

int Ink(const QImage& image, int top, int bottom, int left, int right)
{
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            n += qGray(image.pixel(x, y)) < 128;
    }
    return n;
}

} // namespace

TEST(TicketPainting, RowsLieOnTheirLinesAndTheTextStaysInItsSlot)
{
    for (int g = 2; g <= 5; ++g) {
        const auto lines = Ticket(g);
        // The slot of a ticket is 3900 by 8100 twips.
        const QImage image = Render([&](QPainter& p) { DrawOrderTicket(p, lines); }, {390, 810});
        for (int k = 1; k <= TicketLayout::kLines; ++k) {
            const int ink = Ink(image, 26 * k + 1, 26 * (k + 1) - 1, 0, 390);
            if (lines[size_t(k - 1)].text.trimmed().isEmpty())
                EXPECT_EQ(ink, 0) << g << " line " << k;
            else
                EXPECT_GT(ink, 0) << g << " line " << k;
        }
        // Nothing beyond the last line, and a column clear before the next ticket.
        EXPECT_EQ(Ink(image, 26 * 30 + 2, 810, 0, 390), 0) << g;
        EXPECT_EQ(Ink(image, 0, 810, TicketLayout::kTextTwips / 10 + 1, 390), 0) << g;
    }
}

TEST(CouponPainting, TheLongestNoticesStayClearOfTheOutline)
{
    CouponLayout::Content c;
    c.drawNo = 57;
    c.shop = u"행운복권방"_s;
    c.prizes = {u"자전거"_s, {}, {}, {}, {}};
    const auto lines = CouponLayout::Build(c);
    const QImage image = Render([&](QPainter& p) { DrawCoupon(p, lines); }, {380, 800});
    // The outline's inner edge is at 3485 twips; the text keeps to its 35 columns, up to 3330.
    EXPECT_EQ(Ink(image, 25, 770, 336, 347), 0);
    EXPECT_GT(Ink(image, 25, 770, 320, 333), 0); // the 37-byte notice still reaches its last column
}

using Tickets = BackofficeTest;

namespace {

QStringList Games(int n, int first = 1)
{
    QStringList list;
    for (int i = 0; i < n; ++i) {
        const int a = (first + i) % 40 + 1;
        QString text;
        for (int k = 0; k < 6; ++k)
            text += QString::number(a + k).rightJustified(2, u'0');
        list.append(text);
    }
    return list;
}

} // namespace

TEST_P(Tickets, ThirteenTicketsPrintOnThreePagesOfThePdf)
{
    addOrder(910, 1201, 13, 5, u"2025-12-01 10:00:00"_s);
    OrderStore::RegisterGames(910, 5, Games(65));
    const PrintOutcome all = ReadOrderTickets(910, {1, 13}).print().outcome;
    ASSERT_TRUE(all.ok()) << all.error.toStdString();
    EXPECT_EQ(all.target, PrintOutcome::Target::Pdf);
    EXPECT_EQ(all.pages, 3);
    ASSERT_TRUE(QFileInfo::exists(all.pdfPath));
    QFile pdf(all.pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 3);

    // Serials beyond the last and tickets without games take no slot.
    EXPECT_EQ(ReadOrderTickets(910, {12, 40}).print().outcome.pages, 1);
    EXPECT_EQ(ReadOrderTickets(910, {50, 60}).print().outcome.target, PrintOutcome::Target::Nothing);
    EXPECT_EQ(server(u"SELECT Count1 FROM NBList1 WHERE JPCodeNo = 910"_s), u"13"_s); // printing changes nothing
}

TEST_P(Tickets, ARangeThatIsNotOneIsRefusedAndChangesNothing)
{
    EXPECT_EQ(TicketStore::ReadRange(u""_s, u"3"_s).refusal, u"범위를 입력하세요."_s);
    EXPECT_TRUE(TicketStore::ReadRange(u"5"_s, u"3"_s).refusal.startsWith(u"시작 번호(5)가 끝 번호(3)보다 큽니다."_s));
    EXPECT_FALSE(TicketStore::ReadRange(u"둘"_s, u"3"_s).refusal.isEmpty());
    EXPECT_FALSE(TicketStore::ReadRange(u"0"_s, u"3"_s).refusal.isEmpty());
    EXPECT_EQ(TicketStore::ReadRange(u" 3"_s, u"3 "_s).range->first, 3);

    frmA1Job12 w;
    w.SelectOrder(1); // an order with tickets, so that only the range can be refused
    ASSERT_NE(w.selectedOrder(), 0);
    const QString before
        = server(u"SELECT COUNT(*) FROM NBNo1"_s) + u'/' + server(u"SELECT SUM(Count1) FROM NBList1"_s);
    for (const auto& [first, last] : {std::pair {u"5"_s, u"3"_s}, {u""_s, u""_s}, {u"x"_s, u"3"_s}}) {
        w.findChild<QLineEdit*>(u"txtSNo1_1"_s)->setText(first);
        w.findChild<QLineEdit*>(u"txtSNo1_2"_s)->setText(last);
        install.messages.clear();
        w.findChild<QPushButton*>(u"cmdDo02"_s)->click();
        ASSERT_EQ(install.messages.shown().size(), 1) << first.toStdString();
        EXPECT_EQ(install.messages.shown()[0].text, TicketStore::ReadRange(first, last).refusal);
    }
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1"_s) + u'/' + server(u"SELECT SUM(Count1) FROM NBList1"_s), before);

    // The print form refuses the same, keeps itself open and gives back the first box.
    frmPrintSet2 form(13);
    EXPECT_EQ(form.findChild<QLabel*>(u"lblMax1"_s)->text(), u"(최대번호: 13)"_s);
    EXPECT_EQ(form.findChild<QLabel*>(u"lblMsg2"_s)->text(), u"필요한 용지수: 3(장)"_s);
    form.findChild<QLineEdit*>(u"txtNo1"_s)->setText(u"5"_s);
    form.findChild<QLineEdit*>(u"txtNo2"_s)->setText(u"3"_s);
    form.confirm();
    EXPECT_FALSE(form.range());
    EXPECT_TRUE(install.messages.last().startsWith(u"시작 번호(5)"_s));
}

TEST_P(Tickets, DeletingARangeLowersTheOrderByTheTicketsThatWereThere)
{
    addOrder(911, 1201, 4, 5, u"2025-12-01 10:00:00"_s);
    OrderStore::RegisterGames(911, 5, Games(12)); // tickets 1, 2 and 3 (two games)
    const QString sum = server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s);
    const auto deleted = TicketStore::DeleteTickets(911, {2, 10});
    EXPECT_EQ(deleted.tickets, 2);
    EXPECT_EQ(deleted.games, 7);
    EXPECT_EQ(server(u"SELECT Count1 FROM NBList1 WHERE JPCodeNo = 911"_s), u"2"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 911"_s), u"5"_s);
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s), QString::number(sum.toInt() - 7));
    // A range with nothing in it deletes nothing and lowers nothing.
    EXPECT_EQ(TicketStore::DeleteTickets(911, {5, 9}).tickets, 0);
    EXPECT_EQ(server(u"SELECT Count1 FROM NBList1 WHERE JPCodeNo = 911"_s), u"2"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103"_s), u"15"_s); // other orders untouched
}

TEST_P(Tickets, ADrawChangeMovesTheGamesAndTheirCountsTogether)
{
    addOrder(912, 1201, 2, 5, u"2025-12-01 10:00:00"_s);
    OrderStore::RegisterGames(912, 5, Games(10));
    const int onSale = server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s).toInt();
    auto texts = *TicketStore::ReadTexts(912);
    texts.drawNo = 1202;
    texts.comp = u"  it's 행운 🍀 "_s;
    const auto saved = TicketStore::SaveTexts(912, texts);
    EXPECT_TRUE(saved.found);
    EXPECT_EQ(saved.movedGames, 10);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 912 AND BokNo = 1202"_s), u"10"_s);
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s), QString::number(onSale - 10));
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1202"_s), u"10"_s);
    EXPECT_EQ(TicketStore::ReadTexts(912)->comp, u"it`s 행운 🍀"_s);
    // Saved again on the same draw, nothing moves.
    EXPECT_EQ(TicketStore::SaveTexts(912, texts).movedGames, 0);
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1202"_s), u"10"_s);

    texts.text1 = QString(5001, u'가');
    EXPECT_FALSE(TicketStore::CheckTexts(texts).isEmpty());
    texts.text1 = QString(5000, u'가');
    EXPECT_TRUE(TicketStore::CheckTexts(texts).isEmpty());
    EXPECT_FALSE(TicketStore::SaveTexts(999, texts).found);
}

// A failure half-way (a trigger standing for a lost connection) leaves the order, its games and both
// draws' counts as they were.
TEST_P(Tickets, ADrawChangeThatFailsHalfWayLeavesEverything)
{
    if (GetParam() != Backend::SQLite)
        GTEST_SKIP() << "the failure is staged with an SQLite trigger";
    const QString before = server(u"SELECT BokNo || Comp1 FROM NBList1 WHERE JPCodeNo = 103"_s) + u'/'
        + server(u"SELECT group_concat(BokNo) FROM NBNo1 WHERE JPCodeNo = 103"_s) + u'/'
        + server(u"SELECT group_concat(BokNo || ':' || Sum1) FROM S1List"_s);
    Execute(gServerConn,
            u"CREATE TRIGGER stop_move BEFORE UPDATE ON NBNo1 BEGIN SELECT RAISE(ABORT, 'connection lost'); END"_s);
    auto texts = *TicketStore::ReadTexts(103);
    texts.drawNo += 5;
    texts.comp = u"바뀐 업소"_s;
    EXPECT_THROW(TicketStore::SaveTexts(103, texts), SqlError);
    EXPECT_EQ(server(u"SELECT BokNo || Comp1 FROM NBList1 WHERE JPCodeNo = 103"_s) + u'/'
                  + server(u"SELECT group_concat(BokNo) FROM NBNo1 WHERE JPCodeNo = 103"_s) + u'/'
                  + server(u"SELECT group_concat(BokNo || ':' || Sum1) FROM S1List"_s),
              before);
}

TEST_P(Tickets, TheWindowShowsAnOrdersTicketsAndDrawsTheClickedOne)
{
    frmA1Job12 w;
    auto* orders = w.findChild<Grid*>(u"grdR1"_s);
    int row = 0;
    for (int r = 1; r <= orders->maxRows(); ++r)
        row = orders->text(1, r) == u"103"_s ? r : row;
    ASSERT_GT(row, 0);
    const qint64 tickets = orders->text(5, row).toLongLong();
    const qint64 perTicket = orders->text(6, row).toLongLong();
    EXPECT_EQ(orders->text(8, row).toLongLong(), tickets * perTicket * orders->text(7, row).toLongLong());
    w.SelectOrder(row);
    auto* games = w.findChild<Grid*>(u"grdR2"_s);
    EXPECT_EQ(w.findChild<QComboBox*>(u"cboCheck1"_s)->currentText(), u"(전체)"_s);
    ASSERT_EQ(games->maxRows(), 15);
    w.findChild<QComboBox*>(u"cboCheck1"_s)->setCurrentIndex(1);
    EXPECT_EQ(games->maxRows(), 0); // the draw on sale has no winners yet
    w.findChild<QComboBox*>(u"cboCheck1"_s)->setCurrentIndex(0);
    ASSERT_EQ(games->maxRows(), 15);
    EXPECT_EQ(games->text(3, 1), u"-"_s);
    EXPECT_EQ(games->text(5, 7), u"000103-000002"_s);
    EXPECT_EQ(w.findChild<QLineEdit*>(u"txtBokNo"_s)->text(), orders->text(3, row));

    w.gameClicked(1, 0);
    EXPECT_TRUE(games->isChecked(1, 15));
    EXPECT_EQ(games->text(1, 0), u"-"_s);
    w.gameClicked(1, 3);
    EXPECT_FALSE(games->isChecked(1, 3));
    w.gameClicked(1, 0);
    EXPECT_FALSE(games->isChecked(1, 1));

    // "복권 프린트": the form opens on the order's highest serial, whatever the list shows; the preview shows
    // the tickets as they will come out, and closing it prints nothing.
    w.findChild<QComboBox*>(u"cboCheck1"_s)->setCurrentIndex(1);
    TestPrinters printers(u"사무실 프린터"_s);
    QString maxLabel;
    QList<QImage> shown;
    for (const PreviewAnswer answer : {PreviewAnswer::Close, PreviewAnswer::Print}) {
        WhenShown<frmPrintSet2>([&](frmPrintSet2* form) {
            maxLabel = form->findChild<QLabel*>(u"lblMax1"_s)->text();
            form->findChild<QLineEdit*>(u"txtNo1"_s)->setText(u"2"_s);
            form->findChild<QPushButton*>(u"cmdPrint1"_s)->click();
        });
        WhenPreviewed(answer, &shown);
        w.findChild<QPushButton*>(u"cmdPrint1"_s)->click();
        ASSERT_EQ(shown.size(), 1);
        if (answer == PreviewAnswer::Close) {
            EXPECT_EQ(printers.pagesPrinted, 0);
            EXPECT_EQ(w.lastPrint().target, PrintOutcome::Target::Nothing);
        }
    }
    EXPECT_EQ(maxLabel, u"(최대번호: 3)"_s);
    EXPECT_EQ(w.lastPrint().pages, 1);
    EXPECT_TRUE(w.lastPrint().ok());
    ASSERT_EQ(printers.lastPages.size(), 1);
    EXPECT_LE(DarkDifference(shown[0], printers.lastPages[0]), kSamePageDots);
}

// Printing changes nothing, and says so; a deletion that is committed is never told as nothing changed.
TEST_P(Tickets, EachMessageSaysWhatIsTrue)
{
    TestPrinters printers(u"사무실 프린터"_s, {0});
    frmA1Job12 w;
    auto* orders = w.findChild<Grid*>(u"grdR1"_s);
    for (int r = 1; r <= orders->maxRows(); ++r) {
        if (orders->text(1, r) == u"103"_s)
            w.SelectOrder(r);
    }
    ASSERT_EQ(w.selectedOrder(), 103);
    auto print = [&](bool previewed) {
        WhenShown<frmPrintSet2>([](frmPrintSet2* form) { form->findChild<QPushButton*>(u"cmdPrint1"_s)->click(); });
        if (previewed)
            WhenPreviewed(PreviewAnswer::Print);
        install.messages.clear();
        w.findChild<QPushButton*>(u"cmdPrint1"_s)->click();
    };
    // The printer refused the page of tickets 1 to 3: named, with the critical icon.
    print(true);
    ASSERT_EQ(w.lastMissed(), (std::vector<qint64> {1, 2, 3}));
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_TRUE(install.messages.last().contains(u"프린트하지 못한 복권(일련번호): 1 ~ 3"_s))
        << install.messages.last().toStdString();
    // The database failing while printing: "(오류) " and what went wrong, no icon.
    {
        TableAway games(ServerOwnerConnection(GetParam()), u"NBNo1"_s);
        WhenBusy printing(u"벨트라복권 프린트 ..."_s, [&] { games.away(); });
        print(false); // the tickets cannot be read: there is no preview
    }
    ASSERT_FALSE(install.messages.shown().isEmpty());
    EXPECT_TRUE(install.messages.last().startsWith(u"(오류) "_s)) << install.messages.last().toStdString();
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::None);

    // Ticket 1 deleted, and the order list cannot be read again afterwards.
    w.findChild<QLineEdit*>(u"txtSNo1_1"_s)->setText(u"1"_s);
    w.findChild<QLineEdit*>(u"txtSNo1_2"_s)->setText(u"1"_s);
    install.messages.clear();
    {
        TableAway orders(ServerOwnerConnection(GetParam()), u"NBList1"_s);
        WhenBusy listing(u"주문 목록 ..."_s, [&] { orders.away(); });
        w.findChild<QPushButton*>(u"cmdDo02"_s)->click();
    }
    ASSERT_EQ(install.messages.shown().size(), 3); // the question, the list, the result
    EXPECT_TRUE(install.messages.shown()[1].text.startsWith(kRefreshFailed));
    EXPECT_EQ(install.messages.last(), u"복권 부분삭제. 완료"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103 AND SNo1 = 1"_s), u"0"_s);
}

TEST_P(Tickets, AMemberIsRefusedEveryStatement)
{
    gUserID = u"shop7"_s;
    EXPECT_THROW(frmA1Job12 {}, SqlError);
    EXPECT_THROW(TicketStore::DeleteTickets(103, {1, 3}), SqlError);
    EXPECT_THROW(TicketStore::SaveTexts(103, {}), SqlError);
    EXPECT_THROW(ReadOrderTickets(103, {1, 3}), SqlError);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103"_s), u"15"_s);
}

INSTANTIATE_TEST_SUITE_P(Server, Tickets, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
