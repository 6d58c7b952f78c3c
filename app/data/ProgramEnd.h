#pragma once

#include <functional>

// "Ending the program" is an immediate stop without further questions. It goes through one place so
// that tests can observe it: a test installs a handler that throws instead of leaving the process.
using EndProgramHandler = std::function<void(int exitCode)>;

[[noreturn]] void EndProgram(int exitCode = 0);

// Returns the previous handler. An empty handler restores the real stop.
EndProgramHandler SetEndProgramHandler(EndProgramHandler handler);
