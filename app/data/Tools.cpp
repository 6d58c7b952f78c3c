#include "Tools.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

// ICU's "CP949" alias in Qt 6.4 is IBM's variant, which lacks the extended Hangul syllables and even
// some KS X 1001 symbols; "windows-949" is the code page the texts are sized in.
constexpr const char* kCodePage = "windows-949";

bool isAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Byte offsets at which the characters of an encoded CP949 text begin; the last entry is its size.
QList<int> characterStarts(const QByteArray& bytes)
{
    QList<int> starts;
    starts.reserve(bytes.size() + 1);
    int i = 0;
    while (i < bytes.size()) {
        starts.append(i);
        const auto lead = static_cast<unsigned char>(bytes[i]);
        i += (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
    }
    starts.append(int(bytes.size()));
    return starts;
}

// The whole characters lying inside bytes [from, to) of the encoded text.
QString wholeCharacters(const QByteArray& bytes, qsizetype from, qsizetype to)
{
    const QList<int> starts = characterStarts(bytes);
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype k = 0; k + 1 < starts.size(); ++k) {
        if (starts[k] >= from && starts[k + 1] <= to) {
            if (first < 0)
                first = starts[k];
            last = starts[k + 1];
        }
    }
    if (first < 0)
        return QString();
    return FromCp949(bytes.mid(first, last - first));
}

} // namespace

QByteArray ToCp949(const QString& text)
{
    if (isAscii(text))
        return text.toLatin1();
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString FromCp949(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

int ByteLen(const QString& text) { return isAscii(text) ? int(text.size()) : int(ToCp949(text).size()); }

QString ByteLeft(const QString& text, int length)
{
    if (length <= 0)
        return QString();
    if (isAscii(text))
        return text.left(length);
    return wholeCharacters(ToCp949(text), 0, length);
}

QString ByteMid(const QString& text, int start, int length)
{
    if (start < 1 || length <= 0)
        return QString();
    if (isAscii(text))
        return text.mid(start - 1, length);
    const QByteArray bytes = ToCp949(text);
    return wholeCharacters(bytes, start - 1, qMin<qsizetype>(qsizetype(start) - 1 + length, bytes.size()));
}

QString CutAtNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString SqlQuote(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', u'`');
    return quoted;
}

QString DashDate(const QString& eightDigits)
{
    return eightDigits.mid(0, 4) + u'-' + eightDigits.mid(4, 2) + u'-' + eightDigits.mid(6, 2);
}

QString KoreanWeekday(const QDate& date)
{
    static const char16_t* const names[] = {u"월", u"화", u"수", u"목", u"금", u"토", u"일"};
    const int day = date.dayOfWeek(); // 1 = Monday … 7 = Sunday
    return day >= 1 && day <= 7 ? QString::fromUtf16(names[day - 1]) : QString();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString RankOfGame(const QString& drawText, const QString& gameText)
{
    // Only whole two-character pieces take part, so a short or empty text can never match itself.
    auto piece = [](const QString& text, int index) { return text.mid(index * 2, 2); };
    int matches = 0;
    for (int p = 0; p < 6; ++p) {
        const QString number = piece(gameText, p);
        if (number.size() != 2)
            continue;
        for (int q = 0; q < 6; ++q) {
            if (number == piece(drawText, q))
                ++matches;
        }
    }
    switch (matches) {
    case 6:
        return u"1"_s;
    case 5: {
        const QString bonus = piece(drawText, 6);
        for (int p = 0; p < 6 && bonus.size() == 2; ++p) {
            if (piece(gameText, p) == bonus)
                return u"2"_s;
        }
        return u"3"_s;
    }
    case 4:
        return u"4"_s;
    case 3:
        return u"5"_s;
    default:
        return u"0"_s;
    }
}
