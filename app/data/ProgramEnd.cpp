#include "ProgramEnd.h"

#include <QSqlDatabase>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {
EndProgramHandler& handlerSlot()
{
    static EndProgramHandler handler;
    return handler;
}
} // namespace

void EndProgram(int exitCode)
{
    if (const EndProgramHandler& handler = handlerSlot())
        handler(exitCode);
    // Close the databases so that SQLite finishes its journal cleanly, then stop at once: no window
    // gets a chance to ask anything more.
    for (const QString& name : QSqlDatabase::connectionNames())
        QSqlDatabase::database(name, false).close();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

EndProgramHandler SetEndProgramHandler(EndProgramHandler handler)
{
    EndProgramHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}
