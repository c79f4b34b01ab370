#pragma once
// The updater: the window "Mirudex Updater" that the main window's
// "Check for &Updates..." command opens. It runs the update check, shows the
// updates that apply to this version as formatted text (box 2101) and the
// files that would be downloaded (box 2102), and offers Cancel, "Check out
// the site" and "Get files". Escape stops a running check or download.
//
// Threads: user-interface thread only. While a check or download runs the
// window waits in a loop that keeps dispatching events every 10 ms, so the
// other windows stay usable; the update threads only send status texts,
// which reach the status bar (id 100) through queued calls. A long list is
// formatted a slice of at most kFormatSliceMs at a time into a document of
// its own, with events dispatched between slices, so Escape, Cancel and
// quitting act at once however long the list is; the box shows the document
// when it is complete.
//
// A check that found no valid list shows nothing and offers nothing: the list
// file a former check left behind is not read again. It says why: no server
// could be reached, none could be trusted, or none sent a list.
//
// Quitting: a quit request that arrives while the updater runs closes the
// updater (stopping its thread) and is passed on, so the program still ends.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/Registry.h"
#include "update/UpdateList.h"
#include "update/UpdateText.h"
#include "update/UpdateThreads.h"

class QPushButton;
class QStatusBar;
class QTextCursor;
class QTextEdit;
class QUrl;

namespace mirudex::ui {

class EscapeFilter;

// Opens the updater, checks for updates and returns when the window has been
// closed. While one updater is open a second call only raises it.
void RunUpdater(Registry& registry, update::UpdateState& state, QWidget* mainWindow);

class UpdaterWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMargin = 5;
    static constexpr int kUpdatesTop = 25;
    static constexpr int kUpdatesHeight = 370;
    static constexpr int kFilesTop = kUpdatesTop + kUpdatesHeight + 25;  // 420
    static constexpr int kFilesHeight = 100;
    static constexpr int kButtonTop = kFilesTop + kFilesHeight + 4;  // 524
    static constexpr int kButtonWidth = 150;
    static constexpr int kButtonHeight = 24;
    // Longest stretch of formatting between two rounds of event dispatching.
    static constexpr int kFormatSliceMs = 20;

    enum class WaitResult { Completed, Cancelled, Quitting };

    UpdaterWindow(Registry& registry, update::UpdateState& state, QWidget* owner);
    ~UpdaterWindow() override;

    QStatusBar* statusBar() const { return status_; }
    QTextEdit* updatesBox() const { return updates_; }
    QTextEdit* filesBox() const { return files_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* siteButton() const { return site_; }
    QPushButton* getFilesButton() const { return getFiles_; }
    QString StatusText() const;
    void SetStatusText(const QString& text);
    bool closed() const { return closed_; }
    // The check has ended and its list is shown (the window waits for the user).
    bool listShown() const { return listShown_; }
    // The list is being formatted; how many of its updates are formatted so far.
    bool formatting() const { return formatting_; }
    size_t formattedUpdates() const { return formatted_; }
    // The applicable updates shown, in list order.
    const std::vector<update::UpdateRecord>& updates() const { return shown_; }

    // The check and the list shown afterwards (steps of RunUpdater). ShowList
    // ends as Cancelled or Quitting when the user leaves while a long list is
    // formatted; the window is then closed (and a quit passed on).
    WaitResult Check();
    WaitResult ShowList();
    // Waits while an update thread runs: Escape cancels, a quit request quits.
    WaitResult PollingWait();
    // What ends a wait early: ESC or Cancel, or a quit (taken here);
    // Completed when nothing does.
    WaitResult Interruption(const EscapeFilter& escape);

    // What "Check out the site" uses to open an address (tests record it).
    static void SetUrlOpener(std::function<void(const QUrl&)> opener);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCancel();
    void OnSite();
    void OnGetFiles();
    // Stops the thread after Escape or a quit and closes the window; a quit is passed on.
    void Abandon(WaitResult result);
    // Formats shown_ into a new document for the updates box, in slices.
    WaitResult FormatUpdates();

    Registry& registry_;
    update::UpdateState& state_;
    QStatusBar* status_;
    QTextEdit* updates_;
    QTextEdit* files_;
    QPushButton* cancel_;
    QPushButton* site_;
    QPushButton* getFiles_;
    QFont labelFont_;
    std::vector<update::UpdateRecord> shown_;
    bool closed_ = false;
    bool waiting_ = false;
    bool listShown_ = false;
    bool cancelRequested_ = false;
    bool formatting_ = false;
    size_t formatted_ = 0;
    int quitCode_ = 0;
};

// Appends the blocks of updates[from], updates[from + 1], ... (a separator
// after every one but the last of the list) at the cursor until budgetMs have
// passed, one update at least; returns the index of the next update to
// format. dpiX and dpiY are those of the window that shows the text.
size_t FormatUpdateSlice(QTextCursor& cursor, const std::vector<update::UpdateRecord>& updates, size_t from,
                         int budgetMs, int dpiX, int dpiY);

// What the updater says after a check that fetched no list, by what the check came to.
QString FailedCheckText(update::UpdateState::CheckOutcome outcome);

// The updater while one is open (for the main window and for tests).
UpdaterWindow* CurrentUpdaterWindow();

}  // namespace mirudex::ui
