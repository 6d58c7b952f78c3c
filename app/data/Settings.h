#pragma once

#include <QString>

// Local settings (rows of the system database's Info1), the server's information texts, and the IFO
// files. Rows and keys are never created here: they come with the install, and a missing one is
// reported each time it is asked for.
QString ReadInfo(const QString& section, const QString& name);
void WriteInfo(const QString& section, const QString& name, const QString& value);
// Opens a fresh server connection on every call.
QString ReadServerInfo(const QString& part, const QString& name);

// file: empty or "시스템" for BIN/SYSTEM.IFO, "광고" for PR/PR.IFO, anything else a path.
QString ReadIfo(const QString& file, const QString& section, const QString& key);
void WriteIfo(const QString& file, const QString& section, const QString& key, const QString& value);
QString IfoPath(const QString& file);

// The install's own settings, kept in SYSTEM.IFO so that the setup tool and a person can change them.
inline constexpr char16_t kInstallSection[] = u"SERVER";
inline constexpr char16_t kServerKey[] = u"DATABASE"; // see ServerLocation
inline constexpr char16_t kWebKey[] = u"WEB"; // the web site: "http://host" or a folder of pages
QString ServerSetting();
QString WebSiteSetting();
