#include "ui/ItemTemplate.h"

#include <QWidget>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>

namespace {

pugi::xml_node FindWidget(pugi::xml_node node, const char* name) {
    for (pugi::xml_node child : node.children()) {
        if (std::strcmp(child.name(), "widget") == 0 && std::strcmp(child.attribute("name").value(), name) == 0)
            return child;
        if (pugi::xml_node found = FindWidget(child, name)) return found;
    }
    return {};
}

}  // namespace

ItemTemplate ItemTemplate::FromLayout(const QByteArray& layout, const QString& name, Builder builder) {
    pugi::xml_document source;
    if (!source.load_buffer(layout.constData(), static_cast<size_t>(layout.size()))) return {};
    const pugi::xml_node ui = source.child("ui");
    const QByteArray wanted = name.toUtf8();
    const pugi::xml_node widget = FindWidget(ui, wanted.constData());
    if (!widget) return {};

    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("ui");
    root.append_attribute("version") = ui.attribute("version").value();
    root.append_copy(widget);
    if (pugi::xml_node custom = ui.child("customwidgets")) root.append_copy(custom);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw);
    return ItemTemplate(QByteArray::fromStdString(out.str()), std::move(builder));
}

QWidget* ItemTemplate::Create(QWidget* parent) const {
    if (!IsValid()) return nullptr;
    return builder_(layout_, parent);
}
