#include "app/fbenter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace orvan {

TfmFB_Enter::TfmFB_Enter(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
  qApp->installEventFilter(this);
}

TfmFB_Enter::~TfmFB_Enter() { qApp->removeEventFilter(this); }

bool TfmFB_Enter::keepsEnter(const QWidget* control, const QWidget* form) {
  // A grid's cell editor sits inside the grid, so look at the whole parent chain.
  for (const QWidget* w = control; w && w != form; w = w->parentWidget()) {
    if (qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
        qobject_cast<const QTextEdit*>(w))
      return true;
  }
  return false;
}

QWidget* TfmFB_Enter::neighbour(QWidget* from, bool forward) const {
  QWidget* w = from;
  // The focus chain is a ring; walking once round is enough.
  for (;;) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == from) return nullptr;
    if (!isAncestorOf(w) || w->focusProxy()) continue;
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(window()) && w->isEnabled())
      return w;
  }
}

bool TfmFB_Enter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
  // Only the first delivery, to the control with the focus; a key that a grid
  // ignored travels on to the grid's parents and must stay untouched there.
  QWidget* focus = QApplication::focusWidget();
  if (watched != focus || !focus || !isAncestorOf(focus)) return false;
  if (keepsEnter(focus, this)) return false;
  const bool forward = !(key->modifiers() & Qt::ShiftModifier);
  if (QWidget* next = neighbour(focus, forward))
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

}  // namespace orvan
