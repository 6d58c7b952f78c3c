#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files for the user: CP949, every line ended by CR LF, under DATA, named after the function and
// the time ("로또게임_20251208_101500.TXT"). The file appears whole or not at all. Files meant to be read
// back by the program (the safe's backup) are UTF-8 with a byte order mark instead, so that no typed
// character is lost and spreadsheets still recognise the encoding.
class TextExport
{
public:
    enum class Encoding { Cp949, Utf8 };

    // DATA/prefix + "YYYYMMDD_HHmmss" + extension, from the program's clock.
    static QString PathFor(const QString& prefix, const QString& extension = QStringLiteral(".TXT"));

    explicit TextExport(QString path, Encoding encoding = Encoding::Cp949);
    void reserve(qsizetype bytes) { m_bytes.reserve(bytes); }
    void line(const QString& text);
    // A line already in the file's encoding (the bytes of a line made in bulk).
    void encodedLine(QByteArrayView bytes);
    Encoding encoding() const { return m_encoding; }
    // Writes the file (replacing one of the same name); false with the reason in error().
    bool save();
    // Saves and opens the file in the text editor; a failure is shown to the user instead.
    bool publish();
    QString error() const { return m_error; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
    Encoding m_encoding;
    QByteArray m_bytes;
    QString m_error;
};

// Pads on the left with blanks to a width in characters, as the export columns are laid out.
QString PadLeft(const QString& text, int width);
// A whole number with thousands separators ("1,234,500").
QString Grouped(qint64 value);
