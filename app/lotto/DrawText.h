#pragma once

#include <QString>

// A draw's result as every part of the program keeps it: six numbers and the bonus, two digits each, the
// bonus last ("01020416203245"). The safe, the win notice, the coupons and the back office rank games
// only against a text this rule accepts; any other text has no rank to give.
namespace DrawText {

// The text of a draw whose numbers are not known yet.
inline constexpr char16_t kNoNumbersYet[] = u"00000000000000";

// Fourteen digits: six different numbers from 1 to 45, then a bonus from 1 to 45 that is none of them.
bool IsResult(const QString& drawText);
// Why the text is no result, in Korean for the person who typed it; empty when it is one.
QString Problem(const QString& drawText);

} // namespace DrawText
