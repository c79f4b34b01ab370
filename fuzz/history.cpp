// history.dat: any bytes read as the history, written back and read again.
// The file holds the top item first, so the second reading gives the same
// list.

#include "userdata/History.h"
#include "FuzzSupport.h"
#include "core/OptionNames.h"
#include "core/Registry.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    auto options = fuzz::DefaultOptions();
    options->SetBOOL(opt::search::recent_list::kEnabled, true);
    options->SetBOOL(opt::search::recent_list::kLoad, true);
    options->SetINT(opt::search::recent_list::kMax, 1000);
    fuzz::WriteFile("history.dat", fuzz::Bytes(data, size));
    userdata::HistoryList list;
    userdata::LoadHistory(list, *options, "history.dat");
    FUZZ_CHECK(list.size() <= 1000);
    if (!userdata::SaveHistory(list, *options, "saved.dat"))
        return 0;
    userdata::HistoryList again;
    userdata::LoadHistory(again, *options, "saved.dat");
    FUZZ_CHECK(again.items() == list.items());
    return 0;
}
