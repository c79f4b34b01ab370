#pragma once
// Reads kanji records for the searches that fill kanji_results. One source
// serves one search: it gives exactly what dict::LoadKANJIDICInfoInto gives for
// each index entry.

#include "dict/Kanjidic.h"

namespace mirudex::search {

class AppState;

class KanjiSource {
public:
    explicit KanjiSource(AppState& state);
    KanjiSource(const KanjiSource&) = delete;
    KanjiSource& operator=(const KanjiSource&) = delete;

    // Fills record (empty) from the entry's line.
    void Load(dict::KanjiRecord& record, const dict::KanjiIndexEntry* entry);

private:
    AppState& state_;
};

}  // namespace mirudex::search
