#pragma once
// Command identifiers of the main window's menu, and the ids of the
// Dictionaries pop-up's items.

namespace mirudex::ui {

inline constexpr int ID_EXIT = 40001;
inline constexpr int ID_SETTINGS = 40002;
inline constexpr int ID_ABOUT = 40003;
inline constexpr int ID_SEARCH_GO = 40010;
inline constexpr int ID_ENCODE_PASTE = 40013;
inline constexpr int ID_DICTIONARIES = 40014;
inline constexpr int ID_ADD_DICT = 40015;
inline constexpr int ID_WINDOW_RADICALLOOKUP = 40016;
inline constexpr int ID_CHECK_UPDATES = 40020;
inline constexpr int ID_ALWAYS_ON_TOP = 40021;
inline constexpr int ID_WINDOW_STUDYLIST = 40026;
inline constexpr int ID_STUDYLIST_OPEN = 40029;
inline constexpr int ID_STUDYLIST_SAVE = 40030;
inline constexpr int ID_STUDYLIST_SAVE_AS = 40031;
inline constexpr int ID_STUDYLIST_IMPORT = 40032;
inline constexpr int ID_STUDYLIST_CLOSE = 40033;
// Help > User Guide: opens the user guide (docs/index.html).
inline constexpr int ID_USER_GUIDE = 40036;
// Window > Reading View: the reading view under the search box, on or off.
inline constexpr int ID_WINDOW_READER = 40037;
// Items at the foot of the Dictionaries pop-up.
inline constexpr int ID_IMPORT_JMDICT = 40038;
inline constexpr int ID_DOWNLOAD_DICTIONARY = 40039;

inline constexpr int kPopupFirstDictionary = 100;
inline constexpr int kPopupLastToggleable = 150;  // dictionaries 0..50
inline constexpr int kPopupAll = 1100;
inline constexpr int kPopupNone = 1200;
inline constexpr int kPopupDone = 1300;

}  // namespace mirudex::ui
