// The whole program searching while the user keeps acting: mouse moves over
// every pane (hover cards included), tool bar buttons, typing into the search
// box and the results field, keys and wheels in the lists, context menus and
// the main menus opened and closed, pane toggles, clipboard notices and
// resizes, on Debian's EDICT (or, without it, a large dictionary written by
// the test). Every search must end as its settings at the start say, and no
// action may touch what the worker fills; a ThreadSanitizer build runs it with
// MIRUDEX_TEST_ROUNDS=100.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "WholeProgram.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "text/Encoding.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/common/CommandIds.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

namespace fs = std::filesystem;

std::string Encode(const std::string& utf8, const char* encoding)
{
    std::string out;
    text::ConvertEncodingToNarrow(text::Utf16Bytes(Utf8ToUtf16(utf8)), "UTF-16LE", encoding, out);
    return out;
}

// A dictionary, kanji dictionary and radical file of our own, large enough
// that a search takes a while: every pair of a dozen kanji with a kana ending.
void WriteGeneratedData()
{
    const std::vector<std::pair<std::string, std::string>> kanji = {
        {"日", "にち"}, {"本", "ほん"}, {"語", "ご"},   {"学", "がく"}, {"校", "こう"}, {"水", "みず"},
        {"火", "ひ"},   {"木", "き"},   {"金", "きん"}, {"土", "つち"}, {"食", "た"},   {"見", "み"},
    };
    const std::vector<std::string> endings = {"", "の", "る", "べる", "ました", "する", "か", "な"};
    std::string edict = Encode("　？？？ /Mirudex generated test dictionary/\n", "EUC-JP");
    int n = 0;
    for (int round = 0; round < 6; ++round)
        for (const auto& [k1, r1] : kanji)
            for (const auto& [k2, r2] : kanji)
                for (const std::string& e : endings) {
                    const std::string line = k1 + k2 + e + " [" + r1 + r2 + e + "] /(n) water word " +
                                             std::to_string(n++) + " of the test/(v1) school day/\n";
                    edict += Encode(line, "EUC-JP");
                }
    test::WriteFile("generated.edict", edict);

    std::string kanjidic = Encode("# KANJIDIC written by the test\n", "EUC-JP");
    std::string radk = Encode("$ 一 1\n", "SHIFT_JIS");
    std::string withOne;
    for (const auto& [k, reading] : kanji) {
        const std::u16string wide = Utf8ToUtf16(k);
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04x", static_cast<unsigned>(wide[0]));
        kanjidic += Encode(k + " 3021 U" + hex + " B1 S4 F100 ニチ " + reading + " {water} {school}\n", "EUC-JP");
        withOne += k;
    }
    radk += Encode(withOne + "\n$ 口 3\n" + withOne.substr(0, 12) + "\n", "SHIFT_JIS");
    test::WriteFile("generated.kanjidic", kanjidic);
    test::WriteFile("generated.radk", radk);
}

// One kind of search the rounds go through, with the tool bar it starts from.
struct SearchCase {
    const char16_t* text;
    int language;  // a language button, or ID_LANG_AUTOMATIC
    int type;      // ID_TYPE_*
    bool substrings;
    bool fuzzy;
    bool romaji;
    const char16_t* field;
};

const SearchCase kCases[] = {
    {u"_の_", ID_LANG_JAPANESE, ID_TYPE_MIDDLE, false, false, false, u"4000"},
    {u"to", ID_LANG_AUTOMATIC, ID_TYPE_MIDDLE, false, false, false, u"3000"},
    {u"食べました", ID_LANG_JAPANESE, ID_TYPE_EXACT, false, true, false, u"500"},
    {u"日本語学校", ID_LANG_AUTOMATIC, ID_TYPE_BEGINNING, true, false, false, u"2000"},
    {u"KN:water", ID_LANG_AUTOMATIC, ID_TYPE_EXACT, false, false, false, u"200"},
    {u"nihon", ID_LANG_JAPANESE, ID_TYPE_MIDDLE, false, false, true, u"2000"},
};

struct Outcome {
    std::vector<std::u16string> words;  // sorted
    size_t kanji = 0;
};

class UserActionsDuringSearch : public test::UiTest {
protected:
    void Press(SearchWindow* search, int id, bool on)
    {
        search->bands()->SetChecked(id, on);
        search->OnCommand(id);
    }

    // The tool bar and the options as the case wants them, whatever the
    // previous round's clicks left.
    void SetUpCase(SearchWindow* search, const SearchCase& c)
    {
        Press(search, ID_LANG_AUTOMATIC, true);
        if (c.language != ID_LANG_AUTOMATIC)
            Press(search, c.language, true);
        Press(search, c.type, true);
        Press(search, ID_MATCH_SUBSTRINGS, c.substrings);
        Press(search, ID_WORDS_ONLY, false);
        Press(search, ID_KANA_INSENSITIVE, true);
        Press(search, ID_ROMAJI_CONVERSION, c.romaji);
        Press(search, ID_SHOW_CONVERTED, true);
        registry_.SetBOOL(".\\Search\\Toolbars\\Fuzzy", c.fuzzy);
        search->bands()->resultsField()->setText(QString::fromUtf16(c.field));
        search->edit()->setPlainText(QString::fromUtf16(c.text));
        search->edit()->selectAll();
    }

    static Outcome Take(const search::AppState& state)
    {
        Outcome o;
        for (const dict::Entry& e : state.edict_results[search::kResultList])
            o.words.push_back(e.word);
        std::sort(o.words.begin(), o.words.end());
        o.kanji = state.kanji_results.size();
        return o;
    }
};

TEST_F(UserActionsDuringSearch, EveryPaneStaysUsableAndNothingTouchesTheWorkersLists)
{
    const int rounds = test::TestRounds(6);
    const fs::path real = test::RealDataDir();
    // The program's own data files: the reverse-conjugation rules, the markers.
    for (const char* file : {"fuzzysearch.uni.dat", "partsofspeech.mxf"})
        fs::copy_file(test::ProgramDataPath(file), file, fs::copy_options::overwrite_existing);
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\Misc\\IME", false);
    registry_.SetBOOL(".\\Misc\\GrabClipboard", true);
    registry_.SetBOOL(".\\Misc\\GrabClipboard-AutoSearch", true);
    if (!real.empty()) {
        registry_.SetSTRING(".\\Dictionaries\\EDICT\\0\\Path", (real / "DICT" / "edict").string());
        registry_.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", (real / "DICT" / "kanjidic").string());
        registry_.SetSTRING(".\\Dictionaries\\RADKFILE\\Path", (real / "radkfile.dat").string());
    } else {
        WriteGeneratedData();
        registry_.SetSTRING(".\\Dictionaries\\EDICT\\0\\Path", "generated.edict");
        registry_.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", "generated.kanjidic");
        registry_.SetSTRING(".\\Dictionaries\\RADKFILE\\Path", "generated.radk");
    }
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    program.Start();
    MainWindow* main = program.mainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_FALSE(store.edict_dictionaries.empty());
    ASSERT_GT(store.edict_dictionaries[0]->count, 1000);
    main->resize(1000, 720);
    main->show();
    if (!main->radicalPaneShown())
        main->OnCommand(ID_WINDOW_RADICALLOOKUP);
    if (!main->studyListPaneShown())
        main->OnCommand(ID_WINDOW_STUDYLIST);

    SearchWindow* search = panes.searchWindow();
    ResultWindow* results = panes.resultWindow(0);
    ResultWindow* study = panes.resultWindow(1);
    KanjiWindow* kanji = panes.kanjiWindow();
    RadicalWindow* radical = panes.radicalWindow();
    std::mt19937 random(12345);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    // Context menus open, may be chosen from, and close again by themselves.
    auto runMenu = [&](QMenu& menu, const QPoint& pos) -> QAction* {
        QTimer::singleShot(5, &menu, [&menu, &pick] {
            const QList<QAction*> all = menu.actions();
            if (!all.isEmpty() && pick(3) == 0 && all.front()->menu() == nullptr)
                menu.setActiveAction(all.front());
            menu.close();
        });
        return menu.exec(pos);
    };
    kanji->runMenu = runMenu;
    radical->runMenu = runMenu;
    for (ResultWindow* w : {results, study})
        w->SetMenuRunner([&](QMenu& menu, QPoint pos) {
            QAction* chosen = runMenu(menu, pos);
            return chosen ? chosen->data().toInt() : 0;
        });

    // A study list to point at: the first case's results.
    SetUpCase(search, kCases[0]);
    search->OnCommand(ID_SEARCH_GO);
    state.edict_results[search::kStudyList] = state.edict_results[search::kResultList];
    study->SetUpForNewResults();

    auto pointAt = [&](QWidget* w) { return QPoint(pick(std::max(1, w->width())), pick(std::max(1, w->height()))); };
    auto move = [&](QWidget* w) {
        const QPoint p = pointAt(w);
        QMouseEvent moveEvent(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &moveEvent);
    };
    auto press = [&](QWidget* w, Qt::MouseButton button) {
        const QPoint p = pointAt(w);
        QTest::mousePress(w, button, Qt::NoModifier, p);
        QTest::mouseRelease(w, button, Qt::NoModifier, p);
    };
    auto wheel = [&](QWidget* w) {
        const QPoint p = pointAt(w);
        QWheelEvent e(p, w->mapToGlobal(p), QPoint(), QPoint(0, pick(2) ? 120 : -120), Qt::NoButton,
                      pick(4) == 0 ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    const std::vector<int> toolbar = {
        ID_LANG_JAPANESE,    ID_LANG_ENGLISH,      ID_LANG_KANJI,     ID_LANG_AUTOMATIC,      ID_TYPE_BEGINNING,
        ID_TYPE_MIDDLE,      ID_TYPE_END,          ID_TYPE_EXACT,     ID_WORDS_ONLY,          ID_MATCH_SUBSTRINGS,
        ID_KANA_INSENSITIVE, ID_ROMAJI_CONVERSION, ID_SHOW_CONVERTED, ID_REVERSE_CONJUGATION, ID_RANDOM_WORD,
        ID_RANDOM_KANJI,     ID_SEARCH_GO,         ID_ENCODE_COPY};
    const std::vector<Qt::Key> listKeys = {Qt::Key_Down, Qt::Key_Up,   Qt::Key_PageDown, Qt::Key_PageUp,
                                           Qt::Key_End,  Qt::Key_Home, Qt::Key_Return,   Qt::Key_C,
                                           Qt::Key_A,    Qt::Key_Plus, Qt::Key_Minus};
    QMenu* openMenu = nullptr;
    const std::vector<std::function<void()>> actions = {
        [&] {
            move(kanji);
            kanji->OnHoverTimeout();
        },
        [&] { move(results); },
        [&] { move(study); },
        [&] { move(radical); },
        [&] { move(search->edit()); },
        [&] { press(kanji, pick(2) ? Qt::LeftButton : Qt::RightButton); },
        [&] { press(results, pick(2) ? Qt::LeftButton : Qt::RightButton); },
        [&] { press(study, Qt::LeftButton); },
        [&] { press(radical, pick(2) ? Qt::LeftButton : Qt::RightButton); },
        [&] { wheel(pick(2) ? static_cast<QWidget*>(kanji) : static_cast<QWidget*>(results)); },
        [&] { wheel(radical); },
        [&] {
            QWidget* targets[] = {kanji, results, study, radical};
            const Qt::Key key = listKeys[static_cast<size_t>(pick(static_cast<int>(listKeys.size())))];
            QTest::keyClick(targets[pick(4)], key, pick(3) == 0 ? Qt::ControlModifier : Qt::NoModifier);
        },
        [&] {
            const int id = toolbar[static_cast<size_t>(pick(static_cast<int>(toolbar.size())))];
            if (QWidget* button = search->bands()->Button(id))
                QTest::mouseClick(button, Qt::LeftButton);
        },
        [&] { search->OnCommand(toolbar[static_cast<size_t>(pick(static_cast<int>(toolbar.size())))]); },
        [&] {
            QTest::keyClicks(search->edit(), pick(2) ? QStringLiteral("ka") : QStringLiteral("x"));
            if (pick(2))
                QTest::keyClick(search->edit(), Qt::Key_Backspace);
        },
        [&] { QTest::keyClicks(search->bands()->resultsField(), QStringLiteral("7")); },
        [&] {
            // The main menus, one opened, then closed at the next action.
            if (openMenu) {
                openMenu->close();
                openMenu = nullptr;
                return;
            }
            const QList<QAction*> top = main->menuBar()->actions();
            if (top.isEmpty())
                return;
            QAction* a = top[pick(static_cast<int>(top.size()))];
            if (a->menu()) {
                openMenu = a->menu();
                openMenu->popup(main->mapToGlobal(QPoint(20, 20)));
            }
        },
        [&] {
            const int commands[] = {ID_DICTIONARIES,     ID_CHECK_UPDATES,        ID_ADD_DICT, ID_ALWAYS_ON_TOP,
                                    ID_WINDOW_STUDYLIST, ID_WINDOW_RADICALLOOKUP, ID_ABOUT};
            main->OnCommand(commands[pick(7)]);
        },
        [&] { results->ClickHeaderItem(pick(6)); },
        [&] { kanji->HeaderItemClicked(pick(2) ? KanjiWindow::kId1 : KanjiWindow::kId2, pick(4)); },
        [&] {
            platform_.SetClipboardText(u"ねこ");
            platform_.ClipboardChanged();
        },
        [&] { main->resize(900 + pick(200), 640 + pick(120)); },
        [&] {
            QWidget* painted[] = {kanji, results, study, radical, search};
            painted[pick(5)]->grab();
        },
    };

    std::map<size_t, Outcome> expected, everything;
    int acted = 0, aborted = 0, finished = 0;
    for (int round = 0; round < rounds; ++round) {
        const size_t caseIndex = static_cast<size_t>(round) % std::size(kCases);
        const SearchCase& c = kCases[caseIndex];
        if (!expected.count(caseIndex)) {
            // The same search with nobody acting, for comparison.
            SetUpCase(search, c);
            search->OnCommand(ID_SEARCH_GO);
            ASSERT_TRUE(platform_.LastStatus(0).starts_with(u"Search complete")) << round;
            expected[caseIndex] = Take(state);
            // With no maximum: an English search keeps the most relevant
            // under its maximum, but a stopped one keeps what it found first.
            SetUpCase(search, c);
            search->bands()->resultsField()->setText(QStringLiteral("-1"));
            search->OnCommand(ID_SEARCH_GO);
            ASSERT_TRUE(platform_.LastStatus(0).starts_with(u"Search complete")) << round;
            everything[caseIndex] = Take(state);
        }
        SetUpCase(search, c);
        // A hover card is up when the search starts (it keeps its own copy).
        move(kanji);
        kanji->OnHoverTimeout();
        // Some rounds are stopped with ESC half-way.
        const bool stop = round % 4 == 3;
        int step = 0;
        QTimer driver;
        driver.setInterval(1);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (!search::WorkerRunning(state))
                return;
            ++step;
            ++acted;
            if (stop && step == 12) {
                QTest::keyClick(search->edit(), Qt::Key_Escape);
                return;
            }
            actions[static_cast<size_t>(pick(static_cast<int>(actions.size())))]();
        });
        driver.start();
        search->OnCommand(ID_SEARCH_GO);
        driver.stop();
        if (openMenu) {
            openMenu->close();
            openMenu = nullptr;
        }

        ASSERT_FALSE(search::WorkerRunning(state)) << round;
        ASSERT_FALSE(state.SEARCH_LOCK) << round;
        const std::u16string status = platform_.LastStatus(0);
        const Outcome got = Take(state);
        const Outcome& want = expected[caseIndex];
        if (status.starts_with(u"Search aborted")) {
            ++aborted;
            // What was found before the stop: some of the entries the search finds.
            const Outcome& all = everything[caseIndex];
            EXPECT_TRUE(std::includes(all.words.begin(), all.words.end(), got.words.begin(), got.words.end()))
                << "round " << round;
        } else {
            ++finished;
            ASSERT_TRUE(status.starts_with(u"Search complete")) << Utf16ToUtf8(status);
            EXPECT_EQ(got.words, want.words) << "round " << round << ", case " << caseIndex;
            EXPECT_EQ(got.kanji, want.kanji) << "round " << round;
        }
        if (std::getenv("MIRUDEX_TEST_VERBOSE"))
            std::fprintf(stderr, "round %d case %zu: %d actions, %s (%zu words)\n", round, caseIndex, step,
                         Utf16ToUtf8(status).c_str(), got.words.size());
        // The panes show the new lists and go on working.
        results->grab();
        kanji->grab();
        EXPECT_EQ(kanji->EntryCount(), static_cast<int>(state.kanji_results.size()));
    }
    EXPECT_GT(acted, rounds) << "the actions ran while the searches did";
    EXPECT_GT(finished, 0);
    RecordProperty("actions", acted);
    RecordProperty("aborted", aborted);

    EXPECT_EQ(whole.Exit(), 0);
}

}  // namespace
}  // namespace mirudex::ui
