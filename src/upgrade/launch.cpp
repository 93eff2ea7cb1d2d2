#include "upgrade/launch.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>

#include <unistd.h>

#include "app/messages.h"
#include "app/paths.h"
#include "platform/appdir.h"
#include "platform/cp949.h"
#include "platform/process.h"

namespace orvan {
namespace {

using StartUpgradeFn = int32_t (*)(const char*, const char*);

struct Bound {
  StartUpgradeFn scheduled = nullptr;
  StartUpgradeFn now = nullptr;
};

Bound& bound() {
  static Bound b;
  return b;
}

QString programDir() { return QFileInfo(ExecutablePath()).absolutePath(); }

QString applicationDir() {
  const QString dir = paths().applicationDir;
  return dir.isEmpty() ? ResolveApplicationDir() : dir;
}

int callBound(const QByteArray& product, const QByteArray& login, bool now) {
  if (!bound().scheduled && !BindUpgradeLibrary()) return 0;
  StartUpgradeFn fn = now && bound().now ? bound().now : bound().scheduled;
  return fn(product.constData(), login.constData());
}

bool startDetached(const QString& program, const QStringList& args, const QString& workingDir) {
  const QFileInfo fi(program);
  if (!fi.exists() || !fi.isExecutable()) return false;
  return QProcess::startDetached(fi.absoluteFilePath(), args, workingDir);
}

}  // namespace

QString UpgradeResultMessage(int result) {
  switch (result) {
    case 1:
    case 2: return {};
    case 10: return QStringLiteral("사용자 정보가 맞지 않습니다.");
    case 11: return QStringLiteral("네트웍 장애에 의한 패킷 에러 발생.");
    case 12: return QStringLiteral("서버에 접속할수 없습니다.");
    case 13: return QStringLiteral("서버와의 통신이 중단되었습니다.");
    case 14: return QStringLiteral("소켓 버퍼 OverFlow.");
    case 15: return QStringLiteral("사용자가 업그레이드을 종료 하였습니다.");
    case 16: return QStringLiteral("업데이트 정보 파일을 생성하지 못하였습니다.");
    case 17: return QStringLiteral("업데이트 파일의 수가 맞지 않습니다.");
    default: return QStringLiteral("업그레이드 도중 알수 없는 오류가 발생하였습니다.");
  }
}

bool BindUpgradeLibrary() {
  if (bound().scheduled) return true;
  for (const QString& dir : QStringList{programDir() + QLatin1Char('/'), applicationDir()}) {
    // Stays loaded for the life of the program, as a load-time binding would.
    QLibrary lib(dir + QStringLiteral("Zandor.so"));
    if (!lib.load()) continue;
    auto fn = reinterpret_cast<StartUpgradeFn>(lib.resolve("StartUpgrade"));
    if (!fn) {
      lib.unload();
      continue;
    }
    bound().scheduled = fn;
    bound().now = reinterpret_cast<StartUpgradeFn>(lib.resolve("StartUpgradeNow"));
    return true;
  }
  return false;
}

bool LaunchUpgrade(const QString& loginId, bool now, const UpgradeLauncher& with) {
  const auto ask = with.startUpgrade ? with.startUpgrade : callBound;
  const int result = ask(QByteArray(kUpgradeProduct), cp949::encode(loginId), now);
  if (result != 1) {
    const QString text = UpgradeResultMessage(result);
    if (!text.isEmpty()) PlainBox(text);
    return false;
  }
  const QString appDir = WithSeparator(with.applicationDir.isEmpty() ? applicationDir() : with.applicationDir);
  const QString installer = with.installer.isEmpty() ? programDir() + QStringLiteral("/Repolt") : with.installer;
  // The installer restarts the program by this name in the application
  // directory; a program living elsewhere is named by its full path.
  QString program = with.programFile;
  if (program.isEmpty()) {
    const QFileInfo exe(ExecutablePath());
    program = QDir(exe.absolutePath()) == QDir(appDir) ? exe.fileName() : exe.absoluteFilePath();
  }
  const auto start = with.startProgram ? with.startProgram : startDetached;
  return start(installer, {QString::fromLatin1(kUpgradeProduct), program}, appDir);
}

void EndProcessForUpgrade() { ::_exit(0); }

}  // namespace orvan
