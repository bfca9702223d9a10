#pragma once
#include <QAccessibleWidget>
#include <vector>

class CoordButtonImage;

// Exposes the keys of the keyboard picture as accessible children, so that screen readers and
// UI tests find each key by its name.
class CoordButtonImageAccessible : public QAccessibleWidget {
public:
    explicit CoordButtonImageAccessible(CoordButtonImage* picture);
    ~CoordButtonImageAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    CoordButtonImage* Picture() const;

    mutable std::vector<QAccessible::Id> m_children;  // 0 until a child is first asked for
};
