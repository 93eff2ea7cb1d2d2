#include "app/program.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include "app/TfmMain.h"
#include "app/guiservices.h"
#include "app/messages.h"
#include "app/paths.h"
#include "app/pictures.h"
#include "app/userinput.h"
#include "comm/ediconfig.h"
#include "db/fbdm.h"
#include "platform/appdir.h"
#include "platform/process.h"

namespace orvan {
namespace {

// The splash: no border, on top, centred, the bundle's "Splash" picture.
class Splash : public QLabel {
 public:
  Splash() : QLabel(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("Splash"));
    PictureBundle bundle;
    QImage img;
    if (bundle.load(paths().applicationDir)) img = bundle.picture(QStringLiteral("Splash"));
    if (img.isNull()) {
      InfoBox(kPictureBundleMissing);
      resize(480, 300);
    } else {
      setPixmap(QPixmap::fromImage(img));
      resize(img.size());
    }
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
  }
};

bool keepAsking(const QString& text) { return AskButtons(text, Ok | Cancel, Cancel) == Ok; }

}  // namespace

int RunOrvan(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvan"));
  QApplication::setApplicationVersion(QStringLiteral(ORVAN_VERSION));
  InitPaths(ResolveApplicationDir(), QStringLiteral("Orvan"));
  InstallGuiServices();
  InitProgramSettings();

  // Another copy past its start-up holds the lock: end without a word.
  InstanceLock instance(QStringLiteral("Orvan"));
  if (!instance.tryLock()) return 0;

  const QString dataManager = paths().applicationDir + QStringLiteral("Velmarc");
  while (IsProcessRunning(dataManager)) {
    if (!keepAsking(QStringLiteral("이 프로그램은 자료관리 프로그램과 같이 사용할 수 없습니다.\r\r자료관리 "
                                   "프로그램을 종료시켜 주십시오.")))
      return 0;
  }
  while (IsSecondInstance()) {
    if (!keepAsking(QStringLiteral("이 프로그램이 중복 실행되었습니다.\r\r하나만 제외하고 모두 종료시켜 주십시오.")))
      return 0;
  }
  if (!ConfirmProgramPassword()) return 0;

  auto* splash = new Splash;
  splash->show();
  splash->repaint();
  QCoreApplication::processEvents();

  QStringList args = app.arguments().mid(1);
  TFbDM dm(paths().dataDir);
  TfmMain main(&dm, args);
  main.FormCreate();
  splash->hide();
  delete splash;
  if (QScreen* screen = QGuiApplication::primaryScreen())
    main.move(screen->availableGeometry().center() - main.rect().center());
  main.show();
  return app.exec();
}

}  // namespace orvan
