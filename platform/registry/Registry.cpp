#include "platform/registry/Registry.h"

#include "platform/registry/FileTypes.h"
#include "platform/files/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <vector>

namespace registry {

namespace {

struct Value {
    QString name;
    QString data;
};

struct Key {
    QString name;
    std::vector<Value> values;
    std::vector<Key> keys;

    Key* Child(const QString& childName)
    {
        for (Key& k : keys)
            if (k.name.compare(childName, Qt::CaseInsensitive) == 0) return &k;
        return nullptr;
    }
    Value* Find(const QString& valueName)
    {
        for (Value& v : values)
            if (v.name.compare(valueName, Qt::CaseInsensitive) == 0) return &v;
        return nullptr;
    }
};

const char* RootName(Root root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    default: return nullptr;
    }
}

QJsonObject ToJson(const Key& key)
{
    QJsonObject values;
    for (const Value& v : key.values)
        values.insert(v.name, v.data);
    QJsonArray keys;
    for (const Key& k : key.keys) {
        QJsonObject child = ToJson(k);
        child.insert(QStringLiteral("name"), k.name);
        keys.append(child);
    }
    QJsonObject o;
    if (!values.isEmpty()) o.insert(QStringLiteral("values"), values);
    if (!keys.isEmpty()) o.insert(QStringLiteral("keys"), keys);
    return o;
}

Key FromJson(const QJsonObject& o, const QString& name)
{
    Key key {name, {}, {}};
    const QJsonObject values = o.value(QStringLiteral("values")).toObject();
    for (auto it = values.begin(); it != values.end(); ++it)
        key.values.push_back({it.key(), it.value().toString()});
    for (const QJsonValue& child : o.value(QStringLiteral("keys")).toArray()) {
        const QJsonObject c = child.toObject();
        key.keys.push_back(FromJson(c, c.value(QStringLiteral("name")).toString()));
    }
    return key;
}

// The whole registry, read from its file for one operation.
class Store {
public:
    Store()
    {
        QFile file(StorePath());
        if (!file.open(QIODevice::ReadOnly)) return;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            unreadable_ = true;
            return;
        }
        const QJsonObject roots = doc.object();
        for (auto it = roots.begin(); it != roots.end(); ++it)
            roots_.push_back(FromJson(it.value().toObject(), it.key()));
    }

    Key* RootKey(Root root)
    {
        const char* name = RootName(root);
        if (!name) return nullptr;
        for (Key& k : roots_)
            if (k.name == QLatin1String(name)) return &k;
        roots_.push_back({QString::fromLatin1(name), {}, {}});
        return &roots_.back();
    }

    // The key at subKey below root; with create, missing keys on the way are made.
    Key* Open(Root root, const QString& subKey, bool create)
    {
        Key* key = RootKey(root);
        for (const QString& part : subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
            if (!key) return nullptr;
            Key* child = key->Child(part);
            if (!child && create) {
                key->keys.push_back({part, {}, {}});
                child = &key->keys.back();
            }
            key = child;
        }
        return key;
    }

    bool Save()
    {
        const QString path = StorePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (unreadable_) {
            // Keep a file we could not read rather than write over it.
            QFile::remove(path + QStringLiteral(".unreadable"));
            QFile::rename(path, path + QStringLiteral(".unreadable"));
            unreadable_ = false;
        }
        QJsonObject roots;
        for (const Key& k : roots_)
            roots.insert(k.name, ToJson(k));
        return files::WriteWholeFile(path, QJsonDocument(roots).toJson(QJsonDocument::Indented));
    }

private:
    std::vector<Key> roots_;
    bool unreadable_ = false;
};

} // namespace

QString StorePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/tessel/registry");
}

bool KeyExists(Root root, const QString& subKey)
{
    Store store;
    return store.Open(root, subKey, false) != nullptr;
}

bool CreateKey(Root root, const QString& subKey)
{
    Store store;
    if (!store.Open(root, subKey, true)) return false;
    return store.Save();
}

bool SetValue(Root root, const QString& subKey, const QString& name, const QString& data)
{
    Store store;
    Key* key = store.Open(root, subKey, true);
    if (!key) return false;
    if (Value* v = key->Find(name))
        v->data = data;
    else
        key->values.push_back({name, data});
    if (!store.Save()) return false;
    if (root == HKEY_CLASSES_ROOT) MirrorFileTypes(subKey, name);
    return true;
}

std::optional<QString> QueryValue(Root root, const QString& subKey, const QString& name)
{
    Store store;
    Key* key = store.Open(root, subKey, false);
    if (!key) return std::nullopt;
    if (Value* v = key->Find(name)) return v->data;
    return std::nullopt;
}

bool DeleteValue(Root root, const QString& subKey, const QString& name)
{
    Store store;
    Key* key = store.Open(root, subKey, false);
    if (!key) return false;
    for (auto it = key->values.begin(); it != key->values.end(); ++it) {
        if (it->name.compare(name, Qt::CaseInsensitive) == 0) {
            key->values.erase(it);
            return store.Save();
        }
    }
    return false;
}

bool DeleteKey(Root root, const QString& subKey)
{
    QStringList parts = subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) return false;
    const QString last = parts.takeLast();
    Store store;
    Key* parent = store.Open(root, parts.join(QLatin1Char('\\')), false);
    if (!parent) return false;
    for (auto it = parent->keys.begin(); it != parent->keys.end(); ++it) {
        if (it->name.compare(last, Qt::CaseInsensitive) == 0) {
            parent->keys.erase(it);
            return store.Save();
        }
    }
    return false;
}

QStringList SubKeys(Root root, const QString& subKey)
{
    Store store;
    QStringList names;
    if (Key* key = store.Open(root, subKey, false))
        for (const Key& k : key->keys)
            names << k.name;
    return names;
}

} // namespace registry
