#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "app/files.h"
#include "app/paths.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::AppFolderTest;
using orvan::test::cp;

class PathsTest : public AppFolderTest {};

TEST_F(PathsTest, PathsHangOffTheApplicationDirectory) {
  const Paths& p = paths();
  EXPECT_EQ(p.applicationDir, home());
  EXPECT_EQ(p.dataDir, home() + QStringLiteral("Data/"));
  EXPECT_EQ(p.iniPath, home() + QStringLiteral("Orvan.ini"));
  EXPECT_EQ(p.sendDir, home() + QStringLiteral("Send/"));
  EXPECT_EQ(p.sendTempDir, home() + QStringLiteral("SendTemp/"));
  EXPECT_EQ(NoticeFilePath(), home() + QStringLiteral("Result/Notice.inf"));
  EXPECT_EQ(p.terminalProgram, home() + QStringLiteral("Lunaris/Lunaris"));
  PublishDirectories(QStringLiteral(" /x/send "), QStringLiteral("/x/recv/"), QStringLiteral("/r"), QStringLiteral("/s"));
  EXPECT_EQ(paths().sendDir, QStringLiteral("/x/send/"));
  EXPECT_EQ(paths().recvDir, QStringLiteral("/x/recv/"));
}

TEST_F(PathsTest, PasswordIsStoredComplementedAndReadBack) {
  struct Case {
    QString password;
  } cases[] = {{QStringLiteral("abc123")}, {QStringLiteral("비밀1")}, {QString()}};
  for (const auto& c : cases) {
    WriteProgramPassword(c.password);
    EXPECT_EQ(ReadProgramPassword(), c.password);
  }
  WriteProgramPassword(QStringLiteral("ab"));
  EXPECT_EQ(IniFile(paths().iniPath).readRaw(QStringLiteral("General"), QStringLiteral("Password")), QByteArray("\x9e\x9d"));
}

TEST_F(PathsTest, StartupSwitchesAreReadFromTheIni) {
  writeFile(QStringLiteral("Orvan.ini"), "[General]\r\nJoheungNumber=1\r\nUseNewCmsLayout=0\r\nPeopleLocalOnly=1\r\n");
  InitPaths(home());
  EXPECT_TRUE(flags().joheungNumber);
  EXPECT_TRUE(flags().peopleLocalOnly);
  EXPECT_FALSE(flags().useNewCmsLayout);
  EXPECT_FALSE(flags().radezuName);
  WriteIniSwitch(QStringLiteral("RadezuName"), true);
  EXPECT_TRUE(ReadIniSwitch(QStringLiteral("RadezuName")));
}

TEST_F(PathsTest, OldIniMovesOverTheNewOneKeepingThePassword) {
  WriteProgramPassword(QStringLiteral("keep"));
  writeFile(QStringLiteral("Data/Orvan.ini"), "[General]\r\nPassword=zzz\r\nJoheungNumber=1\r\n");
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(home());
  InitPaths(home());
  QDir::setCurrent(cwd);
  EXPECT_FALSE(QFile::exists(home() + QStringLiteral("Data/Orvan.ini")));
  EXPECT_EQ(ReadProgramPassword(), QStringLiteral("keep"));
  EXPECT_TRUE(flags().joheungNumber);  // every other value comes from the old file
}

class FilesTest : public AppFolderTest {};

TEST_F(FilesTest, ListCountAndClearSeeOnlyPlainFiles) {
  writeFile(QStringLiteral("In/b.txt"), "b");
  writeFile(QStringLiteral("In/a.TXT"), "a");
  writeFile(QStringLiteral("In/c.dat"), "c");
  writeFile(QStringLiteral("In/.hidden"), "h");
  QDir().mkpath(home() + QStringLiteral("In/sub"));
  QStringList list{QStringLiteral("stale")};
  EXPECT_EQ(ListFiles(home() + QStringLiteral("In"), QStringLiteral("*.txt"), list), 2);
  EXPECT_EQ(list, (QStringList{QStringLiteral("a.TXT"), QStringLiteral("b.txt")}));
  EXPECT_EQ(CountFiles(home() + QStringLiteral("In")), 3);
  EXPECT_TRUE(ClearFolder(home() + QStringLiteral("In")));
  EXPECT_EQ(CountFiles(home() + QStringLiteral("In")), 0);
  EXPECT_TRUE(QDir(home() + QStringLiteral("In/sub")).exists());
}

TEST_F(FilesTest, CopyAndMoveWithAndWithoutStamp) {
  ScopedClock clock(QDateTime(QDate(2026, 12, 11), QTime(13, 5, 9)));
  writeFile(QStringLiteral("Send/FILE1"), "one");
  writeFile(QStringLiteral("Send/FILE2"), "two");
  writeFile(QStringLiteral("Old/FILE1"), "previous");
  EXPECT_TRUE(CopyFiles(home() + QStringLiteral("Send"), home() + QStringLiteral("Old"), QStringLiteral("*.*"), false, false));
  EXPECT_EQ(readFile(QStringLiteral("Old/FILE1")), QByteArray("one"));  // overwritten
  EXPECT_EQ(CountFiles(home() + QStringLiteral("Send")), 2);
  EXPECT_TRUE(CopyFiles(home() + QStringLiteral("Send"), home() + QStringLiteral("Old"), QStringLiteral("*.*"), true, true));
  EXPECT_EQ(readFile(QStringLiteral("Old/FILE2_20261211130509")), QByteArray("two"));
  EXPECT_EQ(CountFiles(home() + QStringLiteral("Send")), 0);
}

TEST_F(FilesTest, FailedCopyKeepsTheSourceAndReports) {
  writeFile(QStringLiteral("Recv/R1"), "data");
  // The target folder is missing: nothing can be written there.
  EXPECT_FALSE(CopyFiles(home() + QStringLiteral("Recv"), home() + QStringLiteral("NoSuch/Old"), QStringLiteral("*.*"), true, false));
  EXPECT_EQ(readFile(QStringLiteral("Recv/R1")), QByteArray("data"));
  EXPECT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].kind, MsgKind::Error);
}

TEST_F(FilesTest, WriteLogAppendsToTheMonthlyFile) {
  ScopedClock clock(QDateTime(QDate(2026, 12, 11), QTime(8, 7, 6)));
  WriteLog(QStringLiteral("자료삭제 3 건"));
  WriteLog(QStringLiteral("실패"), true);
  EXPECT_EQ(readFile(QStringLiteral("202612.log")),
            cp("20261211 08:07     --> 자료삭제 3 건\r\n20261211 08:07 Err --> 실패\r\n"));
}
