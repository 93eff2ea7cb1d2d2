#include "app/files.h"

#include "app/messages.h"
#include "app/paths.h"
#include "platform/appdir.h"
#include "platform/clock.h"
#include "platform/cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvan {
namespace {
QStringList plainFiles(const QString& folder, const QString& mask) {
  QDir dir(folder);
  QString m = mask;
  if (m == QLatin1String("*.*")) m = QStringLiteral("*");
  dir.setNameFilters({m});
  dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  return dir.entryList();
}
}  // namespace

int ListFiles(const QString& folder, const QString& mask, QStringList& list) {
  list = plainFiles(folder, mask);
  return static_cast<int>(list.size());
}

int CountFiles(const QString& folder) { return static_cast<int>(plainFiles(folder, QStringLiteral("*.*")).size()); }

bool ClearFolder(const QString& folder) {
  const QString dir = WithSeparator(folder);
  QStringList names = plainFiles(dir, QStringLiteral("*.*"));
  for (auto it = names.crbegin(); it != names.crend(); ++it) {
    QFile f(dir + *it);
    if (!f.remove()) {
      ReportError(QStringLiteral("%1 파일을 삭제할 수 없습니다. (%2)").arg(f.fileName(), f.errorString()));
      return false;
    }
  }
  return true;
}

bool CopyFiles(const QString& source, const QString& target, const QString& mask, bool move, bool stamp) {
  const QString src = WithSeparator(source);
  const QString dst = WithSeparator(target);
  QStringList names = plainFiles(src, mask);
  const QString suffix = stamp ? QStringLiteral("_") + Now().toString(QStringLiteral("yyyyMMddHHmmss")) : QString();
  for (auto it = names.crbegin(); it != names.crend(); ++it) {
    const QString from = src + *it;
    const QString to = dst + *it + suffix;
    // Copy beside the target first and rename over it: an interrupted copy
    // leaves the old target and the source as they were.
    const QString partial = to + QStringLiteral(".part");
    QFile::remove(partial);
    QFile in(from);
    if (!in.copy(partial)) {
      ReportError(QStringLiteral("%1 파일을 %2(으)로 복사할 수 없습니다. (%3)").arg(from, to, in.errorString()));
      QFile::remove(partial);
      return false;
    }
    QFile::remove(to);
    if (!QFile::rename(partial, to)) {
      ReportError(QStringLiteral("%1 파일을 만들 수 없습니다.").arg(to));
      QFile::remove(partial);
      return false;
    }
    if (move && !QFile::remove(from)) {
      ReportError(QStringLiteral("%1 파일을 삭제할 수 없습니다.").arg(from));
      return false;
    }
  }
  return true;
}

void WriteLog(const QString& text, bool isError) {
  QFile f(paths().logFile());
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  QString line = Now().toString(QStringLiteral("yyyyMMdd HH:mm")) +
                 (isError ? QStringLiteral(" Err --> ") : QStringLiteral("     --> ")) + text;
  f.write(cp949::encode(line));
  f.write("\r\n");
}

}  // namespace orvan
