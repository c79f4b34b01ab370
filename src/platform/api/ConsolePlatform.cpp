#include "platform/api/ConsolePlatform.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/api/Utf.h"

namespace mirudex::platform {

// The platform in use; until one is set, a program without windows (the
// terminal tool, the tests) talks to the console.
namespace {
std::atomic<Platform*> g_platform{nullptr};
}  // namespace

void Set(Platform* platform) { g_platform.store(platform); }

Platform& Get()
{
    static ConsolePlatform console;
    Platform* p = g_platform.load();
    return p ? *p : console;
}

Answer ConsolePlatform::MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons, Owner)
{
    if (!quiet_) {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "[%s] %s\n", Utf16ToUtf8(caption).c_str(), Utf16ToUtf8(text).c_str());
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

void ConsolePlatform::SetStatusText(int, std::u16string_view) {}

void ConsolePlatform::SetClipboardText(std::u16string_view text)
{
    std::lock_guard lock(mutex_);
    text_ = std::u16string(text);
    bytes_.reset();
}

void ConsolePlatform::SetClipboardBytes(std::string_view bytes, std::string_view encoding)
{
    std::lock_guard lock(mutex_);
    bytes_ = std::string(bytes);
    bytesEncoding_ = std::string(encoding);
    text_.reset();
}

std::optional<std::u16string> ConsolePlatform::ClipboardText()
{
    std::lock_guard lock(mutex_);
    return text_;
}

std::optional<std::string> ConsolePlatform::ClipboardBytes(std::string_view encoding)
{
    std::lock_guard lock(mutex_);
    if (bytes_ && bytesEncoding_ == encoding)
        return bytes_;
    return bytes_;
}

void ConsolePlatform::Exit(int status)
{
    std::fflush(nullptr);
    std::exit(status);
}

}  // namespace mirudex::platform
