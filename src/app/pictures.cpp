#include "app/pictures.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QResource>

namespace orvan {
namespace {

QAtomicInt gNextRoot;

// Picture names are plain identifiers; anything else could reach outside the bundle's root.
bool isPictureName(const QString& name) {
  static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_]+$"));
  return re.match(name).hasMatch();
}

}  // namespace

bool PictureBundle::load(const QString& applicationDir) {
  unload();
  const QString file = QDir(applicationDir).filePath(kPictureBundleFile);
  if (!QFileInfo(file).isFile()) return false;
  const QString root = QStringLiteral("/ZuDezuzu/%1").arg(gNextRoot.fetchAndAddRelaxed(1));
  if (!QResource::registerResource(file, root)) return false;
  file_ = file;
  root_ = root;
  return true;
}

void PictureBundle::unload() {
  if (root_.isEmpty()) return;
  QResource::unregisterResource(file_, root_);
  file_.clear();
  root_.clear();
}

QString PictureBundle::resourcePath(const QString& name) const {
  if (root_.isEmpty() || !isPictureName(name)) return {};
  return QLatin1Char(':') + root_ + QLatin1Char('/') + name;
}

bool PictureBundle::has(const QString& name) const {
  const QString path = resourcePath(name);
  return !path.isEmpty() && QFileInfo(path).isFile();
}

QImage PictureBundle::picture(const QString& name) const {
  if (!has(name)) return {};
  // The decoded image owns its pixels, so it outlives the bundle's mapping.
  QImageReader reader(resourcePath(name));
  return reader.read();
}

}  // namespace orvan
