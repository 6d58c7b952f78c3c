// The check at opening a local database: a mutated file must be refused, or opened and read, never crash.
#include "Connection.h"
#include "Database.h"
#include "FuzzSupport.h"
#include "Query.h"
#include "SqlError.h"

#include <QFile>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication();
    const QString path = FuzzScratch().filePath(u"fuzz.mdb"_s);
    QFile::remove(path + u"-journal"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(FuzzBytes(data, size));
    file.close();
    try {
        const Connection user = OpenUserDatabase(path);
        Query games(user, u"SELECT COUNT(*) AS n, MAX(No1) AS m FROM List1 WHERE BokNo = ?"_s);
        games.run({1201});
        while (games.next())
            (void)games.text(u"m"_s);
        Query draws(user, u"SELECT BokNo, Count1, Bigo1 FROM Bok1 ORDER BY BokNo"_s);
        draws.run();
        while (draws.next())
            (void)draws.text(u"Bigo1"_s);
    } catch (const SqlError&) {
    }
    return 0;
}
