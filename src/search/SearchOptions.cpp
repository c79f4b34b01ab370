#include "search/SearchOptions.h"

#include <climits>

namespace mirudex::search {

SearchType SearchTypeFromStored(int value)
{
    if (value >= 40004 && value <= 40007)
        value -= 40004;
    if (value >= 0 && value <= 3)
        return static_cast<SearchType>(value);
    return SearchType::Exact;
}

void ApplySearchType(std::u16string& text, SearchType type)
{
    if (text.empty())
        return;
    switch (type) {
    case SearchType::Beginning:
        if (text.back() != kWildcardAny)
            text.push_back(kWildcardAny);
        break;
    case SearchType::Middle:
        if (text.back() != kWildcardAny)
            text.push_back(kWildcardAny);
        if (text.front() != kWildcardAny)
            text.insert(text.begin(), kWildcardAny);
        break;
    case SearchType::End:
        if (text.front() != kWildcardAny)
            text.insert(text.begin(), kWildcardAny);
        break;
    case SearchType::Exact: break;
    }
}

int ParseResultsField(std::u16string_view field)
{
    field = field.substr(0, 99);
    size_t i = 0;
    while (i < field.size() && (field[i] == u' ' || (field[i] >= u'\t' && field[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        negative = field[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        value = value * 10 + (field[i] - u'0');
        if (value > INT_MAX)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int MaxResultsOfField(std::u16string_view field)
{
    const int value = ParseResultsField(field);
    return value > 0 ? value : -1;
}

}  // namespace mirudex::search
