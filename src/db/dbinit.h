#pragma once
// Brings the database of a data directory to the current schema in one go:
// the missing tables (a fresh installation gets the delivered banks, work
// kinds and codes), the schema steps, bank "45" and the key table. Used by
// `orvanctl init`; running it again changes nothing.
#include <QString>
#include <QStringList>

#include "app/ctl.h"

namespace orvan {

class TFbDM;

struct InitReport {
  bool ok = true;
  QString failedStep;   // the schema step that failed, empty when none
  QStringList changes;  // what was created, added or seeded
};

InitReport InitializeDatabase(TFbDM& dm);

// orvanctl init
int CtlInit(CtlContext& ctx);

}  // namespace orvan
