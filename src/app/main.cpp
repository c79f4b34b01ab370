// mirudex: the desktop program. Start-up runs in the current directory, where
// Options.mxreg, the debug log and the data files live.
#include <QApplication>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "core/Version.h"
#include "dict/DictionaryStore.h"
#include "platform/qt/QtPlatform.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/DictionaryCommands.h"
#include "ui/app/Program.h"
#include "ui/app/SettingsCommands.h"
#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"
#include "ui/updater/UpdaterWindow.h"

using namespace mirudex;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirudex"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QApplication::setQuitOnLastWindowClosed(false);
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

    int status = 0;
    {
        // The program's shared state lives until the windows are gone.
        dict::DictionaryStore store;
        text::FuzzyRules rules;
        search::AppState state(registry, store, &rules);
        update::UpdateState updates;
        ui::AppStateServices services(state);
        ui::Program program(registry, &services);
        ui::AppPaneFactory panes(state, program.resources(), services);
        program.SetPaneFactory(&panes);
        panes.WireProgram(program, rules);
        program.parts().mainWindowCreated = [&qtPlatform, &state, &program, &panes, &registry,
                                             &updates](ui::MainWindow& window) {
            qtPlatform.SetMainWindow(&window);
            ui::ConnectSettingsCommands(window, state, program.resources(), panes);
            ui::ConnectDictionaryCommands(window, state);
            window.SetCommandHandler(ui::ID_CHECK_UPDATES,
                                     [&registry, &updates, &window] { ui::RunUpdater(registry, updates, &window); });
            qtPlatform.SetStatusSink([&window](int part, const QString& text) { window.SetStatusText(part, text); });
        };
        program.Start();
        program.RunLoop();
        status = program.Shutdown();
        qtPlatform.SetStatusSink(nullptr);
    }
    dlog::Close();
    return status;
}
