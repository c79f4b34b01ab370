#pragma once
// The fields of a dictionary line: the texts between two slashes.

#include <cstddef>
#include <string_view>

namespace mirudex::dict {

// Calls field(text) for each non-empty text between two slashes, from the
// first slash of `line` on; whatever follows the last slash is no field.
template <class Field>
void ForEachSlashField(std::u16string_view line, Field&& field)
{
    const size_t first = line.find(u'/');
    if (first == std::u16string_view::npos)
        return;
    line.remove_prefix(first);
    for (size_t next; (next = line.find(u'/', 1)) != std::u16string_view::npos; line.remove_prefix(next)) {
        if (next > 1)
            field(line.substr(1, next - 1));
    }
}

}  // namespace mirudex::dict
