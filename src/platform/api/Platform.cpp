#include "platform/api/Platform.h"

namespace mirudex::platform {

std::optional<std::string> Platform::ChooseOpenFile(std::u16string_view) { return std::nullopt; }

std::optional<std::string> Platform::ChooseSaveFile(std::u16string_view) { return std::nullopt; }

void Platform::SetClipboardTextAndHtml(std::u16string_view text, std::u16string_view) { SetClipboardText(text); }

void Platform::WatchClipboard(std::function<void()>) {}

void Platform::WatchSelection(std::function<void()>) {}

std::optional<std::u16string> Platform::SelectionText() { return std::nullopt; }

std::optional<FontChoice> Platform::ChooseFont(const FontChoice&, int, int) { return std::nullopt; }

std::optional<int> Platform::ChooseColor(int) { return std::nullopt; }
bool Platform::HasFontFor(std::u16string_view) { return true; }

std::string FilePath(std::string_view optionPath)
{
    std::string out(optionPath);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

}  // namespace mirudex::platform
