#pragma once

namespace mirudex {

// The program's version: log banner, main window title, options-file upgrade check.
inline constexpr const char* kVersion = "1.0.7.502";
inline constexpr const char16_t* kVersionWide = u"1.0.7.502";

}  // namespace mirudex
