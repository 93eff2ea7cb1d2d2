#include "app/wait.h"

#include <cmath>

namespace orvan {
namespace {
WaitIndicator* g_wait = nullptr;
struct ProgressState {
  int minimum = 0, maximum = 100, position = 0;
  bool count = false;
  bool active = false;
} g_state;
}  // namespace

void setWaitIndicator(WaitIndicator* w) { g_wait = w; }
WaitIndicator* waitIndicator() { return g_wait; }

QString ProgressLabel(int minimum, int maximum, int position, bool countSwitch) {
  if (countSwitch) return QString::number(position) + QLatin1Char('/') + QString::number(maximum);
  int span = maximum - minimum;
  int pct = span > 0 ? static_cast<int>(std::lround(100.0 * (position - minimum) / span)) : 0;
  return QString::number(pct) + QStringLiteral(" %");
}

void ShowWait(const QString& text) {
  g_state.active = true;
  if (g_wait) g_wait->showMessage(text);
}

void ShowProgress(const QString& text, int minimum, int maximum, bool countSwitch) {
  g_state = {minimum, maximum, minimum, countSwitch, true};
  if (g_wait) g_wait->showProgress(text, minimum, maximum, countSwitch);
}

void StepProgress() {
  if (!g_state.active) return;
  ++g_state.position;
  if (g_wait && g_wait->exists())
    g_wait->setPosition(g_state.position,
                        ProgressLabel(g_state.minimum, g_state.maximum, g_state.position, g_state.count));
}

void HideWait() {
  if (g_wait) g_wait->hide();
}

void ReshowWait() {
  if (g_wait) g_wait->reshow();
}

void CloseWait() {
  g_state.active = false;
  if (g_wait) g_wait->close();
}

}  // namespace orvan
