#pragma once
// The search dispatcher: the one entry point of a search. It chooses the
// searches (Japanese, English, kanji information) from .\Search\Language, the
// "JP:" "EN:" "KN:" prefixes or the text itself, prepares the text (romaji to
// kana, fullwidth, reverse-conjugation variants, the search type's wildcards),
// runs them and sorts edict_results[0].
//
// Threads: runs on the search worker, which clears the lists before, with
// the settings the worker copied when it started; or, with the settings as
// they are now, on a program's only thread (the command-line tool, tests).

#include <string>

namespace mirudex::search {

class AppState;
struct SearchSettings;

// Bits of the status word beside kStatusTruncated (bit 0).
// The text chose English by itself (all ASCII, no prefix, no stored
// language), found nothing there, and, romaji conversion being on, was
// searched as the kana it spells wholly (sakana: さかな).
inline constexpr int kStatusSearchedAsJapanese = 2;
// A kanji-information search ran: the kanji it found are results too.
inline constexpr int kStatusKanjiInformation = 4;
// A Japanese text found nothing as typed and, reverse conjugation being off,
// its dictionary forms were searched instead (食べました: 食べる).
inline constexpr int kStatusSearchedConjugations = 8;

// Rewrites text in place (prefixes removed; when Japanese or kanji
// information is searched, converted to kana if asked and made fullwidth).
// Returns the status word of the last search run (bit 0: truncated) with the
// two bits above, 0 when none ran, -1 for an empty text (nothing searched,
// lists untouched). A text that is empty once its prefixes are removed
// searches nothing and returns 0.
int Edict_SearchFor(AppState& state, const SearchSettings& settings, std::u16string& text);
// The same with CurrentSearchSettings(state).
int Edict_SearchFor(AppState& state, std::u16string& text);

// Removes the "JP:" "EN:" "KN:" prefixes (also in lower case, several in a
// row) from the front of text; returns the language bits they force.
int TakeLanguagePrefixes(std::u16string& text);

// The copy of a prepared variant given to the kanji search: fullwidth ASCII
// letters, digits and punctuation back to ASCII, the wildcards ＿ and ？ kept
// fullwidth so that they stay wildcards.
std::u16string PrepareKanjiText(std::u16string_view variant);

}  // namespace mirudex::search
