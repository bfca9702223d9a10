// Translator documents (lang_cn, lang_en): whatever the bytes, loading gives a translator or a
// refusal, and every text it then answers is one of the document's translations.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>

#include "ui/XmlTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As the resource folder loads it: default options, encoding detected from the bytes.
    pugi::xml_document doc;
    if (!doc.load_buffer(data, size)) return 0;
    XmlTranslator translator;
    if (!translator.LoadFrom(doc.document_element())) return 0;
    for (pugi::xml_node context : doc.document_element().children("context")) {
        for (pugi::xml_node message : context.children("message")) {
            const char* source = message.child("source").text().get();
            const QString got = translator.translate(context.attribute("name").value(), source);
            // Every message with both texts is answered; empty ones are never learnt.
            if (*source && *message.child("translation").text().get() && got.isEmpty()) __builtin_trap();
        }
    }
    if (!translator.translate("mainwnd", "").isEmpty()) __builtin_trap();
    translator.translate(nullptr, "Connected");
    translator.translate("macro", nullptr);
    return 0;
}
