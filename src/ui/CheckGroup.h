#pragma once
#include <QAbstractButton>
#include <QPointer>
#include <vector>

class QWidget;

// An ordered list of buttons that acts as one choice: the value is the position of the first
// checked member. Members are references into a widget tree, never owned.
class CheckGroup {
public:
    // For each id in order, the widget with that id among the descendants of root (any depth) is
    // appended and unchecked; ids that are not found (or are no buttons) are skipped.
    static CheckGroup Build(const QWidget* root, const std::vector<int>& ids);

    // Position of the first checked member, or -1 when none is checked.
    int CheckedIndex() const;
    // Checks member n and unchecks every other member; n outside 0..size-1 unchecks all.
    // Works on auto-exclusive radio buttons too, which Qt otherwise refuses to uncheck.
    void CheckOnly(int n);

    int size() const { return static_cast<int>(members_.size()); }
    QAbstractButton* at(int i) const { return members_.at(static_cast<size_t>(i)); }

    // Unchecks one button, also when it is an auto-exclusive radio button.
    static void Uncheck(QAbstractButton* button);

private:
    std::vector<QPointer<QAbstractButton>> members_;
};

// The same as CheckGroup::Build, under the name the windows use.
inline CheckGroup BuildCheckGroup(const QWidget* root, const std::vector<int>& ids) {
    return CheckGroup::Build(root, ids);
}
