#include "ui/app/Program.h"

#include "core/BuildConfig.h"
#include "core/Format.h"

// The five messages shown while .\Misc\FirstTime is TRUE.
namespace mirudex::ui {

std::u16string FirstTimeText(int index, const FirstTimeFacts& facts)
{
    switch (index) {
    case 0: {
        std::u16string fonts;
        if (facts.japaneseFonts.empty())
            fonts =
                u"IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,\n"
                u"you'll want to install a Japanese font; none is installed on this system.\n"
                u"For example:\n"
                u"     sudo apt install fonts-ipafont-mincho fonts-ipafont-gothic\n";
        else
            fonts =
                u"IF YOU CANNOT SEE JAPANESE TEXT IN MIRUDEX,\n"
                u"choose one of the Japanese fonts installed on this system in the settings:\n"
                u"     " +
                facts.japaneseFonts + u"\n";
        return u"Hello!! It would appear that this is your first time using Mirudex.\n"
               u"\n"
               u"If you need help, please look at the user guide (Help > User Guide):\n"
               u"     " +
               facts.guidePath +
               u"\n"
               u"\n"
               u"I figure that that's probably not what you want to do, so I'll give you\n"
               u"a brief series of dialog boxes to get you up to speed on Mirudex.\n"
               u"\n"
               u"\n"
               u"If you manage to really mess something up, the easiest way to fix it is\n"
               u"to delete 'Options.mxreg' in Mirudex's working folder,\n"
               u"     " +
               facts.workingFolder +
               u"\n"
               u"and then run Mirudex again.  It will make\n"
               u"itself a new options file with the default settings.\n"
               u"\n"
               u"\n" +
               fonts +
               u"\n"
               u"\n"
               u"Feel free to check out the toolbar; it has a lot of good options.\n"
               u"Also, play with Mirudex's settings.  Remember, if you break anything,\n"
               u"just delete the options file.\n";
    }
    case 1:
        return std::u16string(
            u"ABOUT SEARCHING:\n"
            u"(1)\n"
            u"   Use the IME (use CAPSLOCK to turn it on\\off).\n"
            u"   (This guy lets you type in Japanese)\n"
            u"\n"
            u"(2)\n"
            u"   Use the old style.\n"
            u"     To search for Japanese text, just type ROMAji or Japanese and press Enter.\n"
            u"          * (You should enable ROMAji conversion for this to work)\n"
            u"          Valid wildcards: _ (anything), and ? (one character).\n"
            u"\n"
            u"     To search for English text, type\n"
            u"          EN:EnglishTextHere\n"
            u"\n"
            u"\n"
            u"ENGLISH SEARCHING:\n"
            u"     NOTE: English act basically like normal search-engine searches\n"
            u"     If you want to search for words with EXACTLY the meaning that you want,\n"
            u"     put your search in quotes.  For example,\n"
            u"          \"happy\"\n"
            u"     To search using quotes--but NOT searching exactly--but a space before\n"
            u"     the first quotes.\n"
            u"          <space>\"to run\" program\n"
            u"\n"
            u"\n"
            u"SEARCH FORCING:\n"
            u"     To force a Japanese search, use:\n"
            u"          JP:JapaneseTextHere\n"
            u"     To force a kanji information search, use:\n"
            u"          KN:Japanese/EnglishTextHere\n"
            u"     To force an English search, use:\n"
            u"          EN:EnglishTextHere\n");
    case 2:
        return std::u16string(
            u"The Studylist:\n"
            u"\n"
            u"Mirudex automatically saves your studylist data when Mirudex is closed.\n"
            u"If you haven't specified a filename, it will use 'studylist.default'.\n"
            u"If there're no study list data, then it won't do anything.\n"
            u"\n"
            u"When you 'OPEN' or 'SAVE AS' a studylist, then Mirudex will set its\n"
            u"default studylist to that file.\n"
            u"\n"
            u"When you 'CLOSE' a studylist, Mirudex has no default file, and it will\n"
            u"create 'studylist.default' upon exiting if any entries remain in the\n"
            u"studylist.\n"
            u"\n"
            u"To take entries off the studylist, select them and press Delete, or\n"
            u"right-click them and choose 'Remove'.  Ctrl+Z puts them back.\n"
            u"\n"
            u"\n"
            u"NOTE:\n"
            u"     The studylist will ONLY work with EUC-JP-formatted dictionaries.\n"
            u"     I will be fixing this in the future, but... not right now.\n"
            u"\n"
            u"\n"
            u"The History:\n"
            u"\n"
            u"Press CTRL+Spacebar to open the history of recently-searched words.\n");
    case 3:
        return std::u16string(
                   u"Some options:\n"
                   u"\n"
                   u"The reverse-conjugation option is pretty useful.  It'll be made much\n"
                   u"better in the near future, but it works fairly well right now.\n"
                   u"\n"
                   u"\n"
                   u"Click on the colored buttons next to 'Search' for random words and kanji.\n"
                   u"\n"
                   u"\n"
                   u"For the result window and studylist, you can modify the headers that\n"
                   u"are shown by right-clicking on them or by pressing spacebar when the\n"
                   u"mouse is over their windows.\n"
                   u"\n"
                   u"\n"
                   u"Remember, I know Mirudex inside and out, and a lot of the stuff that\n"
                   u"seems really simple and obvious to me is not simple and obvious to\n"
                   u"everyone else.  If you have any questions or comments, please send\n"
                   u"me an e-mail:\n") +
               build::kContactAddress + u"\n";
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
