#include "ui/UiLanguage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <pugixml.hpp>

#include "ui/UiResources.h"
#include "ui/XmlTranslator.h"

namespace {
QPointer<XmlTranslator> g_translator;
constexpr const char* kSourceProperty = "kbd_tr_source";

void ApplyText(QWidget* w, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
}
}  // namespace

bool UiLanguage::Install(const UiResources& resources, const QString& name) {
    pugi::xml_document doc;
    if (!resources.LoadXml("translator:" + name, doc)) return false;
    auto* translator = new XmlTranslator(qApp);
    if (!translator->LoadFrom(doc.child("language"))) {
        delete translator;
        return false;
    }
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
    }
    g_translator = translator;
    QCoreApplication::installTranslator(translator);
    // QApplication posts the change to every window; deliver it now so the switch is immediate.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return true;
}

QString UiLanguage::Current() { return g_translator ? g_translator->name() : QString(); }

QString UiLanguage::Tr(const char* source) { return QCoreApplication::translate("kbdconf", source); }

void UiLanguage::SetText(QWidget* widget, const char* source) {
    if (!widget) return;
    widget->setProperty(kSourceProperty, QString::fromUtf8(source));
    ApplyText(widget, Tr(source));
}

void UiLanguage::Retranslate(QWidget* root) {
    if (!root) return;
    auto apply = [](QWidget* w) {
        const QVariant source = w->property(kSourceProperty);
        if (source.isValid()) ApplyText(w, Tr(source.toString().toUtf8().constData()));
    };
    apply(root);
    for (QWidget* w : root->findChildren<QWidget*>()) apply(w);
}
