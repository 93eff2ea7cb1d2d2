// The whole upgrade: a start of the program finds a newer version on the
// local upgrade source, the client library fetches it, the program hands
// over to the staged installer, which replaces the program and starts it
// again, now with the new version in its caption.
//
// The program is played by a copy of this test program whose build version
// mark is changed: run under the name "Orvan" it runs only the start-up
// part below, through the real upgrade commands.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/messages.h"
#include "app/paths.h"
#include "comm/ediconfig.h"
#include "platform/appdir.h"
#include "platform/inifile.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "upgrade/upgrade.h"

namespace orvan {
namespace {

// Decided before main: under the name "Orvan" only the program's part runs.
const bool kPlaysTheProgram = [] {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return false;
  buf[n] = 0;
  const char* slash = std::strrchr(buf, '/');
  if (std::strcmp(slash ? slash + 1 : buf, "Orvan") != 0) return false;
  ::setenv("GTEST_FILTER", "DISABLED_PlayedProgram.Start", 1);
  ::setenv("GTEST_ALSO_RUN_DISABLED_TESTS", "1", 1);
  return true;
}();

void appendLog(const QString& line) {
  QFile f(qEnvironmentVariable("ORVAN_HOME") + QStringLiteral("/run.log"));
  if (f.open(QIODevice::Append)) f.write((line + QLatin1Char('\n')).toUtf8());
}

TEST(DISABLED_PlayedProgram, Start) {
  if (!kPlaysTheProgram) GTEST_SKIP();
  InitPaths(ResolveApplicationDir(), QStringLiteral("Orvan"));
  const QString version = FileVersionText(ExecutablePath());
  appendLog(QStringLiteral("start %1 [%2]").arg(version, QCoreApplication::arguments().mid(1).join(QLatin1Char(' '))));
  if (UpgradeOnStartup()) {
    appendLog(QStringLiteral("handover ") + version);
    EndProcessForUpgrade();
  }
  QWidget main;
  main.setWindowTitle(ApplicationTitle() + QStringLiteral(" ") + version);
  main.show();
  QCoreApplication::processEvents();
  appendLog(QStringLiteral("caption ") + main.windowTitle());
  ::_exit(0);
}

// The build's version mark in a program file, as FileVersionText finds it.
qsizetype versionMarkAt(const QByteArray& data, QByteArray* version) {
  QByteArray marker("\x01ORVAN-FILE");
  marker += "-VERSION=";
  for (qsizetype at = data.indexOf(marker); at >= 0; at = data.indexOf(marker, at + 1)) {
    const qsizetype start = at + marker.size();
    const qsizetype end = data.indexOf('\0', start);
    if (end > start && end - start <= 32) {
      *version = data.mid(start, end - start);
      return start;
    }
  }
  return -1;
}

bool writeFile(const QString& path, const QByteArray& data, bool executable = false) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) return false;
  f.close();
  if (executable) f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
  return true;
}

class EnvGuard {
 public:
  void set(const char* name, const QByteArray& value) {
    saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv(name, value);
  }
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      if (it->wasSet)
        qputenv(it->name, it->value);
      else
        qunsetenv(it->name);
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool wasSet;
  };
  std::vector<Saved> saved_;
};

TEST(UpgradeEndToEnd, TheProgramIsReplacedAndStartsWithItsNewVersion) {
  // The staged folder sits beside the tests' folder in the build tree.
  QString stage = qEnvironmentVariable("ORVAN_STAGE_DIR");
  if (stage.isEmpty()) stage = QCoreApplication::applicationDirPath() + QStringLiteral("/../Orvan");
  ASSERT_TRUE(QFile::exists(stage + QStringLiteral("/Repolt"))) << "build Repolt";
  ASSERT_TRUE(QFile::exists(stage + QStringLiteral("/Zandor.so"))) << "build Zandor";

  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString app = tmp.path() + QStringLiteral("/app/");
  const QString server = tmp.path() + QStringLiteral("/server/");
  // A copy of the staged application folder.
  ASSERT_TRUE(QDir().mkpath(app));
  for (const QFileInfo& fi : QDir(stage).entryInfoList(QDir::Files))
    ASSERT_TRUE(QFile::copy(fi.absoluteFilePath(), app + fi.fileName())) << fi.fileName().toStdString();

  // Two builds of the program, told apart by their version mark alone.
  QFile self(QCoreApplication::applicationFilePath());
  ASSERT_TRUE(self.open(QIODevice::ReadOnly));
  const QByteArray image = self.readAll();
  QByteArray built;
  const qsizetype at = versionMarkAt(image, &built);
  ASSERT_GE(at, 0) << "this program carries no version mark";
  ASSERT_GE(built.size(), 7);
  auto withVersion = [&](int n, QByteArray* v) {
    *v = QByteArray("0.0.0.") + QByteArray::number(n).rightJustified(built.size() - 6, '0');
    QByteArray copy = image;
    copy.replace(at, v->size(), *v);
    return copy;
  };
  QByteArray v1, v2;
  const QByteArray oldProgram = withVersion(1, &v1);
  const QByteArray newProgram = withVersion(2, &v2);
  ASSERT_TRUE(writeFile(app + QStringLiteral("Orvan"), oldProgram, true));

  // The upgrade source offers the newer program.
  ASSERT_TRUE(writeFile(server + QStringLiteral("FB/Orvan"), newProgram));
  IniFile manifest(server + QStringLiteral("FB/MANIFEST.INI"));
  manifest.writeString(QStringLiteral("Setup.exe"), QStringLiteral("Ver"), QString::fromLatin1(v2));
  manifest.writeString(QStringLiteral("Setup.exe"), QStringLiteral("Files"), QStringLiteral("Orvan"));
  manifest.writeString(QStringLiteral("Files"), QStringLiteral("Orvan"),
                       QStringLiteral("%1,%2").arg(newProgram.size()).arg(QString::fromLatin1(
                           QCryptographicHash::hash(newProgram, QCryptographicHash::Sha256).toHex())));

  const QString registryFile = tmp.path() + QStringLiteral("/registry.json");
  Registry reg(registryFile);
  reg.writeString(kUpgradeKey, QStringLiteral("Interval1"), QStringLiteral("EXE"));
  reg.writeString(kUpgradeKey, QStringLiteral("Source"), server);

  EnvGuard env;
  env.set("ORVAN_HOME", app.toUtf8());
  env.set("ORVAN_REGISTRY", registryFile.toUtf8());
  env.set("ORVAN_UNATTENDED", "1");
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) env.set("QT_QPA_PLATFORM", "offscreen");

  QProcess first;
  first.setWorkingDirectory(tmp.path());
  first.setProcessChannelMode(QProcess::ForwardedChannels);
  first.start(app + QStringLiteral("Orvan"), {});
  ASSERT_TRUE(first.waitForFinished(60000));
  EXPECT_EQ(first.exitCode(), 0);

  QStringList log;
  for (int i = 0; i < 600; ++i) {
    QFile f(app + QStringLiteral("run.log"));
    if (f.open(QIODevice::ReadOnly)) log = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!log.isEmpty() && log.last().startsWith(QLatin1String("caption"))) break;
    QThread::msleep(100);
  }
  const QString o = QString::fromLatin1(v1), n = QString::fromLatin1(v2);
  EXPECT_EQ(log, (QStringList{QStringLiteral("start %1 []").arg(o), QStringLiteral("handover ") + o,
                              QStringLiteral("start %1 [UPGRADE]").arg(n),
                              QStringLiteral("caption ") + ApplicationTitle() + QStringLiteral(" ") + n}));

  QFile installed(app + QStringLiteral("Orvan"));
  ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
  EXPECT_TRUE(installed.readAll() == newProgram);
  EXPECT_TRUE(QFileInfo(app + QStringLiteral("Orvan")).isExecutable());
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("UpdateDt")), QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
  EXPECT_EQ(reg.readString(kUpgradeKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Ver")), n);
  EXPECT_TRUE(QDir(app + QStringLiteral("Upgrade")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
  QStringList left = QDir(app).entryList({QStringLiteral(".*repolt*")}, QDir::Files | QDir::Hidden);
  EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(' ')).toStdString();
}

}  // namespace
}  // namespace orvan
