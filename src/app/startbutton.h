#pragma once
// A start-panel button: the hot picture under the mouse, the normal one
// otherwise; its caption is drawn only when the pictures are missing.
#include <QAbstractButton>
#include <QImage>

namespace orvan {

class TStartButton : public QAbstractButton {
  Q_OBJECT

 public:
  TStartButton(const QString& caption, QWidget* parent = nullptr);
  void setPictures(const QImage& hot, const QImage& normal);
  bool hasPictures() const { return !normal_.isNull(); }
  bool isHot() const { return hot_state_; }
  int selectionCode = 0;

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  QImage hot_, normal_;
  bool hot_state_ = false;
};

}  // namespace orvan
