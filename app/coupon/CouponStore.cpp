#include "CouponStore.h"

#include "Globals.h"
#include "Query.h"
#include "Tools.h"
#include "Transaction.h"

#include <QElapsedTimer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace CouponStore {

std::vector<Coupon> Coupons()
{
    std::vector<Coupon> list;
    Query q(gUserConn, u"SELECT BokNo, Count1, Title1 FROM Bok2 ORDER BY BokNo DESC, Title1"_s);
    q.run();
    while (q.next())
        list.push_back({q.integer(u"BokNo"_s), q.text(u"Title1"_s), q.integer(u"Count1"_s)});
    return list;
}

QString Memo(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT Bigo1 FROM Bok2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    return q.next() ? q.text(u"Bigo1"_s) : QString();
}

void SaveMemo(qint64 drawNo, const QString& memo)
{
    Execute(gUserConn, u"UPDATE Bok2 SET Bigo1 = ? WHERE BokNo = ?"_s, {SqlQuote(ByteLeft(memo, 10000)), drawNo});
}

std::optional<QString> AddGames(qint64 drawNo, const QStringList& games, const std::function<void(int)>& progress)
{
    const qint64 n = games.size();
    Transaction transaction(gUserConn);
    Query last(gUserConn, u"SELECT MAX(SNo1) AS s FROM List2 WHERE BokNo = ?"_s);
    last.run({drawNo});
    qint64 serial = last.next() ? last.integer(u"s"_s) : 0;
    if (n + serial > kMaxSerial)
        return u"더이상 복권을 등록할 수 없습니다."_s;
    Query insert(gUserConn, u"INSERT INTO List2 (BokNo,SNo1,SNo2,No1,Top1,Date1,Tag1) VALUES (?,?,'0',?,'9','','')"_s);
    QElapsedTimer shown;
    shown.start();
    for (qint64 r = 0; r < n; ++r) {
        insert.run({drawNo, ++serial, games[r]});
        if (progress && shown.elapsed() >= 50) {
            shown.restart();
            progress(int(std::lround(double(r + 1) * 100.0 / double(n))));
        }
    }
    Execute(gUserConn, u"UPDATE Bok2 SET Count1 = Count1 + ? WHERE BokNo = ?"_s, {n, drawNo});
    transaction.commit();
    return std::nullopt;
}

} // namespace CouponStore
