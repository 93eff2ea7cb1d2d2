#include "artwork.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/business.h"
#include "icons.h"

namespace drawpictures {
namespace {

// One palette for everything: navy for the frame, blue for the businesses,
// teal for communication, coral for leaving, amber for "under the mouse".
const QColor kNavyDark(0x14, 0x32, 0x5a);
const QColor kNavy(0x1f, 0x56, 0x97);
const QColor kInk(0x22, 0x33, 0x4a);
const QColor kInkSoft(0x5b, 0x6d, 0x84);
const QColor kCardBorder(0xd3, 0xdc, 0xe8);
const QColor kAmber(0xf4, 0xa6, 0x2a);
const QColor kHotFill(0xff, 0xf8, 0xec);
const QColor kBodyTop(0xf2, 0xf6, 0xfb);
const QColor kBodyBottom(0xe2, 0xea, 0xf4);

struct Tone {
  QColor top, bottom;  // tile gradient
};
const Tone kBusiness{QColor(0x3d, 0x84, 0xd8), QColor(0x24, 0x5f, 0xae)};
const Tone kBusinessHot{QColor(0x56, 0x9f, 0xf2), QColor(0x2c, 0x70, 0xca)};
const Tone kComm{QColor(0x22, 0xae, 0x9d), QColor(0x12, 0x80, 0x72)};
const Tone kCommHot{QColor(0x34, 0xc8, 0xb5), QColor(0x17, 0x98, 0x87)};
const Tone kExit{QColor(0xf0, 0x6e, 0x5e), QColor(0xcc, 0x47, 0x3b)};
const Tone kExitHot{QColor(0xff, 0x84, 0x72), QColor(0xe0, 0x55, 0x47)};

enum class Group { Business, Comm, Exit };

struct ButtonArt {
  const char* base;     // picture names are base + "1" (hot) and base + "2" (normal)
  QStringList caption;  // the lines under the icon
  IconFn icon;
  Group group;
};

// Captions are the menu's own words, broken where they read naturally.
const QList<ButtonArt>& Buttons() {
  static const QList<ButtonArt> list = {
      {"MainTran", {QStringLiteral("자금이체")}, IconTransfer, Group::Business},
      {"MainCMS", {QStringLiteral("수납(CMS)"), QStringLiteral("신청")}, IconClipboard, Group::Business},
      {"MainTrade", {QStringLiteral("외환매매"), QStringLiteral("정보")}, IconGlobe, Group::Business},
      {"MainCTrade", {QStringLiteral("조흥전자"), QStringLiteral("외상매출")}, IconEInvoice, Group::Business},
      {"MainGUMAE", {QStringLiteral("조흥기업"), QStringLiteral("구매자금"), QStringLiteral("대출")}, IconCoins,
       Group::Business},
      {"MainPurchase", {QStringLiteral("기업구매")}, IconCart, Group::Business},
      {"MainPurchase_N", {QStringLiteral("기업"), QStringLiteral("역구매카드")}, IconCard, Group::Business},
      {"MainRecv", {QStringLiteral("집급내역")}, IconTray, Group::Business},
      {"MainNote", {QStringLiteral("받을어음")}, IconNote, Group::Business},
      {"MainCommSend", {QStringLiteral("송 신")}, IconUpload, Group::Comm},
      {"MainCommRecv", {QStringLiteral("수 신")}, IconDownload, Group::Comm},
      {"MainCommSendRecv", {QStringLiteral("송수신")}, IconUpDown, Group::Comm},
      {"MainOnline", {QStringLiteral("온라인")}, IconOnline, Group::Comm},
      {"MainExit", {QStringLiteral("종  료")}, IconExit, Group::Exit},
  };
  return list;
}

QString gFamily;  // the caption family once LoadFonts found it

QFont font(int pixels, bool bold = true) {
  QFont f(gFamily);
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QImage canvas(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

void setup(QPainter& p) { p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing); }

// A soft shadow under a rounded card, in a few translucent layers.
void cardShadow(QPainter& p, const QRectF& r, qreal radius) {
  p.save();
  p.setPen(Qt::NoPen);
  const int layers[][2] = {{2, 10}, {1, 18}};
  for (const auto& l : layers) {
    p.setBrush(QColor(20, 40, 70, l[1]));
    p.drawRoundedRect(r.adjusted(-l[0] + 1, l[0], l[0] - 1, l[0]), radius, radius);
  }
  p.restore();
}

void drawTile(QPainter& p, const QRectF& r, const Tone& tone, IconFn icon) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, tone.top);
  g.setColorAt(1, tone.bottom);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(r, r.width() * 0.29, r.width() * 0.29);
  // The icon fills 66% of the tile on its 24-unit grid.
  const qreal side = r.width() * 0.66;
  p.save();
  p.translate(r.center().x() - side / 2, r.center().y() - side / 2);
  p.scale(side / 24.0, side / 24.0);
  p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  icon(p);
  p.restore();
}

const Tone& toneOf(Group g, bool hot) {
  switch (g) {
    case Group::Comm:
      return hot ? kCommHot : kComm;
    case Group::Exit:
      return hot ? kExitHot : kExit;
    default:
      return hot ? kBusinessHot : kBusiness;
  }
}

void drawCard(QPainter& p, const QRectF& card, bool hot) {
  const qreal radius = 7;
  if (hot) {
    // A glow reaching just past the card into the image's margin.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kAmber.red(), kAmber.green(), kAmber.blue(), 70));
    p.drawRoundedRect(card.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
    p.setBrush(kHotFill);
    p.setPen(QPen(kAmber, 2));
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  } else {
    cardShadow(p, card, radius);
    p.setBrush(Qt::white);
    p.setPen(QPen(kCardBorder, 1));
    p.drawRoundedRect(card, radius, radius);
  }
}

void drawCaption(QPainter& p, const QRectF& area, const QStringList& lines, const QColor& color) {
  const QFont f = font(11);
  const QFontMetricsF fm(f);
  const qreal lineHeight = 13;
  const qreal total = lineHeight * lines.size();
  qreal y = area.top() + (area.height() - total) / 2;
  p.setFont(f);
  p.setPen(color);
  for (const QString& line : lines) {
    // Whole-pixel baselines keep the Hangul strokes sharp.
    const qreal x = qRound(area.center().x() - fm.horizontalAdvance(line) / 2);
    const qreal baseline = qRound(y + (lineHeight + fm.ascent() - fm.descent()) / 2);
    p.drawText(QPointF(x, baseline), line);
    y += lineHeight;
  }
}

QImage drawButton(const ButtonArt& art, bool hot) {
  const bool exit = art.group == Group::Exit;
  const QSize size = exit ? QSize(100, 80) : QSize(69, 96);
  QImage img = canvas(size.width(), size.height());
  QPainter p(&img);
  setup(p);
  const QRectF card(2.5, 2.5, size.width() - 5, size.height() - 6);
  drawCard(p, card, hot);
  const qreal tile = exit ? 34 : 36;
  const QRectF tileRect(qRound((size.width() - tile) / 2), exit ? 8 : 9, tile, tile);
  drawTile(p, tileRect, toneOf(art.group, hot), art.icon);
  const QRectF captionArea(card.left() + 1, tileRect.bottom() + 2, card.width() - 2,
                           card.bottom() - tileRect.bottom() - 4);
  drawCaption(p, captionArea, art.caption, hot ? toneOf(art.group, false).bottom.darker(125) : kInk);
  return img;
}

void drawLogoTile(QPainter& p, const QRectF& r) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 34));
  p.drawRoundedRect(r, r.width() * 0.27, r.width() * 0.27);
  const qreal side = r.width() * 0.7;
  p.translate(r.center().x() - side / 2, r.center().y() - side / 2);
  p.scale(side / 24.0, side / 24.0);
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  LogoMark(p, Qt::white, kAmber);
  p.restore();
}

void drawSpacedText(QPainter& p, QPointF at, const QString& text, const QFont& f, qreal spacing) {
  QFont spaced = f;
  spaced.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  p.setFont(spaced);
  p.drawText(at, text);
}

// A bank front in thin lines: a quiet mark for the empty right of the panel.
void drawBankFront(QPainter& p, const QRectF& r) {
  p.save();
  const QColor line(0xc3, 0xd3, 0xe6);
  const QColor fill(0xea, 0xf0, 0xf8);
  p.setPen(QPen(line, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  const qreal w = r.width(), x0 = r.left(), y0 = r.top(), h = r.height();
  QPainterPath roof;
  roof.moveTo(x0, y0 + h * 0.26);
  roof.lineTo(x0 + w / 2, y0);
  roof.lineTo(x0 + w, y0 + h * 0.26);
  roof.closeSubpath();
  p.drawPath(roof);
  p.drawEllipse(QPointF(x0 + w / 2, y0 + h * 0.15), w * 0.045, w * 0.045);
  p.drawRect(QRectF(x0 + w * 0.04, y0 + h * 0.29, w * 0.92, h * 0.06));
  const int columns = 5;
  const qreal colW = w * 0.08, span = w * 0.76;
  for (int i = 0; i < columns; ++i) {
    const qreal cx = x0 + w * 0.12 + span * i / (columns - 1);
    p.drawRect(QRectF(cx - colW / 2, y0 + h * 0.38, colW, h * 0.42));
  }
  p.drawRect(QRectF(x0 + w * 0.04, y0 + h * 0.83, w * 0.92, h * 0.06));
  p.drawRect(QRectF(x0 - w * 0.02, y0 + h * 0.92, w * 1.04, h * 0.08));
  p.restore();
}

QImage drawBackground() {
  const int w = 785, h = 520, band = 100;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  setup(p);
  QLinearGradient body(0, band, 0, h);
  body.setColorAt(0, kBodyTop);
  body.setColorAt(1, kBodyBottom);
  p.fillRect(img.rect(), body);

  // Quiet shapes on the right, clear of the buttons even when the notice panel
  // squeezes the picture to the width left of it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd9, 0xe5, 0xf3, 150));
  p.drawEllipse(QPointF(800, 520), 230, 230);
  p.setBrush(QColor(0xe4, 0xec, 0xf7, 170));
  p.drawEllipse(QPointF(560, 470), 110, 110);
  drawBankFront(p, QRectF(575, 165, 170, 195));

  // Title band.
  QLinearGradient title(0, 0, w, 0);
  title.setColorAt(0, kNavyDark);
  title.setColorAt(1, kNavy);
  p.fillRect(QRect(0, 0, w, band), title);
  p.save();
  p.setClipRect(QRect(0, 0, w, band));
  p.setBrush(QColor(255, 255, 255, 16));
  p.drawEllipse(QPointF(730, -10), 130, 130);
  p.setBrush(QColor(255, 255, 255, 10));
  p.drawEllipse(QPointF(610, 110), 80, 80);
  p.restore();
  p.fillRect(QRect(0, band, w, 3), kAmber);

  drawLogoTile(p, QRectF(22, 24, 52, 52));
  p.setPen(QColor(0xa6, 0xc8, 0xf2));
  drawSpacedText(p, QPointF(90, 44), QStringLiteral("ORVAN"), font(12), 3);
  p.setPen(Qt::white);
  p.setFont(font(26));
  p.drawText(QPointF(88, 77), QStringLiteral("일반은행용 펌뱅킹 서비스"));

  // The heading over the buttons, with a small amber tick.
  p.fillRect(QRectF(20, 116, 3, 13), kAmber);
  p.setPen(kInkSoft);
  p.setFont(font(12));
  p.drawText(QPointF(29, 127), QStringLiteral("업무 바로가기"));
  return img;
}

QImage drawSplash() {
  const int w = 480, h = 300;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  setup(p);
  QLinearGradient g(0, 0, w, h);
  g.setColorAt(0, kNavyDark);
  g.setColorAt(1, kNavy.lighter(112));
  p.fillRect(img.rect(), g);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 14));
  p.drawEllipse(QPointF(440, 30), 150, 150);
  p.setBrush(QColor(255, 255, 255, 9));
  p.drawEllipse(QPointF(360, 300), 110, 110);

  drawLogoTile(p, QRectF(40, 70, 72, 72));
  p.setPen(Qt::white);
  p.setFont(font(46));
  p.drawText(QPointF(128, 122), QStringLiteral("Orvan"));
  p.setPen(QColor(0xd6, 0xe5, 0xf8));
  p.setFont(font(19));
  p.drawText(QPointF(131, 150), QStringLiteral("일반은행용 펌뱅킹 서비스"));

  p.fillRect(QRectF(132, 168, 44, 3), kAmber);
  p.setPen(QColor(0xb4, 0xca, 0xe6));
  p.setFont(font(12, false));
  p.drawText(QPointF(40, 262), QStringLiteral("프로그램을 시작하고 있습니다..."));

  p.setPen(QPen(kNavyDark.darker(130), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
  return img;
}

// Start panel as the main window shows it: the background stretched over the
// panel, business buttons for every business, then the fixed buttons.
QImage panel(const QHash<QString, QImage>& pics, int panelWidth, bool hot, QStringList* missing) {
  const int h = 520;
  QImage img(panelWidth, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter p(&img);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  auto take = [&](const QString& name) {
    if (!pics.contains(name) && !missing->contains(name)) *missing << name;
    return pics.value(name);
  };
  p.drawImage(QRect(0, 0, panelWidth, h), take(QStringLiteral("MainBackground")));
  const QString state = hot ? QStringLiteral("1") : QStringLiteral("2");
  int n = 0;
  for (const orvan::Business& b : orvan::StartButtonBusinesses(0xff))
    p.drawImage(orvan::PlaceStartButton(n++), take(hot ? b.hotPicture : b.normalPicture));
  // The online button exists but stays hidden on the panel.
  for (const char* base : {"MainCommSend", "MainCommRecv", "MainCommSendRecv"})
    p.drawImage(orvan::PlaceStartButton(n++), take(QLatin1String(base) + state));
  p.drawImage(orvan::ExitButtonPlace(), take(QStringLiteral("MainExit") + state));
  return img;
}

}  // namespace

bool LoadFonts(const QString& fontsDir, QString* error) {
  for (const char* file : {"NanumBarunGothic.ttf", "NanumBarunGothicBold.ttf"}) {
    const QString path = fontsDir + QLatin1Char('/') + QLatin1String(file);
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) {
      *error = QStringLiteral("cannot load font ") + path;
      return false;
    }
    if (gFamily.isEmpty()) gFamily = QFontDatabase::applicationFontFamilies(id).value(0);
  }
  return !gFamily.isEmpty();
}

QList<Picture> DrawAll() {
  QList<Picture> out;
  for (const ButtonArt& art : Buttons()) {
    out << Picture{QLatin1String(art.base) + QLatin1Char('1'), drawButton(art, true)};
    out << Picture{QLatin1String(art.base) + QLatin1Char('2'), drawButton(art, false)};
  }
  out << Picture{QStringLiteral("MainBackground"), drawBackground()};
  out << Picture{QStringLiteral("Splash"), drawSplash()};
  return out;
}

QImage ContactSheet(const QHash<QString, QImage>& pics, QStringList* missing) {
  const int margin = 16, labelH = 22, panelW = 785, panelH = 520, noticeW = 222;
  const int pairW = 69 + 69 + 18, pairsPerRow = 4, pairRowH = 96 + 30;
  const int pairRows = (static_cast<int>(Buttons().size()) + pairsPerRow - 1) / pairsPerRow;
  const int sheetW = panelW + 2 * margin;
  const int sheetH = margin + 3 * (labelH + panelH + margin) + labelH + pairRows * pairRowH + margin + labelH + 300 +
                     margin;
  QImage sheet(sheetW, sheetH, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(0x9a, 0xa4, 0xb1));
  QPainter p(&sheet);
  setup(p);
  int y = margin;
  auto label = [&](const QString& text) {
    p.setPen(Qt::white);
    p.setFont(font(13));
    p.drawText(QPointF(margin, y + 15), text);
    y += labelH;
  };

  label(QStringLiteral("시작 화면 (공지 패널 숨김) - 보통"));
  p.drawImage(margin, y, panel(pics, panelW, false, missing));
  y += panelH + margin;
  label(QStringLiteral("시작 화면 - 모든 단추가 마우스 아래"));
  p.drawImage(margin, y, panel(pics, panelW, true, missing));
  y += panelH + margin;
  label(QStringLiteral("시작 화면 (공지 패널 표시: 배경이 좁아짐)"));
  p.drawImage(margin, y, panel(pics, panelW - noticeW, false, missing));
  p.fillRect(QRect(margin + panelW - noticeW, y, noticeW, panelH), Qt::white);
  p.setPen(kInkSoft);
  p.setFont(font(12, false));
  p.drawText(QRect(margin + panelW - noticeW, y, noticeW, panelH), Qt::AlignCenter, QStringLiteral("pan_noti"));
  y += panelH + margin;

  label(QStringLiteral("단추 (보통 | 마우스 아래)"));
  int i = 0;
  for (const ButtonArt& art : Buttons()) {
    const int col = i % pairsPerRow, row = i / pairsPerRow;
    const int x = margin + col * pairW, top = y + row * pairRowH;
    const QString base = QLatin1String(art.base);
    int left = x;
    for (QChar state : {QLatin1Char('2'), QLatin1Char('1')}) {
      const QString name = base + state;
      if (!pics.contains(name)) {
        *missing << name;
        continue;
      }
      p.drawImage(left, top, pics.value(name));
      left += pics.value(name).width();
    }
    p.setPen(QColor(0x1c, 0x26, 0x33));
    p.setFont(font(10, false));
    p.drawText(QPointF(x, top + 96 + 13), base);
    ++i;
  }
  y += pairRows * pairRowH + margin;
  label(QStringLiteral("Splash"));
  if (!pics.contains(QStringLiteral("Splash"))) *missing << QStringLiteral("Splash");
  p.drawImage(margin, y, pics.value(QStringLiteral("Splash")));
  return sheet;
}

}  // namespace drawpictures
