#include "app/userinputdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/messages.h"
#include "app/wait.h"

namespace orvan {

TfrmUserInput::TfrmUserInput(const InputRequest& request, QWidget* parent)
    : QDialog(parent),
      request_(request),
      label_(new QLabel(request.label, this)),
      edit_(new QLineEdit(request.value, this)),
      btnOk_(new QPushButton(QStringLiteral(" 확 인"), this)),
      btnCancel_(new QPushButton(QStringLiteral(" 취 소"), this)) {
  setObjectName(QStringLiteral("frmUserInput"));
  setWindowTitle(request.caption);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  // The always-on-top wait window must not cover the dialog, however it was opened.
  HideWait();

  label_->setObjectName(QStringLiteral("lblCaption"));
  edit_->setObjectName(QStringLiteral("edtInput"));
  btnOk_->setObjectName(QStringLiteral("btnOk"));
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  label_->setBuddy(edit_);
  if (request.maxLength > 0) edit_->setMaxLength(request.maxLength);
  if (request.masked) {
    edit_->setEchoMode(QLineEdit::Password);
    // Masked entries show "*" whatever the style's own mask character is.
    edit_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  }
  edit_->selectAll();

  btnOk_->setDefault(true);
  btnCancel_->setAutoDefault(false);
  connect(btnOk_, &QPushButton::clicked, this, &TfrmUserInput::btnOkClick);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk_);
  buttons->addWidget(btnCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->setSpacing(8);
  layout->addWidget(label_);
  layout->addWidget(edit_);
  layout->addSpacing(4);
  layout->addLayout(buttons);
  setMinimumWidth(320);
  edit_->setFocus();
}

void TfrmUserInput::tell(const QString& text) {
  if (text.isEmpty()) return;
  // Not WarnBox: that would close the wait window the caller shows again after OK.
  prompter().message(MsgKind::Warning, ApplicationTitle(), text, Ok, Ok);
}

void TfrmUserInput::btnOkClick() {
  const QString entry = edit_->text();
  InputVerdict v = request_.validate ? request_.validate(entry) : InputVerdict::accept();
  switch (v.kind) {
    case InputVerdict::Accept:
      value_ = v.value.isEmpty() ? entry : v.value;
      accept();
      return;
    case InputVerdict::Retry:
      tell(v.message);
      edit_->setFocus();
      edit_->selectAll();
      return;
    case InputVerdict::Cancel:
      tell(v.message);
      reject();
      return;
  }
}

}  // namespace orvan
