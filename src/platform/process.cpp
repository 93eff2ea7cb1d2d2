#include "platform/process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace orvan {
namespace {
QString readExeLink(const QString& link) {
  QString target = QFile::symLinkTarget(link);
  if (target.endsWith(QLatin1String(" (deleted)"))) target.chop(10);
  return target;
}

QString normalised(const QString& path) {
  QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  return p.toUpper();
}
}  // namespace

QString ExecutablePath() {
  QString p = readExeLink(QStringLiteral("/proc/self/exe"));
  if (p.isEmpty() && QCoreApplication::instance()) p = QCoreApplication::applicationFilePath();
  return p;
}

QStringList RunningExecutables() {
  QStringList out;
  const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& pid : pids) {
    bool isPid = false;
    pid.toInt(&isPid);
    if (!isPid) continue;
    QString exe = readExeLink(QStringLiteral("/proc/") + pid + QStringLiteral("/exe"));
    if (!exe.isEmpty()) out << exe;
  }
  return out;
}

bool IsProcessRunning(const QString& path) {
  const QString want = normalised(path);
  for (const QString& exe : RunningExecutables())
    if (normalised(exe) == want) return true;
  return false;
}

bool IsSecondInstance() {
  const QString self = normalised(ExecutablePath());
  int n = 0;
  for (const QString& exe : RunningExecutables())
    if (normalised(exe) == self && ++n >= 2) return true;
  return false;
}

bool StartProgram(const QString& file, const QStringList& arguments) {
  QFileInfo fi(file);
  if (!fi.exists() || !fi.isExecutable()) return false;
  return QProcess::startDetached(fi.absoluteFilePath(), arguments, fi.absolutePath());
}

bool RunAndWait(const QString& file, const QStringList& arguments, const std::function<void()>& whileWaiting) {
  QFileInfo fi(file);
  if (!fi.exists() || !fi.isExecutable()) return false;
  QProcess proc;
  proc.setWorkingDirectory(fi.absolutePath());
  proc.setProcessChannelMode(QProcess::ForwardedChannels);
  proc.start(fi.absoluteFilePath(), arguments);
  if (!proc.waitForStarted(10000)) return false;
  while (!proc.waitForFinished(50))
    if (whileWaiting) whileWaiting();
  // A program that hands itself over to a copy of itself is still running.
  while (IsProcessRunning(fi.absoluteFilePath())) {
    if (whileWaiting) whileWaiting();
    QThread::msleep(50);
  }
  return true;
}

InstanceLock::InstanceLock(const QString& name) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/orvan-") + QString::number(getuid());
  QDir().mkpath(dir);
  lock_ = std::make_unique<QLockFile>(dir + QLatin1Char('/') + name + QStringLiteral(".lock"));
  lock_->setStaleLockTime(0);  // only a live holder counts
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock() { return lock_->tryLock(0); }
bool InstanceLock::isLocked() const { return lock_->isLocked(); }

}  // namespace orvan
