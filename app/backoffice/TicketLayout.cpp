#include "TicketLayout.h"

#include "Backoffice.h"
#include "Globals.h"
#include "Query.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace TicketLayout {

namespace {

QString rule(QChar c) { return QString(kWidth, c); }

QString digits(qint64 value, int width) { return QString::number(value).rightJustified(width, u'0'); }

const QString kGreeting = u"고객님 공짜복권으로 대박나세요."_s;

} // namespace

QString DateText(const QString& date2)
{
    if (date2.isEmpty())
        return QString();
    return date2.left(4) + u'/' + date2.mid(4, 2) + u'/' + date2.mid(6, 2);
}

QString DrawLine(qint64 drawNo, const QString& date2)
{
    return u"[벨트라복권] "_s + QString::number(drawNo).rightJustified(6, u' ') + u"회 추첨일:"_s + DateText(date2);
}

QString TicketGameLine(int position, const QString& game) { return u' ' + GameLine(position, game); }

QString AuthenticationText(const QStringList& games, qint64 orderCode, qint64 serial)
{
    return u"인증번호 : 0"_s + QString::number(games.size()) + digits(NumberSum(games), 4) + u'-'
        + OrderSerialText(orderCode, serial);
}

QString OrderSerialText(qint64 orderCode, qint64 serial) { return digits(orderCode, 6) + u'-' + digits(serial, 6); }

Lines Build(const Content& content)
{
    Lines lines;
    auto set = [&](int line, const QString& text) { lines[size_t(line - 1)].text = text; };
    auto game = [&](int line, int k) {
        // A position without a game keeps its line, empty, so that the closing lines stay in place.
        const QString text = k <= content.games.size() ? TicketGameLine(k, content.games[k - 1]) : QString();
        lines[size_t(line - 1)] = {text, 10, true};
    };
    const QStringList games = content.games.mid(0, kMaxGames);

    set(10, DrawLine(content.drawNo, content.drawDate));
    set(11, rule(u'='));
    game(12, 1);
    game(13, 2);
    switch (std::max(2, int(games.size()))) {
    case 2:
        set(14, rule(u'='));
        set(15, CenterText(kGreeting, kWidth));
        set(16, CenterText(u"무료 증정용 로또게임"_s, kWidth));
        set(17, rule(u'-'));
        break;
    case 3:
        game(14, 3);
        set(15, rule(u'='));
        set(16, CenterText(kGreeting, kWidth));
        set(17, rule(u'-'));
        break;
    case 4:
        game(14, 3);
        game(15, 4);
        set(16, rule(u'='));
        set(17, CenterText(kGreeting, kWidth));
        break;
    default:
        game(14, 3);
        game(15, 4);
        game(16, 5);
        set(17, rule(u'='));
        break;
    }
    set(18, u"-추첨일 SBS방송의 로또6/45 추첨결과에"_s);
    set(19, u" 따라 대박의 행운을 드립니다."_s);
    set(20, u"-당첨금은 벨트라닷컴에서 지급하고 인터"_s);
    set(21, u" 넷을 통해 지급신청을 받습니다."_s);
    set(22, rule(u'-'));
    set(23, CenterText(AuthenticationText(games, content.orderCode, content.serial), kWidth));
    set(24, rule(u'-'));
    set(25, u"본 복권은 벨트라닷컴과 가맹점의 제휴로"_s);
    set(26, u"무료로 지급되며 판매 할 수 없습니다."_s);
    set(29, u"벨트라닷컴에서 매일 무료복권을 드립니다"_s);
    return lines;
}

std::optional<Content> ReadTicket(qint64 orderCode, qint64 serial)
{
    Backoffice::RequireAdministrator();
    Query order(gServerConn, u"SELECT BokNo FROM NBList1 WHERE JPCodeNo = ?"_s);
    order.run({orderCode});
    if (!order.next())
        return std::nullopt;
    Content content;
    content.orderCode = orderCode;
    content.serial = serial;
    content.drawNo = order.integer(u"BokNo"_s);
    Query games(gServerConn, u"SELECT No1 FROM NBNo1 WHERE JPCodeNo = ? AND SNo1 = ? ORDER BY SNo2"_s);
    games.run({orderCode, serial});
    while (games.next() && content.games.size() < kMaxGames)
        content.games.append(games.text(u"No1"_s));
    if (content.games.isEmpty())
        return std::nullopt;
    Query date(gServerConn, u"SELECT Date2 FROM BokList WHERE BokNo = ?"_s);
    date.run({content.drawNo});
    if (date.next())
        content.drawDate = date.text(u"Date2"_s);
    return content;
}

} // namespace TicketLayout

void DrawOrderTicket(QPainter& painter, const TicketLayout::Lines& lines)
{
    using namespace TicketLayout;
    PaintLines(painter, lines, {0, kLineTwips, kTextTwips});
}
