#pragma once
// The commands of orvanctl. Each subsystem adds its entries to the table in
// ctl.cpp; a command returns the process exit status.
#include <QStringList>
#include <QTextStream>

namespace orvan {

struct CtlContext {
  QStringList args;  // after the command name
  QTextStream& out;
  QTextStream& err;
};

struct CtlCommand {
  const char* name;
  const char* usage;
  int (*run)(CtlContext& ctx);
};

const QList<CtlCommand>& CtlCommands();
int RunCtl(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace orvan
