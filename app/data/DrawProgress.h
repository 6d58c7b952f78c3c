#pragma once

#include <QString>

// The server's draw-progress text ("업데이트" / "추첨진행"). Its fields sit at fixed places: the last drawn
// draw at characters 3–6, the draw on sale at characters 17–20, the draws change stamp at bytes 31–40
// and the files change stamp at bytes 42–51 of its CP949 form. A stamp is "YYYYMMDD" and two more
// digits, compared as text.
struct DrawProgress
{
    qint64 lastDrawNo = 0;
    qint64 currentDrawNo = 0;
    QString drawsStamp;
    QString filesStamp;

    static DrawProgress parse(const QString& text);
    // The text as the service words it, with every field in its place.
    QString compose() const;
};
