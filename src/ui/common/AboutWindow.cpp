#include "ui/common/AboutWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QUrl>

#include "core/BuildConfig.h"
#include "core/Version.h"
#include "platform/api/Platform.h"
#include "platform/qt/QtText.h"
#include "ui/common/Images.h"
#include "ui/common/Resources.h"

namespace mirudex::ui {

namespace {

std::function<bool(const QUrl&)>& UrlOpener()
{
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

constexpr int kMargin = 10;      // kept free at the window's right edge
constexpr int kLinkIndent = 60;  // an address that goes on the line below its heading

QString Address(int index)
{
    const char16_t* text = index == 0 ? build::kHomePage : index == 1 ? build::kWebSite : build::kContactAddress;
    return Q(text);
}

}  // namespace

QString AboutCredits()
{
    return QCoreApplication::translate(
        "Mirudex",
        "Mirudex is free software under the GNU General Public License, version 3 or later, "
        "and comes with no warranty.\n"
        "EDICT, ENAMDICT, KANJIDIC, RADKFILE and JMdict are the property of the Electronic Dictionary "
        "Research and Development Group, and are used in conformance with the Group's licence:\n"
        "https://www.edrdg.org/edrdg/licence.html");
}

QUrl ResolveAddress(const QString& address)
{
    if (address.contains(QLatin1String("://")) || address.startsWith(QLatin1String("mailto:")))
        return QUrl(address);
    if (QFileInfo(address).isAbsolute())
        return QUrl::fromLocalFile(address);
    // The installed guide is the package's documentation (docs/index.html as
    // share/doc/mirudex/index.html beside bin/); a program run from its build
    // folder finds it at the top of the source tree it was built from,
    // wherever the build folder is.
    const QString appDir = QCoreApplication::applicationDirPath();
    if (address.startsWith(QLatin1String("docs/"))) {
        const QFileInfo installed(appDir + QStringLiteral("/../share/doc/mirudex/") + address.mid(5));
        if (installed.exists())
            return QUrl::fromLocalFile(installed.canonicalFilePath());
    }
    const QString sourceTree = QFileInfo(QString::fromUtf8(build::kSourceDataDirectory)).path();
    const QStringList bases{QDir::currentPath(), appDir, appDir + QStringLiteral("/.."), sourceTree};
    for (const QString& base : bases) {
        const QFileInfo info(QDir(base).filePath(address));
        if (info.exists())
            return QUrl::fromLocalFile(info.canonicalFilePath());
    }
    return QUrl::fromLocalFile(QDir(appDir).filePath(address));
}

QUrl UserGuideUrl() { return ResolveAddress(QStringLiteral("docs/index.html")); }

bool OpenLink(const QUrl& url)
{
    const QString file = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : QString();
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        platform::Get().MessageBox(
            U16(QCoreApplication::translate("Mirudex", "The page was not found where Mirudex looks for it:\n%1")
                    .arg(file)),
            u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
        return false;
    }
    if (UrlOpener()(url))
        return true;
    const QString text =
        url.isLocalFile()
            ? QCoreApplication::translate(
                  "Mirudex", "Mirudex could not open the page.\n\nIt is the file\n%1\n\nOpen it in your web browser.")
                  .arg(file)
            : QCoreApplication::translate(
                  "Mirudex", "Mirudex could not open\n%1\n\nNo program on this system opens such addresses.")
                  .arg(url.toString());
    platform::Get().MessageBox(U16(text), u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
    return false;
}

void AboutWindow::SetUrlOpener(std::function<bool(const QUrl&)> opener) { UrlOpener() = std::move(opener); }

AboutWindow::AboutWindow(Registry& registry, QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("Class_About"));
    setWindowTitle(QCoreApplication::translate("Mirudex", "About Mirudex"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ProgramIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMouseTracking(true);
    resize(400, 400);

    okay_ = new QPushButton(QCoreApplication::translate("Mirudex", "&Okay"), this);
    okay_->setObjectName(QStringLiteral("Okay"));
    QFont font = MakeFont(QString::fromStdString(registry.GetString(opt::search::font::kFont)), 1, 72);
    font.setPixelSize(14);
    okay_->setFont(font);
    okay_->resize(70, 26);
    connect(okay_, &QPushButton::clicked, this, &QWidget::close);
    picture_ = PixelPixmap(QStringLiteral(":/images/about129.png"), devicePixelRatioF());
}

QUrl AboutWindow::LinkUrl(int index) const
{
    if (index == 2)
        return QUrl(QStringLiteral("mailto:") + Address(2));
    return ResolveAddress(Address(index));
}

void AboutWindow::resizeEvent(QResizeEvent*) { okay_->move(width() / 2 - 35, height() - 2 * 26); }

void AboutWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QFont regular;
    regular.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    regular.setStyleHint(QFont::SansSerif);
    regular.setPixelSize(MulDiv(12, logicalDpiY(), 72));
    QFont bold = regular;
    bold.setBold(true);

    const QSize pictureSize = picture_.deviceIndependentSize().toSize();
    p.drawPixmap(width() / 2 - pictureSize.width() / 2, 6, picture_);
    int y = 6 + pictureSize.height();
    auto draw = [&](int x, const QString& text, const QFont& font, const QColor& color) {
        p.setFont(font);
        p.setPen(color);
        const QFontMetrics fm(font);
        // Never past the window's right edge: a text too long even for a line
        // of its own is cut short in the middle (its link opens it whole).
        const QString shown = fm.elidedText(text, Qt::ElideMiddle, std::max(0, width() - kMargin - x));
        const QRect box(x, y, fm.horizontalAdvance(shown), fm.height());
        p.drawText(box, Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignTop, shown);
        return box;
    };
    y += draw(10, QStringLiteral("Mirudex"), bold, Qt::black).height();
    y += draw(40, QCoreApplication::translate("Mirudex", "Version: %1").arg(QString::fromLatin1(kVersion)), regular,
              Qt::black)
             .height();
    const char* headings[] = {QT_TRANSLATE_NOOP("Mirudex", "Homepage:"), QT_TRANSLATE_NOOP("Mirudex", "Web site:"),
                              QT_TRANSLATE_NOOP("Mirudex", "Contact:")};
    for (int i = 0; i < 3; ++i) {
        const QRect heading = draw(40, QCoreApplication::translate("Mirudex", headings[i]), bold, Qt::black);
        // A blank between the heading and its address; the address goes on
        // the next line when it does not fit after the heading.
        int x = heading.right() + 1 + QFontMetrics(regular).horizontalAdvance(QLatin1Char(' '));
        if (x + QFontMetrics(regular).horizontalAdvance(Address(i)) > width() - kMargin) {
            y += heading.height();
            x = kLinkIndent;
        }
        links_[i] = draw(x, Address(i), regular, QColor(0, 0, 255));
        y += links_[i].height();
    }

    // The licence and the credit, wrapped, in a smaller type above the button.
    QFont small = regular;
    small.setPixelSize(MulDiv(8, logicalDpiY(), 72));
    p.setFont(small);
    p.setPen(Qt::black);
    const QRect room(kMargin, y + 8, width() - 2 * kMargin, okay_->y() - 4 - (y + 8));
    credit_ = p.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, AboutCredits());
    p.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, AboutCredits());
}

void AboutWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!hasFocus())
        setFocus();
    const QPoint pos = event->position().toPoint();
    bool overLink = false;
    for (const QRect& r : links_)
        overLink = overLink || r.contains(pos);
    setCursor(overLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < 3; ++i)
        if (links_[i].contains(event->position().toPoint())) {
            OpenLink(LinkUrl(i));
            return;
        }
}

void AboutWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close))
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace mirudex::ui
