#include "app/waitwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>

namespace orvan {
namespace {
constexpr int kIconSize = 32;
constexpr int kIconLeft = 12;
constexpr int kTextLeft = kIconLeft + kIconSize + 10;
constexpr int kRightMargin = 10;
constexpr int kTextWidth = TfrmWaitMsg::kWidth - kTextLeft - kRightMargin;
constexpr int kRowTop = 9;
constexpr int kRowHeight = 22;
constexpr int kBarTop = 38;
constexpr int kBarHeight = 12;
constexpr int kGap = 6;

// Shown while the program has no icon of its own: an hourglass says "wait"
// without standing for anything else.
QPixmap hourglass(const QPalette& pal) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor frame = pal.color(QPalette::Dark).darker(130);
  p.setPen(QPen(frame, 2));
  p.drawLine(QPointF(8, 4), QPointF(24, 4));
  p.drawLine(QPointF(8, 28), QPointF(24, 28));
  QPainterPath glass;
  glass.moveTo(10, 5);
  glass.lineTo(22, 5);
  glass.cubicTo(22, 12, 17, 14, 17, 16);
  glass.cubicTo(17, 18, 22, 20, 22, 27);
  glass.lineTo(10, 27);
  glass.cubicTo(10, 20, 15, 18, 15, 16);
  glass.cubicTo(15, 14, 10, 12, 10, 5);
  p.setPen(QPen(frame, 1.2));
  p.setBrush(pal.color(QPalette::Base));
  p.drawPath(glass);
  // Sand: a little left on top, a heap below.
  const QColor sand = pal.color(QPalette::Highlight);
  p.setPen(Qt::NoPen);
  p.setBrush(sand);
  QPainterPath top;
  top.moveTo(12.5, 10);
  top.lineTo(19.5, 10);
  top.lineTo(16, 14.5);
  top.closeSubpath();
  p.drawPath(top);
  QPainterPath heap;
  heap.moveTo(11, 26);
  heap.cubicTo(12, 22, 14, 21, 16, 20.5);
  heap.cubicTo(18, 21, 20, 22, 21, 26);
  heap.closeSubpath();
  p.drawPath(heap);
  p.drawRect(QRectF(15.5, 15, 1, 6));
  return pm;
}
}  // namespace

TfrmWaitMsg::TfrmWaitMsg()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      icon_(new QLabel(this)),
      message_(new QLabel(this)),
      percent_(new QLabel(QStringLiteral("0 %"), this)),
      bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("frmWaitMsg"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  // Freed by CloseWait, and closing it must never end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  setAutoFillBackground(true);
  setFixedSize(kWidth, kHeight);

  icon_->setObjectName(QStringLiteral("imgIcon"));
  message_->setObjectName(QStringLiteral("lblMessage"));
  percent_->setObjectName(QStringLiteral("lblPercent"));
  bar_->setObjectName(QStringLiteral("pbProgress"));
  icon_->setGeometry(kIconLeft, (kHeight - kIconSize) / 2, kIconSize, kIconSize);
  percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  // The window is dragged by any point, the labels and the bar included.
  for (QWidget* w : {static_cast<QWidget*>(icon_), static_cast<QWidget*>(message_),
                     static_cast<QWidget*>(percent_), static_cast<QWidget*>(bar_)})
    w->setAttribute(Qt::WA_TransparentForMouseEvents);

  takeApplicationIcon();
  arrange(false);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

void TfrmWaitMsg::takeApplicationIcon() {
  const QIcon icon = QApplication::windowIcon();
  icon_->setPixmap(icon.isNull() ? hourglass(palette()) : icon.pixmap(kIconSize, kIconSize));
}

void TfrmWaitMsg::arrange(bool progress) {
  bar_->setVisible(progress);
  percent_->setVisible(progress);
  if (!progress) {
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setGeometry(kTextLeft, 4, kTextWidth, kHeight - 8);
    return;
  }
  // The percentage takes what its text needs; the message gets the rest of the row.
  int pw = qMax(percent_->fontMetrics().horizontalAdvance(percent_->text()) + 4,
                percent_->fontMetrics().horizontalAdvance(QStringLiteral("100 %")) + 4);
  message_->setWordWrap(false);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  message_->setGeometry(kTextLeft, kRowTop, kTextWidth - pw - kGap, kRowHeight);
  percent_->setGeometry(kWidth - kRightMargin - pw, kRowTop, pw, kRowHeight);
  bar_->setGeometry(kTextLeft, kBarTop, kTextWidth, kBarHeight);
}

void TfrmWaitMsg::showMessage(const QString& text) {
  takeApplicationIcon();
  message_->setText(text);
  arrange(false);
}

void TfrmWaitMsg::showProgress(const QString& text, int minimum, int maximum, const QString& label) {
  takeApplicationIcon();
  message_->setText(text);
  // An empty range would turn the bar into a busy indicator.
  maximum_ = qMax(maximum, minimum);
  bar_->setRange(minimum, qMax(maximum, minimum + 1));
  bar_->setValue(minimum);
  percent_->setText(label);
  arrange(true);
}

void TfrmWaitMsg::setPosition(int position, const QString& label) {
  bar_->setValue(qBound(bar_->minimum(), position, maximum_));
  percent_->setText(label);
  if (bar_->isVisibleTo(this)) arrange(true);
}

void TfrmWaitMsg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrmWaitMsg::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
  dragging_ = true;
  dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
  e->accept();
}

void TfrmWaitMsg::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(e);
  move(e->globalPosition().toPoint() - dragOffset_);
  e->accept();
}

void TfrmWaitMsg::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) dragging_ = false;
  QWidget::mouseReleaseEvent(e);
}

GuiWait::~GuiWait() {
  // Widgets outlive nothing: after the application is gone there is nothing to free.
  if (window_ && QCoreApplication::instance()) delete window_.data();
}

TfrmWaitMsg& GuiWait::ensureWindow() {
  if (!window_) window_ = new TfrmWaitMsg;
  return *window_;
}

void GuiWait::present() {
  if (!window_->isVisible()) window_->show();
  window_->raise();
  QCoreApplication::processEvents();
}

void GuiWait::showMessage(const QString& text) {
  ensureWindow().showMessage(text);
  present();
}

void GuiWait::showProgress(const QString& text, int minimum, int maximum, bool countSwitch) {
  ensureWindow().showProgress(text, minimum, maximum, ProgressLabel(minimum, maximum, minimum, countSwitch));
  present();
}

void GuiWait::setPosition(int position, const QString& label) {
  if (!window_) return;
  window_->setPosition(position, label);
  QCoreApplication::processEvents();
}

void GuiWait::hide() {
  if (window_) window_->hide();
}

void GuiWait::reshow() {
  if (!window_ || window_->isVisible()) return;
  window_->show();
  window_->raise();
}

void GuiWait::close() {
  delete window_.data();
  window_ = nullptr;
  // The long step is over: whatever busy cursor it set goes with the window.
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  QCoreApplication::processEvents();
}

}  // namespace orvan
