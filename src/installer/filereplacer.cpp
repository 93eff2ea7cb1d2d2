#include "installer/filereplacer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace orvan {
namespace {

bool syncFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool renameOver(const QString& from, const QString& to) {
  return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A hard link keeps the old file without copying it; a copy where links fail.
bool keepCopy(const QString& target, const QString& backup) {
  QFile::remove(backup);
  if (::link(QFile::encodeName(target).constData(), QFile::encodeName(backup).constData()) == 0) return true;
  return QFile::copy(target, backup);
}

}  // namespace

bool IsProgramExtension(const QString& extension) {
  return extension.isEmpty() || extension == QLatin1String("exe") || extension == QLatin1String("dll") ||
         extension == QLatin1String("so");
}

bool FileReplacer::place(const QString& source, const QString& folder, const QString& name) {
  QString dir = folder;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  if (!QDir().mkpath(dir)) return false;
  const QString target = dir + name;
  const QString temp = dir + QLatin1Char('.') + name + QStringLiteral(".repolt-new");
  QFile::remove(temp);
  if (!QFile::copy(source, temp)) return false;

  const QFileInfo old(target);
  const bool existed = old.exists();
  if (existed) {
    QFile::setPermissions(temp, old.permissions());
  } else {
    const int dot = name.indexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    if (IsProgramExtension(ext))
      QFile::setPermissions(temp, QFile::permissions(temp) | QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup |
                                      QFile::ExeOther);
  }
  if (!syncFile(temp)) {
    QFile::remove(temp);
    return false;
  }

  bool known = false;
  for (const Placed& p : placed_)
    if (p.target == target) known = true;
  if (!known) {
    QString backup;
    if (existed) {
      backup = dir + QLatin1Char('.') + name + QStringLiteral(".repolt-old");
      if (!keepCopy(target, backup)) {
        QFile::remove(temp);
        return false;
      }
    }
    placed_.push_back({target, backup});
  }
  if (!renameOver(temp, target)) {
    QFile::remove(temp);
    return false;
  }
  return true;
}

void FileReplacer::commit() {
  for (const Placed& p : placed_)
    if (!p.backup.isEmpty()) QFile::remove(p.backup);
  placed_.clear();
}

void FileReplacer::rollback() {
  for (auto it = placed_.rbegin(); it != placed_.rend(); ++it) {
    if (it->backup.isEmpty())
      QFile::remove(it->target);
    else
      renameOver(it->backup, it->target);
  }
  placed_.clear();
}

}  // namespace orvan
