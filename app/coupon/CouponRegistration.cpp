#include "CouponRegistration.h"

#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "Query.h"
#include "ServerSession.h"
#include "Settings.h"
#include "Tools.h"
#include "Transaction.h"

#include <QDate>

#include <cmath>

using namespace Qt::StringLiterals;

namespace CouponRegistration {

namespace {

QString OneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

// An empty text is stored as such, never as a NULL that every reader would have to expect.
QString Filled(const QString& text) { return text.isNull() ? u""_s : text; }

QString Kept(const QString& text, int bytes, bool bothSides)
{
    const QString line = OneLine(text);
    return Filled(SqlQuote(ByteLeft(bothSides ? line.trimmed() : TrimRight(line), bytes)));
}

// A whole number from 1 to 9999 as typed, or nothing.
std::optional<qint64> DrawNumber(const QString& typed)
{
    bool ok = false;
    const double value = typed.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const qint64 n = std::llround(value);
    if (n < 1 || n > 9999)
        return std::nullopt;
    return n;
}

} // namespace

Fields Normalised(const Fields& typed)
{
    Fields kept;
    kept.bokNo = typed.bokNo.trimmed();
    kept.part2 = Filled(typed.part2);
    kept.comp1 = Kept(typed.comp1, kShopBytes, false);
    kept.title1 = Kept(typed.title1, kLineBytes, false);
    kept.title2 = Kept(typed.title2, kPhoneBytes, false);
    for (size_t k = 0; k < kept.prizes.size(); ++k)
        kept.prizes[k] = Kept(typed.prizes[k], kPrizeBytes, true);
    kept.text1 = Kept(typed.text1, kLineBytes, false);
    kept.text2 = Kept(typed.text2, kLineBytes, false);
    kept.bigo1 = Filled(SqlQuote(ByteLeft(typed.bigo1, kMemoBytes)));
    return kept;
}

qint64 DrawNoOrCurrent(const QString& typed) { return DrawNumber(typed).value_or(gCurrentDrawNo); }

QString DrawDateLabel(qint64 drawNo)
{
    return u"(추첨일: "_s + QDate(2002, 12, 7).addDays(7 * (drawNo - 1)).toString(u"yyyy-MM-dd"_s) + u')';
}

QStringList Kinds() { return ReadInfo(u"업데이트"_s, u"업소구분:목록"_s).split(u'#'); }

std::optional<Refusal> Validate(Mode mode, const Fields& fields)
{
    if (fields.title1.isEmpty())
        return Refusal {u"광고제목을 입력하세요"_s, Field::Title1};
    // The coupon's first line is the shop's name and its fourth the telephone: a coupon without either
    // tells the winner nowhere to go.
    if (fields.comp1.isEmpty())
        return Refusal {u"업소명을 입력하세요"_s, Field::Comp1};
    if (fields.title2.isEmpty())
        return Refusal {u"전화번호를 입력하세요"_s, Field::Title2};
    bool numeric = false;
    const double value = fields.bokNo.toDouble(&numeric);
    if (!numeric || !std::isfinite(value))
        return Refusal {u"회차 숫자형식이 틀립니다."_s, Field::BokNo};
    const auto drawNo = DrawNumber(fields.bokNo);
    if (!drawNo)
        return Refusal {u"회차 숫자범위를 벗어났습니다. (1부터 9999까지)"_s, Field::BokNo};
    if (mode == Mode::Register) {
        Query q(gUserConn, u"SELECT COUNT(*) AS Sum1 FROM Bok2 WHERE BokNo = ?"_s);
        q.run({*drawNo});
        if (q.next() && q.integer(u"Sum1"_s) > 0)
            return Refusal {u"해당 추첨회차에 이미 복권쿠폰이 등록되었습니다."_s, Field::BokNo};
    }
    return std::nullopt;
}

std::optional<Fields> Load(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT * FROM Bok2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    if (!q.next())
        return std::nullopt;
    Fields f;
    f.bokNo = QString::number(q.integer(u"BokNo"_s));
    f.part2 = q.text(u"Part2"_s);
    f.comp1 = q.text(u"Comp1"_s);
    f.title1 = q.text(u"Title1"_s);
    f.title2 = q.text(u"Title2"_s);
    for (size_t k = 0; k < f.prizes.size(); ++k)
        f.prizes[k] = q.text(u"No"_s + QString::number(k + 1) + u"Text"_s);
    f.text1 = q.text(u"Text1"_s);
    f.text2 = q.text(u"Text2"_s);
    f.bigo1 = q.text(u"Bigo1"_s);
    return f;
}

namespace {

// The published copy: inserted when the server has none (a coupon registered while its draw was still
// ahead, or a copy removed there), updated otherwise. The memo stays with the member.
// The eleven texts a coupon publishes, in the column order of the statements below and of Coupon1.
QVariantList couponTexts(const Fields& f)
{
    return {f.part2,
            f.title1,
            f.title2,
            f.comp1,
            f.prizes[0],
            f.prizes[1],
            f.prizes[2],
            f.prizes[3],
            f.prizes[4],
            f.text1,
            f.text2};
}

void Publish(const Fields& f, qint64 drawNo, qint64 games)
{
    // The guest is nobody on the server: a row under its name would be everybody's and nobody's.
    if (gUserID == kGuestID)
        throw SqlError(u"손님은 쿠폰을 공개할 수 없습니다."_s, QString(), QString());
    Connection server;
    try {
        server = ConnectServer(ServerLocation::ofInstall());
    } catch (const SqlError& error) {
        throw SqlError(ServerConnectErrorText(error), error.nativeCode(), error.statement());
    }
    // The server takes a shop's coupon only from the shop's own session.
    ServerSession::Require(server);
    const QVariantList texts = couponTexts(f);
    Query exists(server, u"SELECT COUNT(*) AS Sum1 FROM Coupon1 WHERE ID1 = ? AND BokNo = ?"_s);
    exists.run({gUserID, drawNo});
    if (exists.next() && exists.integer(u"Sum1"_s) > 0) {
        const int changed
            = Execute(server,
                      u"UPDATE Coupon1 SET Part2 = ?, Title1 = ?, Title2 = ?, Comp1 = ?, No1Text = ?, No2Text = ?, "
                      "No3Text = ?, No4Text = ?, No5Text = ?, Text1 = ?, Text2 = ? WHERE ID1 = ? AND BokNo = ?"_s,
                      texts + QVariantList {gUserID, drawNo});
        if (changed == 0)
            throw SqlError(u"서버가 쿠폰을 바꾸지 않았습니다. 다시 로그인한 뒤 저장하여 주십시오."_s,
                           QString(),
                           QString());
    } else {
        Execute(server,
                u"INSERT INTO Coupon1 (ID1,BokNo,Count1,Part2,Title1,Title2,Comp1,No1Text,No2Text,No3Text,No4Text,"
                "No5Text,Text1,Text2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s,
                QVariantList {gUserID, drawNo, games} + texts);
    }
}

} // namespace

qint64 Save(Mode mode, const Fields& f, qint64 games)
{
    const qint64 drawNo = *DrawNumber(f.bokNo);
    Transaction transaction(gUserConn);
    if (mode == Mode::Register) {
        // The form shows the memo box when registering too: what the member typed there is kept.
        Execute(gUserConn,
                u"INSERT INTO Bok2 (BokNo,Count1,Part2,Title1,Title2,Comp1,No1Text,No2Text,No3Text,No4Text,No5Text,"
                "Text1,Text2,Bigo1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s,
                QVariantList {drawNo, games} + couponTexts(f) + QVariantList {f.bigo1});
    } else {
        const int changed = Execute(gUserConn,
                                    u"UPDATE Bok2 SET Part2 = ?, Title1 = ?, Title2 = ?, Comp1 = ?, No1Text = ?, "
                                    "No2Text = ?, No3Text = ?, No4Text = ?, No5Text = ?, Text1 = ?, Text2 = ?, "
                                    "Bigo1 = ? WHERE BokNo = ?"_s,
                                    couponTexts(f) + QVariantList {f.bigo1, drawNo});
        if (changed == 0)
            throw SqlError(QString::number(drawNo) + u"회 쿠폰이 없습니다. 다른 곳에서 삭제되었습니다."_s,
                           QString(),
                           QString());
        Query count(gUserConn, u"SELECT Count1 FROM Bok2 WHERE BokNo = ?"_s);
        count.run({drawNo});
        games = count.next() ? count.integer(u"Count1"_s) : 0;
    }
    if (drawNo == gCurrentDrawNo)
        Publish(f, drawNo, games);
    transaction.commit();
    return drawNo;
}

} // namespace CouponRegistration
