#pragma once
// Base of the editor windows: Enter walks through the controls like Tab
// (Shift+Enter backwards), as the users of data-entry screens expect.
// Grids and memos keep their Enter.
#include <QWidget>

namespace orvan {

class TfmFB_Enter : public QWidget {
  Q_OBJECT

 public:
  explicit TfmFB_Enter(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
  ~TfmFB_Enter() override;

  // True when Enter on this control is the control's own key.
  static bool keepsEnter(const QWidget* control, const QWidget* form);

 protected:
  // Key preview: sees the key before the control with the focus does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* neighbour(QWidget* from, bool forward) const;
};

}  // namespace orvan
