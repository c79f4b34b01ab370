#include "text/FuzzySearch.h"

#include <algorithm>

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

namespace mirudex::text {
namespace {

std::vector<std::u16string> SplitAtCommas(std::u16string_view list)
{
    std::vector<std::u16string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(u',', start);
        if (comma == std::u16string_view::npos) {
            pieces.emplace_back(list.substr(start));
            return pieces;
        }
        pieces.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

bool FuzzyRules::LoadFuzzySearchInfo(const std::string& path)
{
    dlog::WriteAt(1, u"LoadFuzzySearchInfo()\n");
    rules_.clear();
    LineReader file;
    if (!file.Open(path)) {
        dlog::Write(u"ERROR: LoadFuzzySearchInfo(): Couldn't open '%S'.\n", path);
        return false;
    }
    std::u16string line;
    for (LineReader::Read read; (read = file.ReadLine(line, kMaxLineLength)) != LineReader::Read::End;) {
        if (read == LineReader::Read::TooLong) {
            dlog::Write(u"WARNING: LoadFuzzySearchInfo(): a line is too long; it is skipped: %s\n", line);
            continue;
        }
        if (line[0] == u'#' || line[0] == u'\uFEFF')
            continue;
        TrimLineEnd(line);
        const std::size_t colon = line.find(u':');
        if (colon == std::u16string::npos || colon == 0) {
            dlog::Write(u"WARNING: LoadFuzzySearchInfo(): Couldn't find a ':' on this line: %s\n", line);
            continue;
        }
        rules_.push_back(FuzzyRule{line.substr(0, colon), SplitAtCommas(std::u16string_view(line).substr(colon + 1))});
    }
    dlog::WriteAt(1, u"All done.\n");
    return true;
}

struct FuzzyRules::Expansion {
    const std::atomic<bool>* stop = nullptr;
    std::vector<std::u16string> chain;  // the texts the current one derives from
    std::vector<std::u16string> out;
    bool full = false;  // kMaxVariants reached, or a stop request came

    // False once no more variants may be added.
    bool Open()
    {
        if (!full && (out.size() >= kMaxVariants || (stop && stop->load(std::memory_order_relaxed)))) {
            full = true;
            if (out.size() >= kMaxVariants)
                dlog::Write(u"WARNING: FuzzySearch(): more than %i variants of %s; the rest are left out.\n",
                            static_cast<int>(kMaxVariants), out.front());
        }
        return !full;
    }
};

std::vector<std::u16string> FuzzyRules::FuzzySearch(std::u16string_view text, const std::atomic<bool>* stop) const
{
    Expansion expansion;
    expansion.stop = stop;
    expansion.out.emplace_back(text);
    Expand(text, expansion);
    return std::move(expansion.out);
}

namespace {

// WildcardMatch(text, pattern) for a pattern that begins with ＿. When the
// rest holds no wildcard (as nearly every rule's does) that is: the text ends
// with the rest, where a character begins; found without walking the text,
// which matters for long texts (every substring of a long text is expanded).
bool EndMatches(std::u16string_view text, std::u16string_view pattern)
{
    const std::u16string_view ending = pattern.substr(1);
    if (ending.find(kWildcardAny) != std::u16string_view::npos ||
        ending.find(kWildcardOne) != std::u16string_view::npos)
        return WildcardMatch(text, pattern);
    if (!text.ends_with(ending))
        return false;
    const size_t at = text.size() - ending.size();
    return at == 0 || at == text.size() || !(IsLowSurrogate(text[at]) && IsHighSurrogate(text[at - 1]));
}

}  // namespace

void FuzzyRules::Expand(std::u16string_view text, Expansion& expansion) const
{
    dlog::Write(u"FuzzySearch(%s)...\n", text);
    if (expansion.chain.size() >= kMaxDepth)
        return;
    expansion.chain.emplace_back(text);
    for (const FuzzyRule& rule : rules_) {
        if (!expansion.Open())
            break;
        if (rule.pattern.empty() || rule.pattern[0] != kWildcardAny || !EndMatches(text, rule.pattern))
            continue;
        const std::u16string_view ending = std::u16string_view(rule.pattern).substr(1);
        const std::size_t at = text.rfind(ending);
        if (at == std::u16string_view::npos)
            continue;
        const std::u16string_view stem = text.substr(0, at);
        for (const std::u16string& replacement : rule.replacements) {
            if (replacement.empty() || replacement[0] != kWildcardAny)
                continue;
            std::u16string candidate(stem);
            candidate.append(replacement, 1);
            if (candidate.empty() ||
                std::find(expansion.chain.begin(), expansion.chain.end(), candidate) != expansion.chain.end())
                continue;
            if (!expansion.Open())
                break;
            dlog::WriteAt(1, u"   FUZZYSEARCH: Added: %s\n", candidate);
            expansion.out.push_back(candidate);
            Expand(candidate, expansion);
        }
    }
    expansion.chain.pop_back();
}

}  // namespace mirudex::text
