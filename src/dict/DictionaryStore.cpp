#include "dict/DictionaryStore.h"

#include "core/Format.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"

namespace mirudex::dict {

namespace {

void Status(std::u16string_view text) { platform::Get().SetStatusText(0, text); }

}  // namespace

std::vector<std::unique_ptr<Dictionary>> ConfiguredDictionaries(Registry& registry)
{
    std::vector<std::unique_ptr<Dictionary>> list;
    const int number = registry.GetINT(opt::dictionaries::edict::kNumber);
    for (int i = 0; i < number; ++i) {
        auto dictionary = std::make_unique<Dictionary>();
        dictionary->path = registry.GetString(opt::dictionaries::edict::Path(i));
        dictionary->name = registry.GetString(opt::dictionaries::edict::Name(i));
        dictionary->encoding = registry.GetString(opt::dictionaries::edict::Encoding(i));
        dictionary->on = registry.GetBOOL(opt::dictionaries::edict::On(i));
        if (registry.DataExists(opt::dictionaries::edict::Format(i)))
            dictionary->format = registry.GetString(opt::dictionaries::edict::Format(i));
        list.push_back(std::move(dictionary));
    }
    return list;
}

LoadOutcome LoadAllEDICTS(DictionaryStore& store, Registry& registry, StopToken stop)
{
    Status(u"Loading KANJIDIC...");
    if (KANJIDIC_Index_Load(store.kanji_index, registry, stop) == LoadOutcome::Stopped)
        return LoadOutcome::Stopped;

    Status(u"Pre-loading EDICTs...");
    for (auto& dictionary : ConfiguredDictionaries(registry))
        store.edict_dictionaries.push_back(std::move(dictionary));
    Status(u"Pre-loading EDICTs... OKAY");

    for (auto& dictionary : store.edict_dictionaries) {
        if (stop.StopRequested())
            return LoadOutcome::Stopped;
        Status(Format(u"Loading EDICT: %S...", dictionary->path));
        if (EDICT_Index_Load(*dictionary, registry, stop) == LoadOutcome::Stopped)
            return LoadOutcome::Stopped;
        Status(Format(u"EDICT (%S) Loaded.", dictionary->path));
    }
    Status(u"Okay!!");
    return LoadOutcome::Done;
}

}  // namespace mirudex::dict
