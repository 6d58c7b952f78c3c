// The server's draw-progress text, read from whatever the server holds.
#include "DrawProgress.h"
#include "FuzzSupport.h"
#include "Tools.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    const QString text = QStringDecoder("windows-949").decode(FuzzBytes(data, size));
    const DrawProgress progress = DrawProgress::parse(text);
    // What is composed from parsed fields parses back to the same stamps.
    const DrawProgress again = DrawProgress::parse(progress.compose());
    (void)again;
    (void)ByteLen(text);
    (void)ByteMid(text, 31, 10);
    (void)ByteLeft(text, 51);
    return 0;
}
