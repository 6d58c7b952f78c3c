#include "MemberCheck.h"

#include "ProtocolStatement.h"
#include "Query.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <array>

using namespace Qt::StringLiterals;

namespace MemberCheck {

namespace {

const QString kScheme = u"pbkdf2-sha256"_s;
// Enough to make a stolen file slow to try passwords against, little enough for a login to stay instant.
constexpr int kIterations = 60000;
constexpr int kKeyBytes = 32;

QByteArray pbkdf2(const QByteArray& password, const QByteArray& salt, int iterations)
{
    // One block of PBKDF2 with HMAC-SHA256 gives exactly the 32 bytes kept.
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt);
    mac.addData(QByteArray::fromHex("00000001"));
    QByteArray u = mac.result();
    QByteArray t = u;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int k = 0; k < t.size(); ++k)
            t[k] = char(t[k] ^ u[k]);
    }
    return t.left(kKeyBytes);
}

// Compares without stopping at the first difference.
bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

Member memberOf(const Query& row)
{
    return {row.text(u"ID1"_s),
            row.text(u"Name1"_s),
            row.text(u"JuminNo1"_s),
            row.text(u"Email1"_s),
            row.text(u"Level1"_s),
            row.text(u"State1"_s)};
}

} // namespace

QString HashPassword(const QString& password)
{
    std::array<quint32, 4> salt {};
    QRandomGenerator::system()->fillRange(salt.data(), salt.size());
    const QByteArray saltBytes(reinterpret_cast<const char*>(salt.data()), qsizetype(sizeof salt));
    return kScheme + u'$' + QString::number(kIterations) + u'$' + QString::fromLatin1(saltBytes.toBase64()) + u'$'
        + QString::fromLatin1(pbkdf2(password.toUtf8(), saltBytes, kIterations).toBase64());
}

bool IsHashed(const QString& stored) { return stored.startsWith(kScheme + u'$'); }

bool PasswordMatches(const QString& stored, const QString& password)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1 || iterations > 10'000'000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    return !salt.isEmpty() && sameBytes(pbkdf2(password.toUtf8(), salt, iterations), expected);
}

Result Check(const Connection& server, const QString& id, const QString& password)
{
    Result result;
    if (server.engine() == Connection::Engine::PostgreSQL) {
        const ProtocolStatement check(server, u"SELECT * FROM member_login($1, $2)"_s, {id, password});
        if (check.rows() == 0)
            return result;
        result.found = check.flag(0, u"Found1"_s);
        result.locked = check.flag(0, u"Locked1"_s);
        result.passwordMatches = check.flag(0, u"Match1"_s);
        if (result.passwordMatches) {
            result.member = {check.text(0, u"ID1"_s),
                             check.text(0, u"Name1"_s),
                             check.text(0, u"JuminNo1"_s),
                             check.text(0, u"Email1"_s),
                             check.text(0, u"Level1"_s),
                             check.text(0, u"State1"_s)};
            result.secret = check.text(0, u"Secret1"_s);
        }
        return result;
    }
    Query row(server,
              u"SELECT ID1, Pwd, Name1, JuminNo1, Email1, Level1, State1 FROM Member WHERE LOWER(ID1) = LOWER(?)"_s);
    row.run({id});
    if (!row.next())
        return result;
    result.found = true;
    result.passwordMatches = PasswordMatches(row.text(u"Pwd"_s), password);
    if (result.passwordMatches)
        result.member = memberOf(row);
    return result;
}

} // namespace MemberCheck
