#include "platform/inifile.h"

#include "platform/cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace orvan {
namespace {

struct Lines {
  QList<QByteArray> lines;  // without line ends
};

Lines load(const QString& path) {
  Lines l;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return l;
  QByteArray all = f.readAll();
  for (QByteArray line : all.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    l.lines << line;
  }
  if (!l.lines.isEmpty() && l.lines.last().isEmpty()) l.lines.removeLast();
  return l;
}

bool save(const QString& path, const Lines& l) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  for (const QByteArray& line : l.lines) {
    f.write(line);
    f.write("\r\n");
  }
  return f.commit();
}

std::optional<QByteArray> sectionName(const QByteArray& line) {
  QByteArray t = line.trimmed();
  if (t.startsWith('[') && t.endsWith(']')) return t.mid(1, t.size() - 2).trimmed();
  return std::nullopt;
}

bool sameName(const QByteArray& a, const QString& b) {
  return cp949::decode(a).compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the section header line, or -1.
int findSection(const Lines& l, const QString& section) {
  for (int i = 0; i < l.lines.size(); ++i)
    if (auto s = sectionName(l.lines[i]); s && sameName(*s, section)) return i;
  return -1;
}

// One past the last line of the section that starts at `header`.
int sectionEnd(const Lines& l, int header) {
  int i = header + 1;
  while (i < l.lines.size() && !sectionName(l.lines[i])) ++i;
  return i;
}

bool isComment(const QByteArray& line) {
  QByteArray t = line.trimmed();
  return t.isEmpty() || t.startsWith(';');
}

int findKey(const Lines& l, int header, const QString& key) {
  int end = sectionEnd(l, header);
  for (int i = header + 1; i < end; ++i) {
    if (isComment(l.lines[i])) continue;
    int eq = l.lines[i].indexOf('=');
    if (eq > 0 && sameName(l.lines[i].left(eq).trimmed(), key)) return i;
  }
  return -1;
}

std::optional<QByteArray> lookup(const QString& path, const QString& section, const QString& key) {
  Lines l = load(path);
  int h = findSection(l, section);
  if (h < 0) return std::nullopt;
  int k = findKey(l, h, key);
  if (k < 0) return std::nullopt;
  const QByteArray& line = l.lines[k];
  return line.mid(line.indexOf('=') + 1).trimmed();
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QByteArray IniFile::readRaw(const QString& section, const QString& key, const QByteArray& def) const {
  return lookup(path_, section, key).value_or(def);
}

bool IniFile::writeRaw(const QString& section, const QString& key, const QByteArray& value) {
  Lines l = load(path_);
  QByteArray entry = cp949::encode(key) + '=' + value;
  int h = findSection(l, section);
  if (h < 0) {
    if (!l.lines.isEmpty() && !l.lines.last().trimmed().isEmpty()) l.lines << QByteArray();
    l.lines << ('[' + cp949::encode(section) + ']') << entry;
  } else if (int k = findKey(l, h, key); k >= 0) {
    l.lines[k] = entry;
  } else {
    // After the section's last key, before any blank lines that close it.
    int at = sectionEnd(l, h);
    while (at > h + 1 && l.lines[at - 1].trimmed().isEmpty()) --at;
    l.lines.insert(at, entry);
  }
  return save(path_, l);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
  auto v = lookup(path_, section, key);
  return v ? cp949::decode(*v) : def;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
  return writeRaw(section, key, cp949::encode(value));
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
  auto v = lookup(path_, section, key);
  if (!v) return def;
  bool ok = false;
  int n = v->startsWith('$') ? v->mid(1).toInt(&ok, 16) : v->toInt(&ok, 10);
  return ok ? n : def;
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value) {
  return writeRaw(section, key, QByteArray::number(value));
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value) {
  return writeRaw(section, key, value ? "1" : "0");
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
  return lookup(path_, section, key).has_value();
}

bool IniFile::sectionExists(const QString& section) const { return findSection(load(path_), section) >= 0; }

QStringList IniFile::sections() const {
  QStringList out;
  for (const QByteArray& line : load(path_).lines)
    if (auto s = sectionName(line)) out << cp949::decode(*s);
  return out;
}

QStringList IniFile::keys(const QString& section) const {
  QStringList out;
  Lines l = load(path_);
  int h = findSection(l, section);
  if (h < 0) return out;
  int end = sectionEnd(l, h);
  for (int i = h + 1; i < end; ++i) {
    if (isComment(l.lines[i])) continue;
    int eq = l.lines[i].indexOf('=');
    if (eq > 0) out << cp949::decode(l.lines[i].left(eq).trimmed());
  }
  return out;
}

bool IniFile::deleteKey(const QString& section, const QString& key) {
  Lines l = load(path_);
  int h = findSection(l, section);
  if (h < 0) return true;
  int k = findKey(l, h, key);
  if (k < 0) return true;
  l.lines.removeAt(k);
  return save(path_, l);
}

bool IniFile::eraseSection(const QString& section) {
  Lines l = load(path_);
  int h = findSection(l, section);
  if (h < 0) return true;
  l.lines.erase(l.lines.begin() + h, l.lines.begin() + sectionEnd(l, h));
  return save(path_, l);
}

}  // namespace orvan
