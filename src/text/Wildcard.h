#pragma once
// The wildcard matcher of the Japanese search and of the reverse-conjugation
// rules. Pure; safe from any thread.

#include <string_view>

namespace mirudex::text {

// True when the whole text matches the whole pattern. In the pattern ＿
// (U+FF3F) stands for any run of characters, none included, and ？ (U+FF1F)
// for exactly one; every other character matches only itself (case-
// sensitive). The text's own ＿ and ？ are ordinary characters.
//
// Runs in O(text x pattern) time at worst, without recursion: a pattern with
// many ＿ against a long text answers at once.
bool WildcardMatch(std::u16string_view text, std::u16string_view pattern);

}  // namespace mirudex::text
