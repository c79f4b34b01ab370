// The study list reader: the data is a study list file, loaded the way the
// program opens one (the dictionary loader runs in place of the worker).
#include "FuzzSupport.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "userdata/StudyList.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    auto options = fuzz::DefaultOptions();
    fuzz::WriteFile("studylist.fuzz", fuzz::Bytes(data, size));
    dict::MarkerTable markers;
    userdata::StudyListFile file;
    markers.Add(u"n", u"noun");
    markers.Add(u"vs", u"suru verb");
    userdata::StudyListContext context{*options, markers,
                                       [&](dict::Dictionary& d) {
                                           dict::EDICT_Index_Load(d, *options);
                                           return userdata::LoadWait::Finished;
                                       },
                                       file};
    std::vector<dict::Entry> list;
    if (userdata::LoadStudyList(list, context, "studylist.fuzz", false)) {
        // What was read can be written back.
        userdata::SaveStudyList(list, "saved.fuzz");
    }
    return 0;
}
