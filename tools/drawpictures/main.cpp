// drawpictures: writes the picture bundle's PNGs and its .qrc, or lays the
// written PNGs out on a contact sheet to look at them as the user will.
//
//   drawpictures                      redraw resources/pictures/*.png and resources/ZuDezuzu.qrc
//   drawpictures --sheet sheet.png    compose a contact sheet from resources/pictures
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

#include "artwork.h"

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "drawpictures: %s\n", qPrintable(message));
  return 1;
}

bool writeQrc(const QString& qrcPath, const QString& picturesDir, const QList<drawpictures::Picture>& pictures) {
  QSaveFile f(qrcPath);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  const QString relative = QFileInfo(qrcPath).absoluteDir().relativeFilePath(picturesDir);
  QTextStream out(&f);
  out << "<!-- Written by tools/drawpictures; the aliases are the names the program asks for. -->\n";
  out << "<RCC>\n  <qresource prefix=\"/\">\n";
  for (const auto& pic : pictures)
    out << "    <file alias=\"" << pic.name << "\">" << relative << '/' << pic.name << ".png</file>\n";
  out << "  </qresource>\n</RCC>\n";
  out.flush();
  return f.commit();
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser args;
  args.setApplicationDescription(QStringLiteral("Draws the picture bundle of the start panel and the splash."));
  args.addHelpOption();
  const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("Folder of the PNGs."), QStringLiteral("dir"),
                                  QStringLiteral(ORVAN_RESOURCES_DIR "/pictures"));
  const QCommandLineOption qrcOpt(QStringLiteral("qrc"), QStringLiteral("Resource list to write."),
                                  QStringLiteral("file"), QStringLiteral(ORVAN_RESOURCES_DIR "/ZuDezuzu.qrc"));
  const QCommandLineOption sheetOpt(QStringLiteral("sheet"),
                                    QStringLiteral("Compose a contact sheet of the PNGs in --out instead of drawing."),
                                    QStringLiteral("png"));
  const QCommandLineOption fontsOpt(QStringLiteral("fonts"), QStringLiteral("Folder of the Nanum fonts."),
                                    QStringLiteral("dir"), QStringLiteral(ORVAN_FONTS_DIR));
  args.addOptions({outOpt, qrcOpt, sheetOpt, fontsOpt});
  args.process(app);

  QString error;
  if (!drawpictures::LoadFonts(args.value(fontsOpt), &error)) return fail(error);
  const QString outDir = QDir(args.value(outOpt)).absolutePath();

  if (args.isSet(sheetOpt)) {
    QHash<QString, QImage> pictures;
    for (const QFileInfo& fi : QDir(outDir).entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
      QImage img(fi.absoluteFilePath());
      if (img.isNull()) return fail(QStringLiteral("unreadable ") + fi.absoluteFilePath());
      pictures.insert(fi.completeBaseName(), img);
    }
    QStringList missing;
    const QImage sheet = drawpictures::ContactSheet(pictures, &missing);
    if (!sheet.save(args.value(sheetOpt))) return fail(QStringLiteral("cannot write ") + args.value(sheetOpt));
    if (!missing.isEmpty()) return fail(QStringLiteral("missing pictures: ") + missing.join(QLatin1String(", ")));
    return 0;
  }

  if (!QDir().mkpath(outDir)) return fail(QStringLiteral("cannot create ") + outDir);
  const QList<drawpictures::Picture> pictures = drawpictures::DrawAll();
  for (const auto& pic : pictures) {
    const QString path = outDir + QLatin1Char('/') + pic.name + QStringLiteral(".png");
    if (!pic.image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG", 9))
      return fail(QStringLiteral("cannot write ") + path);
  }
  if (!writeQrc(args.value(qrcOpt), outDir, pictures)) return fail(QStringLiteral("cannot write ") + args.value(qrcOpt));
  std::printf("%lld pictures in %s\n", static_cast<long long>(pictures.size()), qPrintable(outDir));
  return 0;
}
