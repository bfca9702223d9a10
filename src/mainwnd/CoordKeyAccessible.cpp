#include "mainwnd/CoordKeyAccessible.h"

#include "mainwnd/CoordButtonImage.h"

CoordKeyAccessible::CoordKeyAccessible(CoordButtonImage* picture, int index) : m_picture(picture), m_index(index) {}

bool CoordKeyAccessible::isValid() const {
    return m_picture && m_index >= 0 && static_cast<size_t>(m_index) < m_picture->Keys().size();
}

QWindow* CoordKeyAccessible::window() const {
    return m_picture ? m_picture->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CoordKeyAccessible::parent() const {
    return m_picture ? QAccessible::queryAccessibleInterface(m_picture.data()) : nullptr;
}

QString CoordKeyAccessible::text(QAccessible::Text t) const {
    if (!isValid() || t != QAccessible::Name) return {};
    return QString::fromStdString(m_picture->Keys()[m_index].name);
}

QRect CoordKeyAccessible::rect() const {
    if (!isValid()) return {};
    const QRect local = CoordButtonImage::KeyRect(m_picture->Keys()[m_index]);
    if (local.isNull()) return {};
    return QRect(m_picture->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CoordKeyAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const CoordKey& key = m_picture->Keys()[m_index];
    s.checkable = true;
    s.checked = key.checked != 0;
    s.hotTracked = key.hover != 0;
    s.pressed = key.pressed != 0;
    s.invisible = !m_picture->isVisible();
    return s;
}
