#pragma once

#include <QString>

// The service's web site, from the install's WEB setting: an address such as "http://www.example.com",
// or a folder of pages inside the install (the demo ships one so that it runs offline).
namespace WebSite {

// The address of a page of the site; an empty path is the site's root.
QString address(const QString& path = QString());
// The host name as the windows show it ("홈(" + host + ") 열기").
QString hostName();

} // namespace WebSite
