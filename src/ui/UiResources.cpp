#include "ui/UiResources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <pugixml.hpp>

namespace {
const UiResources* g_current = nullptr;

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}
}  // namespace

const UiResources* UiResources::Current() { return g_current; }
void UiResources::SetCurrent(const UiResources* resources) { g_current = resources; }

QString UiResources::Key(const QString& typeName) { return typeName.trimmed().toLower(); }

bool UiResources::Load(const QString& folder, QString* error) {
    entries_.clear();
    strings_.clear();
    colors_.clear();
    styleSource_.clear();
    folder_ = QDir(folder).absolutePath();

    const QString indexPath = folder_ + "/uires.idx";
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(indexPath.toStdString().c_str());
    if (!parsed) {
        return Fail(error, QFileInfo::exists(indexPath)
                               ? QStringLiteral("The resource index %1 is damaged (%2).").arg(indexPath, parsed.description())
                               : QStringLiteral("The resource folder %1 or its index uires.idx is missing.").arg(folder_));
    }
    const pugi::xml_node root = doc.child("resource");
    if (!root) return Fail(error, QStringLiteral("The resource index %1 has no <resource> root.").arg(indexPath));
    for (pugi::xml_node type : root.children()) {
        if (type.type() != pugi::node_element) continue;
        for (pugi::xml_node file : type.children("file")) {
            const QString name = QString::fromUtf8(file.attribute("name").value());
            const QString path = QString::fromUtf8(file.attribute("path").value());
            if (name.isEmpty() || path.isEmpty()) continue;
            const QString typeName = QString::fromUtf8(type.name()) + ':' + name;
            entries_.push_back({Key(typeName), typeName, QDir(folder_).absoluteFilePath(path)});
        }
    }
    if (entries_.empty()) return Fail(error, QStringLiteral("The resource index %1 lists nothing.").arg(indexPath));
    if (!LoadDefinition(error)) {
        entries_.clear();
        return false;
    }
    return true;
}

bool UiResources::LoadDefinition(QString* error) {
    pugi::xml_document def;
    if (!LoadXml("uidef:xml_init", def) || !def.child("uidef"))
        return Fail(error, QStringLiteral("The UI definition uidef:xml_init of %1 is missing or damaged.").arg(folder_));
    const pugi::xml_node uidef = def.child("uidef");

    pugi::xml_document strings;
    if (!LoadXml(QString::fromUtf8(uidef.child("string").attribute("src").value()), strings) || !strings.child("string"))
        return Fail(error, QStringLiteral("The string table values:string of %1 is missing or damaged.").arg(folder_));
    for (pugi::xml_node s : strings.child("string").children()) {
        if (s.type() == pugi::node_element) strings_[s.name()] = QString::fromUtf8(s.attribute("value").value());
    }
    if (InstanceName().isEmpty())
        return Fail(error, QStringLiteral("The string table of %1 has no usable first entry.").arg(folder_));

    pugi::xml_document colors;
    if (LoadXml(QString::fromUtf8(uidef.child("color").attribute("src").value()), colors)) {
        for (pugi::xml_node c : colors.child("color").children()) {
            if (c.type() != pugi::node_element) continue;
            const QColor color = QColor::fromString(QString::fromUtf8(c.attribute("value").value()));
            if (color.isValid()) colors_[QString::fromUtf8(c.name())] = color;
        }
    }
    pugi::xml_document skin;
    if (LoadXml(QString::fromUtf8(uidef.child("skin").attribute("src").value()), skin))
        styleSource_ = QString::fromUtf8(skin.child("skin").child("style").text().get());
    return true;
}

const UiResources::Entry* UiResources::Find(const QString& typeName) const {
    const QString key = Key(typeName);
    for (const Entry& e : entries_)
        if (e.key == key) return &e;
    return nullptr;
}

bool UiResources::Has(const QString& typeName) const { return Find(typeName) != nullptr; }

QString UiResources::Path(const QString& typeName) const {
    const Entry* e = Find(typeName);
    return e ? e->path : QString();
}

QByteArray UiResources::Read(const QString& typeName) const {
    QFile f(Path(typeName));
    if (f.fileName().isEmpty() || !f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool UiResources::LoadXml(const QString& typeName, pugi::xml_document& doc) const {
    const QString path = Path(typeName);
    if (path.isEmpty()) return false;
    return static_cast<bool>(doc.load_file(path.toStdString().c_str()));
}

QStringList UiResources::Names() const {
    QStringList names;
    for (const Entry& e : entries_) names << e.typeName;
    return names;
}

QPixmap UiResources::Pixmap(const QString& typeName) const {
    const QString path = Path(typeName);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

QIcon UiResources::Icon(const QString& typeName) const {
    const QString path = Path(typeName);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QString UiResources::String(const QString& name) const {
    const auto it = strings_.find(name.toStdString());
    return it == strings_.end() ? QString() : it->second;
}

QString UiResources::InstanceName() const { return strings_.empty() ? QString() : strings_.begin()->second; }

QString UiResources::ExpandString(const QString& value) const {
    static const QString prefix = QStringLiteral("@string/");
    return value.startsWith(prefix) ? String(value.mid(prefix.size())) : value;
}

QColor UiResources::Color(const QString& name) const {
    const auto it = colors_.find(name);
    return it == colors_.end() ? QColor() : it->second;
}

QString UiResources::StyleSheet() const {
    QString sheet = styleSource_;
    static const QRegularExpression resRef(QStringLiteral(R"(res\(([^)]+)\))"));
    QString out;
    qsizetype last = 0;
    for (auto it = resRef.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        out += sheet.mid(last, m.capturedStart() - last);
        out += "url(" + Path(m.captured(1)) + ")";
        last = m.capturedEnd();
    }
    out += sheet.mid(last);
    // Longest names first, so "@accent_dark" is not eaten by "@accent".
    std::vector<std::pair<QString, QColor>> byLength(colors_.begin(), colors_.end());
    std::sort(byLength.begin(), byLength.end(),
              [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (const auto& [name, color] : byLength)
        out.replace('@' + name, color.alpha() == 255 ? color.name()
                                                     : QStringLiteral("rgba(%1, %2, %3, %4)")
                                                           .arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alpha()));
    return out;
}
