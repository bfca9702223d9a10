#include "mainwnd/CMainDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QSlider>
#include <QSocketNotifier>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <vector>

#include "app/AppConfig.h"
#include "app/NamedIdTable.h"
#include "macro/gui/MacroRecordDlg.h"
#include "mainwnd/MakerSite.h"
#include "protocol/AssignmentCommands.h"
#include "protocol/FactoryReset.h"
#include "protocol/LightingCommands.h"
#include "protocol/ProfileCommands.h"
#include "platform/ApplicationFolder.h"
#include "ui/ModalSeam.h"
#include "ui/ShellNotifyIcon.h"
#include "ui/UiLanguage.h"
#include "ui/UiMenu.h"
#include "ui/UiResources.h"

namespace {

constexpr int kNoticeMs = 4000;

int Id(const char* name) { return NamedIdForName(name); }

std::vector<int> Ids(std::initializer_list<const char*> names) {
    std::vector<int> ids;
    for (const char* n : names) ids.push_back(Id(n));
    return ids;
}

std::vector<int> AreaIds(int area) {
    std::vector<int> ids;
    for (int cell = 2; cell <= 8; ++cell)
        ids.push_back(NamedIdForName("udef_area" + std::to_string(area) + "_color" + std::to_string(cell)));
    return ids;
}

DeviceIdentity ConfiguredIdentity() {
    const AppConfig* config = AppConfig::instance();
    return config ? config->identity : DeviceIdentity{};
}

}  // namespace

CMainDlg::CMainDlg(const UiResources& resources, HidBackend& backend, DeviceGate& gate, Pacer& pacer)
    : UiHostWindow("XML_MAINWND"), m_device(backend, gate), resources_(resources),
      ctx_{m_device, pacer, m_state, *this, *this, profileSelector_, ledModeSelector_, *this},
      deviceChange_(m_device, ConfiguredIdentity()),
      urlOpener_([](const QString& url) { QDesktopServices::openUrl(QUrl(url)); }),
      updaterPath_(QString::fromStdString(ApplicationFolder()) + "/update") {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

CMainDlg::~CMainDlg() = default;

ShellNotifyIcon* CMainDlg::trayIcon() const {
    return qobject_cast<ShellNotifyIcon*>(const_cast<CMainDlg*>(this)->host().FindById(kTrayIconId, "shellnotifyicon"));
}

bool CMainDlg::OnInitDialog(QString* missing) {
    UiHost& h = host();
    m_keyboardImage = qobject_cast<CoordButtonImage*>(h.FindByName("img_keyboard", "cbimg"));
    if (m_keyboardImage) m_keyboardImage->SetClickListener(this);

    m_profileCombo = qobject_cast<QComboBox*>(h.FindByName("cmb_profile", "combobox"));
    profileSelector_.Attach(m_profileCombo);
    if (m_profileCombo) {
        UiEventHub::SelectComboItem(m_profileCombo, 0, true);
        hub().Subscribe(m_profileCombo, EventCBSelChange, [this](UiEvent& e) {
            if (WidgetTree::IsClass(e.sender, "combobox")) OnProfileSelectionChanged(ctx_);
            return true;
        });
        m_state.m_profileIndex = m_profileCombo->currentIndex();
    }
    m_ledModeCombo = qobject_cast<QComboBox*>(h.FindByName("cmb_led_mode", "combobox"));
    ledModeSelector_.Attach(m_ledModeCombo);
    if (m_ledModeCombo) {
        UiEventHub::SelectComboItem(m_ledModeCombo, 0, true);
        hub().Subscribe(m_ledModeCombo, EventCBSelChange, [this](UiEvent& e) {
            if (WidgetTree::IsClass(e.sender, "combobox")) ::OnLedModeChanged(ctx_);
            return true;
        });
    }
    m_speedSlider = qobject_cast<QSlider*>(h.FindByName("bar_speed", "sliderbar"));
    m_brightnessSlider = qobject_cast<QSlider*>(h.FindByName("bar_brightness", "sliderbar"));

    m_directionGroup = BuildCheckGroup(this, Ids({"radio_direction_left", "radio_direction_right"}));
    m_colorGroup1 = BuildCheckGroup(this, Ids({"bar_color1", "bar_color2", "bar_color3", "bar_color4", "bar_color5",
                                               "bar_color6", "bar_color7"}));
    m_colorGroup2 = BuildCheckGroup(this, Ids({"bar_color11", "bar_color22", "bar_color33", "bar_color44",
                                               "bar_color55", "bar_color66", "bar_color77"}));
    for (int area = 1; area <= 6; ++area) m_userAreaGroups[static_cast<size_t>(area - 1)] = BuildCheckGroup(this, AreaIds(area));

    m_speedPanel = h.FindByName("bar_speed_parent", "window");
    m_brightnessPanel = h.FindByName("bar_brightness_parent", "window");
    m_directionPanel = h.FindByName("radio_direction_parent", "window");
    m_colorPanel = h.FindByName("bar_color_parent", "window");
    m_colorPanelBlack = h.FindByName("bar_color_parent_black", "window");
    m_userAreaPanel = h.FindByName("udef_area_parent", "window");

    // Without these the window would show but could not be used: say so instead.
    QStringList absent;
    const std::pair<const char*, bool> required[] = {
        {"img_keyboard", m_keyboardImage != nullptr},
        {"cmb_profile", m_profileCombo != nullptr},
        {"cmb_led_mode", m_ledModeCombo != nullptr},
        {"bar_speed", m_speedSlider != nullptr},
        {"bar_brightness", m_brightnessSlider != nullptr},
        {"version", h.FindById(kVersionTextId, "text") != nullptr},
        {"btn_close", h.FindByName("btn_close", "window") != nullptr},
    };
    for (const auto& [name, found] : required)
        if (!found) absent << QString::fromUtf8(name);
    if (missing) *missing = absent.join(", ");
    if (!absent.isEmpty()) return false;

    if (ShellNotifyIcon* tray = trayIcon()) {
        tray->Init(resources_, &hub());
        connect(tray, &ShellNotifyIcon::command, this, [this](int id) { OnCommand(0, id); });
        connect(tray, &ShellNotifyIcon::noticeWithoutTray, this, &CMainDlg::ShowNotice);
    }

    UpdateLightingView(1);

    if (m_device.Open(ConfiguredIdentity())) {
        SetConnectionText(true);
    } else {
        ShowBalloon("Failed to open USB");
        SetConnectionText(false);
    }
    SwitchProfile();
    return true;
}

void CMainDlg::SetConnectionText(bool connected) {
    auto* label = qobject_cast<QLabel*>(host().FindById(kVersionTextId, "text"));
    if (!label) return;
    UiLanguage::SetText(label, connected ? "Connected" : "Disconnected");
    // The status pill's colours follow the text.
    for (QWidget* w : {static_cast<QWidget*>(label), host().FindByName("status_dot", "window")}) {
        if (!w) continue;
        w->setProperty("online", connected);
        w->style()->unpolish(w);
        w->style()->polish(w);
    }
}

void CMainDlg::ShowBalloon(const char* text) {
    if (ShellNotifyIcon* tray = trayIcon())
        tray->ShowBalloon(UiLanguage::Tr(text));
    else
        ShowNotice(UiLanguage::Tr(text));
}

void CMainDlg::ShowNotice(const QString& text) {
    if (!notice_) {
        notice_ = new QLabel(this);
        notice_->setProperty("role", "notice");
        notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    notice_->setText(text);
    notice_->adjustSize();
    // Centred over the toolbar row, where nothing else lives in the middle.
    notice_->move((width() - notice_->width()) / 2, 56);
    notice_->raise();
    notice_->show();
    QTimer::singleShot(kNoticeMs, notice_, [n = notice_] {
        if (n) n->hide();
    });
}

void CMainDlg::BringToFront() {
    if (isMinimized()) showNormal();
    if (isHidden()) show();
    raise();
    activateWindow();
}

// ---- events and messages

bool CMainDlg::IsLightingCommandId(int id) {
    return (id >= 65593 && id <= 65594) || (id >= 65596 && id <= 65603) || (id >= 65605 && id <= 65612) ||
           (id >= 65614 && id <= 65661);
}

bool CMainDlg::HandleNamedCommand(const QString& name) {
    if (name == "btn_more") {
        ShowMoreMenu();
    } else if (name == "btn_close") {
        DestroyWindow();
    } else if (name == "btn_min") {
        // With no tray to bring it back, a hidden window would be lost: iconify instead.
        ShellNotifyIcon* tray = trayIcon();
        if (tray && tray->HasTray())
            hide();
        else
            showMinimized();
    } else if (name == "btn_max") {
        showMaximized();
    } else if (name == "btn_restore") {
        showNormal();
    } else if (name == "zh_cn") {
        SwitchLanguage(true);
    } else if (name == "btn_restore_factory") {
        RestoreFactorySettings();
    } else if (name == "jp") {
        SwitchLanguage(false);
    } else if (name == "logo_link") {
        OpenMakerSite();
    } else {
        return false;
    }
    return true;
}

bool CMainDlg::OnEvent(UiEvent& event) {
    if (event.id == EventCmd) {
        if (!event.senderName.isEmpty() && HandleNamedCommand(event.senderName)) return true;
        if (IsLightingCommandId(event.senderId)) {
            OnLightingControlChanged(ctx_);
            return true;
        }
        return false;
    }
    if (event.id == EventSliderPos && (event.senderName == "bar_speed" || event.senderName == "bar_brightness")) {
        if (WidgetTree::IsClass(event.sender, "sliderbar")) OnLightingControlChanged(ctx_);
        return true;
    }
    return false;
}

void CMainDlg::OnCommand(int notifyCode, int id) {
    if (notifyCode != 0) return;
    if (id == 1) {
        RunUpdater();
    } else if (id == 6) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    event->accept();
    DestroyWindow();
}

void CMainDlg::DestroyWindow() {
    if (destroyed_) return;
    destroyed_ = true;
    if (deviceNotifier_) deviceNotifier_->setEnabled(false);
    hide();
    if (ShellNotifyIcon* tray = trayIcon(); tray && tray->trayIcon()) tray->trayIcon()->hide();
    emit windowDestroyed();
}

void CMainDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) UiLanguage::Retranslate(this);
    UiHostWindow::changeEvent(event);
}

// ---- device changes

void CMainDlg::WatchDeviceChanges(int fd, std::function<int()> drain) {
    delete deviceNotifier_;
    drainDeviceEvents_ = std::move(drain);
    if (fd < 0) return;
    deviceNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(deviceNotifier_, &QSocketNotifier::activated, this, [this] {
        // A burst of events is one change: reopening once answers all of them.
        const int events = drainDeviceEvents_ ? drainDeviceEvents_() : 1;
        if (events > 0) OnDeviceChange();
    });
}

void CMainDlg::OnDeviceChange() {
    switch (deviceChange_.OnDeviceChange()) {
    case DeviceChangeOutcome::Connected:
        SetConnectionText(true);
        SwitchProfile();
        break;
    case DeviceChangeOutcome::OpenFailed:
        ShowBalloon("Failed to open USB");
        SetConnectionText(false);
        break;
    case DeviceChangeOutcome::Absent:
        SetConnectionText(false);
        break;
    }
}

// ---- the picture

int32_t CMainDlg::OnCoordButtonClick(int32_t keyId, QString name, ClickAction action, uint32_t, int32_t, int32_t) {
    // Presses are left to the picture's selection mode; a release opens the assignment dialog for
    // the key.
    if (action != ClickAction::Up) return 0;
    NormaliseProfileForClick(m_state);
    m_selectedKeys.insert({static_cast<uint8_t>(keyId & 0xFF), name});
    KeyAssignment image;
    int result = MacroRecordDlg::kResultCancel;
    {
        MacroRecordDlg dialog(m_selectedKeys, image, this);
        QString error;
        if (dialog.Create(resources_, &error)) result = dialog.DoModal();
        else ShowMessage(error.toStdString(), "Warning");
        // The dialog and its keyboard hook are gone before the keyboard is written to, so that
        // no key pressed meanwhile (say, on a warning box) lands in a macro.
    }
    std::vector<uint8_t> keys;
    for (const SelectedKey& key : m_selectedKeys) keys.push_back(key.keyCode);
    if (result == MacroRecordDlg::kResultConfirmed) ApplyAssignment(ctx_, image, keys);
    else if (result == MacroRecordDlg::kResultDelete && !keys.empty()) ClearAssignment(ctx_, image, keys);
    m_selectedKeys.clear();
    return 0;
}

void CMainDlg::UncheckAllKeys() {
    if (m_keyboardImage) m_keyboardImage->SetChecked(CoordButtonImage::ALL_KEYS, 0);
}

void CMainDlg::CheckKey(uint8_t code) {
    if (m_keyboardImage) m_keyboardImage->SetChecked(code, 1);
}

void CMainDlg::ShowMessage(const std::string& text, const std::string& caption) {
    ModalSeam::MessageBox(this, UiLanguage::Tr(text.c_str()), UiLanguage::Tr(caption.c_str()), ModalSeam::Buttons::Ok);
}

bool CMainDlg::AskOkCancel(const std::string& text, const std::string& caption) {
    return ModalSeam::MessageBox(this, UiLanguage::Tr(text.c_str()), UiLanguage::Tr(caption.c_str()),
                                 ModalSeam::Buttons::OkCancel) == ModalSeam::IdOk;
}

LightingControlValues CMainDlg::Values() const {
    LightingControlValues v;
    v.speed = m_speedSlider ? m_speedSlider->value() : 0;
    v.brightness = m_brightnessSlider ? m_brightnessSlider->value() : 0;
    v.direction = m_directionGroup.CheckedIndex();
    v.colorRow1 = m_colorGroup1.CheckedIndex();
    v.colorRow2 = m_colorGroup2.CheckedIndex();
    for (size_t i = 0; i < v.areas.size(); ++i) v.areas[i] = m_userAreaGroups[i].CheckedIndex();
    return v;
}

void CMainDlg::SetValues(const LightingControlValues& v) {
    // Values set from code raise no events, so nothing is sent from here.
    if (m_speedSlider) m_speedSlider->setValue(v.speed);
    if (m_brightnessSlider) m_brightnessSlider->setValue(v.brightness);
    m_directionGroup.CheckOnly(v.direction);
    m_colorGroup1.CheckOnly(v.colorRow1);
    m_colorGroup2.CheckOnly(v.colorRow2);
    for (size_t i = 0; i < v.areas.size(); ++i) m_userAreaGroups[i].CheckOnly(v.areas[i]);
}

void CMainDlg::ShowPanels(const LightingPanels& p) {
    const std::pair<QWidget*, bool> panels[] = {
        {m_directionPanel, p.direction}, {m_speedPanel, p.speed},         {m_brightnessPanel, p.brightness},
        {m_colorPanel, p.colorRow1},     {m_colorPanelBlack, p.colorRow2}, {m_userAreaPanel, p.areas},
    };
    for (const auto& [panel, shown] : panels)
        if (panel) panel->setVisible(shown);
    // Modes without a colour to choose say so, rather than leave the colour column blank.
    if (QWidget* hint = host().FindByName("lighting_colour_hint", "text"))
        hint->setVisible(!p.colorRow1 && !p.colorRow2 && !p.areas);
}

// ---- chrome

void CMainDlg::ShowMoreMenu() {
    QWidget* button = host().FindById(kMoreButtonId, "imgbtn");
    if (!button) return;
    QMenu* menu = UiMenu::Load(resources_, "smenuex:menu_more", this, [this](int id) { OnCommand(0, id); }, &hub());
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void CMainDlg::SwitchLanguage(bool chinese) { UiLanguage::Install(resources_, chinese ? "lang_cn" : "lang_en"); }

void CMainDlg::RunUpdater() {
    m_device.Close();
    SetConnectionText(false);
    hide();
    QProcess updater;
    updater.setProgram(updaterPath_);
    updater.setProcessChannelMode(QProcess::ForwardedChannels);
    updater.start();
    if (!updater.waitForStarted(-1)) {
        ShowBalloon("Failed to start the upgrade exe");
    } else {
        updater.waitForFinished(-1);
    }
    show();
    const bool opened = m_device.Open(ConfiguredIdentity());
    if (!opened) ShowBalloon("Failed to open USB");
    SetConnectionText(opened);
}

void CMainDlg::OpenMakerSite() {
    if (urlOpener_) urlOpener_(QString::fromLatin1(kMakerSiteUrl));
}

// ---- keyboard flows

void CMainDlg::SwitchProfile() { ::SwitchProfile(ctx_); }
void CMainDlg::ReadBack() { ::ReadBack(ctx_); }
void CMainDlg::UpdateLightingView(int direction) { ::UpdateLightingView(ctx_, direction); }
void CMainDlg::SendLighting() { ::SendLighting(ctx_); }
void CMainDlg::RestoreFactorySettings() { ::RestoreFactorySettings(ctx_); }
