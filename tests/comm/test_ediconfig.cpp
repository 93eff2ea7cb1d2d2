// The communication settings: registry layout and defaults, start-up,
// directory publishing, the scrambled password and the upgrade values.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app/paths.h"
#include "comm/ediconfig.h"
#include "comm/edilib.h"
#include "platform/registry.h"
#include "testsupport.h"

namespace orvan {
namespace {

class EdiConfigTest : public test::AppFolderTest {
 protected:
  Registry reg() const { return Registry::user(); }
  QString comm() const { return EdiCommKey(); }
  QString user() const { return EdiUserInfoKey(); }
  void setUser(const QString& name, const QString& value) { reg().writeString(user(), name, value); }
};

TEST_F(EdiConfigTest, FirstStartWritesBothKeysWithTheDefaultsAndCreatesTheDirectories) {
  InitEdiConfig();

  const QList<QPair<QString, QString>> commValues = {
      {"Connect1", "01421망"}, {"Connect2", "DNS망"}, {"Phone1", "01421"},     {"Phone2", "01420"},
      {"ModemInit", "atz"},    {"Port", "COM1"},      {"Protocol", "Zmodem"}, {"Speed", "38400"}};
  for (const auto& [name, value] : commValues) EXPECT_EQ(reg().readString(comm(), name), value) << name.toStdString();
  const QList<QPair<QString, QString>> userValues = {{"LoginID", ""},
                                                     {"Password", ""},
                                                     {"SendDir", home() + "Send"},
                                                     {"RecvDir", home() + "Recv"},
                                                     {"ResultDir", home() + "Result"},
                                                     {"ScriptDir", home() + "Script"}};
  for (const auto& [name, value] : userValues) EXPECT_EQ(reg().readString(user(), name), value) << name.toStdString();
  const QList<QPair<QString, int>> flags = {{"DeleteCheck", 1},    {"AppendCheck", 1}, {"PasswordCheck", 0},
                                            {"ErrorCheck", 0},     {"CompressCheck", 0}, {"ResultCheck", 1},
                                            {"HeaderCheck", 0},    {"HeaderValCheck", 1}, {"MessageCheck", 1}};
  for (const auto& [name, value] : flags) EXPECT_EQ(reg().readInteger(user(), name), value) << name.toStdString();

  for (const char* dir : {"Send", "Recv", "Result"}) EXPECT_TRUE(QDir(home() + dir).exists()) << dir;
}

TEST_F(EdiConfigTest, StartUpDefaultsOnlyWhatIsMissing) {
  // Only the Comm key: the user's line settings survive the missing UserInfo key.
  reg().writeString(comm(), "Phone1", "0212345");
  InitEdiConfig();
  EXPECT_EQ(reg().readString(comm(), "Phone1"), QString("0212345"));
  EXPECT_EQ(reg().readString(comm(), "Port"), QString("COM1"));
  EXPECT_EQ(reg().readString(user(), "SendDir"), home() + "Send");

  // Only the UserInfo key: the login survives the missing Comm key.
  ASSERT_TRUE(reg().deleteKey(comm()));
  setUser("LoginID", "ORV001");
  reg().writeInteger(user(), "HeaderCheck", 1);
  InitEdiConfig();
  EXPECT_EQ(reg().readString(user(), "LoginID"), QString("ORV001"));
  EXPECT_EQ(reg().readInteger(user(), "HeaderCheck"), 1);
  EXPECT_EQ(reg().readString(comm(), "Phone1"), QString("01421"));
}

TEST_F(EdiConfigTest, ReadingFollowsTheKeysThatExist) {
  TEdiConfig config;
  config.LoginID = "KEEP";
  EXPECT_FALSE(ReadEdiConfig(config));
  EXPECT_EQ(config.LoginID, QString("KEEP"));  // untouched without the Comm key

  reg().writeString(comm(), "Speed", "9600");
  EXPECT_FALSE(ReadEdiConfig(config));
  EXPECT_EQ(config.Speed, QString("9600"));
  EXPECT_EQ(config.Port, QString("COM1"));     // a missing value reads as its default
  EXPECT_EQ(config.LoginID, QString("KEEP"));  // only the Comm fields were copied

  TEdiConfig changed;
  EdiConfigDefaults(changed);
  changed.Connect1 = "테스트망";
  changed.LoginID = "ID0001";
  changed.Password = ScramblePassword("pw");
  changed.RecvDir = home() + "In";
  changed.DeleteCheck = false;
  changed.MessageCheck = false;
  changed.HeaderCheck = true;
  ASSERT_TRUE(WriteEdiConfig(changed));
  TEdiConfig back;
  ASSERT_TRUE(ReadEdiConfig(back));
  EXPECT_EQ(back, changed);
  EXPECT_EQ(ReadEdiLoginID(), QString("ID0001"));
}

struct PublishCase {
  const char* name;
  QString value;     // "~" stands for the application folder
  QString expected;  // the published send directory
};

TEST_F(EdiConfigTest, PublishedDirectoriesEndInExactlyOneSeparator) {
  const PublishCase cases[] = {
      {"already ends in one", "~Out/", "~Out/"},
      {"blanks around it", "  ~Out  ", "~Out/"},
      {"doubled separator", "~Out//", "~Out/"},
      {"empty takes the default", "", "~Send/"},
      {"blank takes the default", "   ", "~Send/"},
      {"relative hangs off the application folder", "Outgoing", "~Outgoing/"},
  };
  InitEdiConfig();
  for (const PublishCase& c : cases) {
    SCOPED_TRACE(c.name);
    QString value = c.value;
    value.replace("~", home());
    setUser("SendDir", value);
    EXPECT_TRUE(ApplyEdiConfig());
    QString expected = c.expected;
    expected.replace("~", home());
    EXPECT_EQ(paths().sendDir, expected);
    EXPECT_TRUE(QDir(expected + "Old").exists());
    if (value.trimmed().isEmpty()) EXPECT_EQ(reg().readString(user(), "SendDir"), home() + "Send");
  }
  EXPECT_EQ(paths().recvDir, home() + "Recv/");
  EXPECT_TRUE(QDir(home() + "Recv/Old").exists());
  EXPECT_EQ(paths().resultDir, home() + "Result/");
  EXPECT_EQ(paths().scriptDir, home() + "Script/");
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(EdiConfigTest, DirectoriesThatWouldBeEmptiedDangerouslyAreRefused) {
  struct Case {
    const char* name;
    const char* value;  // "~" stands for the application folder
    const char* field;
  };
  const Case cases[] = {
      {"file-system root", "/", "RecvDir"},
      {"application folder", "~", "RecvDir"},
      {"application folder with separator", "~/", "SendDir"},
      {"above the application folder", "~..", "ResultDir"},
      {"data folder", "~Data", "RecvDir"},
      {"send staging folder", "~SendTemp", "SendDir"},
      {"same as the receive directory", "~Recv", "SendDir"},
      {"same as the send directory", "~Send/", "ResultDir"},
  };
  InitEdiConfig();
  ASSERT_TRUE(ApplyEdiConfig());
  const Paths before = paths();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.clear();
    QString value = QString::fromUtf8(c.value);
    value.replace("~", home());
    setUser(c.field, value);
    EXPECT_FALSE(ApplyEdiConfig());
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].kind, MsgKind::Warning);
    EXPECT_TRUE(prompter_.lastText().contains("사용할 수 없습니다")) << prompter_.lastText().toStdString();
    EXPECT_EQ(paths().sendDir, before.sendDir);
    EXPECT_EQ(paths().recvDir, before.recvDir);
    EXPECT_EQ(paths().resultDir, before.resultDir);
    TEdiConfig defaults;
    EdiConfigDefaults(defaults);
    setUser(c.field, c.field == QString("SendDir") ? defaults.SendDir
                     : c.field == QString("RecvDir") ? defaults.RecvDir
                                                     : defaults.ResultDir);
  }
  EXPECT_FALSE(QDir(home() + "Data/Old").exists());
  EXPECT_FALSE(QDir(home() + "Old").exists());
}

TEST_F(EdiConfigTest, ApplyPublishesTheLoginAndTheBatchDefaults) {
  InitEdiConfig();
  setUser("LoginID", "VAN0042");
  ASSERT_TRUE(ApplyEdiConfig());
  EXPECT_EQ(PublishedLoginID(), QString("VAN0042"));
  EXPECT_EQ(PublishedVanCode(), QString("VELTA"));
  EXPECT_EQ(PublishedReTransfer(), 1);

  // Without the settings nothing changes.
  reg().deleteKey(user());
  EXPECT_FALSE(ApplyEdiConfig());
  EXPECT_EQ(PublishedLoginID(), QString("VAN0042"));
}

TEST_F(EdiConfigTest, StartUpClearsTheLastTransportResult) {
  SetEdiLibraryDirectory(home() + "nowhere");
  EdiSend();
  ASSERT_NE(LastEdiResult(), 0);
  InitProgramSettings();
  EXPECT_EQ(LastEdiOperation(), 0);
  EXPECT_EQ(LastEdiResult(), 0);
  SetEdiLibraryDirectory({});
}

TEST(UnscramblePassword, UndoesTheLibrarysScrambling) {
  struct Case {
    const char* name;
    QByteArray stored;
    QByteArray expected;
  };
  QByteArray withZero("a");
  withZero.append(char(11));  // 11 - (2 + 9) = 0
  withZero.append("c");
  QByteArray wraps;
  wraps.append(char(5));  // 5 - 10 wraps to 251
  const Case cases[] = {
      {"the documented example", "abc", "WWW"},
      {"cut at the first byte 0", withZero, "W"},
      {"empty", "", ""},
      {"modulo 256", wraps, QByteArray(1, char(251))},
  };
  for (const Case& c : cases) EXPECT_EQ(UnscramblePassword(c.stored), c.expected) << c.name;
  // Byte 9 never becomes 0 in the first 255 positions (9 - (i + 9) = 0 only at i = 256).
  const QByteArray longest = UnscramblePassword(QByteArray(300, char(9)));
  EXPECT_EQ(longest.size(), 255);
  EXPECT_EQ(static_cast<unsigned char>(longest[0]), 255u);  // 9 - 10 wraps

  // The stored text holds one byte per character, as the library writes it.
  const QByteArray password = test::cp("비밀pw9");
  const QString stored = ScramblePassword(password);
  EXPECT_EQ(UnscramblePassword(stored), password);
  EXPECT_EQ(UnscramblePassword(QString("abc")), QByteArray("WWW"));
}

TEST_F(EdiConfigTest, ComTypeIsMinusOneWhenAbsent) {
  EXPECT_EQ(ReadComType(), -1);
  EXPECT_TRUE(reg().keyExists(comm()));  // opened with creation
  reg().writeInteger(comm(), "COM-TYPE", 0);
  EXPECT_EQ(ReadComType(), 0);
  reg().writeInteger(comm(), "COM-TYPE", 2);
  EXPECT_EQ(ReadComType(), 2);
}

TEST_F(EdiConfigTest, AppTypeCodeIsWrittenOnlyWhenAbsent) {
  EnsureAppTypeCode();
  EXPECT_FALSE(reg().keyExists(user()));  // no key, nothing created

  InitEdiConfig();
  EnsureAppTypeCode();
  EXPECT_EQ(reg().readString(user(), "AppTypeCode"), QString("QTX"));

  setUser("AppTypeCode", "ABC");
  EnsureAppTypeCode();
  EXPECT_EQ(reg().readString(user(), "AppTypeCode"), QString("ABC"));
}

TEST_F(EdiConfigTest, UpgradeIntervalsRoundTripAndAMissingKeyEmptiesThem) {
  TUpgradeInterval held{"7", "30", "20240101"};
  EXPECT_FALSE(LoadUpgradeInterval(held));
  EXPECT_EQ(held.Interval1, QString());
  EXPECT_EQ(held.UpdateDt, QString());

  ASSERT_TRUE(SaveUpgradeInterval({"3", "14", "ignored"}));
  EXPECT_EQ(reg().readString(kUpgradeKey, "UpdateDt"), QString("20000101"));
  TUpgradeInterval loaded;
  ASSERT_TRUE(LoadUpgradeInterval(loaded));
  EXPECT_EQ(loaded.Interval1, QString("3"));
  EXPECT_EQ(loaded.Interval2, QString("14"));
  EXPECT_EQ(loaded.UpdateDt, QString("20000101"));

  reg().deleteValue(kUpgradeKey, "Interval2");
  TUpgradeInterval partly{"x", "kept", "y"};
  ASSERT_TRUE(LoadUpgradeInterval(partly));
  EXPECT_EQ(partly.Interval1, QString("3"));
  EXPECT_EQ(partly.Interval2, QString("kept"));
}

TEST_F(EdiConfigTest, VersionsOfTheProgramAndTheLibraryGoUnderTheUpgradeKey) {
  const QString staged = qEnvironmentVariable("ORVAN_STAGE_DIR", QCoreApplication::applicationDirPath() + "/../Orvan");
  ASSERT_TRUE(QFile::copy(staged + "/" + EdiLibraryFileName(), home() + EdiLibraryFileName()));
  EXPECT_EQ(FileVersionText(home() + EdiLibraryFileName()), QString("1.0.0.0"));
  writeFile("plain.bin", QByteArray("no marker here\0\x01ORVAN", 21));
  EXPECT_EQ(FileVersionText(home() + "plain.bin"), QString());
  EXPECT_EQ(FileVersionText(home() + "missing.bin"), QString());

  ASSERT_TRUE(WriteUpgradeVersions());
  EXPECT_EQ(reg().readString(kUpgradeKey + "\\Setup.exe", "Dir"), home());
  // The test program links the settings code and so carries the marker too.
  EXPECT_EQ(reg().readString(kUpgradeKey + "\\Setup.exe", "Ver"), QString("1.0.0.0"));
  EXPECT_EQ(reg().readString(kUpgradeKey + "\\Tarsel32.dll", "Dir"), home());
  EXPECT_EQ(reg().readString(kUpgradeKey + "\\Tarsel32.dll", "Ver"), QString("1.0.0.0"));
}

}  // namespace
}  // namespace orvan
