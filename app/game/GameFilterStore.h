#pragma once

#include "Connection.h"
#include "GameFilter.h"

// The member's number filters, kept in the member's own database (Filter1: one row a setting, named by
// its caption) so that the game window opens with them at the next start.
namespace GameFilterStore {

struct Kept
{
    GameFilter::Settings settings;
    int pastDraws = 100; // the draws the pass count looks back on; 0 for all
};

// What the file keeps; the defaults for what it does not, and each value held to its control's range.
Kept Load(const Connection& connection);
// Replaces what the file keeps, in one transaction. Throws SqlError, leaving the file as it was.
void Save(const Connection& connection, const Kept& kept);

} // namespace GameFilterStore
