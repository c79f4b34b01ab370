#pragma once
// The platform of the real program, over Qt. Calls from the worker thread are
// handed to the user-interface thread: message boxes and clipboard reads block
// the worker until answered, status texts are queued.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

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
    std::optional<std::string> ClipboardBytes(std::string_view encoding) override;
    std::optional<std::string> ChooseOpenFile(std::u16string_view title) override;
    std::optional<std::string> ChooseSaveFile(std::u16string_view title) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints) override;
    std::optional<int> ChooseColor(int initial) override;
    void WatchClipboard(std::function<void()> changed) override;
    void WatchSelection(std::function<void()> changed) override;
    std::optional<std::u16string> SelectionText() override;
    [[noreturn]] void Exit(int status) override;

    // The main window, owner of "owned" message boxes.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    // Where status texts go (the main window's status bar); called on the UI thread.
    void SetStatusSink(std::function<void(int, const QString&)> sink) { statusSink_ = std::move(sink); }

    static QString ToQString(std::u16string_view text);

private:
    // Runs fn on the user-interface thread and waits for it.
    void RunOnUiThread(const std::function<void()>& fn);

    QPointer<QWidget> mainWindow_;
    QMetaObject::Connection clipboardWatch_;
    QMetaObject::Connection selectionWatch_;
    std::function<void(int, const QString&)> statusSink_;
};

}  // namespace mirudex::platform
