// The options file parser: any text read into the store, written back, read
// again. The text written by the store must read back to the same text.
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

    Registry again;
    again.LoadFromText(saved);
    FUZZ_CHECK(again.SaveToText() == saved);

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
