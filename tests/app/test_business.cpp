#include <gtest/gtest.h>

#include "app/business.h"
#include "app/startup.h"
#include "platform/registry.h"
#include "testsupport.h"

using namespace orvan;
using orvan::test::AppFolderTest;

namespace {
QStringList describe(const QList<BusinessMenuEntry>& entries) {
  QStringList out;
  for (const auto& e : entries) {
    if (e.kind == BusinessMenuEntry::Separator) {
      out << QStringLiteral("-");
    } else if (e.kind == BusinessMenuEntry::SubMenu) {
      QStringList kids;
      for (const auto& c : e.children) kids << c.caption + QLatin1Char(':') + QString::number(c.code);
      out << e.caption + QStringLiteral(" > ") + kids.join(QLatin1Char(','));
    } else {
      out << e.caption + QLatin1Char(':') + QString::number(e.code);
    }
  }
  return out;
}
}  // namespace

TEST(Business, MenuEntriesPerMask) {
  struct Case {
    qint32 mask;
    QStringList want;
  } cases[] = {
      {0, {}},
      {1 + 128,
       {QStringLiteral("자금이체:1"), QStringLiteral("-"), QStringLiteral("받을어음:128"), QStringLiteral("-"),
        QStringLiteral("자금이체 그룹관리:65")}},
      {64 + 128, {QStringLiteral("-"), QStringLiteral("집급내역:64"), QStringLiteral("받을어음:128")}},
      {2 + 32,
       {QStringLiteral("수납(CMS)신청:2"), QStringLiteral("조흥기업구매/역구매카드 > 기업구매:66,기업역구매카드:67")}},
      {255,
       {QStringLiteral("자금이체:1"), QStringLiteral("수납(CMS)신청:2"), QStringLiteral("외환매매정보:4"),
        QStringLiteral("조흥전자외상매출:8"), QStringLiteral("조흥기업구매자금대출:16"),
        QStringLiteral("조흥기업구매/역구매카드 > 기업구매:66,기업역구매카드:67"), QStringLiteral("-"),
        QStringLiteral("집급내역:64"), QStringLiteral("받을어음:128"), QStringLiteral("-"),
        QStringLiteral("자금이체 그룹관리:65")}},
  };
  for (const auto& c : cases) EXPECT_EQ(describe(BusinessMenuEntries(c.mask)), c.want) << c.mask;
}

TEST(Business, StartButtonsAndTheirPlaces) {
  EXPECT_EQ(StartButtonBusinesses(1 + 128).size(), 2);
  const auto all = StartButtonBusinesses(255);
  ASSERT_EQ(all.size(), 9);
  EXPECT_EQ(all[5].code, 66);
  EXPECT_EQ(all[6].code, 67);
  EXPECT_EQ(all[6].hotPicture, QStringLiteral("MainPurchase_N1"));
  EXPECT_EQ(CountBusinesses(255), 8);
  EXPECT_EQ(CountBusinesses(-1), 32);
  struct Case {
    int n;
    QRect want;
  } places[] = {
      {0, {20, 140, 69, 96}},  {3, {230, 140, 69, 96}},  {4, {20, 240, 69, 96}},
      {8, {300, 240, 69, 96}}, {9, {20, 340, 69, 96}},   {12, {230, 340, 69, 96}},
  };
  for (const auto& c : places) EXPECT_EQ(PlaceStartButton(c.n), c.want) << c.n;
  EXPECT_EQ(ExitButtonPlace(), QRect(440, 400, 100, 80));
}

class FirstStart : public AppFolderTest {};

TEST_F(FirstStart, NoKeysAskTwiceWhenNothingIsChosenThenStartingIsNo) {
  Registry reg = Registry::user();
  int shown = 0;
  auto s = RunBusinessSelection(reg, false, [&] { ++shown; });
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(s.mask, 0);
  EXPECT_TRUE(s.optionKeyOpened);
  EXPECT_EQ(prompter_.texts(), QStringList{QStringLiteral("업무 설정이 되어 있지 않습니다.\r 사용하실 업무를 선택하세요!")});
  EXPECT_EQ(reg.readString(kFirstKey, QStringLiteral("STARTING")), QStringLiteral("NO"));
  EXPECT_EQ(reg.readInteger(kOptionKey, QStringLiteral("VALUE")), 0);
}

TEST_F(FirstStart, SelectionMadeOnTheFirstDialogIsUsed) {
  Registry reg = Registry::user();
  int shown = 0;
  auto s = RunBusinessSelection(reg, false, [&] {
    ++shown;
    WriteBusinessMask(reg, 129);
  });
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(s.mask, 129);
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(FirstStart, LaterStartsAskOnlyWithMenuSet) {
  Registry reg = Registry::user();
  reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("no"));
  WriteBusinessMask(reg, 1);
  int shown = 0;
  EXPECT_EQ(RunBusinessSelection(reg, false, [&] { ++shown; }).mask, 1);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(RunBusinessSelection(reg, true, [&] { ++shown; }).mask, 1);
  EXPECT_EQ(shown, 1);
  reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("yes"));
  RunBusinessSelection(reg, false, [&] { ++shown; });
  EXPECT_EQ(shown, 2);
}

TEST_F(FirstStart, UnwritableRegistryStopsBeforeTheSelection) {
  Registry reg(QStringLiteral("/proc/orvan-no-such/registry.json"));
  int shown = 0;
  auto s = RunBusinessSelection(reg, false, [&] { ++shown; });
  EXPECT_FALSE(s.firstKeyOpened);
  EXPECT_EQ(shown, 0);
}
