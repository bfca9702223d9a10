#pragma once
#include <QHash>
#include <QTranslator>

namespace pugi {
class xml_node;
}

// A translation read from a `language` document of the resource folder:
//
//   <language name="cn">
//     <context name="mainwnd">
//       <message><source>Connected</source><translation>已连接</translation></message>
//     </context>
//   </language>
//
// Lookups try the asked context first and then every context, so texts set from code and texts
// of the layouts share one file. Sections for other windows are further <context> elements.
class XmlTranslator : public QTranslator {
    Q_OBJECT
public:
    explicit XmlTranslator(QObject* parent = nullptr);

    // false when the node is not a `language` element.
    bool LoadFrom(const pugi::xml_node& language);
    QString name() const { return name_; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    // Qt skips translators that say they are empty.
    bool isEmpty() const override { return false; }
    QString language() const { return name_; }

private:
    QString name_;
    QHash<QString, QHash<QString, QString>> contexts_;
    QHash<QString, QString> any_;
};
