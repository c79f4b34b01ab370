#include "dict/SharedIndexBuild.h"

#include <filesystem>
#include <system_error>

#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/IndexFile.h"
#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "dict/SharedIndex.h"

namespace mirudex::dict {

namespace fs = std::filesystem;

SharedIndexBuild BuildSharedIndex(const std::string& folder, const std::string& dictionaryFile,
                                  const std::string& encoding, Registry& registry)
{
    SharedIndexBuild result;
    const fs::path file(dictionaryFile);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        result.error = dictionaryFile + " is not a dictionary file" + (error ? ": " + error.message() : "");
        return result;
    }
    // Loads look for the name the dictionary's path leads to in the end.
    const fs::path there = fs::path(folder) / fs::canonical(file, error).filename();
    if (error) {
        result.error = "cannot follow " + dictionaryFile + ": " + error.message();
        return result;
    }
    // The dictionary may lie in the folder itself; otherwise a link leads to it.
    if (!fs::equivalent(there, file, error)) {
        const fs::file_status status = fs::symlink_status(there, error);
        if (fs::exists(status) && !fs::is_symlink(status)) {
            result.error = there.string() + " is in the way (it is not a link)";
            return result;
        }
        fs::remove(there, error);
        error.clear();
        fs::create_symlink(file, there, error);
        if (error) {
            result.error = "cannot link " + there.string() + " to " + dictionaryFile + ": " + error.message();
            return result;
        }
    }
    // An index file of another kind would be asked about; here it simply goes.
    const std::string indexFile = there.string() + ".mxi";
    std::string difference;
    int64_t size = 0;
    if (CheckIndexFile(indexFile, IndexIdentity{}, difference, size, false) == IndexRead::WrongMagic)
        fs::remove(indexFile, error);

    registry.SetBOOL(opt::dictionaries::kIndexing, true);
    Dictionary dictionary;
    dictionary.path = there.string();
    dictionary.name = file.filename().string();
    dictionary.encoding = encoding;
    // Every structure with the load: the companion is written once.
    EDICT_Index_Load(dictionary, registry, {}, kAllStructures);
    if (dictionary.count == 0) {
        result.error = dictionaryFile + ": no entries could be read";
        return result;
    }
    PrepareStructures(dictionary, kAllStructures);

    // What a user's load will find.
    int code = 0;
    const auto identity =
        IdentityOfFile(dictionaryFile, LinesReadAs(dictionary), registry.GetINT(opt::buffer::kEDICT), code);
    IndexTable check;
    if (!identity || !LoadSharedIndexFrom(folder, dictionaryFile, *identity, check, {})) {
        result.error = "the index files of " + dictionaryFile + " could not be made in " + folder;
        return result;
    }
    result.built = true;
    result.entries = static_cast<int>(check.size());
    return result;
}

}  // namespace mirudex::dict
