#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "platform/recording/RecordingPlatform.h"

namespace mirudex::fuzz {
namespace {

std::filesystem::path& Folder()
{
    static std::filesystem::path folder;
    return folder;
}

void RemoveFolder()
{
    dlog::Close();
    std::error_code ec;
    if (!Folder().empty()) {
        std::filesystem::current_path(Folder().parent_path(), ec);
        std::filesystem::remove_all(Folder(), ec);
    }
}

platform::RecordingPlatform& Platform()
{
    // Made once, on the first input, after the move into the session folder.
    static platform::RecordingPlatform* recording = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirudex-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mirudex-fuzz: mkdtemp");
            std::abort();
        }
        Folder() = pattern;
        std::filesystem::current_path(Folder());
        std::atexit(RemoveFolder);
        return new platform::RecordingPlatform;
    }();
    return *recording;
}

}  // namespace

Session::Session(const uint8_t* data, size_t size)
{
    Platform().Clear();
    dlog::Close();
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += data[i];
    if (sum % 8 == 0) {
        dlog::Open();
        dlog::SetLevel(2);
    }
}

Session::~Session()
{
    dlog::Close();
    dlog::SetLevel(0);
}

void WriteFile(const std::string& name, std::string_view bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<Registry> DefaultOptions()
{
    static const std::string text = DefaultOptionsText();
    auto options = std::make_unique<Registry>();
    options->LoadFromText(text);
    return options;
}

std::vector<std::string_view> Split(std::string_view data, char separator, size_t maxParts)
{
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const size_t at = data.find(separator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(data.substr(0, at));
        data.remove_prefix(at + 1);
    }
    parts.push_back(data);
    return parts;
}

std::u16string Units(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return units;
}

void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "mirudex-fuzz: %s:%d: property does not hold: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace mirudex::fuzz
