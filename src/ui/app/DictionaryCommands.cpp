#include "ui/app/DictionaryCommands.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QTimer>

#include "core/BuildConfig.h"
#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Registry.h"
#include "dict/FreshDictionary.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "search/AppState.h"
#include "search/DictionaryInstall.h"
#include "search/Worker.h"
#include "ui/common/CommandIds.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/MainWindow.h"
#include "update/DictionaryDownload.h"

namespace mirudex::ui {

namespace {

// The languages JMdict has glosses in, as it names them.
const QStringList kLanguages = {QStringLiteral("eng"), QStringLiteral("dut"), QStringLiteral("fre"),
                                QStringLiteral("ger"), QStringLiteral("hun"), QStringLiteral("rus"),
                                QStringLiteral("slv"), QStringLiteral("spa"), QStringLiteral("swe")};

std::optional<std::string> AskLanguage(QWidget* owner, const std::string& current)
{
    bool ok = false;
    const int at = std::max<qsizetype>(0, kLanguages.indexOf(QString::fromStdString(current)));
    const QString chosen = QInputDialog::getItem(
        owner, QCoreApplication::translate("Mirudex", "Import JMdict"),
        QCoreApplication::translate("Mirudex", "Keep the glosses in this language (as JMdict names it):"), kLanguages,
        at, true, &ok);
    if (!ok || chosen.trimmed().isEmpty())
        return std::nullopt;
    return chosen.trimmed().toStdString();
}

QString ProgressText(const QString& first, const search::InstallProgress& progress)
{
    switch (progress.stage.load()) {
    case search::InstallProgress::Fetching: return Q(Format(u"%s %i%%", U16(first), progress.percent.load()));
    case search::InstallProgress::Making:
        return QCoreApplication::translate("Mirudex", "Checking... %1%").arg(progress.percent.load());
    case search::InstallProgress::Indexing: return QCoreApplication::translate("Mirudex", "Indexing...");
    }
    return first;
}

search::FetchResult Fetch(const std::string& url, const std::string& file, const std::function<void(double)>& progress,
                          const std::atomic<bool>* stop)
{
    update::DownloadOptions options;
    options.stop = stop;
    options.maxBytes = build::kMaxDownloadBytes;
    options.progress = [&progress](std::uint64_t received, std::uint64_t total) {
        if (total > 0)
            progress(static_cast<double>(received) / static_cast<double>(total));
    };
    const update::DownloadOutcome outcome = update::DownloadToFile(url, file, options);
    return {outcome.status == update::DownloadStatus::Done, outcome.status == update::DownloadStatus::Stopped,
            outcome.error};
}

// Waits for the install worker behind the progress window, then finishes
// the install whatever ended the wait, and tells the user.
void WaitAndFinish(MainWindow& main, search::AppState& state, const QString& first, search::InstallProgress& progress,
                   search::InstallResult& result, const DictionaryCommandHooks& hooks)
{
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&first, &progress] {
        if (ProgressWindow* window = CurrentProgressWindow())
            window->SetText(ProgressText(first, progress));
    });
    ticker.start(100);
    const int waited = WaitWithProgress(state, &main, first, kWaitQuitFlag | kWaitEscFlag);
    ticker.stop();
    // ESC or a quit: the worker stops at its next block; one that has put
    // its dictionary in place finishes indexing it first.
    search::StopWorker(state);
    const std::u16string status = search::FinishInstall(state, result);
    platform::Get().SetStatusText(0, status);
    dlog::Write(u"Dictionary install: %s\n", status);
    if (waited == kWaitQuitArrived) {
        main.StopWatchingClipboard();
        quit::Post(0);
        return;
    }
    if (result.outcome == search::InstallResult::Installed && hooks.installed)
        hooks.installed();
    if (!result.message.empty())
        platform::Get().MessageBox(result.message,
                                   result.outcome == search::InstallResult::Installed ? u"Note" : u"Error",
                                   platform::Buttons::Ok, platform::Owner::MainWindow);
}

}  // namespace

void ConnectDictionaryCommands(MainWindow& main, search::AppState& state, DictionaryCommandHooks hooks)
{
    if (!hooks.chooseLanguage)
        hooks.chooseLanguage = [&main](const std::string& current) { return AskLanguage(&main, current); };

    main.SetCommandHandler(ID_IMPORT_JMDICT, [&main, &state, hooks] {
        const auto file = platform::Get().ChooseOpenFile(u"Please select a JMdict file to import.");
        if (!file)
            return;
        const auto language = hooks.chooseLanguage(state.options.GetString(opt::dictionaries::jmdict::kLanguage));
        if (!language)
            return;
        state.options.SetSTRING(opt::dictionaries::jmdict::kLanguage, *language);
        search::InstallProgress progress;
        search::InstallResult result;
        if (!search::Load_Thread_ImportJmdict(state, *file, *language, progress, result))
            return;
        WaitAndFinish(main, state, QCoreApplication::translate("Mirudex", "Importing..."), progress, result, hooks);
    });

    main.SetCommandHandler(ID_DOWNLOAD_DICTIONARY, [&main, &state, hooks] {
        const std::string url = state.options.GetString(opt::dictionaries::download::kURL);
        const std::string target = dict::DownloadedDictionaryPath(url);
        const auto answer = platform::Get().MessageBox(
            Format(u"Mirudex will download the current dictionary from\n%S\n\nand, once it has arrived whole and "
                   u"sound, make it the dictionary '%S'.  Go on?",
                   url, target),
            u"Download Current Dictionary", platform::Buttons::YesNo, platform::Owner::MainWindow);
        if (answer != platform::Answer::Yes)
            return;
        search::InstallProgress progress;
        search::InstallResult result;
        static const search::Fetcher fetch = &Fetch;
        if (!search::Load_Thread_DownloadDictionary(
                state, url, state.options.GetString(opt::dictionaries::jmdict::kLanguage), fetch, progress, result))
            return;
        WaitAndFinish(main, state, QCoreApplication::translate("Mirudex", "Downloading..."), progress, result, hooks);
    });
}

}  // namespace mirudex::ui
