#include "ui/model/ResultCardText.h"

#include <algorithm>

namespace mirudex::ui {

std::u16string JoinTexts(const std::vector<std::u16string>& parts, std::u16string_view separator)
{
    std::u16string out;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0)
            out += separator;
        out += parts[k];
    }
    return out;
}

namespace {

std::u16string Descriptions(const std::vector<dict::SenseTag>& tags)
{
    std::vector<std::u16string> texts;
    for (const dict::SenseTag& tag : tags)
        texts.push_back(tag.description);
    return JoinTexts(texts, u", ");
}

}  // namespace

std::vector<CardLine> ResultCardLines(const dict::Entry& entry)
{
    std::vector<CardLine> lines;
    if (entry.senses.empty()) {
        for (const std::u16string& info : entry.info)
            lines.push_back({CardLine::Kind::EntryTags, info});
        for (const std::u16string& meaning : entry.meanings)
            lines.push_back({CardLine::Kind::Sense, meaning});
        return lines;
    }
    const std::vector<dict::SenseTag> every = dict::TagsOfEverySense(entry);
    if (!every.empty())
        lines.push_back({CardLine::Kind::EntryTags, Descriptions(every)});
    // The info no sense says: the common-word mark, the headwords' markers.
    std::vector<std::u16string> entryInfo;
    for (const std::u16string& info : entry.info) {
        const bool ofASense = std::any_of(entry.senses.begin(), entry.senses.end(), [&info](const dict::Sense& s) {
            return std::any_of(s.tags.begin(), s.tags.end(),
                               [&info](const dict::SenseTag& tag) { return tag.description == info; });
        });
        if (!ofASense && std::find(entryInfo.begin(), entryInfo.end(), info) == entryInfo.end())
            entryInfo.push_back(info);
    }
    for (std::u16string& info : entryInfo)
        lines.push_back({CardLine::Kind::EntryTags, std::move(info)});

    for (size_t k = 0; k < entry.senses.size(); ++k) {
        const dict::Sense& sense = entry.senses[k];
        const std::vector<dict::SenseTag> own = dict::OwnTags(sense, every);
        if (!own.empty())
            lines.push_back({CardLine::Kind::SenseTags, Descriptions(own)});
        std::u16string text;
        if (entry.senses.size() > 1) {
            const std::string number = std::to_string(k + 1);
            text = std::u16string(number.begin(), number.end()) + u". ";
        }
        text += JoinTexts(sense.glosses, u"; ");
        lines.push_back({CardLine::Kind::Sense, std::move(text)});
    }
    return lines;
}

std::u16string CompactRowTags(const dict::Entry& entry, std::u16string_view separator)
{
    if (entry.senses.empty())
        return JoinTexts(entry.info, separator);
    std::u16string out = dict::MarkerList(entry.senses.front().tags);
    if (entry.common)
        out += out.empty() ? u"(P)" : u" (P)";
    return out;
}

std::u16string FirstSenseText(const dict::Entry& entry, std::u16string_view separator)
{
    if (entry.senses.empty())
        return entry.meanings.empty() ? std::u16string() : entry.meanings.front();
    return JoinTexts(entry.senses.front().glosses, separator);
}

}  // namespace mirudex::ui
