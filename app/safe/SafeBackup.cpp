#include "SafeBackup.h"

#include "Clock.h"
#include "Game.h"
#include "Globals.h"
#include "Query.h"
#include "SafeStore.h"
#include "TextExport.h"
#include "Transaction.h"

#include <QCryptographicHash>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <optional>
#include <variant>
#include <vector>

using namespace Qt::StringLiterals;

namespace SafeBackup {

namespace {

const QString kColumns = u"구분,회차,그룹,번호,등수,당첨금,메모,수령일"_s;
const QString kDrawKind = u"회차"_s;
const QString kGameKind = u"게임"_s;
const QString kTotalKind = u"합계"_s;
const QString kFormat = u"형식 1"_s;
const QString kOwner = u"아이디 "_s;
const QString kMade = u"만든 때 "_s;
constexpr int kFields = 8;

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

QString rankName(const QString& top1)
{
    if (top1.size() == 1 && top1[0] >= u'1' && top1[0] <= u'5')
        return top1 + u'등';
    if (top1 == u"0"_s)
        return u"낙첨"_s;
    return u"미추첨"_s;
}

std::optional<char> rankCode(const QString& name)
{
    if (name == u"낙첨"_s)
        return '0';
    if (name == u"미추첨"_s)
        return '9';
    if (name.size() == 2 && name[1] == u'등' && name[0] >= u'1' && name[0] <= u'5')
        return char(name[0].unicode());
    return std::nullopt;
}

QString dottedGame(const QString& no1) { return no1.size() == 12 ? GameText::Dotted(no1) : no1; }

// "01.02.04.16.20.32" as its twelve digits; 0 when it is not six two-digit numbers.
qint64 gameDigits(const QString& dotted)
{
    if (dotted.size() != 17)
        return 0;
    qint64 value = 0;
    for (int i = 0; i < 17; ++i) {
        const char16_t c = dotted[i].unicode();
        if (i % 3 == 2) {
            if (c != u'.')
                return 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QString gameText(qint64 digits)
{
    QString text(12, Qt::Uninitialized);
    QChar* out = text.data();
    for (int i = 11; i >= 0; --i, digits /= 10)
        out[i] = QChar(char16_t(u'0' + digits % 10));
    return text;
}

// A line of the file and its share of the seal.
class SealedWriter
{
public:
    explicit SealedWriter(TextExport& file)
        : m_file(file)
        , m_hash(QCryptographicHash::Sha256)
    {
    }
    void line(const QString& text)
    {
        m_file.line(text);
        m_hash.addData(text.toUtf8());
        m_hash.addData(QByteArrayView("\r\n"));
    }
    QString seal() const { return QString::fromLatin1(m_hash.result().toHex()); }

private:
    TextExport& m_file;
    QCryptographicHash m_hash;
};

struct Draw
{
    qint64 drawNo = 0;
    QString memo;
    QString received;
    std::vector<qint64> games; // indexes into the games
};

struct Game
{
    qint64 digits;
    qint32 group; // index into the group names
    char top1;
    qint64 kum1;
};

struct Parsed
{
    QString owner;
    std::vector<Draw> draws;
    std::vector<Game> games;
    QStringList groups;
};

// Splits CSV text into records. Quoted fields may hold commas, quotes ("") and line breaks.
class CsvReader
{
public:
    explicit CsvReader(const QString& text)
        : m_text(text)
    {
    }
    // The next record's fields; false at the end. A quote left open is a damaged file.
    bool next(QStringList& fields, bool& broken)
    {
        fields.clear();
        broken = false;
        const qsizetype n = m_text.size();
        if (m_at >= n)
            return false;
        ++m_line;
        QString field;
        bool quoted = false;
        bool wasQuoted = false;
        while (m_at < n) {
            const QChar c = m_text[m_at++];
            if (quoted) {
                if (c == u'"') {
                    if (m_at < n && m_text[m_at] == u'"') {
                        field += u'"';
                        ++m_at;
                    } else {
                        quoted = false;
                    }
                } else {
                    if (c == u'\n')
                        ++m_line;
                    field += c;
                }
                continue;
            }
            if (c == u'"' && field.isEmpty() && !wasQuoted) {
                quoted = wasQuoted = true;
            } else if (!wasQuoted && field.isEmpty() && c != u',' && c != u'\r' && c != u'\n') {
                // A plain field is taken whole: most of a backup is short plain fields.
                const qsizetype start = m_at - 1;
                while (m_at < n && m_text[m_at] != u',' && m_text[m_at] != u'\r' && m_text[m_at] != u'\n'
                       && m_text[m_at] != u'"')
                    ++m_at;
                field = m_text.mid(start, m_at - start);
            } else if (c == u',') {
                fields.append(field);
                field.clear();
                wasQuoted = false;
            } else if (c == u'\r' && m_at < n && m_text[m_at] == u'\n') {
                ++m_at;
                fields.append(field);
                return true;
            } else if (c == u'\r' || c == u'\n' || wasQuoted) {
                broken = true; // a bare line break, or text after a closing quote
                return true;
            } else {
                field += c;
            }
        }
        broken = quoted;
        fields.append(field);
        return true;
    }
    int line() const { return m_line; }

private:
    const QString& m_text;
    qsizetype m_at = 0;
    int m_line = 0;
};

const QString kDamaged = u"금고 백업 화일이 손상되었거나 고쳐져 복원할 수 없습니다."_s;

QString damagedAt(int line, const QString& why)
{
    return kDamaged + u"\n("_s + QString::number(line) + u"번째 줄: "_s + why + u')';
}

bool validDate(const QString& text) { return text.size() == 10 && QDate::fromString(text, u"yyyy-MM-dd"_s).isValid(); }

// Reads and checks the whole file; the error text when it cannot be restored.
std::variant<Parsed, QString> parse(const QString& path, const QString& ownerId)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"금고 백업 화일을 열 수 없습니다: "_s + path;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    while (bytes.endsWith("\r\n"))
        bytes.chop(2);
    const qsizetype lastBreak = bytes.lastIndexOf("\r\n");
    if (!bytes.startsWith(kTitle.toUtf8()) || lastBreak < 0)
        return u"수리볼 금고 백업 화일이 아닙니다: "_s + path;
    const QByteArrayView body = QByteArrayView(bytes).first(lastBreak + 2);
    const QByteArray trailer = bytes.mid(lastBreak + 2);

    const QList<QByteArray> total = trailer.split(',');
    if (total.size() != 4 || total[0] != kTotalKind.toUtf8())
        return kDamaged + u"\n(마지막 줄의 합계가 없습니다. 화일이 잘렸을 수 있습니다.)"_s;
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() != total[3].trimmed())
        return kDamaged + u"\n(화일의 내용이 백업할 때와 다릅니다.)"_s;

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(body);
    if (decoder.hasError())
        return kDamaged + u"\n(UTF-8 글자가 아닌 바이트가 있습니다.)"_s;

    Parsed parsed;
    CsvReader reader(text);
    QStringList f;
    bool broken = false;
    if (!reader.next(f, broken) || broken || f.size() != 4 || f[0] != kTitle || f[1] != kFormat
        || !f[2].startsWith(kOwner) || !f[3].startsWith(kMade))
        return damagedAt(1, u"머리줄이 올바르지 않습니다"_s);
    parsed.owner = f[2].mid(kOwner.size());
    if (parsed.owner.compare(ownerId, Qt::CaseInsensitive) != 0)
        return u"다른 회원("_s + parsed.owner + u")의 금고 백업 화일입니다. 자기 아이디("_s + ownerId
            + u")로 만든 백업만 복원할 수 있습니다. 바뀐 것은 없습니다."_s;
    if (!reader.next(f, broken) || broken || f.join(u',') != kColumns)
        return damagedAt(2, u"열 이름 줄이 올바르지 않습니다"_s);

    QHash<qint64, qsizetype> drawAt;
    QHash<QString, qint32> groupAt;
    while (reader.next(f, broken)) {
        const int line = reader.line();
        if (broken || f.size() != kFields)
            return damagedAt(line, u"칸의 수가 맞지 않습니다"_s);
        bool ok = false;
        const qint64 drawNo = f[1].toLongLong(&ok);
        if (!ok || drawNo <= 0 || f[1] != QString::number(drawNo))
            return damagedAt(line, u"회차가 올바르지 않습니다"_s);
        if (f[0] == kDrawKind) {
            if (!f[2].isEmpty() || !f[3].isEmpty() || !f[4].isEmpty() || !f[5].isEmpty())
                return damagedAt(line, u"회차 줄에 게임의 칸이 채워져 있습니다"_s);
            if (!f[7].isEmpty() && !validDate(f[7]))
                return damagedAt(line, u"수령일이 올바르지 않습니다"_s);
            if (drawAt.contains(drawNo))
                return damagedAt(line, u"같은 회차가 두 번 있습니다"_s);
            drawAt.insert(drawNo, qsizetype(parsed.draws.size()));
            parsed.draws.push_back({drawNo, f[6], f[7], {}});
        } else if (f[0] == kGameKind) {
            const auto draw = drawAt.constFind(drawNo);
            if (draw == drawAt.cend())
                return damagedAt(line, u"회차 줄보다 먼저 나온 게임입니다"_s);
            const QString& group = f[2];
            if (!group.isEmpty() && (SafeStore::CleanGroupName(group) != group || !SafeStore::GroupNameAllowed(group)))
                return damagedAt(line, u"그룹명이 올바르지 않습니다"_s);
            const qint64 digits = gameDigits(f[3]);
            if (digits == 0)
                return damagedAt(line, u"번호가 올바르지 않습니다"_s);
            const std::optional<char> rank = rankCode(f[4]);
            if (!rank)
                return damagedAt(line, u"등수가 올바르지 않습니다"_s);
            const qint64 prize = f[5].toLongLong(&ok);
            if (!ok || prize < 0 || f[5] != QString::number(prize) || ((*rank == '9' || *rank == '0') && prize != 0))
                return damagedAt(line, u"당첨금이 올바르지 않습니다"_s);
            if (!f[6].isEmpty() || !f[7].isEmpty())
                return damagedAt(line, u"게임 줄에 회차의 칸이 채워져 있습니다"_s);
            auto at = groupAt.constFind(group);
            if (at == groupAt.cend()) {
                at = groupAt.insert(group, qint32(parsed.groups.size()));
                parsed.groups.append(group);
            }
            parsed.draws[size_t(*draw)].games.push_back(qint64(parsed.games.size()));
            parsed.games.push_back({digits, *at, *rank, prize});
        } else {
            return damagedAt(line, u"알 수 없는 구분입니다: "_s + f[0]);
        }
    }
    if (QString::fromUtf8(total[1]) != QString::number(parsed.draws.size())
        || QString::fromUtf8(total[2]) != QString::number(parsed.games.size()))
        return kDamaged + u"\n(합계 줄의 회차 수나 게임 수가 본문과 다릅니다.)"_s;
    return parsed;
}

qint64 scalar(const QString& sql, const QVariantList& values)
{
    Query q(gUserConn, sql);
    q.run(values);
    return q.next() ? q.raw().value(0).toLongLong() : 0;
}

} // namespace

BackupOutcome Backup(const QString& ownerId, const ProgressCallback& progress)
{
    return BackupTo(TextExport::PathFor(u"금고백업_"_s + ownerId + u'_', u".CSV"_s), ownerId, progress);
}

BackupOutcome BackupTo(const QString& path, const QString& ownerId, const ProgressCallback& progress)
{
    BackupOutcome outcome;
    outcome.path = path;

    // Every draw with something to keep: games, a memo or a received mark.
    std::vector<qint64> draws;
    {
        Query q(gUserConn,
                u"SELECT BokNo FROM Bok1 WHERE Bigo1 <> '' UNION SELECT DISTINCT BokNo FROM List1 "
                "UNION SELECT BokNo FROM Claim1 ORDER BY 1"_s);
        q.run();
        while (q.next())
            draws.push_back(q.raw().value(0).toLongLong());
    }
    const qint64 total = scalar(u"SELECT COUNT(*) FROM List1"_s, {});

    TextExport file(path, TextExport::Encoding::Utf8);
    file.reserve(total * 40 + 4096);
    SealedWriter out(file);
    out.line(kTitle + u',' + kFormat + u',' + kOwner + ownerId + u',' + kMade
             + Clock::now().toString(u"yyyy-MM-dd HH:mm:ss"_s));
    out.line(kColumns);

    QHash<qint64, QString> groups;
    {
        Query q(gUserConn, u"SELECT GNo1, GName1 FROM Group1"_s);
        q.run();
        while (q.next())
            groups.insert(q.integer(u"GNo1"_s), q.text(u"GName1"_s));
    }
    Query memo(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = ?"_s);
    Query received(gUserConn, u"SELECT Date1 FROM Claim1 WHERE BokNo = ?"_s);
    Query games(gUserConn, u"SELECT GNo1, No1, Top1, Kum1 FROM List1 WHERE BokNo = ? ORDER BY SNo1"_s);
    QElapsedTimer shown;
    shown.start();
    qint64 written = 0;
    for (qint64 drawNo : draws) {
        memo.run({drawNo});
        const QString memoText = memo.next() ? memo.text(u"Bigo1"_s) : QString();
        received.run({drawNo});
        const QString receivedOn = received.next() ? received.text(u"Date1"_s) : QString();
        out.line(kDrawKind + u',' + QString::number(drawNo) + u",,,,,"_s + csvField(memoText) + u',' + receivedOn);
        games.run({drawNo});
        QSqlQuery& raw = games.raw();
        const QString head = kGameKind + u',' + QString::number(drawNo) + u',';
        while (raw.next()) {
            const QString top1 = raw.value(2).toString();
            out.line(head + csvField(groups.value(raw.value(0).toLongLong())) + u','
                     + dottedGame(raw.value(1).toString()) + u',' + rankName(top1) + u','
                     + QString::number(raw.value(3).toLongLong()) + u",,"_s);
            ++written;
            if (progress && shown.elapsed() >= 50) {
                shown.restart();
                progress(int(written * 100 / std::max<qint64>(total, 1)));
            }
        }
    }
    file.line(kTotalKind + u',' + QString::number(draws.size()) + u',' + QString::number(written) + u',' + out.seal());
    outcome.draws = qint64(draws.size());
    outcome.games = written;
    outcome.ok = file.save();
    outcome.error = file.error();
    return outcome;
}

RestoreOutcome Restore(const QString& path, const QString& ownerId, const ProgressCallback& progress)
{
    RestoreOutcome outcome;
    auto read = parse(path, ownerId);
    if (auto* error = std::get_if<QString>(&read)) {
        outcome.error = *error;
        return outcome;
    }
    const Parsed& parsed = std::get<Parsed>(read);

    Transaction transaction(gUserConn);
    // Groups by name, as saving games finds them; new ones get the next numbers.
    std::vector<qint64> groupNo(size_t(parsed.groups.size()), 0);
    qint64 nextGroup = scalar(u"SELECT MAX(GNo1) FROM Group1"_s, {});
    for (qsizetype i = 0; i < parsed.groups.size(); ++i) {
        const QString& name = parsed.groups[i];
        if (name.isEmpty())
            continue; // a game kept without a group stays without one
        qint64 number = SafeStore::GroupNumber(name);
        if (number == 0) {
            number = ++nextGroup;
            Execute(gUserConn, u"INSERT INTO Group1 (GNo1,GName1) VALUES (?,?)"_s, {number, name});
        }
        groupNo[size_t(i)] = number;
    }

    Query bok(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = ?"_s);
    Query held(gUserConn, u"SELECT No1, COUNT(*) AS n FROM List1 WHERE BokNo = ? GROUP BY No1"_s);
    // Many rows per statement: a million games are mostly the cost of running statements one by one.
    constexpr int kBatch = 100;
    const QString insertHead = u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES "_s;
    QStringList placeholders;
    for (int i = 0; i < kBatch; ++i)
        placeholders.append(u"(?,?,?,?,?,?)"_s);
    Query insertMany(gUserConn, insertHead + placeholders.join(u','));
    Query insertOne(gUserConn, insertHead + placeholders.first());
    QVariantList batch;
    batch.reserve(kBatch * 6);
    const auto flush = [&] {
        if (batch.size() == kBatch * 6) {
            insertMany.run(batch);
        } else {
            for (qsizetype i = 0; i < batch.size(); i += 6)
                insertOne.run(batch.mid(i, 6));
        }
        batch.clear();
    };
    const qint64 total = qint64(parsed.games.size());
    qint64 done = 0;
    QElapsedTimer shown;
    shown.start();
    for (const Draw& draw : parsed.draws) {
        bok.run({draw.drawNo});
        if (!bok.next()) {
            Execute(gUserConn,
                    u"INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (?,0,?,'0')"_s,
                    {draw.drawNo, draw.memo});
        } else if (bok.text(u"Bigo1"_s).isEmpty() && !draw.memo.isEmpty()) {
            Execute(gUserConn, u"UPDATE Bok1 SET Bigo1 = ? WHERE BokNo = ?"_s, {draw.memo, draw.drawNo});
        }
        if (!draw.received.isEmpty() && scalar(u"SELECT COUNT(*) FROM Claim1 WHERE BokNo = ?"_s, {draw.drawNo}) == 0)
            Execute(gUserConn, u"INSERT INTO Claim1 (BokNo,Date1) VALUES (?,?)"_s, {draw.drawNo, draw.received});

        // The safe's games of this draw, as many of each as it holds: a game is skipped while the safe
        // still has an unmatched copy of it.
        QHash<qint64, qint64> have;
        held.run({draw.drawNo});
        while (held.next()) {
            const QString no1 = held.text(u"No1"_s);
            bool ok = false;
            const qint64 digits = no1.size() == 12 ? no1.toLongLong(&ok) : 0;
            if (ok)
                have.insert(digits, held.integer(u"n"_s));
        }
        qint64 serial = scalar(u"SELECT MAX(SNo1) FROM List1 WHERE BokNo = ?"_s, {draw.drawNo});
        qint64 added = 0;
        bool pending = false;
        for (qint64 index : draw.games) {
            const Game& g = parsed.games[size_t(index)];
            ++done;
            if (auto it = have.find(g.digits); it != have.end() && *it > 0) {
                --*it;
                ++outcome.skipped;
                continue;
            }
            batch << draw.drawNo << groupNo[size_t(g.group)] << gameText(g.digits) << QString(QChar(char16_t(g.top1)))
                  << g.kum1 << ++serial;
            if (batch.size() == kBatch * 6)
                flush();
            pending = pending || g.top1 == '9';
            ++added;
            if (progress && shown.elapsed() >= 50) {
                shown.restart();
                progress(int(done * 100 / std::max<qint64>(total, 1)));
            }
        }
        flush();
        if (added > 0) {
            // Restored games still waiting for their rank get it from the safe's next pass.
            Execute(gUserConn,
                    pending ? u"UPDATE Bok1 SET Count1 = Count1 + ?, Tag1 = '0' WHERE BokNo = ?"_s
                            : u"UPDATE Bok1 SET Count1 = Count1 + ? WHERE BokNo = ?"_s,
                    {added, draw.drawNo});
        }
        outcome.added += added;
    }
    transaction.commit();
    outcome.ok = true;
    outcome.draws = qint64(parsed.draws.size());
    return outcome;
}

QString BackupMessage(const BackupOutcome& outcome)
{
    if (!outcome.ok)
        return u"금고를 백업하지 못하였습니다.\n\n"_s + outcome.error;
    return u"복권금고를 백업하였습니다: "_s + QString::number(outcome.draws) + u"개 회차, "_s + Grouped(outcome.games)
        + u"게임\n\n"_s + outcome.path;
}

QString RestoreMessage(const RestoreOutcome& outcome)
{
    if (!outcome.ok)
        return outcome.error;
    return u"복권금고를 복원하였습니다. "_s + QString::number(outcome.draws) + u"개 회차에서 "_s
        + Grouped(outcome.added) + u"게임을 더했고, 이미 있던 "_s + Grouped(outcome.skipped)
        + u"게임은 건너뛰었습니다."_s;
}

} // namespace SafeBackup
