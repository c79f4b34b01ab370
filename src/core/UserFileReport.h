#pragma once
// Telling the user that one of their own files was not saved. A failed save
// never changes the file (AtomicFile.h), but the user has to know that the
// changes of this run are not in it, and why: a log line alone is not enough.
//
// Threads: any (the message box goes through the platform layer).

#include <string>
#include <string_view>

namespace mirudex {

// The system's words for an errno value ("No space left on device").
std::string ErrorText(int error);

// Logs "   ERROR: <path> was not saved (<reason>).\n" and shows one message
// box naming what the file holds (for example "your search history"), its
// path and the reason.
void TellNotSaved(std::u16string_view what, std::string_view path, std::string_view reason);

}  // namespace mirudex
