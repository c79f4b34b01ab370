#pragma once
// A kanji window over a list of our own records, with the default options,
// fonts and colours, the recording platform and scriptable worker flags.

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <memory>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "search/Sorting.h"
#include "support/TestSupport.h"
#include "ui/common/Resources.h"
#include "ui/kanji/KanjiHeaderBar.h"
#include "ui/kanji/KanjiWindow.h"

namespace mirudex::test {

inline dict::KanjiRecord Kanji(char16_t code, std::u16string on, std::u16string kun, std::u16string meaning,
                               int strokes, int frequency = 0)
{
    dict::KanjiRecord r;
    r.code = code;
    if (!on.empty())
        r.onReadings = {on};
    if (!kun.empty())
        r.kunReadings = {kun};
    if (!meaning.empty())
        r.meanings = {meaning};
    r.strokes = static_cast<uint8_t>(strokes);
    r.frequency = static_cast<uint16_t>(frequency);
    return r;
}

class KanjiFixture : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
        ui::LoadFonts(options_, resources_.fonts, 96);
        ui::LoadKanjiColors(options_, resources_.kanji);
        ui::MakeSortArrows(resources_);
    }
    void TearDown() override
    {
        window_.reset();
        WorkDirTest::TearDown();
    }

    // A window of its own, shown; or a child of parent, shown with it by the caller.
    ui::KanjiWindow& MakeWindow(int width = 600, int height = 400, QWidget* parent = nullptr)
    {
        ui::KanjiWindowContext ctx{options_,
                                   resources_,
                                   list_,
                                   sort_,
                                   radicals_,
                                   [this] { return threadSearching_; },
                                   [this] { return searchLock_; }};
        window_ = std::make_unique<ui::KanjiWindow>(ctx, parent);
        window_->copyText = [this](const std::u16string& text) { copies_.push_back(text); };
        window_->searchDictionaries = [this](const std::u16string& text) { searches_.push_back(text); };
        window_->runMenu = [this](QMenu& menu, const QPoint&) -> QAction* {
            menuShown_ = true;
            for (QAction* top : menu.actions()) {
                if (!top->menu())
                    continue;
                for (QAction* a : top->menu()->actions())
                    if (a->data().toInt() == menuChoice_)
                        return a;
            }
            return nullptr;
        };
        window_->resize(width, height);
        if (parent)
            return *window_;
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }

    // The y of entry i's first row when scrolled to the top.
    int EntryY(int i) const
    {
        const auto& g = window_->geometry();
        return g.listTop + i * g.entry + 2;
    }

    Registry options_;
    ui::Resources resources_;
    std::vector<dict::KanjiRecord> list_;
    search::KanjiSortState sort_;
    dict::RadicalTable radicals_;
    bool threadSearching_ = false;
    bool searchLock_ = false;
    std::unique_ptr<ui::KanjiWindow> window_;
    std::vector<std::u16string> copies_;
    std::vector<std::u16string> searches_;
    int menuChoice_ = 0;
    bool menuShown_ = false;
};

}  // namespace mirudex::test
