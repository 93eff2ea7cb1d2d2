#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/paths.h"
#include "platform/cp949.h"

namespace orvan::test {

QByteArray cp(const QString& text) { return cp949::encode(text); }
QByteArray cp(const char* utf8) { return cp949::encode(QString::fromUtf8(utf8)); }

void AppFolderTest::SetUp() {
  dir_ = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(dir_->isValid());
  qputenv("ORVAN_HOME", dir_->path().toUtf8());
  qputenv("ORVAN_REGISTRY", (dir_->path() + QStringLiteral("/registry.json")).toUtf8());
  InitPaths(home(), QStringLiteral("Orvan"));
  setPrompter(&prompter_);
}

void AppFolderTest::TearDown() {
  setPrompter(nullptr);
  qunsetenv("ORVAN_HOME");
  qunsetenv("ORVAN_REGISTRY");
}

QString AppFolderTest::home() const { return dir_->path() + QLatin1Char('/'); }

void AppFolderTest::writeFile(const QString& relative, const QByteArray& bytes) {
  QString path = home() + relative;
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray AppFolderTest::readFile(const QString& relative) const {
  QFile f(home() + relative);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace orvan::test

QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QByteArray& b, std::ostream* os) { *os << "bytes(" << b.toHex(' ').toStdString() << ')'; }
QT_END_NAMESPACE
