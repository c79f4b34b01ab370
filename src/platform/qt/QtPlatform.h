#pragma once
// The platform of the real program, over Qt. Calls from the worker thread are
// handed to the user-interface thread: message boxes, clipboard calls and
// Exit wait in a queue and block the worker until answered; status texts are
// queued without waiting. The user-interface thread answers the queue when it
// dispatches events and in ServeWaitingCalls (see Platform.h), never while it
// merely blocks, so a worker waiting here can always be joined.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/api/Platform.h"

namespace mirudex::platform {

class QtPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    // Create on the user-interface thread, after the QApplication.
    QtPlatform();
    ~QtPlatform() override;

    Answer MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons, Owner owner) override;
    void SetStatusText(int part, std::u16string_view text) override;
    void SetClipboardText(std::u16string_view text) override;
    void SetClipboardBytes(std::string_view bytes, std::string_view encoding) override;
    std::optional<std::u16string> ClipboardText() override;
    void SetClipboardTextAndHtml(std::u16string_view text, std::u16string_view html) override;
    std::optional<std::string> ClipboardBytes(std::string_view encoding) override;
    std::optional<std::string> ChooseOpenFile(std::u16string_view title) override;
    std::optional<std::string> ChooseSaveFile(std::u16string_view title) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints) override;
    std::optional<int> ChooseColor(int initial) override;
    bool HasFontFor(std::u16string_view text) override;
    void WatchClipboard(std::function<void()> changed) override;
    void WatchSelection(std::function<void()> changed) override;
    std::optional<std::u16string> SelectionText() override;
    [[noreturn]] void Exit(int status) override;
    void ServeWaitingCalls() override;

    // How many calls of other threads wait for the user-interface thread now.
    int WaitingCallCount();

    // The main window, owner of "owned" message boxes.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    // Where status texts go (the main window's status bar); called on the UI thread.
    void SetStatusSink(std::function<void(int, const QString&)> sink) { statusSink_ = std::move(sink); }

    // Once the program ends without the user (a signal, the desktop session
    // ending), no message box may hold it up: each one is written to the
    // standard error stream instead and answered Ok, or No when it asks.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    bool unattended() const { return unattended_; }

    static QString ToQString(std::u16string_view text);

signals:
    // Another thread queued a call (connected, queued, to ServeWaitingCalls).
    void callWaiting();

private:
    // Runs fn on the user-interface thread and waits for it.
    void RunOnUiThread(const std::function<void()>& fn);

    // A call of another thread waiting for the user-interface thread.
    struct WaitingCall {
        const std::function<void()>* fn = nullptr;
        bool done = false;
    };
    std::mutex waitingMutex_;
    std::condition_variable waitingDone_;
    std::deque<WaitingCall*> waiting_;

    QPointer<QWidget> mainWindow_;
    QMetaObject::Connection clipboardWatch_;
    QMetaObject::Connection selectionWatch_;
    std::function<void(int, const QString&)> statusSink_;
    std::atomic<bool> unattended_{false};
};

}  // namespace mirudex::platform
