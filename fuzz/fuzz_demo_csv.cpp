// The demo's draws file: damaged text is refused with the setup tool's error, never read half.
#include "DemoData.h"
#include "FuzzSupport.h"
#include "SetupError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    try {
        const std::vector<DemoData::Draw> draws = DemoData::ParseDraws(FuzzBytes(data, size));
        for (const DemoData::Draw& draw : draws)
            (void)draw.drawText();
    } catch (const SetupError&) {
    }
    return 0;
}
