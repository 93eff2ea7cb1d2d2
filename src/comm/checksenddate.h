#pragma once
// Checks before a send that banks' date rules and cut-off times allow it:
// NACF transfer dates within a week and not on a day already sent, and the
// daily cut-off of consent requests.
#include <QSqlDatabase>
#include <QString>

namespace orvan {

class TCheckSendDate {
 public:
  // False when the database is not open; the checks then do not run.
  // The names are the program's own identifiers, never user input.
  bool Init(const QSqlDatabase& db, const QString& table, const QString& bankColumn, const QString& dateColumn);

  int CountOutOfRange() const;
  bool ConfirmDateRange(const QString& name) const;
  bool FindSameDaySent() const;
  bool ConfirmSameDay() const;

 private:
  QList<QDate> readyDates() const;

  QSqlDatabase db_;
  QString table_, bankColumn_, dateColumn_;
  bool ready_ = false;
};

// The consent-request cut-off for one institution's bank.
bool ConsentCutOffOk(const QSqlDatabase& db, const QString& bankCode);

}  // namespace orvan
