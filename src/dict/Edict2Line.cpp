#include "dict/Edict2Line.h"

#include <algorithm>
#include <cctype>

#include "dict/LineFields.h"

namespace mirudex::dict {

namespace {

template <typename Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> text)
{
    while (!text.empty() && text.front() == Char(' '))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == Char(' ') || text.back() == Char('\r') || text.back() == Char('\n')))
        text.remove_suffix(1);
    return text;
}

bool IsTagChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
}

// Whether a ';' at `semicolon` ends a character reference ("&#x20B9F;", as a
// study list keeps characters its encoding lacks).
bool EndsCharacterReference(std::u16string_view text, size_t semicolon)
{
    size_t i = semicolon;
    while (i > 0 && std::isxdigit(text[i - 1] < 0x80 ? static_cast<int>(text[i - 1]) : 0))
        --i;
    return i < semicolon && i >= 3 && text.substr(i - 3, 3) == u"&#x";
}

// Splits at every separator that is not inside parentheses.
std::vector<std::u16string_view> SplitOutsideGroups(std::u16string_view text, char16_t separator)
{
    std::vector<std::u16string_view> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (c == separator && depth == 0 && !(c == u';' && EndsCharacterReference(text, i))) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::u16string> SplitList(std::u16string_view content)
{
    std::vector<std::u16string> list;
    for (std::u16string_view part : SplitOutsideGroups(content, u','))
        if (const auto trimmed = Trim(part); !trimmed.empty())
            list.emplace_back(trimmed);
    return list;
}

// A group of tags: comma-separated names made of ASCII letters, digits and '-'.
bool IsTagList(std::u16string_view content)
{
    for (std::u16string_view part : SplitOutsideGroups(content, u',')) {
        part = Trim(part);
        if (part.empty() || !std::all_of(part.begin(), part.end(), IsTagChar))
            return false;
    }
    return true;
}

// One form with the parenthesised groups at its end taken off. A group that
// is neither tags nor (for a reading) a restriction stays part of the text,
// and so does a group with nothing in front of it.
Edict2Form ParseForm(std::u16string_view item, bool reading)
{
    item = Trim(item);
    std::vector<std::u16string_view> tagGroups, restrictionGroups;
    while (!item.empty() && item.back() == u')') {
        const size_t open = item.rfind(u'(');
        if (open == std::u16string_view::npos || open == 0)
            break;
        const std::u16string_view content = item.substr(open + 1, item.size() - open - 2);
        if (IsTagList(content))
            tagGroups.push_back(content);
        else if (reading && !Trim(content).empty())
            restrictionGroups.push_back(content);
        else
            break;
        item = Trim(item.substr(0, open));
    }
    Edict2Form form;
    form.text = std::u16string(item);
    // Taken off from the end: the line's order is the reverse.
    for (auto group = tagGroups.rbegin(); group != tagGroups.rend(); ++group)
        for (auto& tag : SplitList(*group))
            form.tags.push_back(std::move(tag));
    for (auto group = restrictionGroups.rbegin(); group != restrictionGroups.rend(); ++group)
        for (auto& word : SplitList(*group))
            form.restrictedTo.push_back(std::move(word));
    return form;
}

std::vector<Edict2Form> ParseForms(std::u16string_view part, bool reading)
{
    std::vector<Edict2Form> forms;
    for (std::u16string_view item : SplitOutsideGroups(part, u';')) {
        Edict2Form form = ParseForm(item, reading);
        if (!form.text.empty())
            forms.push_back(std::move(form));
    }
    return forms;
}

template <typename Char>
bool IsEntryId(std::basic_string_view<Char> field)
{
    constexpr Char kPrefix[] = {Char('E'), Char('n'), Char('t'), Char('L')};
    if (field.size() < 5 || !std::equal(std::begin(kPrefix), std::end(kPrefix), field.begin()))
        return false;
    field.remove_prefix(4);
    if (field.back() == Char('X'))
        field.remove_suffix(1);
    return !field.empty() &&
           std::all_of(field.begin(), field.end(), [](Char c) { return c >= Char('0') && c <= Char('9'); });
}

}  // namespace

bool IsEdict2EntryId(std::u16string_view field) { return IsEntryId(field); }

Edict2Line ParseEdict2Line(std::u16string_view line)
{
    while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r'))
        line.remove_suffix(1);
    Edict2Line parsed;

    // The headwords run to the first blank (or to the meanings, when a
    // damaged line has none before them).
    size_t end = line.find_first_of(u" /[");
    if (end == std::u16string_view::npos)
        end = line.size();
    parsed.headwords = ParseForms(line.substr(0, end), false);

    std::u16string_view rest = line.substr(end);
    const size_t firstNonBlank = rest.find_first_not_of(u' ');
    if (firstNonBlank != std::u16string_view::npos && rest[firstNonBlank] == u'[') {
        // Readings may hold blanks ("; "): they run to the closing bracket.
        rest.remove_prefix(firstNonBlank + 1);
        size_t close = rest.find(u']');
        const size_t slash = rest.find(u'/');
        if (close == std::u16string_view::npos || (slash != std::u16string_view::npos && slash < close))
            close = std::min(slash, rest.size());
        parsed.readings = ParseForms(rest.substr(0, close), true);
        rest.remove_prefix(close);
    }

    ForEachSlashField(rest, [&parsed](std::u16string_view field) { parsed.fields.emplace_back(field); });
    if (!parsed.fields.empty() && IsEdict2EntryId(parsed.fields.back())) {
        parsed.entryId = std::move(parsed.fields.back());
        parsed.fields.pop_back();
    }
    return parsed;
}

std::string_view WithoutEntryId(std::string_view meanings)
{
    if (meanings.size() < 2 || meanings.back() != '/')
        return meanings;
    const size_t before = meanings.rfind('/', meanings.size() - 2);
    if (before == std::string_view::npos || !IsEntryId(meanings.substr(before + 1, meanings.size() - before - 2)))
        return meanings;
    return meanings.substr(0, before + 1);
}

bool LooksLikeEdict2(std::string_view rawLine)
{
    while (!rawLine.empty() && (rawLine.back() == '\n' || rawLine.back() == '\r'))
        rawLine.remove_suffix(1);
    const size_t headEnd = rawLine.find_first_of(" /[");
    if (rawLine.substr(0, headEnd).find(';') != std::string_view::npos)
        return true;
    const size_t last = rawLine.rfind('/');
    if (last == std::string_view::npos || last == 0)
        return false;
    const size_t before = rawLine.rfind('/', last - 1);
    if (before == std::string_view::npos)
        return false;
    return IsEntryId(rawLine.substr(before + 1, last - before - 1));
}

std::u16string_view ReadingOf(const Edict2Line& line, std::u16string_view headword)
{
    for (const Edict2Form& reading : line.readings) {
        if (reading.restrictedTo.empty() ||
            std::find(reading.restrictedTo.begin(), reading.restrictedTo.end(), headword) != reading.restrictedTo.end())
            return reading.text;
    }
    return {};
}

}  // namespace mirudex::dict
