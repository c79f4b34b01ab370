#include "search/Dispatcher.h"

#include <string_view>
#include <vector>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "search/AppState.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/KanjiSearch.h"
#include "text/CharClass.h"
#include "text/FuzzySearch.h"
#include "text/Romaji.h"

namespace mirudex::search {

namespace {

struct Prefix {
    std::u16string_view text;
    int bit;
};
constexpr Prefix kPrefixes[] = {
    {u"EN:", kLangEnglish},  {u"en:", kLangEnglish}, {u"JP:", kLangJapanese},
    {u"jp:", kLangJapanese}, {u"KN:", kLangKanji},   {u"kn:", kLangKanji},
};

std::vector<std::u16string> Variants(const AppState& state, const std::u16string& text)
{
    if (state.options.GetBOOL(opt::search::toolbars::kFuzzy) && state.fuzzy_rules)
        return state.fuzzy_rules->FuzzySearch(text, &state.stop_flag());
    return {text};
}

}  // namespace

std::u16string PrepareKanjiText(std::u16string_view variant)
{
    std::u16string out(variant);
    for (char16_t& c : out)
        if (c != text::kWildcardAny && c != text::kWildcardOne && text::IsFullwidthAscii(c))
            c = text::ToHalfwidth(c);
    return out;
}

int TakeLanguagePrefixes(std::u16string& text)
{
    int flags = 0;
    for (bool again = true; again;) {
        again = false;
        for (const Prefix& p : kPrefixes) {
            if (std::u16string_view(text).substr(0, 3) == p.text) {
                text.erase(0, 3);
                flags |= p.bit;
                again = true;
                break;
            }
        }
    }
    return flags;
}

int Edict_SearchFor(AppState& state, std::u16string& text)
{
    dlog::WriteAt(1, u"Edict_SearchFor()\n");
    if (text.empty())
        return -1;
    int flags = state.options.GetINT(opt::search::kLanguage);
    dlog::Write(u"Force language (registry): 0x%x\n", flags);

    flags |= TakeLanguagePrefixes(text);

    state.max_results = ParseResultsField(state.search_options.results_field);
    dlog::WriteAt(1, u"   Maximum number of results: %i.\n", state.max_results);
    dlog::Write(u"Force language (after :'s): 0x%x\n", flags);
    if (flags == 0)
        flags = text::IsAllPrintableAscii(text) ? kLangEnglish : kLangJapanese;
    dlog::Write(u"Force language (before search): 0x%x\n", flags);

    int status = 0;
    if (text.empty()) {
        // Only a prefix: nothing to look for.
        dlog::WriteAt(1, u"   Search complete.\n");
        return status;
    }
    if ((flags & kLangEnglish) && text::IsAllPrintableAscii(text))
        status = SearchFor_English(state, text);

    if ((flags & (kLangJapanese | kLangKanji)) && !state.StopRequested()) {
        if (state.search_options.romaji_conversion) {
            text = text::RomajiToKana(text, true);
            dlog::WriteAt(1, u"   Text converted to kana: %s.\n", text);
        }
        text = text::ToFullwidthText(text);
        for (std::u16string variant : Variants(state, text)) {
            if (state.StopRequested())
                break;
            ApplySearchType(variant, state.search_options.type);
            if (flags & kLangJapanese)
                status = SearchFor(state, variant);
            if (flags & kLangKanji)
                status = SearchFor_Kanji(state, PrepareKanjiText(variant));
        }
    }
    dlog::WriteAt(1, u"   Search complete.\n");
    SortEntries(state.edict_results[kResultList], state.edict_sort);
    dlog::WriteAt(1, u"Results sorted.\n");
    return status;
}

}  // namespace mirudex::search
