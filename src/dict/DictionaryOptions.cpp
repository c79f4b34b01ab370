#include "dict/DictionaryOptions.h"

#include <algorithm>
#include <climits>

#include "core/DebugLog.h"
#include "core/Registry.h"

namespace mirudex::dict {

namespace edict = opt::dictionaries::edict;

int FindConfiguredDictionary(Registry& registry, const std::string& path)
{
    const int number = registry.GetINT(edict::kNumber);
    for (int i = 0; i < number; ++i)
        if (registry.GetString(edict::Path(i)) == path)
            return i;
    return -1;
}

int RegisterDictionary(Registry& registry, const std::string& path, const std::string& name,
                       const std::string& encoding, bool on)
{
    const int n = registry.GetINT(edict::kNumber);
    registry.CD(edict::kKey);
    registry.MakeKey(std::to_string(n));
    registry.CD(opt::kRoot);
    registry.SetSTRING(edict::Path(n), path);
    registry.SetSTRING(edict::Name(n), name);
    registry.SetSTRING(edict::Encoding(n), encoding);
    registry.SetBOOL(edict::On(n), on);
    registry.SetINT(edict::kNumber, n + 1);
    return n;
}

bool EnsureLineBuffer(Registry& registry, size_t longestLine)
{
    // A line buffer of N bytes takes lines of N - 2 bytes.
    const size_t needed = std::min(longestLine, kLargestLineBuffer - 2) + 2;
    const int current = registry.GetINT(opt::buffer::kEDICT);
    if (longestLine > kLargestLineBuffer - 2)
        dlog::Write(
            u"EnsureLineBuffer: a line of %i bytes is longer than the largest line buffer (%i bytes) takes; "
            u"it is left out.\n",
            static_cast<int>(std::min<size_t>(longestLine, INT_MAX)), static_cast<int>(kLargestLineBuffer));
    if (current > 0 && static_cast<size_t>(current) >= needed)
        return false;
    const int raised = static_cast<int>(std::min((needed + 999) / 1000 * 1000, kLargestLineBuffer));
    registry.SetINT(opt::buffer::kEDICT, raised);
    dlog::Write(u"EnsureLineBuffer: the dictionary line buffer is raised from %i to %i bytes.\n", current, raised);
    return true;
}

}  // namespace mirudex::dict
