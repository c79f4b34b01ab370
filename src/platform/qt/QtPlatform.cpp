#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMimeData>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/Translation.h"

namespace mirudex::platform {

QtPlatform::QtPlatform()
{
    connect(this, &QtPlatform::callWaiting, this, &QtPlatform::ServeWaitingCalls, Qt::QueuedConnection);
    Set(this);
}

QtPlatform::~QtPlatform()
{
    if (&Get() == this)
        Set(nullptr);
}

QString QtPlatform::ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void QtPlatform::RunOnUiThread(const std::function<void()>& fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    WaitingCall call{&fn};
    {
        std::lock_guard lock(waitingMutex_);
        waiting_.push_back(&call);
    }
    // Served by the next event dispatch, or earlier by a thread that waits for this one.
    emit callWaiting();
    std::unique_lock lock(waitingMutex_);
    waitingDone_.wait(lock, [&call] { return call.done; });
}

int QtPlatform::WaitingCallCount()
{
    std::lock_guard lock(waitingMutex_);
    return static_cast<int>(waiting_.size());
}

void QtPlatform::ServeWaitingCalls()
{
    if (QThread::currentThread() != thread())
        return;
    for (;;) {
        WaitingCall* call = nullptr;
        {
            std::lock_guard lock(waitingMutex_);
            if (waiting_.empty())
                return;
            call = waiting_.front();
            waiting_.pop_front();
        }
        // A message box runs a nested loop here, which may serve later calls.
        (*call->fn)();
        {
            std::lock_guard lock(waitingMutex_);
            call->done = true;
        }
        waitingDone_.notify_all();
    }
}

Answer QtPlatform::MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons, Owner owner)
{
    if (unattended_) {
        const QByteArray line = (QStringLiteral("mirudex: [") + ToQString(caption) + QStringLiteral("] ") +
                                 ToQString(text) + QStringLiteral("\n"))
                                    .toUtf8();
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    Answer answer = Answer::Ok;
    // Shown in the user's language; the text itself is written in English below.
    const QString qtext = ShownText(ToQString(text));
    const QString qcaption = ShownText(ToQString(caption));
    RunOnUiThread([&] {
        QWidget* parent = owner == Owner::MainWindow ? mainWindow_.data() : nullptr;
        if (buttons == Buttons::YesNo) {
            auto r =
                QMessageBox::question(parent, qcaption, qtext, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
            answer = r == QMessageBox::Yes ? Answer::Yes : Answer::No;
        } else {
            QMessageBox box(QMessageBox::NoIcon, qcaption, qtext, QMessageBox::Ok, parent);
            box.exec();
            answer = Answer::Ok;
        }
    });
    return answer;
}

namespace {
// A chooser opens over the window the user works in (a modal dialog such as
// the settings), so that it is not hidden behind it.
QWidget* ChooserParent(QWidget* mainWindow)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return mainWindow;
}
}  // namespace

std::optional<std::string> QtPlatform::ChooseOpenFile(std::u16string_view title)
{
    // The program's own dialog, so that it looks the same everywhere and can
    // be driven in tests of this class; it never changes the current directory.
    const QString path = QFileDialog::getOpenFileName(ChooserParent(mainWindow_.data()), ShownText(ToQString(title)),
                                                      QString(), Tr(QT_TRANSLATE_NOOP("Mirudex", "All files (*)")),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtPlatform::ChooseSaveFile(std::u16string_view title)
{
    const QString path = QFileDialog::getSaveFileName(ChooserParent(mainWindow_.data()), ShownText(ToQString(title)),
                                                      QString(), Tr(QT_TRANSLATE_NOOP("Mirudex", "All files (*)")),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

void QtPlatform::WatchClipboard(std::function<void()> changed)
{
    disconnect(clipboardWatch_);
    if (changed)
        clipboardWatch_ = connect(QApplication::clipboard(), &QClipboard::dataChanged, this, std::move(changed));
}

void QtPlatform::WatchSelection(std::function<void()> changed)
{
    disconnect(selectionWatch_);
    QClipboard* clipboard = QApplication::clipboard();
    if (changed && clipboard->supportsSelection())
        selectionWatch_ = connect(clipboard, &QClipboard::selectionChanged, this, [clipboard, changed] {
            // Selecting text in the search box must not paste it back there.
            if (!clipboard->ownsSelection())
                changed();
        });
}

std::optional<std::u16string> QtPlatform::SelectionText()
{
    std::optional<std::u16string> result;
    RunOnUiThread([&] {
        QClipboard* clipboard = QApplication::clipboard();
        if (!clipboard->supportsSelection())
            return;
        const QString text = clipboard->text(QClipboard::Selection);
        if (!text.isEmpty())
            result = std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    });
    return result;
}

std::optional<FontChoice> QtPlatform::ChooseFont(const FontChoice& initial, int minPoints, int maxPoints)
{
    QFont start(QString::fromStdString(initial.face));
    start.setPointSize(std::clamp(initial.pointSize, minPoints, maxPoints));
    start.setWeight(QFont::Normal);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, start, ChooserParent(mainWindow_.data()));
    if (!ok)
        return std::nullopt;
    // The font dialog offers no size limits of its own.
    const int points = chosen.pointSize() > 0 ? chosen.pointSize() : qRound(chosen.pointSizeF());
    return FontChoice{chosen.family().toStdString(), std::clamp(points, minPoints, maxPoints)};
}

bool QtPlatform::HasFontFor(std::u16string_view text)
{
    // The families the font configuration says cover Japanese, each asked
    // for the glyphs themselves (its own, not those of a fallback font).
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        const QFontMetrics metrics{QFont(family)};
        if (std::all_of(text.begin(), text.end(), [&](char16_t c) { return metrics.inFont(QChar(c)); }))
            return true;
    }
    return false;
}

std::optional<int> QtPlatform::ChooseColor(int initial)
{
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, ChooserParent(mainWindow_.data()));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
}

void QtPlatform::SetStatusText(int part, std::u16string_view text)
{
    QString qtext = ShownText(ToQString(text));
    QMetaObject::invokeMethod(
        this,
        [this, part, qtext] {
            if (statusSink_)
                statusSink_(part, qtext);
        },
        Qt::AutoConnection);
}

void QtPlatform::SetClipboardText(std::u16string_view text)
{
    QString qtext = ToQString(text);
    RunOnUiThread([&] { QApplication::clipboard()->setText(qtext); });
}

void QtPlatform::SetClipboardTextAndHtml(std::u16string_view text, std::u16string_view html)
{
    QString qtext = ToQString(text);
    QString qhtml = ToQString(html);
    RunOnUiThread([&] {
        auto* mime = new QMimeData;
        mime->setText(qtext);
        mime->setHtml(qhtml);
        QApplication::clipboard()->setMimeData(mime);
    });
}

void QtPlatform::SetClipboardBytes(std::string_view bytes, std::string_view encoding)
{
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString charsetType = QStringLiteral("text/plain;charset=") + QString::fromLatin1(encoding.data(), encoding.size());
    // Plain text is read as UTF-8 by other programs: only bytes that are
    // UTF-8 (or ASCII, a part of it) are offered that way too.
    const QString name = QString::fromLatin1(encoding.data(), static_cast<qsizetype>(encoding.size())).toUpper();
    const bool plain = name == QLatin1String("UTF-8") || name == QLatin1String("UTF8") ||
                       name == QLatin1String("ASCII") || name == QLatin1String("US-ASCII");
    RunOnUiThread([&] {
        auto* mime = new QMimeData;
        mime->setData(charsetType, data);
        if (plain)
            mime->setData(QStringLiteral("text/plain"), data);
        QApplication::clipboard()->setMimeData(mime);
    });
}

std::optional<std::u16string> QtPlatform::ClipboardText()
{
    std::optional<std::u16string> result;
    RunOnUiThread([&] {
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        if (mime && mime->hasText()) {
            QString t = mime->text();
            result = std::u16string(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
        }
    });
    return result;
}

std::optional<std::string> QtPlatform::ClipboardBytes(std::string_view encoding)
{
    std::optional<std::string> result;
    QString charsetType = QStringLiteral("text/plain;charset=") + QString::fromLatin1(encoding.data(), encoding.size());
    RunOnUiThread([&] {
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        if (!mime)
            return;
        QByteArray data;
        if (mime->hasFormat(charsetType))
            data = mime->data(charsetType);
        else if (mime->hasFormat(QStringLiteral("text/plain")))
            data = mime->data(QStringLiteral("text/plain"));
        else
            return;
        result = std::string(data.constData(), static_cast<size_t>(data.size()));
    });
    return result;
}

void QtPlatform::Exit(int status)
{
    // The process ends on the user-interface thread, which may be showing or
    // about to show the worker's last message box.
    RunOnUiThread([status] {
        std::fflush(nullptr);
        std::exit(status);
    });
    std::abort();  // not reached
}

}  // namespace mirudex::platform
