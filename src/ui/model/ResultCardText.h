#pragma once
// What the hover card of a result window says about an entry, line by line:
// first what holds for the whole entry (the markers every sense has, said
// once, the common-word mark and the markers of the headwords), then one
// block per sense: its own markers, each once, over its glosses. Free of Qt.

#include <string>
#include <vector>

#include "dict/Entry.h"

namespace mirudex::ui {

struct CardLine {
    enum class Kind {
        EntryTags,  // about the whole entry (info font, small square)
        SenseTags,  // the markers of the sense below (info font)
        Sense,      // a sense's glosses (meaning font, square)
    };
    Kind kind;
    std::u16string text;

    bool operator==(const CardLine&) const = default;
};

// The card's lines. An entry without senses (made by hand, never split by
// SetInfo) gives its info and meanings one a line, as they are.
std::vector<CardLine> ResultCardLines(const dict::Entry& entry);
// The texts one after another with the separator between them.
std::u16string JoinTexts(const std::vector<std::u16string>& parts, std::u16string_view separator);

// The first sense's markers as a result row shows them: "(n) (vs) (P)",
// the mark of a common word last. An entry without senses gives its info
// joined by separator.
std::u16string CompactRowTags(const dict::Entry& entry, std::u16string_view separator);

// The first sense's glosses joined by separator (a compact row's meaning);
// an entry without senses gives its first meaning.
std::u16string FirstSenseText(const dict::Entry& entry, std::u16string_view separator);

}  // namespace mirudex::ui
