#include "ui/search/RomajiInputMethod.h"
#include "platform/qt/QtText.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace mirudex::ui {

namespace {

bool IsPrintableAscii(char16_t c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

RomajiInputMethod::RomajiInputMethod(QPlainTextEdit& edit, Converter convert)
    : edit_(edit), convert_(std::move(convert))
{
}

void RomajiInputMethod::Restart()
{
    pending_.clear();
    compositionStart_ = edit_.textCursor().position();
}

void RomajiInputMethod::TurnOff()
{
    pending_.clear();
    compositionStart_ = -1;
}

void RomajiInputMethod::Replacing(const std::function<void()>& edit)
{
    const bool was = replacing_;
    replacing_ = true;
    edit();
    replacing_ = was;
}

void RomajiInputMethod::Type(char16_t c)
{
    if (!IsOn())
        return;
    pending_.push_back(c);
    // A doubled n is ん at once: hand the converter n' instead.
    const size_t n = pending_.size();
    if (n >= 2 &&
        ((pending_[n - 2] == u'n' && pending_[n - 1] == u'n') || (pending_[n - 2] == u'N' && pending_[n - 1] == u'N')))
        pending_.back() = u'\'';

    Replacing([&] {
        QTextCursor cursor = edit_.textCursor();
        cursor.beginEditBlock();
        if (cursor.hasSelection()) {
            compositionStart_ = cursor.selectionStart();
            cursor.removeSelectedText();
        }
        const int length = edit_.document()->characterCount() - 1;
        const int start = std::min(compositionStart_, length);
        const int shown = std::min(static_cast<int>(pending_.size()) - 1, length - start);
        cursor.setPosition(start);
        cursor.setPosition(start + shown, QTextCursor::KeepAnchor);
        const std::u16string converted = convert_(pending_, false);
        cursor.insertText(Q(converted));
        cursor.endEditBlock();
        edit_.setTextCursor(cursor);

        // What precedes the first ASCII character is kana for good; the rest is still romaji.
        size_t final = 0;
        while (final < converted.size() && !IsPrintableAscii(converted[final]))
            ++final;
        compositionStart_ = start + static_cast<int>(final);
        pending_ = converted.substr(final);
    });
}

void RomajiInputMethod::Finish()
{
    if (!IsOn() || pending_.empty())
        return;
    const QString shown = Q(pending_);
    const QString converted = Q(convert_(pending_, true));
    Replacing([&] {
        QTextCursor cursor = edit_.textCursor();
        const int length = edit_.document()->characterCount() - 1;
        const int start = std::min(compositionStart_, length);
        cursor.setPosition(start);
        cursor.setPosition(std::min(start + static_cast<int>(shown.size()), length), QTextCursor::KeepAnchor);
        // Only what the method itself put there is converted.
        if (converted != shown && cursor.selectedText() == shown) {
            cursor.beginEditBlock();
            cursor.insertText(converted);
            cursor.endEditBlock();
            edit_.setTextCursor(cursor);
        }
    });
    Restart();
}

void RomajiInputMethod::Backspace()
{
    if (IsOn() && !pending_.empty())
        pending_.pop_back();
}

void RomajiInputMethod::SelectionChanged()
{
    if (!IsOn() || replacing_)
        return;
    const QTextCursor cursor = edit_.textCursor();
    if (cursor.position() != compositionStart_ + static_cast<int>(pending_.size())) {
        pending_.clear();
        compositionStart_ = cursor.selectionStart();
    }
}

}  // namespace mirudex::ui
