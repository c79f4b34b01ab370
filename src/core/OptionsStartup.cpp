#include "core/OptionsStartup.h"

#include <cstdio>
#include <string>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Version.h"

namespace mirudex {

bool LoadOptionsAtStartup(Registry& registry)
{
    dlog::Write(u"Loading Options...............");
    if (registry.Load(kOptionsFileName)) {
        dlog::Write(u"OKAY\n");
        return true;
    }
    dlog::Write(u"FAILED\n");
    dlog::Write(u"   Creating and using default options file...\n");
    dlog::Write(u"Loading Options...");
    WriteDefaultOptionsFile(kOptionsFileName);
    bool loaded = registry.Load(kOptionsFileName);
    dlog::Write(loaded ? u"OKAY\n" : u"FAILED\n");
    return loaded;
}

void LogOptionsTree(Registry& registry)
{
    registry.CD(opt::kRoot);
    dlog::WriteAt(1, u"Here's Mirudex's registry:\n");
    if (dlog::Level() > 0)
        registry.Print(0);
    dlog::WriteAt(1, u"(End of registry).\n");
}

void AddItemsWithoutVersion(Registry& registry)
{
    for (std::string_view item : {opt::misc::kGrabSelection, opt::misc::kCloseToTray})
        if (!registry.DataExists(item))
            registry.SetBOOL(item, false);
    registry.CD(opt::kRoot);
}

void UpgradeOptionsIfOlder(Registry& registry)
{
    // The key Misc must exist (a file without it ends the program here).
    if (registry.DataExists(opt::misc::kVersion)) {
        const std::string* stored = registry.GetSTRING(opt::misc::kVersion);
        // Plain byte-wise comparison: a version sorting after ours, or ours, is left alone.
        if (stored && !(*stored < std::string(kVersion)))
            return;
    }

    dlog::Write(u"************************\n");
    dlog::Write(u"***   OPTIONS FILE   ***\n");
    dlog::Write(u"************************\n");

    const std::string tempName = kTempOptionsFileName;
    if (!WriteDefaultOptionsFile(tempName)) {
        dlog::Write(u"   ERROR: Couldn't make the new options file (%S).\n", tempName);
        return;
    }
    dlog::Write(u"   %S made okay.\n", tempName);
    {
        Registry defaults;
        defaults.Load(tempName);
        MergeDefaultOptions(registry, defaults);
    }
    if (std::remove(tempName.c_str()) == 0)
        dlog::Write(u"   %S removed sucessfully.\n", tempName);
    else
        dlog::Write(u"   ERROR: could not remove %S\n", tempName);

    registry.SetSTRING(opt::misc::kVersion, kVersion);

    registry.CD(opt::dictionaries::edict::kKey);
    const int number = registry.GetINT(opt::dictionaries::edict::rel::kNumber);
    for (int i = 0; i < number; ++i) {
        registry.CD(std::to_string(i));
        if (!registry.DataExists(opt::dictionaries::edict::entry::kEncoding))
            registry.SetSTRING(opt::dictionaries::edict::entry::kEncoding, "EUC-JP");
        registry.CD(opt::kParent);
    }
    registry.CD(opt::kRoot);
}

}  // namespace mirudex
