#pragma once
// The platform seam. The core never shows a window, touches the clipboard or
// ends the process by itself: it asks the platform installed for this process.
// The program installs the Qt implementation, tests a recording one, and the
// command-line tool a console one.
//
// Threads: every call may come from the user-interface thread or from the one
// worker thread. An implementation that must run on the user-interface thread
// (message boxes, the clipboard, Exit) hands the call over and blocks the
// worker until answered. The user-interface thread answers such calls
// whenever it dispatches events (the wait loop does), and in
// ServeWaitingCalls, which whoever waits for a worker to end calls while it
// waits: a worker is never joined while it waits for the thread that joins it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mirudex::platform {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };
// Whose window a message box belongs to: none (a box of its own) or the main window.
enum class Owner { None, MainWindow };

// A font as the options hold it: a face name (8-bit text) and a size in whole points.
struct FontChoice {
    std::string face;
    int pointSize = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    virtual Answer MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons, Owner owner) = 0;

    // Status bar of the main window: part 0 (progress and results) or part 1 (input method).
    virtual void SetStatusText(int part, std::u16string_view text) = 0;

    // Clipboard. Unicode text is ordinary text; 8-bit text carries the bytes of
    // one encoding (an iconv name), so a paste in the same encoding is the mirror
    // image of the copy.
    virtual void SetClipboardText(std::u16string_view text) = 0;
    virtual void SetClipboardBytes(std::string_view bytes, std::string_view encoding) = 0;
    virtual std::optional<std::u16string> ClipboardText() = 0;
    virtual std::optional<std::string> ClipboardBytes(std::string_view encoding) = 0;
    // Text offered in two forms at once: plain text and HTML (a program that
    // takes HTML, a word processor, gets the markup). The default offers the
    // plain text alone.
    virtual void SetClipboardTextAndHtml(std::u16string_view text, std::u16string_view html);

    // Choosers. Each answers nothing when the user cancels; the defaults
    // (a terminal has no choosers) always do. User-interface thread only.
    //
    // An existing file to open; every file is offered ("All files", *.*).
    virtual std::optional<std::string> ChooseOpenFile(std::u16string_view title);
    // A file to save to (it need not exist yet); every file is offered.
    virtual std::optional<std::string> ChooseSaveFile(std::u16string_view title);
    // A font starting at initial; the size chosen lies in minPoints..maxPoints.
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial, int minPoints, int maxPoints);
    // A colour starting at initial; both are COLORREF values (0x00BBGGRR).
    virtual std::optional<int> ChooseColor(int initial);

    // Clipboard watching: changed runs on the user-interface thread each time
    // the clipboard's contents change, whoever changed them. An empty function
    // stops the watching; the default (a terminal) never calls it.
    virtual void WatchClipboard(std::function<void()> changed);

    // Highlighted text (the X11 primary selection, where the system has one).
    // changed runs on the user-interface thread when another program's
    // selection changes; this program's own selections are not told. An empty
    // function stops the watching; the default never calls it.
    virtual void WatchSelection(std::function<void()> changed);
    // The selection's text; nothing when there is none (or no selection at all).
    virtual std::optional<std::u16string> SelectionText();

    // Whether some installed font has a glyph for every character of text
    // (kana and kanji: whether Japanese can be shown at all). The default (a
    // terminal, whose fonts are its own business) answers true.
    virtual bool HasFontFor(std::u16string_view text);

    // Ends the process with this status. Never returns to the caller: the
    // recording implementation throws FatalExit so a test can assert on it.
    // From a worker, the process is ended on the user-interface thread.
    [[noreturn]] virtual void Exit(int status) = 0;

    // User-interface thread: answers now every call a worker thread waits
    // for. Nothing by default (such implementations answer on the caller's thread).
    virtual void ServeWaitingCalls() {}
};

// Thrown only by test implementations of Exit().
struct FatalExit {
    int status;
};

// Installs the platform for this process (not owned). Passing nullptr restores
// the console platform, which is also what a process gets before any Set().
void Set(Platform* platform);
Platform& Get();

// Turns an option path such as "DICT\edict" into a file path ("DICT/edict").
// Relative paths stay relative to the current directory.
std::string FilePath(std::string_view optionPath);

}  // namespace mirudex::platform
