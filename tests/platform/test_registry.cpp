#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "testsupport.h"

using namespace orvan;

class RegistryTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString file() const { return dir.path() + QStringLiteral("/reg/registry.json"); }
};

TEST_F(RegistryTest, TypedValuesSurviveAndKeepTheirType) {
  Registry r(file());
  EXPECT_FALSE(r.keyExists(QStringLiteral("Software\\Orvan\\Option")));
  ASSERT_TRUE(r.writeInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE"), 129));
  ASSERT_TRUE(r.writeString(QStringLiteral("Software\\Orvan\\FIRST"), QStringLiteral("STARTING"), QStringLiteral("NO")));
  ASSERT_TRUE(r.writeInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("NEG"), -5));

  Registry again(file());  // a second program reading the same file
  EXPECT_EQ(again.readInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE")), 129);
  EXPECT_EQ(again.readInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("NEG")), -5);
  EXPECT_EQ(again.readString(QStringLiteral("Software\\Orvan\\FIRST"), QStringLiteral("STARTING")), QStringLiteral("NO"));
  // A string is not read as an integer nor the other way round.
  EXPECT_FALSE(again.readString(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE")).has_value());
  EXPECT_FALSE(again.readInteger(QStringLiteral("Software\\Orvan\\FIRST"), QStringLiteral("STARTING")).has_value());
  EXPECT_EQ(again.valueType(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE")), Registry::Type::Integer);
  EXPECT_EQ(again.valueType(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("MISSING")), Registry::Type::None);
}

TEST_F(RegistryTest, PathsAndNamesIgnoreCaseAndSlashKind) {
  Registry r(file());
  r.writeString(QStringLiteral("Software\\Orvan.exe\\Tarsel32\\UserInfo"), QStringLiteral("LoginID"), QStringLiteral("abc"));
  EXPECT_EQ(r.readString(QStringLiteral("SOFTWARE\\orvan.EXE\\tarsel32\\userinfo"), QStringLiteral("loginid")),
            QStringLiteral("abc"));
  EXPECT_EQ(r.readString(QStringLiteral("Software/Orvan.exe/Tarsel32/UserInfo"), QStringLiteral("LOGINID")),
            QStringLiteral("abc"));
  // Writing under another spelling replaces the value instead of adding a twin.
  r.writeString(QStringLiteral("software\\orvan.exe\\tarsel32\\userinfo"), QStringLiteral("LOGINID"), QStringLiteral("xyz"));
  EXPECT_EQ(r.valueNames(QStringLiteral("Software\\Orvan.exe\\Tarsel32\\UserInfo")), QStringList{QStringLiteral("LoginID")});
  EXPECT_EQ(r.readString(QStringLiteral("Software\\Orvan.exe\\Tarsel32\\UserInfo"), QStringLiteral("LoginID")),
            QStringLiteral("xyz"));
}

TEST_F(RegistryTest, SubKeysComeInCreationOrderAndDeleteCleanly) {
  Registry r(file());
  for (const char* k : {"Zeta", "Alpha", "Mid"}) r.createKey(QStringLiteral("Software\\REPOLTGRADE\\") + QLatin1String(k));
  EXPECT_EQ(r.subKeys(QStringLiteral("Software\\REPOLTGRADE")),
            (QStringList{QStringLiteral("Zeta"), QStringLiteral("Alpha"), QStringLiteral("Mid")}));
  r.writeString(QStringLiteral("Software\\REPOLTGRADE\\Alpha"), QStringLiteral("V"), QStringLiteral("1"));
  EXPECT_TRUE(r.deleteKey(QStringLiteral("software\\repoltgrade\\ALPHA")));
  EXPECT_FALSE(r.deleteKey(QStringLiteral("Software\\REPOLTGRADE\\Alpha")));
  EXPECT_EQ(r.subKeys(QStringLiteral("Software\\REPOLTGRADE")), (QStringList{QStringLiteral("Zeta"), QStringLiteral("Mid")}));
  EXPECT_TRUE(r.deleteValue(QStringLiteral("Software\\REPOLTGRADE\\Zeta"), QStringLiteral("nothing")) == false);
}

TEST_F(RegistryTest, UnreadableFileReadsAsEmptyAndIsRewritten) {
  QDir().mkpath(dir.path() + QStringLiteral("/reg"));
  QFile f(file());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("{ not json");
  f.close();
  Registry r(file());
  EXPECT_FALSE(r.keyExists(QStringLiteral("Software")));
  EXPECT_TRUE(r.writeInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE"), 1));
  EXPECT_EQ(r.readInteger(QStringLiteral("Software\\Orvan\\Option"), QStringLiteral("VALUE")), 1);
}
