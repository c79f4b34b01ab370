#include "search/Dispatcher.h"

#include <algorithm>
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

std::vector<std::u16string> Variants(const AppState& state, const SearchSettings& settings, const std::u16string& text)
{
    if (settings.fuzzy && state.fuzzy_rules)
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
    return Edict_SearchFor(state, CurrentSearchSettings(state), text);
}

int Edict_SearchFor(AppState& state, const SearchSettings& settings, std::u16string& text)
{
    const SearchOptions& toolbar = settings.toolbar;
    dlog::WriteAt(1, u"Edict_SearchFor()\n");
    if (text.empty())
        return -1;
    int flags = settings.language;
    dlog::Write(u"Force language (registry): 0x%x\n", flags);

    flags |= TakeLanguagePrefixes(text);

    state.max_results = MaxResultsOfField(toolbar.results_field);
    dlog::WriteAt(1, u"   Maximum number of results: %i.\n", state.max_results);
    dlog::Write(u"Force language (after :'s): 0x%x\n", flags);
    const bool chosenByText = flags == 0;
    if (flags == 0)
        flags = text::IsAllPrintableAscii(text) ? kLangEnglish : kLangJapanese;
    dlog::Write(u"Force language (before search): 0x%x\n", flags);

    int status = 0;
    int notes = 0;
    if (text.empty()) {
        // Only a prefix: nothing to look for.
        dlog::WriteAt(1, u"   Search complete.\n");
        return status;
    }
    if ((flags & kLangEnglish) && text::IsAllPrintableAscii(text)) {
        const size_t before = state.edict_results[kResultList].size();
        status = SearchFor_English(state, toolbar, text);
        // Romaji conversion on and an English search of the text's own choice
        // that found nothing: the romaji is what was meant when every letter
        // of it spells kana (sakana, but not dog or "cat food").
        if (chosenByText && toolbar.romaji_conversion && !state.StopRequested() &&
            state.edict_results[kResultList].size() == before &&
            text::IsAllKanaOrWildcard(text::RomajiToKana(text, true))) {
            flags = kLangJapanese;
            notes |= kStatusSearchedAsJapanese;
            dlog::Write(u"Nothing in English: searching the romaji as Japanese.\n");
        }
    }

    if ((flags & (kLangJapanese | kLangKanji)) && !state.StopRequested()) {
        if (toolbar.romaji_conversion) {
            text = text::RomajiToKana(text, true);
            dlog::WriteAt(1, u"   Text converted to kana: %s.\n", text);
        }
        text = text::ToFullwidthText(text);
        for (std::u16string variant : Variants(state, settings, text)) {
            if (state.StopRequested())
                break;
            ApplySearchType(variant, toolbar.type);
            if (flags & kLangJapanese)
                status = SearchFor(state, toolbar, variant);
            if (flags & kLangKanji)
                status = SearchFor_Kanji(state, toolbar, PrepareKanjiText(variant));
        }
        // A Japanese text that finds nothing as typed, with reverse
        // conjugation off: its dictionary forms are searched (食べました:
        // 食べる), and the status bar says so.
        auto& list = state.edict_results[kResultList];
        if ((flags & kLangJapanese) && list.empty() && !settings.fuzzy && state.fuzzy_rules && !state.StopRequested()) {
            int found = status;
            std::vector<std::u16string> searched{text};
            for (std::u16string variant : state.fuzzy_rules->FuzzySearch(text, &state.stop_flag())) {
                // Each dictionary form once: two routes may lead to it.
                if (state.StopRequested() || std::find(searched.begin(), searched.end(), variant) != searched.end())
                    continue;
                searched.push_back(variant);
                ApplySearchType(variant, toolbar.type);
                found = SearchFor(state, toolbar, variant);
            }
            if (!list.empty()) {
                status = found;
                notes |= kStatusSearchedConjugations;
                dlog::Write(u"Nothing as typed: searched its dictionary forms.\n");
            }
        }
        if (flags & kLangKanji)
            notes |= kStatusKanjiInformation;
    }
    dlog::WriteAt(1, u"   Search complete.\n");
    SortEntries(state.edict_results[kResultList], settings.sort);
    dlog::WriteAt(1, u"Results sorted.\n");
    return status | notes;
}

}  // namespace mirudex::search
