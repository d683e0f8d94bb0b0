#include "platform/Registry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <vector>

namespace platform {

namespace {

constexpr auto kFormatName = "Mirelot registry";
constexpr int kFormatVersion = 1;

struct Node
{
    QString name;
    std::vector<std::pair<QString, RegValue>> values;
    std::vector<std::unique_ptr<Node>> children;

    Node* child(const QString& part) const
    {
        for (const auto& c : children)
            if (c->name.compare(part, Qt::CaseInsensitive) == 0)
                return c.get();
        return nullptr;
    }
    int valueIndex(const QString& valueName) const
    {
        for (size_t i = 0; i < values.size(); ++i)
            if (values[i].first.compare(valueName, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }
};

QStringList splitPath(const QString& path)
{
    QStringList parts;
    for (const QString& p : path.split(QLatin1Char('\\')))
        if (!p.isEmpty())
            parts << p;
    return parts;
}

QJsonObject valueToJson(const QString& name, const RegValue& v)
{
    QJsonObject o;
    o[QStringLiteral("name")] = name;
    o[QStringLiteral("type")] = int(v.type);
    switch (v.type) {
    case RegType::Sz:
    case RegType::ExpandSz:
    case RegType::MultiSz:
        o[QStringLiteral("data")] = v.text;
        break;
    case RegType::Dword:
        o[QStringLiteral("data")] = qint64(v.dword);
        break;
    default:
        o[QStringLiteral("data")] = QString::fromLatin1(v.bytes.toBase64());
        break;
    }
    return o;
}

bool valueFromJson(const QJsonObject& o, QString* name, RegValue* v)
{
    if (!o.value(QStringLiteral("name")).isString() || !o.value(QStringLiteral("type")).isDouble())
        return false;
    *name = o.value(QStringLiteral("name")).toString();
    v->type = RegType(o.value(QStringLiteral("type")).toInt());
    const QJsonValue data = o.value(QStringLiteral("data"));
    switch (v->type) {
    case RegType::Sz:
    case RegType::ExpandSz:
    case RegType::MultiSz:
        if (!data.isString())
            return false;
        v->text = data.toString();
        return true;
    case RegType::Dword: {
        if (!data.isDouble())
            return false;
        const qint64 n = data.toInteger(-1);
        if (n < 0 || n > 0xFFFFFFFFLL)
            return false;
        v->dword = quint32(n);
        return true;
    }
    default:
        if (!data.isString())
            return false;
        v->bytes = QByteArray::fromBase64(data.toString().toLatin1());
        return true;
    }
}

QJsonObject nodeToJson(const Node& n)
{
    QJsonObject o;
    o[QStringLiteral("name")] = n.name;
    QJsonArray values;
    for (const auto& [name, v] : n.values)
        values.append(valueToJson(name, v));
    o[QStringLiteral("values")] = values;
    QJsonArray keys;
    for (const auto& c : n.children)
        keys.append(nodeToJson(*c));
    o[QStringLiteral("keys")] = keys;
    return o;
}

bool nodeFromJson(const QJsonObject& o, Node* n, int depth)
{
    if (depth > 64 || !o.value(QStringLiteral("name")).isString())
        return false;
    n->name = o.value(QStringLiteral("name")).toString();
    const QJsonValue values = o.value(QStringLiteral("values"));
    const QJsonValue keys = o.value(QStringLiteral("keys"));
    if (!values.isArray() || !keys.isArray())
        return false;
    for (const QJsonValue& jv : values.toArray()) {
        QString name;
        RegValue v;
        if (!jv.isObject() || !valueFromJson(jv.toObject(), &name, &v))
            return false;
        n->values.emplace_back(name, v);
    }
    for (const QJsonValue& jk : keys.toArray()) {
        auto c = std::make_unique<Node>();
        if (!jk.isObject() || !nodeFromJson(jk.toObject(), c.get(), depth + 1))
            return false;
        n->children.push_back(std::move(c));
    }
    return true;
}

} // namespace

struct Registry::Impl
{
    QString file;
    QString setAside;
    QString writeError;
    bool writable = true;
    Node hklm;
    Node hkcu;

    Node& root(Hive h) { return h == Hive::LocalMachine ? hklm : hkcu; }
    const Node& root(Hive h) const { return h == Hive::LocalMachine ? hklm : hkcu; }

    const Node* find(Hive h, const QString& path) const
    {
        const Node* n = &root(h);
        for (const QString& part : splitPath(path)) {
            n = n->child(part);
            if (!n)
                return nullptr;
        }
        return n;
    }
    Node* find(Hive h, const QString& path)
    {
        return const_cast<Node*>(std::as_const(*this).find(h, path));
    }

    bool load()
    {
        QFile f(file);
        if (!f.exists())
            return true;
        if (!f.open(QIODevice::ReadOnly))
            return false;
        QJsonParseError err;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
        f.close();
        if (err.error != QJsonParseError::NoError || !doc.isObject())
            return false;
        const QJsonObject top = doc.object();
        if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName)
            || top.value(QStringLiteral("version")).toInt() != kFormatVersion)
            return false;
        const QJsonObject hives = top.value(QStringLiteral("hives")).toObject();
        Node lm, cu;
        if (!nodeFromJson(hives.value(QStringLiteral("HKEY_LOCAL_MACHINE")).toObject(), &lm, 0)
            || !nodeFromJson(hives.value(QStringLiteral("HKEY_CURRENT_USER")).toObject(), &cu, 0))
            return false;
        hklm = std::move(lm);
        hkcu = std::move(cu);
        return true;
    }

    long save()
    {
        if (file.isEmpty())
            return reg::Success;
        if (!writable) {
            writeError = QStringLiteral("Le fichier des paramètres %1 n'a pas pu être mis de côté : "
                                        "il n'est pas remplacé.")
                             .arg(file);
            return reg::WriteFault;
        }
        QJsonObject hives;
        hives[QStringLiteral("HKEY_LOCAL_MACHINE")] = nodeToJson(hklm);
        hives[QStringLiteral("HKEY_CURRENT_USER")] = nodeToJson(hkcu);
        QJsonObject top;
        top[QStringLiteral("format")] = QLatin1String(kFormatName);
        top[QStringLiteral("version")] = kFormatVersion;
        top[QStringLiteral("hives")] = hives;
        QDir().mkpath(QFileInfo(file).absolutePath());
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)
            || out.write(QJsonDocument(top).toJson(QJsonDocument::Indented)) < 0 || !out.commit()) {
            writeError = out.errorString();
            return reg::WriteFault;
        }
        writeError.clear();
        return reg::Success;
    }
};

Registry::Registry(const QString& storeFile) : d(std::make_unique<Impl>())
{
    d->file = storeFile;
    d->hklm.name = QStringLiteral("HKEY_LOCAL_MACHINE");
    d->hkcu.name = QStringLiteral("HKEY_CURRENT_USER");
    if (d->file.isEmpty() || d->load())
        return;
    // Unreadable: keep the file for the user and start on defaults.
    d->hklm = Node{QStringLiteral("HKEY_LOCAL_MACHINE"), {}, {}};
    d->hkcu = Node{QStringLiteral("HKEY_CURRENT_USER"), {}, {}};
    const QString aside = d->file + QStringLiteral(".illisible-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (QFile::rename(d->file, aside))
        d->setAside = aside;
    else
        d->writable = false;
}

Registry::~Registry() = default;

QString Registry::defaultStoreFile()
{
    const QString home = qEnvironmentVariable("MIRELOT_HOME");
    if (!home.isEmpty())
        return QDir(home).filePath(QStringLiteral("registry.json"));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("registry.json"));
}

QString Registry::storeFile() const { return d->file; }
QString Registry::setAsideFile() const { return d->setAside; }
QString Registry::lastWriteError() const { return d->writeError; }

bool Registry::keyExists(Hive hive, const QString& path) const { return d->find(hive, path) != nullptr; }

long Registry::createKey(Hive hive, const QString& path)
{
    Node* n = &d->root(hive);
    bool created = false;
    for (const QString& part : splitPath(path)) {
        Node* c = n->child(part);
        if (!c) {
            n->children.push_back(std::make_unique<Node>());
            c = n->children.back().get();
            c->name = part;
            created = true;
        }
        n = c;
    }
    return created ? d->save() : reg::Success;
}

long Registry::deleteKey(Hive hive, const QString& path)
{
    const QStringList parts = splitPath(path);
    if (parts.isEmpty())
        return reg::AccessDenied;
    Node* parent = d->find(hive, QStringList(parts.mid(0, parts.size() - 1)).join(QLatin1Char('\\')));
    if (!parent)
        return reg::FileNotFound;
    auto& kids = parent->children;
    for (auto it = kids.begin(); it != kids.end(); ++it) {
        if ((*it)->name.compare(parts.last(), Qt::CaseInsensitive) == 0) {
            kids.erase(it);
            return d->save();
        }
    }
    return reg::FileNotFound;
}

long Registry::queryValue(Hive hive, const QString& path, const QString& name, RegValue* out) const
{
    const Node* n = d->find(hive, path);
    if (!n)
        return reg::FileNotFound;
    const int i = n->valueIndex(name);
    if (i < 0)
        return reg::FileNotFound;
    if (out)
        *out = n->values[size_t(i)].second;
    return reg::Success;
}

long Registry::setValue(Hive hive, const QString& path, const QString& name, const RegValue& value)
{
    Node* n = d->find(hive, path);
    if (!n)
        return reg::FileNotFound;
    const int i = n->valueIndex(name);
    if (i >= 0) {
        if (n->values[size_t(i)].second == value)
            return reg::Success;
        n->values[size_t(i)].second = value;
    } else {
        n->values.emplace_back(name, value);
    }
    return d->save();
}

long Registry::deleteValue(Hive hive, const QString& path, const QString& name)
{
    Node* n = d->find(hive, path);
    if (!n)
        return reg::FileNotFound;
    const int i = n->valueIndex(name);
    if (i < 0)
        return reg::FileNotFound;
    n->values.erase(n->values.begin() + i);
    return d->save();
}

namespace {
long deliverName(const QString& found, QString* name, int bufferSize)
{
    if (found.size() + 1 > bufferSize)
        return reg::MoreData;
    if (name)
        *name = found;
    return reg::Success;
}
} // namespace

long Registry::enumKey(Hive hive, const QString& path, int index, QString* name, int bufferSize) const
{
    const Node* n = d->find(hive, path);
    if (!n)
        return reg::FileNotFound;
    if (index < 0 || size_t(index) >= n->children.size())
        return reg::NoMoreItems;
    return deliverName(n->children[size_t(index)]->name, name, bufferSize);
}

long Registry::enumValue(Hive hive, const QString& path, int index, QString* name, int bufferSize) const
{
    const Node* n = d->find(hive, path);
    if (!n)
        return reg::FileNotFound;
    if (index < 0 || size_t(index) >= n->values.size())
        return reg::NoMoreItems;
    return deliverName(n->values[size_t(index)].first, name, bufferSize);
}

} // namespace platform
