#include <gtest/gtest.h>

#include "app/startup.h"
#include "db/dbtest.h"
#include "platform/clock.h"

using namespace orvan;
using orvan::test::DbTest;

namespace {
const QString kText03 = QStringLiteral(
    "자금이체정보에 기업은행 당일이체자료가 존재합니다.\r\n기업은행의 경우 당일이체자료 송신제한시간이 오후 "
    "4시00분입니다.\r\n송신제한시간 이내에 송신해 주시기 바랍니다.");
}

class SameDayCutoff : public DbTest {
 protected:
  void institution(int id, const QString& bank) {
    sql(QStringLiteral("INSERT INTO KiGwan (Part, KiGwanID, KiGwanName, BankID, RecvName) VALUES ('1', ?, ?, ?, 'R')"),
        {id, QStringLiteral("기관%1").arg(id), bank});
  }
  void batch(int id, int kigwan, const QString& codeA, const QDate& date, int state = 1) {
    sql(QStringLiteral("INSERT INTO Trans (ID, KiGwanID, CodeA, TrsDate, State) VALUES (?, ?, ?, ?, ?)"),
        {id, kigwan, codeA, date.toString(Qt::ISODate), state});
  }
};

TEST_F(SameDayCutoff, ByBankKindAndTime) {
  const QDate today(2026, 12, 11);
  institution(1, QStringLiteral("03"));
  institution(2, QStringLiteral("12"));
  struct Case {
    const char* what;
    int kigwan;
    QString codeA;
    QDate date;
    int state;
    int kind;
    QTime at;
    bool ok;
  } cases[] = {
      {"03 at 16:00:00 passes", 1, QStringLiteral("A"), today, 1, 3, QTime(16, 0, 0), true},
      {"03 at 16:00:01 blocks", 1, QStringLiteral("A"), today, 1, 3, QTime(16, 0, 1), false},
      {"03 dated tomorrow passes", 1, QStringLiteral("A"), today.addDays(1), 1, 3, QTime(17, 0, 0), true},
      {"03 already sent passes", 1, QStringLiteral("A"), today, 2, 3, QTime(17, 0, 0), true},
      {"12 B at 15:00:00 blocks", 2, QStringLiteral("B"), today, 1, 12, QTime(15, 0, 0), false},
      {"12 B at 14:59:59 passes", 2, QStringLiteral("B"), today, 1, 12, QTime(14, 59, 59), true},
      {"12 C blocks at any hour", 2, QStringLiteral("C"), today, 1, 12, QTime(8, 0, 0), false},
      {"12 batches do not trouble kind 3", 2, QStringLiteral("C"), today, 1, 3, QTime(17, 0, 0), true},
  };
  int id = 1;
  for (const auto& c : cases) {
    sql(QStringLiteral("DELETE FROM Trans"));
    batch(id++, c.kigwan, c.codeA, c.date, c.state);
    ScopedClock clock(QDateTime(today, c.at));
    prompter_.clear();
    EXPECT_EQ(SameDayCutoffOk(c.kind, dm_->db()), c.ok) << c.what;
    EXPECT_EQ(prompter_.shown().size(), c.ok ? 0u : 1u) << c.what;
  }
  sql(QStringLiteral("DELETE FROM Trans"));
  batch(50, 1, QStringLiteral("A"), today);
  ScopedClock clock(QDateTime(today, QTime(16, 30)));
  prompter_.clear();
  EXPECT_FALSE(SameDayCutoffOk(3, dm_->db()));
  EXPECT_EQ(prompter_.lastText(), kText03);
}
