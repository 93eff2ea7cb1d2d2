#include <gtest/gtest.h>

#include "app/paths.h"
#include "app/userinput.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::AppFolderTest;

class UserInputRules : public AppFolderTest {};

TEST_F(UserInputRules, ProgramPassword) {
  struct Case {
    QString stored;
    QStringList entries;
    bool confirmed;
    int wrongMessages;
  } cases[] = {
      {QString(), {QString()}, true, 0},
      {QStringLiteral("pw"), {QStringLiteral("pw")}, true, 0},
      {QStringLiteral("pw"), {QStringLiteral("x"), QStringLiteral("pw")}, true, 1},
      {QStringLiteral("pw"), {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("pw")}, false, 3},
      {QStringLiteral("pw"), {QString()}, false, 1},  // empty entry with a stored password, then no more tries
  };
  for (const auto& c : cases) {
    prompter_.clear();
    WriteProgramPassword(c.stored);
    for (const QString& e : c.entries) prompter_.type(e);
    EXPECT_EQ(ConfirmProgramPassword(), c.confirmed) << c.entries.join(',').toStdString();
    EXPECT_EQ(static_cast<int>(prompter_.shown().size()), c.wrongMessages);
    for (const auto& s : prompter_.shown()) EXPECT_EQ(s.text, QStringLiteral("비밀번호가 다릅니다."));
    ASSERT_FALSE(prompter_.inputs().empty());
    EXPECT_EQ(prompter_.inputs()[0].caption, QStringLiteral("비밀번호 확인"));
    EXPECT_TRUE(prompter_.inputs()[0].masked);
  }
}

TEST_F(UserInputRules, AskTextRefusesEmptyAndCancelGivesEmpty) {
  QString v = QStringLiteral("1000");
  prompter_.type(QString()).type(QStringLiteral("2500"));
  EXPECT_TRUE(AskText(QStringLiteral("이체금액 입력"), QStringLiteral("이체금액"), v));
  EXPECT_EQ(v, QStringLiteral("2500"));
  EXPECT_EQ(prompter_.inputs()[0].label, QStringLiteral("이체금액 :"));
  EXPECT_EQ(prompter_.inputs()[0].value, QStringLiteral("1000"));
  prompter_.cancelInput();
  EXPECT_FALSE(AskText(QStringLiteral("c"), QStringLiteral("l"), v));
  EXPECT_TRUE(v.isEmpty());
}

TEST_F(UserInputRules, VerificationCodeNeedsFourCharacters) {
  QString v;
  prompter_.type(QStringLiteral("12")).type(QStringLiteral("1234"));
  EXPECT_TRUE(AskVerificationCode(QStringLiteral("국민은행"), QStringLiteral("0012"), v));
  EXPECT_EQ(v, QStringLiteral("1234"));
  EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("4 글자를 입력해야 합니다.")});
  EXPECT_EQ(prompter_.inputs()[0].caption, QStringLiteral("국민은행의 복기부호 입력"));
  EXPECT_EQ(prompter_.inputs()[0].label, QStringLiteral("관리번호 : 0012"));
  EXPECT_EQ(prompter_.inputs()[0].maxLength, 4);
  prompter_.cancelInput();
  EXPECT_FALSE(AskVerificationCode(QStringLiteral("n"), QStringLiteral("m"), v));
  EXPECT_TRUE(v.isEmpty());
}
