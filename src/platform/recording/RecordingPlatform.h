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

    Answer MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons,
                      Owner owner) override;
    void SetStatusText(int part, std::u16string_view text) override;
    void SetClipboardText(std::u16string_view text) override;
    void SetClipboardBytes(std::string_view bytes, std::string_view encoding) override;
    std::optional<std::u16string> ClipboardText() override;
    std::optional<std::string> ClipboardBytes(std::string_view encoding) override;
    [[noreturn]] void Exit(int status) override;

    // The next message boxes answer these, in order; after the script runs
    // out a Yes/No box answers defaultAnswer and an OK box Ok.
    void ScriptAnswers(std::initializer_list<Answer> answers);
    void SetDefaultAnswer(Answer answer);

    std::vector<MessageBoxCall> MessageBoxes() const;
    std::vector<StatusCall> StatusTexts() const;
    std::u16string LastStatus(int part) const;
    std::string ClipboardEncoding() const;
    void Clear();

private:
    Platform* previous_ = nullptr;
    mutable std::mutex mutex_;
    std::deque<Answer> script_;
    Answer defaultAnswer_ = Answer::Yes;
    std::vector<MessageBoxCall> boxes_;
    std::vector<StatusCall> status_;
    std::optional<std::u16string> clipText_;
    std::optional<std::string> clipBytes_;
    std::string clipEncoding_;
};

}  // namespace mirudex::platform
