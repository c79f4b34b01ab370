#pragma once
// A working directory with small dictionaries written by the test, loaded
// into a fresh AppState, and the straightforward searches the fast ones must
// agree with.

#include <memory>
#include <string>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "support/TestSupport.h"

namespace mirudex::search::test {

class SearchTest : public mirudex::test::WorkDirTest {
protected:
    void SetUp() override;

    // Writes lines (UTF-8 in the test, stored as EUC-JP, each ending in LF)
    // to file and appends a loaded dictionary for it.
    dict::Dictionary& AddDictionary(const std::string& file, const std::vector<std::string>& lines,
                                    const std::string& name = "Test", bool on = true);
    // Writes a KANJIDIC file (UTF-8 lines stored as EUC-JP) and loads its index.
    void SetKanjidic(const std::vector<std::string>& lines);

    std::vector<std::u16string> Words(int list = kResultList) const;
    std::vector<std::u16string> KanjiCodes() const;

    Registry options_;
    dict::DictionaryStore store_;
    std::unique_ptr<AppState> state_;
};

std::u16string U(const std::string& utf8);
std::string Euc(const std::string& utf8);

// Reading every index entry / kanji the plain way, for comparison.
int ReferenceSearchFor(AppState& state, std::u16string text);
int ReferenceSearchFor_English(AppState& state, std::u16string text);
// records: every kanji's record, read before (the same for every text); else
// each is read from the file.
int ReferenceSearchFor_Kanji(AppState& state, std::u16string text,
                             const std::vector<dict::KanjiRecord>* records = nullptr);

// Entries compared field by field.
void ExpectSameEntries(const std::vector<dict::Entry>& a, const std::vector<dict::Entry>& b);

}  // namespace mirudex::search::test
