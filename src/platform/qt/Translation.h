#pragma once
// The user's language. Every text a window shows is written in English in the
// code and looked up, in the one context "Mirudex", in the translation loaded
// for the user's locale; without one the English text is shown.
//
// Texts made below the windows (message boxes, status texts, chooser titles)
// arrive at the Qt platform already written out; ShownText() finds the
// translation of such a text whole, or of the pattern it was written from
// ("Loading EDICT: %S..."), and puts the pattern's values into the translation
// in their order. The debug log and the options file never pass through here.

#include <QLocale>
#include <QString>
#include <vector>

namespace mirudex::platform {

inline constexpr char kTranslationContext[] = "Mirudex";

// The translation of an English text of the program.
QString Tr(const char* english);

// A label's text as read aloud: without its mnemonic, whether marked in the
// text ("&File") or added after it as in Japanese ("ファイル(&F)"); "&&" is a
// plain "&".
QString WithoutMnemonic(const QString& text);

// The translation of a text written out below the windows: of the text
// itself, else of the first pattern that matches it whole; else the text.
QString ShownText(const QString& text);

// The patterns ShownText() knows, in English (for tests).
std::vector<const char*> ShownTextPatterns();

// Loads the program's translation for the locale (and Qt's own, where
// installed) and installs it in the application, replacing any loaded
// before. False when the program has none for the locale: English is shown.
bool InstallTranslations(const QLocale& locale);
// Removes the installed translations: English again.
void RemoveTranslations();

}  // namespace mirudex::platform
