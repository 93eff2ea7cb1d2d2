#pragma once
// The upgrade commands of the main window: the check at every start and
// the menu entry "자동업그레이드설정". Both return true when the installer
// has been started; the caller then ends the process at once with
// EndProcessForUpgrade(), asking nothing and closing nothing.
#include "comm/ediconfig.h"
#include "upgrade/launch.h"

class QWidget;

namespace orvan {

// The schedule texts, held from LoadUpgradeInterval until the program ends.
TUpgradeInterval& UpgradeInterval();

// LoadUpgradeInterval, WriteUpgradeVersions, LaunchUpgrade. Run by the main
// window's creation when TestMode is off and UpgradeSwitch is 0.
bool UpgradeOnStartup(const UpgradeLauncher& with = {});

// What the schedule dialog's result asks for: 1 saves the schedule
// (SaveUpgradeInterval), 5 writes the versions and upgrades now, anything
// else does nothing.
bool ApplyUpgradeSettingsResult(int result, const UpgradeLauncher& with = {});

// The menu command, after CloseActiveChild has agreed: LoadUpgradeInterval,
// the dialog TfrmUpGradeSet, then its result as above.
bool ShowUpgradeSettings(QWidget* parent, const UpgradeLauncher& with = {});

}  // namespace orvan
