#include "app/business.h"

#include <bit>

namespace orvan {

const QString kOptionKey = QStringLiteral("Software\\Orvan\\Option");
const QString kFirstKey = QStringLiteral("Software\\Orvan\\FIRST");

const QList<Business>& Businesses() {
  static const QList<Business> list = {
      {1, 1, QStringLiteral("자금이체"), BusinessWindow::Trans, QStringLiteral("MainTran1"), QStringLiteral("MainTran2")},
      {2, 2, QStringLiteral("수납(CMS)신청"), BusinessWindow::Cms, QStringLiteral("MainCMS1"), QStringLiteral("MainCMS2")},
      {4, 4, QStringLiteral("외환매매정보"), BusinessWindow::Trade, QStringLiteral("MainTrade1"), QStringLiteral("MainTrade2")},
      {8, 8, QStringLiteral("조흥전자외상매출"), BusinessWindow::CTrade, QStringLiteral("MainCTrade1"),
       QStringLiteral("MainCTrade2")},
      {16, 16, QStringLiteral("조흥기업구매자금대출"), BusinessWindow::CHBTrade, QStringLiteral("MainGUMAE1"),
       QStringLiteral("MainGUMAE2")},
      {32, 66, QStringLiteral("기업구매"), BusinessWindow::Purchase, QStringLiteral("MainPurchase1"),
       QStringLiteral("MainPurchase2")},
      {32, 67, QStringLiteral("기업역구매카드"), BusinessWindow::Purchase, QStringLiteral("MainPurchase_N1"),
       QStringLiteral("MainPurchase_N2")},
      {64, 64, QStringLiteral("집급내역"), BusinessWindow::Recv, QStringLiteral("MainRecv1"), QStringLiteral("MainRecv2")},
      {128, 128, QStringLiteral("받을어음"), BusinessWindow::Note, QStringLiteral("MainNote1"), QStringLiteral("MainNote2")},
      {1, 65, QStringLiteral("자금이체 그룹관리"), BusinessWindow::GBank, QString(), QString()},
  };
  return list;
}

const Business* BusinessByCode(int code) {
  for (const Business& b : Businesses())
    if (b.code == code) return &b;
  return nullptr;
}

QList<Business> StartButtonBusinesses(qint32 mask) {
  QList<Business> out;
  for (const Business& b : Businesses())
    if ((mask & b.bit) && !b.hotPicture.isEmpty()) out << b;
  return out;
}

int CountBusinesses(qint32 mask) { return std::popcount(static_cast<quint32>(mask)); }

QRect PlaceStartButton(int n) {
  if (n <= 3) return QRect(70 * n + 20, 140, 69, 96);
  if (n <= 8) return QRect(70 * n - 260, 240, 69, 96);
  return QRect(70 * n - 610, 340, 69, 96);
}

QRect ExitButtonPlace() { return QRect(440, 400, 100, 80); }

QList<BusinessMenuEntry> BusinessMenuEntries(qint32 mask) {
  QList<BusinessMenuEntry> out;
  if (mask == 0) return out;
  auto item = [](const QString& caption, int code) {
    return BusinessMenuEntry{BusinessMenuEntry::Item, caption, code, {}};
  };
  const BusinessMenuEntry separator{BusinessMenuEntry::Separator, {}, 0, {}};
  if (mask & 1) out << item(QStringLiteral("자금이체"), 1);
  if (mask & 2) out << item(QStringLiteral("수납(CMS)신청"), 2);
  if (mask & 4) out << item(QStringLiteral("외환매매정보"), 4);
  if (mask & 8) out << item(QStringLiteral("조흥전자외상매출"), 8);
  if (mask & 16) out << item(QStringLiteral("조흥기업구매자금대출"), 16);
  if (mask & 32)
    out << BusinessMenuEntry{BusinessMenuEntry::SubMenu, QStringLiteral("조흥기업구매/역구매카드"), 0,
                             {item(QStringLiteral("기업구매"), 66), item(QStringLiteral("기업역구매카드"), 67)}};
  if (mask & 64) out << separator << item(QStringLiteral("집급내역"), 64);
  if (mask & 128) {
    if (!(mask & 64)) out << separator;
    out << item(QStringLiteral("받을어음"), 128);
  }
  if (mask & 1) out << separator << item(QStringLiteral("자금이체 그룹관리"), 65);
  return out;
}

}  // namespace orvan
