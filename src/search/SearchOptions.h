#pragma once
// The search options the search window's tool bar sets, and the search type
// that turns a text into a whole-string wildcard pattern.

#include <string>

namespace mirudex::search {

// Fullwidth wildcards, as a search text holds them after the fullwidth mapping.
inline constexpr char16_t kWildcardAny = u'\uFF3F';  // ＿ any run of characters, none included
inline constexpr char16_t kWildcardOne = u'\uFF1F';  // ？ exactly one character

// Where the text must appear; the values are the tool bar's 0..3.
enum class SearchType : int { Beginning = 0, Middle = 1, End = 2, Exact = 3 };

// Search type from the stored tool bar value: 0..3, or the button id 40004..40007.
// Anything else is the exact type.
SearchType SearchTypeFromStored(int value);

// The forced-language bits of a search.
inline constexpr int kLangJapanese = 1;
inline constexpr int kLangEnglish = 2;
inline constexpr int kLangKanji = 4;

// Set by the search window (or the command-line tool) before a search; read by
// the worker while it runs, never changed by it except for words_only, which
// the multiple-substrings mode switches on and restores.
struct SearchOptions {
    SearchType type = SearchType::Exact;
    bool words_only = false;
    bool kana_insensitive = true;
    bool romaji_conversion = false;
    bool match_substrings = false;
    // The text of the maximum-results field (at most 99 characters are read).
    std::u16string results_field = u"200";
};

// Adds ＿ to a text for the search type (beginning: at the end; middle: at both
// ends; end: at the start; exact: nothing), never doubling one already there.
// An empty text stays empty.
void ApplySearchType(std::u16string& text, SearchType type);

// The value of the results field: decimal, like C's wcstol on at most 99
// characters (leading blanks, a sign, digits); no digits give 0.
int ParseResultsField(std::u16string_view field);

// The maximum number of results a results field sets: its value, where 0 (also
// an empty field) or less means no maximum, given as -1.
int MaxResultsOfField(std::u16string_view field);

}  // namespace mirudex::search
