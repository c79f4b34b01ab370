#pragma once
// The commands of the search window's tool bars and text box, and the tool
// tip of each button.

#include <string_view>

#include "ui/common/CommandIds.h"  // ID_SEARCH_GO, ID_ENCODE_PASTE

namespace mirudex::ui {

inline constexpr int ID_TYPE_BEGINNING = 40004;
inline constexpr int ID_TYPE_MIDDLE = 40005;
inline constexpr int ID_TYPE_END = 40006;
inline constexpr int ID_TYPE_EXACT = 40007;
inline constexpr int ID_ROMAJI_CONVERSION = 40011;
inline constexpr int ID_KANA_INSENSITIVE = 40012;
inline constexpr int ID_ENCODE_COPY = 40015;  // CTRL+C in the text box
inline constexpr int ID_MATCH_SUBSTRINGS = 40017;
inline constexpr int ID_WORDS_ONLY = 40018;
inline constexpr int ID_SHOW_CONVERTED = 40019;
inline constexpr int ID_LANG_JAPANESE = 40022;
inline constexpr int ID_LANG_ENGLISH = 40023;
inline constexpr int ID_LANG_AUTOMATIC = 40024;
inline constexpr int ID_REVERSE_CONJUGATION = 40025;
inline constexpr int ID_LANG_KANJI = 40027;
inline constexpr int ID_RANDOM_WORD = 40034;
inline constexpr int ID_RANDOM_KANJI = 40035;

// Control ids of the window's children.
inline constexpr int kSearchEditId = 1111;
inline constexpr int kHistoryListId = 1121;

// The tool tip of a command, or "Whoops: (NULL)" for an id without one.
constexpr std::u16string_view SearchToolTip(int id)
{
    switch (id) {
    case ID_TYPE_BEGINNING: return u"Text appears at the beginning";
    case ID_TYPE_MIDDLE: return u"Text appears in the middle";
    case ID_TYPE_END: return u"Text appears at the end";
    case ID_TYPE_EXACT: return u"Search for exact text";
    case ID_SEARCH_GO: return u"Search";
    case ID_ROMAJI_CONVERSION: return u"Convert ROMAji to kana";
    case ID_KANA_INSENSITIVE: return u"Kana insensitive search";
    case ID_ENCODE_PASTE:
        return u"<-- (format)\nConvert whatever's on the clipboard\ninto (format) format.\nUNICODE is the default.";
    case ID_MATCH_SUBSTRINGS: return u"Match multiple substrings";
    case ID_WORDS_ONLY:
        return u"(checked)\nOnly search in the words (~kanji) for the text\n(unchecked)\nLet Mirudex choose how to "
               u"search.";
    case ID_SHOW_CONVERTED: return u"Show the converted string";
    case ID_LANG_JAPANESE: return u"Force Mirudex to search for this text as Japanese";
    case ID_LANG_ENGLISH: return u"Force Mirudex to search for this text as English";
    case ID_LANG_KANJI: return u"Force Mirudex to search for this text as Kanji information";
    case ID_LANG_AUTOMATIC: return u"Let Mirudex choose how to search";
    case ID_REVERSE_CONJUGATION:
        return u"If checked, this causes Mirudex to attempt to reverse-conjugate whatever word is being searched "
               u"for.";
    case ID_RANDOM_WORD: return u"Search for a random word";
    case ID_RANDOM_KANJI: return u"Search for a random kanji";
    default: return u"Whoops: (NULL)";
    }
}

}  // namespace mirudex::ui
