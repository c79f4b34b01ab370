#include "dict/Relevance.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

namespace mirudex::dict {

namespace {

// Usage marks that tell a learner a word is not the everyday one.
constexpr std::array<std::string_view, 14> kMarks = {"arch", "obs",   "obsc", "rare", "sl", "net-sl", "vulg",
                                                     "X",    "derog", "ok",   "oK",   "ik", "iK",     "m-sl"};

bool IsMark(std::string_view tag) { return std::find(kMarks.begin(), kMarks.end(), tag) != kMarks.end(); }

bool AllDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether a lower-case text stands in a gloss (any case) with no letter on
// either side of it.
bool HoldsWholeWords(std::string_view gloss, std::string_view wanted)
{
    if (wanted.empty() || gloss.size() < wanted.size())
        return false;
    for (size_t at = 0; at + wanted.size() <= gloss.size(); ++at) {
        bool same = true;
        for (size_t k = 0; same && k < wanted.size(); ++k) {
            const char c = gloss[at + k];
            same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) == wanted[k];
        }
        if (same && (at == 0 || !IsLetter(gloss[at - 1])) &&
            (at + wanted.size() == gloss.size() || !IsLetter(gloss[at + wanted.size()])))
            return true;
    }
    return false;
}

// Whether a lower-case text stands anywhere in a gloss (any case).
bool HoldsFolded(std::string_view gloss, std::string_view wanted)
{
    if (wanted.empty())
        return true;
    const char first = wanted[0];
    const char upper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 32) : first;
    for (size_t at = 0; at + wanted.size() <= gloss.size(); ++at) {
        if (gloss[at] != first && gloss[at] != upper)
            continue;
        size_t k = 1;
        for (; k < wanted.size(); ++k) {
            const char c = gloss[at + k];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != wanted[k])
                break;
        }
        if (k == wanted.size())
            return true;
    }
    return false;
}

}  // namespace

GlossParts ReadGloss(std::string_view gloss)
{
    GlossParts parts;
    size_t i = 0;
    while (true) {
        while (i < gloss.size() && gloss[i] == ' ')
            ++i;
        if (i >= gloss.size() || (gloss[i] != '(' && gloss[i] != '{'))
            break;
        const char close = gloss[i] == '(' ? ')' : '}';
        const size_t end = gloss.find(close, i + 1);
        if (end == std::string_view::npos)
            break;
        const std::string_view group = gloss.substr(i + 1, end - i - 1);
        if (AllDigits(group)) {
            parts.newSense = true;
        } else if (group == "P" && end + 1 >= gloss.size() && i == 0) {
            parts.common = true;
        } else {
            // "(n,vs)", "(arch)", "{physics}": comma-separated tags.
            constexpr std::array<std::string_view, 5> kBound = {"pref", "suf", "n-pref", "n-suf", "ctr"};
            const std::string_view firstTag = group.substr(0, group.find(','));
            if (!parts.newSense && !parts.marked && std::find(kBound.begin(), kBound.end(), firstTag) != kBound.end())
                parts.bound = true;
            size_t t = 0;
            while (t <= group.size()) {
                size_t comma = group.find(',', t);
                if (comma == std::string_view::npos)
                    comma = group.size();
                if (IsMark(group.substr(t, comma - t)))
                    parts.marked = true;
                t = comma + 1;
            }
        }
        i = end + 1;
    }
    parts.core = gloss.substr(std::min(i, gloss.size()));
    return parts;
}

void GlossKey(std::string_view core, std::string& out, bool& note)
{
    out.clear();
    note = false;
    int depth = 0;
    bool blank = false;
    for (char c : core) {
        if (c == '(') {
            ++depth;
            note = true;
            blank = true;
            continue;
        }
        if (c == ')') {
            if (depth > 0)
                --depth;
            blank = true;
            continue;
        }
        if (depth > 0)
            continue;
        if (c == ' ' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out.push_back(' ');
        blank = false;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    }
    for (std::string_view lead : {"to ", "a ", "an ", "the "}) {
        if (out.size() > lead.size() && out.compare(0, lead.size(), lead) == 0) {
            out.erase(0, lead.size());
            break;
        }
    }
}

bool IsPhraseHead(std::string_view key, std::string_view word)
{
    if (key.size() <= word.size() + 1 || key[key.size() - word.size() - 1] != ' ' ||
        std::count(key.begin(), key.end(), ' ') > 2)
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if ((word[k] | 0x20) != key[key.size() - word.size() + k])
            return false;
    return true;
}

uint32_t ProductivitySteps(uint32_t count, size_t length)
{
    uint32_t steps = std::bit_width(count);
    if (length == 1)
        steps = steps > 3 ? steps - 3 : 0;
    return std::min(steps, kRankProductivitySteps);
}

std::u16string VerbStem(std::string_view meanings, std::u16string_view headword)
{
    if (headword.size() < 2 || std::all_of(headword.begin(), headword.end(),
                                           [](char16_t c) { return (c >= 0x3041 && c <= 0x30FF) || c < 0x80; }))
        return {};
    // The tags of the first gloss.
    const size_t slash = meanings.find('/');
    if (slash == std::string_view::npos)
        return {};
    const size_t end = meanings.find('/', slash + 1);
    const std::string_view first = meanings.substr(slash + 1, end == std::string_view::npos ? end : end - slash - 1);
    const std::string_view tags = first.substr(0, first.size() - ReadGloss(first).core.size());
    auto has = [&](std::string_view tag) {
        for (size_t at = tags.find(tag); at != std::string_view::npos; at = tags.find(tag, at + 1))
            if (at > 0 && (tags[at - 1] == '(' || tags[at - 1] == ','))
                return true;
        return false;
    };
    constexpr std::u16string_view kU = u"うくぐすつぬぶむる", kI = u"いきぎしちにびみり";
    const char16_t last = headword.back();
    if (has("v5")) {
        const size_t at = kU.find(last);
        if (at != std::u16string_view::npos)
            return std::u16string(headword.substr(0, headword.size() - 1)) + kI[at];
    }
    if (has("v1") && last == u'る')
        return std::u16string(headword.substr(0, headword.size() - 1));
    return {};
}

uint16_t EntryRank(std::string_view meanings, std::u16string_view headword, uint32_t productivitySteps)
{
    bool common = false, firstMarked = false, firstBound = false, first = true, inFirstSense = true;
    uint32_t senses = 1;
    size_t start = meanings.find('/');
    while (start != std::string_view::npos && start < meanings.size()) {
        size_t end = meanings.find('/', start + 1);
        if (end == std::string_view::npos)
            end = meanings.size();
        const GlossParts parts = ReadGloss(meanings.substr(start + 1, end - start - 1));
        start = end;
        if (parts.common) {
            common = true;
            continue;
        }
        if (first)
            firstBound = parts.bound;
        if (parts.newSense && !first) {
            inFirstSense = false;
            ++senses;
        }
        first = false;
        if (inFirstSense && parts.marked)
            firstMarked = true;
    }
    uint32_t rank = kRankEntryBase - std::min(productivitySteps, kRankProductivitySteps) * kRankProductivityStep;
    if (!common)
        rank += kRankUncommon;
    if (firstMarked)
        rank += kRankMarked;
    if (firstBound)
        rank += kRankBound;
    const bool katakana = !headword.empty() && std::all_of(headword.begin(), headword.end(),
                                                           [](char16_t c) { return c >= 0x30A1 && c <= 0x30FE; });
    return static_cast<uint16_t>(std::min<uint32_t>(rank, kEntryRankMask) |
                                 (std::min(senses - 1, kRankSenseSteps) << kEntrySensesShift) |
                                 (katakana ? kEntryLoanword : 0));
}

uint32_t PhraseRank(std::string_view meanings, std::string_view phrase)
{
    std::string wanted;
    bool note = false;
    GlossKey(phrase, wanted, note);
    if (wanted.empty())
        return kRankWorstMatch;
    // A gloss whose key is the phrase, or that holds it, holds its longest
    // run without blanks as it stands (a key's runs are the gloss's own
    // letters, lowered): a gloss without it is passed by unread.
    std::string_view run;
    for (size_t at = 0; at < wanted.size();) {
        size_t end = wanted.find(' ', at);
        if (end == std::string::npos)
            end = wanted.size();
        if (end - at > run.size())
            run = std::string_view(wanted).substr(at, end - at);
        at = end + 1;
    }
    uint32_t best = kRankWorstMatch;
    std::string key;
    ForEachGlossPlace(meanings, [&](std::string_view gloss, const GlossParts& parts, uint32_t base) {
        if (base >= best || !HoldsFolded(gloss, run))
            return true;
        bool withNote = false;
        GlossKey(parts.core, key, withNote);
        if (key == wanted)
            best = std::min(best, base + (withNote ? kRankNote : 0));
        else if (HoldsWholeWords(gloss, wanted))
            best = std::min(best, base + (IsPhraseHead(key, wanted) ? kRankPhraseHead : kRankInside));
        return best > 0;  // nothing beats the first gloss itself
    });
    return best;
}

}  // namespace mirudex::dict
