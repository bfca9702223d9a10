#include "app/gui/FirstPaintWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <unistd.h>

#include <cstdio>

FirstPaintWatcher::FirstPaintWatcher(QWidget* window, bool exitAfterPaint, QString screenshotPath)
    : QObject(window), window_(window), exitAfterPaint_(exitAfterPaint), screenshotPath_(std::move(screenshotPath)) {
    if (exitAfterPaint_ || !screenshotPath_.isEmpty()) window_->installEventFilter(this);
}

bool FirstPaintWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Paint && !done_) {
        done_ = true;
        // Let this paint finish before acting on it.
        QTimer::singleShot(0, this, &FirstPaintWatcher::AfterFirstPaint);
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaintWatcher::AfterFirstPaint() {
    window_->removeEventFilter(this);
    int code = 0;
    if (!screenshotPath_.isEmpty()) {
        if (!window_->grab().save(screenshotPath_, "PNG")) {
            std::fprintf(stderr, "kbdconf: cannot write %s\n", screenshotPath_.toUtf8().constData());
            code = 1;
        }
    }
    if (exitAfterPaint_ && screenshotPath_.isEmpty()) {
        // The benchmark measures up to the first paint; the orderly shutdown is not part of it.
        std::fflush(nullptr);
        _exit(0);
    }
    QCoreApplication::exit(code);
}
