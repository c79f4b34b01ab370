#pragma once
// The quit request: what closing the main window posts. It ends the main
// event loop and is seen by the wait loops of the workers' starters, which
// consume it and pass it on so that the program still ends.
//
// Threads: user-interface thread only.

namespace mirudex::ui::quit {

// Posts a quit with this exit code: marks it pending and, while the main
// loop runs, leaves it (and any loop nested in it). Before the main loop
// starts only the mark is set: Qt would otherwise make every later event
// loop (modal dialogs included) return at once.
void Post(int code);
// Told by the main loop when it starts and ends.
void SetMainLoopRunning(bool running);
bool Pending();
// Consumes a pending quit; returns its code.
int Take();
// The code of the last quit posted (0 before any).
int Code();
// Forgets any quit (a new run of the program in the same process, as in tests).
void Reset();

}  // namespace mirudex::ui::quit
