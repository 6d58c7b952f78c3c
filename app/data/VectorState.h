#pragma once

// Some library code (Qt's plugin loading, for one) leaves the upper halves of the processor's vector
// registers in use. Until something clears them, every SSE instruction of code built for plain x86-64 —
// SQLite's, and ours — pays a penalty: a pass of SQLite over a million games took half as long again.
// Clearing them costs a cycle; the statement layer does it before it hands work to SQLite. The state is
// each thread's own. Does nothing on other processors.
void ClearVectorState();
