// The settings and Add Dictionary commands of the real program: refused
// while a worker runs, and the settings dialog changing the real result
// windows and search box; the main window and the settings in Japanese and
// German.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <map>

#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/SettingsCommands.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"
#include "ui/search/SearchEdit.h"
#include "ui/settings/AddDictionaryDialog.h"
#include "ui/settings/SettingsDialog.h"
#include "ui/settings/SettingsHost.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

class SettingsCommandsTest : public test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        registry_.SetBOOL(".\\Misc\\FirstTime", false);
        whole = std::make_unique<WholeProgram>(registry_);
        whole->program.Start();
        main = whole->program.mainWindow();
        ConnectSettingsCommands(*main, whole->state, whole->program.resources(), whole->panes);
    }
    void TearDown() override
    {
        whole.reset();
        UiTest::TearDown();
    }

    // Runs command id; act is called with the modal dialog once it is up and
    // must close it. False when no dialog came up.
    template <typename Dialog>
    bool RunDialog(int id, const std::function<void(Dialog&)>& act)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || seen)
                return;
            seen = true;
            poll.stop();
            act(*dialog);
        });
        poll.start();
        main->OnCommand(id);
        return seen;
    }

    std::unique_ptr<WholeProgram> whole;
    MainWindow* main = nullptr;
};

TEST_F(SettingsCommandsTest, SettingsAreRefusedWhileAWorkerRuns)
{
    for (bool lock : {false, true}) {
        whole->state.thread_searching = !lock;
        whole->state.SEARCH_LOCK = lock;
        platform_.Clear();
        EXPECT_FALSE(RunDialog<SettingsDialog>(ID_SETTINGS, [](SettingsDialog& d) { d.reject(); }));
        ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
        EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
    }
    whole->state.thread_searching = false;
    whole->state.SEARCH_LOCK = false;
}

TEST_F(SettingsCommandsTest, FontsAndColoursReachTheRealWindows)
{
    ResultWindow* results = whole->panes.resultWindow(0);
    const int entryBefore = results->entryHeight();
    platform_.ScriptFonts({platform::FontChoice{"IPAMincho", 40}, platform::FontChoice{"IPAGothic", 19}});
    platform_.ScriptColors({0x00FF00});
    const bool seen = RunDialog<SettingsDialog>(ID_SETTINGS, [](SettingsDialog& d) {
        d.SelectPage(6);
        QTest::mouseClick(d.page(6)->findChild<QPushButton*>("1001"), Qt::LeftButton);  // word font
        d.SelectPage(3);
        QTest::mouseClick(d.page(3)->findChild<QPushButton*>("1039"), Qt::LeftButton);  // search font
        QTest::mouseClick(d.page(3)->findChild<QPushButton*>("1041"), Qt::LeftButton);  // search background
        QTest::mouseClick(d.findChild<QPushButton*>("1"), Qt::LeftButton);
    });
    ASSERT_TRUE(seen);
    EXPECT_GT(results->entryHeight(), entryBefore);
    SearchEdit* edit = whole->panes.searchWindow()->edit();
    EXPECT_EQ(edit->font().families().value(0), "IPAGothic");
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(SettingsCommandsTest, AddDictionaryOpensAndIsRefusedDuringASearch)
{
    EXPECT_TRUE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("1004")->text(), "EUC-JP");
        QTest::mouseClick(d.findChild<QPushButton*>("2"), Qt::LeftButton);
    }));
    whole->state.SEARCH_LOCK = true;
    EXPECT_FALSE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) { d.reject(); }));
    whole->state.SEARCH_LOCK = false;
}

// The translations of a shipped .ts file, by their English text.
std::map<QString, QString> Catalog(const char* language)
{
    QFile file(QStringLiteral(MIRUDEX_SOURCE_DIR "/translations/mirudex_%1.ts").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QString, QString> catalog;
    QString source;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == QLatin1String("translation"))
            catalog[source] = xml.readElementText();
    }
    return catalog;
}

TEST_F(SettingsCommandsTest, MenusToolBarsAndSettingsAreTranslatedThroughout)
{
    struct Language {
        const char* locale;
        const char* code;
        const char* fileMenu;
        const char* settingsTitle;
    };
    // Names stay as they are in every language: the dictionaries and file
    // kinds, the program, keys, encodings and the words of the copy format.
    static const QRegularExpression names(
        QStringLiteral("\\b(EDICT2?|KANJIDIC|RADKFILE|JMdict|Mirudex|IME|OK|Ctrl|CTRL|Esc|Enter|Del|mxi|Unicode|"
                       "UNICODE|UTF|EUC|JP|JIS|"
                       "SHIFT|word|kana|meaning|info|pt|x|y)\\b"));
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    const Language languages[] = {{"ja_JP", "ja", "ファイル(&F)", "Mirudex の設定"},
                                  {"de_DE", "de", "&Datei", "Mirudex-Einstellungen"}};
    for (const Language& language : languages) {
        SCOPED_TRACE(language.locale);
        whole.reset();
        test::LanguageScope scope(language.locale);
        ASSERT_TRUE(scope.loaded());
        // The windows take their texts when they are made, as at start-up.
        whole = std::make_unique<WholeProgram>(registry_);
        whole->program.Start();
        main = whole->program.mainWindow();
        ConnectSettingsCommands(*main, whole->state, whole->program.resources(), whole->panes);
        std::vector<QString> texts = test::ShownTexts(main);
        ASSERT_TRUE(RunDialog<SettingsDialog>(ID_SETTINGS, [&texts, &language](SettingsDialog& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8(language.settingsTitle));
            for (const QString& text : test::ShownTexts(&d))
                texts.push_back(text);
            d.accept();
        }));
        EXPECT_NE(std::find(texts.begin(), texts.end(), QString::fromUtf8(language.fileMenu)), texts.end());
        const std::map<QString, QString> catalog = Catalog(language.code);
        for (const QString& text : texts) {
            const auto known = catalog.find(text);
            EXPECT_FALSE(known != catalog.end() && known->second != text) << "shown in English: " << text.toStdString();
            // A font's name, as its preview shows it, stays as it is.
            if (std::string(language.code) != "ja" || text.endsWith(QLatin1String(" pt.")))
                continue;
            const QString rest = QString(text).remove(names);
            EXPECT_FALSE(rest.contains(latinWord)) << "English left in: " << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace mirudex::ui
