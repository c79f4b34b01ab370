#include "search/DictionaryInstall.h"

#include <filesystem>
#include <system_error>

#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Registry.h"
#include "dict/DictionaryOptions.h"
#include "dict/FreshDictionary.h"
#include "dict/JmdictImport.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/StatusText.h"
#include "search/Worker.h"

namespace mirudex::search {

namespace {

void MakeDictFolder(const std::string& filePath)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(filePath).parent_path(), ignored);
}

// The new file is in place: the dictionary of that path (or a new record)
// is loaded from it now, whatever stop request comes. False when it loaded
// no entry (a dictionary the loader refuses).
bool LoadInstalled(AppState& state, InstallProgress& progress, InstallResult& result)
{
    progress.stage = InstallProgress::Indexing;
    progress.percent = 0;
    // Longer lines than the line buffer takes would be skipped.
    dict::EnsureLineBuffer(state.options, result.longestLine);
    auto& list = state.store.edict_dictionaries;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->path != result.optionPath)
            continue;
        list[i]->encoding = result.encoding;
        dict::EDICT_Index_Load(*list[i], state.options);
        result.replaced = static_cast<int>(i);
        return list[i]->count > 0;
    }
    result.added = std::make_unique<dict::Dictionary>();
    result.added->path = result.optionPath;
    result.added->name = result.name;
    result.added->encoding = result.encoding;
    result.added->on = true;
    dict::EDICT_Index_Load(*result.added, state.options);
    if (result.added->count > 0)
        return true;
    result.added.reset();  // not registered: nothing to search in it
    return false;
}

dict::ImportProgress Percent(InstallProgress& progress)
{
    return [&progress](double fraction) { progress.percent = static_cast<int>(fraction * 100); };
}

void Failed(InstallResult& result, const std::u16string& message, bool stopped)
{
    result.outcome = stopped ? InstallResult::Stopped : InstallResult::Failed;
    result.message = message;
    dlog::Write(u"Dictionary install: %s\n", message);
}

}  // namespace

void Thread_ImportJmdict(AppState& state, const std::string& input, const std::string& language,
                         InstallProgress& progress, InstallResult& result)
{
    result.optionPath = dict::ImportedDictionaryPath(input);
    result.name = dict::ImportedDictionaryName(input);
    result.encoding = "UTF-8";
    const std::string output = platform::FilePath(result.optionPath);
    MakeDictFolder(output);
    progress.stage = InstallProgress::Making;
    const dict::ImportOutcome imported =
        dict::ImportJmdict(input, output, language, Percent(progress), dict::StopToken(&state.stop_flag()));
    if (imported.status != dict::ImportStatus::Done) {
        Failed(result, dict::ImportFailureText(imported, input), imported.status == dict::ImportStatus::Stopped);
    } else {
        result.longestLine = imported.longestLine;
        result.entries = imported.entries;
        if (!LoadInstalled(state, progress, result)) {
            Failed(result, Format(u"The dictionary '%S' made from '%S' could not be loaded.", result.optionPath, input),
                   false);
            state.thread_searching.store(false);
            return;
        }
        result.outcome = InstallResult::Installed;
        result.message =
            Format(u"%i entries of '%S' are now the dictionary '%S'.", imported.entries, input, result.optionPath);
        if (imported.withoutGloss > 0)
            result.message +=
                Format(u" %i entries without glosses in '%S' were left out.", imported.withoutGloss, language);
        if (imported.tooLarge > 0)
            result.message += Format(u" %i entries larger than an entry may be were left out.", imported.tooLarge);
    }
    state.thread_searching.store(false);
}

void Thread_DownloadDictionary(AppState& state, const std::string& url, const std::string& language,
                               const Fetcher& fetch, InstallProgress& progress, InstallResult& result,
                               const dict::DownloadLimits& limits)
{
    result.optionPath = dict::DownloadedDictionaryPath(url);
    result.name = "Current dictionary (" + url.substr(url.find_last_of('/') + 1) + ")";
    const std::string target = platform::FilePath(result.optionPath);
    const std::string downloaded = target + ".download";
    MakeDictFolder(target);

    progress.stage = InstallProgress::Fetching;
    const FetchResult fetched = fetch(url, downloaded, Percent(progress), &state.stop_flag());
    if (!fetched.done) {
        std::error_code ignored;
        std::filesystem::remove(downloaded, ignored);
        Failed(result,
               fetched.stopped ? std::u16string(u"The download was stopped; the dictionary is as it was.")
                               : Format(u"The dictionary could not be downloaded from %S: %S.\n\nThe dictionary is "
                                        u"as it was.",
                                        url, fetched.error),
               fetched.stopped);
        state.thread_searching.store(false);
        return;
    }

    progress.stage = InstallProgress::Making;
    progress.percent = 0;
    const dict::FreshDictionary fresh = dict::InstallDownloadedDictionary(
        downloaded, target, language, Percent(progress), dict::StopToken(&state.stop_flag()), limits);
    std::error_code ignored;
    std::filesystem::remove(downloaded, ignored);
    if (fresh.status != dict::ImportStatus::Done) {
        Failed(result,
               fresh.status == dict::ImportStatus::Stopped
                   ? std::u16string(u"The download was stopped; the dictionary is as it was.")
                   : Format(u"The file downloaded from %S is not a sound dictionary: %S.\n\nThe dictionary is as it "
                            u"was.",
                            url, fresh.error),
               fresh.status == dict::ImportStatus::Stopped);
        state.thread_searching.store(false);
        return;
    }
    result.encoding = fresh.encoding;
    result.longestLine = fresh.longestLine;
    result.entries = fresh.entries;
    if (!LoadInstalled(state, progress, result)) {
        Failed(result,
               Format(u"The dictionary downloaded from %S is in place as '%S', but it could not be loaded.", url,
                      result.optionPath),
               false);
        state.thread_searching.store(false);
        return;
    }
    result.outcome = InstallResult::Installed;
    result.message =
        Format(u"The current dictionary from %S is now '%S' (%i entries).", url, result.optionPath, fresh.entries);
    state.thread_searching.store(false);
}

bool Load_Thread_ImportJmdict(AppState& state, const std::string& input, const std::string& language,
                              InstallProgress& progress, InstallResult& result)
{
    return Load_Thread_Run(state, u"Load_Thread_ImportJmdict", [&state, input, language, &progress, &result] {
        Thread_ImportJmdict(state, input, language, progress, result);
    });
}

bool Load_Thread_DownloadDictionary(AppState& state, const std::string& url, const std::string& language,
                                    const Fetcher& fetch, InstallProgress& progress, InstallResult& result)
{
    return Load_Thread_Run(state, u"Load_Thread_DownloadDictionary",
                           [&state, url, language, &fetch, &progress, &result] {
                               Thread_DownloadDictionary(state, url, language, fetch, progress, result);
                           });
}

std::u16string FinishInstall(AppState& state, InstallResult& result)
{
    if (result.outcome != InstallResult::Installed)
        return result.outcome == InstallResult::Stopped ? u"Dictionary install... aborted."
                                                        : u"Dictionary install... failed.";
    if (result.added) {
        if (dict::FindConfiguredDictionary(state.options, result.optionPath) < 0)
            dict::RegisterDictionary(state.options, result.optionPath, result.name, result.encoding, true);
        state.store.edict_dictionaries.push_back(std::move(result.added));
    } else if (result.replaced >= 0) {
        // The dictionary may now be in another encoding than it was.
        const int n = dict::FindConfiguredDictionary(state.options, result.optionPath);
        if (n >= 0)
            state.options.SetSTRING(opt::dictionaries::edict::Encoding(n), result.encoding);
    }
    return u"Dictionary installed.";
}

}  // namespace mirudex::search
