#include "ui/UiHostWindow.h"

UiHostWindow::UiHostWindow(QString layoutName, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), layoutName_(std::move(layoutName)), host_(this) {}

bool UiHostWindow::Create(const UiResources& resources, QString* error) {
    return host_.Load(resources, layoutName_, [this](UiEvent& e) { return OnEvent(e); }, error);
}

bool UiHostWindow::OnEvent(UiEvent&) { return false; }
