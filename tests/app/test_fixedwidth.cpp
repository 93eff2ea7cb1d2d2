#include <gtest/gtest.h>

#include "app/fixedwidth.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::cp;

namespace {
const QByteArray SO("\x0e"), SI("\x0f");
}

TEST(FixedWidth, PadTextAndPadZero) {
  struct Case {
    QByteArray got, want;
  } cases[] = {
      {PadZero("123", 6, false), "000123"},
      {PadZero("1234567", 6, false), "123456"},
      {PadZero("12", 5, true), "12000"},
      {PadText("AB", 4, false), "  AB"},
      {PadText("AB", 4, true), "AB  "},
      {PadText("", 3, true), "   "},
      {PadText("ABC", 0, true), ""},
      // Three syllables are six bytes: five keep half of the last one.
      {PadText(cp("홍길동"), 5, true), cp("홍길").append('\xb5')},
      {PadText(cp("홍길동"), 8, false), QByteArray("  ") + cp("홍길동")},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FixedWidth, FitTextNeverLeavesHalfACharacter) {
  struct Case {
    QString text;
    int n;
    bool left;
    QByteArray want;
  } cases[] = {
      {QStringLiteral("홍길동"), 5, true, cp("홍길 ")},
      {QStringLiteral("홍길동"), 6, true, cp("홍길동")},
      {QStringLiteral("홍길동"), 7, false, cp(" 홍길동")},
      {QStringLiteral("A똠B"), 2, true, QByteArray("A ")},  // 똠's trail byte is 'c'
      {QStringLiteral("A똠B"), 3, true, cp("A똠")},
      {QStringLiteral("AB가"), 3, true, QByteArray("AB ")},
  };
  for (const auto& c : cases) {
    QByteArray got = FitText(cp(c.text), c.n, c.left);
    EXPECT_EQ(got, c.want) << c.text.toStdString();
    EXPECT_EQ(got.size(), c.n);
  }
}

TEST(FixedWidth, CutSplitDoubleByteDecidesFromTheStart) {
  struct Case {
    QByteArray text, want;
  } cases[] = {
      {cp("홍길").append('\xb5'), cp("홍길 ")},
      {cp("홍길동"), cp("홍길동")},
      {cp("AB"), cp("AB")},
      {QByteArray(), QByteArray()},
      // Extended Hangul whose trail byte is an ASCII letter ("똠" is 8C 63)
      // still counts as one whole character.
      {cp("똠").append('\xb0'), cp("똠 ")},
      {cp("똠똠"), cp("똠똠")},
      {cp("가똠").append('\xb0'), cp("가똠 ")},
      {cp("똠가").append('\xb0'), cp("똠가 ")},
      {cp("가").append('\x8c'), cp("가 ")},
      {cp("가가"), cp("가가")},
  };
  for (const auto& c : cases) EXPECT_EQ(CutSplitDoubleByte(c.text), c.want);
}

TEST(FixedWidth, ShiftedAndFullWidthForms) {
  const QByteArray fwA("\xa3\xc1"), fwB("\xa3\xc2"), fwComma("\xa3\xac");
  struct Case {
    QByteArray got, want;
  } cases[] = {
      {ToShiftedDoubleByte(QByteArray("A") + cp("가") + "B"), SO + fwA + cp("가") + fwB + SI},
      {ToShiftedDoubleByte("A,"), SO + fwA + fwComma + SI},
      {ToShiftedDoubleByte(QByteArray("1 ") + cp("가 나") + "\\"),
       SO + QByteArray("\xa3\xb1\xa1\xa1") + cp("가 나") + QByteArray("\xa3\xdc") + SI},
      {ToShiftedDoubleByte(cp("가").append('\xb0')), SO + cp("가") + QByteArray("\xa1\xa1") + SI},
      {ToFullWidth("AB"), fwA},
      {ToFullWidth("ABC"), fwA},
      {ToFullWidth("ABCD"), fwA + fwB},
      {ToFullWidth(cp("가") + "AB"), cp("가") + fwA},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(FixedWidth, ByteTests) {
  struct Case {
    QByteArray text;
    bool digits, alnum, doubleByte;
    int digitSum;
  } cases[] = {
      {"0123", true, true, false, 6},
      {"12a4", false, true, false, 7},
      {"", false, false, false, 0},
      {"12-34", false, false, false, 10},
      {"AbZ9", false, true, false, 9},
      {cp("가1"), false, false, true, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDigits(c.text), c.digits) << c.text.constData();
    EXPECT_EQ(IsAlnum(c.text), c.alnum) << c.text.constData();
    EXPECT_EQ(HasDoubleByte(c.text), c.doubleByte) << c.text.constData();
    EXPECT_EQ(DigitSum(c.text), c.digitSum) << c.text.constData();
  }
  EXPECT_EQ(StripChar("12-34-5", '-'), QByteArray("12345"));
  EXPECT_EQ(StripChar("1 2 3", ' '), QByteArray("123"));
  EXPECT_EQ(StripShiftCodes(SO + cp("가") + SI), cp("가"));
  EXPECT_EQ(DigitsOnly(cp("a1가2-3")), QByteArray("123"));
}

TEST(FixedWidth, FormatBizNo) {
  struct Case {
    QByteArray in, want;
  } cases[] = {
      {"123-45-67890", "123-45-67890"},
      {" 1234567890 ", "123-45-67890"},
      {"1234567890123", "123456-7890123"},
      {"790312-1234567", "790312-1234567"},
      {"12345", "12345"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBizNo(c.in), c.want);
}

TEST(FixedWidth, BankFamilies) {
  EXPECT_TRUE(IsBank202224(QStringLiteral("22")));
  EXPECT_FALSE(IsBank202224(QStringLiteral("21")));
  EXPECT_TRUE(IsNacf(QStringLiteral("11")) && IsNacf(QStringLiteral("12")));
  EXPECT_FALSE(IsNacf(QStringLiteral("13")));
  EXPECT_TRUE(IsBank45(QStringLiteral("45")) && IsBank03(QStringLiteral("03")) && IsBank04(QStringLiteral("04")));
}
