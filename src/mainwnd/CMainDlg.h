#pragma once
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "device/DeviceChangeHandler.h"
#include "device/HidDevice.h"
#include "mainwnd/ComboSelector.h"
#include "mainwnd/CoordButtonImage.h"
#include "mainwnd/ICoordButtonClickListener.h"
#include "mainwnd/SelectedKey.h"
#include "protocol/IKeyPicture.h"
#include "protocol/ILightingControls.h"
#include "protocol/IUserPrompt.h"
#include "protocol/KeyboardState.h"
#include "protocol/ProtocolContext.h"
#include "ui/CheckGroup.h"
#include "ui/UiHostWindow.h"

class QComboBox;
class QLabel;
class QSlider;
class QSocketNotifier;
class ShellNotifyIcon;
class UiResources;

// The program's main window, host of LAYOUT:XML_MAINWND. It owns the channel to the keyboard and
// the plain state the keyboard commands work on (profile, slot tables, lighting records), plugs
// its widgets into those commands, routes the widgets' events and menu commands to their
// handlers, and follows the keyboard's presence ("Connected" / "Disconnected").
//
// Start-up constructs it, calls Create (builds the layout) and OnInitDialog, and shows it.
class CMainDlg : public UiHostWindow,
                 public ICoordButtonClickListener,
                 private IKeyPicture,
                 private IUserPrompt,
                 private ILightingControls {
    Q_OBJECT
public:
    static constexpr int kTrayIconId = 110;
    static constexpr int kVersionTextId = 65543;
    static constexpr int kMoreButtonId = 65537;

    CMainDlg(const UiResources& resources, HidBackend& backend, DeviceGate& gate, Pacer& pacer);
    ~CMainDlg() override;

    // Looks up the widgets, wires their events, opens the keyboard and reads its state back.
    // false when the layout lacks a widget the window cannot work without (`missing` names them);
    // the window must then not be shown.
    bool OnInitDialog(QString* missing = nullptr);
    // One device-change message: presence test, reopen, and the outcome shown.
    void OnDeviceChange();
    // A menu command (ids 1 update, 6 exit); a non-zero notification code is ignored.
    void OnCommand(int notifyCode, int id);
    void SetConnectionText(bool connected);
    // A tray balloon (translated); without a tray, a notice inside the window.
    void ShowBalloon(const char* text);
    // A second copy of the program asks for the window.
    void BringToFront();

    int32_t OnCoordButtonClick(int32_t keyId, QString name, ClickAction action, uint32_t keyFlags, int32_t x,
                               int32_t y) override;

    // Chrome.
    void ShowMoreMenu();
    void SwitchLanguage(bool chinese);
    void RunUpdater();
    void OpenMakerSite();
    // Ends the window at once (no question); the message loop ends with it.
    void DestroyWindow();

    // Keyboard flows, as the buttons and selectors run them.
    void SwitchProfile();
    void ReadBack();
    void UpdateLightingView(int direction);
    void SendLighting();
    void RestoreFactorySettings();

    // Seams for tests: what opens web addresses, and where the updater is.
    void SetUrlOpener(std::function<void(const QString&)> opener) { urlOpener_ = std::move(opener); }
    void SetUpdaterPath(QString path) { updaterPath_ = std::move(path); }
    // Watches a descriptor that becomes readable on device changes; `drain` takes the pending
    // events and says how many there were. A burst is answered with one reopen.
    void WatchDeviceChanges(int fd, std::function<int()> drain);

    ShellNotifyIcon* trayIcon() const;
    ProtocolContext& protocol() { return ctx_; }

signals:
    // The window is gone; the message loop should end.
    void windowDestroyed();

protected:
    bool OnEvent(UiEvent& event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // IKeyPicture
    void UncheckAllKeys() override;
    void CheckKey(uint8_t code) override;
    // IUserPrompt
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskOkCancel(const std::string& text, const std::string& caption) override;
    // ILightingControls
    LightingControlValues Values() const override;
    void SetValues(const LightingControlValues& values) override;
    void ShowPanels(const LightingPanels& panels) override;

    bool HandleNamedCommand(const QString& name);
    static bool IsLightingCommandId(int id);
    void ShowNotice(const QString& text);

public:
    // The window's fields. The keyboard state (m_profileIndex, m_macroKeyCodes, m_remapKeyCodes,
    // m_lightingModes) lives in m_state, which the keyboard commands read and write.
    HidDevice m_device;
    SelectedKeySet m_selectedKeys;
    KeyboardState m_state;
    QPointer<CoordButtonImage> m_keyboardImage;
    QPointer<QSlider> m_speedSlider;
    QPointer<QSlider> m_brightnessSlider;
    CheckGroup m_directionGroup;
    CheckGroup m_colorGroup1;
    CheckGroup m_colorGroup2;
    std::array<CheckGroup, 6> m_userAreaGroups;
    QPointer<QWidget> m_speedPanel;
    QPointer<QWidget> m_brightnessPanel;
    QPointer<QWidget> m_directionPanel;
    QPointer<QWidget> m_colorPanel;
    QPointer<QWidget> m_colorPanelBlack;
    QPointer<QWidget> m_userAreaPanel;
    QPointer<QComboBox> m_ledModeCombo;
    QPointer<QComboBox> m_profileCombo;

private:
    const UiResources& resources_;
    ComboSelector profileSelector_;
    ComboSelector ledModeSelector_;
    ProtocolContext ctx_;
    DeviceChangeHandler deviceChange_;
    std::function<void(const QString&)> urlOpener_;
    QString updaterPath_;
    QPointer<QSocketNotifier> deviceNotifier_;
    std::function<int()> drainDeviceEvents_;
    QPointer<QLabel> notice_;
    bool destroyed_ = false;
};
