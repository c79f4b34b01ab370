#include "ui/common/Images.h"

#include <QtGlobal>

static void InitMainWindowQrc() { Q_INIT_RESOURCE(mainwindow); }

namespace mirudex::ui {

void InitImageResources()
{
    static const bool done = [] {
        InitMainWindowQrc();
        return true;
    }();
    (void)done;
}

}  // namespace mirudex::ui
