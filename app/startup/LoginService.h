#pragma once

#include <QString>

// The login of a member or of the guest "손님", without the form: the service state, the member row, the
// member's own database file and its owner, the login time on the server, and the remembered ID.
// Messages go through the message service; a closed service and an unreachable server end the program.
class LoginService
{
public:
    enum class Outcome { LoggedIn, Refused };
    enum class Focus { None, Id, Password };

    struct Result
    {
        Outcome outcome = Outcome::Refused;
        Focus focus = Focus::None;
    };

    // id and password as typed; the form shows the cleaned ID afterwards (CleanId).
    Result login(const QString& id, const QString& password, bool rememberId);

    static QString CleanId(const QString& typed) { return typed.trimmed().toLower(); }
    static bool IsGuest(const QString& id);

    // The address the sign-up and password links open.
    static QString RegisterAddress();

private:
    Result refuse(Focus focus, const QString& message, bool error = true);
    bool prepareUserDb(); // false: refused, the message already shown
};
