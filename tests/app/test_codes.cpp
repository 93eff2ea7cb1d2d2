#include <gtest/gtest.h>

#include "app/codes.h"
#include "platform/clock.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::AppFolderTest;
using orvan::test::cp;

TEST(Codes, FindCorCodePadsWithZerosUpToElevenBytes) {
  QStringList cor{QStringLiteral("0000000123"), QStringLiteral("00045"), QStringLiteral("99")};
  cor.sort();
  struct Case {
    QString code;
    bool found;
    QString after;
  } cases[] = {
      {QStringLiteral("123"), true, QStringLiteral("0000000123")},
      {QStringLiteral("45"), true, QStringLiteral("00045")},
      {QStringLiteral("99"), true, QStringLiteral("99")},
      {QStringLiteral("7"), false, QStringLiteral("7")},
  };
  for (auto c : cases) {
    QString code = c.code;
    EXPECT_EQ(FindCorCode(code, cor), c.found) << c.code.toStdString();
    EXPECT_EQ(code, c.after);
  }
}

TEST(Codes, ValidateImportFieldByKind) {
  ScopedClock clock(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
  const QStringList cor{QStringLiteral("0000000123")};
  QStringList banks{QStringLiteral("04"), QStringLiteral("07"), QStringLiteral("11"), QStringLiteral("20")};
  banks.sort();
  struct Case {
    int kind;
    QString text;
    bool ok;
    QString out;
  } cases[] = {
      {0, QStringLiteral(" 홍길동 "), true, QStringLiteral("홍길동")},
      {0, QString(), false, QString()},
      {0, QString(26, QChar(0xAC00)), false, QString(26, QChar(0xAC00))},  // 52 bytes
      {1, QStringLiteral("123"), true, QStringLiteral("0000000123")},
      {1, QStringLiteral("555"), false, QStringLiteral("555")},
      {2, QStringLiteral("7"), true, QStringLiteral("07")},
      {2, QStringLiteral("00"), false, QStringLiteral("00")},
      {2, QStringLiteral("99"), false, QStringLiteral("99")},
      {3, QStringLiteral("123-45 678"), true, QStringLiteral("12345678")},
      {3, QStringLiteral("12a"), false, QStringLiteral("12a")},
      {3, QStringLiteral("12345678901234567"), false, QStringLiteral("12345678901234567")},
      {5, QString(), true, QString()},
      {5, QStringLiteral("790312-1234567"), true, QStringLiteral("7903121234567")},
      {5, QStringLiteral("79031212345678"), false, QStringLiteral("79031212345678")},
      {6, QStringLiteral("2026-02-28"), true, QStringLiteral("2026-02-28")},
      {6, QString(), true, QStringLiteral("2026-12-11")},
      {6, QStringLiteral("20260230"), false, QStringLiteral("20260230")},
      {6, QStringLiteral("071121"), false, QStringLiteral("071121")},
      {7, QStringLiteral("31"), true, QStringLiteral("31")},
      {7, QStringLiteral("32"), false, QStringLiteral("32")},
      {8, QStringLiteral("1234"), false, QStringLiteral("1234")},
      {9, QStringLiteral("y"), true, QStringLiteral("Y")},
      {9, QStringLiteral("X"), false, QStringLiteral("X")},
  };
  for (const auto& c : cases) {
    ImportFieldValidator v(cor, banks);
    QString out;
    EXPECT_EQ(v.validate(false, c.kind, c.text, out), c.ok) << c.kind << ' ' << c.text.toStdString();
    EXPECT_EQ(out, c.out) << c.kind << ' ' << c.text.toStdString();
  }
  ImportFieldValidator skip(cor, banks);
  QString out;
  EXPECT_TRUE(skip.validate(true, 3, QStringLiteral(" junk "), out));
  EXPECT_EQ(out, QStringLiteral("junk"));
}

TEST(Codes, PayerNumberLimitsFollowTheCurrentBank) {
  const QStringList cor;
  QStringList banks{QStringLiteral("04"), QStringLiteral("11"), QStringLiteral("20")};
  struct Case {
    QString bank, payer;
    bool ok;
  } cases[] = {
      {QStringLiteral("11"), QString(14, QLatin1Char('1')), false},
      {QStringLiteral("11"), QString(13, QLatin1Char('1')), true},
      {QStringLiteral("04"), QString(16, QLatin1Char('1')), false},
      {QStringLiteral("04"), QString(15, QLatin1Char('1')), true},
      {QStringLiteral("20"), QString(20, QLatin1Char('1')), true},
      {QStringLiteral("20"), QString(21, QLatin1Char('1')), false},
      {QStringLiteral("20"), QStringLiteral("가12"), false},
  };
  for (const auto& c : cases) {
    ImportFieldValidator v(cor, banks);
    QString out;
    ASSERT_TRUE(v.validate(false, ImportFieldValidator::BankCode, c.bank, out));
    EXPECT_EQ(v.validate(false, ImportFieldValidator::PayerNo, c.payer, out), c.ok) << c.bank.toStdString();
  }
}

class FixedWidthGridTest : public AppFolderTest {
 protected:
  StringGrid layout() const {
    StringGrid g;
    g.rows = {{QStringLiteral("항목"), QStringLiteral("시작"), QStringLiteral("길이")},
              {QStringLiteral("이름"), QStringLiteral("1"), QStringLiteral("6")},
              {QStringLiteral("메모"), QString(), QStringLiteral("0")},
              {QStringLiteral("계좌"), QStringLiteral("7"), QStringLiteral("5")}};
    return g;
  }
};

TEST_F(FixedWidthGridTest, HeadingLineInTheFirstTenIsSkipped) {
  writeFile(QStringLiteral("in.txt"), cp("제목줄\r\n두번째\r\n이름  계좌번호\r\n홍길동12345\r\n   \r\n김철  67890XYZ\r\n"));
  StringGrid target;
  ASSERT_TRUE(LoadFixedWidthIntoGrid(2, home() + QStringLiteral("in.txt"), layout(), target));
  ASSERT_EQ(target.rowCount(), 3);
  EXPECT_EQ(target.rows[0], (QStringList{QStringLiteral("이름"), QStringLiteral("계좌")}));
  EXPECT_EQ(target.rows[1], (QStringList{QStringLiteral("홍길동"), QStringLiteral("12345")}));
  EXPECT_EQ(target.rows[2], (QStringList{QStringLiteral("김철"), QStringLiteral("67890")}));
}

TEST_F(FixedWidthGridTest, WithoutHeadingEveryLineIsDataAndModeOneUsesEveryField) {
  writeFile(QStringLiteral("in.txt"), cp("홍길동12345\n김철  67890\n"));
  StringGrid target;
  ASSERT_TRUE(LoadFixedWidthIntoGrid(1, home() + QStringLiteral("in.txt"), layout(), target));
  ASSERT_EQ(target.rowCount(), 3);
  EXPECT_EQ(target.rows[0].size(), 3);
  EXPECT_EQ(target.rows[1], (QStringList{QStringLiteral("홍길동"), QString(), QStringLiteral("12345")}));
}
