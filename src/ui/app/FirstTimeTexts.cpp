#include "ui/app/Program.h"

#include "core/BuildConfig.h"
#include "core/Format.h"
#include "platform/qt/Translation.h"

// The five messages shown while .\Misc\FirstTime is TRUE.
namespace mirudex::ui {

namespace {

std::u16string Shown(const QString& text) { return text.toStdU16String(); }
QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

// Each text is shown in the user's language; values go in with one arg()
// each, so a value holding "%1" stays as it is.
std::u16string FirstTimeText(int index, const FirstTimeFacts& facts)
{
    switch (index) {
    case 0: {
        const QString fonts =
            facts.japaneseFonts.empty()
                ? platform::Tr(
                      QT_TRANSLATE_NOOP("Mirudex",
                                        "IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,\n"
                                        "you'll want to install a Japanese font; none is installed on this system.\n"
                                        "For example:\n"
                                        "     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic\n"))
                : platform::Tr(
                      QT_TRANSLATE_NOOP("Mirudex",
                                        "IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,\n"
                                        "choose one of the Japanese fonts installed on this system in the settings:\n"
                                        "     %1\n"))
                      .arg(Q(facts.japaneseFonts));
        return Shown(platform::Tr(QT_TRANSLATE_NOOP("Mirudex",
                                                    "Hello!! It would appear that this is your first time using "
                                                    "Mirudex.\n"
                                                    "\n"
                                                    "If you need help, please look at the user guide (Help > User "
                                                    "Guide):\n"
                                                    "     %1\n"
                                                    "\n"
                                                    "I figure that that's probably not what you want to do, so I'll "
                                                    "give you\n"
                                                    "a brief series of dialog boxes to get you up to speed on "
                                                    "Mirudex.\n"
                                                    "\n"
                                                    "\n"
                                                    "If you manage to really mess something up, the easiest way to "
                                                    "fix it is\n"
                                                    "to delete 'Options.mxreg' in Mirudex's working folder,\n"
                                                    "     %2\n"
                                                    "and then run Mirudex again.  It will make\n"
                                                    "itself a new options file with the default settings.\n"
                                                    "\n"
                                                    "\n"
                                                    "%3"
                                                    "\n"
                                                    "\n"
                                                    "Feel free to check out the toolbar; it has a lot of good "
                                                    "options.\n"
                                                    "Also, play with Mirudex's settings.  Remember, if you break "
                                                    "anything,\n"
                                                    "just delete the options file.\n"))
                         .arg(Q(facts.guidePath), Q(facts.workingFolder), fonts));
    }
    case 1:
        return Shown(platform::Tr(QT_TRANSLATE_NOOP("Mirudex",
                                                    "ABOUT SEARCHING:\n"
                                                    "(1)\n"
                                                    "   Use the IME (use CAPSLOCK to turn it on\\off).\n"
                                                    "   (This guy lets you type in Japanese)\n"
                                                    "\n"
                                                    "(2)\n"
                                                    "   Use the old style.\n"
                                                    "     To search for Japanese text, just type ROMAji or Japanese "
                                                    "and press Enter.\n"
                                                    "          * (You should enable ROMAji conversion for this to "
                                                    "work)\n"
                                                    "          Valid wildcards: _ (anything), and ? (one character).\n"
                                                    "\n"
                                                    "     To search for English text, type\n"
                                                    "          EN:EnglishTextHere\n"
                                                    "\n"
                                                    "\n"
                                                    "ENGLISH SEARCHING:\n"
                                                    "     NOTE: English act basically like normal search-engine "
                                                    "searches\n"
                                                    "     If you want to search for words with EXACTLY the meaning "
                                                    "that you want,\n"
                                                    "     put your search in quotes.  For example,\n"
                                                    "          \"happy\"\n"
                                                    "     To search using quotes--but NOT searching exactly--but a "
                                                    "space before\n"
                                                    "     the first quotes.\n"
                                                    "          <space>\"to run\" program\n"
                                                    "\n"
                                                    "\n"
                                                    "SEARCH FORCING:\n"
                                                    "     To force a Japanese search, use:\n"
                                                    "          JP:JapaneseTextHere\n"
                                                    "     To force a kanji information search, use:\n"
                                                    "          KN:Japanese/EnglishTextHere\n"
                                                    "     To force an English search, use:\n"
                                                    "          EN:EnglishTextHere\n")));
    case 2:
        return Shown(platform::Tr(QT_TRANSLATE_NOOP("Mirudex",
                                                    "The Studylist:\n"
                                                    "\n"
                                                    "Mirudex automatically saves your studylist data when Mirudex is "
                                                    "closed.\n"
                                                    "If you haven't specified a filename, it will use "
                                                    "'studylist.default'.\n"
                                                    "If there're no study list data, then it won't do anything.\n"
                                                    "\n"
                                                    "When you 'OPEN' or 'SAVE AS' a studylist, then Mirudex will set "
                                                    "its\n"
                                                    "default studylist to that file.\n"
                                                    "\n"
                                                    "When you 'CLOSE' a studylist, Mirudex has no default file, and "
                                                    "it will\n"
                                                    "create 'studylist.default' upon exiting if any entries remain in "
                                                    "the\n"
                                                    "studylist.\n"
                                                    "\n"
                                                    "To take entries off the studylist, select them and press "
                                                    "Delete, or\n"
                                                    "right-click them and choose 'Remove'.  Ctrl+Z puts them back.\n"
                                                    "\n"
                                                    "\n"
                                                    "NOTE:\n"
                                                    "     The studylist will ONLY work with EUC-JP-formatted "
                                                    "dictionaries.\n"
                                                    "     I will be fixing this in the future, but... not right now.\n"
                                                    "\n"
                                                    "\n"
                                                    "The History:\n"
                                                    "\n"
                                                    "Press CTRL+Spacebar to open the history of recently-searched "
                                                    "words.\n")));
    case 3:
        return Shown(platform::Tr(QT_TRANSLATE_NOOP("Mirudex",
                                                    "Some options:\n"
                                                    "\n"
                                                    "The reverse-conjugation option is pretty useful.  It'll be made "
                                                    "much\n"
                                                    "better in the near future, but it works fairly well right now.\n"
                                                    "\n"
                                                    "\n"
                                                    "Click on the colored buttons next to 'Search' for random words "
                                                    "and kanji.\n"
                                                    "\n"
                                                    "\n"
                                                    "For the result window and studylist, you can modify the headers "
                                                    "that\n"
                                                    "are shown by right-clicking on them or by pressing spacebar when "
                                                    "the\n"
                                                    "mouse is over their windows.\n"
                                                    "\n"
                                                    "\n"
                                                    "Remember, I know Mirudex inside and out, and a lot of the stuff "
                                                    "that\n"
                                                    "seems really simple and obvious to me is not simple and obvious "
                                                    "to\n"
                                                    "everyone else.  If you have any questions or comments, please "
                                                    "send\n"
                                                    "me an e-mail:\n"
                                                    "%1\n"))
                         .arg(Q(std::u16string(build::kContactAddress))));
    case 4:
        return std::u16string(
            u"Are you tired of this message?\n"
            u"YES: never show it again.\n"
            u"NO: show it next time, too.");
    default: return {};
    }
}

std::u16string RadicalFileMissingText(const std::string& folder)
{
    return Format(
        u"Mirudex found no radical file, so the Radical Lookup window stays empty.\n\n"
        u"It comes with Debian's xjdic package. Install it and make Mirudex's copy:\n\n"
        u"     sudo apt install xjdic\n"
        u"     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile > '%S/radkfile.dat'\n\n"
        u"and start Mirudex again.",
        folder);
}

}  // namespace mirudex::ui
