#pragma once
// Fetching a dictionary file from an address over HTTPS (or HTTP) with
// libcurl: redirects are followed (to HTTP and HTTPS addresses only), the
// server's certificate is checked, an error status of the server is a
// failure, and a file longer than the limit is refused. The bytes go to a
// file the caller names; the caller checks the file and puts it in place.
//
// Threads: any one thread. The stop flag is looked at whenever data
// arrives and at least once a second while the transfer waits.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace mirudex::update {

enum class DownloadStatus {
    Done,
    Stopped,   // the stop flag was set
    TooLarge,  // longer than the limit
    Failed,    // no connection, an error status, a broken transfer, a file that cannot be written ...
};

struct DownloadOutcome {
    DownloadStatus status = DownloadStatus::Done;
    std::uint64_t bytes = 0;
    long httpStatus = 0;  // the server's status, when it answered
    std::string error;    // for the user; empty when Done
};

// received and total bytes (total 0 while unknown).
using DownloadProgress = std::function<void(std::uint64_t received, std::uint64_t total)>;

struct DownloadOptions {
    std::uint64_t maxBytes = 0;  // 0: no limit
    const std::atomic<bool>* stop = nullptr;
    DownloadProgress progress;
    long connectTimeoutSeconds = 30;
    // A transfer slower than 1 byte a second for this long is broken.
    long stallSeconds = 60;
};

// Fetches url into file (created or truncated). On anything but Done the
// file is removed.
DownloadOutcome DownloadToFile(const std::string& url, const std::string& file, const DownloadOptions& options = {});

}  // namespace mirudex::update
