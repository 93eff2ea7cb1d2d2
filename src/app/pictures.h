#pragma once
// The start panel's and the splash's pictures ship as a binary resource bundle
// beside the program, so they can be redrawn without rebuilding it. A window
// loads the bundle, takes the pictures it needs and lets the bundle go; the
// decoded images stay valid after that.
#include <QImage>
#include <QString>

namespace orvan {

// The bundle's file in the application folder.
inline const QString kPictureBundleFile = QStringLiteral("ZuDezuzu.rcc");
// What the caller tells the user when the bundle or one of its pictures is unusable.
inline const QString kPictureBundleMissing = QStringLiteral("ZuDezuzu.dll 파일이 없거나 사용할 수 없습니다.");

class PictureBundle {
 public:
  PictureBundle() = default;
  ~PictureBundle() { unload(); }
  PictureBundle(const PictureBundle&) = delete;
  PictureBundle& operator=(const PictureBundle&) = delete;

  // Registers applicationDir + "ZuDezuzu.rcc"; false when it is missing or not a bundle.
  bool load(const QString& applicationDir);
  bool isLoaded() const { return !root_.isEmpty(); }
  // Releases the bundle; pictures taken before stay usable.
  void unload();

  bool has(const QString& name) const;
  // The decoded picture, or a null image when the bundle lacks it or cannot decode it.
  QImage picture(const QString& name) const;

 private:
  QString resourcePath(const QString& name) const;

  QString file_;
  QString root_;  // a root of its own, so each bundle answers from its own file
};

}  // namespace orvan
