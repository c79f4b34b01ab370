#include "app/DesktopMain.h"

#include <QApplication>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsFile.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "core/Version.h"
#include "desktop/DesktopStart.h"
#include "dict/DictionaryStore.h"
#include "dict/SharedIndex.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/Translation.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/DictionaryCommands.h"
#include "ui/app/Program.h"
#include "ui/app/SettingsCommands.h"
#include "ui/app/ShutdownSignals.h"
#include "ui/app/SingleInstance.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"
#include "ui/main/TrayIcon.h"
#include "ui/updater/UpdaterWindow.h"

namespace mirudex {

int RunDesktopProgram(int argc, char** argv, const DesktopHooks& hooks)
{
    desktop::DesktopStart start;
    desktop::BeginDesktopStart({argv, argv + argc}, start);
    if (start.exitStatus >= 0)
        return start.exitStatus;
    // The index files the package made for every user, used while they fit.
    dict::SetSharedIndexFolder(desktop::SharedIndexDirectory());
    int qtArgc = static_cast<int>(start.args.qtArguments.size());
    std::vector<char*> qtArgv;
    for (std::string& arg : start.args.qtArguments)
        qtArgv.push_back(arg.data());
    qtArgv.push_back(nullptr);

    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Mirudex"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    // The desktop entry's id: how the desktop matches windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.mirudex.Mirudex"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows in the user's language (LC_ALL, LC_MESSAGES, LANG), else in English.
    platform::InstallTranslations(QLocale::system());
    platform::QtPlatform qtPlatform;
    if (!start.folderTaken.empty()) {
        // Another Mirudex works in this folder: nothing here is opened for
        // writing, not even the log.
        platform::Get().MessageBox(Utf8ToUtf16(start.folderTaken), u"Mirudex", platform::Buttons::Ok,
                                   platform::Owner::None);
        return 1;
    }
    // SIGTERM, SIGINT, SIGHUP and the end of the desktop session run the shutdown of File > Exit.
    ui::ShutdownSignals shutdownSignals([&qtPlatform] { qtPlatform.SetUnattended(true); });
    ui::SingleInstance instance;
    if (start.lock.held())
        instance.Listen(QString::fromStdString(start.paths->socket));
    if (start.args.request)
        instance.Add(*start.args.request);

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
    // The file as read: at exit, what another program (an import) wrote
    // there since is told from what this one changed.
    Registry optionsAsRead = CopyOfOptions(registry);
    LogOptionsTree(registry);
    UpgradeOptionsIfOlder(registry);
    AddItemsWithoutVersion(registry);

    int status = 0;
    {
        // The program's shared state lives until the windows are gone.
        update::UpdateState updates;
        ui::WholeProgram whole(registry);
        search::AppState& state = whole.state;
        ui::Program& program = whole.program;
        ui::AppPaneFactory& panes = whole.panes;
        program.parts().mainWindowCreated = [&qtPlatform, &state, &program, &panes, &registry,
                                             &updates](ui::MainWindow& window) {
            qtPlatform.SetMainWindow(&window);
            ui::ConnectSettingsCommands(window, state, program.resources(), panes);
            ui::ConnectDictionaryCommands(window, state);
            window.SetCommandHandler(ui::ID_CHECK_UPDATES,
                                     [&registry, &updates, &window] { ui::RunUpdater(registry, updates, &window); });
            qtPlatform.SetStatusSink([&window](int part, const QString& text) { window.SetStatusText(part, text); });
            new ui::TrayIcon(window, registry);
        };
        program.SetOptionsBaseline(&optionsAsRead);
        program.Start();
        if (hooks.ready)
            hooks.ready(*program.mainWindow());
        if (start.folder.preparation.radicalFileMissing)
            platform::Get().MessageBox(ui::RadicalFileMissingText(start.folder.choice.folder), u"Note",
                                       platform::Buttons::Ok, platform::Owner::MainWindow);
        instance.SetMainWindow(program.mainWindow());
        program.RunLoop();
        status = program.Shutdown();
        qtPlatform.SetStatusSink(nullptr);
    }
    dlog::Close();
    return status;
}

}  // namespace mirudex
