#pragma once
// Program start, launch-and-wait and the running-program tests.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;

namespace orvan {

// Full path of this program's executable.
QString ExecutablePath();
// Executable paths of every running process this user may see.
QStringList RunningExecutables();
// True when a running process's executable equals the path (compared in capitals).
bool IsProcessRunning(const QString& path);
// True when at least two running processes share this program's executable.
bool IsSecondInstance();

// Starts the program in its own directory and does not wait.
bool StartProgram(const QString& file, const QStringList& arguments);
// Starts the program in its own directory and waits until it has ended,
// calling `whileWaiting` (repainting, processing events) meanwhile.
// False at once when it cannot be started.
bool RunAndWait(const QString& file, const QStringList& arguments,
                const std::function<void()>& whileWaiting = {});

// One holder per user and name: a second copy of the program finds it taken.
class InstanceLock {
 public:
  explicit InstanceLock(const QString& name);
  ~InstanceLock();
  bool tryLock();
  bool isLocked() const;

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace orvan
