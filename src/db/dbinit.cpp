#include "db/dbinit.h"

#include "app/paths.h"
#include "db/fbdm.h"

namespace orvan {

InitReport InitializeDatabase(TFbDM& dm) {
  InitReport r;
  if (!dm.CreateMissingTables()) {
    r.ok = false;
    r.failedStep = QStringLiteral("CreateMissingTables");
  }
  if (r.ok) {
    r.failedStep = dm.RunSchemaSteps();
    r.ok = r.failedStep.isEmpty();
  }
  if (r.ok && !dm.EnsureBank45()) {
    r.ok = false;
    r.failedStep = QStringLiteral("EnsureBank45");
  }
  if (r.ok) {
    QStringList seeded = dm.keyGen().EnsureKeyTable();
    if (dm.keyGen().keyTableCreated()) r.changes << QStringLiteral("KeyTable 테이블 생성");
    for (const QString& s : seeded) r.changes << QStringLiteral("KeyTable %1 번호 시작값 기록").arg(s);
  }
  r.changes = dm.schemaLog() + r.changes;
  dm.clearSchemaLog();
  dm.FlushAllTables();
  return r;
}

int CtlInit(CtlContext& ctx) {
  const QString dir = paths().dataDir;
  TFbDM dm(dir);
  InitReport r = InitializeDatabase(dm);
  ctx.out << "database: " << dm.databasePath() << '\n';
  for (const QString& c : r.changes) ctx.out << "  " << c << '\n';
  if (!r.ok) {
    ctx.err << "orvanctl init: step " << r.failedStep << " failed\n";
    return 1;
  }
  if (r.changes.isEmpty()) ctx.out << "nothing changed: the database is up to date\n";
  return 0;
}

}  // namespace orvan
