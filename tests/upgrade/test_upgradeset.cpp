// The schedule dialog: what it shows for each stored schedule, how "설정"
// unlocks it and what "저 장" stores.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "comm/ediconfig.h"
#include "platform/registry.h"
#include "testsupport.h"
#include "upgrade/TfrmUpGradeSet.h"
#include "upgrade/upgrade.h"

namespace orvan {
namespace {

TEST(TfrmUpGradeSet, ControlsAndTexts) {
  QString i1, i2;
  TfrmUpGradeSet dlg(i1, i2);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("자동 업그레이드 주기 설정"));
  EXPECT_EQ(dlg.ExeRadio->text(), QStringLiteral("매번 프로그램 실행시"));
  EXPECT_EQ(dlg.WeekRadio->text(), QStringLiteral("매주"));
  EXPECT_EQ(dlg.MonthRadio->text(), QStringLiteral("매월"));
  ASSERT_EQ(dlg.Week_DayCombo->count(), 6);
  EXPECT_EQ(dlg.Week_DayCombo->itemText(0), QStringLiteral("월요일"));
  EXPECT_EQ(dlg.Week_DayCombo->itemText(5), QStringLiteral("토요일"));
  ASSERT_EQ(dlg.Month_dayCombo->count(), 31);
  EXPECT_EQ(dlg.Month_dayCombo->itemText(0), QStringLiteral("1 일"));
  EXPECT_EQ(dlg.Month_dayCombo->itemText(8), QStringLiteral("9 일"));
  EXPECT_EQ(dlg.Month_dayCombo->itemText(9), QStringLiteral("10일"));
  EXPECT_EQ(dlg.Month_dayCombo->itemText(30), QStringLiteral("31일"));
  EXPECT_EQ(dlg.btnSet->text(), QStringLiteral("설정"));
  EXPECT_EQ(dlg.btnSave->text(), QStringLiteral("저 장"));
  EXPECT_EQ(dlg.btnClose->text(), QStringLiteral("닫 기"));
  EXPECT_EQ(dlg.btnUpgradeNow->text(), QStringLiteral("지금 업그레이드"));
  QStringList labels;
  for (QLabel* l : dlg.findChildren<QLabel*>()) labels << l->text();
  for (const char* t : {"본 메뉴에서 설정한 주기에 따라 업그레이드 프로그램이", "자동으로 실행되어 최근 프로그램으로 갱신 합니다.",
                        "지금 바로 Corvane 주식회사 서버에 연결"})
    EXPECT_TRUE(labels.contains(QString::fromUtf8(t))) << t;
  QStringList groups;
  for (QGroupBox* g : dlg.findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_EQ(groups, (QStringList{QStringLiteral("주기설정"), QStringLiteral("현재 설정된 내용")}));
}

TEST(TfrmUpGradeSet, ShowsTheStoredSchedule) {
  struct Case {
    const char *i1, *i2;
    QRadioButton* TfrmUpGradeSet::*radio;
    int weekIndex, monthIndex;
    const char* shown;
  } cases[] = {
      {"EXE", "", &TfrmUpGradeSet::ExeRadio, 0, 0, "프로그램실행시"},
      {"WEEK", "7", &TfrmUpGradeSet::WeekRadio, 5, 0, "매주  토요일"},
      {"WEEK", "2", &TfrmUpGradeSet::WeekRadio, 0, 0, "매주  월요일"},
      {"MONTH", "31", &TfrmUpGradeSet::MonthRadio, 0, 30, "매월  31일"},
      {"MONTH", "5", &TfrmUpGradeSet::MonthRadio, 0, 4, "매월  5 일"},
      {"", "", &TfrmUpGradeSet::ExeRadio, 0, 0, "설정되어 있지 않음"},
      {"YEAR", "1", &TfrmUpGradeSet::ExeRadio, 0, 0, "설정되어 있지 않음"},
      // A day the combo cannot show counts as no setting.
      {"WEEK", "1", &TfrmUpGradeSet::ExeRadio, 0, 0, "설정되어 있지 않음"},
      {"MONTH", "32", &TfrmUpGradeSet::ExeRadio, 0, 0, "설정되어 있지 않음"},
  };
  for (const Case& c : cases) {
    QString i1 = QString::fromLatin1(c.i1), i2 = QString::fromLatin1(c.i2);
    TfrmUpGradeSet dlg(i1, i2);
    EXPECT_TRUE((dlg.*c.radio)->isChecked()) << c.i1 << c.i2;
    EXPECT_EQ(dlg.Week_DayCombo->currentIndex(), c.weekIndex) << c.i1 << c.i2;
    EXPECT_EQ(dlg.Month_dayCombo->currentIndex(), c.monthIndex) << c.i1 << c.i2;
    EXPECT_EQ(dlg.UpGradeSetStr->text(), QString::fromUtf8(c.shown)) << c.i1 << c.i2;
    // Locked until "설정".
    for (QWidget* w : std::initializer_list<QWidget*>{dlg.ExeRadio, dlg.WeekRadio, dlg.MonthRadio, dlg.Week_DayCombo,
                                                      dlg.Month_dayCombo, dlg.btnSave})
      EXPECT_FALSE(w->isEnabled()) << c.i1 << c.i2 << " " << w->objectName().toStdString();
    EXPECT_TRUE(dlg.btnSet->isEnabled());
  }
}

TEST(TfrmUpGradeSet, SetUnlocksAndTheRadioRuleFollowsTheChoice) {
  QString i1 = QStringLiteral("WEEK"), i2 = QStringLiteral("4");
  TfrmUpGradeSet dlg(i1, i2);
  dlg.btnSet->click();
  EXPECT_TRUE(dlg.ExeRadio->isEnabled());
  EXPECT_TRUE(dlg.btnSave->isEnabled());
  EXPECT_TRUE(dlg.Week_DayCombo->isEnabled());
  EXPECT_FALSE(dlg.Month_dayCombo->isEnabled());
  dlg.MonthRadio->click();
  EXPECT_FALSE(dlg.Week_DayCombo->isEnabled());
  EXPECT_TRUE(dlg.Month_dayCombo->isEnabled());
  dlg.ExeRadio->click();
  EXPECT_FALSE(dlg.Week_DayCombo->isEnabled());
  EXPECT_FALSE(dlg.Month_dayCombo->isEnabled());
  // Nothing is stored before "저 장".
  EXPECT_EQ(i1, QStringLiteral("WEEK"));
  EXPECT_EQ(i2, QStringLiteral("4"));
}

TEST(TfrmUpGradeSet, SaveStoresTheChoice) {
  struct Case {
    QRadioButton* TfrmUpGradeSet::*radio;
    int weekIndex, monthIndex;
    const char *i1, *i2;
  } cases[] = {
      {&TfrmUpGradeSet::WeekRadio, 0, 9, "WEEK", "2"},  // 매주 월요일
      {&TfrmUpGradeSet::WeekRadio, 5, 0, "WEEK", "7"},
      {&TfrmUpGradeSet::MonthRadio, 3, 30, "MONTH", "31"},
      {&TfrmUpGradeSet::MonthRadio, 0, 0, "MONTH", "1"},
      {&TfrmUpGradeSet::ExeRadio, 2, 2, "EXE", ""},
  };
  for (const Case& c : cases) {
    QString i1 = QStringLiteral("MONTH"), i2 = QStringLiteral("12");
    TfrmUpGradeSet dlg(i1, i2);
    dlg.btnSet->click();
    (dlg.*c.radio)->click();
    dlg.Week_DayCombo->setCurrentIndex(c.weekIndex);
    dlg.Month_dayCombo->setCurrentIndex(c.monthIndex);
    dlg.btnSave->click();
    EXPECT_EQ(dlg.result(), 1);
    EXPECT_EQ(i1, QString::fromLatin1(c.i1));
    EXPECT_EQ(i2, QString::fromLatin1(c.i2));
  }
}

TEST(TfrmUpGradeSet, CloseAndUpgradeNowResults) {
  QString i1 = QStringLiteral("EXE"), i2;
  TfrmUpGradeSet a(i1, i2);
  a.btnClose->click();
  EXPECT_EQ(a.result(), 2);
  TfrmUpGradeSet b(i1, i2);
  b.btnUpgradeNow->click();
  EXPECT_EQ(b.result(), 5);
  EXPECT_EQ(i1, QStringLiteral("EXE"));
}

class UpgradeSettingsCommand : public test::AppFolderTest {};

TEST_F(UpgradeSettingsCommand, SavingWeeklyMondayStoresWeek2) {
  Registry reg = Registry::user();
  reg.writeString(kUpgradeKey, QStringLiteral("Interval1"), QStringLiteral("MONTH"));
  reg.writeString(kUpgradeKey, QStringLiteral("Interval2"), QStringLiteral("31"));
  reg.writeString(kUpgradeKey, QStringLiteral("UpdateDt"), QStringLiteral("20240301"));
  int asked = 0;
  UpgradeLauncher l;
  l.startUpgrade = [&](const QByteArray&, const QByteArray&, bool) { return ++asked, 2; };
  QString shownText;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TfrmUpGradeSet*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    shownText = dlg->UpGradeSetStr->text();
    dlg->btnSet->click();
    dlg->WeekRadio->click();
    dlg->Week_DayCombo->setCurrentIndex(0);
    dlg->btnSave->click();
  });
  EXPECT_FALSE(ShowUpgradeSettings(nullptr, l));
  EXPECT_EQ(shownText, QStringLiteral("매월  31일"));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("Interval1")), QStringLiteral("WEEK"));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("Interval2")), QStringLiteral("2"));
  EXPECT_EQ(reg.readString(kUpgradeKey, QStringLiteral("UpdateDt")), QStringLiteral("20000101"));
  EXPECT_EQ(asked, 0);
}

TEST_F(UpgradeSettingsCommand, UpgradeNowHandsOver) {
  int starts = 0;
  bool now = false;
  UpgradeLauncher l;
  l.startUpgrade = [&](const QByteArray&, const QByteArray&, bool n) { return now = n, 1; };
  l.startProgram = [&](const QString&, const QStringList&, const QString&) { return ++starts, true; };
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TfrmUpGradeSet*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->UpGradeSetStr->text(), QStringLiteral("설정되어 있지 않음"));
    dlg->btnUpgradeNow->click();
  });
  EXPECT_TRUE(ShowUpgradeSettings(nullptr, l));
  EXPECT_TRUE(now);
  EXPECT_EQ(starts, 1);
  EXPECT_TRUE(Registry::user().keyExists(kUpgradeKey + QStringLiteral("\\Setup.exe")));
  EXPECT_FALSE(Registry::user().valueExists(kUpgradeKey, QStringLiteral("Interval1")));
}

}  // namespace
}  // namespace orvan
