#include "app/startup.h"

#include "app/business.h"
#include "app/messages.h"
#include "platform/clock.h"

#include <QSqlQuery>
#include <QVariant>

namespace orvan {

std::optional<qint32> ReadBusinessMask(const Registry& reg) {
  if (!reg.keyExists(kOptionKey)) return std::nullopt;
  return reg.readInteger(kOptionKey, QStringLiteral("VALUE")).value_or(0);
}

bool WriteBusinessMask(Registry& reg, qint32 mask) {
  return reg.writeInteger(kOptionKey, QStringLiteral("VALUE"), mask);
}

StartupSelection RunBusinessSelection(Registry& reg, bool menuSetArgument,
                                      const std::function<void()>& showBusinessSelection) {
  StartupSelection s;
  if (!reg.createKey(kFirstKey)) return s;
  s.firstKeyOpened = true;
  auto starting = reg.readString(kFirstKey, QStringLiteral("STARTING"));
  if (!starting) {
    reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("YES"));
    starting = QStringLiteral("YES");
  }
  if (starting->toUpper() == QLatin1String("YES") || starting->isEmpty() || menuSetArgument) {
    showBusinessSelection();
    reg.writeString(kFirstKey, QStringLiteral("STARTING"), QStringLiteral("NO"));
  }

  if (!reg.createKey(kOptionKey)) return s;
  s.optionKeyOpened = true;
  auto value = reg.readInteger(kOptionKey, QStringLiteral("VALUE"));
  if (!value) {
    reg.writeInteger(kOptionKey, QStringLiteral("VALUE"), 0);
    value = 0;
  }
  s.mask = *value;
  if (s.mask == 0) {
    PlainBox(QStringLiteral("업무 설정이 되어 있지 않습니다.\r 사용하실 업무를 선택하세요!"));
    showBusinessSelection();
    s.mask = reg.readInteger(kOptionKey, QStringLiteral("VALUE")).value_or(0);
  }
  return s;
}

namespace {
bool waitingBatchToday(const QSqlDatabase& db, const QString& bank, const QString& codeA) {
  QString sql = QStringLiteral(
      "SELECT COUNT(*) FROM Trans t JOIN KiGwan k ON k.KiGwanID = t.KiGwanID AND k.Part = '1' "
      "WHERE t.TrsDate = :today AND t.State = 1 AND k.BankID = :bank");
  if (!codeA.isEmpty()) sql += QStringLiteral(" AND t.CodeA = :codea");
  QSqlQuery q(db);
  q.prepare(sql);
  q.bindValue(QStringLiteral(":today"), Today().toString(QStringLiteral("yyyy-MM-dd")));
  q.bindValue(QStringLiteral(":bank"), bank);
  if (!codeA.isEmpty()) q.bindValue(QStringLiteral(":codea"), codeA);
  return q.exec() && q.next() && q.value(0).toInt() > 0;
}
}  // namespace

bool SameDayCutoffOk(int kind, const QSqlDatabase& db) {
  const QTime now = Now().time();
  if (kind == 3) {
    if (now > QTime(16, 0, 0) && waitingBatchToday(db, QStringLiteral("03"), {})) {
      PlainBox(QStringLiteral(
          "자금이체정보에 기업은행 당일이체자료가 존재합니다.\r\n기업은행의 경우 당일이체자료 송신제한시간이 오후 "
          "4시00분입니다.\r\n송신제한시간 이내에 송신해 주시기 바랍니다."));
      return false;
    }
    return true;
  }
  if (kind == 12) {
    if (now >= QTime(15, 0, 0) && waitingBatchToday(db, QStringLiteral("12"), QStringLiteral("B"))) {
      PlainBox(QStringLiteral(
          "자금이체 정보에 당일수납이체 데이타가 존재 합니다. \r\n회원조합은 당일수납이체시 오후 3시까지 송신 "
          "가능하므로 데이타를 삭제 또는 수정후 송신하십시오"));
      return false;
    }
    if (waitingBatchToday(db, QStringLiteral("12"), QStringLiteral("C"))) {
      PlainBox(QStringLiteral(
          "자금이체 정보에 당일지급이체 데이타가 존재 합니다. \r\n회원조합은 지급 이체시에는  이체일 당일에는 "
          "송신이 불가합니다.(이체일 전일 오후 8시까지 해야함) 데이타를 삭제 또는 수정후 송신하십시오"));
      return false;
    }
  }
  return true;
}

}  // namespace orvan
