#include "ui/settings/SettingsHost.h"

#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "ui/common/CommandIds.h"
#include "ui/common/Look.h"
#include "ui/common/Resources.h"
#include "ui/kanji/KanjiHeaderBar.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/results/ResultHeaderBar.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"

namespace mirudex::ui {

PaneSettingsHost::PaneSettingsHost(Registry& options, const Resources& resources, const Panes& panes)
    : options_(options),
      resources_(resources),
      main_(panes.mainWindow),
      search_(panes.search),
      kanji_(panes.kanji),
      radical_(panes.radical),
      results_{panes.results[0], panes.results[1]}
{
}

SearchWindow* PaneSettingsHost::Search() const { return qobject_cast<SearchWindow*>(search_.data()); }
ResultWindow* PaneSettingsHost::Result(int index) const
{
    return qobject_cast<ResultWindow*>(results_[static_cast<size_t>(index)].data());
}
KanjiWindow* PaneSettingsHost::Kanji() const { return qobject_cast<KanjiWindow*>(kanji_.data()); }
RadicalWindow* PaneSettingsHost::Radical() const { return qobject_cast<RadicalWindow*>(radical_.data()); }

QRect PaneSettingsHost::MainWindowFrame() const { return main_ ? main_->frameGeometry() : QRect(); }

void PaneSettingsHost::MoveMainWindow(int x, int y)
{
    if (main_)
        main_->move(x, y);
}

void PaneSettingsHost::ResizeMainWindow(int width, int height)
{
    if (!main_)
        return;
    // The options and the page speak of the outer size; Qt sizes the inside.
    const QRect frame = main_->frameGeometry();
    const QRect inside = main_->geometry();
    main_->resize(std::max(0, width - (frame.width() - inside.width())),
                  std::max(0, height - (frame.height() - inside.height())));
}

void PaneSettingsHost::SearchLookChanged()
{
    SearchWindow* search = Search();
    if (!search)
        return;
    SearchEdit* edit = search->edit();
    const std::string face = options_.GetString(opt::search::font::kFont);
    edit->setFont(
        MakeFont(QString::fromStdString(face), options_.GetINT(opt::search::font::kSize), edit->logicalDpiY()));
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Text, ColorFromColorref(options_.GetINT(opt::search::font::kColor)));
    pal.setColor(QPalette::Base, ColorFromColorref(options_.GetINT(opt::search::kWindowBG)));
    edit->setPalette(pal);
    search->update();
}

void PaneSettingsHost::MiscFontChanged()
{
    const QFont& font = resources_.fonts.misc;
    for (int i = 0; i < 2; ++i) {
        if (ResultWindow* result = Result(i)) {
            result->headerBar(0)->setFont(font);
            result->headerBar(1)->setFont(font);
            result->Relayout();
        }
    }
    if (KanjiWindow* kanji = Kanji()) {
        kanji->Header(KanjiWindow::kId1)->setFont(font);
        kanji->Header(KanjiWindow::kId2)->setFont(font);
        kanji->Relayout();
        kanji->update();
    }
    if (SearchWindow* search = Search()) {
        search->SetMiscFont(font);
        search->update();
    }
}

void PaneSettingsHost::KanjiFontsChanged(bool kanjiFace)
{
    if (kanjiFace) {
        if (RadicalWindow* radical = Radical())
            radical->ReloadFont();
    }
    if (KanjiWindow* kanji = Kanji()) {
        kanji->Relayout();
        kanji->update();
    }
}

void PaneSettingsHost::KanjiColorsChanged()
{
    if (kanji_)
        kanji_->update();
    if (radical_)
        radical_->update();
}

void PaneSettingsHost::ResultFontsChanged()
{
    for (int i = 0; i < 2; ++i)
        if (ResultWindow* result = Result(i))
            result->Relayout();
}

void PaneSettingsHost::RepaintResultWindows()
{
    for (auto& result : results_)
        if (result)
            result->update();
}

userdata::HistoryList* PaneSettingsHost::History()
{
    SearchWindow* search = Search();
    return search ? &search->history() : nullptr;
}

}  // namespace mirudex::ui
