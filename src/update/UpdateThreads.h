#pragma once
// The two update threads: the check, which fetches the update list from the
// first server that delivers a valid one, and the download, which fetches the
// files of the chosen update and checks each one's SHA-256 (and CRC-32)
// against the list before it replaces anything. At most one of them
// runs at a time, flagged by UpdateState::running (separate from the search
// worker's flag).
//
// Contracts.
// - The starters and StopUpdateThread / JoinUpdateThread are for the
//   user-interface thread. A starter refuses with a message box while an
//   update thread runs; otherwise it sets `running` and starts the thread.
// - The thread clears `running` as its very last step; the starter's side
//   polls UpdateThreadRunning() and then calls JoinUpdateThread().
// - StopUpdateThread() is how a check or download is cancelled: it asks the
//   thread to stop, waits for it (the transfers see the request within
//   50 ms) and clears the flag. Threads are never killed, so no file is left
//   open; a file being fetched keeps its old contents.
// - While a thread runs it reads only its own copies of the server table and
//   the download list; the user-interface thread may read the flags at any
//   time and the download list, the chosen id, the check result and the
//   checked list once the flag is clear.
// - A check that fetched a valid list also evaluates it on its own thread
//   (a list of thousands of updates takes a while to read), so the
//   user-interface thread only takes the result.
// - Status texts go to the sink set with SetStatusSink, called on the
//   update thread; the sink must hand them over to its own thread.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "update/HttpFetch.h"
#include "update/UpdateList.h"

namespace mirudex::update {

struct ServerRow {
    std::string host;
    std::string listPath;  // path of the update list on the host
    std::string fileDir;   // directory of the update files on the host
};
using ServerTable = std::array<ServerRow, 2>;

// The built-in servers, tried in this order.
ServerTable DefaultServers();
// The home page the updater offers: the secondary host's root.
std::string UpdateHomePage();

// Replies longer than this are not taken as an update list.
inline constexpr std::uint64_t kMaxListBytes = 16u << 20;
// The build's limit for one downloaded update file.
std::uint64_t DefaultMaxDownloadBytes();

class UpdateState {
public:
    UpdateState() = default;
    ~UpdateState();  // stops a running thread
    UpdateState(const UpdateState&) = delete;
    UpdateState& operator=(const UpdateState&) = delete;

    // Where and how to connect; tests point these at a server of their own.
    ServerTable servers = DefaultServers();
    std::string scheme = "https";
    std::uint16_t port = 0;  // the scheme's own
    std::string caFile;      // certificate authorities trusted besides the system's
    std::chrono::milliseconds timeout{30000};
    // A downloaded file longer than this fails (its old file is kept); a build setting.
    std::uint64_t maxDownloadBytes = DefaultMaxDownloadBytes();

    // Set while an update thread exists.
    std::atomic<bool> running{false};
    // Written by the check when it ends: a valid list was fetched.
    std::atomic<bool> checkResult{false};
    // Written by the check when it ends: what it came to, so the user is told
    // whether the servers could be reached at all.
    enum class CheckOutcome {
        ListFetched,  // a server sent a valid list
        NoList,       // a server answered, but none sent a valid list
        Unreachable,  // no server could be reached (no network, no such host, no connection)
        Untrusted,    // a server could not prove that it is the update host (its certificate)
        Stopped,
    };
    std::atomic<CheckOutcome> checkOutcome{CheckOutcome::Stopped};
    // Written by the check when it ends: the fetched list evaluated for this
    // program (empty after a failed check, so an older list is never offered
    // again), and whether the list file could be opened for that.
    UpdateSelection checkedList;
    bool checkedListOpened = false;
    // Written by the download when it ends: every file arrived with a good SHA-256 and CRC.
    std::atomic<bool> downloadOk{false};

    // The files of the update chosen for download and its id (user-interface thread).
    std::vector<std::string> downloadList;
    std::string chosenId;

    // Status texts of the threads ("Checking server for updates... (host)...").
    void SetStatusSink(std::function<void(const std::u16string&)> sink);
    void Status(const std::u16string& text);

private:
    friend bool Load_Thread_CheckForUpdates(UpdateState&, const std::string&);
    friend bool Load_Thread_GetUpdates(UpdateState&, const std::vector<std::string>&);
    friend void StopUpdateThread(UpdateState&);
    friend void JoinUpdateThread(UpdateState&);
    friend int Thread_CheckForUpdates(UpdateState&, const std::string&, const ServerTable&);
    friend int Thread_GetUpdates(UpdateState&, const std::vector<std::string>&, const ServerTable&);

    FetchOptions Options() const;

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex sinkMutex_;
    std::function<void(const std::u16string&)> sink_;
};

// Starts the check thread that fetches the list into localListFile. False:
// refused ("There is still a update going on.  Load_Thread_CheckForUpdates()
// will not open a new one.") or the thread could not be made.
bool Load_Thread_CheckForUpdates(UpdateState& state, const std::string& localListFile = "updates.v2.txt");
// Starts the download thread over a copy of downloadList. False as above.
bool Load_Thread_GetUpdates(UpdateState& state, const std::vector<std::string>& downloadList);

bool UpdateThreadRunning(const UpdateState& state);
// Asks a running thread to stop, waits for it and clears the flag.
void StopUpdateThread(UpdateState& state);
// Waits for a thread that has ended (running is clear); nothing when there is none.
void JoinUpdateThread(UpdateState& state);

// The threads' bodies (each returns 0); they clear `running` at the end.
int Thread_CheckForUpdates(UpdateState& state, const std::string& localListFile, const ServerTable& servers);
int Thread_GetUpdates(UpdateState& state, const std::vector<std::string>& downloadList, const ServerTable& servers);

}  // namespace mirudex::update
