#pragma once
#include <QString>

class QObject;
class QWidget;
class UiResources;

// The translation the program's windows show, and texts that follow it.
class UiLanguage {
public:
    // Loads translator `name` (lang_cn or lang_en) of the folder and makes it the current one, in
    // place of the previous. Every widget hears QEvent::LanguageChange at once: loaded layouts
    // retranslate themselves, and so do the texts set through SetText. false (nothing changes)
    // when the translator cannot be loaded.
    static bool Install(const UiResources& resources, const QString& name);
    // The `name` attribute of the current translation's language element; empty when none.
    static QString Current();

    static QString Tr(const char* source);
    // Sets a label's or button's text to the translation of `source` and keeps `source`, so the
    // text follows later language changes.
    static void SetText(QWidget* widget, const char* source);
    // Re-applies SetText texts under root (called on language change).
    static void Retranslate(QWidget* root);
};
