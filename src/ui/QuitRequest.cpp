#include "ui/QuitRequest.h"

#include <QCoreApplication>

namespace mirudex::ui::quit {

namespace {
bool pending = false;
int code = 0;
}  // namespace

void Post(int exitCode)
{
    pending = true;
    code = exitCode;
    QCoreApplication::exit(exitCode);
}

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
