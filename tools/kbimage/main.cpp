// kbimage: draws the keyboard picture's images from its coordinate file.
//   kbimage <keyboard.xml> <output folder> [--size WIDTHxHEIGHT] [--scale N]
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "KeyboardArt.h"
#include "app/CoordinateFile.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QSize size(980, 340);
    int scale = 2;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(u'x');
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        } else if (args[i] == QLatin1String("--scale") && i + 1 < args.size()) {
            scale = args[++i].toInt();
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2 || size.isEmpty() || scale < 1 || scale > 4) {
        std::fprintf(stderr, "usage: kbimage <keyboard.xml> <output folder> [--size WIDTHxHEIGHT] [--scale 1..4]\n");
        return 2;
    }
    std::vector<CoordKey> keys = CoordinateFile::Load(files[0].toStdString());
    if (keys.empty()) {
        std::fprintf(stderr, "kbimage: no keys in %s\n", qPrintable(files[0]));
        return 1;
    }
    if (!QDir().mkpath(files[1])) {
        std::fprintf(stderr, "kbimage: cannot create %s\n", qPrintable(files[1]));
        return 1;
    }
    const KeyboardArt art(std::move(keys), size, scale);
    for (KeyboardArt::Layer layer : KeyboardArt::kLayers) {
        const QString path = QDir(files[1]).filePath(QString::fromLatin1(KeyboardArt::FileName(layer)));
        if (!art.Render(layer).save(path, "PNG")) {
            std::fprintf(stderr, "kbimage: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
