// The INI reader: any file must load or be refused, any key must read, and a write must keep a file the
// reader can read back with the value written.
#include "FuzzSupport.h"
#include "IniFile.h"

#include <QFile>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    const QString path = FuzzScratch().filePath(u"fuzz.ifo"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(FuzzBytes(data, size));
    file.close();

    IniFile ini(path);
    if (!ini.load())
        return 0;
    for (const QString& section : {u"SYSTEM"_s, u"server"_s, u""_s, u"수리볼"_s})
        (void)ini.value(section, u"DATABASE"_s);
    if (ini.setValue(u"SYSTEM"_s, u"LASTLOGINID"_s, u"player"_s)) {
        IniFile again(path);
        if (!again.load() || again.value(u"system"_s, u"lastloginid"_s) != u"player"_s)
            __builtin_trap();
    }
    return 0;
}
