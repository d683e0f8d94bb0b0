#include "platform/Registry.h"

#include "platform/FileLock.h"
#include "platform/SaveFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
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

// Both hives of the store.
struct Tree
{
    Node hklm{QStringLiteral("HKEY_LOCAL_MACHINE"), {}, {}};
    Node hkcu{QStringLiteral("HKEY_CURRENT_USER"), {}, {}};

    Node& root(Hive h) { return h == Hive::LocalMachine ? hklm : hkcu; }
    const Node& root(Hive h) const { return h == Hive::LocalMachine ? hklm : hkcu; }

    const Node* find(Hive h, const QString& path) const { return find(h, splitPath(path)); }
    const Node* find(Hive h, const QStringList& parts) const
    {
        const Node* n = &root(h);
        for (const QString& part : parts) {
            n = n->child(part);
            if (!n)
                return nullptr;
        }
        return n;
    }
    Node* find(Hive h, const QStringList& parts)
    {
        return const_cast<Node*>(std::as_const(*this).find(h, parts));
    }
    // The key, with every missing part of its path created.
    Node* make(Hive h, const QString& path)
    {
        Node* n = &root(h);
        for (const QString& part : splitPath(path)) {
            Node* c = n->child(part);
            if (!c) {
                n->children.push_back(std::make_unique<Node>());
                c = n->children.back().get();
                c->name = part;
            }
            n = c;
        }
        return n;
    }
};

// One change made by this copy of the program. It is kept until it is on disk, so that it can be
// made again over what another copy has written meanwhile.
struct Change
{
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    Hive hive = Hive::LocalMachine;
    QString path;
    QString name;
    RegValue value;
};

// Makes the change in the tree. A key or value that is already gone needs no deletion; a value
// set in a key that another copy deleted brings the key back.
void apply(Tree& t, const Change& c)
{
    switch (c.kind) {
    case Change::Kind::CreateKey:
        t.make(c.hive, c.path);
        return;
    case Change::Kind::SetValue: {
        Node* n = t.make(c.hive, c.path);
        const int i = n->valueIndex(c.name);
        if (i >= 0)
            n->values[size_t(i)].second = c.value;
        else
            n->values.emplace_back(c.name, c.value);
        return;
    }
    case Change::Kind::DeleteKey: {
        const QStringList parts = splitPath(c.path);
        if (parts.isEmpty())
            return;
        Node* parent = t.find(c.hive, parts.mid(0, parts.size() - 1));
        if (!parent)
            return;
        auto& kids = parent->children;
        for (auto it = kids.begin(); it != kids.end(); ++it)
            if ((*it)->name.compare(parts.last(), Qt::CaseInsensitive) == 0) {
                kids.erase(it);
                return;
            }
        return;
    }
    case Change::Kind::DeleteValue: {
        Node* n = t.find(c.hive, splitPath(c.path));
        if (!n)
            return;
        const int i = n->valueIndex(c.name);
        if (i >= 0)
            n->values.erase(n->values.begin() + i);
        return;
    }
    }
}

// The tree of the store file, nothing when there is no file. A file that cannot be read fails
// with the reason alone, in French (the callers name the file).
ResultOf<std::optional<Tree>> readStore(const QString& file)
{
    using Read = ResultOf<std::optional<Tree>>;
    if (!QFileInfo::exists(file))
        return Read::success(std::nullopt);
    QFile f(file);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return Read::failure(fileErrorReason(errno));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Read::failure(fileErrorReason(EIO));
    f.close();
    const auto notAStore = [] {
        return Read::failure(
            QStringLiteral("son contenu n'est pas celui d'un fichier de paramètres de Mirelot"));
    };
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        return notAStore();
    const QJsonObject top = doc.object();
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName) ||
        top.value(QStringLiteral("version")).toInt() != kFormatVersion)
        return notAStore();
    const QJsonObject hives = top.value(QStringLiteral("hives")).toObject();
    Tree read;
    if (!nodeFromJson(hives.value(QStringLiteral("HKEY_LOCAL_MACHINE")).toObject(), &read.hklm, 0) ||
        !nodeFromJson(hives.value(QStringLiteral("HKEY_CURRENT_USER")).toObject(), &read.hkcu, 0))
        return notAStore();
    return Read::success(std::move(read));
}

QByteArray storeBytes(const Tree& t)
{
    QJsonObject hives;
    hives[QStringLiteral("HKEY_LOCAL_MACHINE")] = nodeToJson(t.hklm);
    hives[QStringLiteral("HKEY_CURRENT_USER")] = nodeToJson(t.hkcu);
    QJsonObject top;
    top[QStringLiteral("format")] = QLatin1String(kFormatName);
    top[QStringLiteral("version")] = kFormatVersion;
    top[QStringLiteral("hives")] = hives;
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

} // namespace

struct Registry::Impl
{
    QString file;
    QString setAside;
    QString openingProblem;
    QString writeError;
    bool failureReported = false;
    Tree tree;
    std::vector<Change> pending; // made here, not yet on disk, oldest first

    // Makes the change in memory, then writes every change not yet on disk over the store as it
    // is on disk now, under the lock. On failure the values stay in memory for this copy.
    long change(Change c)
    {
        apply(tree, c);
        pending.push_back(std::move(c));
        return write();
    }

    long fail(const QString& why)
    {
        writeError = why;
        return reg::WriteFault;
    }

    long write()
    {
        if (file.isEmpty()) {
            pending.clear();
            return reg::Success;
        }
        const QString folder = QFileInfo(file).absolutePath();
        QDir().mkpath(folder);
        FileLock lock(file + QStringLiteral(".lock"), file);
        if (const Result locked = lock.lock(); !locked)
            return fail(locked.error);
        ResultOf<std::optional<Tree>> read = readStore(file);
        if (!read)
            return fail(writeFailureText(
                file, QStringLiteral("le fichier en place ne peut pas être lu (%1), il n'est pas remplacé")
                          .arg(read.result.error)));
        Tree current = read.value ? std::move(*read.value) : Tree();
        for (const Change& c : pending)
            apply(current, c);
        const Result saved = saveFile(file, storeBytes(current), Links::Follow);
        if (!saved)
            return fail(saved.error);
        tree = std::move(current);
        pending.clear();
        writeError.clear();
        return reg::Success;
    }
};

Registry::Registry(const QString& storeFile) : d(std::make_unique<Impl>())
{
    d->file = storeFile;
    if (d->file.isEmpty())
        return;
    ResultOf<std::optional<Tree>> read = readStore(d->file);
    if (read) {
        if (read.value)
            d->tree = std::move(*read.value);
        return;
    }
    // Unreadable: keep the file for the user under another name and start on defaults. A store
    // kept as a link (a dotfile manager's) keeps its link: the file it names is set aside in its
    // own folder, and the next write makes a new one there.
    const ResultOf<QString> named = followedPath(d->file);
    const QString unreadable = named ? named.value : d->file;
    const QString aside = unreadable + QStringLiteral(".illisible-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    int err = 0;
    for (int n = 1; n <= 9; ++n) {
        const QString name = n == 1 ? aside : aside + QLatin1Char('-') + QString::number(n);
        err = renameWithoutReplacing(unreadable, name);
        if (err == 0) {
            d->setAside = name;
            return;
        }
        if (err != EEXIST)
            break;
    }
    d->openingProblem = readFailureText(d->file, read.result.error) + QLatin1Char(' ') +
                        QStringLiteral("Il ne peut pas être mis de côté : %1.").arg(fileErrorReason(err));
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
QString Registry::openingProblem() const { return d->openingProblem; }
QString Registry::lastWriteError() const { return d->writeError; }
bool Registry::failureReported() const { return d->failureReported; }
void Registry::setFailureReported() { d->failureReported = true; }

bool Registry::keyExists(Hive hive, const QString& path) const { return d->tree.find(hive, path) != nullptr; }

long Registry::createKey(Hive hive, const QString& path)
{
    if (d->tree.find(hive, path))
        return reg::Success;
    return d->change({Change::Kind::CreateKey, hive, path, {}, {}});
}

long Registry::deleteKey(Hive hive, const QString& path)
{
    if (splitPath(path).isEmpty())
        return reg::AccessDenied;
    if (!d->tree.find(hive, path))
        return reg::FileNotFound;
    return d->change({Change::Kind::DeleteKey, hive, path, {}, {}});
}

long Registry::queryValue(Hive hive, const QString& path, const QString& name, RegValue* out) const
{
    const Node* n = d->tree.find(hive, path);
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
    if (!d->tree.find(hive, path))
        return reg::FileNotFound;
    // Written even when this copy holds the value already: another copy may have changed it.
    return d->change({Change::Kind::SetValue, hive, path, name, value});
}

long Registry::deleteValue(Hive hive, const QString& path, const QString& name)
{
    const Node* n = d->tree.find(hive, path);
    if (!n)
        return reg::FileNotFound;
    if (n->valueIndex(name) < 0)
        return reg::FileNotFound;
    return d->change({Change::Kind::DeleteValue, hive, path, name, {}});
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
    const Node* n = d->tree.find(hive, path);
    if (!n)
        return reg::FileNotFound;
    if (index < 0 || size_t(index) >= n->children.size())
        return reg::NoMoreItems;
    return deliverName(n->children[size_t(index)]->name, name, bufferSize);
}

long Registry::enumValue(Hive hive, const QString& path, int index, QString* name, int bufferSize) const
{
    const Node* n = d->tree.find(hive, path);
    if (!n)
        return reg::FileNotFound;
    if (index < 0 || size_t(index) >= n->values.size())
        return reg::NoMoreItems;
    return deliverName(n->values[size_t(index)].first, name, bufferSize);
}

} // namespace platform
