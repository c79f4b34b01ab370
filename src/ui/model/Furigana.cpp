#include "ui/model/Furigana.h"

#include <optional>

#include "text/CharClass.h"

namespace mirudex::ui {

namespace {

// Runs of the word: kanji and not kanji, alternating.
struct Run {
    std::u16string_view text;
    bool kanji;
};

std::vector<Run> Runs(std::u16string_view word)
{
    std::vector<Run> runs;
    size_t start = 0;
    for (size_t i = 1; i <= word.size(); ++i) {
        if (i == word.size() || IsKanjiChar(word[i]) != IsKanjiChar(word[start])) {
            runs.push_back({word.substr(start, i - start), IsKanjiChar(word[start])});
            start = i;
        }
    }
    return runs;
}

bool SameKana(char16_t a, char16_t b) { return text::ToHiragana(a) == text::ToHiragana(b); }

bool KanaMatch(std::u16string_view kana, std::u16string_view reading, size_t at)
{
    if (at + kana.size() > reading.size())
        return false;
    for (size_t i = 0; i < kana.size(); ++i)
        if (!SameKana(kana[i], reading[at + i]))
            return false;
    return true;
}

// Matches runs[r..] against reading[at..]; each kanji run takes at least one
// unit, the shortest that lets the rest match. Fills rubies[r..].
bool Align(const std::vector<Run>& runs, size_t r, std::u16string_view reading, size_t at,
           std::vector<std::u16string_view>& rubies)
{
    if (r == runs.size())
        return at == reading.size();
    const Run& run = runs[r];
    if (!run.kanji)
        return KanaMatch(run.text, reading, at) && Align(runs, r + 1, reading, at + run.text.size(), rubies);
    if (r + 1 == runs.size()) {
        if (at >= reading.size())
            return false;
        rubies[r] = reading.substr(at);
        return true;
    }
    for (size_t take = 1; at + take < reading.size(); ++take) {
        rubies[r] = reading.substr(at, take);
        if (Align(runs, r + 1, reading, at + take, rubies))
            return true;
    }
    return false;
}

void Append(std::vector<RubyPiece>& pieces, std::u16string_view text, std::u16string_view ruby)
{
    if (text.empty())
        return;
    if (ruby.empty() && !pieces.empty() && pieces.back().ruby.empty())
        pieces.back().text += text;
    else
        pieces.push_back({std::u16string(text), std::u16string(ruby)});
}

// The kana both ends share with the reading, the middle taking the rest.
std::vector<RubyPiece> TrimmedPieces(std::u16string_view word, std::u16string_view reading)
{
    size_t head = 0;
    while (head < word.size() && head < reading.size() && !IsKanjiChar(word[head]) &&
           SameKana(word[head], reading[head]))
        ++head;
    size_t tail = 0;
    while (tail < word.size() - head && tail < reading.size() - head && !IsKanjiChar(word[word.size() - 1 - tail]) &&
           SameKana(word[word.size() - 1 - tail], reading[reading.size() - 1 - tail]))
        ++tail;
    std::vector<RubyPiece> pieces;
    const std::u16string_view middle = word.substr(head, word.size() - head - tail);
    const std::u16string_view middleReading = reading.substr(head, reading.size() - head - tail);
    if (middleReading.empty())  // nothing left to read the kanji by
        return {{std::u16string(word), {}}};
    Append(pieces, word.substr(0, head), {});
    Append(pieces, middle, middleReading);
    Append(pieces, word.substr(word.size() - tail), {});
    return pieces;
}

void AppendEscaped(std::u16string& out, std::u16string_view text)
{
    for (char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\r': break;
        case u'\n': out += u"<br>\n"; break;
        default: out += c;
        }
    }
}

}  // namespace

bool IsKanjiChar(char16_t c)
{
    return (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || text::IsSurrogate(c);
}

bool HasKanji(std::u16string_view text)
{
    for (char16_t c : text)
        if (IsKanjiChar(c))
            return true;
    return false;
}

std::vector<RubyPiece> FuriganaPieces(std::u16string_view word, std::u16string_view reading)
{
    if (word.empty())
        return {};
    if (reading.empty() || !HasKanji(word))
        return {{std::u16string(word), {}}};
    const std::vector<Run> runs = Runs(word);
    std::vector<std::u16string_view> rubies(runs.size());
    if (!Align(runs, 0, reading, 0, rubies))
        return TrimmedPieces(word, reading);
    std::vector<RubyPiece> pieces;
    for (size_t r = 0; r < runs.size(); ++r)
        Append(pieces, runs[r].text, runs[r].kanji ? rubies[r] : std::u16string_view());
    return pieces;
}

std::u16string BracketReadings(const std::vector<RubyPiece>& pieces)
{
    std::u16string out;
    for (const RubyPiece& piece : pieces) {
        out += piece.text;
        if (!piece.ruby.empty())
            out += u'[' + piece.ruby + u']';
    }
    return out;
}

std::u16string RubyHtml(const std::vector<RubyPiece>& pieces)
{
    std::u16string out;
    for (const RubyPiece& piece : pieces) {
        if (piece.ruby.empty()) {
            AppendEscaped(out, piece.text);
            continue;
        }
        out += u"<ruby>";
        AppendEscaped(out, piece.text);
        out += u"<rt>";
        AppendEscaped(out, piece.ruby);
        out += u"</rt></ruby>";
    }
    return out;
}

}  // namespace mirudex::ui
