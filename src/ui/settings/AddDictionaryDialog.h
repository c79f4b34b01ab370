#pragma once
// "Add Dictionary" (139): the user picks a dictionary file (Browse), checks
// its encoding, may choose its line form (Format: told from the file unless
// EDICT or EDICT2 is chosen) and gives it a description; OK loads it on the worker with
// the progress window, and a dictionary that loaded is appended to the
// loaded list and to the options (.\Dictionaries\EDICT\<Number>).
//
// While a worker runs (thread_searching) every button is ignored, also the
// dialog's own buttons during its load. ESC during the load stops it and
// nothing is added; a quit during the load stops it too and is passed on.
//
// Threads: user-interface thread only.

#include <QDialog>
#include <functional>
#include <string>

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class AddDictionaryDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxField = 1999;  // file, encoding, description

    // Waits for the load worker with the flags of the progress wait (1: a
    // quit ends the wait, 2: ESC does); returns 1 finished, 0 ESC, 2 quit.
    using Waiter = std::function<int(int flags)>;

    // owner: the main window (owner of the progress window too).
    AddDictionaryDialog(search::AppState& state, QWidget* owner);

    // By default the progress window "Loading Dictionary..." and its wait.
    void SetWaiter(Waiter waiter) { waiter_ = std::move(waiter); }
    // Called when a quit arrived during the load, to pass it on; by default
    // the main window leaves the clipboard and the quit is posted again.
    void SetQuitForwarder(std::function<void()> forward) { forwardQuit_ = std::move(forward); }
    // The program's directory, dropped from the front of a chosen path; by
    // default the directory of the running program.
    void SetProgramDir(std::u16string dir) { programDir_ = std::move(dir); }

    // What a click of Browse (1001), OK (1) or Cancel (2) does.
    void OnCommand(int id);
    bool fileChosen() const { return chosen_; }

public slots:
    void reject() override;

private:
    void Browse();
    void Load();

    search::AppState& state_;
    Waiter waiter_;
    std::function<void()> forwardQuit_;
    std::u16string programDir_;
    bool chosen_ = false;
};

}  // namespace mirudex::ui
