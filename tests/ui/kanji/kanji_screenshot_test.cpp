// Pictures of the kanji column for the documentation, on Debian's files:
// written only when MIRUDEX_SCREENSHOT_DIR names a directory.
#include <QSplitter>
#include <QVBoxLayout>
#include <filesystem>

#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "ui/kanji/KanjiHoverCard.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/kanji/kanji_fixture.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

class KanjiScreenshot : public test::KanjiFixture {};

TEST_F(KanjiScreenshot, KanjiColumnWithTwoRadicalsAndTheHoverCard)
{
    namespace fs = std::filesystem;
    const char* out = std::getenv("MIRUDEX_SCREENSHOT_DIR");
    const fs::path real = test::RealDataDir();
    if (!out || real.empty())
        GTEST_SKIP() << "set MIRUDEX_SCREENSHOT_DIR and prepare the real data";
    fs::create_directories("DICT");
    fs::create_symlink(fs::canonical(real / "DICT" / "kanjidic"), "DICT/kanjidic");
    dict::DictionaryStore store;
    ASSERT_EQ(dict::KANJIDIC_Index_Load(store.kanji_index, options_), dict::LoadOutcome::Done);
    ASSERT_EQ(dict::LoadRadicalInfo(store.radical_table, Widen((real / "radkfile.dat").string()), options_), 0);
    search::AppState state(options_, store);

    QWidget column;
    column.setWindowTitle(QStringLiteral("Kanji column"));
    auto* kanji = new KanjiWindow(KanjiContextFromState(state, resources_), &column);
    auto* radicals = new RadicalWindow(RadicalContextFromState(state, resources_), &column);
    ConnectRadicalSearch(*radicals, state, *kanji);
    kanji->HeaderItemClicked(KanjiWindow::kId1, 3);
    kanji->HeaderItemClicked(KanjiWindow::kId1, 0);
    column.resize(520, 760);
    kanji->setGeometry(0, 0, 520, 500);
    radicals->setGeometry(0, 504, 520, 256);
    column.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&column));
    auto pick = [&](char16_t r) {
        for (int j = 0; j < store.radical_table.count(); ++j) {
            if (store.radical_table.records[j].radical == r) {
                const auto& g = radicals->grid();
                QTest::mouseClick(radicals, Qt::LeftButton, Qt::NoModifier,
                                  QPoint(g.CellX(j) + g.cell / 2, g.CellY(j) + g.cell / 2));
            }
        }
    };
    pick(u'口');
    pick(u'木');
    ASSERT_FALSE(state.kanji_results.empty());
    QTest::mouseClick(kanji, Qt::LeftButton, Qt::NoModifier, QPoint(30, kanji->geometry().listTop + 2));
    QTest::mouseMove(radicals, QPoint(radicals->grid().cell / 2, radicals->grid().cell / 2));
    column.grab().save(QString::fromStdString((fs::path(out) / "kanji-column-radicals.png").string()));
    kanji->grab().save(QString::fromStdString((fs::path(out) / "kanji-window.png").string()));

    const auto* neko = dict::FindKanji(store.kanji_index, 0x732B);
    ASSERT_NE(neko, nullptr);
    dict::KanjiRecord record;
    dict::LoadKANJIDICInfoInto(store.kanji_index, options_, record, neko);
    KanjiHoverCard card(record, store.radical_table, options_, resources_.kanji, 96, nullptr);
    card.grab().save(QString::fromStdString((fs::path(out) / "kanji-hover-card.png").string()));
}

}  // namespace
