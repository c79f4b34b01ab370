#include "ui/updater/UpdaterWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QUrl>
#include <chrono>
#include <thread>

#include "core/DebugLog.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "ui/common/EscapeFilter.h"
#include "ui/common/Images.h"
#include "ui/common/QuitRequest.h"
#include "ui/common/Resources.h"

namespace mirudex::ui {

namespace {

// Client area of a 600 x 600 window with a caption and a thin frame.
constexpr int kClientWidth = 594;
constexpr int kClientHeight = 571;
constexpr int kBoxPoints = 10;
constexpr int kLabelPoints = 10;
constexpr int kButtonFontPixels = 14;
constexpr auto kPollInterval = std::chrono::milliseconds(10);

QPointer<UpdaterWindow> current;

std::function<void(const QUrl&)>& UrlOpener()
{
    static std::function<void(const QUrl&)> opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return opener;
}

// Text from the list: UTF-8 when it is valid UTF-8, otherwise one character per byte.
QString ListText(const std::string& bytes)
{
    if (const std::optional<std::u16string> text = DecodeUtf8(bytes))
        return QString::fromStdU16String(*text);
    return QString::fromLatin1(bytes);
}

QTextEdit* MakeBox(QWidget* parent, const char* id, const QFont& font)
{
    auto* box = new QTextEdit(parent);
    box->setObjectName(QString::fromLatin1(id));
    box->setReadOnly(true);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFont(font);
    box->document()->setDefaultFont(font);
    // A left margin of 2 pixels inside the box.
    QTextFrameFormat frame = box->document()->rootFrame()->frameFormat();
    frame.setMargin(0);
    frame.setLeftMargin(2);
    box->document()->rootFrame()->setFrameFormat(frame);
    return box;
}

void InsertRichText(QTextCursor& cursor, std::string_view rtf, int dpiX, int dpiY)
{
    const QFont base = cursor.document()->defaultFont();
    for (const update::RichPiece& piece : update::ParseRichText(rtf)) {
        if (piece.kind == update::RichPiece::Kind::Break) {
            cursor.insertBlock(QTextBlockFormat());
            continue;
        }
        const update::RichFormat& f = piece.format;
        // A line takes the indentation its first text asks for.
        if (cursor.atBlockStart() && cursor.block().length() == 1) {
            QTextBlockFormat block = cursor.blockFormat();
            block.setLeftMargin(f.leftIndentTwips * dpiX / 1440.0);
            cursor.setBlockFormat(block);
        }
        QFont font = base;
        font.setBold(f.bold);
        font.setItalic(f.italic);
        if (f.halfPoints > 0)
            font.setPixelSize(std::max(1, MulDiv(f.halfPoints, dpiY, 144)));
        QTextCharFormat format;
        format.setFont(font);
        // Text without a colour of its own takes the text box's (the system's) text colour.
        if (f.hasColour)
            format.setForeground(QColor(f.red, f.green, f.blue));
        cursor.insertText(ListText(piece.text), format);
    }
}

}  // namespace

size_t FormatUpdateSlice(QTextCursor& cursor, const std::vector<update::UpdateRecord>& updates, size_t from,
                         int budgetMs, int dpiX, int dpiY)
{
    QElapsedTimer slice;
    slice.start();
    do {
        InsertRichText(cursor, update::UpdateBlockRtf(updates[from]), dpiX, dpiY);
        if (from + 1 < updates.size())
            InsertRichText(cursor, update::UpdateSeparatorRtf(), dpiX, dpiY);
        ++from;
    } while (from < updates.size() && slice.elapsed() < budgetMs);
    return from;
}

UpdaterWindow* CurrentUpdaterWindow() { return current.data(); }

QString FailedCheckText(update::UpdateState::CheckOutcome outcome)
{
    using Outcome = update::UpdateState::CheckOutcome;
    switch (outcome) {
    case Outcome::Unreachable:
        return QCoreApplication::translate(
            "Mirudex",
            "Could not connect to the update server, so Mirudex could not check for updates. "
            "Check the Internet connection and try again.");
    case Outcome::Untrusted:
        return QCoreApplication::translate(
            "Mirudex",
            "The update server could not prove that it is the real one (its certificate was not "
            "accepted), so Mirudex did not check for updates.");
    case Outcome::NoList:
        return QCoreApplication::translate(
            "Mirudex",
            "The update server did not send a list of updates, so Mirudex could not check for "
            "updates. Try again later.");
    case Outcome::ListFetched:
    case Outcome::Stopped: break;
    }
    return QCoreApplication::translate("Mirudex", "No updates found");
}

void UpdaterWindow::SetUrlOpener(std::function<void(const QUrl&)> opener) { UrlOpener() = std::move(opener); }

UpdaterWindow::UpdaterWindow(Registry& registry, update::UpdateState& state, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      registry_(registry),
      state_(state)
{
    setObjectName(QStringLiteral("Mirudex_Update"));
    setWindowTitle(QCoreApplication::translate("Mirudex", "Mirudex Updater"));
    setWindowIcon(ProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));  // the system's menu colour
    setPalette(pal);

    const QString face = QString::fromStdString(registry_.GetString(opt::search::font::kFont));
    const int dpi = logicalDpiY();
    labelFont_ = MakeFont(face, kLabelPoints, dpi);
    const QFont boxFont = MakeFont(face, kBoxPoints, dpi);

    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("100"));
    status_->setSizeGripEnabled(false);
    status_->setAccessibleName(QCoreApplication::translate("Mirudex", "Status"));
    const int statusHeight = std::max(10, status_->sizeHint().height());
    status_->setGeometry(0, height() - statusHeight, width(), statusHeight);

    const int boxWidth = width() - 2 * kMargin;
    updates_ = MakeBox(this, "2101", boxFont);
    updates_->setGeometry(kMargin, kUpdatesTop, boxWidth, kUpdatesHeight);
    updates_->setAccessibleName(QCoreApplication::translate("Mirudex", "Updates"));
    updates_->setAccessibleDescription(QCoreApplication::translate("Mirudex", "The updates the server offers"));
    files_ = MakeBox(this, "2102", boxFont);
    files_->setGeometry(kMargin, kFilesTop, boxWidth, kFilesHeight);
    files_->setAccessibleName(QCoreApplication::translate("Mirudex", "Files"));
    files_->setAccessibleDescription(QCoreApplication::translate("Mirudex", "The files of the chosen updates"));

    QFont buttonFont = MakeFont(face, 1, 72);
    buttonFont.setPixelSize(kButtonFontPixels);
    // Named by their English text; shown in the user's language.
    auto button = [&](const char* name, const char* text, int x) {
        auto* b = new QPushButton(QCoreApplication::translate("Mirudex", text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(buttonFont);
        b->setGeometry(x, kButtonTop, kButtonWidth, kButtonHeight);
        b->setAutoDefault(false);
        return b;
    };
    cancel_ = button("Cancel", QT_TRANSLATE_NOOP("Mirudex", "&Cancel"), kMargin);
    site_ = button("Check out the site", QT_TRANSLATE_NOOP("Mirudex", "Check out the &site"),
                   width() / 2 - kButtonWidth / 2);
    getFiles_ = button("Get files", QT_TRANSLATE_NOOP("Mirudex", "&Get files"), width() - kMargin - kButtonWidth);
    connect(cancel_, &QPushButton::clicked, this, &UpdaterWindow::OnCancel);
    connect(site_, &QPushButton::clicked, this, &UpdaterWindow::OnSite);
    connect(getFiles_, &QPushButton::clicked, this, &UpdaterWindow::OnGetFiles);

    // The update threads report here; their texts are queued to this thread.
    state_.SetStatusSink([this](const std::u16string& text) {
        QMetaObject::invokeMethod(
            this, [this, text = Q(text)] { SetStatusText(text); }, Qt::QueuedConnection);
    });
}

UpdaterWindow::~UpdaterWindow()
{
    // After this no status text can be queued to the window any more.
    state_.SetStatusSink(nullptr);
}

QString UpdaterWindow::StatusText() const { return status_->currentMessage(); }

void UpdaterWindow::SetStatusText(const QString& text) { status_->showMessage(text); }

void UpdaterWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(labelFont_);
    p.setPen(palette().color(QPalette::ButtonText));  // the window is in the button colour
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    p.drawText(QRect(kMargin, 5, 600, 600), flags,
               QCoreApplication::translate("Mirudex", "The following updates apply to this version:"));
    p.drawText(QRect(kMargin, 400, 600, 600), flags,
               QCoreApplication::translate("Mirudex", "The following files will be downloaded:"));
}

void UpdaterWindow::closeEvent(QCloseEvent* event)
{
    // Closing from the title bar while a thread runs stops it as Escape would;
    // the waiting loop then closes the window.
    if (waiting_) {
        event->ignore();
        cancelRequested_ = true;
        return;
    }
    closed_ = true;
    event->accept();
}

UpdaterWindow::WaitResult UpdaterWindow::Interruption(const EscapeFilter& escape)
{
    if (escape.pressed || cancelRequested_)
        return WaitResult::Cancelled;
    if (quit::Pending()) {
        quitCode_ = quit::Take();
        return WaitResult::Quitting;
    }
    return WaitResult::Completed;
}

UpdaterWindow::WaitResult UpdaterWindow::PollingWait()
{
    EscapeFilter escape;
    qApp->installEventFilter(&escape);
    waiting_ = true;
    cancelRequested_ = false;
    WaitResult result = WaitResult::Completed;
    while (update::UpdateThreadRunning(state_)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        result = Interruption(escape);
        if (result != WaitResult::Completed)
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    waiting_ = false;
    qApp->removeEventFilter(&escape);
    // Texts the thread sent before it ended come before what follows.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return result;
}

void UpdaterWindow::Abandon(WaitResult result)
{
    update::StopUpdateThread(state_);
    close();
    if (result == WaitResult::Quitting)
        quit::Post(quitCode_);
}

UpdaterWindow::WaitResult UpdaterWindow::Check()
{
    SetStatusText(QStringLiteral("..."));
    updates_->setPlainText(QCoreApplication::translate("Mirudex", "Press ESCAPE to stop checking for updates..."));
    update::Load_Thread_CheckForUpdates(state_, update::kListFileName);
    const WaitResult result = PollingWait();
    if (result != WaitResult::Completed) {
        Abandon(result);
        return result;
    }
    update::JoinUpdateThread(state_);
    if (state_.checkResult) {
        updates_->clear();
        SetStatusText(QCoreApplication::translate("Mirudex", "Found updates"));
        return result;
    }
    // A check that found no list says why: nothing was checked at all when
    // no server could be reached or trusted.
    const QString text = FailedCheckText(state_.checkOutcome.load());
    updates_->setPlainText(text);
    SetStatusText(text);
    return result;
}

UpdaterWindow::WaitResult UpdaterWindow::ShowList()
{
    // The check has read the list it fetched on its own thread. After a
    // failed check there is nothing: a list an earlier check left in the list
    // file is neither shown nor offered.
    update::UpdateSelection selection = std::move(state_.checkedList);
    state_.checkedList = {};
    const bool opened = !state_.checkResult || state_.checkedListOpened;
    state_.downloadList = std::move(selection.downloadList);
    state_.chosenId = std::move(selection.chosenId);
    shown_ = std::move(selection.applicable);
    if (!opened) {
        SetStatusText(QCoreApplication::translate("Mirudex", "There was an error when opening the file."));
        listShown_ = true;
        return WaitResult::Completed;
    }
    QString files;
    for (const std::string& entry : state_.downloadList)
        files += ListText(entry) + QLatin1Char('\n');
    if (!files.isEmpty()) {
        QTextCursor cursor(files_->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(files);
    }

    const WaitResult result = FormatUpdates();
    if (result != WaitResult::Completed) {
        // Nothing half shown is offered: the window goes as after Escape.
        state_.downloadList.clear();
        state_.chosenId.clear();
        Abandon(result);
        return result;
    }
    listShown_ = true;
    return result;
}

UpdaterWindow::WaitResult UpdaterWindow::FormatUpdates()
{
    if (shown_.empty())
        return WaitResult::Completed;
    // A document of its own: it is laid out only once, when the box shows it.
    QTextDocument* shownDocument = updates_->document();
    auto* document = new QTextDocument(updates_);
    document->setDefaultFont(shownDocument->defaultFont());
    document->rootFrame()->setFrameFormat(shownDocument->rootFrame()->frameFormat());
    QTextCursor cursor(document);

    EscapeFilter escape;
    qApp->installEventFilter(&escape);
    waiting_ = true;
    formatting_ = true;
    cancelRequested_ = false;
    formatted_ = 0;
    WaitResult result = WaitResult::Completed;
    while (formatted_ < shown_.size()) {
        formatted_ = FormatUpdateSlice(cursor, shown_, formatted_, kFormatSliceMs, logicalDpiX(), logicalDpiY());
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        result = Interruption(escape);
        if (result != WaitResult::Completed)
            break;
    }
    formatting_ = false;
    waiting_ = false;
    qApp->removeEventFilter(&escape);
    if (result != WaitResult::Completed) {
        delete document;
        return result;
    }
    updates_->setDocument(document);
    updates_->moveCursor(QTextCursor::Start);
    return result;
}

void UpdaterWindow::OnCancel()
{
    if (update::UpdateThreadRunning(state_))
        return;
    close();
}

void UpdaterWindow::OnSite() { UrlOpener()(QUrl(QString::fromStdString(update::UpdateHomePage()))); }

void UpdaterWindow::OnGetFiles()
{
    if (update::UpdateThreadRunning(state_) || state_.downloadList.empty())
        return;
    if (!update::Load_Thread_GetUpdates(state_, state_.downloadList))
        return;
    const WaitResult result = PollingWait();
    if (result != WaitResult::Completed) {
        Abandon(result);
        return;
    }
    update::JoinUpdateThread(state_);
    if (!state_.downloadOk) {
        SetStatusText(QCoreApplication::translate("Mirudex", "At least one file failed."));
        return;
    }
    SetStatusText(QCoreApplication::translate("Mirudex", "All files downloaded OKAY!"));
    if (!update::LogInstalledUpdate(state_.chosenId)) {
        dlog::Write(u"UpdaterWindow: ERROR: %S not written.\n", update::kInstallLogName);
        platform::Get().MessageBox(u"Couldn't open Updates.mxf to log the update.", u"Error", platform::Buttons::Ok,
                                   platform::Owner::None);
    }
    platform::Get().MessageBox(
        u"The updates have been downloaded.\n\nPlease do whatever the instructions said to avoid problems ^_^",
        u"Updates complete", platform::Buttons::Ok, platform::Owner::None);
    close();
}

void RunUpdater(Registry& registry, update::UpdateState& state, QWidget* mainWindow)
{
    if (UpdaterWindow* open = current.data()) {
        open->raise();
        open->activateWindow();
        return;
    }
    dlog::WriteAt(1, u"RunUpdater: opening the updater window.\n");
    auto* window = new UpdaterWindow(registry, state, mainWindow);
    current = window;
    window->show();
    if (window->Check() == UpdaterWindow::WaitResult::Completed &&
        window->ShowList() == UpdaterWindow::WaitResult::Completed) {
        // Until the window is closed; a quit request ends the loop and stays
        // pending, so the program's own loop ends after this command.
        while (!window->closed() && !quit::Pending())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    update::StopUpdateThread(state);
    delete window;
    if (mainWindow)
        mainWindow->update();
    dlog::WriteAt(1, u"RunUpdater: the updater window is closed.\n");
}

}  // namespace mirudex::ui
