#include "PrintFont.h"

using namespace Qt::StringLiterals;

QFont PrintFont(int points, bool bold)
{
    QFont font(u"NanumGothicCoding"_s);
    font.setStyleHint(QFont::TypeWriter);
    // Point sizes would be converted at the device's resolution and then scaled once more by the twips
    // transform; a size in the painter's own units is scaled once.
    font.setPixelSize(points * 20);
    font.setBold(bold);
    // Hinting at one resolution would make the preview and the paper break lines differently.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
