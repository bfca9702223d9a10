#pragma once
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace pugi {
class xml_document;
}

// The resource folder `uires`: its index `uires.idx` (root `resource`, one element per type with
// `file` children carrying `name` and `path`), and the UI definition it names ("uidef:xml_init"),
// which brings in the string table (`values:string`), the colour table (`values:color`) and the
// style sheet (`values:skin`).
//
// Resources are asked for as "type:name"; type and name are compared without regard to case.
class UiResources {
public:
    // Reads the index and the UI definition of the folder. On failure, says why in `error` (one
    // line for the user) and leaves the object empty.
    bool Load(const QString& folder, QString* error = nullptr);
    bool IsLoaded() const { return !entries_.empty(); }
    const QString& folder() const { return folder_; }

    bool Has(const QString& typeName) const;
    // Absolute path of the resource's file; empty when the index has no such entry.
    QString Path(const QString& typeName) const;
    QByteArray Read(const QString& typeName) const;
    bool LoadXml(const QString& typeName, pugi::xml_document& doc) const;
    // "type:name" of every entry, in index order.
    QStringList Names() const;

    QPixmap Pixmap(const QString& typeName) const;
    QIcon Icon(const QString& typeName) const;

    // Entries of `values:string` by name; the table is ordered by name (ordinal).
    QString String(const QString& name) const;
    // Entry 0 of the string table: the one whose name sorts first. It names the single-instance
    // lock and socket.
    QString InstanceName() const;
    // "@string/name" becomes that string's text; anything else is returned as it is.
    QString ExpandString(const QString& value) const;

    QColor Color(const QString& name) const;
    // The style sheet of values:skin with "@colour" names replaced from the colour table and
    // "res(type:name)" replaced by the resource's path.
    QString StyleSheet() const;

    // The process-wide folder set up at start-up (nullptr before); widgets built by the loader
    // reach their images through it.
    static const UiResources* Current();
    static void SetCurrent(const UiResources* resources);

private:
    struct Entry {
        QString key;  // "type:name" in lower case
        QString typeName;
        QString path;
    };
    static QString Key(const QString& typeName);
    const Entry* Find(const QString& typeName) const;
    bool LoadDefinition(QString* error);

    QString folder_;
    std::vector<Entry> entries_;
    std::map<std::string, QString> strings_;
    std::map<QString, QColor> colors_;
    QString styleSource_;
};
