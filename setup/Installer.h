#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// Lays out an install folder: BIN with the system database, its settings file and the user database
// template, DATA, PR, DOC and TEMP.
namespace Installer {

struct Options
{
    QString root;
    QString server = QStringLiteral("127.0.0.1"); // the server setting (see ServerLocation)
    QString web = QStringLiteral("http://www.suriball.example");
    bool force = false; // replace an existing install's system files; members' files in DATA stay
    // The service's public key file for update signatures, copied to BIN/UPDATE.KEY. Without one the
    // install takes no updates.
    QString updateKey;
    // The service's certificate authority (PEM), copied to BIN/SERVERCA.PEM and named by SERVERCA=: a
    // PostgreSQL server is trusted only with a certificate from it for its host.
    QString serverCa;
    // A standby server (DATABASE2=), the same form as server.
    QString standby;
};

// Where an install keeps the service's certificate authority, relative to its root.
inline constexpr char16_t kServerCaFile[] = u"BIN/SERVERCA.PEM";

// Lays out the install. When the server can be reached its files stamp is taken over, so that the first
// start does not ask for an update at once.
void install(const Options& options);

// Points an existing install at a PostgreSQL server (DATABASE=) whose certificate comes from the authority in
// caFile, which is copied into the install (SERVERCA=). Throws SetupError.
void UseServer(const QString& serverSetting, const QString& caFile);

// Every file below from copied to the same place below to (folders made, files replaced). Throws
// SetupError.
void CopyFiles(const QString& from, const QString& to);

// Copies the server's files stamp (from its draw-progress text) into the install, from the server its
// settings name. False when the server or its text cannot be read; the install is then left as it was.
bool adoptServerFilesStamp();

// An install that runs on this machine alone: an SQLite stand-in server with demo data inside the
// install, and the demo web pages beside it.
void demo(const QString& root, bool force, const QDate& today);

// Copies the two programs into the install root, where the main program starts the updater and the
// updater can replace the main program like any other file: the install keeps copies of its own, so the
// updater never writes over files a package manager owns. The programs are taken from beside the setup
// tool (a package) or from the build tree (app/, updater/ beside the tool's folder). Returns the programs
// that were found in neither.
QStringList installPrograms(const QString& setupToolDir);

// The demo's server file and web folder, relative to the install root. The demo's private key for
// update signatures lies beside its server file (see Publisher::KeyBesideServer).
// The demo shop's own database, DATA/id_shop7.mdb, made from the template and stamped with its owner as
// its first login would, holding its coupons. A file already there is the member's and stays as it is.
void demoShop();

// The demo's server file and web folder, relative to the install root.
inline constexpr char16_t kDemoServer[] = u"sqlite:SERVER/VELTRA1.db";
inline constexpr char16_t kDemoWeb[] = u"WEB";

} // namespace Installer
