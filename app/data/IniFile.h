#pragma once

#include <QString>
#include <QStringList>

// A settings file in the INI text format, read and written the way the desktop's profile functions do:
// sections and keys are found without regard to case, a write changes or adds one line and leaves the
// rest of the file as it was. Files are CP949 text; a file saved as UTF-8 (with or without its mark) is
// read as such and written back the same way.
class IniFile
{
public:
    explicit IniFile(QString path);

    // False when the file is missing or cannot be read; an empty file loads as empty.
    bool load();
    // The value after the "=", with only the line end removed; null when the section or key is missing.
    QString value(const QString& section, const QString& key) const;
    // Changes or adds the key and writes the whole file at once. False when the section or key cannot be
    // written in this format, or the file cannot be saved.
    bool setValue(const QString& section, const QString& key, const QString& value);

    const QString& path() const { return m_path; }

private:
    struct Found
    {
        qsizetype sectionLine = -1; // the "[section]" line
        qsizetype lastLine = -1; // the last non-blank line belonging to the section
        qsizetype keyLine = -1;
    };
    Found find(const QString& section, const QString& key) const;
    bool save() const;

    QString m_path;
    QStringList m_lines;
    QString m_lineEnd = QStringLiteral("\r\n");
    bool m_utf8 = false;
    bool m_utf8Mark = false;
    bool m_unreadable = false; // present but not readable: never overwrite it
};
