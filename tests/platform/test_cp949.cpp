#include <gtest/gtest.h>

#include "platform/cp949.h"
#include "testsupport.h"

using namespace orvan;

TEST(Cp949, RoundTripsExtendedHangulThatEucKrLacks) {
  const QString text = QStringLiteral("똠햏 홍길동 ABC");
  QByteArray b = cp949::encode(text);
  EXPECT_EQ(b.left(4), QByteArray("\x8c\x63\xc1\x64"));
  EXPECT_EQ(cp949::decode(b), text);
  EXPECT_EQ(cp949::byteLength(QStringLiteral("홍길동 자금이체")), 15);
}

TEST(Cp949, StrictDecodeRefusesBrokenBytes) {
  EXPECT_TRUE(cp949::decodeStrict(QByteArray("\xc8\xab")).has_value());  // 홍
  EXPECT_FALSE(cp949::decodeStrict(QByteArray("\xc8")).has_value());     // lead byte alone
  EXPECT_FALSE(cp949::decodeStrict(QByteArray("\xff\xff")).has_value());
  EXPECT_EQ(cp949::decode(QByteArray("A\xff")).left(1), QStringLiteral("A"));
}

TEST(Cp949, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(cp949::encode(QStringLiteral("a😀b")), QByteArray("a?b"));
  EXPECT_EQ(cp949::byteLength(QStringLiteral("a😀b")), 3);
}

TEST(Cp949, WholeCharPrefixReadsFromTheStart) {
  // "똠" ends in 0x63, an ASCII letter: a test from the end would misjudge it.
  const QByteArray ddom = cp949::encode(QStringLiteral("A똠B"));
  struct Case {
    QByteArray text;
    int n;
    int expected;
  } cases[] = {
      {ddom, 1, 1}, {ddom, 2, 1}, {ddom, 3, 3}, {ddom, 4, 4}, {ddom, 9, 4},
      {cp949::encode(QStringLiteral("가나다")), 5, 4}, {QByteArray("abc"), 2, 2}, {QByteArray(), 3, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(cp949::wholeCharPrefix(c.text, c.n), c.expected) << c.n;
}
