#pragma once
#include <QPointer>
#include <memory>

#include "macro/AssignmentDialogState.h"
#include "macro/IKeyboardHookListener.h"
#include "macro/IMacroRecorderView.h"
#include "macro/IOnMacroGroupClickedListener.h"
#include "macro/MacroLibrary.h"
#include "macro/MacroRecorder.h"
#include "macro/ProgramClock.h"
#include "mainwnd/SelectedKey.h"
#include "protocol/KeyAssignment.h"
#include "ui/CheckGroup.h"
#include "ui/TemplateListView.h"
#include "ui/UiHostDialog.h"

class CMacroGroupAdapter;
class KeyAndDelayAdapter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;


// The key assignment dialog (layout "macro"): chooses what the clicked key does — a recorded
// macro, a single key, a media key or a system function — and edits, records, imports and
// exports the macro library. It ends with kResultConfirmed after filling the caller's
// KeyAssignment from the shown tab, with kResultDelete for the delete button, and with
// kResultCancel otherwise. Edits of the library (macro.xml) and of the settings (store.xml) are
// saved as they happen, whatever the result.
//
// While it runs it listens to the keyboard hook: on the single-key tab every key is captured and
// swallowed; on the macro tab, while "Start record" is checked, keys become events of the shown
// group and reach nothing else.
class MacroRecordDlg : public UiHostDialog,
                       public IKeyboardHookListener,
                       public IOnMacroGroupClickedListener,
                       private IMacroRecorderView {
    Q_OBJECT
public:
    static constexpr int kResultConfirmed = 1;
    static constexpr int kResultDelete = 65580;  // the id of btnDelete
    static constexpr int kResultCancel = 2;

    // Loads macro.xml at once. The set and the image are the caller's and must outlive the dialog.
    MacroRecordDlg(const SelectedKeySet& selectedKeys, KeyAssignment& assignment, QWidget* parent = nullptr,
                   const ProgramClock& clock = ProgramClock::System());
    // Same, with the library in another file (tests).
    MacroRecordDlg(const SelectedKeySet& selectedKeys, KeyAssignment& assignment, std::string libraryPath,
                   QWidget* parent, const ProgramClock& clock);
    ~MacroRecordDlg() override;

    // Builds the layout and initialises the dialog; false with the reason when the layout is
    // missing or broken.
    bool Create(const UiResources& resources, QString* error = nullptr);

    bool OnKeyboardHookEvent(int& code, uint32_t& message, KeyboardHookEvent& data) override;
    void OnMacroGroupClicked(int row, const std::string& name) override;

    MacroLibrary& library() { return library_; }
    const MacroRecorder& recorder() const { return recorder_; }
    // The usage captured on the single-key tab in this dialog (0 for none).
    int capturedSingleKey() const { return capturedUsage_; }
    TemplateListView* groupList() const { return groupList_; }
    TemplateListView* eventList() const { return eventList_; }

protected:
    bool OnEvent(UiEvent& event) override;
    // Escape and the window's close button cancel.
    void reject() override;
    // Texts the lists set from code follow a change of language.
    void changeEvent(QEvent* event) override;

private:
    void OnInitDialog(const UiResources& resources);
    void BuildLists(const UiResources& resources);
    bool OnCommand(const UiEvent& event);
    bool OnRecordClicked(UiEvent& event);
    bool OnTabChanged(UiEvent& event);
    bool OnEditChanged(UiEvent& event);
    bool OnComboChanged(UiEvent& event);
    void OnDelayMode(int mode);
    void OnGroupButton(bool add);
    void OnEventButton(const QString& name);
    void Import();
    void Export();
    void Confirm();
    // The hook is on for the single-key tab and while recording.
    void ApplyHookRule(int page);
    void ShowSaveStatus();
    int SelectedGroupRow() const;

    // IMacroRecorderView
    int CurrentPage() const override;
    bool IsRecordChecked() const override;
    void ShowRecordLimitWarning(const char* text, const char* caption) override;
    void ShowSingleKey(const std::string& name, uint8_t usage) override;
    void ForgetSingleKey() override;
    void RefreshEvents() override;

    QPointer<TemplateListView> groupList_;
    QPointer<TemplateListView> eventList_;
    MacroLibrary library_;
    KeyAssignment& assignment_;
    const SelectedKeySet& selectedKeys_;
    AssignmentDialogState& state_;
    std::shared_ptr<CMacroGroupAdapter> groupAdapter_;
    std::shared_ptr<KeyAndDelayAdapter> eventAdapter_;
    MacroRecorder recorder_;
    CheckGroup delayModes_;
    QPointer<QLineEdit> repeatEdit_;
    QPointer<QLineEdit> delayEdit_;
    QPointer<QCheckBox> recordCheck_;
    QPointer<QCheckBox> singleRecordCheck_;
    QPointer<QLabel> singleKeyText_;
    QPointer<QTabWidget> tabs_;
    QPointer<QComboBox> mediaCombo_;
    QPointer<QComboBox> functionCombo_;
    QPointer<QLabel> status_;
    int capturedUsage_ = 0;
    bool listening_ = false;
};
