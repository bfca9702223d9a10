#include "ui/UiHostDialog.h"

UiHostDialog::UiHostDialog(QString layoutName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), layoutName_(std::move(layoutName)), host_(this) {}

bool UiHostDialog::Create(const UiResources& resources, QString* error) {
    return host_.Load(resources, layoutName_, [this](UiEvent& e) { return OnEvent(e); }, error);
}

bool UiHostDialog::OnEvent(UiEvent&) { return false; }
