#include "DrawAdmin.h"

#include "Backoffice.h"
#include "Clock.h"
#include "DrawProgress.h"
#include "DrawText.h"
#include "GameRules.h"
#include "Globals.h"
#include "Query.h"
#include "SqlError.h"
#include "Transaction.h"

#include <QDate>

#include <bitset>

using namespace Qt::StringLiterals;

namespace DrawAdmin {

namespace {

const char16_t* const kRankColumns[] = {u"1", u"2", u"3", u"4", u"5"};

QString rank(int i) { return QString::fromUtf16(kRankColumns[i]); }

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isDate(const QString& text)
{
    return text.size() == 8 && allDigits(text) && QDate::fromString(text, u"yyyyMMdd"_s).isValid();
}

bool isStamp(const QString& text) { return text.size() == 10 && allDigits(text) && isDate(text.left(8)); }

QString cellName(qint64 drawNo, const QString& column)
{
    return QString::number(drawNo) + u"회의 ["_s + column + u"]"_s;
}

// Where the server keeps its draw-progress text.
const QString kProgressPart = u"업데이트"_s;
const QString kProgressName = u"추첨진행"_s;

// The server's draw-progress text, read inside the caller's transaction.
DrawProgress readProgress()
{
    Query q(gServerConn, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
    q.run({kProgressPart, kProgressName});
    if (!q.next())
        throw SqlError(u"서버에 추첨진행 정보(업데이트/추첨진행)가 없어 저장하지 않았습니다."_s, QString(), QString());
    return DrawProgress::parse(q.text(u"Text1"_s));
}

// On PostgreSQL nobody updates the text directly: the server's function takes the administrator's part
// and keeps the publisher's files stamp (bytes 42-51) as the server has it.
void writeProgress(const DrawProgress& progress)
{
    if (gServerConn.engine() == Connection::Engine::PostgreSQL) {
        Query set(gServerConn, u"SELECT set_draw_progress(?)"_s);
        set.run({progress.compose()});
        return;
    }
    Execute(gServerConn,
            u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = ? AND Name1 = ?"_s,
            {progress.compose(), kProgressPart, kProgressName});
}

} // namespace

std::vector<DrawRow> ListDraws(int year, int month)
{
    Backoffice::RequireAdministrator();
    const QString prefix = QString::number(year) + QString::number(month).rightJustified(2, u'0');
    Query q(gServerConn,
            u"SELECT a.BokNo,a.Date1,a.Date2,a.LotNo,a.State1,a.State2,b.S1Count,b.S2Count,b.S3Count,b.S4Count,"
            "b.S5Count,b.S1Kum,b.S2Kum,b.S3Kum,b.S4Kum,b.S5Kum,b.Sum1 "
            "FROM BokList a JOIN S1List b ON a.BokNo = b.BokNo WHERE a.Date2 LIKE ? ORDER BY a.BokNo DESC"_s);
    q.run({QString(prefix + u'%')});
    std::vector<DrawRow> rows;
    while (q.next()) {
        DrawRow r;
        r.drawNo = q.integer(u"BokNo"_s);
        r.date1 = q.text(u"Date1"_s);
        r.date2 = q.text(u"Date2"_s);
        r.lotNo = q.text(u"LotNo"_s);
        for (int i = 0; i < 5; ++i) {
            r.counts[size_t(i)] = q.integer(u"S"_s + rank(i) + u"Count"_s);
            r.amounts[size_t(i)] = q.integer(u"S"_s + rank(i) + u"Kum"_s);
        }
        r.sum1 = q.integer(u"Sum1"_s);
        r.state1 = q.text(u"State1"_s);
        r.state2 = q.text(u"State2"_s);
        rows.push_back(r);
    }
    return rows;
}

QString LatestMonth(const QString& untilYyyymmdd)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn,
            u"SELECT MAX(a.Date2) AS d FROM BokList a JOIN S1List b ON a.BokNo = b.BokNo WHERE a.Date2 <= ?"_s);
    q.run({untilYyyymmdd});
    return q.next() ? q.text(u"d"_s).left(6) : QString();
}

QString CheckDrawText(const QString& lotNo)
{
    // A draw entered before it is held keeps all zeros until its numbers are typed.
    return lotNo == QStringView(DrawText::kNoNumbersYet) ? QString() : DrawText::Problem(lotNo);
}

std::optional<qint64> ReadWholeNumber(const QString& text, qint64 limit)
{
    QString digits = text.trimmed();
    digits.remove(u',');
    if (!allDigits(digits) || digits.size() > 15)
        return std::nullopt;
    const qint64 n = digits.toLongLong();
    if (n > limit)
        return std::nullopt;
    return n;
}

Parsed ParseDrawRow(qint64 drawNo, const QStringList& cells)
{
    Parsed p;
    if (cells.size() != 15) {
        p.problem = cellName(drawNo, u"회차"_s) + u" 행의 칸 수가 맞지 않습니다."_s;
        return p;
    }
    DrawRow r;
    r.drawNo = drawNo;
    r.date1 = cells[0].trimmed();
    r.date2 = cells[1].trimmed();
    r.lotNo = cells[2].trimmed();
    r.state1 = cells[13].trimmed();
    r.state2 = cells[14].trimmed();
    if (!isDate(r.date1)) {
        p.problem = cellName(drawNo, u"*시작"_s) + u"은 YYYYMMDD 형식의 날짜로 적어 주십시오."_s;
        return p;
    }
    if (!isDate(r.date2)) {
        p.problem = cellName(drawNo, u"*추첨날짜"_s) + u"는 YYYYMMDD 형식의 날짜로 적어 주십시오."_s;
        return p;
    }
    if (const QString why = CheckDrawText(r.lotNo); !why.isEmpty()) {
        p.problem = cellName(drawNo, u"*당첨번호"_s) + u": "_s + why;
        return p;
    }
    for (int i = 0; i < 5; ++i) {
        const std::optional<qint64> count = ReadWholeNumber(cells[3 + i], kCountLimit);
        if (!count) {
            p.problem = cellName(drawNo, u"*"_s + rank(i) + u"등수"_s) + u"는 0부터 "_s
                + Backoffice::Thousands(double(kCountLimit)) + u"까지의 정수로 적어 주십시오."_s;
            return p;
        }
        r.counts[size_t(i)] = *count;
        const std::optional<qint64> amount = ReadWholeNumber(cells[8 + i], kAmountLimit);
        if (!amount) {
            p.problem = cellName(drawNo, u"*"_s + rank(i) + u"등금액"_s) + u"은 0부터 "_s
                + Backoffice::Thousands(double(kAmountLimit)) + u"까지의 정수(원)로 적어 주십시오."_s;
            return p;
        }
        r.amounts[size_t(i)] = *amount;
    }
    if (r.state1 != u"1"_s && r.state1 != u"2"_s && r.state1 != u"3"_s) {
        p.problem = cellName(drawNo, u"*추첨상태"_s) + u"는 1, 2, 3 가운데 하나입니다."_s;
        return p;
    }
    // A drawn state without numbers would have every member's safe rank its games as lost, for good.
    if (r.state1 == u"3"_s && r.lotNo == u"00000000000000"_s) {
        p.problem = cellName(drawNo, u"*추첨상태"_s) + u": 당첨번호 없이 추첨완료(3)로 할 수 없습니다."_s;
        return p;
    }
    if (!isStamp(r.state2)) {
        p.problem = cellName(drawNo, u"*변경날짜"_s)
            + u"는 날짜(YYYYMMDD)와 두 자리 번호로 적어 주십시오. (예: 2025121301)"_s;
        return p;
    }
    p.row = r;
    return p;
}

void SaveDraws(const std::vector<DrawRow>& rows)
{
    Backoffice::RequireAdministrator();
    Transaction transaction(gServerConn);
    DrawProgress progress = readProgress();
    Query draw(gServerConn,
               u"UPDATE BokList SET Date1 = ?, Date2 = ?, LotNo = ?, State1 = ?, State2 = ? WHERE BokNo = ?"_s);
    Query stats(gServerConn,
                u"UPDATE S1List SET S1Count = ?, S2Count = ?, S3Count = ?, S4Count = ?, S5Count = ?, "
                "S1Kum = ?, S2Kum = ?, S3Kum = ?, S4Kum = ?, S5Kum = ? WHERE BokNo = ?"_s);
    QString newest = progress.drawsStamp;
    for (const DrawRow& r : rows) {
        draw.run({r.date1, r.date2, r.lotNo, r.state1, r.state2, r.drawNo});
        QVariantList values;
        for (qint64 c : r.counts)
            values.append(c);
        for (qint64 k : r.amounts)
            values.append(k);
        values.append(r.drawNo);
        stats.run(values);
        newest = std::max(newest, r.state2);
    }
    if (newest != progress.drawsStamp) {
        progress.drawsStamp = newest;
        writeProgress(progress);
    }
    transaction.commit();
}

PrizeTable ReadPrizeTable(qint64 drawNo)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn,
            u"SELECT Rk1Count,Rk1Kum,Rk2Count,Rk2Kum,Rk3Count,Rk3Kum,Rk4Count,Rk4Kum,Rk5Count,Rk5Kum "
            "FROM BokList WHERE BokNo = ?"_s);
    q.run({drawNo});
    PrizeTable table;
    if (q.next()) {
        for (int i = 0; i < 5; ++i) {
            table.counts[size_t(i)] = q.integer(u"Rk"_s + rank(i) + u"Count"_s);
            table.amounts[size_t(i)] = q.integer(u"Rk"_s + rank(i) + u"Kum"_s);
        }
    }
    return table;
}

QString NextStamp(const QString& todayYyyymmdd, const QString& a, const QString& b)
{
    const QString newest = std::max(a, b);
    const QString fresh = todayYyyymmdd + u"01"_s;
    if (fresh > newest)
        return fresh;
    const int number = newest.mid(8, 2).toInt();
    if (newest.size() == 10 && number < 99)
        return newest.left(8) + QString::number(number + 1).rightJustified(2, u'0');
    // A day's hundred stamps are used up: the next day's first one. A stamp given twice would never
    // reach the members who already hold it, and every install reads exactly ten characters.
    const QDate day = QDate::fromString(newest.left(8), u"yyyyMMdd"_s);
    if (newest.size() == 10 && day.isValid() && day.year() < 9999)
        return day.addDays(1).toString(u"yyyyMMdd"_s) + u"01"_s;
    throw SqlError(u"추첨 자료의 변경 번호("_s + newest
                       + u")를 더 올릴 수 없습니다. 서버의 [추첨진행] 자료를 확인하십시오."_s,
                   QString(),
                   QString());
}

QString ReadDrawsStamp()
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
    q.run({kProgressPart, kProgressName});
    return q.next() ? DrawProgress::parse(q.text(u"Text1"_s)).drawsStamp : QString();
}

QString SavePrizeTable(qint64 drawNo, const PrizeTable& table)
{
    Backoffice::RequireAdministrator();
    Transaction transaction(gServerConn);
    Query current(gServerConn, u"SELECT State2 FROM BokList WHERE BokNo = ?"_s);
    current.run({drawNo});
    if (!current.next())
        return QString();
    DrawProgress progress = readProgress();
    const QString stamp
        = NextStamp(Clock::today().toString(u"yyyyMMdd"_s), progress.drawsStamp, current.text(u"State2"_s));
    QVariantList values;
    for (int i = 0; i < 5; ++i)
        values << table.counts[size_t(i)] << table.amounts[size_t(i)];
    values << stamp << drawNo;
    Execute(gServerConn,
            u"UPDATE BokList SET Rk1Count = ?, Rk1Kum = ?, Rk2Count = ?, Rk2Kum = ?, Rk3Count = ?, Rk3Kum = ?, "
            "Rk4Count = ?, Rk4Kum = ?, Rk5Count = ?, Rk5Kum = ?, State2 = ? WHERE BokNo = ?"_s,
            values);
    progress.drawsStamp = stamp;
    writeProgress(progress);
    transaction.commit();
    return stamp;
}

QString Winner::certification() const
{
    return QString::number(order).rightJustified(6, u'0') + u'-' + QString::number(serial).rightJustified(6, u'0');
}

std::vector<Winner> ReadWinners(qint64 drawNo)
{
    Backoffice::RequireAdministrator();
    // Every game of the draw, whatever its order's state: settlement deletes them all, so it ranks them all.
    Query q(gServerConn,
            u"SELECT a.ID1,b.No1,b.Top1,b.Kum1,b.JPCodeNo,b.SNo1,b.SNo2 FROM NBNo1 b "
            "LEFT JOIN NBList1 a ON a.JPCodeNo = b.JPCodeNo "
            "WHERE b.BokNo = ? AND b.Kum1 <> 0 ORDER BY b.Top1, a.ID1, b.No1"_s);
    q.run({drawNo});
    std::vector<Winner> winners;
    while (q.next()) {
        winners.push_back({q.text(u"ID1"_s),
                           q.text(u"No1"_s),
                           q.text(u"Top1"_s),
                           q.integer(u"Kum1"_s),
                           q.integer(u"JPCodeNo"_s),
                           q.integer(u"SNo1"_s),
                           q.text(u"SNo2"_s)});
    }
    return winners;
}

std::optional<std::pair<qint64, qint64>> ParseCertification(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'-');
    if (parts.size() != 2 || !allDigits(parts[0]) || !allDigits(parts[1]))
        return std::nullopt;
    return std::pair {parts[0].toLongLong(), parts[1].toLongLong()};
}

QString ReadGameText(const QString& text)
{
    const QString trimmed = text.trimmed();
    std::optional<Game> game = trimmed.contains(u'.') ? Game::fromDotted(trimmed) : Game::fromKey(trimmed);
    return game ? game->key() : QString();
}

bool CorrectGame(qint64 order, qint64 serial, const QString& position, const QString& gameText)
{
    Backoffice::RequireAdministrator();
    return Execute(gServerConn,
                   u"UPDATE NBNo1 SET No1 = ? WHERE JPCodeNo = ? AND SNo1 = ? AND SNo2 = ?"_s,
                   {gameText, order, serial, position})
        > 0;
}

} // namespace DrawAdmin
