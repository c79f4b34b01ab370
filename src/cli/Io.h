#pragma once
// Standard output and input of mirudex-lookup. Every write to standard output
// is checked, and so is the last flush: a write that fails (a full disk,
// /dev/full) ends the output, and the program then says so on standard error
// and ends with status 2, as grep does.

#include <functional>
#include <string>
#include <string_view>

namespace mirudex::cli {

// Writes bytes to standard output; false once any write has failed (nothing
// more is written then).
bool Put(std::string_view bytes);
// True once a write to standard output has failed.
bool OutputFailed();
// Flushes standard output. When a write or the flush failed: "mirudex-lookup:
// write error: <why>" on standard error and 2; otherwise status.
int FinishOutput(int status);

// Calls each with every line of standard input (its line end, "\n" or "\r\n",
// removed; a last line without one counts too) until it returns false or the
// input ends.
void ForEachInputLine(const std::function<bool(const std::string&)>& each);

}  // namespace mirudex::cli
