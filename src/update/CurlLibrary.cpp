#include "update/CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace mirudex::update {

namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& out, std::string& missing)
{
    out = reinterpret_cast<Function>(dlsym(library, name));
    if (!out)
        missing = name;
    return out != nullptr;
}

}  // namespace

bool LoadCurlLibrary(const std::vector<std::string>& libraries, CurlFunctions& out, std::string& error)
{
    error.clear();
    for (const std::string& name : libraries) {
        void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = dlerror();
            error += (error.empty() ? "" : "; ") + (why ? std::string(why) : name + " cannot be opened");
            continue;
        }
        CurlFunctions found;
        std::string missing;
        if (Find(library, "curl_global_init", found.global_init, missing) &&
            Find(library, "curl_easy_init", found.easy_init, missing) &&
            Find(library, "curl_easy_setopt", found.easy_setopt, missing) &&
            Find(library, "curl_easy_perform", found.easy_perform, missing) &&
            Find(library, "curl_easy_getinfo", found.easy_getinfo, missing) &&
            Find(library, "curl_easy_cleanup", found.easy_cleanup, missing) &&
            Find(library, "curl_easy_strerror", found.easy_strerror, missing) &&
            Find(library, "curl_multi_init", found.multi_init, missing) &&
            Find(library, "curl_multi_add_handle", found.multi_add_handle, missing) &&
            Find(library, "curl_multi_remove_handle", found.multi_remove_handle, missing) &&
            Find(library, "curl_multi_perform", found.multi_perform, missing) &&
            Find(library, "curl_multi_poll", found.multi_poll, missing) &&
            Find(library, "curl_multi_info_read", found.multi_info_read, missing) &&
            Find(library, "curl_multi_cleanup", found.multi_cleanup, missing)) {
            out = found;
            error.clear();
            return true;  // stays open for the rest of the run
        }
        dlclose(library);
        error += (error.empty() ? "" : "; ") + name + " has no " + missing;
    }
    if (libraries.empty())
        error = "no transfer library was named";
    return false;
}

const CurlFunctions* SystemCurl(std::string& error)
{
    static CurlFunctions functions;
    static std::string loadError;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] {
        // libcurl4 (OpenSSL) or libcurl3-gnutls: the same interface.
        loaded = LoadCurlLibrary({"libcurl.so.4", "libcurl-gnutls.so.4"}, functions, loadError);
        if (loaded)
            functions.global_init(CURL_GLOBAL_DEFAULT);
    });
    error = loaded ? std::string() : "the transfer library (libcurl) cannot be loaded: " + loadError;
    return loaded ? &functions : nullptr;
}

}  // namespace mirudex::update
