#pragma once
// The options steps of start-up: load Options.mxreg (writing the default file
// first when there is none), dump the store to the log, and bring a file from
// an older version up to date by merging the defaults into it.

#include "core/Registry.h"

namespace mirudex {

// Loads Options.mxreg into the store, or, when there is no such file, writes
// the default file under that name and loads it. A file that is there but
// cannot be read, or is damaged, is left alone: a message box says why and
// the process ends with status -1. Temporary files that an interrupted save
// left beside it are removed first. Writes the "Loading Options..." progress
// lines. True when a file was loaded.
bool LoadOptionsAtStartup(Registry& registry);

// Makes the root current and, above debug level 0, prints the store.
void LogOptionsTree(Registry& registry);

// When .\Misc\Version is missing or sorts before this version: merges the
// default file into the store, sets the version, and gives every dictionary
// key without Encoding the encoding "EUC-JP".
void UpgradeOptionsIfOlder(Registry& registry);

// Items added to the default file without a new version number (the desktop
// ones: selection watching, closing to the tray, the reading view) are given their defaults in
// a file that lacks them, whatever its version: a missing item would end the
// program, and the upgrade above leaves a file of this version alone.
void AddItemsWithoutVersion(Registry& registry);

}  // namespace mirudex
