#include "app/startbutton.h"

#include <QPainter>

namespace orvan {

TStartButton::TStartButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
  setText(caption);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void TStartButton::setPictures(const QImage& hot, const QImage& normal) {
  hot_ = hot;
  normal_ = normal;
  update();
}

void TStartButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QImage& img = (hot_state_ && !hot_.isNull()) ? hot_ : normal_;
  if (!img.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), img);
    return;
  }
  // Without the picture bundle the button still says what it does.
  p.setPen(hot_state_ ? palette().highlight().color() : palette().mid().color());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(palette().buttonText().color());
  p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, text());
}

void TStartButton::enterEvent(QEnterEvent*) {
  hot_state_ = true;
  update();
}

void TStartButton::leaveEvent(QEvent*) {
  hot_state_ = false;
  update();
}

}  // namespace orvan
