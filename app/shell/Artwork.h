#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures, drawn rather than shipped: the login banner and the toolbar icons.
namespace Artwork {

QPixmap loginBanner(const QSize& size);
// "로또게임", "복권금고", "홈페이지", "설정", "종료", "복권쿠폰", "도움말".
QIcon functionIcon(const QString& function);
// The program's own icon (three lotto balls, as the lotto game's), size × size pixels: the windows' icon
// and the desktop's.
QImage programIcon(int size);
// A lotto ball in the colour the draws use for its number.
QPixmap ball(int number, int diameter);
QColor ballColour(int number);

} // namespace Artwork
