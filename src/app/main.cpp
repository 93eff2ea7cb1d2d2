// Orvan: the GUI program.
#include <QApplication>
#include <QMainWindow>

#include "app/messages.h"
#include "app/paths.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orvan::InitPaths(orvan::ResolveApplicationDir(), QStringLiteral("Orvan"));
  QMainWindow w;
  w.setWindowTitle(orvan::ApplicationTitle());
  w.resize(785, 560);
  w.show();
  return app.exec();
}
