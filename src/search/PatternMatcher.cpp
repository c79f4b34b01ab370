#include "search/PatternMatcher.h"

#include "search/SearchOptions.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

namespace mirudex::search {

PatternMatcher::PatternMatcher(std::u16string pattern, bool fold) : pattern_(std::move(pattern)), fold_(fold)
{
    size_t begin = 0;
    size_t end = pattern_.size();
    while (begin < end && pattern_[begin] == kWildcardAny)
        ++begin;
    while (end > begin && pattern_[end - 1] == kWildcardAny)
        --end;
    const std::u16string_view middle = std::u16string_view(pattern_).substr(begin, end - begin);
    if (middle.find(kWildcardAny) != std::u16string_view::npos ||
        middle.find(kWildcardOne) != std::u16string_view::npos) {
        shape_ = Shape::General;
        return;
    }
    literal_ = std::u16string(middle);
    const bool lead = begin > 0;
    const bool trail = end < pattern_.size();
    if (literal_.empty())
        shape_ = lead || trail ? Shape::All : Shape::Exact;
    else if (lead && trail)
        shape_ = Shape::Contains;
    else if (lead)
        shape_ = Shape::Suffix;
    else if (trail)
        shape_ = Shape::Prefix;
    else
        shape_ = Shape::Exact;
}

bool PatternMatcher::EqualsAt(std::u16string_view text, size_t pos) const
{
    const size_t n = literal_.size();
    if (!fold_)
        return text.compare(pos, n, literal_) == 0;
    for (size_t i = 0; i < n; ++i)
        if (text::ToKatakana(text[pos + i]) != literal_[i])
            return false;
    return true;
}

bool PatternMatcher::ContainsLiteral(std::u16string_view text) const
{
    const size_t n = literal_.size();
    if (text.size() < n)
        return false;
    if (!fold_)
        return text.find(literal_) != std::u16string_view::npos;
    const char16_t first = literal_[0];
    for (size_t pos = 0; pos + n <= text.size(); ++pos)
        if (text::ToKatakana(text[pos]) == first && EqualsAt(text, pos))
            return true;
    return false;
}

bool PatternMatcher::Matches(std::u16string_view text) const
{
    switch (shape_) {
    case Shape::All: return true;
    case Shape::Exact: return text.size() == literal_.size() && EqualsAt(text, 0);
    case Shape::Prefix: return text.size() >= literal_.size() && EqualsAt(text, 0);
    case Shape::Suffix: return text.size() >= literal_.size() && EqualsAt(text, text.size() - literal_.size());
    case Shape::Contains: return ContainsLiteral(text);
    case Shape::General: break;
    }
    if (!fold_)
        return text::WildcardMatch(text, pattern_);
    folded_.assign(text);
    for (char16_t& c : folded_)
        c = text::ToKatakana(c);
    return text::WildcardMatch(folded_, pattern_);
}

}  // namespace mirudex::search
