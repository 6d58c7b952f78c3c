#pragma once

#include "SafeStore.h"

class TextExport;

// The games of a draw as a text file: the draw, a frame of "=", a heading, and one line per game with
// its numbers (17), its rank field (four columns: "3등 ", " -  " or blanks) and its prize (14).
class SafeExport
{
public:
    SafeExport(TextExport& file, qint64 drawNo);
    void add(const SafeStore::Ticket& ticket);
    void finish();

    static QString Line(const SafeStore::Ticket& ticket);
    // The same line in CP949 bytes, made without a text for the lines of the plain form (twelve characters
    // of numbers, a rank of one character, a prize not below 0); empty for any other.
    static QByteArray PlainLine(const SafeStore::Ticket& ticket);

private:
    TextExport& m_file;
};
