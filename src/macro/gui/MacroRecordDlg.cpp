#include "macro/gui/MacroRecordDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeView>
#include <span>
#include <vector>

#include "app/AppConfig.h"
#include "app/KeyCodeTable.h"
#include "app/NamedIdTable.h"
#include "app/NumberText.h"
#include "macro/ExtensionMatches.h"
#include "macro/KeyboardHook.h"
#include "macro/gui/CMacroGroupAdapter.h"
#include "macro/gui/KeyAndDelayAdapter.h"
#include "platform/linux/gui/QtKeyboardHookSource.h"
#include "protocol/KeyAssignmentCodec.h"
#include "ui/ItemTemplate.h"
#include "ui/ModalSeam.h"
#include "ui/TemplateListView.h"
#include "ui/UiEventHub.h"
#include "ui/UiLanguage.h"
#include "ui/UiLoader.h"
#include "ui/UiResources.h"
#include "ui/WidgetTree.h"

#include <QBuffer>

namespace {

constexpr const char* kMacroFileFilter = "mcr文件(mcr) (*.mcr)";
constexpr const char* kWarning = "Warning";

int Id(const char* name) { return NamedIdForName(name); }

template <class T>
T* Find(MacroRecordDlg& dlg, const char* name, const char* className) {
    return qobject_cast<T*>(dlg.host().FindById(Id(name), className));
}

std::optional<uint8_t> FirstKey(const SelectedKeySet& keys) {
    if (keys.empty()) return std::nullopt;
    return keys.begin()->keyCode;
}

const KeyListEntry* EntryAt(const std::vector<KeyListEntry>* list, const QComboBox* combo) {
    if (!list || !combo) return nullptr;
    const int row = combo->currentIndex();
    return row >= 0 && row < static_cast<int>(list->size()) ? &(*list)[static_cast<size_t>(row)] : nullptr;
}

// Builds row templates with the program's loader, so that its own classes (editex) exist there.
ItemTemplate::Builder RowBuilder(const UiResources& resources) {
    return [&resources](const QByteArray& layout, QWidget* parent) -> QWidget* {
        UiLoader loader(resources);
        QByteArray copy = layout;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QWidget* row = loader.load(&buffer, parent);
        WidgetTree::AssignIds(row);
        return row;
    };
}

}  // namespace

MacroRecordDlg::MacroRecordDlg(const SelectedKeySet& selectedKeys, KeyAssignment& assignment, QWidget* parent,
                               const ProgramClock& clock)
    : MacroRecordDlg(selectedKeys, assignment, MacroLibrary::DefaultPath(), parent, clock) {}

MacroRecordDlg::MacroRecordDlg(const SelectedKeySet& selectedKeys, KeyAssignment& assignment,
                               std::string libraryPath, QWidget* parent, const ProgramClock& clock)
    : UiHostDialog("macro", parent),
      library_(std::move(libraryPath)),
      assignment_(assignment),
      selectedKeys_(selectedKeys),
      state_(AssignmentDialogState::instance()),
      eventAdapter_(std::make_shared<KeyAndDelayAdapter>(library_)),
      recorder_(eventAdapter_->editor(), state_, clock, *this) {
    setObjectName("macrorecordlg");
    // A missing or broken macro.xml gives an empty library, silently.
    library_.Load();
}

MacroRecordDlg::~MacroRecordDlg() {
    // No key event may reach a dialog that is gone.
    KeyboardHook& hook = KeyboardHook::Instance();
    hook.RemoveListener(this);
    hook.Uninstall();
    // The lists outlive this part of the object; they must not reach the library any more.
    if (groupList_) groupList_->SetAdapter(nullptr);
    if (eventList_) eventList_->SetAdapter(nullptr);
}

bool MacroRecordDlg::Create(const UiResources& resources, QString* error) {
    if (!UiHostDialog::Create(resources, error)) return false;
    OnInitDialog(resources);
    return true;
}

void MacroRecordDlg::BuildLists(const UiResources& resources) {
    const QByteArray layout = resources.Read("LAYOUT:macro");
    auto* groupView = qobject_cast<QAbstractItemView*>(host().FindByName("macro_group", "listview"));
    auto* eventView = qobject_cast<QAbstractItemView*>(host().FindByName("key_info", "mclistview"));
    // The row templates are part of the layout; once read, the copies in the window go, so that
    // only real rows answer to their names.
    if (QWidget* templates = host().FindByName("item_templates")) delete templates;
    if (groupView) {
        groupList_ = new TemplateListView(groupView,
                                          ItemTemplate::FromLayout(layout, "macro_group_item", RowBuilder(resources)));
        groupAdapter_ = std::make_shared<CMacroGroupAdapter>(library_, this);
        groupAdapter_->SetEditedHandler([this] { ShowSaveStatus(); });
        CMacroGroupAdapter::Attach(*groupList_, groupAdapter_);
    }
    if (eventView) {
        eventList_ =
            new TemplateListView(eventView, ItemTemplate::FromLayout(layout, "key_info_item", RowBuilder(resources)));
        eventAdapter_->SetEditedHandler([this] { ShowSaveStatus(); });
        KeyAndDelayAdapter::Attach(*eventList_, eventAdapter_);
    }
}

void MacroRecordDlg::OnInitDialog(const UiResources& resources) {
    recorder_.Reset();
    BuildLists(resources);

    if (auto* keys = qobject_cast<QLabel*>(host().FindByName("text_recording_keys", "text"))) {
        QStringList names;
        for (const SelectedKey& key : selectedKeys_) names << key.name;
        keys->setText(names.join(','));
    }

    state_.NormalizeDelayMode();
    delayModes_ = BuildCheckGroup(this, {Id("chk_macro_realy_delay"), Id("chk_macro_fixed_delay"), Id("chk_macro_no_delay")});
    delayModes_.CheckOnly(state_.dlymode);

    repeatEdit_ = Find<QLineEdit>(*this, "edit_macro_repeat_times", "edit");
    delayEdit_ = Find<QLineEdit>(*this, "edit_macro_delay_time", "edit");
    recordCheck_ = Find<QCheckBox>(*this, "chk_macro_record", "checkex");
    singleRecordCheck_ = Find<QCheckBox>(*this, "chk_single_record", "checkex");
    singleKeyText_ = Find<QLabel>(*this, "edit_single_key", "text");
    tabs_ = Find<QTabWidget>(*this, "tab_macro_mode_selection", "tabctrl2");
    mediaCombo_ = Find<QComboBox>(*this, "cmb_media_keys", "combobox");
    functionCombo_ = Find<QComboBox>(*this, "cmb_function_keys", "combobox");
    status_ = qobject_cast<QLabel*>(host().FindByName("macro_status", "text"));

    UiEventHub& events = hub();
    for (QComboBox* combo : {mediaCombo_.data(), functionCombo_.data()})
        if (combo) events.Subscribe(combo, EventCBSelChange, [this](UiEvent& e) { return OnComboChanged(e); });

    const AppConfig* config = AppConfig::instance();
    if (config && mediaCombo_)
        for (const KeyListEntry& entry : config->mediaKeys) mediaCombo_->addItem(UiLanguage::Tr(entry.name.c_str()));
    if (config && functionCombo_)
        for (const KeyListEntry& entry : config->functionKeys)
            functionCombo_->addItem(UiLanguage::Tr(entry.name.c_str()));

    if (recordCheck_) events.Subscribe(recordCheck_, EventCmd, [this](UiEvent& e) { return OnRecordClicked(e); });
    for (QLineEdit* edit : {delayEdit_.data(), repeatEdit_.data()})
        if (edit) events.Subscribe(edit, EventRENotify, [this](UiEvent& e) { return OnEditChanged(e); });
    if (tabs_) events.Subscribe(tabs_, EventTabSelChanged, [this](UiEvent& e) { return OnTabChanged(e); });

    if (tabs_) {
        // Showing the remembered tab is no change of the user's.
        const QSignalBlocker quiet(tabs_.data());
        tabs_->setCurrentIndex(state_.page);
    }
    if (delayEdit_) delayEdit_->setText(QString::number(state_.delay));
    if (repeatEdit_) repeatEdit_->setText(QString::number(state_.repeat));
    if (delayEdit_ && state_.dlymode == DelayModeNone) {
        delayEdit_->setText("0");
        delayEdit_->setEnabled(false);
    } else if (delayEdit_ && state_.dlymode == DelayModeReal) {
        delayEdit_->setEnabled(false);
    }
    if (recordCheck_) recordCheck_->setChecked(false);
    UiEventHub::SelectComboItem(functionCombo_, state_.functsel, false);
    UiEventHub::SelectComboItem(mediaCombo_, state_.mediasel, false);
    if (singleRecordCheck_) singleRecordCheck_->setChecked(false);
    if (singleKeyText_) {
        const char* name = NameForUsage(static_cast<uint8_t>(state_.sgcode));
        // Only a key captured in this dialog counts when confirming; the remembered one is shown.
        singleKeyText_->setText(name && state_.sgcode > 0 && state_.sgcode < 256 ? QString::fromUtf8(name) : QString());
    }
    capturedUsage_ = 0;

    if (groupList_) groupList_->SetSelectedRow(state_.groupsel);
    OnMacroGroupClicked(state_.groupsel, {});

    QtKeyboardHookSource::Shared();
    KeyboardHook& hook = KeyboardHook::Instance();
    hook.Install();
    hook.RemoveListener(this);
    listening_ = hook.AddListener(this);
}

// ---- hook listener and recorder view

bool MacroRecordDlg::OnKeyboardHookEvent(int&, uint32_t& message, KeyboardHookEvent& data) {
    const bool swallow = recorder_.OnKey(message, data.virtualKey);
    ShowSaveStatus();
    return swallow;
}

int MacroRecordDlg::CurrentPage() const { return tabs_ ? tabs_->currentIndex() : -1; }

bool MacroRecordDlg::IsRecordChecked() const { return recordCheck_ && recordCheck_->isChecked(); }

void MacroRecordDlg::ShowRecordLimitWarning(const char* text, const char* caption) {
    ModalSeam::MessageBox(this, UiLanguage::Tr(text), UiLanguage::Tr(caption), ModalSeam::Buttons::Ok);
}

void MacroRecordDlg::ShowSingleKey(const std::string& name, uint8_t usage) {
    if (singleKeyText_) singleKeyText_->setText(QString::fromStdString(name));
    capturedUsage_ = usage;
}

void MacroRecordDlg::ForgetSingleKey() { capturedUsage_ = 0; }

void MacroRecordDlg::RefreshEvents() {
    eventAdapter_->NotifyDataSetChanged();
    if (eventList_) eventList_->view()->scrollToBottom();
}

// ---- groups

void MacroRecordDlg::OnMacroGroupClicked(int row, const std::string&) {
    state_.groupsel = row;
    state_.Save();
    eventAdapter_->ShowGroup(library_.Group(row));
}

int MacroRecordDlg::SelectedGroupRow() const { return groupList_ ? groupList_->SelectedRow() : -1; }

void MacroRecordDlg::OnGroupButton(bool add) {
    if (!groupAdapter_) return;
    const int selected = SelectedGroupRow();
    const int next = add ? groupAdapter_->OnAddButton(selected) : groupAdapter_->OnDeleteButton(selected);
    if (next != selected) groupList_->SetSelectedRow(next);
    OnMacroGroupClicked(SelectedGroupRow(), {});
}

void MacroRecordDlg::OnEventButton(const QString& name) {
    const int selected = eventList_ ? eventList_->SelectedRow() : -1;
    int next = selected;
    if (name == "item_up") {
        next = eventAdapter_->OnUpButton(selected);
    } else if (name == "item_down") {
        next = eventAdapter_->OnDownButton(selected);
    } else if (name == "item_delete") {
        eventAdapter_->OnDeleteButton(selected);
    } else {
        eventAdapter_->OnClearButton();
    }
    if (eventList_ && next != selected) eventList_->SetSelectedRow(next);
}

void MacroRecordDlg::Import() {
    const QString path = ModalSeam::OpenFileName(this, UiLanguage::Tr("Import macros"), kMacroFileFilter);
    if (path.isEmpty() || !ExtensionMatches(path.toStdString())) return;
    if (!library_.LoadMacroFile(path.toStdString())) {
        // The library is as it was; say why nothing changed.
        ModalSeam::MessageBox(this, UiLanguage::Tr("The file is not a macro file that can be read."),
                              UiLanguage::Tr(kWarning), ModalSeam::Buttons::Ok);
        return;
    }
    library_.Save();
    if (groupAdapter_) groupAdapter_->NotifyDataSetChanged();
    // The group shown before is gone with the old groups.
    OnMacroGroupClicked(SelectedGroupRow(), {});
}

void MacroRecordDlg::Export() {
    const QString path = ModalSeam::SaveFileName(this, UiLanguage::Tr("Export macros"), kMacroFileFilter);
    if (path.isEmpty() || !ExtensionMatches(path.toStdString())) return;
    if (!library_.SaveMacroFile(path.toStdString())) {
        ModalSeam::MessageBox(this, UiLanguage::Tr("The macro file could not be written."), UiLanguage::Tr(kWarning),
                              ModalSeam::Buttons::Ok);
    }
}

// ---- handlers

bool MacroRecordDlg::OnRecordClicked(UiEvent&) {
    if (!recordCheck_) return false;
    if (SelectedGroupRow() < 0) {
        recordCheck_->setChecked(false);
    } else {
        UiLanguage::SetText(recordCheck_, recordCheck_->isChecked() ? "Stop record" : "Start record");
    }
    return false;  // the command itself turns the hook on or off
}

bool MacroRecordDlg::OnTabChanged(UiEvent& event) {
    state_.page = event.value;
    state_.Save();
    ApplyHookRule(event.value);
    return true;
}

void MacroRecordDlg::ApplyHookRule(int page) {
    KeyboardHook& hook = KeyboardHook::Instance();
    if (page == AssignmentPageSingleKey) hook.Install();
    else if (page == AssignmentPageMediaKey || page == AssignmentPageFunction) hook.Uninstall();
    else if (page == AssignmentPageMacro && !IsRecordChecked()) hook.Uninstall();
}

bool MacroRecordDlg::OnEditChanged(UiEvent& event) {
    auto* edit = qobject_cast<QLineEdit*>(event.sender.data());
    if (!edit) return false;
    const int32_t value = ParseDecimal32(edit->text().toStdString());
    if (edit == repeatEdit_) {
        state_.repeat = value;
        state_.Save();
    } else if (edit == delayEdit_ && state_.dlymode == DelayModeFixed) {
        state_.delay = value;
        state_.Save();
    }
    return true;
}

bool MacroRecordDlg::OnComboChanged(UiEvent& event) {
    auto* combo = qobject_cast<QComboBox*>(event.sender.data());
    if (!combo) return false;
    if (combo == mediaCombo_) state_.mediasel = combo->currentIndex();
    else if (combo == functionCombo_) state_.functsel = combo->currentIndex();
    state_.Save();
    return true;
}

void MacroRecordDlg::OnDelayMode(int mode) {
    state_.dlymode = mode;
    if (delayEdit_) {
        delayEdit_->setEnabled(mode == DelayModeFixed);
        if (mode == DelayModeFixed) delayEdit_->setText(QString::number(state_.delay));
        if (mode == DelayModeNone) delayEdit_->setText("0");
    }
    state_.Save();
}

bool MacroRecordDlg::OnEvent(UiEvent& event) {
    const bool handled = event.id == EventCmd && OnCommand(event);
    ShowSaveStatus();
    return handled;
}

bool MacroRecordDlg::OnCommand(const UiEvent& event) {
    const QString& name = event.senderName;
    if (name == "btnRestore") {
        showNormal();
    } else if (name == "btnMin") {
        showMinimized();
    } else if (name == "btnOK") {
        Confirm();
        EndDialog(kResultConfirmed);
    } else if (name == "btnDelete") {
        EndDialog(kResultDelete);
    } else if (name == "btnCancel") {
        EndDialog(kResultCancel);
    } else if (name == "groupAdd" || name == "groupDel") {
        OnGroupButton(name == "groupAdd");
    } else if (name == "item_up" || name == "item_down" || name == "item_delete" || name == "item_clear") {
        OnEventButton(name);
    } else if (name == "chk_macro_record") {
        if (IsRecordChecked()) KeyboardHook::Instance().Install();
        else KeyboardHook::Instance().Uninstall();
    } else if (name == "groupImport") {
        Import();
    } else if (name == "groupExport") {
        Export();
    } else if (event.senderId == Id("chk_macro_realy_delay")) {
        OnDelayMode(DelayModeReal);
    } else if (event.senderId == Id("chk_macro_fixed_delay")) {
        OnDelayMode(DelayModeFixed);
    } else if (event.senderId == Id("chk_macro_no_delay")) {
        OnDelayMode(DelayModeNone);
    } else {
        return false;
    }
    return true;
}

void MacroRecordDlg::reject() { EndDialog(kResultCancel); }

void MacroRecordDlg::changeEvent(QEvent* event) {
    UiHostDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    eventAdapter_->NotifyDataSetChanged();
    if (eventList_) eventList_->RetranslateHeader();
}

void MacroRecordDlg::Confirm() {
    const std::optional<uint8_t> key = FirstKey(selectedKeys_);
    const AppConfig* config = AppConfig::instance();
    switch (CurrentPage()) {
        case AssignmentPageMacro: {
            // The group of the selected row, which need not be the one the event list shows.
            const MacroGroup* group = library_.Group(SelectedGroupRow());
            std::vector<MacroStepText> steps;
            if (group)
                for (const MacroEvent& e : group->events) steps.push_back({e.code, e.state, e.delay});
            std::optional<std::span<const MacroStepText>> events;
            if (group) events = std::span<const MacroStepText>(steps);
            if (FillMacroPage(assignment_, key, state_.repeat, events).dropped > 0) {
                // Only hand-made or imported files get here: the recorder stops at 80 events.
                ModalSeam::MessageBox(this, UiLanguage::Tr("The macro is too long for the key: only its first 82 steps are written."),
                                      UiLanguage::Tr(kWarning), ModalSeam::Buttons::Ok);
            }
            break;
        }
        case AssignmentPageSingleKey:
            FillSingleKeyPage(assignment_, key, static_cast<uint8_t>(capturedUsage_));
            break;
        case AssignmentPageMediaKey:
            FillMediaKeyPage(assignment_, key, EntryAt(config ? &config->mediaKeys : nullptr, mediaCombo_));
            break;
        case AssignmentPageFunction:
            FillFunctionKeyPage(assignment_, key, EntryAt(config ? &config->functionKeys : nullptr, functionCombo_));
            break;
        default:
            break;
    }
}

void MacroRecordDlg::ShowSaveStatus() {
    if (!status_) return;
    const bool ok = eventAdapter_->editor().lastSaveOk() && (!groupAdapter_ || groupAdapter_->editor().lastSaveOk());
    const QString text = ok ? QString() : UiLanguage::Tr("The macro library could not be saved to macro.xml.");
    if (status_->text() != text) status_->setText(text);
}
