#pragma once

#include <QFont>

// The fixed-pitch Korean font of printed coupons and tickets, sized for a painter that works in twips
// (as a slot painter does): a point is 20 twips. NanumGothicCoding stands in for 굴림체; its Hangul is two
// columns wide, as the layouts count in CP949 bytes.
QFont PrintFont(int points, bool bold = false);
