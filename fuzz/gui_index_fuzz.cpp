// The resource index uires.idx: whatever the bytes, the folder loads or says why not, and what it
// then answers (names, paths, the style sheet) is consistent with what it loaded.
#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "ui/UiResources.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    WriteFuzzFile("init.xml", "<uidef><string src='values:string'/><color src='values:color'/>"
                              "<skin src='values:skin'/></uidef>");
    WriteFuzzFile("string.xml", "<string><name value='kbdconf-fuzz'/></string>");
    WriteFuzzFile("color.xml", "<color><accent value='#123456'/></color>");
    WriteFuzzFile("skin.xml", "<skin><style>QWidget { color: @accent; background: res(main:bg) }</style></skin>");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile("uires.idx", reinterpret_cast<const char*>(data), size);
    UiResources resources;
    QString error;
    const bool loaded = resources.Load(FuzzFolder(), &error);
    if (loaded != resources.IsLoaded()) __builtin_trap();
    if (!loaded) {
        if (error.isEmpty() || !resources.Names().isEmpty()) __builtin_trap();
        return 0;
    }
    if (resources.InstanceName().isEmpty()) __builtin_trap();
    for (const QString& name : resources.Names())
        if (!resources.Has(name) || resources.Path(name).isEmpty()) __builtin_trap();
    resources.StyleSheet();
    resources.ExpandString("@string/name");
    return 0;
}
