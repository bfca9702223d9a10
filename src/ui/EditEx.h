#pragma once
#include <QLineEdit>

// The layout class `editex`: an edit whose Enter raises EventKeyEnter ("on_key_enter") through
// the window's UiEventHub, like every QLineEdit of a layout.
class EditEx : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
};
