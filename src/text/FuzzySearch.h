#pragma once
// Reverse conjugation: from a text as found in running text (食べました)
// to the texts a dictionary lists (食べる), by ending-replacement rules read
// from fuzzysearch.uni.dat.
//
// Rule file: UTF-16LE, one rule per line, "pattern:replacement,replacement".
// Lines starting with "#" are comments; a line starting with the byte-order
// mark is skipped whole; a last line without a line break is read like any
// other, and a line longer than kMaxLineLength is logged and skipped. The
// pattern is a wildcard pattern that must start with ＿ to be used, and so
// must each replacement: ＿ました:＿る turns 食べました into 食べる.
//
// Ownership and threads: the program's state object owns one FuzzyRules,
// loads it once on the user-interface thread before any worker exists, and
// the search worker only calls FuzzySearch (const) afterwards.

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace mirudex::text {

inline constexpr const char* kFuzzyRulesFileName = "fuzzysearch.uni.dat";

struct FuzzyRule {
    std::u16string pattern;
    std::vector<std::u16string> replacements;
};

class FuzzyRules {
public:
    // A chain of derivations deeper than this is cut off; see FuzzySearch.
    static constexpr std::size_t kMaxDepth = 64;
    // No text has more variants than this, itself included; see FuzzySearch.
    static constexpr std::size_t kMaxVariants = 256;
    // The longest line taken, its line break included; longer ones are skipped.
    static constexpr std::size_t kMaxLineLength = 1023;

    // Reads the rule file, replacing the rules held. False (and no rules)
    // when the file cannot be opened; malformed lines are logged and skipped.
    bool LoadFuzzySearchInfo(const std::string& path = kFuzzyRulesFileName);

    // The text itself first, then every text the rules derive from it, depth
    // first in rule order: a candidate is followed at once by what derives
    // from it. A text reached by two routes is listed twice.
    //
    // Three guards keep a faulty rule set from expanding without end: a
    // candidate equal to a text it was derived from (a cycle) is dropped,
    // derivation stops kMaxDepth steps deep, and the list ends at
    // kMaxVariants texts (a rule that only lengthens its text, such as
    // ＿る:＿られる,＿させる, would otherwise double the list at every
    // step). None ever fires for a sensible rule set. An empty candidate (a
    // replacement ＿ on a bare ending, する from する) is no text to search
    // and is dropped as well.
    //
    // stop, when given, is the worker's stop request: once it is set the
    // expansion ends and the list holds what was made so far. Each variant
    // is logged once, however deep it was found.
    std::vector<std::u16string> FuzzySearch(std::u16string_view text, const std::atomic<bool>* stop = nullptr) const;

    void AddRule(FuzzyRule rule) { rules_.push_back(std::move(rule)); }
    const std::vector<FuzzyRule>& Rules() const { return rules_; }
    bool Empty() const { return rules_.empty(); }

private:
    struct Expansion;
    void Expand(std::u16string_view text, Expansion& expansion) const;

    std::vector<FuzzyRule> rules_;
};

}  // namespace mirudex::text
