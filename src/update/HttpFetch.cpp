#include "update/HttpFetch.h"

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "update/Crc32.h"
#include "update/CurlLibrary.h"
#include "update/Sha256.h"

namespace mirudex::update {

namespace {

constexpr int kPollSliceMs = 50;

struct Transfer {
    AtomicFileWriter* file = nullptr;
    const FetchOptions* options = nullptr;
    const CrcTable* table = nullptr;
    std::uint32_t crc = kCrcStart;
    Sha256 sha;
    std::uint64_t bytes = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
};

size_t Write(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const std::string_view bytes(data, size * count);
    t->lastActivity = std::chrono::steady_clock::now();
    if (t->options->maxBytes > 0 && t->bytes + bytes.size() > t->options->maxBytes) {
        t->tooLarge = true;
        return 0;  // ends the transfer
    }
    if (!t->file->Write(bytes)) {
        t->writeFailed = true;
        return 0;
    }
    t->bytes += bytes.size();
    t->crc = UpdateCrc(*t->table, t->crc, bytes);
    t->sha.Add(bytes);
    return bytes.size();
}

bool StopRequested(const FetchOptions& options)
{
    return options.stop && options.stop->load(std::memory_order_relaxed);
}

FetchReport::Failure FailureOf(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_URL_MALFORMAT: return FetchReport::Failure::Unreachable;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH: return FetchReport::Failure::Untrusted;
    default: return FetchReport::Failure::Transfer;
    }
}

// The program's debug line for a failure, as the transfer has always named it.
const char16_t* LogLine(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_URL_MALFORMAT: return u"Invalid host.\n";
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT: return u"Connect failed.\n";
    case CURLE_SEND_ERROR: return u"Send failed.\n";
    default: return u"Receive error.\n";
    }
}

}  // namespace

std::string FetchUrl(const std::string& host, const std::string& path, const FetchOptions& options)
{
    std::string url = options.scheme;
    url += "://";
    url += host;
    if (options.port != 0) {
        url += ':';
        url += std::to_string(options.port);
    }
    url += '/';
    url += path;
    return url;
}

bool FetchHttpFile(const std::string& host, const std::string& path, const std::string& localFile,
                   const FetchOptions& options, FetchReport* report)
{
    FetchReport local;
    FetchReport& result = report ? *report : local;
    result = {};
    auto fail = [&](FetchReport::Failure failure) {
        result.failure = failure;
        return false;
    };

    if (host.empty() || host.find_first_of("/:@?# \t\r\n") != std::string::npos) {
        dlog::Write(u"Invalid host.\n");
        return fail(FetchReport::Failure::Unreachable);
    }
    std::string unavailable;
    const CurlFunctions* api = SystemCurl(unavailable);
    if (!api) {
        dlog::Write(u"FetchHttpFile: ERROR: %S\n", unavailable);
        return fail(FetchReport::Failure::Unreachable);
    }

    AtomicFileWriter file;
    if (!file.Open(localFile)) {
        dlog::Write(u"FetchHttpFile: ERROR: %S cannot be written.\n", localFile);
        return fail(FetchReport::Failure::Transfer);
    }
    static const CrcTable table = BuildCrcTable();
    Transfer transfer;
    transfer.file = &file;
    transfer.options = &options;
    transfer.table = &table;

    CURL* curl = api->easy_init();
    CURLM* multi = api->multi_init();
    if (!curl || !multi) {
        if (curl)
            api->easy_cleanup(curl);
        if (multi)
            api->multi_cleanup(multi);
        dlog::Write(u"FetchHttpFile: ERROR: the transfer library could not be started.\n");
        return fail(FetchReport::Failure::Unreachable);
    }
    const std::string url = FetchUrl(host, path, options);
    const std::string protocols = options.scheme == "https" ? "https" : options.scheme;
    char message[CURL_ERROR_SIZE] = {0};
    const long timeoutMs = static_cast<long>(options.timeout.count());
    api->easy_setopt(curl, CURLOPT_URL, url.c_str());
    api->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, protocols.c_str());
    api->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, protocols.c_str());
    api->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api->easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    api->easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    api->easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty())
        api->easy_setopt(curl, CURLOPT_CAINFO, options.caFile.c_str());
    api->easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    api->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    api->easy_setopt(curl, CURLOPT_USERAGENT, "Mirudex");
    api->easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
    api->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Write);
    api->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    if (options.maxBytes > 0)
        api->easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
    api->multi_add_handle(multi, curl);

    // Waits in short slices: a stop request, or no bytes for longer than the
    // timeout, ends the transfer.
    CURLcode code = CURLE_OK;
    bool stopped = false, stalled = false, finished = false;
    transfer.lastActivity = std::chrono::steady_clock::now();
    while (!finished) {
        int running = 0;
        if (api->multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
        int queued = 0;
        while (CURLMsg* msg = api->multi_info_read(multi, &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                code = msg->data.result;
                finished = true;
            }
        }
        if (finished)
            break;
        if (running == 0) {
            code = CURLE_RECV_ERROR;  // ended without saying how: not taken as complete
            break;
        }
        if (StopRequested(options)) {
            stopped = true;
            break;
        }
        if (std::chrono::steady_clock::now() - transfer.lastActivity > options.timeout) {
            stalled = true;
            break;
        }
        api->multi_poll(multi, nullptr, 0, kPollSliceMs, nullptr);
    }
    api->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.httpStatus);
    api->multi_remove_handle(multi, curl);
    api->easy_cleanup(curl);
    api->multi_cleanup(multi);
    result.bytes = transfer.bytes;

    if (stopped) {
        dlog::Write(u"FetchHttpFile: %S stopped.\n", path);
        return fail(FetchReport::Failure::Transfer);
    }
    if (stalled) {
        dlog::Write(transfer.bytes > 0 || result.httpStatus != 0 ? u"Receive error.\n" : u"Connect failed.\n");
        dlog::Write(u"FetchHttpFile: %S: nothing arrived for %i ms.\n", url, static_cast<int>(timeoutMs));
        return fail(transfer.bytes > 0 || result.httpStatus != 0 ? FetchReport::Failure::Transfer
                                                                 : FetchReport::Failure::Unreachable);
    }
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        dlog::Write(u"FetchHttpFile: ERROR: %S is longer than %u bytes.\n", path,
                    static_cast<unsigned long long>(options.maxBytes));
        return fail(FetchReport::Failure::Transfer);
    }
    if (transfer.writeFailed) {
        dlog::Write(u"FetchHttpFile: ERROR: %S not written.\n", localFile);
        return fail(FetchReport::Failure::Transfer);
    }
    if (code != CURLE_OK) {
        dlog::Write(LogLine(code));
        dlog::Write(u"FetchHttpFile: %S: %S\n", url, std::string(message[0] ? message : api->easy_strerror(code)));
        return fail(FailureOf(code));
    }
    result.crc = FinishCrc(transfer.crc);
    result.sha256 = Sha256Text(transfer.sha.Finish());
    dlog::Write(u"File received okay.\n");
    if (options.keep && !options.keep(result.crc, result.sha256))
        return true;
    if (!file.Commit(AtomicFileWriter::Durability::Synced)) {
        dlog::Write(u"FetchHttpFile: ERROR: %S not written.\n", localFile);
        return fail(FetchReport::Failure::Transfer);
    }
    result.kept = true;
    return true;
}

}  // namespace mirudex::update
