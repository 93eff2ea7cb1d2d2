#pragma once
// Windows-style ini files (program settings, the terminal program's ini):
// CP949 text, CR LF lines, names compared without case. Every call reads the
// file and every write rewrites it, keeping the sections, keys and comments
// it does not touch.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvan {

class IniFile {
 public:
  explicit IniFile(QString path);
  const QString& path() const { return path_; }

  QString readString(const QString& section, const QString& key, const QString& def = {}) const;
  bool writeString(const QString& section, const QString& key, const QString& value);
  // Non-zero integer reads true; a missing key reads `def`.
  bool readBool(const QString& section, const QString& key, bool def = false) const;
  bool writeBool(const QString& section, const QString& key, bool value);
  int readInteger(const QString& section, const QString& key, int def = 0) const;
  bool writeInteger(const QString& section, const QString& key, int value);

  // The value's bytes as stored, for values that are not text (the password).
  QByteArray readRaw(const QString& section, const QString& key, const QByteArray& def = {}) const;
  bool writeRaw(const QString& section, const QString& key, const QByteArray& value);

  bool valueExists(const QString& section, const QString& key) const;
  bool sectionExists(const QString& section) const;
  QStringList sections() const;
  QStringList keys(const QString& section) const;
  bool deleteKey(const QString& section, const QString& key);
  bool eraseSection(const QString& section);

 private:
  QString path_;
};

}  // namespace orvan
