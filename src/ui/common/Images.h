#pragma once

namespace mirudex::ui {

// Registers the main window's pictures (the icon and the About picture) with
// Qt. The library is static, so its resources must be pulled in by a call.
void InitImageResources();

}  // namespace mirudex::ui
