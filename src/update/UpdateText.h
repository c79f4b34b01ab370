#pragma once
// How the updater shows an update: each applicable update becomes a block of
// rich text (RTF) — the date in italics, the headline bold and larger, the
// version it applies to small, italic and grey, the information indented, a
// bold "Files" heading and the file lines indented and grey — and blue
// separator lines stand between updates. The section texts from the list go
// into the block as they are, so a list may format its own texts with RTF.
//
// ParseRichText reads the small part of RTF these blocks use into pieces of
// formatted text that a text view can show: groups, \b \i \fsN \cfN \liN
// \plain \pard, \line and \par, \colortbl, \'hh, \\ \{ \}. Everything else is
// skipped; unbalanced groups (a block cut short) are tolerated.
//
// Pure functions; any thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "update/UpdateList.h"

namespace mirudex::update {

// An update's block is cut to this many bytes.
inline constexpr size_t kMaxBlockBytes = 9999;

// The block for one update, filled with its DATE, NEWS, APPLIES TO, INFO and FILE texts.
std::string UpdateBlockRtf(const UpdateRecord& record);
// The separator inserted after every update but the last.
std::string_view UpdateSeparatorRtf();

struct RichFormat {
    bool bold = false;
    bool italic = false;
    int halfPoints = 0;  // font size in half points; 0: the view's own size
    bool hasColour = false;
    std::uint8_t red = 0, green = 0, blue = 0;
    int leftIndentTwips = 0;  // 1440 twips to the inch
    bool operator==(const RichFormat&) const = default;
};

struct RichPiece {
    enum class Kind { Text, Break };
    Kind kind = Kind::Text;
    std::string text;  // the 8-bit bytes of a text piece
    RichFormat format;
};

// The text and line breaks (\line and \par alike) of some RTF, in order;
// neighbouring text of the same format forms one piece.
std::vector<RichPiece> ParseRichText(std::string_view rtf);

}  // namespace mirudex::update
