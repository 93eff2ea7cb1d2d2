#pragma once
// Shared test fixtures.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "platform/prompter.h"

namespace orvan::test {

// CP949 bytes of a text, for byte-exact expectations.
QByteArray cp(const QString& text);
QByteArray cp(const char* utf8);

// A fresh application folder and registry file for one test: ORVAN_HOME,
// ORVAN_REGISTRY and the paths point into it, and a scripted prompter answers.
class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  QString home() const;  // with trailing "/"
  void writeFile(const QString& relative, const QByteArray& bytes);
  QByteArray readFile(const QString& relative) const;

  std::unique_ptr<QTemporaryDir> dir_;
  ScriptedPrompter prompter_;
};

}  // namespace orvan::test

// Lets gtest print QString and QByteArray in failure messages.
QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os);
void PrintTo(const QByteArray& b, std::ostream* os);
QT_END_NAMESPACE
