// Orvan: the GUI program.
#include <QApplication>
#include <QMainWindow>

#include "app/guiservices.h"
#include "app/messages.h"
#include "app/paths.h"
#include "platform/appdir.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orvan::InitPaths(orvan::ResolveApplicationDir(), QStringLiteral("Orvan"));
  orvan::InstallGuiServices();
  QMainWindow w;
  w.setWindowTitle(orvan::ApplicationTitle());
  w.resize(785, 560);
  w.show();
  return app.exec();
}
