#pragma once
// A folder of the fuzz target's own under /dev/shm (else the temporary folder), for loaders that
// read files by name, removed when the target ends.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

inline const QString& FuzzFolder() {
    static QTemporaryDir* dir = [] {
        const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        static QTemporaryDir d(base + "/kbdconf-fuzz-XXXXXX");
        return &d;
    }();
    static const QString path = dir->path();
    return path;
}

inline void WriteFuzzFile(const QString& relative, const char* data, size_t size) {
    const QString path = FuzzFolder() + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    f.write(data, static_cast<qint64>(size));
}

inline void WriteFuzzFile(const QString& relative, const QByteArray& text) {
    WriteFuzzFile(relative, text.constData(), static_cast<size_t>(text.size()));
}
