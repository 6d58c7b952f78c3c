// The count box of the lotto game window reads whatever is typed.
#include "FuzzSupport.h"
#include "GameRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    const GameRules::Count count = GameRules::ReadCount(QString::fromUtf8(FuzzBytes(data, size)));
    // Whatever was typed, the box shows a number again afterwards.
    if (count.value && count.text.isEmpty())
        __builtin_trap();
    (void)GameRules::CountAllowed(count.value.value_or(5), true);
    return 0;
}
