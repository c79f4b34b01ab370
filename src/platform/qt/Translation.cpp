#include "platform/qt/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>

namespace mirudex::platform {

namespace {

// The texts written out below the windows, as they are written there: with
// their placeholders (%s, %S, %i, %04X), each standing for a value.
const char* const kPatterns[] = {
    // Captions
    QT_TRANSLATE_NOOP("Mirudex", "Error"),
    QT_TRANSLATE_NOOP("Mirudex", "Note"),
    QT_TRANSLATE_NOOP("Mirudex", "Note:"),
    QT_TRANSLATE_NOOP("Mirudex", "Warning"),
    QT_TRANSLATE_NOOP("Mirudex", "Error: iconv"),
    QT_TRANSLATE_NOOP("Mirudex", "Error: dictionary encoding"),
    QT_TRANSLATE_NOOP("Mirudex", "Save Study List"),
    QT_TRANSLATE_NOOP("Mirudex", "Updates complete"),
    // Status texts
    QT_TRANSLATE_NOOP("Mirudex", "IME -on-"),
    QT_TRANSLATE_NOOP("Mirudex", "IME -off-"),
    QT_TRANSLATE_NOOP("Mirudex", "Searching...\n"),
    QT_TRANSLATE_NOOP("Mirudex", "Searching..."),
    QT_TRANSLATE_NOOP("Mirudex", "Searching for Kanji..."),
    QT_TRANSLATE_NOOP("Mirudex", "Searching in dictionary '%S'..."),
    QT_TRANSLATE_NOOP("Mirudex", "Search complete (%i results) %s"),
    QT_TRANSLATE_NOOP("Mirudex", "Search complete (%i results)"),
    QT_TRANSLATE_NOOP("Mirudex", "Search aborted (%i results)"),
    QT_TRANSLATE_NOOP("Mirudex", "Radical Search complete (%i results)"),
    QT_TRANSLATE_NOOP("Mirudex", "Loading KANJIDIC..."),
    QT_TRANSLATE_NOOP("Mirudex", "Pre-loading EDICTs..."),
    QT_TRANSLATE_NOOP("Mirudex", "Pre-loading EDICTs... OKAY"),
    QT_TRANSLATE_NOOP("Mirudex", "Loading EDICT: %S..."),
    QT_TRANSLATE_NOOP("Mirudex", "EDICT: %S loaded"),
    QT_TRANSLATE_NOOP("Mirudex", "EDICT (%S) Loaded."),
    QT_TRANSLATE_NOOP("Mirudex", "Okay!!"),
    QT_TRANSLATE_NOOP("Mirudex", "Making index: %S..."),
    QT_TRANSLATE_NOOP("Mirudex", "Loading studylist..."),
    QT_TRANSLATE_NOOP("Mirudex", "Studylist loaded."),
    QT_TRANSLATE_NOOP("Mirudex", "Studylist loading... aborted."),
    QT_TRANSLATE_NOOP("Mirudex", "Checking server for updates... (%S)..."),
    QT_TRANSLATE_NOOP("Mirudex", "Getting file (%S) from (%S)..."),
    QT_TRANSLATE_NOOP("Mirudex", "Getting file (%S) from (%S)... FAILED!"),
    QT_TRANSLATE_NOOP("Mirudex", "Getting file (%S) from (%S)... OKAY!"),
    QT_TRANSLATE_NOOP("Mirudex", "The file name (%S) was refused."),
    QT_TRANSLATE_NOOP("Mirudex", "The list gives no SHA-256 for %S; it is not installed."),
    QT_TRANSLATE_NOOP("Mirudex", "CRC for %S FAILED."),
    QT_TRANSLATE_NOOP("Mirudex", "SHA-256 for %S FAILED."),
    // Notes put into a status text, one or several joined by blanks
    QT_TRANSLATE_NOOP("Mirudex", "-Results truncated-"),
    QT_TRANSLATE_NOOP("Mirudex", "-Nothing in English: searched as Japanese-"),
    QT_TRANSLATE_NOOP("Mirudex", "-Nothing as typed: searched its dictionary form-"),
    QT_TRANSLATE_NOOP("Mirudex", "-For English, press CAPS LOCK to turn the input method off and type it again-"),
    // What a message names
    QT_TRANSLATE_NOOP("Mirudex", "your settings"),
    QT_TRANSLATE_NOOP("Mirudex", "your study list"),
    QT_TRANSLATE_NOOP("Mirudex", "your search history"),
    // Messages
    QT_TRANSLATE_NOOP("Mirudex", "Couldn't create a new options file."),
    QT_TRANSLATE_NOOP("Mirudex", "Are you sure that you want to delete this dictionary?"),
    QT_TRANSLATE_NOOP("Mirudex", "There is still a search/dictionary-load going on.  %s() will not open a new one."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The dictionary '%S' (%S) is 2 GB or larger. Mirudex can only use dictionaries smaller than "
                      "2 GB, so it goes on without it."),
    QT_TRANSLATE_NOOP("Mirudex", "The dictionary '%S' (%S) could not be opened: %S.\n\nMirudex goes on without it."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "This file: %S, is not a correct index file.\n\nThis could be because it is an older version.  "
                      "In any case, the file will not work.\n\nMirudex will NOT use it as an index file.  Do you "
                      "want to erase the file and have it be rewritten correctly?"),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The encoding '%S' of the dictionary '%S' (%S) is not known, so none of its %i lines could be "
                      "converted (the first of them is line %i).\n\nThe dictionary is not used. Please check its "
                      "encoding in the settings."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "%i lines of the dictionary '%S' (%S) could not be converted from the encoding '%S'; the first "
                      "of them is line %i.\n\nThe dictionary is not used. Please check its encoding in the settings."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "%i lines of the dictionary '%S' (%S) could not be converted from the encoding '%S'; the first "
                      "of them is line %i.\n\nThose lines are left out. Please check the dictionary's encoding in the "
                      "settings."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The character '%s' (U+%04X) cannot be written in %S.\n\nNothing was copied: the clipboard "
                      "keeps what it held."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The character '%s' (U+%04X) cannot be written in %S.\n\nOnly the text before it was copied to "
                      "the clipboard."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Mirudex could not save %s to the file %s:\n\n%s.\n\nThe file has been left as it was; the "
                      "changes of this run are not in it."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The study list file %s was not read completely: %s.\n\nSaving replaces it with the %i entries "
                      "of the study list, and what could not be read is lost.\n\nSave anyway?"),
    QT_TRANSLATE_NOOP("Mirudex", "Couldn't open Updates.mxf to log the update."),
    QT_TRANSLATE_NOOP("Mirudex", "Right is -1"),
    QT_TRANSLATE_NOOP(
        "Mirudex",
        "The updates have been downloaded.\n\nPlease do whatever the instructions said to avoid problems ^_^"),
    // Tool tips of the search window's buttons
    QT_TRANSLATE_NOOP("Mirudex", "Text appears at the beginning"),
    QT_TRANSLATE_NOOP("Mirudex", "Text appears in the middle"),
    QT_TRANSLATE_NOOP("Mirudex", "Text appears at the end"),
    QT_TRANSLATE_NOOP("Mirudex", "Search for exact text"),
    QT_TRANSLATE_NOOP("Mirudex", "Search"),
    QT_TRANSLATE_NOOP("Mirudex", "Convert ROMAji to kana"),
    QT_TRANSLATE_NOOP("Mirudex", "Kana insensitive search"),
    QT_TRANSLATE_NOOP(
        "Mirudex", "<-- (format)\nConvert whatever's on the clipboard\ninto (format) format.\nUNICODE is the default."),
    QT_TRANSLATE_NOOP("Mirudex", "Match multiple substrings"),
    QT_TRANSLATE_NOOP(
        "Mirudex",
        "(checked)\nOnly search in the words (~kanji) for the text\n(unchecked)\nLet Mirudex choose how to "
        "search."),
    QT_TRANSLATE_NOOP("Mirudex", "Show the converted string"),
    QT_TRANSLATE_NOOP("Mirudex", "Force Mirudex to search for this text as Japanese"),
    QT_TRANSLATE_NOOP("Mirudex", "Force Mirudex to search for this text as English"),
    QT_TRANSLATE_NOOP("Mirudex", "Force Mirudex to search for this text as Kanji information"),
    QT_TRANSLATE_NOOP("Mirudex", "Let Mirudex choose how to search"),
    QT_TRANSLATE_NOOP("Mirudex",
                      "If checked, this causes Mirudex to attempt to reverse-conjugate whatever word is being "
                      "searched for."),
    QT_TRANSLATE_NOOP("Mirudex", "Search for a random word"),
    QT_TRANSLATE_NOOP("Mirudex", "Search for a random kanji"),
    // Header items of the result window
    QT_TRANSLATE_NOOP("Mirudex", "Word"),
    QT_TRANSLATE_NOOP("Mirudex", "Kana"),
    QT_TRANSLATE_NOOP("Mirudex", "Info"),
    QT_TRANSLATE_NOOP("Mirudex", "Meaning"),
    QT_TRANSLATE_NOOP("Mirudex", "Relevance"),
    // Texts of the windows
    QT_TRANSLATE_NOOP("Mirudex", "Warning:"),
    QT_TRANSLATE_NOOP("Mirudex", "(no text to search for)"),
    QT_TRANSLATE_NOOP("Mirudex", "Search text error"),
    QT_TRANSLATE_NOOP("Mirudex", "Reading..."),
    QT_TRANSLATE_NOOP("Mirudex", "Reading aborted"),
    QT_TRANSLATE_NOOP("Mirudex", "Loading Markers..."),
    QT_TRANSLATE_NOOP("Mirudex", "Markers loaded."),
    QT_TRANSLATE_NOOP("Mirudex", "Loading RADKFILE..."),
    QT_TRANSLATE_NOOP("Mirudex", "RADKFILE loaded."),
    QT_TRANSLATE_NOOP("Mirudex", "Mirudex is ready to go."),
    QT_TRANSLATE_NOOP("Mirudex", "Loading Dictionary: %s..."),
    QT_TRANSLATE_NOOP("Mirudex", "Dictionary loading... aborted."),
    QT_TRANSLATE_NOOP("Mirudex", "Dictionary loading... failed."),
    QT_TRANSLATE_NOOP("Mirudex", "Dictionary loaded."),
    QT_TRANSLATE_NOOP("Mirudex", "(Radical Info) :: %c :: Strokes: %i :: %s"),
    QT_TRANSLATE_NOOP("Mirudex", "Please select a JMdict file to import."),
    QT_TRANSLATE_NOOP("Mirudex", "Please select a dictionary to use."),
    QT_TRANSLATE_NOOP("Mirudex", "Download Current Dictionary"),
    QT_TRANSLATE_NOOP("Mirudex", "This is the first time that Mirudex has been opened."),
    QT_TRANSLATE_NOOP("Mirudex", "Please finish any searches or dictionary-loads before loading a dictionary.\n"),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Please finish any searches or dictionary-loads before switching dictionaries on or off.\n"),
    QT_TRANSLATE_NOOP("Mirudex", "Please finish any searches or dictionary-loads before installing a dictionary.\n"),
    QT_TRANSLATE_NOOP("Mirudex", "Please finish any searches or dictionary-loads before changing the settings.\n"),
    QT_TRANSLATE_NOOP("Mirudex", "Please finish any searches or dictionary-loads before changing a description.\n"),
    QT_TRANSLATE_NOOP("Mirudex", "Please finish any searches or dictionary-loads before deleting a dictionary.\n"),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Please wait for any searches or dictionary-loadings to complete\nbefore attempting to update."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "The window position settings were incorrect.\n\nThey have been restored to the defaults."),
    QT_TRANSLATE_NOOP("Mirudex", "The Divider settings were incorrect.\n\nThey have been restored to the defaults."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "This is probably a Mirudex Index (.mxi) file.  Make sure that this is really what you want."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "File:\n%s\n\nThis file looks like it has an extention.\nMake sure that this is what you want."),
    QT_TRANSLATE_NOOP(
        "Mirudex",
        "File:\n%s\n\nThe options cannot hold a path that contains \"::\".  Please rename the file or its "
        "folder."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Mirudex will download the current dictionary from\n%S\n\nand, once it has arrived whole and "
                      "sound, make it the dictionary '%S'.  Go on?"),
    QT_TRANSLATE_NOOP("Mirudex",
                      "No font installed on this system has kana and kanji, so Japanese text will show as empty "
                      "boxes.\n\nInstall a Japanese font, for example with\n    sudo apt install "
                      "fonts-ipafont-mincho\n(or fonts-noto-cjk, or fonts-vlgothic), and start Mirudex again."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Are you tired of this message?\nYES: never show it again.\nNO: show it next time, too."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "Mirudex found no radical file, so the Radical Lookup window stays empty.\n\nIt comes with "
                      "Debian's xjdic package. Install it and make Mirudex's copy:\n\n     sudo apt install xjdic\n"
                      "     iconv -f EUC-JP -t SHIFT_JIS /var/lib/xjdic/radkfile > '%S/radkfile.dat'\n\nand start "
                      "Mirudex again."),
    QT_TRANSLATE_NOOP("Mirudex",
                      "   Press CAPSLOCK to toggle the IME.\n   English does English searches; Japanese does Japanese "
                      "searches.\n\n      Japanese searches allow wildcards: _ (any number of characters), ? (just one "
                      "character).\n\n      English searches behave like Google searches.  Start the search with \"s "
                      "to search for EXACTLY that text\n\nCheck for updates & important news often: Options-->Check "
                      "for Updates."),
};

// A placeholder of the patterns, as the program's formatter writes them.
const QRegularExpression& Placeholder()
{
    static const QRegularExpression re(QStringLiteral("%[-0-9]*[sSciduxX]"));
    return re;
}

struct Pattern {
    const char* english;
    QRegularExpression match;  // the whole text, one group per placeholder
};

const std::vector<Pattern>& Patterns()
{
    static const std::vector<Pattern> patterns = [] {
        std::vector<Pattern> made;
        for (const char* english : kPatterns) {
            const QString source = QString::fromUtf8(english);
            if (!Placeholder().match(source).hasMatch())
                continue;  // found whole by the translator
            QString expression = QStringLiteral("\\A");
            qsizetype at = 0;
            for (auto it = Placeholder().globalMatch(source); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                expression += QRegularExpression::escape(source.mid(at, m.capturedStart() - at));
                expression += QStringLiteral("(.*)");
                at = m.capturedEnd();
            }
            expression += QRegularExpression::escape(source.mid(at)) + QStringLiteral("\\z");
            made.push_back({english, QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption)});
        }
        return made;
    }();
    return patterns;
}

struct Installed {
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& Current()
{
    static Installed installed;
    return installed;
}

// A value put into a pattern: a text of the program's own ("your
// settings") and its notes ("-Results truncated-"), one or several joined by
// blanks, are shown translated; any other value (a name, a path, a count)
// as it is.
QString ShownValue(const QString& value)
{
    static const QRegularExpression notes(QStringLiteral("\\A-[^-\n]+-( -[^-\n]+-)*\\z"));
    if (!notes.match(value).hasMatch())
        return value.isEmpty() ? value : QCoreApplication::translate(kTranslationContext, value.toUtf8().constData());
    static const QRegularExpression note(QStringLiteral("-[^-\n]+-"));
    QStringList shown;
    for (auto it = note.globalMatch(value); it.hasNext();)
        shown.push_back(QCoreApplication::translate(kTranslationContext, it.next().captured().toUtf8().constData()));
    return shown.join(u' ');
}

}  // namespace

QString Tr(const char* english) { return QCoreApplication::translate(kTranslationContext, english); }

QString WithoutMnemonic(const QString& text)
{
    static const QRegularExpression added(QStringLiteral("\\(&[^&\\s]\\)"));
    QString out = QString(text).remove(added);
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == u'&')
            out.remove(i, 1);  // the next character stays, even a second '&'
    }
    return out;
}

QString ShownText(const QString& text)
{
    if (text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    const QString whole = QCoreApplication::translate(kTranslationContext, utf8.constData());
    if (whole != text)
        return whole;
    for (const Pattern& pattern : Patterns()) {
        const QRegularExpressionMatch m = pattern.match.match(text);
        if (!m.hasMatch())
            continue;
        const QString translated = Tr(pattern.english);
        if (translated == QString::fromUtf8(pattern.english))
            return text;
        // The values go into the translation's placeholders in their order.
        QString out;
        qsizetype at = 0;
        int value = 1;
        for (auto it = Placeholder().globalMatch(translated); it.hasNext();) {
            const QRegularExpressionMatch p = it.next();
            out += translated.mid(at, p.capturedStart() - at);
            out += ShownValue(m.captured(value++));
            at = p.capturedEnd();
        }
        out += translated.mid(at);
        return out;
    }
    return text;
}

std::vector<const char*> ShownTextPatterns() { return {std::begin(kPatterns), std::end(kPatterns)}; }

void RemoveTranslations()
{
    Installed& installed = Current();
    for (auto* translator : {&installed.program, &installed.qt}) {
        if (*translator)
            QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

bool InstallTranslations(const QLocale& locale)
{
    RemoveTranslations();
    Installed& installed = Current();
    auto program = std::make_unique<QTranslator>();
    // English is the program's own language: no file, nothing to load.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C ||
        !program->load(locale, QStringLiteral("mirudex"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        return false;
    QCoreApplication::installTranslator(program.get());
    installed.program = std::move(program);
    // Qt's own texts (the buttons of message boxes, the file and font choosers).
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        installed.qt = std::move(qt);
    }
    return true;
}

}  // namespace mirudex::platform
