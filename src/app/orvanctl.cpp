// orvanctl: the program's operations without windows, for scheduled runs,
// support and black-box tests.
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

#include "app/ctl.h"
#include "app/paths.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  try {
    orvan::InitPaths(orvan::ResolveApplicationDir(), QStringLiteral("Orvan"));
    int rc = orvan::RunCtl(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return rc;
  } catch (const std::exception& e) {
    err << "orvanctl: " << e.what() << '\n';
    return 1;
  }
}
