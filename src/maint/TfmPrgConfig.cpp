#include "maint/TfmPrgConfig.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/startup.h"

namespace orvan {

TfmPrgConfig::TfmPrgConfig(Registry registry, QWidget* parent) : QDialog(parent), registry_(std::move(registry)) {
  setObjectName(QStringLiteral("fmPrgConfig"));
  setWindowTitle(QStringLiteral("User Program Config Dialog"));
  setModal(true);

  auto* group = new QGroupBox(QStringLiteral("사용 프로그램 선택"), this);
  auto* groupLayout = new QVBoxLayout(group);
  const QList<QPair<int, QString>> rows = {
      {1, QStringLiteral("자금이체")},
      {2, QStringLiteral("수납(CMS)신청")},
      {4, QStringLiteral("외환매매정보")},
      {8, QStringLiteral("조흥전자외상매출")},
      {16, QStringLiteral("조흥 기업 구매자금 대출")},
      {32, QStringLiteral("조흥 기업 구매/역구매카트")},
      {64, QStringLiteral("집금내역")},
      {128, QStringLiteral("받을어음")},
  };
  for (const auto& [bit, caption] : rows) {
    auto* cb = new QCheckBox(caption, group);
    cb->setObjectName(QStringLiteral("chk%1").arg(bit));
    groupLayout->addWidget(cb);
    boxes_ << qMakePair(bit, cb);
  }

  btnOk_ = new QPushButton(QStringLiteral("확    인"), this);
  btnOk_->setObjectName(QStringLiteral("btnOk"));
  btnOk_->setDefault(true);
  connect(btnOk_, &QPushButton::clicked, this, &TfmPrgConfig::btnOkClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk_);
  buttons->addStretch();
  layout->addLayout(buttons);
  setFixedWidth(300);

  // Opened without creating the key: a first start shows every box empty.
  mask_ = ReadBusinessMask(registry_).value_or(0);
  for (const auto& [bit, cb] : boxes_) cb->setChecked(mask_ & bit);
}

qint32 TfmPrgConfig::tickedMask() const {
  qint32 m = 0;
  for (const auto& [bit, cb] : boxes_)
    if (cb->isChecked()) m |= bit;
  return m;
}

QCheckBox* TfmPrgConfig::box(int bit) const {
  for (const auto& [b, cb] : boxes_)
    if (b == bit) return cb;
  return nullptr;
}

void TfmPrgConfig::btnOkClick() {
  const qint32 m = tickedMask();
  if (!WriteBusinessMask(registry_, m)) return;  // the key could not be opened: stay
  mask_ = m;
  accept();
}

}  // namespace orvan
