#include "app/userinput.h"

#include "app/paths.h"
#include "app/wait.h"
#include "platform/prompter.h"

namespace orvan {
namespace {
// The dialog hides the wait window when it opens and shows it again on OK.
std::optional<QString> runDialog(const InputRequest& req) {
  HideWait();
  auto r = prompter().input(req);
  if (r) ReshowWait();
  return r;
}
}  // namespace

bool AskText(const QString& caption, const QString& label, QString& value) {
  InputRequest req;
  req.caption = caption;
  req.label = label + QStringLiteral(" :");
  req.value = value;
  req.validate = [](const QString& entry) {
    return entry.isEmpty() ? InputVerdict::retry() : InputVerdict::accept();
  };
  auto r = runDialog(req);
  value = r.value_or(QString());
  return r.has_value();
}

bool ConfirmProgramPassword() {
  const QString stored = ReadProgramPassword();
  const QString label = QStringLiteral("비밀번호");
  int wrong = 0;
  InputRequest req;
  req.caption = QStringLiteral("비밀번호 확인");
  req.label = label;
  req.masked = true;
  req.validate = [&](const QString& entry) {
    if (entry == stored) return InputVerdict::accept();
    QString msg = QStringLiteral("%1가 다릅니다.").arg(label);
    if (++wrong >= 3) return InputVerdict::cancel(msg);
    return InputVerdict::retry(msg);
  };
  return runDialog(req).has_value();
}

bool AskVerificationCode(const QString& name, const QString& managementNo, QString& value) {
  constexpr int kLength = 4;
  int tries = 0;
  InputRequest req;
  req.caption = name + QStringLiteral("의 복기부호 입력");
  req.label = QStringLiteral("관리번호 : ") + managementNo;
  req.value = value;
  req.maxLength = kLength;
  req.validate = [&](const QString& entry) {
    if (entry.size() == kLength) return InputVerdict::accept();
    if (++tries >= 1000) return InputVerdict::cancel();
    if (entry.isEmpty()) return InputVerdict::retry();
    return InputVerdict::retry(QStringLiteral("%1 글자를 입력해야 합니다.").arg(kLength));
  };
  auto r = runDialog(req);
  value = r.value_or(QString());
  return r.has_value();
}

}  // namespace orvan
