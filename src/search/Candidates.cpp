#include "search/Candidates.h"

#include <algorithm>
#include <limits>
#include <span>

#include "dict/Edict2Line.h"
#include "dict/Relevance.h"
#include "text/CharClass.h"

namespace mirudex::search {

namespace {

using Field = dict::IndexTable::Field;

bool IsWildcard(char16_t c) { return c == kWildcardAny || c == kWildcardOne; }

// Every posting of the lists, once, ascending.
std::vector<uint32_t> Merge(const std::vector<std::span<const uint32_t>>& lists)
{
    if (lists.size() == 1)
        return std::vector<uint32_t>(lists[0].begin(), lists[0].end());
    size_t total = 0;
    for (const auto& l : lists)
        total += l.size();
    std::vector<uint32_t> out;
    out.reserve(total);
    for (const auto& l : lists)
        out.insert(out.end(), l.begin(), l.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void Intersect(std::optional<std::vector<uint32_t>>& into, std::vector<uint32_t> next)
{
    if (!into) {
        into = std::move(next);
        return;
    }
    std::vector<uint32_t> both;
    std::set_intersection(into->begin(), into->end(), next.begin(), next.end(), std::back_inserter(both));
    *into = std::move(both);
}

// The runs of letters of a text.
std::vector<std::string_view> LetterRuns(std::string_view text)
{
    std::vector<std::string_view> runs;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !IsEnglishLetter(text[i]))
            ++i;
        const size_t start = i;
        while (i < text.size() && IsEnglishLetter(text[i]))
            ++i;
        if (i > start)
            runs.push_back(text.substr(start, i - start));
    }
    return runs;
}

}  // namespace

unsigned StructuresFor(std::u16string_view pattern)
{
    return std::any_of(pattern.begin(), pattern.end(), IsWildcard) ? dict::kSortedOrders | dict::kGramPostings
                                                                   : dict::kSortedOrders;
}

std::optional<std::vector<uint32_t>> PatternCandidates(const dict::IndexTable& index, Field field,
                                                       std::u16string_view pattern)
{
    if (!index.Has(StructuresFor(pattern)))
        return std::nullopt;
    std::u16string folded(pattern);
    for (char16_t& c : folded)
        c = text::ToKatakana(c);
    const size_t firstWild = std::find_if(folded.begin(), folded.end(), IsWildcard) - folded.begin();
    if (firstWild == folded.size())
        return index.Exact(field, folded);

    // The cheapest of: the records starting with the text before the first
    // wildcard, those ending with the text after the last one, and the
    // postings of the rarest character or pair of characters of any piece.
    enum class Source { None, Prefix, Suffix, Grams };
    Source best = Source::None;
    size_t bestSize = std::numeric_limits<size_t>::max();
    std::span<const uint32_t> bestGrams;
    const std::u16string_view lead = std::u16string_view(folded).substr(0, firstWild);
    const size_t lastWild =
        folded.size() - 1 -
        static_cast<size_t>(std::find_if(folded.rbegin(), folded.rend(), IsWildcard) - folded.rbegin());
    const std::u16string_view trail = std::u16string_view(folded).substr(lastWild + 1);
    if (!lead.empty()) {
        bestSize = index.PrefixCount(field, lead);
        best = Source::Prefix;
    }
    if (!trail.empty()) {
        if (const size_t n = index.SuffixCount(field, trail); n < bestSize) {
            bestSize = n;
            best = Source::Suffix;
        }
    }
    for (size_t i = 0; i < folded.size() && bestSize > 0; ++i) {
        if (IsWildcard(folded[i]))
            continue;
        const bool pair = i + 1 < folded.size() && !IsWildcard(folded[i + 1]);
        // A single character only where it stands alone between wildcards.
        const bool alone = !pair && (i == 0 || IsWildcard(folded[i - 1]));
        if (!pair && !alone)
            continue;
        const auto postings = index.Grams(field, folded[i], pair ? folded[i + 1] : u'\0');
        if (postings.size() < bestSize) {
            bestSize = postings.size();
            bestGrams = postings;
            best = Source::Grams;
        }
    }
    switch (best) {
    case Source::None: return std::nullopt;
    case Source::Prefix: return index.Prefix(field, lead);
    case Source::Suffix: return index.Suffix(field, trail);
    case Source::Grams: return std::vector<uint32_t>(bestGrams.begin(), bestGrams.end());
    }
    return std::nullopt;
}

std::optional<std::vector<uint32_t>> EnglishCandidates(const dict::IndexTable& index, const EnglishQuery& query,
                                                       SearchType type)
{
    if (!index.Has(dict::kEnglishWords) || !index.HasWords())
        return std::nullopt;
    std::optional<std::vector<uint32_t>> out;
    std::vector<std::span<const uint32_t>> lists;
    if (query.exact) {
        // A phrase equals a meaning trimmed at letters that have no letter
        // beside them outside it: each run of letters in it is a whole word.
        for (std::string_view run : LetterRuns(query.phrase)) {
            const auto postings = index.WordPostings(run);
            Intersect(out, std::vector<uint32_t>(postings.begin(), postings.end()));
        }
        return out;
    }
    for (const std::string& term : query.words) {
        lists.clear();
        const std::vector<std::string_view> runs = LetterRuns(term);
        if (runs.empty())
            continue;  // nothing to look up: this term does not narrow the search
        if (runs.size() == 1 && runs[0].size() == term.size()) {
            switch (type) {
            case SearchType::Exact: lists.push_back(index.WordPostings(term)); break;
            case SearchType::Beginning: index.WordsStartingWith(term, lists); break;
            case SearchType::End: index.WordsEndingWith(term, lists); break;
            case SearchType::Middle: index.WordsContaining(term, lists); break;
            }
        } else {
            // A quoted term with blanks or punctuation: its longest run of
            // letters stands somewhere inside a word.
            const auto longest =
                std::max_element(runs.begin(), runs.end(), [](auto a, auto b) { return a.size() < b.size(); });
            index.WordsContaining(*longest, lists);
        }
        Intersect(out, lists.empty() ? std::vector<uint32_t>() : Merge(lists));
        if (out->empty())
            break;
    }
    return out;
}

namespace {

// The bytes from a record's line to the next line of the index (0 for the last one).
uint64_t LineLength(const dict::IndexTable& index, size_t record)
{
    const int64_t offset = index[record].offset;
    for (size_t next = record + 1; next < index.size() && next < record + 64; ++next)
        if (const int64_t o = index[next].offset; o != offset)
            return o > offset ? static_cast<uint64_t>(o - offset) : 0;
    return 0;
}

}  // namespace

uint64_t JapaneseRelevance(bool sameForm, const dict::IndexTable& index, size_t record)
{
    const uint64_t own = dict::EntryPenalty(index.EntryRank(record), false);
    const uint64_t length = std::min<uint64_t>(index[record].word.size(), 0xFFFF);
    return (sameForm ? 0 : uint64_t{1} << 62) | (own << 40) | (length << 24) |
           std::min<uint64_t>(LineLength(index, record), 0xFFFFFF);
}

uint64_t EnglishRelevance(uint32_t matchRank, const dict::IndexTable& index, size_t record)
{
    const uint64_t score = matchRank + dict::EntryPenalty(index.EntryRank(record), true);
    return (score << 32) | std::min<uint64_t>(LineLength(index, record), 0xFFFFFFFF);
}

uint64_t EnglishRelevanceAtLeast(const dict::IndexTable& index, size_t record)
{
    return uint64_t{dict::EntryPenalty(index.EntryRank(record), true)} << 32;
}

uint64_t EnglishRelevanceOfPosting(uint8_t stored, const dict::IndexTable& index, size_t record)
{
    return (uint64_t{stored} << 32) | std::min<uint64_t>(LineLength(index, record), 0xFFFFFFFF);
}

std::string_view MeaningsOf(std::string_view line)
{
    const size_t first = line.find('/');
    if (first == std::string_view::npos)
        return {};
    return dict::WithoutEntryId(line.substr(first, line.rfind('/') + 1 - first));
}

}  // namespace mirudex::search
