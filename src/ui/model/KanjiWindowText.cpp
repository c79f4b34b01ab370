#include "ui/model/KanjiWindowText.h"

#include "core/Format.h"

namespace mirudex::ui {

namespace {
constexpr char16_t kAnyRun = u'\uFF3F';
}

std::u16string JoinBars(const std::vector<std::u16string>& list)
{
    std::u16string out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += u" | ";
        out += list[i];
    }
    return out;
}

std::u16string KanjiCopyText(const dict::KanjiRecord& r, KanjiCopyKind kind)
{
    switch (kind) {
    case KanjiCopyKind::Kanji: return std::u16string(1, static_cast<char16_t>(r.code));
    case KanjiCopyKind::On: return JoinBars(r.onReadings);
    case KanjiCopyKind::Kun: return JoinBars(r.kunReadings);
    case KanjiCopyKind::Nanori: return JoinBars(r.nanori);
    case KanjiCopyKind::RadicalReadings: return JoinBars(r.radicalReadings);
    case KanjiCopyKind::Meanings: return JoinBars(r.meanings);
    case KanjiCopyKind::AllInfo:
        return Format(
            u"%c\nStrokes: %i\nFrequency: %i / 2501\nOn: %s\nKun: %s\nNanori: %s\nRadical Readings: %s"
            u"\nMeaning: %s",
            static_cast<char16_t>(r.code), static_cast<int>(r.strokes), static_cast<int>(r.frequency),
            JoinBars(r.onReadings), JoinBars(r.kunReadings), JoinBars(r.nanori), JoinBars(r.radicalReadings),
            JoinBars(r.meanings));
    }
    return {};
}

std::u16string KanjiSearchText(char16_t kanji, KanjiSearchKind kind)
{
    switch (kind) {
    case KanjiSearchKind::ThisKanji: return {kanji};
    case KanjiSearchKind::StartingWith: return {kanji, kAnyRun};
    case KanjiSearchKind::EndingWith: return {kAnyRun, kanji};
    case KanjiSearchKind::Anywhere: return {kAnyRun, kanji, kAnyRun};
    }
    return {};
}

}  // namespace mirudex::ui
