#pragma once
#include "ui/ModalSeam.h"
#include "ui/UiHostDialog.h"

// The program's message box, from the layout SYS_XML_MSGBOX: caption in `msgtitle`, text in
// `msgtext`, OK on `button1st`, Cancel on `button2nd` (hidden for OK-only boxes). Closing it
// answers Cancel. Reached through ModalSeam::MessageBox.
class UiMessageBox : public UiHostDialog {
    Q_OBJECT
public:
    explicit UiMessageBox(QWidget* parent = nullptr);
    bool Setup(const UiResources& resources, const QString& text, const QString& caption, ModalSeam::Buttons buttons);

protected:
    bool OnEvent(UiEvent& event) override;
};
