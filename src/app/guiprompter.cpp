#include "app/guiprompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>

#include "app/guiservices.h"
#include "app/userinputdialog.h"
#include "app/wait.h"
#include "app/waitwindow.h"

namespace orvan {
namespace {

struct ButtonInfo {
  Button button;
  QMessageBox::StandardButton standard;
  const char* text;
};

const ButtonInfo kButtons[] = {
    {Ok, QMessageBox::Ok, "확인"},
    {Cancel, QMessageBox::Cancel, "취소"},
    {Yes, QMessageBox::Yes, "예"},
    {No, QMessageBox::No, "아니오"},
};

// What closing the box without a button (Escape, the window's close box)
// means: the most cautious button of the set.
Button escapeOf(Buttons buttons) {
  if (buttons & Cancel) return Cancel;
  if (buttons & No) return No;
  return Ok;
}

}  // namespace

QString DisplayText(const QString& text) {
  QString t = text;
  t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

QWidget* GuiPrompter::dialogParent() {
  QWidget* w = QApplication::activeModalWidget();
  if (!w) w = QApplication::activeWindow();
  if (qobject_cast<TfrmWaitMsg*>(w)) return nullptr;
  return w;
}

QMessageBox::Icon GuiPrompter::iconFor(MsgKind kind) {
  switch (kind) {
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Question: return QMessageBox::Question;
    case MsgKind::Plain: break;
  }
  return QMessageBox::NoIcon;
}

Button GuiPrompter::message(MsgKind kind, const QString& caption, const QString& text, Buttons buttons,
                            Button defaultButton) {
  if ((buttons & (Ok | Cancel | Yes | No)) == 0) buttons = Ok;
  QMessageBox box(iconFor(kind), caption, DisplayText(text), QMessageBox::NoButton, dialogParent());
  box.setObjectName(QStringLiteral("OrvanMessageBox"));
  // Texts such as "<주의 사항>" are not markup.
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  for (const ButtonInfo& b : kButtons) {
    if (!(buttons & b.button)) continue;
    box.addButton(b.standard)->setText(QString::fromUtf8(b.text));
  }
  for (const ButtonInfo& b : kButtons) {
    if (b.button == defaultButton && (buttons & b.button)) box.setDefaultButton(b.standard);
    if (b.button == escapeOf(buttons)) box.setEscapeButton(b.standard);
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (const ButtonInfo& b : kButtons)
    if (clicked && clicked == box.button(b.standard)) return b.button;
  return escapeOf(buttons);
}

std::optional<QString> GuiPrompter::input(const InputRequest& request) {
  TfrmUserInput dlg(request, dialogParent());
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  return dlg.value();
}

std::optional<QString> GuiPrompter::chooseFile(const FileRequest& request) {
  QWidget* parent = dialogParent();
  QString path;
  switch (request.mode) {
    case FileRequest::OpenFile:
    case FileRequest::SaveFile: {
      QString start = request.directory;
      if (!request.fileName.isEmpty())
        start = start.isEmpty() ? request.fileName : QDir(start).filePath(request.fileName);
      path = request.mode == FileRequest::OpenFile
                 ? QFileDialog::getOpenFileName(parent, request.caption, start, request.filter)
                 : QFileDialog::getSaveFileName(parent, request.caption, start, request.filter);
      break;
    }
    case FileRequest::Folder:
      path = QFileDialog::getExistingDirectory(parent, request.caption, request.directory);
      break;
  }
  if (path.isEmpty()) return std::nullopt;
  return path;
}

void InstallGuiServices() {
  static GuiPrompter guiPrompter;
  static GuiWait guiWait;
  setPrompter(&guiPrompter);
  setWaitIndicator(&guiWait);
}

}  // namespace orvan
