#pragma once

#include "Connection.h"
#include "Database.h"

#include <QString>
#include <QStringList>

// What the PostgreSQL catalog lets each caller do. Every install logs in as the shared account whose
// password ships in every copy, so that account on its own reads only public rows and asks to log in;
// everything else the database decides per row from the member's session proven at login (see
// ServerSession): row-level security on every table, enforced on the tables' owner too, which is a role
// of its own that cannot log in and bypasses nothing. The publisher, a login of its own that no install
// knows, alone writes the files offered to the updater and the files stamp.
namespace ServerTrust {

inline constexpr char16_t kOwnerRole[] = u"suriball_owner";
inline constexpr char16_t kPublisherRole[] = u"suriball_publisher";
// Counts failed logins from a connection of its own, so that a caller's rollback cannot undo the count.
inline constexpr char16_t kAttemptsRole[] = u"suriball_attempts";

inline constexpr int kSessionHours = 12;
inline constexpr int kFailuresAllowed = 5;
inline constexpr int kLockMinutes = 15;
inline constexpr int kBcryptCost = 10;

// The roles, the rules and the session functions on an open catalog, as the server's administrator (a
// superuser: it sets a per-role setting and revokes on the system's views). Safe to run again on a
// catalog made before: ownership moves to the owner role, earlier rules are replaced. publisherPassword
// empty keeps the publisher's password as it is (none for a new role, which then cannot log in).
// Throws SqlError.
void Apply(const Connection& catalog, const QString& publisherPassword);

// The publisher's own login to the catalog on the server where names (its host, port and authority).
// Throws SqlError.
Connection ConnectAsPublisher(const ServerLocation& where, const QString& password);

// The libraries every login runs (the functions' language and the password hashing) that the server does
// not load when it starts: each new server process, one per member's start, then loads them itself, some
// 13 ms of the server's processor time on the 2-core test machine. NotPreloaded reads the value of
// shared_preload_libraries.
QStringList LoginLibraries();
QStringList NotPreloaded(const QString& sharedPreloadLibraries);
QStringList LibrariesNotPreloaded(const Connection& catalog);

// After Apply committed: the owner's functions reach the server back as the attempts role. Throws
// SqlError when they cannot (the server's client rules must let that role in with its password).
void CheckAttemptsLink(const Connection& catalog);

} // namespace ServerTrust
