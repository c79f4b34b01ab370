#include "ui/settings/AddDictionaryDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <memory>
#include <string_view>

#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/SettingsPage.h"

namespace mirudex::ui {

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdFile = 1000;
constexpr int kIdBrowse = 1001;
constexpr int kIdDescription = 1002;
constexpr int kIdEncoding = 1004;
constexpr int kIdFormat = 1005;

// The choices of the Format list: shown text and the option's value (none:
// told from the file).
struct FormatChoice {
    const char* shown;
    std::string_view value;
};
constexpr FormatChoice kFormats[] = {
    {QT_TRANSLATE_NOOP("Mirudex", "Automatic"), {}},
    {QT_TRANSLATE_NOOP("Mirudex", "EDICT (one headword a line)"), dict::kEdictFormName},
    {QT_TRANSLATE_NOOP("Mirudex", "EDICT2 (several forms, entry ids)"), dict::kEdict2FormName},
};

// The encoding a file's extension suggests, or nothing when the edit keeps
// its text (with a note for the user).
void CheckExtension(const std::string& path, QLineEdit* encoding)
{
    const size_t dot = path.rfind('.');
    const std::u16string extension = dot == std::string::npos ? std::u16string() : Utf8ToUtf16(path.substr(dot));
    dlog::Write(u"File: %S\n", path);
    dlog::Write(u"Extention: %s\n", extension);
    if (dot == std::string::npos || extension == u".dct" || extension == u".asc") {
        encoding->setText(QStringLiteral("EUC-JP"));
    } else if (extension == u".utf") {
        encoding->setText(QStringLiteral("UTF-8"));
    } else if (extension == u".mxi") {
        platform::Get().MessageBox(
            u"This is probably a Mirudex Index (.mxi) file.  Make sure that this is really what you want.", u"Note",
            platform::Buttons::Ok, platform::Owner::MainWindow);
    } else {
        platform::Get().MessageBox(Format(u"File:\n%s\n\nThis file looks like it has an extention.\nMake sure that "
                                          u"this is what you want.",
                                          Utf8ToUtf16(path)),
                                   u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
    }
}

}  // namespace

AddDictionaryDialog::AddDictionaryDialog(search::AppState& state, QWidget* owner)
    : QDialog(owner), state_(state), programDir_(U16(QCoreApplication::applicationDirPath()))
{
    setObjectName(QStringLiteral("139"));
    setWindowTitle(QCoreApplication::translate("Mirudex", "Add Dictionary"));
    waiter_ = [this](int flags) {
        return WaitWithProgress(state_, parentWidget(), QCoreApplication::translate("Mirudex", "Loading Dictionary..."),
                                flags);
    };
    // As the main window's own closing does: leave the clipboard, post the quit.
    forwardQuit_ = [this] {
        if (auto* main = qobject_cast<MainWindow*>(parentWidget()))
            main->StopWatchingClipboard();
        quit::Post(0);
    };

    auto* file =
        new QLineEdit(QCoreApplication::translate("Mirudex", "(Click on Browse to pick a dictionary file)"), this);
    file->setObjectName(QString::number(kIdFile));
    file->setReadOnly(true);
    file->setAccessibleName(tr("Dictionary file"));
    file->setMinimumWidth(360);
    auto* encoding = new QLineEdit(QStringLiteral("EUC-JP"), this);
    encoding->setObjectName(QString::number(kIdEncoding));
    encoding->setMaxLength(kMaxField);
    auto* format = new QComboBox(this);
    format->setObjectName(QString::number(kIdFormat));
    for (const FormatChoice& choice : kFormats)
        format->addItem(QCoreApplication::translate("Mirudex", choice.shown));
    auto* description = new QLineEdit(QCoreApplication::translate("Mirudex", "(Description for the dictionary)"), this);
    description->setObjectName(QString::number(kIdDescription));
    description->setMaxLength(kMaxField);

    auto button = [this](int id, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::number(id));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return b;
    };
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file, 1);
    fileRow->addWidget(button(kIdBrowse, QCoreApplication::translate("Mirudex", "&Browse")));
    auto* form = new QFormLayout;
    // A row of two controls: the label leads to the file's field itself.
    auto* fileLabel = new QLabel(QCoreApplication::translate("Mirudex", "&File:"), this);
    fileLabel->setBuddy(file);
    form->addRow(fileLabel, fileRow);
    form->addRow(QCoreApplication::translate("Mirudex", "&Encoding:"), encoding);
    form->addRow(QCoreApplication::translate("Mirudex", "F&ormat:"), format);
    form->addRow(QCoreApplication::translate("Mirudex", "&Description:"), description);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = button(kIdOk, QCoreApplication::translate("Mirudex", "OK"));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(button(kIdCancel, QCoreApplication::translate("Mirudex", "Cancel")));
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(buttons);
}

void AddDictionaryDialog::OnCommand(int id)
{
    if (search::WorkerRunning(state_))
        return;
    switch (id) {
    case kIdBrowse: Browse(); break;
    case kIdOk: Load(); break;
    case kIdCancel: QDialog::reject(); break;
    default: break;
    }
}

void AddDictionaryDialog::reject()
{
    // Escape and the close button are the Cancel button.
    OnCommand(kIdCancel);
}

void AddDictionaryDialog::Browse()
{
    dlog::Write(u"About to open the File Open dialog box...\n");
    const auto path = platform::Get().ChooseOpenFile(u"Please select a dictionary to use.");
    if (!path)
        return;
    dlog::Write(u"File picked successfully\n");
    CheckExtension(*path, findChild<QLineEdit*>(QString::number(kIdEncoding)));
    const QString shown = QString::fromStdString(*path);
    findChild<QLineEdit*>(QString::number(kIdFile))->setText(shown);
    findChild<QLineEdit*>(QString::number(kIdDescription))->setText(shown);
    chosen_ = true;
    dlog::Write(u"Okay, we CAN LOAD the dictionary.\n");
}

void AddDictionaryDialog::Load()
{
    dlog::Write(u"IDOK\n");
    if (!chosen_) {
        accept();
        return;
    }
    auto text = [this](int id) { return findChild<QLineEdit*>(QString::number(id))->text().left(kMaxField); };
    const QString file = text(kIdFile);
    platform::Get().SetStatusText(0, Format(u"Loading Dictionary: %s...", U16(file)));
    const std::string path = MainWindow::ProgramRelativePath(file.toStdString(), programDir_);
    if (path.find("::") != std::string::npos) {
        // A line of the options file cannot hold "::"; the dictionary could
        // not be found again at the next start.
        platform::Get().MessageBox(Format(u"File:\n%s\n\nThe options cannot hold a path that contains \"::\".  "
                                          u"Please rename the file or its folder.",
                                          U16(file)),
                                   u"Error", platform::Buttons::Ok, platform::Owner::MainWindow);
        platform::Get().SetStatusText(0, u"Dictionary loading... aborted.");
        return;
    }

    auto dictionary = std::make_unique<dict::Dictionary>();
    dictionary->path = path;
    dictionary->name = OptionText(text(kIdDescription));
    dictionary->encoding = OptionText(text(kIdEncoding));
    const int chosenFormat = findChild<QComboBox*>(QString::number(kIdFormat))->currentIndex();
    if (chosenFormat > 0 && chosenFormat < static_cast<int>(std::size(kFormats)))
        dictionary->format = std::string(kFormats[chosenFormat].value);
    dictionary->on = true;
    if (!search::Load_Thread_EDICT_Index_Load(state_, *dictionary)) {
        accept();
        return;
    }
    const int waited = waiter_(kWaitQuitFlag | kWaitEscFlag);
    if (waited == kWaitFinished) {
        search::JoinWorker(state_);
        dlog::Write(u"Dictionary loading... okay.\n");
        if (dictionary->count == 0) {
            // Nothing could be read (the log says why): such a dictionary is not added.
            dlog::Write(u"Dictionary loading... failed.\n");
            platform::Get().SetStatusText(0, u"Dictionary loading... failed.");
            accept();
            return;
        }
        Registry& options = state_.options;
        const int n = options.GetINT(opt::dictionaries::edict::kNumber);
        options.CD(opt::dictionaries::edict::kKey);
        options.MakeKey(std::to_string(n));
        options.CD(opt::kRoot);
        options.SetSTRING(opt::dictionaries::edict::Path(n), dictionary->path);
        options.SetSTRING(opt::dictionaries::edict::Name(n), dictionary->name);
        options.SetSTRING(opt::dictionaries::edict::Encoding(n), dictionary->encoding);
        options.SetBOOL(opt::dictionaries::edict::On(n), true);
        if (!dictionary->format.empty())
            options.SetSTRING(opt::dictionaries::edict::Format(n), dictionary->format);
        options.SetINT(opt::dictionaries::edict::kNumber, n + 1);
        state_.store.edict_dictionaries.push_back(std::move(dictionary));
        platform::Get().SetStatusText(0, u"Dictionary loaded.");
    } else {
        dlog::Write(u"Dictionary loading... aborted.\n");
        search::StopWorker(state_);
        dictionary.reset();
        platform::Get().SetStatusText(0, u"Dictionary loading... aborted.");
        if (waited == kWaitQuitArrived && forwardQuit_)
            forwardQuit_();
    }
    accept();
}

}  // namespace mirudex::ui
