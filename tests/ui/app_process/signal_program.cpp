// The desktop program as main() builds it, for the signal tests of
// ui_app_tests: once its main loop runs it searches its first argument and
// prints "ready". With "slow" as the second argument the shutdown waits ten
// seconds before it saves the options, so that a second signal can come.
//
// With "--desktop" first, it is the whole desktop program (the real main's
// run, its command line the arguments after "--desktop"); once ready it
// searches the text of MIRUDEX_TEST_STUDY, adds the first result to the
// study list and prints "ready".
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DesktopMain.h"
#include "core/DebugLog.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/qt/QtPlatform.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/Program.h"
#include "ui/app/ShutdownSignals.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"

using namespace mirudex;

namespace {

int RunWholeDesktopProgram(int argc, char** argv)
{
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    DesktopHooks hooks;
    hooks.ready = [](ui::MainWindow& window) {
        QTimer::singleShot(0, &window, [&window] {
            const char* text = std::getenv("MIRUDEX_TEST_STUDY");
            auto* search = window.findChild<ui::SearchWindow*>();
            if (text && search) {
                search->edit()->selectAll();
                search->edit()->ReplaceSelection(QString::fromUtf8(text));
                search->OnCommand(ui::ID_SEARCH_GO);
                for (ui::ResultWindow* results : window.findChildren<ui::ResultWindow*>()) {
                    if (results->index() != 0)
                        continue;
                    results->SelectEntry(0, 0);
                    results->OnMenuCommand(ui::kMenuAddToStudyList);
                }
            }
            std::printf("ready\n");
            std::fflush(stdout);
        });
    };
    return RunDesktopProgram(static_cast<int>(args.size()) - 1, args.data(), hooks);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--desktop")
        return RunWholeDesktopProgram(argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::QtPlatform qtPlatform;
    ui::ShutdownSignals shutdownSignals([&qtPlatform] { qtPlatform.SetUnattended(true); });
    const QString text = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    const bool slow = argc > 2 && std::string(argv[2]) == "slow";

    dlog::Open();
    dlog::ReadLevel();
    Registry registry;
    LoadOptionsAtStartup(registry);
    UpgradeOptionsIfOlder(registry);
    int status = 0;
    {
        ui::WholeProgram whole(registry);
        ui::Program& program = whole.program;
        ui::AppPaneFactory& panes = whole.panes;
        if (slow) {
            auto save = program.parts().saveWindowState;
            program.parts().saveWindowState = [save](ui::MainWindow& window) {
                sleep(10);
                save(window);
            };
        }
        program.Start();
        QTimer::singleShot(0, [&panes, text] {
            ui::SearchWindow* search = panes.searchWindow();
            search->edit()->selectAll();
            search->edit()->ReplaceSelection(text);
            search->OnCommand(ui::ID_SEARCH_GO);
            std::printf("ready\n");
            std::fflush(stdout);
        });
        program.RunLoop();
        status = program.Shutdown();
    }
    dlog::Close();
    return status;
}
