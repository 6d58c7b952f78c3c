#pragma once

#include <QString>

// The IFO files: INI text in CP949 beside the databases, which a person or the setup tool may edit.
// Keys are never created here except by a write; a missing one reads as empty.

// file: empty or "시스템" for BIN/SYSTEM.IFO, "광고" for PR/PR.IFO, anything else a path.
QString ReadIfo(const QString& file, const QString& section, const QString& key);
void WriteIfo(const QString& file, const QString& section, const QString& key, const QString& value);
QString IfoPath(const QString& file);

// The install's own settings, kept in SYSTEM.IFO so that the setup tool and a person can change them.
inline constexpr char16_t kInstallSection[] = u"SERVER";
inline constexpr char16_t kServerKey[] = u"DATABASE"; // see ServerLocation
inline constexpr char16_t kStandbyKey[] = u"DATABASE2"; // a standby server, the same form
// The service's certificate authority (a PEM file), relative to the install root: the server's certificate
// must come from it and name the server's host.
inline constexpr char16_t kServerCaKey[] = u"SERVERCA";
// How long a connection attempt may wait for the server, in seconds (2–60, 10 when absent): a slow link
// wants more, a test of a silent server less.
inline constexpr char16_t kConnectTimeoutKey[] = u"TIMEOUT";
inline constexpr char16_t kWebKey[] = u"WEB"; // the web site: "http://host" or a folder of pages
QString ServerSetting();
QString StandbySetting();
QString ServerCaSetting();
int ConnectTimeoutSetting();
QString WebSiteSetting();
