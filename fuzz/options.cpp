// The options file parser: any text read into the store, written back, read
// again, and so on; what the store writes settles at once.
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

    // A file read and written once may still change once more (a name
    // ending in carriage returns loses them when read again), but never
    // after that: a file that kept changing would grow or lose settings at
    // every start.
    Registry again;
    again.LoadFromText(saved);
    const std::string savedAgain = again.SaveToText();
    Registry third;
    third.LoadFromText(savedAgain);
    FUZZ_CHECK(third.SaveToText() == savedAgain);

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
