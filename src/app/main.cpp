// mirudex: the desktop program. Start-up runs in the working folder (made the
// current directory before anything else), where Options.mxreg, the debug log
// and the data files live. One runs per user: a later start hands its command
// line to the running one and ends.
#include "app/DesktopMain.h"

int main(int argc, char** argv) { return mirudex::RunDesktopProgram(argc, argv); }
