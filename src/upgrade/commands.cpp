#include "upgrade/upgrade.h"

namespace orvan {

TUpgradeInterval& UpgradeInterval() {
  static TUpgradeInterval interval;
  return interval;
}

bool UpgradeOnStartup(const UpgradeLauncher& with) {
  LoadUpgradeInterval(UpgradeInterval());
  WriteUpgradeVersions();
  return LaunchUpgrade(ReadEdiLoginID(), false, with);
}

bool ApplyUpgradeSettingsResult(int result, const UpgradeLauncher& with) {
  switch (result) {
    case 1:
      SaveUpgradeInterval(UpgradeInterval());
      // Saving resets the last upgrade day to "20000101".
      UpgradeInterval().UpdateDt = QStringLiteral("20000101");
      return false;
    case 5:
      WriteUpgradeVersions();
      return LaunchUpgrade(ReadEdiLoginID(), true, with);
    default: return false;
  }
}

}  // namespace orvan
