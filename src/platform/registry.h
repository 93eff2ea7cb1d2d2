#pragma once
// The current user's registry: keys such as "Software\Orvan\Option" holding
// typed values. One JSON file shared by Orvan, Repolt and the libraries;
// every operation reads it afresh and every change rewrites it atomically
// under a lock, so several programs may use it at once.
#include <QString>
#include <QStringList>
#include <optional>

namespace orvan {

class Registry {
 public:
  enum class Type { None, String, Integer };

  // The file of $ORVAN_REGISTRY, or $XDG_CONFIG_HOME/Orvan/registry.json.
  static QString defaultFilePath();
  // The registry of the current user (the default file, resolved per call so
  // that a test may point ORVAN_REGISTRY elsewhere).
  static Registry user();

  explicit Registry(QString filePath);
  const QString& filePath() const { return file_; }

  // Key paths use "\" (a "/" is read as one too) and compare without case.
  bool keyExists(const QString& key) const;
  bool createKey(const QString& key);
  bool deleteKey(const QString& key);
  QStringList subKeys(const QString& key) const;  // in creation order
  QStringList valueNames(const QString& key) const;

  Type valueType(const QString& key, const QString& name) const;
  bool valueExists(const QString& key, const QString& name) const { return valueType(key, name) != Type::None; }
  // Empty when the value is missing or of the other type.
  std::optional<QString> readString(const QString& key, const QString& name) const;
  std::optional<qint32> readInteger(const QString& key, const QString& name) const;
  // Writing creates the key path when it is missing.
  bool writeString(const QString& key, const QString& name, const QString& value);
  bool writeInteger(const QString& key, const QString& name, qint32 value);
  bool deleteValue(const QString& key, const QString& name);

 private:
  QString file_;
};

}  // namespace orvan
