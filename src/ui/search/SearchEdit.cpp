#include "ui/search/SearchEdit.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>

#include "core/DebugLog.h"
#include "platform/api/Platform.h"
#include "platform/qt/QtText.h"
#include "platform/x11/CapsLockSync.h"
#include "ui/common/TabChain.h"
#include "ui/search/SearchCommands.h"

namespace mirudex::ui {

const char16_t* UndoKindName(UndoKind kind)
{
    switch (kind) {
    case UndoKind::Typing: return u" typing";
    case UndoKind::Delete: return u" delete";
    case UndoKind::DragDrop: return u" drag and drop";
    case UndoKind::Cut: return u" cut";
    case UndoKind::Paste: return u" paste";
    case UndoKind::Unknown: break;
    }
    return u"";
}

namespace {

bool IsPrintableAscii(const QString& text)
{
    return text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() <= 0x7E;
}

}  // namespace

SearchEdit::SearchEdit(RomajiInputMethod::Converter convert, QWidget* parent)
    : QPlainTextEdit(parent), ime_(*this, std::move(convert))
{
    setObjectName(QString::number(kSearchEditId));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(false);  // Tab arrives as a key and moves to the kanji window
    document()->setDocumentMargin(2);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);

    connect(document(), &QTextDocument::undoCommandAdded, this, &SearchEdit::RecordUndoStep);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { ime_.SelectionChanged(); });
    connect(this, &QPlainTextEdit::selectionChanged, this, [this] { ime_.SelectionChanged(); });
}

void SearchEdit::SetImeOn(bool on)
{
    if (on)
        ime_.Restart();
    else
        ime_.TurnOff();
    platform::Get().SetStatusText(1, on ? u"IME -on-" : u"IME -off-");
}

void SearchEdit::FinishComposition()
{
    const UndoKind before = currentKind_;
    currentKind_ = UndoKind::Typing;
    ime_.Finish();
    currentKind_ = before;
}

void SearchEdit::RecordUndoStep()
{
    const int steps = document()->availableUndoSteps();
    undoKinds_.resize(static_cast<size_t>(std::max(0, steps - 1)), UndoKind::Unknown);
    undoKinds_.push_back(currentKind_);
}

UndoKind SearchEdit::LastUndoKind() const
{
    const int steps = document()->availableUndoSteps();
    if (steps <= 0 || static_cast<size_t>(steps) > undoKinds_.size())
        return UndoKind::Unknown;
    return undoKinds_[static_cast<size_t>(steps) - 1];
}

void SearchEdit::ReplaceSelection(const QString& text, UndoKind kind)
{
    const UndoKind before = currentKind_;
    currentKind_ = kind;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    currentKind_ = before;
}

std::u16string SearchEdit::SelectedText() const
{
    // Paragraph breaks come back as line feeds, the way the text was typed.
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

void SearchEdit::PassOn(QKeyEvent* event, UndoKind kind)
{
    const UndoKind before = currentKind_;
    currentKind_ = kind;
    QPlainTextEdit::keyPressEvent(event);
    currentKind_ = before;
}

void SearchEdit::OnCapsLock(QKeyEvent* event)
{
    if (ignoreNextCapsLock_) {
        ignoreNextCapsLock_ = false;  // the echo of our own stroke
        return;
    }
    if (event->isAutoRepeat())
        return;
    SetImeOn(!ime_.IsOn());
    caps_.Pressed(event->nativeModifiers());
}

void SearchEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_CapsLock) {
        QPlainTextEdit::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (ignoreNextCapsRelease_) {
        ignoreNextCapsRelease_ = false;
        return;
    }
    if (event->isAutoRepeat())
        return;
    // Only a synthesised stroke comes back; without one the next press is the user's.
    if (caps_.Released())
        ignoreNextCapsLock_ = ignoreNextCapsRelease_ = true;
}

void SearchEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods == Qt::ControlModifier;

    if (key == Qt::Key_CapsLock) {
        OnCapsLock(event);
        event->accept();
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(mods & Qt::ShiftModifier)) {
        event->accept();
        emit command(ID_SEARCH_GO);
        if (ime_.IsOn())
            ime_.Restart();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // A line break; the composition goes on after it (typed romaji before it stays as it is).
        ime_.Replacing([&] { PassOn(event, UndoKind::Typing); });
        if (ime_.IsOn())
            ime_.Restart();
        return;
    }
    if (ctrl && (key == Qt::Key_V || key == Qt::Key_C)) {
        event->accept();
        emit command(key == Qt::Key_V ? ID_ENCODE_PASTE : ID_ENCODE_COPY);
        if (ime_.IsOn())
            ime_.Restart();
        return;
    }
    if (ctrl && key == Qt::Key_X) {
        event->accept();
        emit cutRequested();
        return;
    }
    if (key == Qt::Key_Tab && mods == Qt::NoModifier) {
        event->accept();
        emit focusKanjiWindow();
        return;
    }
    if (key == Qt::Key_Backtab) {
        // Back along the window's chain (the reading view, the tool bars).
        event->accept();
        if (QWidget* previous = NextTabStop(this, false))
            previous->setFocus(Qt::BacktabFocusReason);
        return;
    }
    if (ctrl && key == Qt::Key_Space) {
        event->accept();
        emit openHistory();
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (key == Qt::Key_Backspace)
            ime_.Backspace();
        PassOn(event, UndoKind::Delete);
        return;
    }
    const QString text = event->text();
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (ime_.IsOn() && plain && IsPrintableAscii(text)) {
        event->accept();
        const UndoKind before = currentKind_;
        currentKind_ = UndoKind::Typing;
        ime_.Type(text[0].unicode());
        currentKind_ = before;
        ensureCursorVisible();
        return;
    }
    PassOn(event, text.isEmpty() ? UndoKind::Unknown : UndoKind::Typing);
}

void SearchEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Text committed by a system input method goes in as typed text.
    const UndoKind before = currentKind_;
    currentKind_ = UndoKind::Typing;
    QPlainTextEdit::inputMethodEvent(event);
    currentKind_ = before;
}

void SearchEdit::dropEvent(QDropEvent* event)
{
    const UndoKind before = currentKind_;
    currentKind_ = UndoKind::DragDrop;
    QPlainTextEdit::dropEvent(event);
    currentKind_ = before;
}

void SearchEdit::mouseMoveEvent(QMouseEvent* event)
{
    // Pointing at the box while the program is in front gives it the keyboard, all text selected.
    if (window()->isActiveWindow() && !hasFocus() && !(event->buttons() & Qt::LeftButton)) {
        setFocus(Qt::MouseFocusReason);
        if (!hasFocus())
            dlog::Write(u"SetFocus(): ERROR: %u\n", 0u);
        selectAll();
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

bool SearchEdit::CanPaste()
{
    platform::Platform& p = platform::Get();
    return p.ClipboardText().has_value() || p.ClipboardBytes("").has_value();
}

QMenu* SearchEdit::MakeContextMenu()
{
    auto* menu = new QMenu(this);
    const bool selection = textCursor().hasSelection();
    QAction* undo = menu->addAction(QCoreApplication::translate("Mirudex", "&Undo") + Q(UndoKindName(LastUndoKind())));
    undo->setEnabled(document()->isUndoAvailable());
    connect(undo, &QAction::triggered, this, &QPlainTextEdit::undo);
    menu->addSeparator();
    QAction* copyAction = menu->addAction(QCoreApplication::translate("Mirudex", "&Copy"));
    copyAction->setEnabled(selection);
    connect(copyAction, &QAction::triggered, this, [this] { emit command(ID_ENCODE_COPY); });
    QAction* cutAction = menu->addAction(QCoreApplication::translate("Mirudex", "C&ut"));
    cutAction->setEnabled(selection);
    connect(cutAction, &QAction::triggered, this, [this] { emit cutRequested(); });
    QAction* pasteAction = menu->addAction(QCoreApplication::translate("Mirudex", "&Paste"));
    pasteAction->setEnabled(CanPaste());
    connect(pasteAction, &QAction::triggered, this, [this] { emit command(ID_ENCODE_PASTE); });
    return menu;
}

void SearchEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = MakeContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace mirudex::ui
