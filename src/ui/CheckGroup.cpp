#include "ui/CheckGroup.h"

#include <QButtonGroup>

#include "ui/WidgetTree.h"

CheckGroup CheckGroup::Build(const QWidget* root, const std::vector<int>& ids) {
    CheckGroup group;
    for (int id : ids) {
        auto* button = qobject_cast<QAbstractButton*>(WidgetTree::FindById(root, id, "window"));
        if (!button) continue;
        Uncheck(button);
        group.members_.emplace_back(button);
    }
    return group;
}

int CheckGroup::CheckedIndex() const {
    for (size_t i = 0; i < members_.size(); ++i)
        if (members_[i] && members_[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

void CheckGroup::CheckOnly(int n) {
    for (size_t i = 0; i < members_.size(); ++i) {
        QAbstractButton* b = members_[i];
        if (!b) continue;
        if (static_cast<int>(i) == n)
            b->setChecked(true);
        else
            Uncheck(b);
    }
}

void CheckGroup::Uncheck(QAbstractButton* button) {
    if (!button || !button->isChecked()) return;
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (groupExclusive) group->setExclusive(false);
    if (autoExclusive) button->setAutoExclusive(false);
    button->setChecked(false);
    if (autoExclusive) button->setAutoExclusive(true);
    if (groupExclusive) group->setExclusive(true);
}
