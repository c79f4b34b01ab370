#include "ui/common/QuitRequest.h"

#include <QCoreApplication>

namespace mirudex::ui::quit {

namespace {
bool pending = false;
bool mainLoopRunning = false;
int code = 0;
}  // namespace

void Post(int exitCode)
{
    pending = true;
    code = exitCode;
    if (mainLoopRunning)
        QCoreApplication::exit(exitCode);
}

void SetMainLoopRunning(bool running) { mainLoopRunning = running; }

bool Pending() { return pending; }

int Take()
{
    pending = false;
    return code;
}

int Code() { return code; }

void Reset()
{
    pending = false;
    code = 0;
}

}  // namespace mirudex::ui::quit
