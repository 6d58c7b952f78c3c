#pragma once

#include "Connection.h"

#include <QString>

#include <optional>

// The one place where a member's password is checked against the server. Every install connects with
// the same shared account, so that account never reads the passwords or the resident numbers:
// - PostgreSQL: passwords are bcrypt hashes (pgcrypto's crypt), the shared account may not read the
//   Pwd and JuminNo1 columns, and the check runs in the server function member_login (SECURITY DEFINER),
//   which hands the member's own row back only when the password matches, with the secret of the
//   session it opened for the member (see ServerSession). Five wrong passwords from one address lock
//   the ID out from there for a while. ID and password travel as protocol parameters, never in the
//   statement's text.
// - The SQLite stand-in (one machine, the demo): the same rule inside the program: PBKDF2-SHA256 hashes,
//   checked here.
namespace MemberCheck {

struct Member
{
    QString id, name, juminNo, email, level, state;
};

struct Result
{
    bool found = false;
    bool passwordMatches = false;
    bool locked = false; // too many wrong passwords from this address: refused, the right one included
    Member member; // filled only when the password matches
    QString secret; // the session's secret on PostgreSQL, for a member who may log in
};

// id in any letter case; the password as typed (trimmed by the caller). Throws SqlError.
Result Check(const Connection& server, const QString& id, const QString& password);

// The stored form of a password on the SQLite stand-in: "pbkdf2-sha256$iterations$salt$hash" (base64).
QString HashPassword(const QString& password);
bool PasswordMatches(const QString& stored, const QString& password);
bool IsHashed(const QString& stored);

} // namespace MemberCheck
