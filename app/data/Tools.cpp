#include "Tools.h"

#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <limits>

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

// Bytes a character takes in CP949: one for ASCII and for what the code page cannot hold (it becomes
// "?"), two for the rest. Hangul syllables are all in the Windows code page; other characters are
// asked of the code page once and remembered.
int cp949Width(char32_t c)
{
    if (c < 0x80)
        return 1;
    if (c >= 0xAC00 && c <= 0xD7A3)
        return 2;
    thread_local QHash<char32_t, int> known;
    const auto found = known.constFind(c);
    if (found != known.constEnd())
        return *found;
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QString::fromUcs4(&c, 1));
    const int width = bytes == "?" ? 1 : int(bytes.size());
    known.insert(c, width);
    return width;
}

// The characters of the text lying wholly inside bytes [from, to) of its CP949 form, as they were
// typed: a cut never leaves half a character, and characters the code page cannot hold are kept.
QString wholeCharacters(const QString& text, qsizetype from, qsizetype to)
{
    qsizetype byte = 0;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
            : char32_t(text.at(i).unicode());
        const qsizetype units = c > 0xFFFF ? 2 : 1;
        const int width = cp949Width(c);
        if (byte >= from && byte + width <= to) {
            if (first < 0)
                first = i;
            last = i + units;
        }
        byte += width;
        if (byte >= to)
            break;
        i += units;
    }
    return first < 0 ? QString() : text.mid(first, last - first);
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
    return wholeCharacters(text, 0, length);
}

QString ByteMid(const QString& text, int start, int length)
{
    if (start < 1 || length <= 0)
        return QString();
    if (isAscii(text))
        return text.mid(start - 1, length);
    return wholeCharacters(text, start - 1, qsizetype(start) - 1 + length);
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

namespace {

// Digits of any width (full-width "１２" included) as ASCII, so that a number typed with a Korean input
// method reads like any other.
QString asciiDigits(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.isDigit())
            out += QChar(u'0' + c.digitValue());
        else if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            out += QChar(c.unicode() - 0xFEE0); // full-width signs and points
        else
            out += c;
    }
    return out;
}

} // namespace

std::optional<double> NumericValue(const QString& text)
{
    QString t = asciiDigits(text).trimmed();
    t.remove(u',');
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

qint64 RoundHalfEven(double value)
{
    if (std::fabs(value) > 9.0e18)
        return value > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return qint64(std::nearbyint(value)); // the default rounding mode rounds halves to even
}

std::optional<qint64> WholeNumberOf(const QString& text)
{
    const std::optional<double> value = NumericValue(text);
    if (!value)
        return std::nullopt;
    return RoundHalfEven(*value);
}
