#pragma once
// The businesses a customer may use: their bits in BusinessMask, the codes
// with which menu entries and start buttons select them, their captions and
// start-panel pictures, and where the start buttons go.
#include <QList>
#include <QRect>
#include <QString>

namespace orvan {

enum class BusinessWindow { None, Trans, Cms, Trade, CTrade, CHBTrade, Purchase, Recv, Note, GBank };

struct Business {
  int bit;             // in BusinessMask
  int code;            // selection code
  QString caption;     // menu caption
  BusinessWindow window;
  QString hotPicture, normalPicture;  // empty: no start button
};

// Every selectable business in selection-code order of the menu.
const QList<Business>& Businesses();
const Business* BusinessByCode(int code);

// The start-button businesses of a mask, in button order (bit 32 gives two).
QList<Business> StartButtonBusinesses(qint32 mask);
int CountBusinesses(qint32 mask);  // set bits among the 32

// Geometry of start button n (from 0) and of the exit button.
QRect PlaceStartButton(int n);
QRect ExitButtonPlace();

// One entry of the business menu as BuildBusinessMenus lays it out.
struct BusinessMenuEntry {
  enum Kind { Item, Separator, SubMenu } kind = Item;
  QString caption;
  int code = 0;                          // Item
  QList<BusinessMenuEntry> children;     // SubMenu
};
// The entries inserted before the menu's own separator and "종  료".
QList<BusinessMenuEntry> BusinessMenuEntries(qint32 mask);

// BusinessMask in the registry: Software\Orvan\Option, value VALUE.
extern const QString kOptionKey;
extern const QString kFirstKey;

}  // namespace orvan
