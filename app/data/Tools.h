#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// Text in this program is measured in bytes of its CP949 form: a Hangul syllable takes two bytes, an
// ASCII character one, and a character CP949 cannot hold becomes "?" (one byte), as the code-page
// conversion of the desktop would make it.
QByteArray ToCp949(const QString& text);
QString FromCp949(const QByteArray& bytes);

int ByteLen(const QString& text);
// Cuts never leave half a character behind: a two-byte character that the cut would split is dropped.
// The characters kept are the text's own, also those the code page cannot hold (counted as "?").
QString ByteLeft(const QString& text, int length);
QString ByteMid(const QString& text, int start, int length);

QString CutAtNul(const QString& text);
// Every ' becomes a backquote: the stored text carries the backquote, so this stays even though every
// value reaches SQL as a bound parameter.
QString SqlQuote(const QString& text);
// "YYYYMMDD" → "YYYY-MM-DD".
QString DashDate(const QString& eightDigits);
QString KoreanWeekday(const QDate& date);
bool FileExists(const QString& path);

// A number as the boxes take it: digits of any width (a Korean input method types full-width ones),
// blanks around and thousands commas allowed, a fraction too; nothing when the text is no number.
std::optional<double> NumericValue(const QString& text);
// Halves to even, as every rounding of the program ("2.5" → 2, "3.5" → 4).
qint64 RoundHalfEven(double value);
// The number of a box taken as a whole number: NumericValue rounded halves to even.
std::optional<qint64> WholeNumberOf(const QString& text);
