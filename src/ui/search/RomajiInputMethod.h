#pragma once
// The search box's own input method: romaji typed into the box is turned into
// kana in place as it is typed.
//
// While it is on, the method remembers where the romaji not yet converted
// begins (the composition start) and that romaji itself (the pending text).
// Every printable character is added to the pending text, the part already
// shown is replaced by the non-final conversion of the whole pending text,
// and the leading part of the conversion that holds no ASCII any more becomes
// final. The box's own edits (Backspace) and caret moves keep it in step; a
// caret that leaves the composition starts a new one where it now is.
//
// The method edits the box through its text cursor, one undo step per
// keystroke. User-interface thread only.

#include <functional>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace mirudex::ui {

class RomajiInputMethod {
public:
    // Converts romaji to kana; final is false for the live preview.
    using Converter = std::function<std::u16string(std::u16string_view text, bool final)>;

    RomajiInputMethod(QPlainTextEdit& edit, Converter convert);

    bool IsOn() const { return compositionStart_ >= 0; }
    // -1 while off.
    int compositionStart() const { return compositionStart_; }
    const std::u16string& pending() const { return pending_; }
    // True while the method itself changes the box; its selection changes are then its own.
    bool replacing() const { return replacing_; }

    // Switches on (or starts over while on): nothing pending, composing at the caret.
    void Restart();
    void TurnOff();

    // A printable ASCII character (U+0020..U+007E) typed while on; the caller swallows the key.
    void Type(char16_t c);
    // Backspace while on, before the box deletes: the last pending character goes with it.
    void Backspace();
    // A search starts: the pending romaji is converted as a final text (a last
    // lone n cannot become な or に any more: ほn is ほん), and the
    // composition starts again after it. Letters with no kana stay letters.
    void Finish();
    // The box reported a changed selection or caret.
    void SelectionChanged();

    // Runs edit() with the replacing flag set, so the box's selection reports are ignored.
    void Replacing(const std::function<void()>& edit);

private:
    QPlainTextEdit& edit_;
    Converter convert_;
    int compositionStart_ = -1;
    std::u16string pending_;
    bool replacing_ = false;
};

}  // namespace mirudex::ui
