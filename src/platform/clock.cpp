#include "platform/clock.h"

namespace orvan {
namespace {
const Clock* g_clock = nullptr;
}
const Clock& clock() {
  static SystemClock system;
  return g_clock ? *g_clock : system;
}
void setClock(const Clock* c) { g_clock = c; }
}  // namespace orvan
