#pragma once
// Shared by the settings tests: the default options, the shared fonts and
// colours, a dictionary store, and a host that records what the dialog asks
// of the running windows.

#include <QApplication>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "support/TestSupport.h"
#include "ui/common/Resources.h"
#include "ui/settings/SettingsHost.h"
#include "ui/settings/SettingsPage.h"
#include "userdata/History.h"

namespace mirudex::test {

class RecordingSettingsHost : public ui::SettingsHost {
public:
    QRect MainWindowFrame() const override { return frame; }
    void MoveMainWindow(int x, int y) override
    {
        calls.push_back("move " + std::to_string(x) + " " + std::to_string(y));
    }
    void ResizeMainWindow(int w, int h) override
    {
        calls.push_back("resize " + std::to_string(w) + " " + std::to_string(h));
    }
    void SearchLookChanged() override { calls.push_back("search look"); }
    void MiscFontChanged() override { calls.push_back("misc font"); }
    void KanjiFontsChanged(bool kanjiFace) override
    {
        calls.push_back(kanjiFace ? "kanji fonts+radical" : "kanji fonts");
    }
    void KanjiColorsChanged() override { calls.push_back("kanji colors"); }
    void ResultFontsChanged() override { calls.push_back("result fonts"); }
    void RepaintResultWindows() override { calls.push_back("result repaint"); }
    userdata::HistoryList* History() override { return &history; }

    QRect frame{352, 213, 800, 600};
    std::vector<std::string> calls;
    userdata::HistoryList history;
};

class SettingsTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        OpenLog(1);
        options.LoadFromText(DefaultOptionsText());
        ui::LoadFonts(options, resources.fonts, 96);
        ui::LoadResultColors(options, resources.result);
        ui::LoadKanjiColors(options, resources.kanji);
        context = std::make_unique<ui::SettingsContext>(
            ui::SettingsContext{options, resources, store, host, [this] { return busy; }, 96});
    }

    Registry options;
    ui::Resources resources;
    dict::DictionaryStore store;
    RecordingSettingsHost host;
    bool busy = false;
    std::unique_ptr<ui::SettingsContext> context;
};

}  // namespace mirudex::test
