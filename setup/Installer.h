#pragma once

#include <QDate>
#include <QString>

// Lays out an install folder: BIN with the system database, its settings file and the user database
// template, DATA, PR, DOC and TEMP.
namespace Installer {

struct Options
{
    QString root;
    QString server = QStringLiteral("127.0.0.1"); // the server setting (see ServerLocation)
    QString web = QStringLiteral("http://www.suriball.example");
    bool force = false; // replace an existing install's system files; members' files in DATA stay
};

void install(const Options& options);

// An install that runs on this machine alone: an SQLite stand-in server with demo data inside the
// install, and the demo web pages beside it.
void demo(const QString& root, bool force, const QDate& today);

// The demo's server file and web folder, relative to the install root.
inline constexpr char16_t kDemoServer[] = u"sqlite:SERVER/VELTRA1.db";
inline constexpr char16_t kDemoWeb[] = u"WEB";

} // namespace Installer
