#include "core/OptionsStartup.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Format.h"
#include "core/Version.h"
#include "platform/api/Platform.h"

namespace mirudex {

namespace {

// An options file that is there but cannot be used: it is left exactly as it
// is (writing the defaults over it would lose every setting) and the program
// ends, as it does for a file that lacks a key.
[[noreturn]] void StopOnUnusableFile(const RegistryLoadResult& result)
{
    std::u16string why;
    if (result.status == RegistryLoad::TooDeep) {
        dlog::Write(u"   ERROR: %S has keys nested more than %i deep; it is damaged.\n", kOptionsFileName,
                    Registry::kMaxDepth);
        why = Format(u"Its keys are nested more than %i deep, so the file is damaged.", Registry::kMaxDepth);
    } else {
        const std::string reason = std::generic_category().message(result.error);
        dlog::Write(u"   ERROR: %S could not be read (%S).\n", kOptionsFileName, reason);
        why = Format(u"It could not be read: %S.", reason);
    }
    const std::u16string message = Format(
        u"Mirudex cannot use its options file, %S, in the folder it works in.\n\n%s\n\nThe file has been left as "
        u"it is. If it belongs to another user now, give it back to yours; otherwise the safest option would be to "
        u"back up your Options.mxreg file and then delete it, so that Mirudex will make a new one.\n\nMirudex will "
        u"now quit to be safe.",
        kOptionsFileName, why);
    platform::Get().MessageBox(message, u"Error", platform::Buttons::Ok, platform::Owner::None);
    platform::Get().Exit(-1);
    std::abort();  // Exit() never returns
}

}  // namespace

bool LoadOptionsAtStartup(Registry& registry)
{
    dlog::Write(u"Loading Options...............");
    RemoveLeftoverTemporaries(kOptionsFileName);
    const RegistryLoadResult result = registry.LoadFile(kOptionsFileName);
    if (result.status == RegistryLoad::Loaded) {
        dlog::Write(u"OKAY\n");
        return true;
    }
    dlog::Write(u"FAILED\n");
    if (result.status != RegistryLoad::Missing)
        StopOnUnusableFile(result);
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
    for (std::string_view item : {opt::misc::kGrabSelection, opt::misc::kCloseToTray, opt::misc::kReader})
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
