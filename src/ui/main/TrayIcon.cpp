#include "ui/main/TrayIcon.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"

namespace mirudex::ui {

TrayIcon::TrayIcon(MainWindow& window, Registry& registry, std::function<bool()> available)
    : QObject(&window), window_(&window), registry_(registry), menu_(new QMenu)
{
    showHide_ = menu_->addAction(QCoreApplication::translate("Mirudex", "Show"), this, [this] { ToggleWindow(); });
    clipboard_ = menu_->addAction(QCoreApplication::translate("Mirudex", "Watch the Clipboard"));
    clipboard_->setCheckable(true);
    connect(clipboard_, &QAction::triggered, this,
            [this](bool on) { registry_.SetBOOL(opt::misc::kGrabClipboard, on); });
    menu_->addSeparator();
    exit_ = menu_->addAction(QCoreApplication::translate("Mirudex", "Exit"), this, [this] {
        if (window_)
            window_->OnCommand(ID_EXIT);
    });
    connect(menu_, &QMenu::aboutToShow, this, [this] { UpdateMenu(); });
    UpdateMenu();

    const bool tray = available ? available() : QSystemTrayIcon::isSystemTrayAvailable();
    if (tray) {
        icon_ = new QSystemTrayIcon(window.windowIcon(), this);
        icon_->setToolTip(QStringLiteral("Mirudex"));
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                ToggleWindow();
        });
        icon_->show();
    }
    // The window asks through a guard, so this icon never has to reach a
    // window that is being destroyed when it ends with it.
    window.SetTrayShown([icon = QPointer<TrayIcon>(this)] { return icon && icon->shown(); });
}

TrayIcon::~TrayIcon() { delete menu_; }

bool TrayIcon::shown() const { return icon_ && icon_->isVisible(); }

void TrayIcon::UpdateMenu()
{
    const bool visible = window_ && window_->isVisible() && !window_->isMinimized();
    showHide_->setText(visible ? QCoreApplication::translate("Mirudex", "Hide")
                               : QCoreApplication::translate("Mirudex", "Show"));
    clipboard_->setChecked(registry_.GetBOOL(opt::misc::kGrabClipboard));
}

void TrayIcon::ToggleWindow()
{
    if (!window_)
        return;
    if (window_->isVisible() && !window_->isMinimized())
        window_->hide();
    else
        window_->Raise();
    UpdateMenu();
}

}  // namespace mirudex::ui
