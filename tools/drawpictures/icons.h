#pragma once
// Line icons of the start panel, drawn on a 24 x 24 grid with the painter's
// current pen (round caps and joins) so one stroke width fits all of them.
#include <QPainter>

namespace drawpictures {

using IconFn = void (*)(QPainter&);

void IconTransfer(QPainter& p);   // two opposed arrows: money moving between accounts
void IconClipboard(QPainter& p);  // clipboard with a tick: an application handed in
void IconGlobe(QPainter& p);      // foreign exchange
void IconEInvoice(QPainter& p);   // invoice with a flash: electronic receivables
void IconCoins(QPainter& p);      // coin stack: purchase loans
void IconCart(QPainter& p);       // corporate purchase
void IconCard(QPainter& p);       // reverse-purchase card
void IconTray(QPainter& p);       // collections arriving in a tray
void IconNote(QPainter& p);       // bill of exchange
void IconUpload(QPainter& p);     // send
void IconDownload(QPainter& p);   // receive
void IconUpDown(QPainter& p);     // send and receive
void IconOnline(QPainter& p);     // PC banking terminal
void IconExit(QPainter& p);       // door with an arrow leaving it

// The product mark: a ring opened by an arrow, drawn in a 24 x 24 grid.
void LogoMark(QPainter& p, const QColor& ring, const QColor& arrow);

}  // namespace drawpictures
