#pragma once
// One running Mirudex per user. The running program listens on a local
// (Unix domain) socket in the user's runtime folder; a second start, or
// mirudex-lookup --show, connects there, hands over what it was asked to do
// and ends. Plain POSIX sockets on both ends: the terminal tool needs no Qt,
// and the running program watches its socket with Qt's event loop.
//
// Who listens is decided by a lock (flock) on a file beside the socket: the
// kernel lets go of it when its process ends, however it ends, so a socket
// left behind by a crash is known to be stale and is replaced.
//
// A request, as bytes on the socket:
//   "MIRUDEX/1 SHOW\n"                     raise the window
//   "MIRUDEX/1 SEARCH <n>\n" + n bytes     raise it and search the UTF-8 text
// answered by "OK\n" once the running program has taken it.

#include <optional>
#include <string>
#include <string_view>

namespace mirudex::desktop {

struct InstanceRequest {
    enum class Kind { Show, Search };
    Kind kind = Kind::Show;
    std::string text;  // UTF-8, for Search

    bool operator==(const InstanceRequest&) const = default;
};

inline constexpr std::string_view kInstanceReply = "OK\n";
// The longest search text a request may carry.
inline constexpr size_t kMaxRequestText = 64 * 1024;

std::string EncodeRequest(const InstanceRequest& request);

enum class DecodeState { Incomplete, Done, Bad };
// Reads a request from the bytes received so far. Done: request is set and
// used tells how many bytes it took. Bad: the bytes can never become one.
DecodeState DecodeRequest(std::string_view bytes, InstanceRequest& request, size_t& used);

// The socket and lock paths: in $XDG_RUNTIME_DIR when it is set (absolute)
// and is a folder of this user that nobody else may write into; else in
// ${TMPDIR:-/tmp}/mirudex-<uid>, made private to the user. Empty when no safe
// folder can be had (a folder of that name owned by someone else).
struct InstancePaths {
    std::string socket;
    std::string lock;
    // Why $XDG_RUNTIME_DIR was passed over, when it was set but not used.
    std::string note;
};
std::optional<InstancePaths> DefaultInstancePaths(std::string& error);
// The same from the given values of XDG_RUNTIME_DIR and TMPDIR (each may be null).
std::optional<InstancePaths> InstancePathsFor(const char* runtimeDir, const char* tmpDir, std::string& error);

// Whether the process at the other end of a connected local socket runs as
// this user (its credentials, SO_PEERCRED). Both ends check: a listener or a
// client of another user is never talked to.
bool PeerIsThisUser(int fd);

enum class SendResult {
    Delivered,   // the running program answered OK
    NoInstance,  // nobody listens at the socket
    Failed,      // someone listens but the request did not go through
    Foreign,     // the one listening is another user's: nothing was sent
};
// Hands the request to the program listening at socketPath, waiting at most
// timeoutMs for its answer.
SendResult SendToRunningInstance(const std::string& socketPath, const InstanceRequest& request, int timeoutMs);

// The running program's end: a listening socket at socketPath for the user
// alone (mode 0600), non-blocking and closed on exec. A socket file left
// there by a program that crashed is replaced, so only the holder of the
// lock may call this. -1, with error set, when it cannot be made.
int ListenForInstances(const std::string& socketPath, std::string& error);

// The lock that makes a program the one that listens. Held until destroyed.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds it (or the file cannot be opened).
    bool TryAcquire(const std::string& path);
    bool held() const { return fd_ >= 0; }
    void Release();

private:
    int fd_ = -1;
};

enum class Claim {
    HandedOver,  // the running program took the request: this one ends
    Listen,      // none runs: this one holds the lock and is to listen
    Unanswered,  // one holds the lock but never answered
    Foreign,     // another user's program listens at the socket: nothing was sent
};
// What a starting program does first: hands request to the running one, or,
// when none runs, takes the lock. One that holds the lock but does not listen
// yet (it is starting too) is given up to waitMs.
Claim ClaimOrHandOver(const InstancePaths& paths, const InstanceRequest& request, InstanceLock& lock, int waitMs);

}  // namespace mirudex::desktop
