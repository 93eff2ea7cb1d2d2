#pragma once
// The hand-over to the installer: ask the upgrade client library whether
// new files are waiting, and when they are, start Repolt in the
// application directory so that it can replace the program once it has ended.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace orvan {

inline constexpr char kUpgradeProduct[] = "FB";

// The message for a result of StartUpgrade; empty for 1 (new files) and
// 2 (nothing now).
QString UpgradeResultMessage(int result);

// What LaunchUpgrade talks to; every member left empty takes the real one.
struct UpgradeLauncher {
  // StartUpgrade (or, for "upgrade now", StartUpgradeNow) of the bound
  // library, given CP949 strings. The bound library missing gives 0.
  std::function<int(const QByteArray& product, const QByteArray& loginId, bool now)> startUpgrade;
  // Starts a program detached; true when it runs.
  std::function<bool(const QString& program, const QStringList& arguments, const QString& workingDir)> startProgram;
  QString installer;       // default: "Repolt" beside the running program
  QString programFile;     // default: the running program's file name
  QString applicationDir;  // default: the application directory
};

// Loads the upgrade client library from beside the program (or the
// application directory); false when it is missing or lacks StartUpgrade.
bool BindUpgradeLibrary();

// Asks the library (product "FB", the login ID) and acts on its result:
// 1 starts the installer with the arguments "FB" and the program file in
// the application directory and returns true when it runs; any other
// result shows its message (none for 2) and returns false. `now` skips
// the schedule, for the user's "upgrade now".
bool LaunchUpgrade(const QString& loginId, bool now = false, const UpgradeLauncher& with = {});

// A successful launch ends the program at once with exit code 0, so that
// the installer can replace its files; nothing is asked or closed.
[[noreturn]] void EndProcessForUpgrade();

}  // namespace orvan
