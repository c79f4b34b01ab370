#pragma once
// A whole-string wildcard pattern prepared once for matching against every
// reading or headword of a dictionary. The common shapes a search type makes
// (exact text, text＿, ＿text, ＿text＿) are answered by a plain comparison;
// any other pattern goes to the general matcher. The answer is always the
// one WildcardMatch gives, with the compared string folded to katakana first
// when folding is on.

#include <string>
#include <string_view>

namespace mirudex::search {

class PatternMatcher {
public:
    // pattern: fullwidth wildcards ＿ and ？; fold: compare ToKatakana of each
    // text (the pattern must already be folded by the caller).
    PatternMatcher(std::u16string pattern, bool fold);

    bool Matches(std::u16string_view text) const;

    // Whether the pattern is a plain text matching only itself, or a plain
    // text followed by ＿ (literal() is then that text): the shapes a sorted
    // list of texts answers by looking the text up.
    bool IsExact() const { return shape_ == Shape::Exact; }
    bool IsPrefix() const { return shape_ == Shape::Prefix; }
    const std::u16string& literal() const { return literal_; }

private:
    enum class Shape { Exact, Prefix, Suffix, Contains, All, General };

    bool EqualsAt(std::u16string_view text, size_t pos) const;
    bool ContainsLiteral(std::u16string_view text) const;

    std::u16string pattern_;
    std::u16string literal_;  // the pattern without its outer ＿ (plain shapes only)
    Shape shape_ = Shape::General;
    bool fold_ = false;
    mutable std::u16string folded_;  // scratch for the general matcher
};

}  // namespace mirudex::search
