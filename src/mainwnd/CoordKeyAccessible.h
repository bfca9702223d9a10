#pragma once
#include <QAccessibleInterface>
#include <QPointer>

class CoordButtonImage;

// One key of the keyboard picture as an accessible button: its name, place and marks.
class CoordKeyAccessible : public QAccessibleInterface {
public:
    CoordKeyAccessible(CoordButtonImage* picture, int index);

    int Index() const { return m_index; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;

private:
    QPointer<CoordButtonImage> m_picture;
    int m_index;
};
