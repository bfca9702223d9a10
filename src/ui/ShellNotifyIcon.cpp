#include "ui/ShellNotifyIcon.h"

#include <QEvent>
#include <QMenu>
#include <QVariant>

#include "ui/UiLanguage.h"
#include "ui/UiMenu.h"
#include "ui/UiResources.h"

ShellNotifyIcon::ShellNotifyIcon(QWidget* parent) : QWidget(parent) {
    setFixedSize(0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShellNotifyIcon::Init(const UiResources& resources, UiEventHub* hub) {
    if (tray_) return;
    QIcon icon;
    const QStringList icons = property("ico").toString().split(';', Qt::SkipEmptyParts);
    if (!icons.isEmpty()) {
        bool ok = false;
        int index = property("deficoidx").toInt(&ok);
        if (!ok || index < 0 || index >= icons.size()) index = 0;
        icon = resources.Icon(icons.at(index).trimmed());
    }
    if (icon.isNull()) icon = resources.Icon("ICON:ICON_LOGO");

    tray_ = new QSystemTrayIcon(icon, this);
    tipSource_ = property("tip").toString().left(kMaxTipLength);
    tray_->setToolTip(UiLanguage::Tr(tipSource_.toUtf8().constData()));

    const QString menuName = property("menu").toString();
    if (!menuName.isEmpty()) {
        menu_ = UiMenu::Load(resources, menuName, this, [this](int id) { emit command(id); }, hub);
        if (menu_) tray_->setContextMenu(menu_);
    }
    connect(tray_, &QSystemTrayIcon::activated, this, &ShellNotifyIcon::Activate);
    if (HasTray()) tray_->show();
}

bool ShellNotifyIcon::HasTray() const { return tray_ && QSystemTrayIcon::isSystemTrayAvailable(); }

void ShellNotifyIcon::ShowBalloon(const QString& text) {
    lastBalloon_ = text.left(kMaxBalloonLength);
    ++balloonCount_;
    if (HasTray() && tray_->isVisible() && QSystemTrayIcon::supportsMessages())
        tray_->showMessage(QString(), lastBalloon_, tray_->icon(), kBalloonTimeoutMs);
    else
        emit noticeWithoutTray(lastBalloon_);
}

void ShellNotifyIcon::ToggleHostWindow() {
    QWidget* host = window();
    if (!host || host == this) return;
    if (host->isVisible() && !host->isMinimized()) {
        host->hide();
    } else {
        host->showNormal();
        host->raise();
        host->activateWindow();
    }
}

void ShellNotifyIcon::Activate(QSystemTrayIcon::ActivationReason reason) {
    if (activationHook_ && activationHook_(reason)) return;
    // The context menu is Qt's to pop up; the left click is ours.
    if (reason == QSystemTrayIcon::Trigger) ToggleHostWindow();
}

void ShellNotifyIcon::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        if (tray_) tray_->setToolTip(UiLanguage::Tr(tipSource_.toUtf8().constData()));
        UiMenu::Retranslate(menu_);
    }
    QWidget::changeEvent(event);
}
