#include "update/UpdateThreads.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/BuildConfig.h"
#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Version.h"
#include "platform/api/Platform.h"
#include "update/Crc32.h"
#include "update/Sha256.h"
#include "update/UpdateList.h"

namespace mirudex::update {

namespace {

bool Refuse(const UpdateState& state, std::u16string_view text)
{
    if (!state.running.load())
        return false;
    platform::Get().MessageBox(text, u"Error", platform::Buttons::Ok, platform::Owner::None);
    return true;
}

// The first line of a fetched list, as the check reads it.
bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool FileHasListMarker(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return false;
    char head[kMarkerLineBytes + 1];
    const size_t got = std::fread(head, 1, sizeof head, file.get());
    return !std::ferror(file.get()) && HasListMarker(std::string_view(head, got));
}

}  // namespace

ServerTable DefaultServers()
{
    return {{
        {build::kUpdateHostPrimary, "Mirudex/updates/updates.v2.txt", "Mirudex/updates/files"},
        {build::kUpdateHostSecondary, "updates/updates.v2.txt", "updates/files"},
    }};
}

std::uint64_t DefaultMaxDownloadBytes() { return build::kMaxDownloadBytes; }

std::string UpdateHomePage() { return std::string("https://") + build::kUpdateHostSecondary + "/"; }

UpdateState::~UpdateState() { StopUpdateThread(*this); }

void UpdateState::SetStatusSink(std::function<void(const std::u16string&)> sink)
{
    std::lock_guard lock(sinkMutex_);
    sink_ = std::move(sink);
}

void UpdateState::Status(const std::u16string& text)
{
    std::lock_guard lock(sinkMutex_);
    if (sink_)
        sink_(text);
}

FetchOptions UpdateState::Options() const
{
    FetchOptions options;
    options.scheme = scheme;
    options.port = port;
    options.caFile = caFile;
    options.timeout = timeout;
    options.stop = &stop_;
    options.maxBytes = maxDownloadBytes;
    return options;
}

bool Load_Thread_CheckForUpdates(UpdateState& state, const std::string& localListFile)
{
    if (Refuse(state, u"There is still a update going on.  Load_Thread_CheckForUpdates() will not open a new one."))
        return false;
    JoinUpdateThread(state);
    state.stop_ = false;
    state.running = true;
    try {
        state.thread_ = std::thread(Thread_CheckForUpdates, std::ref(state), localListFile, state.servers);
    } catch (const std::system_error&) {
        state.running = false;
        dlog::Write(u"Load_Thread_CheckForUpdates: ERROR: the thread was not made.\n");
        return false;
    }
    return true;
}

bool Load_Thread_GetUpdates(UpdateState& state, const std::vector<std::string>& downloadList)
{
    if (Refuse(state, u"There is still a update going on.  Load_Thread_GetUpdates() will not open a new one."))
        return false;
    JoinUpdateThread(state);
    state.stop_ = false;
    state.running = true;
    try {
        state.thread_ = std::thread(Thread_GetUpdates, std::ref(state), downloadList, state.servers);
    } catch (const std::system_error&) {
        state.running = false;
        dlog::Write(u"Load_Thread_GetUpdates: ERROR: the thread was not made.\n");
        return false;
    }
    return true;
}

bool UpdateThreadRunning(const UpdateState& state) { return state.running.load(); }

void StopUpdateThread(UpdateState& state)
{
    state.stop_ = true;
    if (state.thread_.joinable())
        state.thread_.join();
    state.running = false;
}

void JoinUpdateThread(UpdateState& state)
{
    if (state.thread_.joinable())
        state.thread_.join();
}

int Thread_CheckForUpdates(UpdateState& state, const std::string& localListFile, const ServerTable& servers)
{
    dlog::WriteAt(1, u"Thread_CheckForUpdates: started.\n");
    FetchOptions options = state.Options();
    options.maxBytes = kMaxListBytes;
    bool valid = false, answered = false, untrusted = false;
    for (const ServerRow& server : servers) {
        if (state.stop_.load())
            break;
        state.Status(Format(u"Checking server for updates... (%S)...", server.host));
        // Only a valid list takes the place of the one a former check left.
        const std::string fetchedList = localListFile + ".download";
        FetchReport report;
        const bool fetched = FetchHttpFile(server.host, server.listPath, fetchedList, options, &report);
        answered = answered || report.failure == FetchReport::Failure::None ||
                   report.failure == FetchReport::Failure::Transfer;
        untrusted = untrusted || report.failure == FetchReport::Failure::Untrusted;
        std::error_code ec;
        if (fetched && FileHasListMarker(fetchedList)) {
            std::filesystem::rename(fetchedList, localListFile, ec);
            if (!ec) {
                valid = true;
                break;
            }
            dlog::Write(u"Thread_CheckForUpdates: ERROR: %S not written.\n", localListFile);
        }
        std::filesystem::remove(fetchedList, ec);
    }
    state.checkedList = {};
    state.checkedListOpened = valid && !state.stop_.load() &&
                              EvaluateUpdateList(state.checkedList, SelectionVersion(kVersion), localListFile);
    using Outcome = UpdateState::CheckOutcome;
    state.checkOutcome = state.stop_.load() ? Outcome::Stopped
                         : valid            ? Outcome::ListFetched
                         : answered         ? Outcome::NoList
                         : untrusted        ? Outcome::Untrusted
                                            : Outcome::Unreachable;
    state.checkResult = valid;
    dlog::WriteAt(1, u"Thread_CheckForUpdates: ended.\n");
    state.running = false;
    return 0;
}

int Thread_GetUpdates(UpdateState& state, const std::vector<std::string>& downloadList, const ServerTable& servers)
{
    dlog::WriteAt(1, u"Thread_GetUpdates: started.\n");
    const FetchOptions base = state.Options();
    bool allGood = true;
    for (const std::string& entry : downloadList) {
        if (state.stop_.load()) {
            allGood = false;
            break;
        }
        const FileEntry file = SplitFileEntry(entry);
        // The name becomes a local path: only the program's own data files
        // may be replaced, inside the working folder, never through a link.
        std::string why;
        if (!ReplaceableByUpdate(file.name) || !UpdateTargetOnDiskIsSafe(file.name, why)) {
            dlog::Write(u"Thread_GetUpdates: ERROR: the file name %S was refused%S.\n", file.name,
                        why.empty() ? std::string() : " (" + why + ")");
            state.Status(Format(u"The file name (%S) was refused.", file.name));
            allGood = false;
            continue;
        }
        // Without a SHA-256 nothing shows that the file is the one the list means.
        if (!IsSha256Text(file.sha256)) {
            dlog::Write(u"Thread_GetUpdates: ERROR: the list gives no SHA-256 for %S; it is not fetched.\n", file.name);
            state.Status(Format(u"The list gives no SHA-256 for %S; it is not installed.", file.name));
            allGood = false;
            continue;
        }
        FetchOptions options = base;
        options.keep = [&file](std::uint32_t crc, const std::string& sha256) {
            return CrcText(crc) == file.crcText && EqualsIgnoringCase(sha256, file.sha256);
        };
        bool done = false;
        for (const ServerRow& server : servers) {
            if (state.stop_.load())
                break;
            state.Status(Format(u"Getting file (%S) from (%S)...", file.name, server.host));
            FetchReport report;
            if (!FetchHttpFile(server.host, server.fileDir + "/" + file.name, file.name, options, &report)) {
                state.Status(Format(u"Getting file (%S) from (%S)... FAILED!", file.name, server.host));
                continue;
            }
            if (report.kept) {
                state.Status(Format(u"Getting file (%S) from (%S)... OKAY!", file.name, server.host));
                done = true;
                break;
            }
            dlog::Write(u"Thread_GetUpdates: %S has CRC %S and SHA-256 %S, the list says %S and %S.\n", file.name,
                        CrcText(report.crc), report.sha256, file.crcText, file.sha256);
            state.Status(Format(CrcText(report.crc) != file.crcText ? u"CRC for %S FAILED." : u"SHA-256 for %S FAILED.",
                                file.name));
        }
        if (!done)
            allGood = false;
    }
    state.downloadOk = allGood;
    dlog::WriteAt(1, u"Thread_GetUpdates: ended.\n");
    state.running = false;
    return 0;
}

}  // namespace mirudex::update
