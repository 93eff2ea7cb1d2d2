#pragma once
// The business selection dialog: which businesses the main window offers.
#include <QDialog>
#include <QList>

#include "platform/registry.h"

class QCheckBox;
class QPushButton;

namespace orvan {

class TfmPrgConfig : public QDialog {
  Q_OBJECT

 public:
  explicit TfmPrgConfig(Registry registry, QWidget* parent = nullptr);

  qint32 businessMask() const { return mask_; }
  // The mask of the ticked boxes.
  qint32 tickedMask() const;
  QCheckBox* box(int bit) const;
  QPushButton* okButton() const { return btnOk_; }

 private:
  void btnOkClick();

  Registry registry_;
  qint32 mask_ = 0;
  QList<QPair<int, QCheckBox*>> boxes_;
  QPushButton* btnOk_ = nullptr;
};

}  // namespace orvan
