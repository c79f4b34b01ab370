#pragma once
// Index files kept once for every user of a computer. The index and
// companion files of a dictionary that many users share (Debian's edict and
// enamdict) are built once, by the administrator's tools, into a shared
// folder: for the dictionary file /usr/share/edict/edict the folder holds a
// link "edict" to it, "edict.mxi" and "edict.mxs" (the companion with every
// group of search structures). A load whose dictionary is that very file
// (the link and the dictionary's path lead to the same file) uses them in
// place of its own index files while their identity equals the dictionary's
// (IndexIdentity.h): they are only read, never written, and nothing is
// written beside the user's dictionary. A shared index that differs (another
// encoding or line buffer in the user's options, a dictionary upgraded
// before the shared index was made again) is passed over, and the load
// makes and uses its own index files as it would without one.
//
// Threads: the shared folder is set once at start-up, before any load;
// loads read it from the load worker.

#include <string>

#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "dict/StopToken.h"

namespace mirudex::dict {

// The shared folder loads look in; empty (the default): none.
void SetSharedIndexFolder(std::string folder);
std::string SharedIndexFolder();

// Fills index from the shared folder's files of the dictionary file at
// dictionaryPath (an option path, as Dictionary::path) when they were made
// from the dictionary as `identity` describes it and hold every group of
// search structures. False, leaving index empty, otherwise. Never writes.
bool LoadSharedIndex(const std::string& dictionaryPath, const IndexIdentity& identity, IndexTable& index,
                     StopToken stop = {});
// The same from the given shared folder.
bool LoadSharedIndexFrom(const std::string& folder, const std::string& dictionaryPath, const IndexIdentity& identity,
                         IndexTable& index, StopToken stop = {});

// Removes the shared folder's files of a dictionary file name ("edict"):
// its link, index and companion. A file of that name that is not a link is left.
void RemoveSharedIndex(const std::string& folder, const std::string& name);

}  // namespace mirudex::dict
