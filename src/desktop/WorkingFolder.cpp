#include "desktop/WorkingFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/BuildConfig.h"
#include "text/Encoding.h"

namespace mirudex::desktop {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Relative folders are taken from the current directory, once, here.
std::string Absolute(const std::string& folder, const std::string& current)
{
    fs::path path(folder);
    if (path.is_relative())
        path = fs::path(current) / path;
    return path.lexically_normal().string();
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

bool NonEmptyFile(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error) && fs::file_size(path, error) > 0 && !error;
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// DICT/<name> becomes a link to the system's dictionary file, unless the
// folder already has something under that name (a link that leads nowhere
// counts as something: the user may have made it).
void LinkDictionary(const fs::path& folder, const std::string& name, const std::string& target, const char* package,
                    Preparation& result)
{
    const fs::path link = folder / "DICT" / name;
    std::error_code error;
    if (fs::symlink_status(link, error).type() != fs::file_type::not_found)
        return;
    if (!Exists(target)) {
        result.problems.push_back("The dictionary " + target + " is missing: install the " + package + " package.");
        return;
    }
    fs::create_symlink(target, link, error);
    if (error)
        result.problems.push_back("Cannot link " + link.string() + " to " + target + ": " + error.message() + ".");
}

// radkfile.dat: the program reads the radical file as Shift-JIS; Debian's is EUC-JP.
void MakeRadicalFile(const fs::path& folder, const std::vector<std::string>& sources, Preparation& result)
{
    const std::string target = (folder / "radkfile.dat").string();
    if (NonEmptyFile(target))
        return;
    for (const std::string& source : sources) {
        if (!NonEmptyFile(source))
            continue;
        const std::optional<std::string> bytes = ReadWholeFile(source);
        const std::optional<std::string> converted =
            bytes ? text::ConvertEncoding(*bytes, "EUC-JP", "SHIFT_JIS") : std::nullopt;
        AtomicFileWriter writer;
        if (converted && writer.Open(target) && writer.Write(*converted) && writer.Commit())
            return;
        result.problems.push_back("Cannot make " + target + " from " + source + ".");
        result.radicalFileMissing = true;
        return;
    }
    result.radicalFileMissing = true;
    result.problems.push_back(
        "The radical file is missing: install the xjdic package (it provides "
        "/var/lib/xjdic/radkfile) to find kanji by their radicals.");
}

void CopyDataFile(const fs::path& folder, const std::string& dataDirectory, const char* name, Preparation& result)
{
    const fs::path target = folder / name;
    if (Exists(target.string()))
        return;
    const fs::path source = fs::path(dataDirectory) / name;
    std::error_code error;
    if (dataDirectory.empty() || !fs::copy_file(source, target, error))
        result.problems.push_back("Cannot copy the program's file " + source.string() + " to " + target.string() +
                                  (error ? ": " + error.message() : std::string()) + ".");
}

}  // namespace

FolderInputs FolderInputs::FromEnvironment(std::optional<std::string> workdirOption)
{
    FolderInputs inputs;
    inputs.workdirOption = std::move(workdirOption);
    inputs.homeVariable = Environment(kHomeVariable);
    std::error_code error;
    inputs.currentDirectory = fs::current_path(error).string();
    inputs.xdgDataHome = Environment("XDG_DATA_HOME");
    inputs.home = Environment("HOME");
    return inputs;
}

std::optional<FolderChoice> ChooseWorkingFolder(const FolderInputs& inputs, std::string& error)
{
    if (inputs.workdirOption) {
        if (inputs.workdirOption->empty()) {
            error = "--workdir needs a folder";
            return std::nullopt;
        }
        return FolderChoice{Absolute(*inputs.workdirOption, inputs.currentDirectory), FolderReason::Option};
    }
    if (!inputs.homeVariable.empty())
        return FolderChoice{Absolute(inputs.homeVariable, inputs.currentDirectory), FolderReason::Environment};
    if (!inputs.currentDirectory.empty() && HoldsOptionsFile(inputs.currentDirectory))
        return FolderChoice{inputs.currentDirectory, FolderReason::Current};
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    fs::path base;
    if (!inputs.xdgDataHome.empty() && fs::path(inputs.xdgDataHome).is_absolute())
        base = inputs.xdgDataHome;
    else if (!inputs.home.empty() && fs::path(inputs.home).is_absolute())
        base = fs::path(inputs.home) / ".local" / "share";
    if (base.empty()) {
        error = "no folder to work in: set HOME, XDG_DATA_HOME or MIRUDEX_HOME, or use --workdir";
        return std::nullopt;
    }
    return FolderChoice{(base / "mirudex").lexically_normal().string(), FolderReason::Default};
}

bool HoldsOptionsFile(const std::string& folder) { return Exists((fs::path(folder) / kOptionsFileName).string()); }

std::string ProgramDirectory()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

std::string ProgramDataDirectory()
{
    const std::string programDir = ProgramDirectory();
    if (!programDir.empty()) {
        const fs::path installed = (fs::path(programDir) / ".." / "share" / "mirudex").lexically_normal();
        if (Exists((installed / "partsofspeech.mxf").string()))
            return installed.string();
    }
    const std::string source = build::kSourceDataDirectory;
    if (Exists((fs::path(source) / "partsofspeech.mxf").string()))
        return source;
    return {};
}

std::string SharedIndexDirectoryFor(const std::string& programDirectory)
{
    fs::path program = fs::path(programDirectory).lexically_normal();
    if (program.has_relative_path() && program.filename().empty())
        program = program.parent_path();  // "/usr/bin/"
    const fs::path bin = program.filename(), usr = program.parent_path().filename();
    if (bin != "bin" || usr != "usr")
        return {};
    const std::string root = program.parent_path().parent_path().string();
    return (fs::path(root == "/" ? std::string() : root).string() + build::kSharedIndexDirectory);
}

std::string SharedIndexDirectory() { return SharedIndexDirectoryFor(ProgramDirectory()); }

DataSources DataSources::Installed()
{
    DataSources sources;
    sources.dataDirectory = ProgramDataDirectory();
    sources.edict = "/usr/share/edict/edict";
    sources.kanjidic = "/usr/share/edict/kanjidic";
    sources.names = "/usr/share/edict/enamdict";
    sources.radicalFiles.push_back("/var/lib/xjdic/radkfile");
    const std::string cache = Environment("XDG_CACHE_HOME");
    const std::string home = Environment("HOME");
    if (!cache.empty() && fs::path(cache).is_absolute())
        sources.radicalFiles.push_back((fs::path(cache) / "mirudex" / "radkfile").string());
    else if (!home.empty())
        sources.radicalFiles.push_back((fs::path(home) / ".cache" / "mirudex" / "radkfile").string());
    return sources;
}

std::optional<Preparation> PrepareWorkingFolder(const std::string& folder, const DataSources& sources,
                                                std::string& error)
{
    Preparation result;
    const fs::path root(folder);
    std::error_code code;
    result.created = !fs::exists(root, code);
    fs::create_directories(root / "DICT", code);
    if (code || !fs::is_directory(root / "DICT", code)) {
        error = "cannot make the working folder " + folder + (code ? ": " + code.message() : std::string());
        return std::nullopt;
    }
    LinkDictionary(root, "edict", sources.edict, "edict", result);
    LinkDictionary(root, "kanjidic", sources.kanjidic, "kanjidic", result);
    if (!sources.names.empty())
        LinkDictionary(root, "enamdict", sources.names, "enamdict", result);
    MakeRadicalFile(root, sources.radicalFiles, result);
    CopyDataFile(root, sources.dataDirectory, "partsofspeech.mxf", result);
    CopyDataFile(root, sources.dataDirectory, "fuzzysearch.uni.dat", result);
    return result;
}

std::optional<EnteredFolder> EnterWorkingFolder(const FolderInputs& inputs, const DataSources& sources,
                                                std::string& error)
{
    std::optional<FolderChoice> choice = ChooseWorkingFolder(inputs, error);
    if (!choice)
        return std::nullopt;
    EnteredFolder entered;
    entered.choice = *choice;
    std::error_code code;
    if (fs::exists(choice->folder, code) && !fs::is_directory(choice->folder, code)) {
        error = "the working folder " + choice->folder + " is not a folder";
        return std::nullopt;
    }
    if (!HoldsOptionsFile(choice->folder)) {
        std::optional<Preparation> preparation = PrepareWorkingFolder(choice->folder, sources, error);
        if (!preparation)
            return std::nullopt;
        entered.prepared = true;
        entered.preparation = std::move(*preparation);
    }
    fs::current_path(choice->folder, code);
    if (code) {
        error = "cannot work in " + choice->folder + ": " + code.message();
        return std::nullopt;
    }
    return entered;
}

}  // namespace mirudex::desktop
