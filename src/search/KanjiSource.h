#pragma once
// Reads kanji records for the searches that fill kanji_results. One source
// serves one search: it gives exactly what dict::LoadKANJIDICInfoInto gives for
// each index entry, but keeps the kanji dictionary open for the whole search
// instead of opening it once per kanji.

#include "core/LineReader.h"
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
    LineReader file_;
    bool tried_ = false;
};

}  // namespace mirudex::search
