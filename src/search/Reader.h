#pragma once
// The reader: running Japanese text (a sentence from a book, a web page, a
// chat) split into tokens, each word with the dictionary entry it stands for.
//
// The tokens put together give the text back exactly. At each point of a run
// of Japanese (kana, kanji) the longest stretch that the switched-on
// dictionaries hold is taken, as a headword or a reading, compared
// kana-insensitively, either as written or as one of its dictionary forms
// from reverse conjugation (食べました is one token, found as 食べる). When
// several entries hold the stretch, the most relevant one (JapaneseRelevance:
// the form as written first, then common words) is the token's entry; only
// that entry's line is read. Japanese that no dictionary holds becomes a
// token of its own, and so does every run of digits, of Latin letters, of
// punctuation and blanks, and of other characters.
//
// Threads: reads the dictionaries as a search does, and may build their
// sorted orders and ranks (dict::PrepareStructures): call it where a search
// could run (the worker, or a program without one).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dict/Entry.h"

namespace mirudex::search {

class AppState;

enum class TokenKind {
    Word,         // Japanese found in a dictionary
    Unknown,      // Japanese no dictionary holds
    Number,       // digits, halfwidth or fullwidth
    Latin,        // Latin letters, halfwidth or fullwidth
    Punctuation,  // punctuation, symbols and blanks
    Other,        // anything else
};

struct ReadToken {
    TokenKind kind = TokenKind::Other;
    size_t start = 0;        // where the surface begins in the text, in UTF-16 units
    std::u16string surface;  // the token as it stands in the text
    // The dictionary form the surface was found as (食べる for 食べました;
    // the surface itself when it was found as written). Words only.
    std::u16string form;
    // The entry (word and kana of the form found, meanings, info). Words only.
    dict::Entry entry;
    // How the surface reads, in kana (たべました): the entry's reading with
    // the conjugated ending put back. Empty for anything but Japanese.
    std::u16string reading;

    bool found() const { return kind == TokenKind::Word; }
};

// The longest stretch of Japanese, in UTF-16 units, looked up as one word.
inline constexpr size_t kMaxReadWordUnits = 24;

// The tokens of the text, in order. Uses the switched-on dictionaries of
// state.store and state.fuzzy_rules (none: no reverse conjugation).
std::vector<ReadToken> ReadText(AppState& state, std::u16string_view text);

}  // namespace mirudex::search
