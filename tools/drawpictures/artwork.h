#pragma once
// The artwork of the picture bundle: one flat style for the start-panel
// buttons, the start panel's background and the splash, and a contact sheet
// that lays the finished PNGs out as the main window does.
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace drawpictures {

struct Picture {
  QString name;  // the name the program asks the bundle for
  QImage image;
};

// Registers the Nanum fonts the captions use; false with a reason when one is missing.
bool LoadFonts(const QString& fontsDir, QString* error);

// Every picture of the bundle, in a stable order.
QList<Picture> DrawAll();

// The start panel with every button, normal and hot, the squeezed panel next to
// the notice panel, each button pair at full size, and the splash. Names that
// the sheet needs but `pictures` lacks are listed in `missing`.
QImage ContactSheet(const QHash<QString, QImage>& pictures, QStringList* missing);

}  // namespace drawpictures
