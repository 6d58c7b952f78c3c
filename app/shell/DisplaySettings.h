#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The six numbers that size the other windows: their settings rows (section "화면구성"), the choices the
// settings window offers, what the windows can use, and the process-wide number each is held in.
struct DisplaySetting
{
    QString group; // "로또게임", "복권금고", "복권발행"
    QString label; // "게임 횟수:"
    QString combo; // control name in the settings window
    QString name; // settings row, e.g. "로또게임:게임 횟수"
    QStringList choices;
    int minimum;
    int maximum;
    int fallback; // used when the row is missing or damaged
    int* value; // gGameCount, …
};

namespace DisplaySettings {

inline const QString kSection = QStringLiteral("화면구성");

const std::vector<DisplaySetting>& all();

// Reads the six rows into their numbers. A missing or damaged row gives the settings warning and the
// fallback.
void Load();

// A typed value as a number the windows can use, or nothing.
std::optional<int> Parse(const DisplaySetting& setting, const QString& text);
QString RangeMessage(const DisplaySetting& setting);

// Writes every number in one transaction, then uses them. Throws SqlError, changing nothing.
void Save(const std::vector<int>& values);

// The main window's saved height in twips, raised to at least 11000.
double MainHeightTwips();
void SaveMainHeightTwips(double twips);

// The help window's place in twips (600, 600, 9000 × 7500 where a row is missing or not a number), and
// its saving, the four rows in one transaction.
QRect HelpPlaceTwips();
void SaveHelpPlaceTwips(const QRect& place);

} // namespace DisplaySettings
