// history.dat: any bytes read as the history, written back and read again.
// Every line goes to the top as it is read, so the second reading gives the
// list in reverse order, unless an item had to be read in pieces.
#include <algorithm>

#include "FuzzSupport.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "userdata/History.h"

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
    bool short_items = true;
    for (const std::u16string& item : list.items())
        short_items = short_items && item.size() + 1 < userdata::kHistoryPieceLength;
    if (short_items)
        FUZZ_CHECK(std::equal(again.items().begin(), again.items().end(), list.items().rbegin(), list.items().rend()));
    return 0;
}
