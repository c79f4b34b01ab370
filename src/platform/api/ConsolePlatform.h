#pragma once
// The platform of a terminal program: message boxes go to standard error and
// are answered "No" (or OK), nothing has a status bar, and the clipboard is a
// value kept in memory.

#include <mutex>

#include "platform/api/Platform.h"

namespace mirudex::platform {

class ConsolePlatform : public Platform {
public:
    Answer MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons, Owner owner) override;
    void SetStatusText(int part, std::u16string_view text) override;
    void SetClipboardText(std::u16string_view text) override;
    void SetClipboardBytes(std::string_view bytes, std::string_view encoding) override;
    std::optional<std::u16string> ClipboardText() override;
    std::optional<std::string> ClipboardBytes(std::string_view encoding) override;
    [[noreturn]] void Exit(int status) override;

    // When true, message boxes are not printed (the tool's --quiet).
    void SetQuiet(bool quiet) { quiet_ = quiet; }

private:
    std::mutex mutex_;
    bool quiet_ = false;
    std::optional<std::u16string> text_;
    std::optional<std::string> bytes_;
    std::string bytesEncoding_;
};

}  // namespace mirudex::platform
