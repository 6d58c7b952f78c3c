#pragma once

#include <QString>

// Where a file offered by the server goes. The server names targets as Windows paths under the install
// folder the service has always used, "C:\VELTRA\수리볼\…". Here that prefix stands for this install's
// root, whatever its case and slashes, and the rest is matched without regard to case against what is
// on disk, as Windows matches it: "bin\system.mdb" is BIN/SYSTEM.mdb, not a second file beside it.
namespace UpdateTargets {

inline constexpr char16_t kWindowsRoot[] = u"C:\\VELTRA\\수리볼\\";

// The part of a server path below the install folder, with "/" between its parts; empty when the path
// lies elsewhere, climbs out ("..") or names no file.
QString RelativePart(const QString& windowsPath);

// A path given to the setup tool, either in the server's form or relative to the install, in the
// server's form; empty when it would leave the install.
QString WindowsPath(const QString& given);

// A file name as the server may give one: no slashes, no "..", no control characters, not empty.
bool NameAcceptable(const QString& name);

struct Resolved
{
    QString path; // absolute; empty when refused
    bool exists = false;
    QString refusal; // why, when refused
};

// The file on disk that a server path replaces or creates under root. Refused when it lies outside the
// root, when a link on the way leads out of it, or when it names a folder.
Resolved Resolve(const QString& windowsPath, const QString& root);

} // namespace UpdateTargets
