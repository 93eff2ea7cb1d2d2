#include "app/messages.h"

#include "app/wait.h"

namespace orvan {
namespace {
QString& title() {
  static QString t = QStringLiteral("일반은행용 펌뱅킹 서비스");
  return t;
}

void box(MsgKind kind, const QString& text) {
  CloseWait();
  prompter().message(kind, ApplicationTitle(), text, Ok, Ok);
}

Button ask(const QString& text, Buttons buttons, Button def) {
  WaitIndicator* w = waitIndicator();
  bool wasShown = w && w->exists() && w->isVisible();
  if (wasShown) HideWait();
  Button b = prompter().message(MsgKind::Question, ApplicationTitle(), text, buttons, def);
  if (wasShown) ReshowWait();
  return b;
}
}  // namespace

QString ApplicationTitle() { return title(); }
void SetApplicationTitle(const QString& t) { title() = t; }

void PlainBox(const QString& text) { box(MsgKind::Plain, text); }
void InfoBox(const QString& text) { box(MsgKind::Information, text); }
void WarnBox(const QString& text) { box(MsgKind::Warning, text); }
void ErrorBox(const QString& text) { box(MsgKind::Error, text); }

bool AskYesNo(const QString& text, bool yesDefault) {
  return ask(text, Yes | No, yesDefault ? Yes : No) == Yes;
}

Button AskButtons(const QString& text, Buttons buttons, Button defaultButton) {
  return ask(text, buttons, defaultButton);
}

void ReportError(const std::exception& e) { ErrorBox(QString::fromUtf8(e.what())); }
void ReportError(const QString& text) { ErrorBox(text); }

}  // namespace orvan
