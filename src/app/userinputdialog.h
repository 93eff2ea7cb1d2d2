#pragma once
// The small entry dialog behind AskText, ConfirmProgramPassword and
// AskVerificationCode: a label, one edit and OK/Cancel. The request's
// validator decides on OK whether the entry is taken, tried again or the
// dialog is given up.
#include <QDialog>

#include "platform/prompter.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvan {

class TfrmUserInput : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmUserInput(const InputRequest& request, QWidget* parent = nullptr);

  // The accepted entry (or the validator's replacement for it).
  QString value() const { return value_; }

  QLabel* label() const { return label_; }
  QLineEdit* edit() const { return edit_; }
  QPushButton* okButton() const { return btnOk_; }
  QPushButton* cancelButton() const { return btnCancel_; }

 private:
  void btnOkClick();
  void tell(const QString& text);

  InputRequest request_;
  QString value_;
  QLabel* label_;
  QLineEdit* edit_;
  QPushButton* btnOk_;
  QPushButton* btnCancel_;
};

}  // namespace orvan
