#include "comm/checksenddate.h"

#include <QSqlQuery>
#include <QVariant>

#include "app/calendar.h"
#include "app/messages.h"
#include "platform/clock.h"

namespace orvan {
namespace {
constexpr int kNacfDays = 7;

bool isIdentifier(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (!(c.isLetterOrNumber() || c == QLatin1Char('_'))) return false;
  return true;
}

QDate toDate(const QVariant& v) {
  QDate d = v.toDate();
  if (!d.isValid()) d = QDate::fromString(v.toString().left(10), Qt::ISODate);
  return d;
}
}  // namespace

bool TCheckSendDate::Init(const QSqlDatabase& db, const QString& table, const QString& bankColumn,
                          const QString& dateColumn) {
  ready_ = false;
  if (!db.isOpen() || !isIdentifier(table) || !isIdentifier(dateColumn) ||
      (!bankColumn.isEmpty() && !isIdentifier(bankColumn)))
    return false;
  db_ = db;
  table_ = table;
  bankColumn_ = bankColumn;
  dateColumn_ = dateColumn;
  ready_ = true;
  return true;
}

QList<QDate> TCheckSendDate::readyDates() const {
  QList<QDate> out;
  if (!ready_) return out;
  QString sql = QStringLiteral("SELECT %1 AS DateIche FROM %2 WHERE (State = 1)").arg(dateColumn_, table_);
  if (!bankColumn_.isEmpty()) sql += QStringLiteral(" AND ((%1 = '11') OR (%1 = '12'))").arg(bankColumn_);
  sql += QStringLiteral(" ORDER BY %1").arg(dateColumn_);
  QSqlQuery q(db_);
  if (!q.exec(sql)) return out;
  while (q.next()) out << toDate(q.value(0));
  return out;
}

int TCheckSendDate::CountOutOfRange() const {
  const QDate today = Today();
  int n = 0;
  for (const QDate& d : readyDates())
    if (d.isValid() && DaysBetween(d, today) >= kNacfDays) ++n;
  return n;
}

bool TCheckSendDate::ConfirmDateRange(const QString& name) const {
  const int n = CountOutOfRange();
  if (n == 0) return true;
  const QString text = QStringLiteral(" 설정범위를 초과한 [") + name + QStringLiteral("]자료가 ") + QString::number(n) +
                       QStringLiteral("건 있습니다. ") + QStringLiteral("\r\n\r\n\r\n") +
                       QStringLiteral(" 농협으로 전송되는 이체자료의 이체일자 설정범위는 송신일로부터 ") +
                       QString::number(kNacfDays) + QStringLiteral("일 이내입니다.  ") + QStringLiteral("\r\n\r\n") +
                       QStringLiteral(" 이 자료는 이체처리가 정상적으로 이루어지지 않을 수 있습니다. ") +
                       QStringLiteral("\r\n\r\n") + QStringLiteral(" 이체자료의 송신을 계속 진행하시겠습니까?") +
                       QStringLiteral("\r\n\r\n\r\n") +
                       QStringLiteral("    예(Y) : [송신대기]상태인 이체자료의 전송을 계속 진행합니다. ") +
                       QStringLiteral("\r\n\r\n") +
                       QStringLiteral("    아니오(N) : [송신대기]상태인 이체자료의 전송을 중단합니다. ");
  return prompter().message(MsgKind::Warning, QStringLiteral("이체일자 설정범위 오류-농협(은행코드:11,12)"), text,
                            Yes | No, Yes) == Yes;
}

bool TCheckSendDate::FindSameDaySent() const {
  QList<QDate> dates;
  for (const QDate& d : readyDates())
    if (d.isValid() && !dates.contains(d)) dates << d;
  if (dates.isEmpty()) return false;
  QStringList marks;
  for (int i = 0; i < dates.size(); ++i) marks << QStringLiteral("?");
  QSqlQuery q(db_);
  q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE (State = 2) AND (%2 IN (%3))")
                .arg(table_, dateColumn_, marks.join(QLatin1Char(','))));
  for (const QDate& d : dates) q.addBindValue(d.toString(Qt::ISODate));
  return q.exec() && q.next() && q.value(0).toInt() > 0;
}

bool TCheckSendDate::ConfirmSameDay() const {
  if (!FindSameDaySent()) return true;
  return prompter().message(
             MsgKind::Warning, QStringLiteral("[주의] 농협:동일한 이체일로 송신된 이체자료 확인필요"),
             QStringLiteral("동일한 일자에 대해, 동일한 기관코드로 여러건의 이체를 신청할 경우 \r\n\r\n맨 마지막에 "
                            "신청(전송)한 자료만 이체처리가 되니 \r\n\r\n반드시 해당내용을 확인 후 처리하시기 "
                            "바랍니다.\r\n\r\n\r\n    예(Y) : [송신대기]상태인 이체자료의 전송을 계속 진행합니다. "
                            "\r\n\r\n    아니오(N) : [송신대기]상태인 이체자료의 전송을 중단합니다. "),
             Yes | No, Yes) == Yes;
}

bool ConsentCutOffOk(const QSqlDatabase& db, const QString& bankCode) {
  QSqlQuery q(db);
  if (!q.exec(QStringLiteral("SELECT 1 FROM BankCode WHERE SENDVERSION = '1' LIMIT 1")) || !q.next()) return false;
  const QDateTime now = Now();
  if (IsHoliday(now.date())) {
    InfoBox(QStringLiteral("오늘은 공휴일입니다.출금동의 신청을 하실수 없습니다"));
    return false;
  }
  QString cutoff = QStringLiteral("150000");
  if (bankCode == QLatin1String("21") || bankCode == QLatin1String("26") || bankCode == QLatin1String("88") ||
      bankCode == QLatin1String("03"))
    cutoff = QStringLiteral("160000");
  if (now.toString(QStringLiteral("HHmmss")) <= cutoff) return true;
  QSqlQuery c(db);
  if (!c.exec(QStringLiteral("SELECT 1 FROM TongRegister WHERE Status IN (0, 4) LIMIT 1")) || !c.next()) return true;
  const QString hh = cutoff.left(2);
  InfoBox(QStringLiteral("출금동의 데이타가 존재 합니다. \r\n당일 출금동의 신청시 [") + hh +
          QStringLiteral("]시까지 가능하므로,") + QStringLiteral("\r\n") + QStringLiteral("평일[") + hh +
          QStringLiteral("]시 이전에 재송신하세요"));
  return false;
}

}  // namespace orvan
