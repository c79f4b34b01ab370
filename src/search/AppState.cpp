#include "search/AppState.h"

#include "core/Registry.h"

namespace mirudex::search {

AppState::AppState(Registry& options_, dict::DictionaryStore& store_, const text::FuzzyRules* rules)
    : options(options_), store(store_), fuzzy_rules(rules)
{
}

SearchSettings CurrentSearchSettings(const AppState& state)
{
    SearchSettings settings;
    settings.toolbar = state.search_options;
    settings.language = state.options.GetINT(opt::search::kLanguage);
    settings.fuzzy = state.options.GetBOOL(opt::search::toolbars::kFuzzy);
    settings.sort = state.edict_sort;
    return settings;
}

const dict::KanjiIndexEntry* AppState::FindKanji(uint16_t code)
{
    const auto& entries = store.kanji_index.entries;
    if (entries.data() != kanji_table_data_ || entries.size() != kanji_table_size_ || kanji_by_code_.empty()) {
        kanji_by_code_.assign(65536, 0);
        // Walk backwards so that the first entry of a code is the one kept.
        for (size_t i = entries.size(); i-- > 0;)
            kanji_by_code_[entries[i].code] = static_cast<int32_t>(i + 1);
        kanji_table_data_ = entries.data();
        kanji_table_size_ = entries.size();
    }
    const int32_t at = kanji_by_code_[code];
    return at > 0 ? &entries[static_cast<size_t>(at - 1)] : nullptr;
}

}  // namespace mirudex::search
