#pragma once
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>

#include <QMenu>
class UiEventHub;
class UiResources;

// The layout class `shellnotifyicon`: the program's icon in the system tray, placed in a window's
// layout as an invisible widget (the main window's has id 110).
//
// Layout properties: `ico` (icon resources separated by ";"), `deficoidx` (which of them, default
// 0, out of range = 0; no list = ICON_LOGO), `tip` (tooltip, translated), `menu` (the tray menu
// resource, e.g. "smenu:menu_tray"). Menu items with an id arrive as command(id).
//
// Activations go first to the host's hook; a left click the hook leaves alone shows the window
// in front when it is hidden and hides it when it is visible. Without a system tray the widget
// stays usable: balloons become noticeWithoutTray so the window can show them itself.
class ShellNotifyIcon : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBalloonTimeoutMs = 1000;
    static constexpr int kMaxBalloonLength = 255;
    static constexpr int kMaxTipLength = 127;

    explicit ShellNotifyIcon(QWidget* parent = nullptr);

    // Creates the tray icon and its menu from the layout's properties.
    void Init(const UiResources& resources, UiEventHub* hub = nullptr);
    bool HasTray() const;
    void ShowBalloon(const QString& text);
    // Default left-click behaviour.
    void ToggleHostWindow();

    using ActivationHook = std::function<bool(QSystemTrayIcon::ActivationReason)>;
    void SetActivationHook(ActivationHook hook) { activationHook_ = std::move(hook); }

    QSystemTrayIcon* trayIcon() const { return tray_; }
    QMenu* menu() const { return menu_; }
    // The last balloon text asked for, and how many were asked for (shown or not).
    const QString& lastBalloon() const { return lastBalloon_; }
    int balloonCount() const { return balloonCount_; }

    // Called on a tray activation (also by tests, which have no tray to click).
    void Activate(QSystemTrayIcon::ActivationReason reason);

signals:
    void command(int id);
    void noticeWithoutTray(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    QPointer<QSystemTrayIcon> tray_;
    QPointer<QMenu> menu_;
    QString tipSource_;
    ActivationHook activationHook_;
    QString lastBalloon_;
    int balloonCount_ = 0;
};
