#include "client.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "platform/inifile.h"
#include "platform/registry.h"
#include "source.h"
#include "upgrade/schedule.h"

namespace zandor {
namespace {

using orvan::IniFile;
using orvan::Registry;

constexpr qint64 kManifestLimit = 1 << 20;

QString productKey(const QString& product) { return QStringLiteral("Software\\REPOLTGRADE\\") + product; }

struct Offered {
  QString name;
  qint64 size = -1;
  QByteArray sha256;  // hex, lower case
};

int fromFetch(Fetch f, int notFound) {
  switch (f) {
    case Fetch::Ok: return 0;
    case Fetch::NotFound: return notFound;
    case Fetch::Unreachable: return Unreachable;
    case Fetch::Interrupted: return BrokenOff;
    case Fetch::TooLarge: return Overflow;
    case Fetch::WriteFailed: return BrokenOff;
  }
  return BrokenOff;
}

// The installer places files by their bare names; a name that could reach
// outside the upgrade folder, or that the installer skips, marks a bad manifest.
bool plainName(const QString& n) {
  return !n.isEmpty() && !n.contains(QLatin1Char('/')) && !n.contains(QLatin1Char('\\')) &&
         !n.contains(QLatin1String("..")) && n != QLatin1String(".") &&
         n.compare(QLatin1String("UPGRADE.INI"), Qt::CaseInsensitive) != 0 &&
         n.compare(QLatin1String("MANIFEST.INI"), Qt::CaseInsensitive) != 0;
}

// Empties the upgrade folder, so that the installer never finds a partial
// or stale set.
void clearFolder(const QString& dir) {
  QDir d(dir);
  for (const QFileInfo& fi : d.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    if (fi.isDir() && !fi.isSymLink())
      QDir(fi.absoluteFilePath()).removeRecursively();
    else
      QFile::remove(fi.absoluteFilePath());
  }
}

int fetchFile(UpgradeSource& src, const QString& product, const Offered& f, const QString& dir) {
  const QString part = dir + f.name + QStringLiteral(".part");
  QFile out(part);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return BrokenOff;
  const int rc = fromFetch(src.fetch(product, f.name, out, f.size), CountMismatch);
  out.close();
  if (rc != 0) return rc;
  if (!out.open(QIODevice::ReadOnly)) return BrokenOff;
  QCryptographicHash h(QCryptographicHash::Sha256);
  h.addData(&out);
  const qint64 got = out.size();
  out.close();
  if (got != f.size || h.result().toHex() != f.sha256) return Damaged;
  QFile::remove(dir + f.name);
  return QFile::rename(part, dir + f.name) ? 0 : BrokenOff;
}

}  // namespace

QString SourceLocation(const QString& product) {
  const auto configured = Registry::user().readString(productKey(product), QStringLiteral("Source"));
  if (configured && !configured->trimmed().isEmpty()) return configured->trimmed();
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Orvan/UpgradeServer");
}

int RunUpgrade(const Request& r) {
  const QString product = r.product.trimmed().toUpper();
  if (product.isEmpty() || !plainName(product)) return UserRefused;
  Registry reg = Registry::user();
  const QString key = productKey(product);
  const auto text = [&](const char* name) {
    return reg.readString(key, QString::fromLatin1(name)).value_or(QString());
  };
  if (!r.ignoreSchedule) {
    const auto schedule = orvan::UpgradeSchedule::parse(text("Interval1"), text("Interval2"));
    if (!orvan::UpgradeDue(schedule, text("UpdateDt"), text("CheckDt"), r.today)) return NothingNow;
    // The installer could not put today's files in place; starting over at
    // every start of the program would only repeat that until tomorrow.
    if (text("FailDt").trimmed() == r.today.toString(QStringLiteral("yyyyMMdd"))) return NothingNow;
  }

  auto source = MakeSource(SourceLocation(product));
  QTemporaryFile manifestFile;
  if (!manifestFile.open()) return BrokenOff;
  if (int rc = fromFetch(source->fetch(product, QStringLiteral("MANIFEST.INI"), manifestFile, kManifestLimit),
                         Unreachable))
    return rc;
  manifestFile.close();
  const IniFile manifest(manifestFile.fileName());

  const QString allowed = manifest.readString(QStringLiteral("Upgrade"), QStringLiteral("LoginIDs")).trimmed();
  if (!allowed.isEmpty()) {
    bool listed = false;
    for (const QString& id : allowed.split(QLatin1Char(','), Qt::SkipEmptyParts))
      if (id.trimmed().compare(r.loginId.trimmed(), Qt::CaseInsensitive) == 0 && !r.loginId.trimmed().isEmpty())
        listed = true;
    if (!listed) return UserRefused;
  }

  // Every component the source offers in a newer version than installed
  // brings its files; a component unknown here counts as not installed.
  QStringList names;
  QStringList newer;
  for (const QString& section : manifest.sections()) {
    if (section.compare(QLatin1String("Upgrade"), Qt::CaseInsensitive) == 0 ||
        section.compare(QLatin1String("Files"), Qt::CaseInsensitive) == 0)
      continue;
    const QString offered = manifest.readString(section, QStringLiteral("Ver"));
    const QString installed = reg.readString(key + QLatin1Char('\\') + section, QStringLiteral("Ver")).value_or(QString());
    if (orvan::CompareVersions(offered, installed) <= 0) continue;
    newer << section + QLatin1Char('=') + offered;
    for (const QString& n : manifest.readString(section, QStringLiteral("Files")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const QString t = n.trimmed();
      if (!names.contains(t, Qt::CaseInsensitive)) names << t;
    }
  }
  reg.writeString(key, QStringLiteral("CheckDt"), r.today.toString(QStringLiteral("yyyyMMdd")));
  if (newer.isEmpty()) return NothingNow;

  std::vector<Offered> files;
  for (const QString& n : names) {
    if (!plainName(n)) return Damaged;
    const QStringList spec = manifest.readString(QStringLiteral("Files"), n).split(QLatin1Char(','));
    bool ok = false;
    Offered f{n, spec.value(0).trimmed().toLongLong(&ok), spec.value(1).trimmed().toLower().toLatin1()};
    if (!ok || f.size < 0 || f.sha256.size() != 64) return CountMismatch;
    files.push_back(f);
  }
  if (files.empty()) return CountMismatch;

  const QString dir = r.applicationDir + QStringLiteral("Upgrade/");
  if (!QDir().mkpath(dir)) return NoInfoFile;
  clearFolder(dir);
  for (const Offered& f : files) {
    if (int rc = fetchFile(*source, product, f, dir)) {
      clearFolder(dir);
      return rc;
    }
  }

  IniFile info(dir + QStringLiteral("UPGRADE.INI"));
  bool written = info.writeString(QStringLiteral("UPGRADE"), QStringLiteral("Product"), product) &&
                 info.writeString(QStringLiteral("UPGRADE"), QStringLiteral("LoginID"), r.loginId) &&
                 info.writeString(QStringLiteral("UPGRADE"), QStringLiteral("Date"), r.today.toString(QStringLiteral("yyyyMMdd"))) &&
                 info.writeInteger(QStringLiteral("UPGRADE"), QStringLiteral("FileCount"), int(files.size()));
  for (const QString& c : newer)
    written = written && info.writeString(QStringLiteral("Components"), c.section(QLatin1Char('='), 0, 0), c.section(QLatin1Char('='), 1));
  for (size_t i = 0; i < files.size(); ++i)
    written = written && info.writeString(QStringLiteral("Files"), QString::number(i + 1), files[i].name);
  if (!written) {
    clearFolder(dir);
    return NoInfoFile;
  }

  const int present = int(QDir(dir).entryList(QDir::Files | QDir::Hidden).size()) - 1;
  if (present != int(files.size())) {
    clearFolder(dir);
    return CountMismatch;
  }
  return NewFiles;
}

}  // namespace zandor
