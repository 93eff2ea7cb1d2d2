#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <functional>

namespace orvan {
namespace {

// A key is {"name":..., "values":[{"name","type","data"}...], "keys":[...]}:
// arrays rather than objects keep the creation order that enumeration needs.
QStringList splitPath(const QString& key) {
  QString k = key;
  k.replace(QLatin1Char('/'), QLatin1Char('\\'));
  return k.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

int indexOfName(const QJsonArray& arr, const QString& name) {
  for (int i = 0; i < arr.size(); ++i)
    if (arr[i].toObject().value(QLatin1String("name")).toString().compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QJsonObject loadRoot(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
  return doc.isObject() ? doc.object() : QJsonObject{};
}

bool saveRoot(const QString& file, const QJsonObject& root) {
  QSaveFile f(file);
  if (!f.open(QIODevice::WriteOnly)) return false;
  f.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
  return f.commit();
}

// Finds the key object along the path; nullopt when a part is missing.
std::optional<QJsonObject> findKey(const QJsonObject& root, const QStringList& parts) {
  QJsonObject cur = root;
  for (const QString& p : parts) {
    QJsonArray keys = cur.value(QLatin1String("keys")).toArray();
    int i = indexOfName(keys, p);
    if (i < 0) return std::nullopt;
    cur = keys[i].toObject();
  }
  return cur;
}

// Applies `edit` to the key at the path (created on the way when `create`),
// writing every level back. Returns false when the key is missing and not created.
bool editKey(QJsonObject& node, const QStringList& parts, int depth, bool create,
             const std::function<bool(QJsonObject&)>& edit) {
  if (depth == parts.size()) return edit(node);
  QJsonArray keys = node.value(QLatin1String("keys")).toArray();
  int i = indexOfName(keys, parts[depth]);
  QJsonObject child;
  if (i < 0) {
    if (!create) return false;
    child.insert(QLatin1String("name"), parts[depth]);
  } else {
    child = keys[i].toObject();
  }
  if (!editKey(child, parts, depth + 1, create, edit)) return false;
  if (i < 0)
    keys.append(child);
  else
    keys[i] = child;
  node.insert(QLatin1String("keys"), keys);
  return true;
}

class Transaction {
 public:
  explicit Transaction(const QString& file) : file_(file), lock_(file + QLatin1String(".lock")) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    lock_.setStaleLockTime(10000);
    locked_ = lock_.tryLock(5000);
    root_ = loadRoot(file);
  }
  bool locked() const { return locked_; }
  QJsonObject& root() { return root_; }
  bool commit() { return locked_ && saveRoot(file_, root_); }

 private:
  QString file_;
  QLockFile lock_;
  bool locked_ = false;
  QJsonObject root_;
};

bool modify(const QString& file, const QString& key, bool create, const std::function<bool(QJsonObject&)>& edit) {
  Transaction t(file);
  if (!t.locked()) return false;
  if (!editKey(t.root(), splitPath(key), 0, create, edit)) return false;
  return t.commit();
}

std::optional<QJsonObject> readValue(const QString& file, const QString& key, const QString& name) {
  auto k = findKey(loadRoot(file), splitPath(key));
  if (!k) return std::nullopt;
  QJsonArray values = k->value(QLatin1String("values")).toArray();
  int i = indexOfName(values, name);
  if (i < 0) return std::nullopt;
  return values[i].toObject();
}

bool putValue(const QString& file, const QString& key, const QString& name, const QString& type,
              const QJsonValue& data) {
  return modify(file, key, true, [&](QJsonObject& k) {
    QJsonArray values = k.value(QLatin1String("values")).toArray();
    QJsonObject v{{QLatin1String("name"), name}, {QLatin1String("type"), type}, {QLatin1String("data"), data}};
    int i = indexOfName(values, name);
    if (i < 0) {
      values.append(v);
    } else {
      // Like the Windows registry: the name keeps the spelling it was created with.
      v.insert(QLatin1String("name"), values[i].toObject().value(QLatin1String("name")));
      values[i] = v;
    }
    k.insert(QLatin1String("values"), values);
    return true;
  });
}

}  // namespace

QString Registry::defaultFilePath() {
  QString env = qEnvironmentVariable("ORVAN_REGISTRY");
  if (!env.isEmpty()) return env;
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QLatin1String("/.config");
  return base + QLatin1String("/Orvan/registry.json");
}

Registry Registry::user() { return Registry(defaultFilePath()); }

Registry::Registry(QString filePath) : file_(std::move(filePath)) {}

bool Registry::keyExists(const QString& key) const { return findKey(loadRoot(file_), splitPath(key)).has_value(); }

bool Registry::createKey(const QString& key) {
  if (keyExists(key)) return true;
  return modify(file_, key, true, [](QJsonObject&) { return true; });
}

bool Registry::deleteKey(const QString& key) {
  QStringList parts = splitPath(key);
  if (parts.isEmpty()) return false;
  QString last = parts.takeLast();
  bool found = false;
  bool ok = modify(file_, parts.join(QLatin1Char('\\')), false, [&](QJsonObject& parent) {
    QJsonArray keys = parent.value(QLatin1String("keys")).toArray();
    int i = indexOfName(keys, last);
    if (i < 0) return false;
    keys.removeAt(i);
    parent.insert(QLatin1String("keys"), keys);
    found = true;
    return true;
  });
  return ok && found;
}

QStringList Registry::subKeys(const QString& key) const {
  QStringList out;
  if (auto k = findKey(loadRoot(file_), splitPath(key)))
    for (const auto& v : k->value(QLatin1String("keys")).toArray())
      out << v.toObject().value(QLatin1String("name")).toString();
  return out;
}

QStringList Registry::valueNames(const QString& key) const {
  QStringList out;
  if (auto k = findKey(loadRoot(file_), splitPath(key)))
    for (const auto& v : k->value(QLatin1String("values")).toArray())
      out << v.toObject().value(QLatin1String("name")).toString();
  return out;
}

Registry::Type Registry::valueType(const QString& key, const QString& name) const {
  auto v = readValue(file_, key, name);
  if (!v) return Type::None;
  return v->value(QLatin1String("type")).toString() == QLatin1String("dword") ? Type::Integer : Type::String;
}

std::optional<QString> Registry::readString(const QString& key, const QString& name) const {
  auto v = readValue(file_, key, name);
  if (!v || v->value(QLatin1String("type")).toString() != QLatin1String("sz")) return std::nullopt;
  return v->value(QLatin1String("data")).toString();
}

std::optional<qint32> Registry::readInteger(const QString& key, const QString& name) const {
  auto v = readValue(file_, key, name);
  if (!v || v->value(QLatin1String("type")).toString() != QLatin1String("dword")) return std::nullopt;
  return static_cast<qint32>(v->value(QLatin1String("data")).toInteger());
}

bool Registry::writeString(const QString& key, const QString& name, const QString& value) {
  return putValue(file_, key, name, QStringLiteral("sz"), value);
}

bool Registry::writeInteger(const QString& key, const QString& name, qint32 value) {
  return putValue(file_, key, name, QStringLiteral("dword"), static_cast<qint64>(value));
}

bool Registry::deleteValue(const QString& key, const QString& name) {
  bool found = false;
  bool ok = modify(file_, key, false, [&](QJsonObject& k) {
    QJsonArray values = k.value(QLatin1String("values")).toArray();
    int i = indexOfName(values, name);
    if (i < 0) return false;
    values.removeAt(i);
    k.insert(QLatin1String("values"), values);
    found = true;
    return true;
  });
  return ok && found;
}

}  // namespace orvan
