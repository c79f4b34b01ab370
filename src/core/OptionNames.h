#pragma once
// The name of every option the program reads or writes. The namespaces follow
// the key tree of Options.mxreg: opt::search::toolbars::kFuzzy is the item
// ".\Search\Toolbars\Fuzzy". Full paths start at the root; the few names in a
// `rel` namespace (or `entry`, `header_item`) are relative to a key and only
// for code that has moved there with CD. Paths through numbered keys (the
// dictionaries, the result window's columns, the kanji window's header
// shares) come from the small functions below.
//
// Every name must exist in the default options file with the kind listed in
// kOptionNames (a missing one ends the program as a broken installation),
// and every item of that file must be named here; the core tests check both
// ways. Code outside this file writes no option path as a literal.

#include <array>
#include <string>
#include <string_view>

namespace mirudex::opt {

// For CD: the root, and the parent of the current key.
inline constexpr std::string_view kRoot = ".";
inline constexpr std::string_view kParent = "..";

// The face and point-size items of one font key, read and chosen together.
struct FontItems {
    std::string_view face;
    std::string_view size;
};

namespace window {
inline constexpr std::string_view kKey = ".\\Window";
inline constexpr std::string_view kRememberSize = ".\\Window\\RememberSize";
inline constexpr std::string_view kWindowX = ".\\Window\\Window_x";
inline constexpr std::string_view kWindowY = ".\\Window\\Window_y";
inline constexpr std::string_view kWindowW = ".\\Window\\Window_w";
inline constexpr std::string_view kWindowH = ".\\Window\\Window_h";
inline constexpr std::string_view kDivVert = ".\\Window\\Div_vert";
inline constexpr std::string_view kDivVertBottomHoriz = ".\\Window\\Div_vert_bottom_horiz";
// Heights of the study list pane under the results and of the radical pane
// under the kanji window (each sets the divider above it); -1 until the pane
// was shown and the program closed.
inline constexpr std::string_view kStudyListH = ".\\Window\\StudyList_h";
inline constexpr std::string_view kRadicalLookupH = ".\\Window\\RadicalLookup_h";
// Relative to kKey: the main window's placement is read and written after CD there.
namespace rel {
inline constexpr std::string_view kWindowX = "Window_x";
inline constexpr std::string_view kWindowY = "Window_y";
inline constexpr std::string_view kWindowW = "Window_w";
inline constexpr std::string_view kWindowH = "Window_h";
inline constexpr std::string_view kDivVert = "Div_vert";
inline constexpr std::string_view kDivVertBottomHoriz = "Div_vert_bottom_horiz";
inline constexpr std::string_view kStudyListH = "StudyList_h";
inline constexpr std::string_view kRadicalLookupH = "RadicalLookup_h";
}  // namespace rel
}  // namespace window

namespace search {
namespace font {
inline constexpr std::string_view kFont = ".\\Search\\Font\\Font";
inline constexpr std::string_view kSize = ".\\Search\\Font\\Size";
inline constexpr std::string_view kColor = ".\\Search\\Font\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace font
namespace toolbars {
inline constexpr std::string_view kType = ".\\Search\\Toolbars\\Type";
inline constexpr std::string_view kSubstr = ".\\Search\\Toolbars\\Substr";
inline constexpr std::string_view kWord = ".\\Search\\Toolbars\\Word";
inline constexpr std::string_view kFuzzy = ".\\Search\\Toolbars\\Fuzzy";
inline constexpr std::string_view kRomajiConversion = ".\\Search\\Toolbars\\Romaji-conversion";
inline constexpr std::string_view kKanaSensitive = ".\\Search\\Toolbars\\Kana-sensitive";
inline constexpr std::string_view kShow = ".\\Search\\Toolbars\\Show";
inline constexpr std::string_view kEncoding = ".\\Search\\Toolbars\\Encoding";
}  // namespace toolbars
namespace recent_list {
inline constexpr std::string_view kEnabled = ".\\Search\\RecentList\\Enabled";
inline constexpr std::string_view kMax = ".\\Search\\RecentList\\Max";
inline constexpr std::string_view kLoad = ".\\Search\\RecentList\\Load";
}  // namespace recent_list
inline constexpr std::string_view kWindowBG = ".\\Search\\WindowBG";
inline constexpr std::string_view kShowInitialText = ".\\Search\\ShowInitialText";
inline constexpr std::string_view kAlwaysSearchFocus = ".\\Search\\AlwaysSearchFocus";
inline constexpr std::string_view kLanguage = ".\\Search\\Language";
}  // namespace search

namespace dictionaries {
namespace edict {
inline constexpr std::string_view kKey = ".\\Dictionaries\\EDICT";
inline constexpr std::string_view kNumber = ".\\Dictionaries\\EDICT\\Number";
// Relative to kKey.
namespace rel {
inline constexpr std::string_view kNumber = "Number";
}  // namespace rel
// The items of one dictionary's key (named "0" .. Number-1 under kKey),
// relative to that key.
namespace entry {
inline constexpr std::string_view kPath = "Path";
inline constexpr std::string_view kName = "Name";
inline constexpr std::string_view kEncoding = "Encoding";
inline constexpr std::string_view kOn = "On";
// "EDICT" or "EDICT2"; missing or anything else: told from the file.
inline constexpr std::string_view kFormat = "Format";
}  // namespace entry
// The key of dictionary n, and its items.
inline std::string Entry(int n) { return std::string(kKey) + "\\" + std::to_string(n); }
inline std::string EntryItem(int n, std::string_view item) { return Entry(n) + "\\" + std::string(item); }
inline std::string Path(int n) { return EntryItem(n, entry::kPath); }
inline std::string Name(int n) { return EntryItem(n, entry::kName); }
inline std::string Encoding(int n) { return EntryItem(n, entry::kEncoding); }
inline std::string On(int n) { return EntryItem(n, entry::kOn); }
inline std::string Format(int n) { return EntryItem(n, entry::kFormat); }
}  // namespace edict
namespace kanjidic {
inline constexpr std::string_view kPath = ".\\Dictionaries\\KANJIDIC\\Path";
inline constexpr std::string_view kName = ".\\Dictionaries\\KANJIDIC\\Name";
}  // namespace kanjidic
namespace radkfile {
inline constexpr std::string_view kPath = ".\\Dictionaries\\RADKFILE\\Path";
}  // namespace radkfile
inline constexpr std::string_view kIndexing = ".\\Dictionaries\\Indexing";
// Importing JMdict: the language of the glosses kept (as JMdict names it).
namespace jmdict {
inline constexpr std::string_view kLanguage = ".\\Dictionaries\\JMdict\\Language";
}  // namespace jmdict
// Dictionaries > Download Current Dictionary: where the current dictionary is fetched from.
namespace download {
inline constexpr std::string_view kURL = ".\\Dictionaries\\Download\\URL";
}  // namespace download
}  // namespace dictionaries

namespace buffer {
inline constexpr std::string_view kEDICT = ".\\Buffer\\EDICT";
inline constexpr std::string_view kKANJIDIC = ".\\Buffer\\KANJIDIC";
inline constexpr std::string_view kRADKFILE = ".\\Buffer\\RADKFILE";
}  // namespace buffer

// One column of a result window: the key named N under a HeaderItems key
// (results::header_items::kKey, study_list::header_items::kKey) holds
// column N.
namespace header_item {
inline constexpr std::string_view kHeader = "Header";
inline constexpr std::string_view kPercentage = "Percentage";
inline constexpr std::string_view kPosition = "Position";
inline std::string Item(std::string_view headerItemsKey, int n, std::string_view item)
{
    return std::string(headerItemsKey) + "\\" + std::to_string(n) + "\\" + std::string(item);
}
inline std::string Header(std::string_view headerItemsKey, int n) { return Item(headerItemsKey, n, kHeader); }
inline std::string Percentage(std::string_view headerItemsKey, int n) { return Item(headerItemsKey, n, kPercentage); }
inline std::string Position(std::string_view headerItemsKey, int n) { return Item(headerItemsKey, n, kPosition); }
}  // namespace header_item

namespace results {
namespace fonts {
namespace word {
inline constexpr std::string_view kFont = ".\\Results\\Fonts\\Word\\Font";
inline constexpr std::string_view kSize = ".\\Results\\Fonts\\Word\\Size";
inline constexpr std::string_view kColor = ".\\Results\\Fonts\\Word\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace word
namespace kana {
inline constexpr std::string_view kFont = ".\\Results\\Fonts\\Kana\\Font";
inline constexpr std::string_view kSize = ".\\Results\\Fonts\\Kana\\Size";
inline constexpr std::string_view kColor = ".\\Results\\Fonts\\Kana\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace kana
namespace meaning {
inline constexpr std::string_view kFont = ".\\Results\\Fonts\\Meaning\\Font";
inline constexpr std::string_view kSize = ".\\Results\\Fonts\\Meaning\\Size";
inline constexpr std::string_view kColor = ".\\Results\\Fonts\\Meaning\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace meaning
namespace info {
inline constexpr std::string_view kFont = ".\\Results\\Fonts\\Info\\Font";
inline constexpr std::string_view kSize = ".\\Results\\Fonts\\Info\\Size";
inline constexpr std::string_view kColor = ".\\Results\\Fonts\\Info\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace info
}  // namespace fonts
namespace colors {
inline constexpr std::string_view kBG1 = ".\\Results\\Colors\\BG1";
inline constexpr std::string_view kBG2 = ".\\Results\\Colors\\BG2";
inline constexpr std::string_view kBGWindow = ".\\Results\\Colors\\BGWindow";
inline constexpr std::string_view kBorderInside = ".\\Results\\Colors\\Border_Inside";
inline constexpr std::string_view kBorderOutside = ".\\Results\\Colors\\Border_Outside";
}  // namespace colors
namespace header_items {
inline constexpr std::string_view kKey = ".\\Results\\HeaderItems";
}  // namespace header_items
namespace copy {
inline constexpr std::string_view kFormat = ".\\Results\\Copy\\Format";
inline constexpr std::string_view kSepInfo = ".\\Results\\Copy\\SepInfo";
inline constexpr std::string_view kSepMeaning = ".\\Results\\Copy\\SepMeaning";
inline constexpr std::string_view kSepMultiple = ".\\Results\\Copy\\SepMultiple";
}  // namespace copy
inline constexpr std::string_view kSize = ".\\Results\\Size";
inline constexpr std::string_view kSort1 = ".\\Results\\Sort1";
inline constexpr std::string_view kSort1Asc = ".\\Results\\Sort1 Asc";
inline constexpr std::string_view kSort2 = ".\\Results\\Sort2";
inline constexpr std::string_view kSort2Asc = ".\\Results\\Sort2 Asc";
// One line per entry (word, reading, first sense) in both result windows.
inline constexpr std::string_view kCompactRows = ".\\Results\\CompactRows";
}  // namespace results

namespace study_list {
namespace header_items {
inline constexpr std::string_view kKey = ".\\StudyList\\HeaderItems";
}  // namespace header_items
inline constexpr std::string_view kOn = ".\\StudyList\\On";
inline constexpr std::string_view kFile = ".\\StudyList\\File";
}  // namespace study_list

namespace kanji {
namespace fonts {
namespace kanji {
inline constexpr std::string_view kFont = ".\\Kanji\\Fonts\\Kanji\\Font";
inline constexpr std::string_view kSize = ".\\Kanji\\Fonts\\Kanji\\Size";
inline constexpr std::string_view kColor = ".\\Kanji\\Fonts\\Kanji\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace kanji
namespace on {
inline constexpr std::string_view kFont = ".\\Kanji\\Fonts\\On\\Font";
inline constexpr std::string_view kSize = ".\\Kanji\\Fonts\\On\\Size";
inline constexpr std::string_view kColor = ".\\Kanji\\Fonts\\On\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace on
namespace kun {
// The kun readings are drawn in the On font; only their colour is their own.
inline constexpr std::string_view kColor = ".\\Kanji\\Fonts\\Kun\\Color";
}  // namespace kun
namespace meaning {
inline constexpr std::string_view kFont = ".\\Kanji\\Fonts\\Meaning\\Font";
inline constexpr std::string_view kSize = ".\\Kanji\\Fonts\\Meaning\\Size";
inline constexpr std::string_view kColor = ".\\Kanji\\Fonts\\Meaning\\Color";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace meaning
}  // namespace fonts
namespace colors {
inline constexpr std::string_view kBG1 = ".\\Kanji\\Colors\\BG1";
inline constexpr std::string_view kBG2 = ".\\Kanji\\Colors\\BG2";
inline constexpr std::string_view kBGWindow = ".\\Kanji\\Colors\\BGWindow";
inline constexpr std::string_view kBorderInside = ".\\Kanji\\Colors\\Border_Inside";
inline constexpr std::string_view kBorderOutside = ".\\Kanji\\Colors\\Border_Outside";
}  // namespace colors
// The shares in percent of the items of the kanji window's two headers:
// Header0 .. Header3 under the first key, Header0 and Header1 under the second.
namespace header_window {
inline constexpr std::string_view kKey1 = ".\\Kanji\\HeaderWindow1";
inline constexpr std::string_view kKey2 = ".\\Kanji\\HeaderWindow2";
inline std::string Header(std::string_view headerWindowKey, int i)
{
    return std::string(headerWindowKey) + "\\Header" + std::to_string(i);
}
}  // namespace header_window
inline constexpr std::string_view kSort1Level = ".\\Kanji\\Sort1 Level";
inline constexpr std::string_view kSort1Button = ".\\Kanji\\Sort1 Button";
inline constexpr std::string_view kSort1Asc = ".\\Kanji\\Sort1 Asc";
inline constexpr std::string_view kSort2Level = ".\\Kanji\\Sort2 Level";
inline constexpr std::string_view kSort2Button = ".\\Kanji\\Sort2 Button";
inline constexpr std::string_view kSort2Asc = ".\\Kanji\\Sort2 Asc";
}  // namespace kanji

namespace radical_lookup {
inline constexpr std::string_view kOn = ".\\RadicalLookup\\On";
inline constexpr std::string_view kCtrlClick = ".\\RadicalLookup\\CtrlClick";
}  // namespace radical_lookup

namespace misc {
namespace font {
inline constexpr std::string_view kFont = ".\\Misc\\Font\\Font";
inline constexpr std::string_view kSize = ".\\Misc\\Font\\Size";
inline constexpr FontItems kFontItems{kFont, kSize};
}  // namespace font
inline constexpr std::string_view kFirstTime = ".\\Misc\\FirstTime";
inline constexpr std::string_view kAlwaysOnTop = ".\\Misc\\AlwaysOnTop";
inline constexpr std::string_view kGrabClipboard = ".\\Misc\\GrabClipboard";
inline constexpr std::string_view kGrabClipboardAutoSearch = ".\\Misc\\GrabClipboard-AutoSearch";
// Highlighted text (the X11 primary selection) is watched like the clipboard.
inline constexpr std::string_view kGrabSelection = ".\\Misc\\GrabSelection";
// Closing the main window leaves the program in the tray.
inline constexpr std::string_view kCloseToTray = ".\\Misc\\CloseToTray";
// The reading view under the search box: searched text longer than a word is
// shown there word by word.
inline constexpr std::string_view kReader = ".\\Misc\\Reader";
inline constexpr std::string_view kVersion = ".\\Misc\\Version";
inline constexpr std::string_view kIME = ".\\Misc\\IME";
inline constexpr std::string_view kROMAjiMode = ".\\Misc\\ROMAjiMode";
}  // namespace misc

// ---- The table of every name above, for the check against the default file.

enum class OptionKind { Key, STRING, INT, BOOL };

struct OptionName {
    std::string_view path;
    OptionKind kind;
};

// A name relative to a key.
struct RelativeOptionName {
    std::string_view key;
    std::string_view name;
    OptionKind kind;
};

inline constexpr auto kOptionNames = std::to_array<OptionName>({
    {window::kKey, OptionKind::Key},
    {window::kRememberSize, OptionKind::BOOL},
    {window::kWindowX, OptionKind::INT},
    {window::kWindowY, OptionKind::INT},
    {window::kWindowW, OptionKind::INT},
    {window::kWindowH, OptionKind::INT},
    {window::kDivVert, OptionKind::INT},
    {window::kDivVertBottomHoriz, OptionKind::INT},
    {window::kStudyListH, OptionKind::INT},
    {window::kRadicalLookupH, OptionKind::INT},

    {search::font::kFont, OptionKind::STRING},
    {search::font::kSize, OptionKind::INT},
    {search::font::kColor, OptionKind::INT},
    {search::toolbars::kType, OptionKind::INT},
    {search::toolbars::kSubstr, OptionKind::BOOL},
    {search::toolbars::kWord, OptionKind::BOOL},
    {search::toolbars::kFuzzy, OptionKind::BOOL},
    {search::toolbars::kRomajiConversion, OptionKind::BOOL},
    {search::toolbars::kKanaSensitive, OptionKind::BOOL},
    {search::toolbars::kShow, OptionKind::BOOL},
    {search::toolbars::kEncoding, OptionKind::INT},
    {search::recent_list::kEnabled, OptionKind::BOOL},
    {search::recent_list::kMax, OptionKind::INT},
    {search::recent_list::kLoad, OptionKind::BOOL},
    {search::kWindowBG, OptionKind::INT},
    {search::kShowInitialText, OptionKind::BOOL},
    {search::kAlwaysSearchFocus, OptionKind::BOOL},
    {search::kLanguage, OptionKind::INT},

    {dictionaries::edict::kKey, OptionKind::Key},
    {dictionaries::edict::kNumber, OptionKind::INT},
    {dictionaries::kanjidic::kPath, OptionKind::STRING},
    {dictionaries::kanjidic::kName, OptionKind::STRING},
    {dictionaries::radkfile::kPath, OptionKind::STRING},
    {dictionaries::kIndexing, OptionKind::BOOL},
    {dictionaries::jmdict::kLanguage, OptionKind::STRING},
    {dictionaries::download::kURL, OptionKind::STRING},

    {buffer::kEDICT, OptionKind::INT},
    {buffer::kKANJIDIC, OptionKind::INT},
    {buffer::kRADKFILE, OptionKind::INT},

    {results::fonts::word::kFont, OptionKind::STRING},
    {results::fonts::word::kSize, OptionKind::INT},
    {results::fonts::word::kColor, OptionKind::INT},
    {results::fonts::kana::kFont, OptionKind::STRING},
    {results::fonts::kana::kSize, OptionKind::INT},
    {results::fonts::kana::kColor, OptionKind::INT},
    {results::fonts::meaning::kFont, OptionKind::STRING},
    {results::fonts::meaning::kSize, OptionKind::INT},
    {results::fonts::meaning::kColor, OptionKind::INT},
    {results::fonts::info::kFont, OptionKind::STRING},
    {results::fonts::info::kSize, OptionKind::INT},
    {results::fonts::info::kColor, OptionKind::INT},
    {results::colors::kBG1, OptionKind::INT},
    {results::colors::kBG2, OptionKind::INT},
    {results::colors::kBGWindow, OptionKind::INT},
    {results::colors::kBorderInside, OptionKind::INT},
    {results::colors::kBorderOutside, OptionKind::INT},
    {results::header_items::kKey, OptionKind::Key},
    {results::copy::kFormat, OptionKind::STRING},
    {results::copy::kSepInfo, OptionKind::STRING},
    {results::copy::kSepMeaning, OptionKind::STRING},
    {results::copy::kSepMultiple, OptionKind::STRING},
    {results::kSize, OptionKind::INT},
    {results::kSort1, OptionKind::INT},
    {results::kSort1Asc, OptionKind::BOOL},
    {results::kSort2, OptionKind::INT},
    {results::kSort2Asc, OptionKind::BOOL},
    {results::kCompactRows, OptionKind::BOOL},

    {study_list::header_items::kKey, OptionKind::Key},
    {study_list::kOn, OptionKind::BOOL},
    {study_list::kFile, OptionKind::STRING},

    {kanji::fonts::kanji::kFont, OptionKind::STRING},
    {kanji::fonts::kanji::kSize, OptionKind::INT},
    {kanji::fonts::kanji::kColor, OptionKind::INT},
    {kanji::fonts::on::kFont, OptionKind::STRING},
    {kanji::fonts::on::kSize, OptionKind::INT},
    {kanji::fonts::on::kColor, OptionKind::INT},
    {kanji::fonts::kun::kColor, OptionKind::INT},
    {kanji::fonts::meaning::kFont, OptionKind::STRING},
    {kanji::fonts::meaning::kSize, OptionKind::INT},
    {kanji::fonts::meaning::kColor, OptionKind::INT},
    {kanji::colors::kBG1, OptionKind::INT},
    {kanji::colors::kBG2, OptionKind::INT},
    {kanji::colors::kBGWindow, OptionKind::INT},
    {kanji::colors::kBorderInside, OptionKind::INT},
    {kanji::colors::kBorderOutside, OptionKind::INT},
    {kanji::header_window::kKey1, OptionKind::Key},
    {kanji::header_window::kKey2, OptionKind::Key},
    {kanji::kSort1Level, OptionKind::INT},
    {kanji::kSort1Button, OptionKind::INT},
    {kanji::kSort1Asc, OptionKind::BOOL},
    {kanji::kSort2Level, OptionKind::INT},
    {kanji::kSort2Button, OptionKind::INT},
    {kanji::kSort2Asc, OptionKind::BOOL},

    {radical_lookup::kOn, OptionKind::BOOL},
    {radical_lookup::kCtrlClick, OptionKind::BOOL},

    {misc::font::kFont, OptionKind::STRING},
    {misc::font::kSize, OptionKind::INT},
    {misc::kFirstTime, OptionKind::BOOL},
    {misc::kAlwaysOnTop, OptionKind::BOOL},
    {misc::kGrabClipboard, OptionKind::BOOL},
    {misc::kGrabClipboardAutoSearch, OptionKind::BOOL},
    {misc::kGrabSelection, OptionKind::BOOL},
    {misc::kCloseToTray, OptionKind::BOOL},
    {misc::kReader, OptionKind::BOOL},
    {misc::kVersion, OptionKind::STRING},
    {misc::kIME, OptionKind::BOOL},
    {misc::kROMAjiMode, OptionKind::BOOL},
});

inline constexpr auto kRelativeOptionNames = std::to_array<RelativeOptionName>({
    {window::kKey, window::rel::kWindowX, OptionKind::INT},
    {window::kKey, window::rel::kWindowY, OptionKind::INT},
    {window::kKey, window::rel::kWindowW, OptionKind::INT},
    {window::kKey, window::rel::kWindowH, OptionKind::INT},
    {window::kKey, window::rel::kDivVert, OptionKind::INT},
    {window::kKey, window::rel::kDivVertBottomHoriz, OptionKind::INT},
    {window::kKey, window::rel::kStudyListH, OptionKind::INT},
    {window::kKey, window::rel::kRadicalLookupH, OptionKind::INT},
    {dictionaries::edict::kKey, dictionaries::edict::rel::kNumber, OptionKind::INT},
});

}  // namespace mirudex::opt
