#include "search/Sorting.h"

#include <algorithm>
#include <cstdint>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "text/CharClass.h"

namespace mirudex::search {

namespace {

// Stable bottom-up merge sort that only ever compares elements in range, so a
// comparison that is not a strict weak ordering cannot make it misbehave.
template <typename T, typename Before>
void StableSort(std::vector<T>& list, Before before)
{
    const size_t n = list.size();
    if (n < 2)
        return;
    std::vector<T> buffer(n);
    std::vector<T>* from = &list;
    std::vector<T>* to = &buffer;
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n);
            const size_t hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                // Take from the right run only when it goes strictly before.
                if (before((*from)[j], (*from)[i]))
                    (*to)[k++] = std::move((*from)[j++]);
                else
                    (*to)[k++] = std::move((*from)[i++]);
            }
            while (i < mid)
                (*to)[k++] = std::move((*from)[i++]);
            while (j < hi)
                (*to)[k++] = std::move((*from)[j++]);
        }
        std::swap(from, to);
    }
    if (from != &list)
        list = std::move(*from);
}

// a before b given the level's greater-than and equality results.
bool Before(bool greater, bool equal) { return !greater && !equal; }

template <typename V>
bool NaturalBefore(const V& a, const V& b, bool descending)
{
    const bool gt = descending ? !(a > b) : (a > b);
    return Before(gt, a == b);
}

bool WordLengthAscending(const dict::Entry& a, const dict::Entry& b)
{
    return NaturalBefore(text::CharacterCount(a.word), text::CharacterCount(b.word), false);
}

bool MeaningBefore(const dict::Entry& a, const dict::Entry& b, bool descending)
{
    if (a.meanings.empty() || b.meanings.empty()) {
        dlog::Write(u"Sort: >: ERROR: a.meaning.size or b.meaning.size < 1");
        dlog::Write(u"Sort: ==: ERROR: a.meaning.size or b.meaning.size < 1");
        return WordLengthAscending(a, b);
    }
    if (a.meanings[0].empty() || b.meanings[0].empty()) {
        dlog::Write(u"Sort: >: ERROR: a.meaning[0].size or b.meaning[0].size < 1\n");
        dlog::Write(u"Sort: ==: ERROR: a.meaning[0].size or b.meaning[0].size < 1\n");
        return WordLengthAscending(a, b);
    }
    return NaturalBefore(a.meanings[0][0], b.meanings[0][0], descending);
}

template <typename V>
bool FirstStringBefore(const std::vector<V>& a, const std::vector<V>& b, bool descending, bool logMeanings)
{
    if (!a.empty() && !b.empty())
        return NaturalBefore(a[0], b[0], descending);
    if (logMeanings) {
        dlog::Write(u"KANJIDIC_Entry: >: ERROR: a.meanings.size or b.meanings.size < 1");
        dlog::Write(u"KANJIDIC_Entry: ==: ERROR: a.meanings.size or b.meanings.size < 1");
    }
    return NaturalBefore(a.size(), b.size(), descending);
}

template <typename V>
int Compare(const V& a, const V& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// One level's order of two entries' keys: below 0 when a goes before b, above
// 0 when b goes before a.
int CompareKeys(const EntryKeys& a, const EntryKeys& b, const EntrySortLevel& level)
{
    int c = 0;
    switch (level.key) {
    case kSortWord: c = a.word.compare(b.word); break;
    case kSortKana: c = a.kana.compare(b.kana); break;
    case kSortWordLength: c = Compare(text::CharacterCount(a.word), text::CharacterCount(b.word)); break;
    case kSortKanaLength: c = Compare(text::CharacterCount(a.kana), text::CharacterCount(b.kana)); break;
    case kSortRelevance: c = Compare(a.relevance, b.relevance); break;
    default: return Compare(text::CharacterCount(a.word), text::CharacterCount(b.word));
    }
    return level.descending ? -c : c;
}

}  // namespace

bool KeysBefore(const EntryKeys& a, const EntryKeys& b, const EntrySortLevel& level)
{
    return CompareKeys(a, b, level) < 0;
}

bool EntryBefore(const dict::Entry& a, const dict::Entry& b, const EntrySortLevel& level)
{
    if (level.key == kSortMeaning)
        return MeaningBefore(a, b, level.descending);
    return KeysBefore(EntryKeys{a.word, a.kana, a.relevance}, EntryKeys{b.word, b.kana, b.relevance}, level);
}

bool SortNeedsMeanings(const EntrySortState& state)
{
    return state.primary.key == kSortMeaning || state.secondary.key == kSortMeaning;
}

namespace {

// A level's key of an entry as one number that orders as CompareKeys does
// where the numbers differ: a length or the relevance itself, or a text's
// first four units (shorter texts filled with 0, the lowest unit). exact:
// equal numbers mean equal keys (no texts to compare).
struct LevelKey {
    uint64_t value;
    bool exact;
};

LevelKey KeyOf(const EntryKeys& e, const EntrySortLevel& level)
{
    auto prefix = [](std::u16string_view t) {
        uint64_t v = 0;
        for (size_t i = 0; i < 4; ++i)
            v = (v << 16) | (i < t.size() ? static_cast<uint64_t>(t[i]) : 0);
        return v;
    };
    LevelKey k{0, true};
    switch (level.key) {
    case kSortWord: k = {prefix(e.word), false}; break;
    case kSortKana: k = {prefix(e.kana), false}; break;
    case kSortWordLength: k.value = text::CharacterCount(e.word); break;
    case kSortKanaLength: k.value = text::CharacterCount(e.kana); break;
    case kSortRelevance: k.value = e.relevance; break;
    default: return {text::CharacterCount(e.word), true};  // never descending
    }
    if (level.descending)
        k.value = ~k.value;
    return k;
}

}  // namespace

std::vector<uint32_t> SortedOrder(const std::vector<EntryKeys>& keys, const EntrySortState& state)
{
    // Sorted on the numbers of both levels; the texts are compared only where
    // a text level's numbers are equal.
    struct Item {
        uint64_t first, second;
        uint32_t at;
    };
    std::vector<Item> items(keys.size());
    bool firstExact = true, secondExact = true;
    for (size_t i = 0; i < items.size(); ++i) {
        const LevelKey a = KeyOf(keys[i], state.primary), b = KeyOf(keys[i], state.secondary);
        items[i] = {a.value, b.value, static_cast<uint32_t>(i)};
        firstExact = a.exact;
        secondExact = b.exact;
    }
    StableSort(items, [&](const Item& a, const Item& b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (!firstExact)
            if (const int c = CompareKeys(keys[a.at], keys[b.at], state.primary); c != 0)
                return c < 0;
        if (a.second != b.second)
            return a.second < b.second;
        return !secondExact && CompareKeys(keys[a.at], keys[b.at], state.secondary) < 0;
    });
    std::vector<uint32_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = items[i].at;
    return order;
}

bool KanjiBefore(const dict::KanjiRecord& a, const dict::KanjiRecord& b, const KanjiSortLevel& level)
{
    if (level.header == kKanjiHeader1) {
        switch (level.item) {
        case 0: return NaturalBefore(a.code, b.code, level.descending);
        case 1: return FirstStringBefore(a.onReadings, b.onReadings, level.descending, false);
        case 2: return FirstStringBefore(a.kunReadings, b.kunReadings, level.descending, false);
        case 3: return NaturalBefore(a.strokes, b.strokes, level.descending);
        default: break;
        }
    } else if (level.header == kKanjiHeader2 && level.item == 1) {
        return FirstStringBefore(a.meanings, b.meanings, level.descending, true);
    }
    return NaturalBefore(a.code, b.code, false);
}

bool SortEntries(std::vector<dict::Entry>& list, const EntrySortState& state)
{
    if (list.empty())
        return false;
    // One pass with both levels gives what a stable pass by the secondary level
    // and then one by the primary level give; entries are moved once, at the end.
    auto before = [&](const dict::Entry& a, const dict::Entry& b) {
        if (EntryBefore(a, b, state.primary))
            return true;
        if (EntryBefore(b, a, state.primary))
            return false;
        return EntryBefore(a, b, state.secondary);
    };
    bool sorted = true;
    for (size_t i = 1; i < list.size() && sorted; ++i)
        sorted = !before(list[i], list[i - 1]);
    if (sorted)
        return true;  // the hand-over after a search finds the dispatcher's order
    std::vector<uint32_t> order(list.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<uint32_t>(i);
    StableSort(order, [&](uint32_t a, uint32_t b) { return before(list[a], list[b]); });
    std::vector<dict::Entry> moved;
    moved.reserve(list.size());
    for (uint32_t i : order)
        moved.push_back(std::move(list[i]));
    list.swap(moved);
    return true;
}

void SortKanji(std::vector<dict::KanjiRecord>& list, const KanjiSortState& state)
{
    if (state.secondary.header != 0)
        StableSort(list, [&](const dict::KanjiRecord& a, const dict::KanjiRecord& b) {
            return KanjiBefore(a, b, state.secondary);
        });
    if (state.primary.header != 0)
        StableSort(list, [&](const dict::KanjiRecord& a, const dict::KanjiRecord& b) {
            return KanjiBefore(a, b, state.primary);
        });
}

bool ClickEntrySortKey(EntrySortState& state, int t)
{
    if (t == kSortInfo)
        return false;
    if (t == state.primary.key) {
        state.primary.descending = !state.primary.descending;
        return true;
    }
    state.secondary = state.primary;
    state.primary = EntrySortLevel{t, false};
    return true;
}

bool ClickKanjiSortKey(KanjiSortState& state, int header, int item)
{
    if (header == kKanjiHeader2 && item == 0)
        return false;
    if (state.primary.header == header && state.primary.item == item) {
        state.primary.descending = !state.primary.descending;
        return true;
    }
    state.secondary = state.primary;
    state.primary = KanjiSortLevel{header, item, false};
    return true;
}

void RestoreSortStates(Registry& options, EntrySortState& entries, KanjiSortState& kanji)
{
    const int sort2 = options.GetINT(opt::results::kSort2);
    const bool sort2Asc = options.GetBOOL(opt::results::kSort2Asc);
    const int sort1 = options.GetINT(opt::results::kSort1);
    const bool sort1Asc = options.GetBOOL(opt::results::kSort1Asc);
    ClickEntrySortKey(entries, sort2);
    if (!sort2Asc)
        ClickEntrySortKey(entries, sort2);
    ClickEntrySortKey(entries, sort1);
    if (!sort1Asc)
        ClickEntrySortKey(entries, sort1);

    auto header = [](int level) { return level == 1 ? kKanjiHeader1 : kKanjiHeader2; };
    const int k2Header = header(options.GetINT(opt::kanji::kSort2Level));
    const int k2Item = options.GetINT(opt::kanji::kSort2Button);
    const bool k2Asc = options.GetBOOL(opt::kanji::kSort2Asc);
    const int k1Header = header(options.GetINT(opt::kanji::kSort1Level));
    const int k1Item = options.GetINT(opt::kanji::kSort1Button);
    const bool k1Asc = options.GetBOOL(opt::kanji::kSort1Asc);
    ClickKanjiSortKey(kanji, k2Header, k2Item);
    if (!k2Asc)
        ClickKanjiSortKey(kanji, k2Header, k2Item);
    ClickKanjiSortKey(kanji, k1Header, k1Item);
    if (!k1Asc)
        ClickKanjiSortKey(kanji, k1Header, k1Item);
}

void SaveSortStates(Registry& options, const EntrySortState& entries, const KanjiSortState& kanji)
{
    options.SetINT(opt::results::kSort1, entries.primary.key);
    options.SetBOOL(opt::results::kSort1Asc, !entries.primary.descending);
    options.SetINT(opt::results::kSort2, entries.secondary.key);
    options.SetBOOL(opt::results::kSort2Asc, !entries.secondary.descending);
    options.SetINT(opt::kanji::kSort1Level, kanji.primary.header == kKanjiHeader1 ? 1 : 2);
    options.SetINT(opt::kanji::kSort1Button, kanji.primary.item);
    options.SetBOOL(opt::kanji::kSort1Asc, !kanji.primary.descending);
    options.SetINT(opt::kanji::kSort2Level, kanji.secondary.header == kKanjiHeader1 ? 1 : 2);
    options.SetINT(opt::kanji::kSort2Button, kanji.secondary.item);
    options.SetBOOL(opt::kanji::kSort2Asc, !kanji.secondary.descending);
}

}  // namespace mirudex::search
