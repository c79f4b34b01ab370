// mirudex-lookup --build-indexes FOLDER [FILE...]: the index files of the
// system's dictionaries, made once in a folder that every user's look-ups
// share (dict/SharedIndex.h). The package runs it when it is installed and
// whenever Debian's dictionaries change. The files are read as the default
// options read them (encoding, line buffer): a user whose options read a
// dictionary another way makes an index of their own, as without this.
// A dictionary file that is not there (a package removed) loses its files
// in the folder.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Commands.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "desktop/WorkingFolder.h"
#include "dict/DictionaryStore.h"
#include "dict/SharedIndex.h"
#include "dict/SharedIndexBuild.h"
#include "platform/api/ConsolePlatform.h"
#include "platform/api/Platform.h"

namespace mirudex::cli {

namespace {

namespace fs = std::filesystem;

// The encoding the default options give the dictionary of that file name; EUC-JP for any other.
std::string DefaultEncoding(Registry& defaults, const std::string& fileName)
{
    for (const auto& d : dict::ConfiguredDictionaries(defaults)) {
        const size_t cut = d->path.find_last_of("\\/");
        if (d->path.substr(cut == std::string::npos ? 0 : cut + 1) == fileName)
            return d->encoding;
    }
    return "EUC-JP";
}

}  // namespace

int RunBuildIndexesCommand(const Arguments& args)
{
    static platform::ConsolePlatform console;
    platform::Set(&console);
    std::error_code error;
    const std::string folder = fs::absolute(args.indexFolder, error).lexically_normal().string();
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        std::fprintf(stderr, "mirudex-lookup: cannot make the folder %s%s\n", folder.c_str(),
                     error ? (": " + error.message()).c_str() : "");
        return 2;
    }
    std::vector<std::string> files = args.indexDictionaries;
    if (files.empty()) {
        const desktop::DataSources debian = desktop::DataSources::Installed();
        files = {debian.edict, debian.names};
    }

    Registry defaults;
    defaults.LoadFromText(DefaultOptionsText());
    int status = 0;
    for (const std::string& given : files) {
        const fs::path file = fs::absolute(given, error).lexically_normal();
        const std::string name = file.filename().string();
        if (!fs::exists(file, error)) {
            dict::RemoveSharedIndex(folder, name);
            std::fprintf(stderr, "%s: not there; no index files for it in %s\n", file.c_str(), folder.c_str());
            continue;
        }
        const dict::SharedIndexBuild built =
            dict::BuildSharedIndex(folder, file.string(), DefaultEncoding(defaults, name), defaults);
        if (!built.built) {
            std::fprintf(stderr, "mirudex-lookup: %s\n", built.error.c_str());
            status = 2;
            continue;
        }
        std::fprintf(stderr, "%s: %d entries, index files in %s\n", file.c_str(), built.entries, folder.c_str());
    }
    return status;
}

}  // namespace mirudex::cli
