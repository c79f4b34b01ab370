#pragma once
// The quit request: what closing the main window posts. It ends the main
// event loop and is seen by the wait loops of the workers' starters, which
// consume it and pass it on so that the program still ends.
//
// Threads: user-interface thread only.

namespace mirudex::ui::quit {

// Posts a quit with this exit code: marks it pending and leaves any running event loop.
void Post(int code);
bool Pending();
// Consumes a pending quit; returns its code.
int Take();
// The code of the last quit posted (0 before any).
int Code();
// Forgets any quit (a new run of the program in the same process, as in tests).
void Reset();

}  // namespace mirudex::ui::quit
