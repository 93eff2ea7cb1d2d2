#include "icons.h"

#include <QPainterPath>
#include <QtMath>

namespace drawpictures {
namespace {

// A straight arrow from a to b with an open head of the given size.
void arrow(QPainter& p, QPointF a, QPointF b, qreal head = 3.6) {
  p.drawLine(a, b);
  const qreal angle = qAtan2(b.y() - a.y(), b.x() - a.x());
  const qreal spread = qDegreesToRadians(42.0);
  QPainterPath path;
  path.moveTo(b.x() - head * qCos(angle - spread), b.y() - head * qSin(angle - spread));
  path.lineTo(b);
  path.lineTo(b.x() - head * qCos(angle + spread), b.y() - head * qSin(angle + spread));
  p.drawPath(path);
}

void filledDot(QPainter& p, QPointF c, qreal r) {
  p.save();
  p.setBrush(p.pen().color());
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, r, r);
  p.restore();
}

}  // namespace

void IconTransfer(QPainter& p) {
  arrow(p, {4, 8.5}, {20, 8.5}, 4.2);
  arrow(p, {20, 15.5}, {4, 15.5}, 4.2);
}

void IconClipboard(QPainter& p) {
  p.drawRoundedRect(QRectF(5, 4.5, 14, 17), 2, 2);
  p.save();
  p.setBrush(p.pen().color());
  p.drawRoundedRect(QRectF(9, 2.5, 6, 3.5), 1, 1);
  p.restore();
  QPainterPath tick;
  tick.moveTo(8.5, 13.5);
  tick.lineTo(11, 16);
  tick.lineTo(15.5, 10.5);
  p.drawPath(tick);
}

void IconGlobe(QPainter& p) {
  p.drawEllipse(QPointF(12, 12), 9, 9);
  p.drawEllipse(QPointF(12, 12), 3.8, 9);
  p.drawLine(QPointF(3, 12), QPointF(21, 12));
  p.drawLine(QPointF(4.6, 7.5), QPointF(19.4, 7.5));
  p.drawLine(QPointF(4.6, 16.5), QPointF(19.4, 16.5));
}

void IconEInvoice(QPainter& p) {
  QPainterPath doc;
  doc.moveTo(14, 3);
  doc.lineTo(6, 3);
  doc.quadTo(4.5, 3, 4.5, 4.5);
  doc.lineTo(4.5, 19.5);
  doc.quadTo(4.5, 21, 6, 21);
  doc.lineTo(18, 21);
  doc.quadTo(19.5, 21, 19.5, 19.5);
  doc.lineTo(19.5, 8.5);
  doc.closeSubpath();
  doc.moveTo(14, 3);
  doc.lineTo(19.5, 8.5);
  p.drawPath(doc);
  p.drawLine(QPointF(14, 3), QPointF(14, 8.5));
  p.drawLine(QPointF(14, 8.5), QPointF(19.5, 8.5));
  p.save();
  p.setBrush(p.pen().color());
  QPainterPath bolt;
  bolt.moveTo(12.6, 9.8);
  bolt.lineTo(8.6, 15);
  bolt.lineTo(11.6, 15);
  bolt.lineTo(10.8, 19);
  bolt.lineTo(15, 13.4);
  bolt.lineTo(12, 13.4);
  bolt.closeSubpath();
  p.setPen(QPen(p.pen().color(), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(bolt);
  p.restore();
}

void IconCoins(QPainter& p) {
  // A won coin.
  p.drawEllipse(QPointF(12, 12), 9.2, 9.2);
  QPainterPath won;
  won.moveTo(7.4, 7.8);
  won.lineTo(9.5, 16.2);
  won.lineTo(12, 9.8);
  won.lineTo(14.5, 16.2);
  won.lineTo(16.6, 7.8);
  p.drawPath(won);
  p.drawLine(QPointF(6.6, 11.6), QPointF(17.4, 11.6));
}

void IconCart(QPainter& p) {
  QPainterPath cart;
  cart.moveTo(2.5, 4);
  cart.lineTo(5.2, 4);
  cart.lineTo(7.8, 15);
  cart.lineTo(18.2, 15);
  cart.lineTo(20.5, 7.5);
  cart.lineTo(6.1, 7.5);
  p.drawPath(cart);
  filledDot(p, {9.5, 19}, 1.8);
  filledDot(p, {16.5, 19}, 1.8);
}

void IconCard(QPainter& p) {
  p.drawRoundedRect(QRectF(2.5, 5, 19, 14), 2.2, 2.2);
  p.save();
  p.setBrush(p.pen().color());
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(2.5, 8.2, 19, 2.8));
  p.restore();
  // The reverse direction of the card's flow.
  arrow(p, {18.5, 15.2}, {11, 15.2}, 2.6);
  p.drawLine(QPointF(5.5, 15.2), QPointF(7.5, 15.2));
}

void IconTray(QPainter& p) {
  QPainterPath tray;
  tray.moveTo(3, 13.5);
  tray.lineTo(7.5, 13.5);
  tray.lineTo(9.3, 16.5);
  tray.lineTo(14.7, 16.5);
  tray.lineTo(16.5, 13.5);
  tray.lineTo(21, 13.5);
  tray.lineTo(21, 19);
  tray.quadTo(21, 21, 19, 21);
  tray.lineTo(5, 21);
  tray.quadTo(3, 21, 3, 19);
  tray.closeSubpath();
  p.drawPath(tray);
  arrow(p, {12, 2.5}, {12, 11.5}, 3.6);
}

void IconNote(QPainter& p) {
  // A bill: the amount lines on the left, the drawer's seal on the right.
  p.drawRoundedRect(QRectF(1.5, 5, 21, 14), 1.8, 1.8);
  p.drawLine(QPointF(5, 9.5), QPointF(11.5, 9.5));
  p.drawLine(QPointF(5, 13), QPointF(9.5, 13));
  p.drawEllipse(QPointF(16.5, 12.5), 2.9, 2.9);
}

void IconUpload(QPainter& p) {
  arrow(p, {12, 16.5}, {12, 3.5}, 4.4);
  p.drawLine(QPointF(4.5, 20.5), QPointF(19.5, 20.5));
}

void IconDownload(QPainter& p) {
  arrow(p, {12, 3.5}, {12, 16.5}, 4.4);
  p.drawLine(QPointF(4.5, 20.5), QPointF(19.5, 20.5));
}

void IconUpDown(QPainter& p) {
  arrow(p, {8, 20}, {8, 4}, 4);
  arrow(p, {16, 4}, {16, 20}, 4);
}

void IconOnline(QPainter& p) {
  p.drawRoundedRect(QRectF(2.5, 3.5, 19, 13), 1.8, 1.8);
  p.drawLine(QPointF(12, 16.5), QPointF(12, 20.5));
  p.drawLine(QPointF(7.5, 20.5), QPointF(16.5, 20.5));
  // A signal rising from the screen's foot.
  p.drawArc(QRectF(7, 8, 10, 10), 40 * 16, 100 * 16);
  p.drawArc(QRectF(9.5, 10.5, 5, 5), 40 * 16, 100 * 16);
  filledDot(p, {12, 13.4}, 1.1);
}

void IconExit(QPainter& p) {
  QPainterPath frame;
  frame.moveTo(13, 7);
  frame.lineTo(13, 3.5);
  frame.lineTo(4.5, 3.5);
  frame.lineTo(4.5, 20.5);
  frame.lineTo(13, 20.5);
  frame.lineTo(13, 17);
  p.drawPath(frame);
  arrow(p, {9, 12}, {21, 12}, 4);
}

void LogoMark(QPainter& p, const QColor& ring, const QColor& arrowColor) {
  p.save();
  QPen pen = p.pen();
  pen.setColor(ring);
  p.setPen(pen);
  p.drawArc(QRectF(3, 3, 18, 18), 70 * 16, 290 * 16);
  pen.setColor(arrowColor);
  p.setPen(pen);
  arrow(p, {9.5, 14.5}, {21, 3}, 5.2);
  p.restore();
}

}  // namespace drawpictures
