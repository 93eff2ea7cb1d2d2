#include "platform/appdir.h"

#include "platform/process.h"

#include <QDir>
#include <QFileInfo>

namespace orvan {

QString WithSeparator(const QString& folder) {
  QString f = folder.trimmed();
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

QString ResolveApplicationDir() {
  QString home = qEnvironmentVariable("ORVAN_HOME");
  if (!home.isEmpty()) return WithSeparator(QDir(home).absolutePath());
  return WithSeparator(QFileInfo(ExecutablePath()).absolutePath());
}

}  // namespace orvan
