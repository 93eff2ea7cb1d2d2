#pragma once
// The start-up decisions of the main window that need no window: the first
// start's business selection, the business mask, and the same-day send
// cut-offs.
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

#include "platform/registry.h"

namespace orvan {

// The stored BusinessMask; nullopt when the key does not exist (opened
// without creating it, as the business selection dialog does).
std::optional<qint32> ReadBusinessMask(const Registry& reg);
bool WriteBusinessMask(Registry& reg, qint32 mask);

struct StartupSelection {
  bool firstKeyOpened = false;   // false: the main window stops setting up
  bool optionKeyOpened = false;  // false: BusinessMask is 0 and set-up stops
  qint32 mask = 0;
};

// Steps of the main window's creation: the business selection on a first
// start (or with the MENUSET argument), STARTING = "NO" afterwards, and
// the selection once more when no business is chosen.
StartupSelection RunBusinessSelection(Registry& reg, bool menuSetArgument,
                                      const std::function<void()>& showBusinessSelection);

// The same-day cut-offs checked before a send: kind 3 (bank "03", after
// 16:00:00) and kind 12 (bank "12": CodeA "B" from 15:00:00, "C" at any
// hour). Shows the message and returns false when a waiting batch of
// today blocks the send.
bool SameDayCutoffOk(int kind, const QSqlDatabase& db);

}  // namespace orvan
