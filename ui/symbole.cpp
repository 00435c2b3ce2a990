#include "ui/symbole.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr int kGroesse = 32;

const QColor kTinte(40, 40, 60);
const QColor kPapier(255, 255, 255);
const QColor kBlau(40, 90, 170);
const QColor kGelb(240, 200, 60);
const QColor kGruen(60, 140, 70);
const QColor kRot(190, 50, 40);
const QColor kGrau(150, 150, 160);

void blatt(QPainter& p, const QRectF& r) {
  // A sheet of paper with a folded corner.
  const qreal k = r.width() * 0.28;
  QPolygonF umriss;
  umriss << r.topLeft() << QPointF(r.right() - k, r.top()) << QPointF(r.right(), r.top() + k)
         << r.bottomRight() << r.bottomLeft();
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(kPapier);
  p.drawPolygon(umriss);
  QPolygonF ecke;
  ecke << QPointF(r.right() - k, r.top()) << QPointF(r.right() - k, r.top() + k)
       << QPointF(r.right(), r.top() + k);
  p.setBrush(QColor(220, 220, 228));
  p.drawPolygon(ecke);
}

void zeilen(QPainter& p, const QRectF& r, int anzahl, const QColor& farbe = kGrau) {
  p.setPen(QPen(farbe, 1.4));
  const qreal abstand = r.height() / anzahl;
  for (int i = 0; i < anzahl; ++i) {
    const qreal y = r.top() + abstand * (i + 0.5);
    const qreal ende = (i == anzahl - 1) ? r.left() + r.width() * 0.6 : r.right();
    p.drawLine(QPointF(r.left(), y), QPointF(ende, y));
  }
}

// A text centred in r, in a bold face of the given family and pixel size.
void schriftzug(QPainter& p, const QRectF& r, const QString& text, const char* familie, int pixel,
                const QColor& farbe, bool kursiv = false) {
  QFont f(QLatin1String{familie});
  f.setPixelSize(pixel);
  f.setBold(true);
  f.setItalic(kursiv);
  p.setFont(f);
  p.setPen(farbe);
  p.drawText(r, Qt::AlignCenter, text);
}

void neu(QPainter& p) {
  blatt(p, QRectF(7, 3, 18, 25));
  // A small star: the new, empty document.
  p.setPen(QPen(kGelb.darker(130), 1));
  p.setBrush(kGelb);
  QPolygonF stern;
  for (int i = 0; i < 10; ++i) {
    const qreal w = i * 3.14159265 / 5;
    const qreal rad = (i % 2) ? 2.8 : 6.5;
    stern << QPointF(24 + rad * std::sin(w), 8 - rad * std::cos(w));
  }
  p.drawPolygon(stern);
}

void oeffnen(QPainter& p) {
  p.setPen(QPen(kGelb.darker(170), 1.2));
  p.setBrush(kGelb.darker(115));
  p.drawRect(QRectF(3, 9, 22, 17));
  p.setBrush(kGelb);
  QPolygonF klappe;
  klappe << QPointF(6, 14) << QPointF(29, 14) << QPointF(25, 26) << QPointF(3, 26);
  p.drawPolygon(klappe);
  p.setPen(QPen(kGruen, 2.2));
  p.drawArc(QRectF(14, 2, 12, 12), 30 * 16, 150 * 16);
  p.drawLine(QPointF(24.5, 5.5), QPointF(26.5, 9));
}

void speichern(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(kBlau);
  p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
  p.setBrush(kPapier);
  p.drawRect(QRectF(9, 4, 14, 10));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(9, 19, 14, 9));
  p.setBrush(kTinte);
  p.drawRect(QRectF(18, 6, 3, 6));
}

void vorschau(QPainter& p) {
  blatt(p, QRectF(4, 3, 17, 23));
  zeilen(p, QRectF(7, 9, 10, 12), 4);
  p.setPen(QPen(kTinte, 1.6));
  p.setBrush(QColor(200, 230, 255, 180));
  p.drawEllipse(QRectF(13, 13, 11, 11));
  p.setPen(QPen(kTinte, 3.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(22.5, 22.5), QPointF(28, 28));
}

void drucken(QPainter& p) {
  blatt(p, QRectF(9, 2, 14, 12));
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(QColor(190, 190, 200));
  p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
  p.setBrush(kPapier);
  p.drawRect(QRectF(8, 20, 16, 9));
  zeilen(p, QRectF(10, 22, 12, 6), 2);
  p.setBrush(kGruen);
  p.drawEllipse(QRectF(24, 15, 3, 3));
}

void hilfe(QPainter& p) {
  p.setPen(QPen(kBlau.darker(130), 1.2));
  p.setBrush(kBlau);
  p.drawEllipse(QRectF(3, 3, 26, 26));
  schriftzug(p, QRectF(3, 3, 26, 26), QStringLiteral("?"), "Liberation Sans", 20, kPapier);
}

void einfuegen(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(3, 7, 20, 16));
  p.setPen(QPen(kGruen.darker(120), 1));
  p.setBrush(kGruen);
  QPainterPath plus;
  plus.addRect(QRectF(22, 15, 4, 14));
  plus.addRect(QRectF(17, 20, 14, 4));
  p.drawPath(plus.simplified());
}

void text(QPainter& p) {
  schriftzug(p, QRectF(0, 0, 21, 28), QStringLiteral("A"), "Liberation Serif", 22, kTinte);
  schriftzug(p, QRectF(14, 8, 18, 22), QStringLiteral("a"), "Liberation Serif", 16, kBlau, true);
}

void bilder(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(QColor(170, 210, 245));
  p.drawRect(QRectF(3, 6, 26, 20));
  p.setPen(Qt::NoPen);
  p.setBrush(kGelb);
  p.drawEllipse(QRectF(20, 9, 6, 6));
  p.setBrush(kGruen);
  QPolygonF berg;
  berg << QPointF(4, 25) << QPointF(12, 13) << QPointF(18, 21) << QPointF(22, 17)
       << QPointF(28, 25);
  p.drawPolygon(berg);
}

void linie(QPainter& p) {
  p.setPen(QPen(kRot, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4, 27), QPointF(27, 5));
  p.setPen(QPen(kBlau, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(4, 4, 12, 10));
  p.drawEllipse(QRectF(16, 17, 12, 11));
}

void brief(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(kPapier);
  p.drawRect(QRectF(3, 8, 26, 18));
  p.setBrush(Qt::NoBrush);
  QPolygonF klappe;
  klappe << QPointF(3, 8) << QPointF(16, 19) << QPointF(29, 8);
  p.drawPolyline(klappe);
  p.setPen(Qt::NoPen);
  p.setBrush(kRot);
  p.drawRect(QRectF(23, 10, 4, 4));
}

void name(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(QColor(240, 205, 170));
  p.drawEllipse(QRectF(10, 3, 12, 12));
  p.setBrush(kBlau);
  QPainterPath koerper;
  koerper.moveTo(4, 29);
  koerper.cubicTo(4, 17, 28, 17, 28, 29);
  koerper.closeSubpath();
  p.drawPath(koerper);
}

void bank(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(QColor(225, 215, 190));
  QPolygonF giebel;
  giebel << QPointF(3, 11) << QPointF(16, 3) << QPointF(29, 11);
  p.drawPolygon(giebel);
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(5.5 + i * 6, 13, 3, 11));
  p.drawRect(QRectF(3, 25, 26, 3));
}

void layoutSymbol(QPainter& p) {
  blatt(p, QRectF(6, 3, 20, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlau);
  p.drawRect(QRectF(9, 6, 9, 4));
  p.setBrush(kGrau);
  p.drawRect(QRectF(9, 12, 7, 4));
  zeilen(p, QRectF(9, 18, 13, 8), 3);
}

void adresse(QPainter& p) {
  p.setPen(QPen(kTinte, 1.2));
  p.setBrush(QColor(250, 245, 225));
  p.drawRoundedRect(QRectF(3, 6, 26, 20), 2, 2);
  p.setBrush(QColor(240, 205, 170));
  p.drawEllipse(QRectF(6, 10, 7, 7));
  p.setBrush(kBlau);
  p.drawRect(QRectF(6, 18, 7, 5));
  zeilen(p, QRectF(15, 10, 11, 12), 3, kTinte);
}

// Five letterhead layouts: where the sender block and the bank line sit on the sheet.
void layoutVorlage(QPainter& p, int n) {
  blatt(p, QRectF(5, 2, 22, 28));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlau);
  switch (n) {
    case 1:
      p.drawRect(QRectF(8, 5, 10, 4));
      break;  // sender top left
    case 2:
      p.drawRect(QRectF(14, 5, 10, 4));
      break;  // sender top right
    case 3:
      p.drawRect(QRectF(10, 5, 12, 4));
      break;  // sender centred
    case 4:
      p.drawRect(QRectF(8, 5, 16, 2.5));
      break;  // one line across
    default:
      p.drawRect(QRectF(20, 5, 4, 20));
      break;  // side column
  }
  p.setBrush(kGrau);
  p.drawRect(QRectF(8, 11, 8, 4));  // address window
  p.setBrush(kBlau.lighter(150));
  p.drawRect(QRectF(8, 25, n == 5 ? 10 : 16, 2));  // bank line
  zeilen(p, QRectF(8, 16.5, n == 5 ? 10 : 16, 7), 3);
}

void programm(QPainter& p) {
  blatt(p, QRectF(5, 2, 22, 28));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlau);
  p.drawRect(QRectF(8, 5, 12, 5));
  schriftzug(p, QRectF(7, 12, 18, 16), QStringLiteral("QX"), "Liberation Sans", 13, kRot);
}

using Zeichner = std::function<void(QPainter&)>;

const std::map<QString, Zeichner>& zeichner() {
  static const std::map<QString, Zeichner> tabelle = {
      {QStringLiteral("Neu"), neu},
      {QStringLiteral("Öffnen"), oeffnen},
      {QStringLiteral("Speichern"), speichern},
      {QStringLiteral("Vorschau"), vorschau},
      {QStringLiteral("Drucken"), drucken},
      {QStringLiteral("Hilfe"), hilfe},
      {QStringLiteral("Einfügen"), einfuegen},
      {QStringLiteral("Text"), text},
      {QStringLiteral("Bilder"), bilder},
      {QStringLiteral("Linie"), linie},
      {QStringLiteral("Brief"), brief},
      {QStringLiteral("Name"), name},
      {QStringLiteral("Bank"), bank},
      {QStringLiteral("Layout"), layoutSymbol},
      {QStringLiteral("Adresse"), adresse},
      {QStringLiteral("Layout1"), [](QPainter& p) { layoutVorlage(p, 1); }},
      {QStringLiteral("Layout2"), [](QPainter& p) { layoutVorlage(p, 2); }},
      {QStringLiteral("Layout3"), [](QPainter& p) { layoutVorlage(p, 3); }},
      {QStringLiteral("Layout4"), [](QPainter& p) { layoutVorlage(p, 4); }},
      {QStringLiteral("Layout5"), [](QPainter& p) { layoutVorlage(p, 5); }},
      {QStringLiteral("Programm"), programm},
  };
  return tabelle;
}

QPixmap malen(const Zeichner& z, int faktor) {
  QPixmap bild(kGroesse * faktor, kGroesse * faktor);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(faktor, faktor);
  z(p);
  p.end();
  return bild;
}

}  // namespace

QIcon symbol(const QString& schluessel) {
  const auto& tabelle = zeichner();
  const auto it = tabelle.find(schluessel);
  if (it == tabelle.end()) return QIcon();
  QIcon icon;
  icon.addPixmap(malen(it->second, 1));
  icon.addPixmap(malen(it->second, 2));
  return icon;
}
