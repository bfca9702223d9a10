#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "ui/UiResources.h"

// The resource folder of the source tree, loaded once for all tests.
inline const UiResources& SourceResources() {
    static UiResources resources = [] {
        UiResources r;
        r.Load(QStringLiteral(KBDCONF_SOURCE_DIR "/res/uires"));
        return r;
    }();
    return resources;
}

// Writes a file (and its folders) under dir.
inline void WriteFile(const QString& dir, const QString& relative, const QByteArray& text) {
    const QString path = dir + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text);
}

// A resource folder with just enough in it: an index, a UI definition, a string table, and the
// given extra files (index entries are added by the caller's index text).
inline void WriteMinimalFolder(const QString& dir, const QByteArray& extraIndex) {
    WriteFile(dir, "uires.idx",
              "<resource><UIDEF><file name='XML_INIT' path='init.xml'/></UIDEF>"
              "<values><file name='string' path='string.xml'/></values>" + extraIndex + "</resource>");
    WriteFile(dir, "init.xml", "<uidef><string src='values:string'/></uidef>");
    WriteFile(dir, "string.xml", "<string><zeta value='z'/><Alpha value='first'/></string>");
}
