#include "TicketQr.h"

#include "Grid.h"
#include "SafeWindowFixture.h"
#include "WhenShown.h"
#include "frmBank1.h"
#include "frmQr1.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTransform>

#include <gtest/gtest.h>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

using namespace Qt::StringLiterals;

namespace {

const QString kHost = u"http://qr.example.kr/?v="_s;
// Draw 1201: two manual games, two semi-automatic ones, an unused slot, then the ticket's serial.
const QString kFourGames
    = kHost + u"1201m061722273744m030506144245s111826323542s152425263244n000000000000195138178214141022"_s;
const QString kFiveAuto = kHost + u"1200q011318263438q020709131430q050810162743q111214172128q0102151821321289734360"_s;

TicketQr::Reading parse(const QString& text) { return TicketQr::Parse(text, 1201); }

QStringList keys(const TicketQr::Ticket& ticket)
{
    QStringList out;
    for (const TicketQr::Line& line : ticket.lines)
        out.append(QString(line.slot) + u':' + line.game.key());
    return out;
}

// A QR code as a phone would photograph it: black modules on white with a quiet zone.
QImage qrImage(const QString& text, int side = 360)
{
    const ZXing::BitMatrix bits
        = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode).setMargin(4).encode(text.toStdString(), side, side);
    QImage image(bits.width(), bits.height(), QImage::Format_RGB32);
    for (int y = 0; y < bits.height(); ++y) {
        for (int x = 0; x < bits.width(); ++x)
            image.setPixel(x, y, bits.get(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    return image;
}

} // namespace

TEST(TicketQrParse, ReadsTheTicketsAsPrinted)
{
    const TicketQr::Reading four = parse(kFourGames);
    ASSERT_TRUE(four.ticket) << four.error.toStdString();
    EXPECT_EQ(four.ticket->drawNo, 1201);
    EXPECT_EQ(keys(*four.ticket),
              QStringList({u"A:061722273744"_s, u"B:030506144245"_s, u"C:111826323542"_s, u"D:152425263244"_s}));
    EXPECT_EQ(four.ticket->lines[0].play, TicketQr::Play::Manual);
    EXPECT_EQ(four.ticket->lines[2].play, TicketQr::Play::SemiAutomatic);

    const TicketQr::Reading five = parse(kFiveAuto);
    ASSERT_TRUE(five.ticket) << five.error.toStdString();
    EXPECT_EQ(five.ticket->lines.size(), 5u);
    EXPECT_EQ(five.ticket->lines[4].play, TicketQr::Play::Automatic);
    EXPECT_EQ(five.ticket->lines[4].game.key(), u"010215182132"_s);

    // An unused slot before a played one keeps the played one's place on the ticket; a line break from
    // the paste, https and no serial at all are fine.
    const TicketQr::Reading gap = parse(u"https://qr.example.kr/?v=0005n000000000000m010203040506\n"_s);
    ASSERT_TRUE(gap.ticket) << gap.error.toStdString();
    EXPECT_EQ(keys(*gap.ticket), QStringList({u"B:010203040506"_s}));

    // A phone's reader may give the numbers of a slot in any order: they are kept ascending.
    const TicketQr::Reading order = parse(kHost + u"1000m453321090201"_s);
    ASSERT_TRUE(order.ticket);
    EXPECT_EQ(order.ticket->lines[0].game.key(), u"010209213345"_s);
}

TEST(TicketQrParse, RefusesWhatIsNotALottoTicket)
{
    const QString notLotto = u"로또 6/45 복권의 QR 코드가 아닙니다."_s;
    const QStringList texts {
        QString(),
        u"1201m061722273744"_s, // the value alone, no address
        u"ftp://qr.example.kr/?v=1201m061722273744"_s,
        u"http:///?v=1201m061722273744"_s,
        u"http://qr.example.kr/?w=1201m061722273744"_s,
        u"http://qr.example.kr/?v=1201m061722273744&v=1201m061722273744"_s,
        kHost + u"pd1202701s890966"_s, // another lottery's ticket
        kHost + u"120m061722273744"_s, // three-digit draw
        kHost + u"1201"_s, // no slot
        kHost + u"1201M061722273744"_s, // markers are lower case
        kHost + u"1201x061722273744"_s, // a marker we do not know
        kHost + u"1201m06172227374"_s, // eleven digits
        kHost + u"1201m061722273744n000000000001"_s, // an unused slot that is not empty
        kHost + u"1201m061722273744abc"_s, // letters after the slots
        kHost + u"1201m061722273744m061722273744m061722273744m061722273744m061722273744m061722273744"_s,
        kHost + u"0000m061722273744"_s,
    };
    for (const QString& text : texts) {
        const TicketQr::Reading r = parse(text);
        EXPECT_FALSE(r.ticket) << text.toStdString();
        EXPECT_EQ(r.error, notLotto) << text.toStdString();
    }
}

TEST(TicketQrParse, RefusesBadNumbersAndDrawsNotOnSaleYet)
{
    for (const QString& slot : {u"m010203040546"_s, u"m000203040506"_s, u"m010203040505"_s, u"q000000000000"_s}) {
        const TicketQr::Reading r = parse(kHost + u"1201m010203040506"_s + slot);
        EXPECT_FALSE(r.ticket) << slot.toStdString();
        EXPECT_TRUE(r.error.startsWith(u"B 게임의 번호가 올바르지 않습니다."_s)) << r.error.toStdString();
    }
    const TicketQr::Reading empty = parse(kHost + u"1201n000000000000n000000000000"_s);
    EXPECT_FALSE(empty.ticket);
    EXPECT_EQ(empty.error, u"이 복권에는 번호가 있는 게임이 없습니다."_s);

    EXPECT_TRUE(parse(kHost + u"1201m010203040506"_s).ticket);
    const TicketQr::Reading future = parse(kHost + u"1202m010203040506"_s);
    EXPECT_FALSE(future.ticket);
    EXPECT_TRUE(future.error.startsWith(u"1202회차는 아직 판매되지 않은 회차입니다."_s)) << future.error.toStdString();
    // Without the draw on sale known (no synchronisation yet), no draw can be told apart from the future.
    EXPECT_FALSE(TicketQr::Parse(kHost + u"0001m010203040506"_s, 0).ticket);
}

TEST(TicketQrImage, DecodesPhotosAndScansOfTheCode)
{
    QTemporaryDir dir;
    const QImage code = qrImage(kFourGames);
    const QString png = dir.filePath(u"ticket.png"_s);
    const QString jpeg = dir.filePath(u"ticket.jpg"_s);
    ASSERT_TRUE(code.save(png));
    // A photo: the code small in a larger grey picture, turned a quarter, saved lossy.
    QImage photo(1200, 900, QImage::Format_RGB32);
    photo.fill(qRgb(200, 200, 190));
    {
        QPainter painter(&photo);
        painter.drawImage(QPoint(600, 300), code.transformed(QTransform().rotate(90)));
    }
    ASSERT_TRUE(photo.save(jpeg, "JPEG", 80));

    for (const QString& path : {png, jpeg}) {
        const TicketQr::ImageText found = TicketQr::DecodeImageFile(path);
        ASSERT_TRUE(found.text) << path.toStdString() << ' ' << found.error.toStdString();
        EXPECT_EQ(*found.text, kFourGames);
        EXPECT_TRUE(parse(*found.text).ticket);
    }
}

TEST(TicketQrImage, ReportsPicturesItCannotRead)
{
    QTemporaryDir dir;
    const QString fake = dir.filePath(u"fake.png"_s);
    QFile file(fake);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    for (const QString& path : {fake, dir.filePath(u"missing.jpg"_s)}) {
        const TicketQr::ImageText found = TicketQr::DecodeImageFile(path);
        EXPECT_FALSE(found.text);
        EXPECT_TRUE(found.error.startsWith(u"그림 파일을 읽지 못하였습니다."_s)) << found.error.toStdString();
    }
    QImage blank(400, 400, QImage::Format_RGB32);
    blank.fill(Qt::white);
    const TicketQr::ImageText none = TicketQr::DecodeImage(blank);
    EXPECT_FALSE(none.text);
    EXPECT_TRUE(none.error.startsWith(u"그림에서 QR 코드를 찾지 못하였습니다."_s));
    EXPECT_FALSE(TicketQr::DecodeImage(QImage()).text);
}

class TicketQrSave : public SafeWindow
{
protected:
    void SetUp() override
    {
        SafeWindow::SetUp();
        gCurrentDrawNo = 1201;
    }
    static QString draw1201()
    {
        return SqlValue(
            gUserConn,
            u"SELECT group_concat(b.No1||':'||g.GName1||':'||b.Top1, ',') FROM "
            "(SELECT * FROM List1 WHERE BokNo = 1201 ORDER BY SNo1) AS b, Group1 AS g WHERE b.GNo1 = g.GNo1"_s);
    }
};

TEST_F(TicketQrSave, AddsTheGamesUnderTheGroupAndKeepsTheDrawsMemo)
{
    SafeStore::SaveMemo(1201, u"편의점에서 산 것"_s);
    const TicketQr::Reading r = parse(kFourGames);
    ASSERT_TRUE(r.ticket);
    EXPECT_FALSE(TicketQr::Save(*r.ticket, TicketQr::kDefaultGroup));
    EXPECT_EQ(draw1201(),
              u"061722273744:QR 복권:9,030506144245:QR 복권:9,111826323542:QR 복권:9,152425263244:QR 복권:9"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1||':'||Bigo1 FROM Bok1 WHERE BokNo = 1201"_s),
              u"4:편의점에서 산 것"_s);
}

TEST_F(TicketQrSave, WritesNothingWhenRefused)
{
    const QString before = SafeRows();
    TicketQr::Ticket ticket = *parse(kFourGames).ticket;
    EXPECT_TRUE(TicketQr::Save(ticket, u"(전체)"_s));
    ticket.drawNo = 1202;
    EXPECT_TRUE(TicketQr::Save(ticket, TicketQr::kDefaultGroup));
    ticket.drawNo = 1201;
    ticket.lines[1].game.numbers[0] = 46;
    EXPECT_TRUE(TicketQr::Save(ticket, TicketQr::kDefaultGroup));
    EXPECT_EQ(SafeRows(), before);
}

TEST_F(TicketQrSave, DialogShowsTheTicketAndSavesOnlyWhatItShows)
{
    const QString before = SafeRows();
    frmQr1 dialog;
    auto* text = dialog.findChild<QLineEdit*>(u"txtQr1"_s);
    auto* save = dialog.findChild<QPushButton*>(u"cmdSave1"_s);
    auto* games = dialog.findChild<Grid*>(u"grdR1"_s);

    text->setText(kHost + u"1201m010203040546"_s);
    dialog.findChild<QPushButton*>(u"cmdRead1"_s)->click();
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(games->maxRows(), 0);

    QTemporaryDir dir;
    ASSERT_TRUE(qrImage(kFourGames).save(dir.filePath(u"t.png"_s)));
    dialog.ReadImage(dir.filePath(u"t.png"_s));
    EXPECT_EQ(text->text(), kFourGames);
    ASSERT_EQ(games->maxRows(), 4);
    EXPECT_EQ(games->text(2, 3), u"반자동"_s);
    EXPECT_EQ(games->text(3, 1), u"06.17.22.27.37.44"_s);
    EXPECT_TRUE(save->isEnabled());

    // Typing into the address after reading it leaves nothing to save until it is read again.
    QTest::keyClicks(text, u"9"_s);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(games->maxRows(), 0);
    EXPECT_EQ(SafeRows(), before);

    dialog.ReadText(kFourGames);
    save->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.savedDraw(), 1201);
    EXPECT_TRUE(install.messages.last().startsWith(u"1201회차에 4개 복권번호가"_s));
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1201"_s), u"4"_s);
}

TEST_F(TicketQrSave, SafeShowsTheDrawOfTheImportedTicket)
{
    auto w = open();
    w->show();
    pickDraw(*w, 1100);
    WhenShown<frmQr1>([](frmQr1* dialog) {
        dialog->ReadText(kFiveAuto);
        dialog->SaveTicket();
    });
    w->findChild<QPushButton*>(u"cmdQr1"_s)->click();
    EXPECT_EQ(tickets(*w)->maxRows(), 5);
    EXPECT_EQ(draws(*w)->text(1, draws(*w)->activeRow()), u"1200"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT GName1 FROM Group1"_s), u"QR 복권"_s);
}
