// The hand-over to the installer: every result of the client library, the
// installer's start, and the start-up and menu commands around it.
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include "app/messages.h"
#include "comm/ediconfig.h"
#include "platform/cp949.h"
#include "platform/registry.h"
#include "testsupport.h"
#include "upgrade/upgrade.h"

namespace orvan {
namespace {

using test::AppFolderTest;

// Records what LaunchUpgrade asked and started.
struct Recorder {
  int result = 2;
  bool startOk = true;
  QByteArray product, login;
  bool now = false;
  int calls = 0;
  QString program;
  QStringList args;
  QString workDir;
  int starts = 0;

  UpgradeLauncher launcher() {
    UpgradeLauncher l;
    l.startUpgrade = [this](const QByteArray& p, const QByteArray& id, bool n) {
      ++calls;
      product = p;
      login = id;
      now = n;
      return result;
    };
    l.startProgram = [this](const QString& prog, const QStringList& a, const QString& wd) {
      ++starts;
      program = prog;
      args = a;
      workDir = wd;
      return startOk;
    };
    return l;
  }
};

class LaunchUpgradeTest : public AppFolderTest {};

TEST_F(LaunchUpgradeTest, EveryResultOfTheLibrary) {
  struct Case {
    int result;
    const char* message;  // nullptr: none
  } cases[] = {
      {2, nullptr},
      {10, "사용자 정보가 맞지 않습니다."},
      {11, "네트웍 장애에 의한 패킷 에러 발생."},
      {12, "서버에 접속할수 없습니다."},
      {13, "서버와의 통신이 중단되었습니다."},
      {14, "소켓 버퍼 OverFlow."},
      {15, "사용자가 업그레이드을 종료 하였습니다."},
      {16, "업데이트 정보 파일을 생성하지 못하였습니다."},
      {17, "업데이트 파일의 수가 맞지 않습니다."},
      {0, "업그레이드 도중 알수 없는 오류가 발생하였습니다."},
      {3, "업그레이드 도중 알수 없는 오류가 발생하였습니다."},
      {9, "업그레이드 도중 알수 없는 오류가 발생하였습니다."},
      {-1, "업그레이드 도중 알수 없는 오류가 발생하였습니다."},
  };
  for (const Case& c : cases) {
    prompter_.clear();
    Recorder r;
    r.result = c.result;
    EXPECT_FALSE(LaunchUpgrade(QStringLiteral("ID1"), false, r.launcher())) << c.result;
    EXPECT_EQ(r.starts, 0) << c.result;
    if (c.message) {
      ASSERT_EQ(prompter_.shown().size(), 1u) << c.result;
      EXPECT_EQ(prompter_.shown()[0].text, QString::fromUtf8(c.message));
      EXPECT_EQ(prompter_.shown()[0].kind, MsgKind::Plain);
      EXPECT_EQ(prompter_.shown()[0].caption, ApplicationTitle());
    } else {
      EXPECT_TRUE(prompter_.shown().empty()) << c.result;
    }
  }
}

TEST_F(LaunchUpgradeTest, NewFilesStartTheInstallerInTheApplicationDirectory) {
  Recorder r;
  r.result = 1;
  UpgradeLauncher l = r.launcher();
  l.installer = QStringLiteral("/opt/x/Repolt");
  l.programFile = QStringLiteral("Orvan");
  EXPECT_TRUE(LaunchUpgrade(QStringLiteral("홍길동"), false, l));
  EXPECT_EQ(r.product, QByteArray("FB"));
  EXPECT_EQ(r.login, test::cp("홍길동"));
  EXPECT_FALSE(r.now);
  EXPECT_EQ(r.program, QStringLiteral("/opt/x/Repolt"));
  EXPECT_EQ(r.args, (QStringList{QStringLiteral("FB"), QStringLiteral("Orvan")}));
  EXPECT_EQ(r.workDir, home());
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(LaunchUpgradeTest, AnInstallerThatCannotStartKeepsTheProgramRunning) {
  Recorder r;
  r.result = 1;
  r.startOk = false;
  EXPECT_FALSE(LaunchUpgrade(QString(), false, r.launcher()));
  EXPECT_EQ(r.starts, 1);

  // The real start: no installer file at that place.
  UpgradeLauncher l = r.launcher();
  l.startProgram = nullptr;
  l.installer = home() + QStringLiteral("Repolt");
  EXPECT_FALSE(LaunchUpgrade(QString(), false, l));
  // A file that is not executable does not start either.
  writeFile(QStringLiteral("Repolt"), "#!/bin/sh\n");
  EXPECT_FALSE(LaunchUpgrade(QString(), false, l));
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(LaunchUpgradeTest, TheRealInstallerStartIsDetachedInTheApplicationDirectory) {
  // A stand-in installer that writes down where and how it ran.
  writeFile(QStringLiteral("bin/Repolt"), "#!/bin/sh\npwd > \"$ORVAN_HOME/ran.txt\"\necho \"$@\" >> \"$ORVAN_HOME/ran.txt\"\n");
  QFile::setPermissions(home() + QStringLiteral("bin/Repolt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  Recorder r;
  r.result = 1;
  UpgradeLauncher l = r.launcher();
  l.startProgram = nullptr;
  l.installer = home() + QStringLiteral("bin/Repolt");
  l.programFile = QStringLiteral("Orvan");
  EXPECT_TRUE(LaunchUpgrade(QString(), false, l));
  for (int i = 0; i < 100 && !QFile::exists(home() + QStringLiteral("ran.txt")); ++i) QThread::msleep(50);
  QThread::msleep(100);
  const QStringList lines = QString::fromUtf8(readFile(QStringLiteral("ran.txt"))).split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(home()).canonicalPath());
  EXPECT_EQ(lines[1], QStringLiteral("FB Orvan"));
}

TEST_F(LaunchUpgradeTest, StartupCheckWritesTheVersionsAndAsksWithTheLoginId) {
  Registry reg = Registry::user();
  reg.writeString(EdiUserInfoKey(), QStringLiteral("LoginID"), QStringLiteral("VAN01"));
  reg.writeString(kUpgradeKey, QStringLiteral("Interval1"), QStringLiteral("WEEK"));
  reg.writeString(kUpgradeKey, QStringLiteral("Interval2"), QStringLiteral("3"));
  Recorder r;
  r.result = 2;
  EXPECT_FALSE(UpgradeOnStartup(r.launcher()));
  EXPECT_EQ(r.login, QByteArray("VAN01"));
  EXPECT_FALSE(r.now);
  EXPECT_EQ(UpgradeInterval().Interval1, QStringLiteral("WEEK"));
  EXPECT_EQ(UpgradeInterval().Interval2, QStringLiteral("3"));
  EXPECT_EQ(reg.readString(kUpgradeKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Dir")), home());
  EXPECT_TRUE(reg.valueExists(kUpgradeKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Ver")));
  EXPECT_TRUE(prompter_.shown().empty());

  r.result = 1;
  EXPECT_TRUE(UpgradeOnStartup(r.launcher()));
  EXPECT_EQ(r.starts, 1);
}

TEST_F(LaunchUpgradeTest, SettingsResults) {
  Registry reg = Registry::user();
  Recorder r;
  r.result = 1;

  // 1: the dialog's texts are saved and the last upgrade day reset.
  UpgradeInterval() = {QStringLiteral("MONTH"), QStringLiteral("15"), QStringLiteral("20240101")};
  EXPECT_FALSE(ApplyUpgradeSettingsResult(1, r.launcher()));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("Interval1")), QStringLiteral("MONTH"));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("Interval2")), QStringLiteral("15"));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("UpdateDt")), QStringLiteral("20000101"));
  EXPECT_EQ(r.calls, 0);

  // 2 (and a closed window): nothing.
  EXPECT_FALSE(ApplyUpgradeSettingsResult(2, r.launcher()));
  EXPECT_FALSE(ApplyUpgradeSettingsResult(0, r.launcher()));
  EXPECT_EQ(r.calls, 0);
  EXPECT_FALSE(reg.keyExists(kUpgradeKey + QStringLiteral("\\Setup.exe")));

  // 5: the versions are written and the library asked outside its schedule.
  EXPECT_TRUE(ApplyUpgradeSettingsResult(5, r.launcher()));
  EXPECT_EQ(r.calls, 1);
  EXPECT_TRUE(r.now);
  EXPECT_TRUE(reg.keyExists(kUpgradeKey + QStringLiteral("\\Setup.exe")));
  r.result = 12;
  EXPECT_FALSE(ApplyUpgradeSettingsResult(5, r.launcher()));
  EXPECT_EQ(prompter_.lastText(), QStringLiteral("서버에 접속할수 없습니다."));
}

TEST_F(LaunchUpgradeTest, AMissingLibraryIsAnUnknownError) {
  // The test program has no upgrade library beside it.
  if (QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Zandor.so"))) GTEST_SKIP();
  Recorder r;
  UpgradeLauncher l = r.launcher();
  l.startUpgrade = nullptr;
  EXPECT_FALSE(LaunchUpgrade(QString(), false, l));
  EXPECT_EQ(prompter_.lastText(), QStringLiteral("업그레이드 도중 알수 없는 오류가 발생하였습니다."));
}

}  // namespace
}  // namespace orvan
