#include "mainwnd/CoordButtonImageAccessible.h"

#include "mainwnd/CoordButtonImage.h"
#include "mainwnd/CoordKeyAccessible.h"

CoordButtonImageAccessible::CoordButtonImageAccessible(CoordButtonImage* picture)
    : QAccessibleWidget(picture, QAccessible::Grouping) {}

CoordButtonImageAccessible::~CoordButtonImageAccessible() {
    for (QAccessible::Id id : m_children)
        if (id) QAccessible::deleteAccessibleInterface(id);
}

CoordButtonImage* CoordButtonImageAccessible::Picture() const { return static_cast<CoordButtonImage*>(widget()); }

int CoordButtonImageAccessible::childCount() const { return static_cast<int>(Picture()->Keys().size()); }

QAccessibleInterface* CoordButtonImageAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (m_children.size() < Picture()->Keys().size()) m_children.resize(Picture()->Keys().size(), 0);
    QAccessible::Id& id = m_children[index];
    if (!id) id = QAccessible::registerAccessibleInterface(new CoordKeyAccessible(Picture(), index));
    return QAccessible::accessibleInterface(id);
}

int CoordButtonImageAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this) return -1;
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i] && QAccessible::accessibleInterface(m_children[i]) == child) return static_cast<int>(i);
    return -1;
}

QAccessibleInterface* CoordButtonImageAccessible::childAt(int x, int y) const {
    const int index = Picture()->KeyIndexAt(Picture()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
}
