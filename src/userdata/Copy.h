#pragma once
// Copying entries to the clipboard: the word, the kana, the meanings or the
// whole entry laid out by the user's format (.\Results\Copy\Format), in the
// encoding chosen in the search window's encoding list.
//
// Format language. Stored values are enclosed in braces, which are dropped
// (a value shorter than two characters gives the empty text). In Format and
// SepMultiple the escapes \n (line feed), \t (tab) and \: (colon) are
// expanded; in Format the keys %word, %kana, %info (markers joined by
// SepInfo), %meaning (meanings joined by SepMeaning) and %senses (the
// meanings by sense with each sense's markers, glosses joined by
// SepMeaning: dict::SenseGroupedText) are then replaced
// wherever they stand, also inside text an earlier replacement brought in.
// Two guards keep that finite and predictable: text that came from an entry
// or a separator is never escape-expanded (a SepMeaning of "\n" stays a
// backslash and an n), and a key is not replaced inside text that its own
// replacement brought in (a meaning reading "%meaning" stays as it is).
// The work is linear in the text made, and one entry's text is cut at
// kMaxCopyTextLength characters, so a dictionary line crafted to nest the
// keys in one another cannot stall or exhaust the program.
//
// Threads: the user-interface thread (the clipboard goes through the platform).

#include <string>
#include <string_view>
#include <vector>

#include "dict/Entry.h"

namespace mirudex {
class Registry;
}

namespace mirudex::userdata {

// The most characters one expansion of a format brings in.
inline constexpr size_t kMaxCopyTextLength = 1'000'000;

// What CopyEntries takes from each entry (result window menu items 5 to 8).
enum class CopyKind { Word = 0, Kana = 1, Meanings = 2, Formatted = 3 };

// The stored value without its first and last character (the braces).
std::u16string StripBraces(std::string_view stored);

// Expands \n, \t and \: in text.
std::u16string ExpandEscapes(std::u16string_view text);

// The meanings joined by SepMeaning, the info markers joined by SepInfo,
// the senses with their markers (glosses joined by SepMeaning).
std::u16string JoinMeanings(const dict::Entry& entry, Registry& options);
std::u16string JoinInfo(const dict::Entry& entry, Registry& options);
std::u16string JoinSenses(const dict::Entry& entry, Registry& options);

// The entry laid out by the template (braces already dropped); info,
// meanings and senses are the joined texts.
std::u16string FormatEntry(std::u16string_view format, const dict::Entry& entry, std::u16string_view info,
                           std::u16string_view meanings, std::u16string_view senses = {});
// The entry laid out by .\Results\Copy\Format.
std::u16string FormatEntry(const dict::Entry& entry, Registry& options);

// The text of every selected entry of list, in list order, separated by the
// expanded SepMultiple; a separator is added only when the text so far is
// not empty.
std::u16string SelectedEntriesText(const std::vector<dict::Entry>& list, CopyKind kind, Registry& options);

// Puts text on the clipboard in the encoding of the list row at
// comboPosition (the encoding list's selected index): the row "Normal
// Unicode (Windows)" as Unicode text, any other row as the text converted to
// its encoding, marked with that encoding's iconv name. When the encoding
// cannot hold a character, the text before it is copied and a message box
// names the character; with nothing before it (or an encoding the system
// cannot convert to) the clipboard keeps what it held. 0, or -1 when the
// position matches no row or the row is a heading; the clipboard is then
// left alone.
int CopyTextUsingComboboxEncoding(std::u16string_view text, int comboPosition);

// SelectedEntriesText put on the clipboard by CopyTextUsingComboboxEncoding,
// also when it is empty. Returns what that returns.
int CopyEntries(const std::vector<dict::Entry>& list, CopyKind kind, Registry& options, int comboPosition);

}  // namespace mirudex::userdata
