// The upgrade client library through its C entry points: the schedule, the
// manifest of the upgrade source, the versions it compares and the files
// it leaves for the installer, from a local folder and over the network.
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/inifile.h"
#include "platform/registry.h"
#include "testsupport.h"
#include "zandor.h"

namespace orvan {
namespace {

const QString kKey = QStringLiteral("Software\\REPOLTGRADE\\FB");

QString today() { return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")); }

class ZandorTest : public test::AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    server = home() + QStringLiteral("server/");
    Registry reg = Registry::user();
    reg.writeString(kKey, QStringLiteral("Source"), server);
    reg.writeString(kKey, QStringLiteral("Interval1"), QStringLiteral("EXE"));
    reg.writeString(kKey, QStringLiteral("UpdateDt"), QStringLiteral("20000101"));
    reg.writeString(kKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Dir"), home());
    reg.writeString(kKey + QStringLiteral("\\Setup.exe"), QStringLiteral("Ver"), QStringLiteral("1.0.0.1"));
    reg.writeString(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Dir"), home());
    reg.writeString(kKey + QStringLiteral("\\Tarsel32.dll"), QStringLiteral("Ver"), QStringLiteral("1.0.0.0"));
  }

  // Puts a file on the upgrade source and lists it with its size and hash.
  void offerFile(const QString& name, const QByteArray& data) {
    const QString path = server + QStringLiteral("FB/") + name;
    QDir().mkpath(server + QStringLiteral("FB"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    manifest().writeString(QStringLiteral("Files"), name,
                           QStringLiteral("%1,%2").arg(data.size()).arg(QString::fromLatin1(
                               QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex())));
  }
  void offerComponent(const QString& component, const QString& ver, const QStringList& files) {
    QDir().mkpath(server + QStringLiteral("FB"));
    manifest().writeString(component, QStringLiteral("Ver"), ver);
    manifest().writeString(component, QStringLiteral("Files"), files.join(QLatin1Char(',')));
  }
  IniFile manifest() const { return IniFile(server + QStringLiteral("FB/MANIFEST.INI")); }
  // A newer program and a table.
  void offerNewProgram() {
    offerFile(QStringLiteral("Orvan"), "program 1.0.0.2");
    offerFile(QStringLiteral("BlankDb.bin"), "blank");
    offerComponent(QStringLiteral("Setup.exe"), QStringLiteral("1.0.0.2"), {QStringLiteral("Orvan"), QStringLiteral("BlankDb.bin")});
  }
  QStringList upgradeFolder() const {
    return QDir(home() + QStringLiteral("Upgrade")).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  }
  static int start(const char* login = "") { return StartUpgrade("FB", login); }

  QString server;
};

TEST_F(ZandorTest, NewerProgramIsFetchedWithItsInfoFile) {
  offerNewProgram();
  offerFile(QStringLiteral("Tarsel32.dll"), "same lib");
  offerComponent(QStringLiteral("Tarsel32.dll"), QStringLiteral("1.0.0.0"), {QStringLiteral("Tarsel32.dll")});
  writeFile(QStringLiteral("Upgrade/stale.txt"), "from an earlier run");
  writeFile(QStringLiteral("Upgrade/old/x"), "x");

  EXPECT_EQ(start("VAN01"), 1);
  EXPECT_EQ(upgradeFolder(), (QStringList{QStringLiteral("BlankDb.bin"), QStringLiteral("Orvan"), QStringLiteral("UPGRADE.INI")}));
  EXPECT_EQ(readFile(QStringLiteral("Upgrade/Orvan")), QByteArray("program 1.0.0.2"));
  IniFile info(home() + QStringLiteral("Upgrade/UPGRADE.INI"));
  EXPECT_EQ(info.readString(QStringLiteral("UPGRADE"), QStringLiteral("Product")), QStringLiteral("FB"));
  EXPECT_EQ(info.readString(QStringLiteral("UPGRADE"), QStringLiteral("LoginID")), QStringLiteral("VAN01"));
  EXPECT_EQ(info.readInteger(QStringLiteral("UPGRADE"), QStringLiteral("FileCount")), 2);
  EXPECT_EQ(info.readString(QStringLiteral("Components"), QStringLiteral("Setup.exe")), QStringLiteral("1.0.0.2"));
  EXPECT_FALSE(info.valueExists(QStringLiteral("Components"), QStringLiteral("Tarsel32.dll")));
  EXPECT_EQ(Registry::user().readString(kKey, QStringLiteral("CheckDt")), today());
}

TEST_F(ZandorTest, VersionsDecide) {
  struct Case {
    const char* offered;
    const char* component;
    int want;
  } cases[] = {
      {"1.0.0.1", "Setup.exe", 2},  // the installed one
      {"1.0.0.0", "Setup.exe", 2},  // older
      {"1.0.0.10", "Setup.exe", 1},
      {"0.0.0.1", "Kelvox.dll", 1},  // a component not installed yet
  };
  for (const Case& c : cases) {
    QFile::remove(server + QStringLiteral("FB/MANIFEST.INI"));
    offerFile(QStringLiteral("Orvan"), "program");
    offerComponent(QString::fromLatin1(c.component), QString::fromLatin1(c.offered), {QStringLiteral("Orvan")});
    EXPECT_EQ(start(), c.want) << c.component << " " << c.offered;
    EXPECT_EQ(upgradeFolder().size(), c.want == 1 ? 2 : 0) << c.component << " " << c.offered;
    QDir(home() + QStringLiteral("Upgrade")).removeRecursively();
  }
}

TEST_F(ZandorTest, TheScheduleComesFirst) {
  Registry reg = Registry::user();
  const QDate now = QDate::currentDate();
  const QString weekdayToday = QString::number(now.dayOfWeek() % 7 + 1);
  const QString weekdayTomorrow = QString::number(now.addDays(1).dayOfWeek() % 7 + 1);
  struct Case {
    QString i1, i2, updateDt, checkDt, failDt;
    int want;
  } cases[] = {
      // Not due: answered without the source, which does not exist here.
      {QString(), QString(), QStringLiteral("20000101"), QString(), QString(), 2},
      {QStringLiteral("WEEK"), weekdayToday, today(), QString(), QString(), 2},
      {QStringLiteral("WEEK"), weekdayToday, QStringLiteral("20000101"), today(), QString(), 2},
      {QStringLiteral("EXE"), QString(), today(), QString(), today(), 2},  // failed today: tomorrow again
      // Due: the missing source is reported.
      {QStringLiteral("WEEK"), weekdayToday, QStringLiteral("20000101"), QString(), QString(), 12},
      {QStringLiteral("WEEK"), weekdayTomorrow, now.addDays(-8).toString(QStringLiteral("yyyyMMdd")), QString(), QString(), 12},
      {QStringLiteral("MONTH"), QString::number(now.day()), now.addDays(-1).toString(QStringLiteral("yyyyMMdd")), QString(), QString(), 12},
      {QStringLiteral("EXE"), QString(), today(), today(), now.addDays(-1).toString(QStringLiteral("yyyyMMdd")), 12},
  };
  for (const Case& c : cases) {
    reg.writeString(kKey, QStringLiteral("Interval1"), c.i1);
    reg.writeString(kKey, QStringLiteral("Interval2"), c.i2);
    reg.writeString(kKey, QStringLiteral("UpdateDt"), c.updateDt);
    reg.writeString(kKey, QStringLiteral("CheckDt"), c.checkDt);
    reg.writeString(kKey, QStringLiteral("FailDt"), c.failDt);
    EXPECT_EQ(start(), c.want) << c.i1.toStdString() << " " << c.i2.toStdString() << " " << c.updateDt.toStdString();
    // "Upgrade now" looks whatever the schedule says.
    EXPECT_EQ(StartUpgradeNow("FB", ""), 12);
  }
  // A look that found nothing new counts for the schedule.
  offerNewProgram();
  offerComponent(QStringLiteral("Setup.exe"), QStringLiteral("1.0.0.1"), {QStringLiteral("Orvan")});
  reg.writeString(kKey, QStringLiteral("Interval1"), QStringLiteral("WEEK"));
  reg.writeString(kKey, QStringLiteral("Interval2"), weekdayToday);
  reg.writeString(kKey, QStringLiteral("UpdateDt"), QStringLiteral("20000101"));
  reg.writeString(kKey, QStringLiteral("CheckDt"), QString());
  reg.writeString(kKey, QStringLiteral("FailDt"), QString());
  EXPECT_EQ(start(), 2);
  EXPECT_EQ(reg.readString(kKey, QStringLiteral("CheckDt")), today());
  QDir(server).removeRecursively();
  EXPECT_EQ(start(), 2);  // not asked again today
}

TEST_F(ZandorTest, LoginIdsTheSourceAllows) {
  offerNewProgram();
  manifest().writeString(QStringLiteral("Upgrade"), QStringLiteral("LoginIDs"), QStringLiteral("VAN01, 홍길동"));
  EXPECT_EQ(start("VAN02"), 10);
  EXPECT_EQ(start(""), 10);
  EXPECT_TRUE(upgradeFolder().isEmpty());
  EXPECT_EQ(start("van01"), 1);
  EXPECT_EQ(StartUpgrade("FB", test::cp("홍길동").constData()), 1);
  EXPECT_EQ(StartUpgrade("", "VAN01"), 10);
}

TEST_F(ZandorTest, FailuresLeaveNothingForTheInstaller) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    int want;
  } cases[] = {
      {"source folder missing", [&] { QDir(server).removeRecursively(); }, 12},
      {"manifest missing", [&] { QFile::remove(server + QStringLiteral("FB/MANIFEST.INI")); }, 12},
      {"damaged file",
       [&] {
         QFile f(server + QStringLiteral("FB/Orvan"));
         f.open(QIODevice::WriteOnly);
         f.write("program 1.0.0.X");
       },
       11},
      {"shorter file",
       [&] {
         QFile f(server + QStringLiteral("FB/Orvan"));
         f.open(QIODevice::WriteOnly);
         f.write("program");
       },
       11},
      {"longer than announced",
       [&] {
         QFile f(server + QStringLiteral("FB/Orvan"));
         f.open(QIODevice::WriteOnly);
         f.write("program 1.0.0.2 and more");
       },
       14},
      {"file missing at the source", [&] { QFile::remove(server + QStringLiteral("FB/Orvan")); }, 17},
      {"file not described", [&] { manifest().deleteKey(QStringLiteral("Files"), QStringLiteral("Orvan")); }, 17},
      {"a name reaching outside",
       [&] { manifest().writeString(QStringLiteral("Setup.exe"), QStringLiteral("Files"), QStringLiteral("../Orvan")); }, 11},
      {"the info file's own name",
       [&] { manifest().writeString(QStringLiteral("Setup.exe"), QStringLiteral("Files"), QStringLiteral("upgrade.ini")); }, 11},
  };
  for (const Case& c : cases) {
    QDir(server).removeRecursively();
    offerNewProgram();
    writeFile(QStringLiteral("Upgrade/stale.txt"), "x");
    c.spoil();
    EXPECT_EQ(start(), c.want) << c.what;
    // Nothing of this attempt is left for the installer to find.
    for (const QString& n : upgradeFolder()) EXPECT_EQ(n, QStringLiteral("stale.txt")) << c.what;
  }
}

// The network source: a file:// URL and a local HTTP server through libcurl.
TEST_F(ZandorTest, NetworkSource) {
  offerNewProgram();
  Registry reg = Registry::user();
  reg.writeString(kKey, QStringLiteral("Source"), QStringLiteral("file://") + server);
  EXPECT_EQ(start(), 1);
  EXPECT_EQ(readFile(QStringLiteral("Upgrade/Orvan")), QByteArray("program 1.0.0.2"));

  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (python.isEmpty()) GTEST_SKIP() << "python3 for the HTTP server";
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
  const quint16 port = probe.serverPort();
  probe.close();
  QProcess http;
  http.start(python, {QStringLiteral("-m"), QStringLiteral("http.server"), QString::number(port), QStringLiteral("--bind"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), server});
  ASSERT_TRUE(http.waitForStarted());
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    up = s.waitForConnected(100);
    if (!up) QThread::msleep(50);
  }
  ASSERT_TRUE(up);
  const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
  reg.writeString(kKey, QStringLiteral("Source"), url);
  EXPECT_EQ(start(), 1);
  EXPECT_EQ(readFile(QStringLiteral("Upgrade/BlankDb.bin")), QByteArray("blank"));
  QFile::remove(server + QStringLiteral("FB/BlankDb.bin"));
  EXPECT_EQ(start(), 17);  // 404
  EXPECT_TRUE(upgradeFolder().isEmpty());
  http.kill();
  http.waitForFinished();
  EXPECT_EQ(start(), 12);  // nobody listening
}

}  // namespace
}  // namespace orvan
