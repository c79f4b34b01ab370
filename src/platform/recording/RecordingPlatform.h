#pragma once
// The platform of the tests: keeps every call, answers message boxes from a
// script, and turns Exit() into a FatalExit exception carrying the status so
// a test can assert on it without ending the test runner.
//
// Safe to call from the worker thread while a test waits for it.

#include <deque>
#include <mutex>
#include <vector>

#include "platform/api/Platform.h"

namespace mirudex::platform {

struct MessageBoxCall {
    std::u16string text;
    std::u16string caption;
    Buttons buttons;
    Owner owner;
};

// One chooser opened: which kind, and what it started from.
struct ChooserCall {
    enum class Kind { OpenFile, SaveFile, Font, Color };
    Kind kind = Kind::OpenFile;
    std::u16string title;  // OpenFile, SaveFile
    FontChoice font;       // Font: the initial font
    int minPoints = 0, maxPoints = 0;
    int color = 0;  // Color: the initial colour
};

struct StatusCall {
    int part;
    std::u16string text;
};

class RecordingPlatform : public Platform {
public:
    // Installs itself for the process; the former platform comes back on destruction.
    RecordingPlatform();
    ~RecordingPlatform() override;
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

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
    void WatchClipboard(std::function<void()> changed) override;
    [[noreturn]] void Exit(int status) override;
    // HasFontFor answers what SetHasFonts said (true unless told), and the
    // texts it was asked about are kept.
    bool HasFontFor(std::u16string_view text) override;
    void SetHasFonts(bool has);
    std::vector<std::u16string> FontChecks() const;

    // As if the clipboard's contents changed: runs the watcher, if any.
    void ClipboardChanged();
    bool WatchingClipboard() const;
    // The selection: what SelectionText answers, and as if another program's selection changed.
    void WatchSelection(std::function<void()> changed) override;
    std::optional<std::u16string> SelectionText() override;
    void SetSelection(std::optional<std::u16string> text);
    void SelectionChanged();
    bool WatchingSelection() const;

    // What the next choosers of each kind answer, in order (nullopt:
    // cancelled); a chooser with nothing scripted is cancelled. Open and save
    // file choosers share one script.
    void ScriptFiles(std::initializer_list<std::optional<std::string>> answers);
    void ScriptFonts(std::initializer_list<std::optional<FontChoice>> answers);
    void ScriptColors(std::initializer_list<std::optional<int>> answers);
    std::vector<ChooserCall> Choosers() const;

    // The next message boxes answer these, in order; after the script runs
    // out a Yes/No box answers defaultAnswer and an OK box Ok.
    void ScriptAnswers(std::initializer_list<Answer> answers);
    void SetDefaultAnswer(Answer answer);

    std::vector<MessageBoxCall> MessageBoxes() const;
    std::vector<StatusCall> StatusTexts() const;
    std::u16string LastStatus(int part) const;
    std::string ClipboardEncoding() const;
    // The HTML form of the last copy that offered one (none after any other copy).
    std::optional<std::u16string> ClipboardHtml() const;
    void Clear();

private:
    Platform* previous_ = nullptr;
    std::function<void()> clipboardWatcher_;
    std::function<void()> selectionWatcher_;
    std::optional<std::u16string> selection_;
    mutable std::mutex mutex_;
    std::deque<Answer> script_;
    Answer defaultAnswer_ = Answer::Yes;
    std::vector<MessageBoxCall> boxes_;
    std::vector<StatusCall> status_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<FontChoice>> fonts_;
    std::deque<std::optional<int>> colors_;
    std::vector<ChooserCall> choosers_;
    std::optional<std::u16string> clipText_;
    std::optional<std::u16string> clipHtml_;
    std::optional<std::string> clipBytes_;
    std::string clipEncoding_;
    bool hasFonts_ = true;
    std::vector<std::u16string> fontChecks_;
};

}  // namespace mirudex::platform
