#pragma once

#include "Connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// A statement on a PostgreSQL connection whose values travel beside its text, as parameters of the
// protocol, and never inside it. Qt's driver writes bound values into the text it sends ("EXECUTE …
// ('chief', '…')"), which the server shows to every connection that may watch running statements and
// writes into its log when the statement fails; passwords and session secrets go this way instead. It
// runs on the connection's own handle, so it belongs to the same backend and transaction as the
// connection's other statements. Throws SqlError.
class ProtocolStatement
{
public:
    // How the result comes back: as text, or as the server keeps it (a bytea as its bytes, not as hex).
    enum class Results { Text, Binary };
    // sql with $1, $2, … for the values, which are sent as text. Binary results read as QByteArray.
    ProtocolStatement(const Connection& connection,
                      const QString& sql,
                      const QStringList& values,
                      Results results = Results::Text);

    int rows() const { return int(m_rows.size()); }
    // A null value reads as an invalid QVariant; "t"/"f" are PostgreSQL's booleans as text.
    QVariant value(int row, const QString& column) const;
    QString text(int row, const QString& column) const { return value(row, column).toString(); }
    bool flag(int row, const QString& column) const { return text(row, column) == QStringLiteral("t"); }

private:
    QStringList m_columns; // in lower case, as the server names them
    std::vector<QVariantList> m_rows;
};

// The server's stored form of a password for a role (SCRAM-SHA-256), made here with libpq: a statement
// that sets a role's password carries this, never the password. Throws SqlError.
QString ScramVerifier(const Connection& connection, const QString& role, const QString& password);
