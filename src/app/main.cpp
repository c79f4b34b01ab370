// mirudex: the desktop program. Start-up runs in the current directory, where
// Options.mxreg, the debug log and the data files live.
#include <QApplication>
#include <cstdio>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "core/Version.h"
#include "platform/qt/QtPlatform.h"

using namespace mirudex;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::QtPlatform qtPlatform;

    dlog::Open();
    const std::string stars(20 + std::string(kVersion).size(), '*');
    dlog::Write(u"%S\n", stars);
    dlog::Write(u"***   Mirudex %s   ***\n", kVersionWide);
    dlog::Write(u"%S\n", stars);
    dlog::Write(u"   (Unicode output file)\n");
    dlog::ReadLevel();
    dlog::Write(u"Using debug level %i (Debug range: 0 -- %i)\n", dlog::Level(), dlog::kMaxDebugLevel);
    if (dlog::Level() >= 1) {
        dlog::Write(u"*************************************\n");
        dlog::Write(u"***   L E V E L  %i    D E B U G   ***\n", dlog::Level());
        dlog::Write(u"*************************************\n");
        dlog::Write(u"   (Adds LOTS of print statements)\n");
    }

    Registry registry;
    LoadOptionsAtStartup(registry);
    LogOptionsTree(registry);
    UpgradeOptionsIfOlder(registry);

    // The windows are not part of this build yet: the options are brought up
    // to date and written back, and the program ends.
    std::fprintf(stdout, "Mirudex %s: options loaded from Options.mxreg; the main window is not built yet.\n", kVersion);
    bool saved = registry.Save(kOptionsFileName);
    dlog::Write(saved ? u"Options.mxreg saved successfully.\n" : u"ERROR while saving Options.mxreg.\n");
    dlog::Close();
    return 0;
}
