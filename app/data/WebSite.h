#pragma once

#include <QString>

// The service's web site, from the install's WEB setting: an address such as "http://www.example.com",
// or a folder of pages inside the install (the demo ships one so that it runs offline).
namespace WebSite {

// The address of a page of the site; an empty path is the site's root.
QString address(const QString& path = QString());
// The host name as the windows show it ("홈(" + host + ") 열기").
QString hostName();

// An address that came from the server (the closed-service notice, the ticker, the notice list), as it
// may be opened: only http and https, a bare host getting "http://" in front. Every install can write
// those rows through the shared account, so anything else (a local file, a program, another scheme) is
// refused: empty.
QString ServerAddress(const QString& text);

// Opens such an address in the browser. A refused one is not opened, and the member is told once per
// address and run.
void OpenServerAddress(const QString& text);

// Whether the embedded web view may show an address: pages from the net, and the install's own folder
// of pages; nothing else of the local disk.
bool ViewAllowed(const QString& address);

} // namespace WebSite
