// Cost of one repaint of the keyboard picture after a mouse move: every move re-marks the
// hovered keys and repaints the whole picture, so this bounds how smooth hovering feels.
// Target: at most 2 ms per move on the shipped 980 x 340 picture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <memory>

#include "mainwnd/CoordButtonImage.h"
#include "platform/ApplicationFolder.h"

namespace {

// The benchmark runs from build/bench; the program's data sits in build/bin.
QString BinFolder() { return QDir(QString::fromStdString(ApplicationFolder()) + "/../bin").absolutePath(); }

std::unique_ptr<CoordButtonImage> ShippedPicture() {
    auto picture = std::make_unique<CoordButtonImage>();
    const QString bin = BinFolder();
    picture->SetAttribute("crdxml", "../bin/keyboard.xml");
    if (!picture->SetAttribute("bg", bin + "/uires/image/keyboard/keyboard_normal.png") ||
        !picture->SetAttribute("chking", bin + "/uires/image/keyboard/keyboard_floating.png") ||
        !picture->SetAttribute("chked", bin + "/uires/image/keyboard/keyboard_checked.png") || picture->Keys().empty())
        return nullptr;
    picture->resize(picture->sizeHint());
    // A typical state after a read-back: a handful of keys own an assignment.
    for (int id : {0x04, 0x16, 0x07, 0x1A, 0x3A, 0x2C}) picture->SetChecked(id, 1);
    return picture;
}

// One mouse move plus the full repaint it causes, drawn into a target of the given density the
// way the window's backing store would receive it.
void BM_RepaintOnMouseMove(benchmark::State& state) {
    const qreal dpr = state.range(0);
    auto picture = ShippedPicture();
    if (!picture) {
        state.SkipWithError("shipped keyboard data not found beside the program (build kbdconf_data)");
        return;
    }
    QImage target((QSizeF(picture->size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(dpr);
    const QPoint points[] = {{300, 160}, {340, 160}, {100, 300}, {500, 300}};
    size_t i = 0;
    picture->render(&target, QPoint(), QRegion(), QWidget::RenderFlags());  // warm the scaled background
    for (auto _ : state) {
        const QPoint p = points[i++ % std::size(points)];
        QMouseEvent move(QEvent::MouseMove, p, picture->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture.get(), &move);
        picture->render(&target, QPoint(), QRegion(), QWidget::RenderFlags());
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RepaintOnMouseMove)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
