#pragma once
// The text side of the English search: how a search text becomes a list of
// words or one exact phrase, and how one entry's meanings text is tested
// against it. Pure functions on 8-bit text; the dictionary walk is in
// EnglishSearch.h.

#include <string>
#include <string_view>
#include <vector>

#include "search/SearchOptions.h"

namespace mirudex::search {

struct EnglishQuery {
    std::string text;  // narrowed to 8 bits and lower-cased
    bool exact = false;
    std::string phrase;              // when exact: the text between the outer quotes
    std::vector<std::string> words;  // when not exact: every term, in text order
};

// Letters of the English search are "a".."z" only: everything is lower case by then.
constexpr bool IsEnglishLetter(char c) { return c >= 'a' && c <= 'z'; }

// Narrows (each unit cut to its low byte), lower-cases A..Z and splits the text:
// outside quotes a word is a run of letters ("don't" gives "don" and "t"); a
// quoted part is one term, blanks and punctuation included; a text that starts
// and ends with a quote is an exact phrase.
EnglishQuery PrepareEnglishQuery(std::u16string_view text);

// ASCII upper case to lower case in place.
void LowerAscii(std::string& text);

// The part of one meaning that an exact phrase is compared with: from the first
// letter outside parentheses to the last one. A meaning without such a letter
// is returned whole.
std::string_view TrimMeaning(std::string_view meaning);

// Whether word occurs in text at a place the search type accepts: beginning -
// no letter before; middle - anywhere; end - a character after it that is not a
// letter; exact - no letter on either side.
bool FindEnglishWord(std::string_view text, std::string_view word, SearchType type);

// The whole test for one entry. meanings is the entry's line from its first
// "/" on, already lower-cased.
bool EnglishMeaningsMatch(const EnglishQuery& query, std::string_view meanings, SearchType type);

}  // namespace mirudex::search
