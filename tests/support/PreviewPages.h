#pragma once

#include <QImage>
#include <QList>

class PrintPreview;

// The pages a print preview shows, each as an image of its whole sheet at the preview's own resolution
// (the test printers': 48 dots to the inch), painted from what the preview holds, not painted anew.
QList<QImage> ShownPages(const PrintPreview& preview);

// How many dots are dark on one page and light on the other, over the part both cover. Pages of the same
// content differ by none or a few; a different coupon or ticket by hundreds.
int DarkDifference(const QImage& a, const QImage& b);
// Measured: none at all, the preview replaying the very painting the printer gets.
inline constexpr int kSamePageDots = 0;

// Answers the next print preview once it shows: prints from it or closes it. The pages it showed are put
// in `shown` first, when given.
enum class PreviewAnswer { Print, Close };
void WhenPreviewed(PreviewAnswer answer, QList<QImage>* shown = nullptr);
