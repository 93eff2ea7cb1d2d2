// Test entry: a QApplication on the offscreen platform, so window tests and
// logic tests share one program per folder.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Tests that need the programs, libraries or pictures find the staged folder here.
  if (!qEnvironmentVariableIsSet("ORVAN_STAGE_DIR")) qputenv("ORVAN_STAGE_DIR", ORVAN_STAGE_DIR_DEFAULT);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
