#include "ui/XmlTranslator.h"

#include <pugixml.hpp>

XmlTranslator::XmlTranslator(QObject* parent) : QTranslator(parent) {}

bool XmlTranslator::LoadFrom(const pugi::xml_node& language) {
    if (!language || std::string_view(language.name()) != "language") return false;
    name_ = QString::fromUtf8(language.attribute("name").value());
    contexts_.clear();
    any_.clear();
    for (pugi::xml_node context : language.children("context")) {
        const QString contextName = QString::fromUtf8(context.attribute("name").value());
        auto& table = contexts_[contextName];
        for (pugi::xml_node message : context.children("message")) {
            const QString source = QString::fromUtf8(message.child("source").text().get());
            const QString translation = QString::fromUtf8(message.child("translation").text().get());
            if (source.isEmpty() || translation.isEmpty()) continue;
            table.insert(source, translation);
            if (!any_.contains(source)) any_.insert(source, translation);
        }
    }
    return true;
}

QString XmlTranslator::translate(const char* context, const char* sourceText, const char*, int) const {
    if (!sourceText) return {};
    const QString source = QString::fromUtf8(sourceText);
    if (context) {
        const auto c = contexts_.constFind(QString::fromUtf8(context));
        if (c != contexts_.constEnd()) {
            const auto m = c->constFind(source);
            if (m != c->constEnd()) return *m;
        }
    }
    return any_.value(source);
}
