#pragma once
// libcurl, opened when the first download starts rather than linked into the
// program: with it come some thirty libraries (TLS, Kerberos, LDAP, SSH, IDN
// ...) that every start of the desktop program would otherwise load and
// relocate before its first line runs, for a feature used now and then.

#ifndef CURL_DISABLE_TYPECHECK
#define CURL_DISABLE_TYPECHECK  // the functions are called through pointers
#endif
#include <curl/curl.h>

#include <string>
#include <vector>

namespace mirudex::update {

struct CurlFunctions {
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_strerror) easy_strerror = nullptr;
    // The multi interface, so a transfer can wait in short slices and see a stop request at once.
    decltype(&curl_multi_init) multi_init = nullptr;
    decltype(&curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&curl_multi_perform) multi_perform = nullptr;
    decltype(&curl_multi_poll) multi_poll = nullptr;
    decltype(&curl_multi_info_read) multi_info_read = nullptr;
    decltype(&curl_multi_cleanup) multi_cleanup = nullptr;
};

// Opens the first of libraries (shared-object names) that opens and has every
// function. On failure, out is left empty and error says why, naming each
// library tried.
bool LoadCurlLibrary(const std::vector<std::string>& libraries, CurlFunctions& out, std::string& error);

// This system's libcurl (either build of it Debian ships), opened and
// initialised once, by the first call from any thread; nullptr, with the
// reason in error, when it cannot be.
const CurlFunctions* SystemCurl(std::string& error);

}  // namespace mirudex::update
