#pragma once
// The Prompter of the GUI program: message boxes with Korean buttons, the
// TfrmUserInput dialog for entries and the toolkit's file choosers.
#include <QMessageBox>

#include "platform/prompter.h"

class QWidget;

namespace orvan {

class GuiPrompter : public Prompter {
 public:
  Button message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                 Button defaultButton) override;
  std::optional<QString> input(const InputRequest& request) override;
  std::optional<QString> chooseFile(const FileRequest& request) override;

  // The window a box or dialog belongs to: the modal dialog on top, else
  // the active window, never the wait window.
  static QWidget* dialogParent();
  static QMessageBox::Icon iconFor(MsgKind kind);
};

// Texts of the program use CR (and CR LF) as line breaks.
QString DisplayText(const QString& text);

}  // namespace orvan
