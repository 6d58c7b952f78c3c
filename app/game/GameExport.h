#pragma once

#include "GameRules.h"

#include <vector>

class TextExport;

// The game list as a text file: a frame of "=", a heading, and one numbered line per game
// ("0001 03.11.19.24.38.45", 22 characters).
void WriteGameList(TextExport& file, const std::vector<Game>& games);
