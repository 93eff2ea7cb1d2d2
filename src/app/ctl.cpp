#include "app/ctl.h"

#include "app/calendar.h"

#include "db/dbinit.h"

namespace orvan {

const QList<CtlCommand>& CtlCommands() {
  static const QList<CtlCommand> commands = {
      {"holidays", "holidays YEAR         list the bank holidays of the year that fall on weekdays", CtlHolidays},
      {"init", "init                  create or upgrade the database of the application folder", CtlInit},
  };
  return commands;
}

int RunCtl(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  auto usage = [&] {
    err << "usage: orvanctl COMMAND [ARGUMENTS]\n";
    for (const CtlCommand& c : CtlCommands()) err << "  " << c.usage << '\n';
    return 2;
  };
  if (arguments.isEmpty()) return usage();
  for (const CtlCommand& c : CtlCommands()) {
    if (arguments.first() == QLatin1String(c.name)) {
      CtlContext ctx{arguments.mid(1), out, err};
      return c.run(ctx);
    }
  }
  err << "orvanctl: unknown command " << arguments.first() << '\n';
  return usage();
}

}  // namespace orvan
