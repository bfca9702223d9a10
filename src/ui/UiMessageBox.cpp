#include "ui/UiMessageBox.h"

#include <QPushButton>
#include <QLabel>

#include "ui/UiLanguage.h"

UiMessageBox::UiMessageBox(QWidget* parent) : UiHostDialog("SYS_XML_MSGBOX", parent) {}

bool UiMessageBox::Setup(const UiResources& resources, const QString& text, const QString& caption,
                         ModalSeam::Buttons buttons) {
    if (!Create(resources)) return false;
    auto* title = qobject_cast<QLabel*>(host().FindByName("msgtitle", "text"));
    auto* body = qobject_cast<QLabel*>(host().FindByName("msgtext", "text"));
    auto* ok = qobject_cast<QPushButton*>(host().FindByName("button1st", "button"));
    auto* cancel = qobject_cast<QAbstractButton*>(host().FindByName("button2nd", "button"));
    if (!title || !body || !ok) return false;
    title->setText(caption);
    body->setText(text);
    setWindowTitle(caption);
    if (cancel) cancel->setVisible(buttons == ModalSeam::Buttons::OkCancel);
    ok->setDefault(true);
    ok->setFocus();
    adjustSize();
    return true;
}

bool UiMessageBox::OnEvent(UiEvent& event) {
    if (event.id != EventCmd) return false;
    if (event.senderName == "button1st") {
        EndDialog(ModalSeam::IdOk);
        return true;
    }
    if (event.senderName == "button2nd" || event.senderName == "btn_close") {
        EndDialog(ModalSeam::IdCancel);
        return true;
    }
    return false;
}
