#pragma once
// Texts the kanji window makes from a kanji record: the copy kinds 0-6 and
// the search texts of its context menu. Free of Qt.

#include <string>
#include <vector>

#include "dict/Kanjidic.h"

namespace mirudex::ui {

// What "Copy..." takes from the selected kanji (menu ids 5-11 are kinds 0-6).
enum class KanjiCopyKind { Kanji = 0, On = 1, Kun = 2, Nanori = 3, RadicalReadings = 4, Meanings = 5, AllInfo = 6 };

// How a context-menu search (ids 1-4) places the kanji.
enum class KanjiSearchKind { ThisKanji = 1, StartingWith = 2, EndingWith = 3, Anywhere = 4 };

// Strings joined with " | ".
std::u16string JoinBars(const std::vector<std::u16string>& list);

std::u16string KanjiCopyText(const dict::KanjiRecord& record, KanjiCopyKind kind);

// The kanji with the any-run wildcard U+FF3F before, after or around it.
std::u16string KanjiSearchText(char16_t kanji, KanjiSearchKind kind);

}  // namespace mirudex::ui
