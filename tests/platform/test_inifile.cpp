#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/inifile.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::cp;

class IniFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path() const { return dir.path() + QStringLiteral("/Orvan.ini"); }
  QByteArray bytes() const {
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void write(const QByteArray& b) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
  }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  IniFile ini(path());
  EXPECT_FALSE(ini.readBool(QStringLiteral("General"), QStringLiteral("JoheungNumber")));
  EXPECT_TRUE(ini.readBool(QStringLiteral("General"), QStringLiteral("X"), true));
  EXPECT_EQ(ini.readString(QStringLiteral("General"), QStringLiteral("Y"), QStringLiteral("d")), QStringLiteral("d"));
  ASSERT_TRUE(ini.writeBool(QStringLiteral("General"), QStringLiteral("JoheungNumber"), true));
  EXPECT_EQ(bytes(), QByteArray("[General]\r\nJoheungNumber=1\r\n"));
}

TEST_F(IniFileTest, EditsKeepEverythingElseAndUseCp949) {
  write("; kept comment\r\n[Other]\r\nKeep=this\r\n\r\n[general]\r\nPassword=xyz\r\n\r\n[Last]\r\nA=1\r\n");
  IniFile ini(path());
  ini.writeString(QStringLiteral("General"), QStringLiteral("Name"), QStringLiteral("홍길동"));
  ini.writeString(QStringLiteral("GENERAL"), QStringLiteral("password"), QStringLiteral("new"));
  EXPECT_EQ(bytes(), QByteArray("; kept comment\r\n[Other]\r\nKeep=this\r\n\r\n[general]\r\npassword=new\r\nName=") +
                         cp("홍길동") + QByteArray("\r\n\r\n[Last]\r\nA=1\r\n"));
  EXPECT_EQ(ini.readString(QStringLiteral("general"), QStringLiteral("NAME")), QStringLiteral("홍길동"));
  EXPECT_EQ(ini.keys(QStringLiteral("General")), (QStringList{QStringLiteral("password"), QStringLiteral("Name")}));
  EXPECT_EQ(ini.sections(), (QStringList{QStringLiteral("Other"), QStringLiteral("general"), QStringLiteral("Last")}));
}

TEST_F(IniFileTest, RawValuesKeepNonTextBytes) {
  IniFile ini(path());
  const QByteArray raw("\x9e\x9d\x9c");
  ini.writeRaw(QStringLiteral("General"), QStringLiteral("Password"), raw);
  EXPECT_EQ(ini.readRaw(QStringLiteral("General"), QStringLiteral("Password")), raw);
}

TEST_F(IniFileTest, IntegersAndBooleansReadLikeTheWindowsOnes) {
  write("[S]\r\nA=0\r\nB=7\r\nC=abc\r\nD=$1F\r\n");
  IniFile ini(path());
  EXPECT_FALSE(ini.readBool(QStringLiteral("S"), QStringLiteral("A"), true));
  EXPECT_TRUE(ini.readBool(QStringLiteral("S"), QStringLiteral("B")));
  EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("C"), 42), 42);
  EXPECT_EQ(ini.readInteger(QStringLiteral("S"), QStringLiteral("D")), 31);
  ini.deleteKey(QStringLiteral("S"), QStringLiteral("B"));
  ini.eraseSection(QStringLiteral("nothing"));
  EXPECT_FALSE(ini.valueExists(QStringLiteral("S"), QStringLiteral("B")));
  EXPECT_TRUE(ini.valueExists(QStringLiteral("s"), QStringLiteral("a")));
}
