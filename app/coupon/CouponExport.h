#pragma once

#include "CouponStore.h"

class TextExport;

// A coupon's games as a text file for Notepad: the draw and headline, a frame of 54 "=", a heading, and
// one line per game: its numbers (17), its rank (five columns: "5등  " or blanks) and, once issued, the
// issue time and issue number.
namespace CouponExport {

inline const QString kFilePrefix = QStringLiteral("복권쿠폰_");
inline const QString kNothingToExport = QStringLiteral("텍스트화일 저장할 복권이 없습니다.");

QString Line(qint64 drawNo, const CouponStore::Game& game);
void Write(TextExport& file, qint64 drawNo, const QString& headline, const std::vector<CouponStore::Game>& games);
// DATA/복권쿠폰_YYYYMMDD_HHmmss.TXT with the games the list shows, opened in the text editor; a file of
// the same name is replaced. False when it could not be written (the user has been told).
bool ExportCoupon(qint64 drawNo, const QString& headline, CouponStore::Filter filter, CouponStore::Order order);

} // namespace CouponExport
