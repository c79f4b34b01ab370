#include "text/Wildcard.h"

#include "text/CharClass.h"

namespace mirudex::text {

bool WildcardMatch(std::u16string_view text, std::u16string_view pattern)
{
    // Greedy two-pointer match with one backtracking point: the last ＿ seen.
    // When a later part fails, that ＿ takes one more character and the part
    // is tried again; earlier ＿ never need to change, because any run the
    // last one could not absorb the earlier ones could not either.
    constexpr std::size_t kNone = std::u16string_view::npos;
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starPattern = kNone;  // position of the last ＿ in the pattern
    std::size_t starText = 0;         // where the text stood when it was seen

    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == kWildcardAny) {
            starPattern = p++;
            starText = t;
        } else if (p < pattern.size() && pattern[p] == kWildcardOne) {
            // One character: a surrogate pair is one.
            ++p;
            t += CharacterLength(text, t);
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starPattern != kNone) {
            p = starPattern + 1;
            starText += CharacterLength(text, starText);
            t = starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kWildcardAny)
        ++p;
    return p == pattern.size();
}

}  // namespace mirudex::text
