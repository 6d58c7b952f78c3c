#pragma once

#include <QString>

#include <array>
#include <optional>

// The sales projection of a network of agents and shops: five figures typed in, eight worked out.
namespace SalesCalc {

inline constexpr int kRows = 13;
inline constexpr int kInputs = 5;

struct Item
{
    QString item;
    QString note;
};
// Row 1 … 13.
const std::array<Item, kRows + 1>& Items();

using Values = std::array<double, kRows + 1>; // index 1..13

// Rows 6 to 13 from rows 1 to 5. A division by no shops (row 4 = 0) gives 0, not infinity.
Values Calculate(const Values& values);

// A value cell's text as a number: blank is 0, thousands commas are allowed; nothing when it is no
// finite number.
std::optional<double> ReadValue(const QString& text);
// The number as the cell shows it: plain digits, a fraction only when there is one.
QString ValueText(double value);

} // namespace SalesCalc
