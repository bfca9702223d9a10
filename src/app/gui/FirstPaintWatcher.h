#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QWidget;

// Acts once the main window has painted for the first time: writes a picture of it (screenshots
// for the README) and/or ends the program (the start-up benchmark measures up to here).
class FirstPaintWatcher : public QObject {
    Q_OBJECT
public:
    FirstPaintWatcher(QWidget* window, bool exitAfterPaint, QString screenshotPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AfterFirstPaint();

    QWidget* window_;
    bool exitAfterPaint_;
    QString screenshotPath_;
    bool done_ = false;
};
