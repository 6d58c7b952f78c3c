#pragma once

#include "Connection.h"

// Brings a member's database file of an older layout up to the setup tool's template, in place and in one
// transaction, when the program opens it. The member's own file is the one database the program may
// change the layout of: it travels with the member from install to install, older than the program.
// A file already current costs a few reads and no write. Failures throw SqlError.
void UpgradeUserDatabase(const Connection& connection);
