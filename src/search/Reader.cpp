#include "search/Reader.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "core/LineReader.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Candidates.h"
#include "text/CharClass.h"
#include "text/FuzzySearch.h"

namespace mirudex::search {

namespace {

// The longest conjugated ending put after a stem the dictionaries hold
// (させられませんでした and the like), in units.
constexpr size_t kMaxEndingUnits = 12;

bool IsJapanese(char16_t c)
{
    if (c == u'・')
        return false;  // the katakana middle dot separates words
    return text::IsKana(c) || (c >= 0x3005 && c <= 0x3007) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || text::IsSurrogate(c);
}

bool IsDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

bool IsLatin(char16_t c)
{
    return text::IsAsciiLetter(c) || (c >= u'Ａ' && c <= u'Ｚ') || (c >= u'ａ' && c <= u'ｚ') ||
           (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7);
}

bool IsPunctuation(char16_t c)
{
    return (c <= 0x7F && !IsDigit(c) && !text::IsAsciiLetter(c)) || (c >= 0x00A0 && c <= 0x00BF) || c == 0x00D7 ||
           c == 0x00F7 || (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F && !IsJapanese(c)) ||
           c == u'・' || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF01 && c <= 0xFF65 && !IsDigit(c) && !IsLatin(c));
}

TokenKind KindOf(char16_t c)
{
    if (IsJapanese(c))
        return TokenKind::Unknown;
    if (IsDigit(c))
        return TokenKind::Number;
    if (IsLatin(c))
        return TokenKind::Latin;
    if (IsPunctuation(c))
        return TokenKind::Punctuation;
    return TokenKind::Other;
}

bool SameFolded(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (text::ToKatakana(a[i]) != text::ToKatakana(b[i]))
            return false;
    return true;
}

// How the surface reads, given the dictionary form it was found as and the
// reading of that form: the form's ending after what it shares with the
// surface is taken off the reading, and the surface's own ending put on.
std::u16string ReadingOf(std::u16string_view surface, std::u16string_view form, std::u16string_view kana)
{
    if (text::IsAllKana(surface))
        return std::u16string(surface);
    size_t shared = 0;
    while (shared < surface.size() && shared < form.size() && surface[shared] == form[shared])
        ++shared;
    const std::u16string_view formEnd = form.substr(shared), surfaceEnd = surface.substr(shared);
    if (!text::IsAllKana(surfaceEnd) || !text::IsAllKana(formEnd) || kana.size() < formEnd.size() ||
        !SameFolded(kana.substr(kana.size() - formEnd.size()), formEnd))
        return std::u16string(kana);
    std::u16string reading(kana.substr(0, kana.size() - formEnd.size()));
    reading += surfaceEnd;
    return reading;
}

class Reader {
public:
    explicit Reader(AppState& state) : state_(state)
    {
        for (size_t i = 0; i < state.store.edict_dictionaries.size(); ++i) {
            dict::Dictionary& d = *state.store.edict_dictionaries[i];
            if (!d.on)
                continue;
            dict::PrepareStructures(d, dict::kSortedOrders | dict::kRanks);
            on_.push_back(i);
        }
    }

    std::vector<ReadToken> Read(std::u16string_view text)
    {
        std::vector<ReadToken> tokens;
        size_t i = 0;
        while (i < text.size()) {
            const TokenKind kind = KindOf(text[i]);
            if (kind == TokenKind::Unknown) {
                size_t runEnd = i;
                while (runEnd < text.size() && KindOf(text[runEnd]) == TokenKind::Unknown)
                    ++runEnd;
                if (ReadWord(text, i, runEnd, tokens)) {
                    i += tokens.back().surface.size();
                    continue;
                }
                // Not in any dictionary: one character, joined to the unknown
                // characters right before it.
                const size_t length = text::CharacterLength(text, i);
                if (tokens.empty() || tokens.back().kind != TokenKind::Unknown ||
                    tokens.back().start + tokens.back().surface.size() != i) {
                    ReadToken token;
                    token.kind = TokenKind::Unknown;
                    token.start = i;
                    tokens.push_back(std::move(token));
                }
                tokens.back().surface.append(text.substr(i, length));
                tokens.back().reading = text::IsAllKana(tokens.back().surface) ? tokens.back().surface : u"";
                i += length;
                continue;
            }
            size_t end = i + 1;
            while (end < text.size() && KindOf(text[end]) == kind)
                ++end;
            ReadToken token;
            token.kind = kind;
            token.start = i;
            token.surface = text.substr(i, end - i);
            tokens.push_back(std::move(token));
            i = end;
        }
        return tokens;
    }

private:
    struct Match {
        size_t dictionary;  // position in the store's list
        uint32_t record;
        uint64_t relevance;
        std::u16string form;
    };

    // Whether any switched-on dictionary has a headword or reading starting with the folded text.
    bool AnyStartsWith(std::u16string_view folded) const
    {
        for (size_t d : on_) {
            const dict::IndexTable& index = state_.store.edict_dictionaries[d]->index;
            if (index.PrefixCount(dict::IndexTable::Field::Word, folded) > 0 ||
                index.PrefixCount(dict::IndexTable::Field::Kana, folded) > 0)
                return true;
        }
        return false;
    }

    // Looks up one form (the surface or a dictionary form of it); keeps the best match.
    void LookUp(const std::u16string& form, bool asWritten, std::optional<Match>& best) const
    {
        const std::u16string folded = text::ToKatakana(form);
        for (size_t d : on_) {
            const dict::Dictionary& dictionary = *state_.store.edict_dictionaries[d];
            const dict::IndexTable& index = dictionary.index;
            const size_t count = std::min(static_cast<size_t>(std::max(dictionary.count, 0)), index.size());
            for (auto field : {dict::IndexTable::Field::Word, dict::IndexTable::Field::Kana}) {
                for (uint32_t record : index.Exact(field, folded)) {
                    if (record >= count)
                        continue;
                    const uint64_t relevance = JapaneseRelevance(asWritten, index, record);
                    if (!best || relevance < best->relevance)
                        best = Match{d, record, relevance, form};
                }
            }
        }
    }

    // The longest word at `at` within the run of Japanese [at, runEnd),
    // appended as a token: false when there is none.
    bool ReadWord(std::u16string_view text, size_t at, size_t runEnd, std::vector<ReadToken>& tokens)
    {
        // How far the text, as written, begins some headword or reading: a
        // conjugated form is a stem as long at most and an ending.
        size_t stem = 0;
        std::u16string folded;
        const size_t limit = std::min(runEnd - at, kMaxReadWordUnits);
        for (size_t k = 1; k <= limit; ++k) {
            folded.push_back(text::ToKatakana(text[at + k - 1]));
            if (!AnyStartsWith(folded))
                break;
            stem = k;
        }
        if (stem == 0)
            return false;
        const size_t longest = std::min(limit, stem + kMaxEndingUnits);
        const text::FuzzyRules* rules =
            state_.fuzzy_rules && !state_.fuzzy_rules->Empty() ? state_.fuzzy_rules : nullptr;
        for (size_t length = longest; length > 0; --length) {
            if (length < runEnd - at && text::IsHighSurrogate(text[at + length - 1]) &&
                text::IsLowSurrogate(text[at + length]))
                continue;  // half a character
            const std::u16string surface(text.substr(at, length));
            std::optional<Match> best;
            if (length <= stem)
                LookUp(surface, true, best);
            // Conjugated forms end in kana.
            if (rules && text::IsKana(surface.back())) {
                const std::vector<std::u16string> variants = rules->FuzzySearch(surface);
                for (size_t v = 1; v < variants.size(); ++v)
                    if (std::find(variants.begin() + 1, variants.begin() + static_cast<std::ptrdiff_t>(v),
                                  variants[v]) == variants.begin() + static_cast<std::ptrdiff_t>(v))
                        LookUp(variants[v], false, best);
            }
            if (!best)
                continue;
            ReadToken token;
            token.kind = TokenKind::Word;
            token.start = at;
            token.surface = surface;
            token.form = best->form;
            Fill(*best, token.entry);
            const dict::IndexEntry record = state_.store.edict_dictionaries[best->dictionary]->index[best->record];
            token.reading = ReadingOf(surface, best->form, record.kana);
            tokens.push_back(std::move(token));
            return true;
        }
        return false;
    }

    // Reads the chosen entry's line (one open file per dictionary, kept for the whole text).
    void Fill(const Match& match, dict::Entry& entry)
    {
        const dict::Dictionary& dictionary = *state_.store.edict_dictionaries[match.dictionary];
        const dict::IndexEntry record = dictionary.index[match.record];
        std::unique_ptr<LineReader>& file = files_[match.dictionary];
        if (!file) {
            file = std::make_unique<LineReader>();
            file->Open(platform::FilePath(dictionary.path));
        }
        if (file->IsOpen())
            dict::LoadInfoInto(*file, state_.options, dictionary, entry, record);
        else
            dict::LoadInfoInto(state_.options, dictionary, entry, record);
        dict::SetInfo(entry, state_.store.marker_table);
        entry.relevance = match.relevance;
    }

    AppState& state_;
    std::vector<size_t> on_;  // the switched-on dictionaries
    std::map<size_t, std::unique_ptr<LineReader>> files_;
};

}  // namespace

std::vector<ReadToken> ReadText(AppState& state, std::u16string_view text) { return Reader(state).Read(text); }

}  // namespace mirudex::search
