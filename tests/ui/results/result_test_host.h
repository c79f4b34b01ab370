#pragma once
// A result-window host for the GUI tests: its own two lists and flags, the
// sort rules of the program, and a record of every action that would reach
// another window.

#include <QApplication>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/Entry.h"
#include "search/Sorting.h"
#include "ui/common/Resources.h"
#include "ui/results/ResultHost.h"
#include "ui/results/ResultWindow.h"
#include "userdata/StudyList.h"

namespace mirudex::test {

inline dict::Entry MakeEntry(std::u16string word, std::u16string kana, std::vector<std::u16string> meanings,
                             std::vector<std::u16string> info = {})
{
    dict::Entry e;
    e.word = std::move(word);
    e.kana = std::move(kana);
    e.meanings = std::move(meanings);
    e.info = std::move(info);
    return e;
}

// An entry whose meanings (as a dictionary line gives them, markers and
// sense numbers in them) went through SetInfo with a small marker table:
// n, vs, abbr, col, uk.
inline dict::Entry MakeSensedEntry(std::u16string word, std::u16string kana, std::vector<std::u16string> meanings)
{
    static const dict::MarkerTable markers = [] {
        dict::MarkerTable table;
        table.Add(u"n", u"noun");
        table.Add(u"vs", u"suru verb");
        table.Add(u"abbr", u"abbreviation");
        table.Add(u"col", u"colloquialism");
        table.Add(u"uk", u"usually kana");
        return table;
    }();
    dict::Entry e = MakeEntry(std::move(word), std::move(kana), std::move(meanings));
    dict::SetInfo(e, markers);
    return e;
}

class FakeResultHost : public ui::ResultHost {
public:
    std::vector<dict::Entry>& Results(int index) override { return lists[static_cast<size_t>(index)]; }
    bool ThreadSearching() const override { return threadSearching; }
    bool SearchLock() const override { return searchLock; }
    ui::ResultSortView SortView() const override
    {
        return {sort.primary.key, sort.primary.descending, sort.secondary.key, sort.secondary.descending};
    }
    bool ClickSortKey(int t) override { return search::ClickEntrySortKey(sort, t); }
    void SortList(int index) override
    {
        ++sorts;
        search::SortEntries(lists[static_cast<size_t>(index)], sort);
    }
    void ShowKanjiOf(const std::vector<std::u16string>& words) override { kanjiCalls.push_back(words); }
    void SetSearchText(std::u16string_view text, bool search) override
    {
        searchTexts.emplace_back(std::u16string(text), search);
    }
    void FocusSearchBox() override { ++focusCalls; }
    void CopyEntries(int index, int kind) override { copies.emplace_back(index, kind); }
    void AddToStudyList(int index) override
    {
        userdata::AddToStudyList(lists[static_cast<size_t>(index)], lists[1]);
        if (studyWindow)
            studyWindow->SetUpForNewResults();
    }

    std::array<std::vector<dict::Entry>, 2> lists;
    bool threadSearching = false;
    bool searchLock = false;
    search::EntrySortState sort{{1, false}, {0, false}};  // Kana, then Word
    int sorts = 0;
    std::vector<std::vector<std::u16string>> kanjiCalls;
    std::vector<std::pair<std::u16string, bool>> searchTexts;
    int focusCalls = 0;
    std::vector<std::pair<int, int>> copies;
    ui::ResultWindow* studyWindow = nullptr;
};

// Default options, the fonts and colours they name, and a host.
struct ResultFixture {
    ResultFixture()
    {
        options.LoadFromText(DefaultOptionsText());
        ui::LoadFonts(options, resources.fonts, 96);
        ui::LoadResultColors(options, resources.result);
        ui::MakeSortArrows(resources);
    }
    std::unique_ptr<ui::ResultWindow> MakeWindow(int index, int width = 640, int height = 480)
    {
        auto w = std::make_unique<ui::ResultWindow>(index, host, options, resources, nullptr);
        w->resize(width, height);
        w->show();
        return w;
    }

    Registry options;
    ui::Resources resources;
    FakeResultHost host;
};

}  // namespace mirudex::test
