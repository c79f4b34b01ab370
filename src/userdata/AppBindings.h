#pragma once
// The user-data routines on the program's process-wide state: the study list
// is edict_results list 1, the result windows' lists are what CopyEntries
// copies from, and study list loads run on the one worker.
//
// Threads: the user-interface thread only.

#include <functional>

#include "search/AppState.h"
#include "userdata/Copy.h"
#include "userdata/StudyList.h"

namespace mirudex::userdata {

// Waits on the user-interface thread for the running worker, as the
// progress-window loop does with flags 3: 1 when it finished, 0 when the
// user pressed ESC, 2 when a quit message came. Provided by the windows.
using WorkerWait = std::function<int()>;

// A runner that starts the dictionary-load worker on the record and waits
// with wait. A refused start gives Refused; ESC or a quit stops the worker
// (the flag is clear again afterwards) and gives Stopped or Quit; the caller
// passes a quit on to the main window.
DictionaryLoadRunner WorkerLoadRunner(search::AppState& state, WorkerWait wait);

// The context of the study list routines for this state: its options, its
// marker table, the runner, and the program's knowledge of the list's file.
StudyListContext StudyListContextOf(search::AppState& state, DictionaryLoadRunner runLoad, StudyListFile& file);

// The study list, edict_results list 1.
std::vector<dict::Entry>& StudyListOf(search::AppState& state);

// "Add to study list" of result window windowIndex (not the study list's own).
size_t AddToStudyList(search::AppState& state, int windowIndex);

// CopyEntries over result window windowIndex's list (0 results, 1 study list).
int CopyEntries(search::AppState& state, int windowIndex, CopyKind kind, int comboPosition);

}  // namespace mirudex::userdata
