#include <gtest/gtest.h>

#include "app/calendar.h"
#include "comm/checksenddate.h"
#include "db/dbtest.h"
#include "platform/clock.h"

using namespace orvan;
using orvan::test::DbTest;

class SendDateChecks : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    LoadHolidayLists();
  }
  void TearDown() override {
    FreeHolidayLists();
    DbTest::TearDown();
  }
  void batch(int id, const QString& bank, const QDate& date, int state) {
    sql(QStringLiteral("INSERT INTO Trans (ID, KiGwanID, BankID, TrsDate, State) VALUES (?, 1, ?, ?, ?)"),
        {id, bank, date.toString(Qt::ISODate), state});
  }
  const QDate today{2026, 12, 10};  // a Thursday
};

TEST_F(SendDateChecks, NacfDatesWithinAWeek) {
  ScopedClock clock(QDateTime(today, QTime(10, 0)));
  batch(1, QStringLiteral("11"), today.addDays(6), 1);
  batch(2, QStringLiteral("12"), today.addDays(-3), 1);
  batch(3, QStringLiteral("04"), today.addDays(30), 1);  // not NACF
  batch(4, QStringLiteral("11"), today.addDays(30), 2);  // already sent
  TCheckSendDate check;
  ASSERT_TRUE(check.Init(dm_->db(), QStringLiteral("Trans"), QStringLiteral("BankID"), QStringLiteral("TrsDate")));
  EXPECT_EQ(check.CountOutOfRange(), 0);
  EXPECT_TRUE(check.ConfirmDateRange(QStringLiteral("자금이체")));
  batch(5, QStringLiteral("12"), today.addDays(7), 1);
  EXPECT_EQ(check.CountOutOfRange(), 1);
  prompter_.answer(No);
  EXPECT_FALSE(check.ConfirmDateRange(QStringLiteral("자금이체")));
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].caption, QStringLiteral("이체일자 설정범위 오류-농협(은행코드:11,12)"));
  EXPECT_TRUE(prompter_.shown()[0].text.startsWith(QStringLiteral(" 설정범위를 초과한 [자금이체]자료가 1건 있습니다. \r\n\r\n\r\n")));
  prompter_.answer(Yes);
  EXPECT_TRUE(check.ConfirmDateRange(QStringLiteral("자금이체")));
}

TEST_F(SendDateChecks, SameDayAsAnySentBatchWarns) {
  ScopedClock clock(QDateTime(today, QTime(10, 0)));
  TCheckSendDate check;
  ASSERT_TRUE(check.Init(dm_->db(), QStringLiteral("Trans"), QStringLiteral("BankID"), QStringLiteral("TrsDate")));
  batch(1, QStringLiteral("11"), today.addDays(1), 1);
  EXPECT_FALSE(check.FindSameDaySent());
  batch(2, QStringLiteral("20"), today.addDays(2), 2);  // another day
  EXPECT_FALSE(check.FindSameDaySent());
  batch(3, QStringLiteral("20"), today.addDays(1), 2);  // any bank counts
  EXPECT_TRUE(check.FindSameDaySent());
  prompter_.answer(No);
  EXPECT_FALSE(check.ConfirmSameDay());
  EXPECT_EQ(prompter_.shown().back().caption, QStringLiteral("[주의] 농협:동일한 이체일로 송신된 이체자료 확인필요"));
  TCheckSendDate closed;
  EXPECT_FALSE(closed.Init(QSqlDatabase(), QStringLiteral("Trans"), QString(), QStringLiteral("TrsDate")));
}

TEST_F(SendDateChecks, ConsentCutOffByBankAndHoliday) {
  sql(QStringLiteral("UPDATE BankCode SET SENDVERSION = '1' WHERE ID = '03'"));
  sql(QStringLiteral("INSERT INTO TongRegister (Status) VALUES (0)"));
  struct Case {
    QString bank;
    QDateTime at;
    bool ok;
    QString message;
  } cases[] = {
      {QStringLiteral("03"), QDateTime(today, QTime(16, 0, 0)), true, {}},
      {QStringLiteral("03"), QDateTime(today, QTime(16, 0, 1)), false,
       QStringLiteral("출금동의 데이타가 존재 합니다. \r\n당일 출금동의 신청시 [16]시까지 가능하므로,\r\n평일[16]시 이전에 재송신하세요")},
      {QStringLiteral("04"), QDateTime(today, QTime(15, 0, 0)), true, {}},
      {QStringLiteral("04"), QDateTime(today, QTime(15, 0, 1)), false,
       QStringLiteral("출금동의 데이타가 존재 합니다. \r\n당일 출금동의 신청시 [15]시까지 가능하므로,\r\n평일[15]시 이전에 재송신하세요")},
      {QStringLiteral("04"), QDateTime(QDate(2026, 12, 12), QTime(9, 0)), false,  // a Saturday
       QStringLiteral("오늘은 공휴일입니다.출금동의 신청을 하실수 없습니다")},
      {QStringLiteral("03"), QDateTime(QDate(2026, 12, 25), QTime(9, 0)), false,
       QStringLiteral("오늘은 공휴일입니다.출금동의 신청을 하실수 없습니다")},
  };
  for (const auto& c : cases) {
    ScopedClock clock(c.at);
    prompter_.clear();
    EXPECT_EQ(ConsentCutOffOk(dm_->db(), c.bank), c.ok) << c.bank.toStdString() << ' ' << c.at.toString().toStdString();
    EXPECT_EQ(prompter_.lastText(), c.message);
  }
  // Without waiting consents a late send still passes.
  sql(QStringLiteral("DELETE FROM TongRegister"));
  ScopedClock late(QDateTime(today, QTime(18, 0)));
  EXPECT_TRUE(ConsentCutOffOk(dm_->db(), QStringLiteral("04")));
}
