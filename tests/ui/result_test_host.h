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
#include "ui/Resources.h"
#include "ui/ResultHost.h"
#include "ui/ResultWindow.h"
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

class FakeResultHost : public ui::ResultHost {
public:
    std::vector<dict::Entry>& Results(int index) override { return lists[static_cast<size_t>(index)]; }
    bool ThreadSearching() const override { return threadSearching; }
    bool SearchLock() const override { return searchLock; }
    ui::ResultSortView SortView() const override { return sort; }
    bool ClickSortKey(int t) override
    {
        if (t == 2)
            return false;
        if (t == sort.primary) {
            sort.primaryDescending = !sort.primaryDescending;
            return true;
        }
        sort.secondary = sort.primary;
        sort.secondaryDescending = sort.primaryDescending;
        sort.primary = t;
        sort.primaryDescending = false;
        return true;
    }
    void SortList(int index) override
    {
        ++sorts;
        auto& list = lists[static_cast<size_t>(index)];
        auto key = [](const dict::Entry& e, int k) -> std::u16string {
            switch (k) {
            case 0: return e.word;
            case 1: return e.kana;
            case 3: return e.meanings.empty() || e.meanings[0].empty() ? u"" : e.meanings[0].substr(0, 1);
            case 5: return std::u16string(e.kana.size(), u'x');
            default: return std::u16string(e.word.size(), u'x');
            }
        };
        auto pass = [&](int k, bool desc) {
            std::stable_sort(list.begin(), list.end(), [&](const dict::Entry& a, const dict::Entry& b) {
                const auto ka = key(a, k), kb = key(b, k);
                if (k == 4 || k == 5 || k < 0 || k == 2)
                    return desc && k >= 4 ? ka.size() > kb.size() : ka.size() < kb.size();
                return desc ? kb < ka : ka < kb;
            });
        };
        pass(sort.secondary, sort.secondaryDescending);
        pass(sort.primary, sort.primaryDescending);
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
    ui::ResultSortView sort{1, false, 0, false};
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
