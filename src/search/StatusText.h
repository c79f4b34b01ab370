#pragma once
// Status texts of the searches and loads go to part 0 of the main window's
// status bar through the platform layer (which hands them to the
// user-interface thread), cut to the length of the text buffers they had.

#include <string>
#include <string_view>

#include "core/Format.h"
#include "platform/api/Platform.h"
#include "text/CharClass.h"

namespace mirudex::search {

// Buffer sizes, terminating zero included.
inline constexpr size_t kStatusBuffer = 1024;
inline constexpr size_t kSearchCompleteBuffer = 400;
inline constexpr size_t kRadicalStatusBuffer = 100;

inline std::u16string CutToBuffer(std::u16string text, size_t buffer)
{
    if (buffer > 0 && text.size() > buffer - 1)
        text.resize(text::CharacterBoundary(text, buffer - 1));
    return text;
}

inline void SetStatus(std::u16string text, size_t buffer = kStatusBuffer)
{
    platform::Get().SetStatusText(0, CutToBuffer(std::move(text), buffer));
}

}  // namespace mirudex::search
