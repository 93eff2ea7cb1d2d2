#include "upgrade/TfrmUpGradeSet.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvan {

TfrmUpGradeSet::TfrmUpGradeSet(QString& interval1, QString& interval2, QWidget* parent)
    : QDialog(parent), interval1_(interval1), interval2_(interval2) {
  setObjectName(QStringLiteral("frmUpGradeSet"));
  setWindowTitle(QStringLiteral("자동 업그레이드 주기 설정"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  auto* info1 = new QLabel(QStringLiteral("본 메뉴에서 설정한 주기에 따라 업그레이드 프로그램이"));
  auto* info2 = new QLabel(QStringLiteral("자동으로 실행되어 최근 프로그램으로 갱신 합니다."));

  auto* cycle = new QGroupBox(QStringLiteral("주기설정"));
  ExeRadio = new QRadioButton(QStringLiteral("매번 프로그램 실행시"));
  ExeRadio->setObjectName(QStringLiteral("ExeRadio"));
  WeekRadio = new QRadioButton(QStringLiteral("매주"));
  WeekRadio->setObjectName(QStringLiteral("WeekRadio"));
  MonthRadio = new QRadioButton(QStringLiteral("매월"));
  MonthRadio->setObjectName(QStringLiteral("MonthRadio"));
  auto* group = new QButtonGroup(this);
  for (QRadioButton* r : {ExeRadio, WeekRadio, MonthRadio}) group->addButton(r);

  Week_DayCombo = new QComboBox;
  Week_DayCombo->setObjectName(QStringLiteral("Week_DayCombo"));
  Week_DayCombo->addItems({QStringLiteral("월요일"), QStringLiteral("화요일"), QStringLiteral("수요일"),
                           QStringLiteral("목요일"), QStringLiteral("금요일"), QStringLiteral("토요일")});
  Month_dayCombo = new QComboBox;
  Month_dayCombo->setObjectName(QStringLiteral("Month_dayCombo"));
  for (int d = 1; d <= 31; ++d)
    Month_dayCombo->addItem(d < 10 ? QStringLiteral("%1 일").arg(d) : QStringLiteral("%1일").arg(d));
  Month_dayCombo->setMaxVisibleItems(12);

  auto* grid = new QGridLayout(cycle);
  grid->addWidget(ExeRadio, 0, 0, 1, 2);
  grid->addWidget(WeekRadio, 1, 0);
  grid->addWidget(Week_DayCombo, 1, 1);
  grid->addWidget(MonthRadio, 2, 0);
  grid->addWidget(Month_dayCombo, 2, 1);
  grid->setColumnStretch(2, 1);

  auto* current = new QGroupBox(QStringLiteral("현재 설정된 내용"));
  UpGradeSetStr = new QLabel;
  UpGradeSetStr->setObjectName(QStringLiteral("UpGradeSetStr"));
  (new QVBoxLayout(current))->addWidget(UpGradeSetStr);

  btnSet = new QPushButton(QStringLiteral("설정"));
  btnSet->setObjectName(QStringLiteral("btnSet"));
  btnSave = new QPushButton(QStringLiteral("저 장"));
  btnSave->setObjectName(QStringLiteral("btnSave"));
  btnClose = new QPushButton(QStringLiteral("닫 기"));
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnUpgradeNow = new QPushButton(QStringLiteral("지금 업그레이드"));
  btnUpgradeNow->setObjectName(QStringLiteral("btnUpgradeNow"));
  auto* nowText = new QLabel(QStringLiteral("지금 바로 Corvane 주식회사 서버에 연결"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSet);
  buttons->addWidget(btnSave);
  buttons->addWidget(btnClose);
  auto* now = new QHBoxLayout;
  now->addWidget(btnUpgradeNow);
  now->addWidget(nowText, 1);

  auto* top = new QVBoxLayout(this);
  top->addWidget(info1);
  top->addWidget(info2);
  top->addSpacing(4);
  top->addWidget(cycle);
  top->addWidget(current);
  top->addLayout(buttons);
  top->addSpacing(6);
  top->addLayout(now);

  connect(btnSet, &QPushButton::clicked, this, [this] { btnSetClick(); });
  connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
  connect(btnClose, &QPushButton::clicked, this, [this] { done(CloseResult); });
  connect(btnUpgradeNow, &QPushButton::clicked, this, [this] { done(UpgradeNowResult); });
  for (QRadioButton* r : {ExeRadio, WeekRadio, MonthRadio})
    connect(r, &QRadioButton::clicked, this, [this] { ApplyRadioRule(); });

  FormCreate();
}

void TfrmUpGradeSet::FormCreate() {
  Week_DayCombo->setCurrentIndex(0);
  Month_dayCombo->setCurrentIndex(0);
  const QString kind = interval1_.trimmed().toUpper();
  bool ok = false;
  const int day = interval2_.trimmed().toInt(&ok);
  // A day the combos cannot show counts as no setting rather than an empty pick.
  if (kind == QLatin1String("EXE")) {
    ExeRadio->setChecked(true);
    UpGradeSetStr->setText(QStringLiteral("프로그램실행시"));
  } else if (kind == QLatin1String("WEEK") && ok && day - 2 >= 0 && day - 2 < Week_DayCombo->count()) {
    WeekRadio->setChecked(true);
    Week_DayCombo->setCurrentIndex(day - 2);
    UpGradeSetStr->setText(QStringLiteral("매주  ") + Week_DayCombo->currentText());
  } else if (kind == QLatin1String("MONTH") && ok && day - 1 >= 0 && day - 1 < Month_dayCombo->count()) {
    MonthRadio->setChecked(true);
    Month_dayCombo->setCurrentIndex(day - 1);
    UpGradeSetStr->setText(QStringLiteral("매월  ") + Month_dayCombo->currentText());
  } else {
    ExeRadio->setChecked(true);
    UpGradeSetStr->setText(QStringLiteral("설정되어 있지 않음"));
  }
  SetChoicesEnabled(false);
  Week_DayCombo->setEnabled(false);
  Month_dayCombo->setEnabled(false);
  btnSave->setEnabled(false);
}

// Locked choices take the dialog's colour, so that only "설정" looks live.
void TfrmUpGradeSet::SetChoicesEnabled(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{ExeRadio, WeekRadio, MonthRadio, Week_DayCombo, Month_dayCombo}) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Disabled, QPalette::Base, palette().color(QPalette::Active, QPalette::Window));
    pal.setColor(QPalette::Disabled, QPalette::Button, palette().color(QPalette::Active, QPalette::Window));
    w->setPalette(pal);
    w->setEnabled(on);
  }
}

void TfrmUpGradeSet::btnSetClick() {
  SetChoicesEnabled(true);
  btnSave->setEnabled(true);
  ApplyRadioRule();
}

void TfrmUpGradeSet::ApplyRadioRule() {
  Week_DayCombo->setEnabled(WeekRadio->isChecked());
  Month_dayCombo->setEnabled(MonthRadio->isChecked());
}

void TfrmUpGradeSet::btnSaveClick() {
  if (WeekRadio->isChecked()) {
    interval1_ = QStringLiteral("WEEK");
    interval2_ = QString::number(Week_DayCombo->currentIndex() + 2);
  } else if (MonthRadio->isChecked()) {
    interval1_ = QStringLiteral("MONTH");
    interval2_ = QString::number(Month_dayCombo->currentIndex() + 1);
  } else {
    interval1_ = QStringLiteral("EXE");
    interval2_.clear();
  }
  done(SaveResult);
}

}  // namespace orvan

#include "upgrade/upgrade.h"

namespace orvan {

bool ShowUpgradeSettings(QWidget* parent, const UpgradeLauncher& with) {
  TUpgradeInterval& interval = UpgradeInterval();
  LoadUpgradeInterval(interval);
  int result = 0;
  {
    TfrmUpGradeSet dlg(interval.Interval1, interval.Interval2, parent);
    result = dlg.exec();
  }
  return ApplyUpgradeSettingsResult(result, with);
}

}  // namespace orvan
