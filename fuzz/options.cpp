// The options file parser: any text read into the store, written back, read
// again, and so on; what the store writes never grows from one round to the
// next.
#include "FuzzSupport.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    Registry options;
    options.LoadFromText(fuzz::Bytes(data, size));
    const std::string saved = options.SaveToText();

    // Reading what the store wrote may still change it a little (a name
    // ending in carriage returns loses them, the line end taking them), but
    // it never makes it longer: a file that grew at every start would soon
    // hold nothing but copies.
    std::string previous = saved;
    for (int round = 0; round < 3; ++round) {
        Registry again;
        again.LoadFromText(previous);
        const std::string next = again.SaveToText();
        FUZZ_CHECK(next.size() <= previous.size());
        previous = next;
    }

    // Any text set by the program comes back exactly, whatever it holds.
    {
        Registry set;
        set.SetSTRING("value", fuzz::Bytes(data, size));
        Registry back;
        back.LoadFromText(set.SaveToText());
        FUZZ_CHECK(back.GetString("value") == fuzz::Bytes(data, size));
    }

    // Reading items that may or may not be there: a missing one is the
    // program's fatal exit, which the recording platform turns into FatalExit.
    for (const char* path : {".\\Search\\Language", "Number", ".\\Dictionaries\\EDICT\\0\\Path", ".\\..\\x"}) {
        try {
            options.DataExists(path);
            options.GetINT(path);
            options.GetString(path);
        } catch (const platform::FatalExit&) {
        }
    }
    return 0;
}
