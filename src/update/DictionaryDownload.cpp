#include "update/DictionaryDownload.h"

#include "update/CurlLibrary.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace mirudex::update {

namespace {

struct Transfer {
    std::FILE* file = nullptr;
    const DownloadOptions* options = nullptr;
    std::uint64_t bytes = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    bool stopped = false;
};

size_t Write(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->options->maxBytes > 0 && t->bytes + n > t->options->maxBytes) {
        t->tooLarge = true;
        return 0;  // ends the transfer
    }
    if (std::fwrite(data, 1, n, t->file) != n) {
        t->writeFailed = true;
        return 0;
    }
    t->bytes += n;
    return n;
}

int Progress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t)
{
    auto* t = static_cast<Transfer*>(user);
    if (t->options->stop && t->options->stop->load()) {
        t->stopped = true;
        return 1;  // ends the transfer
    }
    if (t->options->progress)
        t->options->progress(static_cast<std::uint64_t>(received), static_cast<std::uint64_t>(total));
    return 0;
}

DownloadOutcome Fail(const std::string& file, DownloadStatus status, std::string error, DownloadOutcome outcome = {})
{
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    outcome.status = status;
    outcome.error = std::move(error);
    return outcome;
}

}  // namespace

DownloadOutcome DownloadToFile(const std::string& url, const std::string& file, const DownloadOptions& options)
{
    std::string unavailable;
    const CurlFunctions* api = SystemCurl(unavailable);
    if (!api)
        return Fail(file, DownloadStatus::Failed, unavailable);
    DownloadOutcome outcome;
    Transfer transfer;
    transfer.options = &options;
    transfer.file = std::fopen(file.c_str(), "wb");
    if (!transfer.file)
        return Fail(file, DownloadStatus::Failed, "the file " + file + " cannot be written");

    CURL* curl = api->easy_init();
    if (!curl) {
        std::fclose(transfer.file);
        return Fail(file, DownloadStatus::Failed, "the transfer library could not be started");
    }
    char message[CURL_ERROR_SIZE] = {0};
    api->easy_setopt(curl, CURLOPT_URL, url.c_str());
    api->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api->easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    api->easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    api->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    api->easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api->easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
    api->easy_setopt(curl, CURLOPT_USERAGENT, "Mirudex");
    api->easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
    api->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Write);
    api->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    api->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
    api->easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    api->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    if (options.maxBytes > 0)
        api->easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));

    const CURLcode result = api->easy_perform(curl);
    api->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &outcome.httpStatus);
    api->easy_cleanup(curl);
    const bool closed = std::fclose(transfer.file) == 0;
    outcome.bytes = transfer.bytes;

    if (transfer.stopped)
        return Fail(file, DownloadStatus::Stopped, "the download was stopped", outcome);
    if (transfer.tooLarge || result == CURLE_FILESIZE_EXCEEDED)
        return Fail(file, DownloadStatus::TooLarge, "the file is larger than the download limit", outcome);
    if (transfer.writeFailed || !closed)
        return Fail(file, DownloadStatus::Failed, "the file " + file + " could not be written", outcome);
    if (result != CURLE_OK)
        return Fail(file, DownloadStatus::Failed, message[0] ? message : api->easy_strerror(result), outcome);
    return outcome;
}

}  // namespace mirudex::update
