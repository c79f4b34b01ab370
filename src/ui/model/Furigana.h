#pragma once
// Readings over running text, without Qt: which part of a word its reading
// stands over (furigana: the kanji only, so 食べました shows た over 食 and
// leaves べました bare), and a read text with its readings in the two forms
// it is copied in, 漢字[かんじ] and HTML ruby.

#include <string>
#include <string_view>
#include <vector>

namespace mirudex::ui {

// A stretch of a word's text with what is written over it (nothing for kana).
struct RubyPiece {
    std::u16string text;
    std::u16string ruby;

    bool operator==(const RubyPiece&) const = default;
};

// Kanji, the iteration mark 々 and the like: characters that take a reading.
bool IsKanjiChar(char16_t c);
bool HasKanji(std::u16string_view text);

// The pieces of a word with its reading (kana, either script). The kana of the
// word are matched in the reading (hiragana and katakana alike) so that each
// run of kanji gets the part of the reading between them: 取り消す with
// とりけす gives 取[と] り 消[け] す. When they cannot be matched the kanji
// stretch between the common kana at both ends takes what is left of the
// reading. A word without kanji, or without a reading, is one bare piece.
std::vector<RubyPiece> FuriganaPieces(std::u16string_view word, std::u16string_view reading);

// The pieces of one text put together: 食[た]べました.
std::u16string BracketReadings(const std::vector<RubyPiece>& pieces);
// The same as an HTML fragment: <ruby>食<rt>た</rt></ruby>べました, the text
// escaped (& < > ") and line ends as <br>.
std::u16string RubyHtml(const std::vector<RubyPiece>& pieces);

}  // namespace mirudex::ui
