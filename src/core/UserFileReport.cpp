#include "core/UserFileReport.h"

#include <system_error>

#include "core/DebugLog.h"
#include "core/Format.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"

namespace mirudex {

std::string ErrorText(int error) { return std::generic_category().message(error != 0 ? error : EIO); }

void TellNotSaved(std::u16string_view what, std::string_view path, std::string_view reason)
{
    dlog::Write(u"   ERROR: %S was not saved (%S).\n", path, reason);
    platform::Get().MessageBox(Format(u"Mirudex could not save %s to the file %s:\n\n%s.\n\nThe file has been left as "
                                      u"it was; the changes of this run are not in it.",
                                      what, Utf8ToUtf16(path), Utf8ToUtf16(reason)),
                               u"Error", platform::Buttons::Ok, platform::Owner::None);
}

}  // namespace mirudex
