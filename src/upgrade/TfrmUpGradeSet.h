#pragma once
// The dialog in which the user sets how often the program upgrades itself.
// It edits the two schedule texts it is given only when "저 장" is pressed;
// its result tells the caller what to do next (1 save, 2 nothing, 5 upgrade now).
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orvan {

class TfrmUpGradeSet : public QDialog {
  Q_OBJECT

 public:
  enum Result { SaveResult = 1, CloseResult = 2, UpgradeNowResult = 5 };

  TfrmUpGradeSet(QString& interval1, QString& interval2, QWidget* parent = nullptr);

  QRadioButton* ExeRadio;
  QRadioButton* WeekRadio;
  QRadioButton* MonthRadio;
  QComboBox* Week_DayCombo;
  QComboBox* Month_dayCombo;
  QLabel* UpGradeSetStr;
  QPushButton* btnSet;
  QPushButton* btnSave;
  QPushButton* btnClose;
  QPushButton* btnUpgradeNow;

 private:
  void FormCreate();
  void btnSetClick();
  void btnSaveClick();
  void ApplyRadioRule();
  void SetChoicesEnabled(bool on);

  QString& interval1_;
  QString& interval2_;
};

}  // namespace orvan
