#pragma once
// One transfer of the updater, with libcurl: the update list or an update
// file fetched from https://<host>/<path>. The server's certificate and name
// are checked against the system's certificate authorities, so what arrives
// comes from the update host and no one on the way can change it; an error
// status of the server is a failure. Redirects are followed to addresses of
// the same scheme only.
//
// The local file is replaced only by a complete transfer: the bytes go to a
// temporary file beside it, which takes the file's place when the transfer
// has ended normally and options.keep accepts its check sums. A failed,
// stopped or rejected transfer leaves the old file as it was.
//
// Threads: any thread. A transfer waits in slices of at most 50 ms and tests
// its stop flag between them, so a stop request ends it promptly (name
// lookups run on libcurl's own resolver and do not hold it up).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace mirudex::update {

struct FetchOptions {
    // "https"; the tests' plain servers on the loopback interface use "http".
    std::string scheme = "https";
    // 0: the scheme's own port.
    std::uint16_t port = 0;
    // Certificate authorities trusted besides the system's (a PEM file; empty: the system's only).
    std::string caFile;
    // Longest wait for the connection or for the next bytes of the reply.
    std::chrono::milliseconds timeout{30000};
    // When set and true, the transfer ends as failed.
    const std::atomic<bool>* stop = nullptr;
    // A reply longer than this fails (0: no limit).
    std::uint64_t maxBytes = 0;
    // Asked with the CRC-32 and the SHA-256 (64 lowercase hexadecimal digits)
    // of a complete reply: false keeps the old local file.
    std::function<bool(std::uint32_t crc, const std::string& sha256)> keep;
};

struct FetchReport {
    // Why a transfer failed: the server was never reached (no such host, no
    // connection), it could not be trusted (its certificate), or it was
    // reached and the transfer went wrong later (an error status, a broken
    // or overlong reply, a file that cannot be written, a stop request).
    enum class Failure { None, Unreachable, Untrusted, Transfer };
    Failure failure = Failure::None;
    std::uint64_t bytes = 0;
    std::uint32_t crc = 0;
    std::string sha256;
    long httpStatus = 0;
    // The reply replaced the local file.
    bool kept = false;
};

// The address fetched for host and path.
std::string FetchUrl(const std::string& host, const std::string& path, const FetchOptions& options);

// True when the whole reply arrived; it then replaced localFile unless
// options.keep refused it (report->kept). Writes the debug lines
// "Invalid host.\n", "Connect failed.\n", "Send failed.\n",
// "Receive error.\n" and "File received okay.\n", each failure followed by
// a line with libcurl's own words.
bool FetchHttpFile(const std::string& host, const std::string& path, const std::string& localFile,
                   const FetchOptions& options = {}, FetchReport* report = nullptr);

}  // namespace mirudex::update
