#pragma once
// One HTTP transfer of the update check: a blocking TCP client that sends the
// single request line "GET http://<host>/<path>\r\n" (an absolute address,
// no protocol version, no header lines) and keeps every byte the server sends
// until it closes the connection. Nothing of the reply is parsed.
//
// The local file is replaced only by a complete transfer: the bytes go to a
// temporary file beside it, which takes the file's place when the server has
// closed the connection normally (and, for a download, the CRC-32 agrees).
// A failed, stopped or rejected transfer leaves the old file as it was.
//
// Threads: any thread. A transfer tests its stop flag at least every 50 ms
// while it waits for the network, so a stop request ends it promptly (except
// inside the system's name lookup, which cannot be interrupted).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace mirudex::update {

inline constexpr std::uint16_t kHttpPort = 80;
// The formatted request line is limited to this many bytes; a longer one is refused.
inline constexpr size_t kMaxRequestBytes = 1023;
// Blocks of at most this many bytes are received at a time.
inline constexpr size_t kReceiveBlock = 256;

struct FetchOptions {
    std::uint16_t port = kHttpPort;
    // Longest wait for the connection or for the next bytes of the reply.
    std::chrono::milliseconds timeout{30000};
    // When set and true, the transfer ends as failed.
    const std::atomic<bool>* stop = nullptr;
    // A reply longer than this fails (0: no limit).
    std::uint64_t maxBytes = 0;
    // Asked with the CRC-32 of a complete reply: false keeps the old local file.
    std::function<bool(std::uint32_t crc)> keep;
};

struct FetchReport {
    std::uint64_t bytes = 0;
    std::uint32_t crc = 0;
    // The reply replaced the local file.
    bool kept = false;
};

// True when the whole reply arrived (the server closed the connection); the
// reply then replaced localFile unless options.keep refused it (report->kept).
// Writes the debug lines "Socket did not connect.\n", "Invalid host.\n",
// "Connect failed.\n", "Send failed.\n", "Receive error.\n" and
// "File received okay.\n".
bool FetchHttpFile(const std::string& host, const std::string& path, const std::string& localFile,
                   const FetchOptions& options = {}, FetchReport* report = nullptr);

// The request line sent for host and path ("GET http://host/path\r\n"), or
// empty when it would exceed kMaxRequestBytes.
std::string HttpRequestLine(const std::string& host, const std::string& path);

}  // namespace mirudex::update
