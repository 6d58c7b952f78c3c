#pragma once

#include "Connection.h"

#include <QString>

// The member's session on the PostgreSQL server. Every install logs in with the one shared account, so
// the server cannot tell members apart by their login: a right password given to member_login makes a
// session secret, of which the server keeps only a hash, and binds the backend that asked to it. Every
// later connection presents the secret (ConnectServer does it), and the server's row-level rules let
// each backend touch what its member may. The secret lives in this process only (gSessionSecret) and
// travels as a protocol parameter, never in a statement's text. The SQLite stand-in has no sessions.
namespace ServerSession {

// What the server answered to a secret presented on a connection.
enum class Presented {
    Bound, // the connection now acts for the member
    Expired, // the secret's twelve hours are over
    Refused // unknown to the server (restarted, or never made), malformed, or another member's
};

// Presents gSessionSecret on a new PostgreSQL connection for gUserID. Nothing without a secret.
// Throws SqlError when the server cannot be asked.
Presented Present(const Connection& server);

// The member the connection acts for on the server, or empty (no session, an expired one, the stand-in).
QString MemberOf(const Connection& server);

// Before a write the server checks against the member: the connection must act for gUserID. A dropped
// connection is opened again (and presents the secret); a session the server no longer honours asks for
// the member's password again and logs in anew on the same connection. Nothing on the stand-in. Throws
// SqlError with the reason in Korean when the session cannot be had (the password refused or not given).
void Require(Connection& server);

// The refusal after five wrong passwords from one address.
QString LockedOutText();

} // namespace ServerSession
