// Repolt: the upgrade installer. Started by the program with the product
// code and the program file, in the application directory.
#include <QApplication>
#include <QDir>

#include "app/guiservices.h"
#include "installer/TRepoltDlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Unattended installs (and tests) answer every box with OK on standard error.
  if (qEnvironmentVariable("ORVAN_UNATTENDED") != QLatin1String("1")) orvan::InstallGuiServices();
  orvan::UpgradeInstaller::Options o;
  o.workDir = QDir::currentPath();
  o.arguments = app.arguments().mid(1);
  orvan::TRepoltDlg dlg(std::move(o));
  dlg.exec();
  return 0;
}
