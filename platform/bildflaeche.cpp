#include "platform/bildflaeche.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "platform/textdatei.h"
#include "platform/zahlen.h"

namespace {

int pixelAus(double twips, double tpp) {
  if (!std::isfinite(twips) || twips <= 0 || tpp <= 0) return 0;
  return static_cast<int>(std::min(zahlen::nint(twips / tpp), 1.0e9));
}

// The pixel size of a surface of the given twips, scaled down into the pixel budget.
QSize pixelImBudget(double breiteTwips, double hoeheTwips, double tppX, double tppY) {
  const qint64 b = std::max(1, pixelAus(breiteTwips, tppX));
  const qint64 h = std::max(1, pixelAus(hoeheTwips, tppY));
  if (b * h <= Bildflaeche::kPixelbudget) return QSize(static_cast<int>(b), static_cast<int>(h));
  // Both sides scaled alike.
  const double m =
      Bildflaeche::groessterMassstab(static_cast<double>(b), static_cast<double>(h), 1);
  return QSize(std::max(1, static_cast<int>(b * m)), std::max(1, static_cast<int>(h * m)));
}

// An image of the given logical size at the ratio, filled with the colour.
QImage neuesBild(QSize logisch, double verhaeltnis, const QColor& farbe) {
  const QSize geraet =
      verhaeltnis == 1
          ? logisch
          : QSize(std::max(1, static_cast<int>(zahlen::nint(logisch.width() * verhaeltnis))),
                  std::max(1, static_cast<int>(zahlen::nint(logisch.height() * verhaeltnis))));
  QImage bild(geraet, QImage::Format_RGB32);
  bild.setDevicePixelRatio(verhaeltnis);
  bild.fill(farbe);
  return bild;
}

// A new image of the given logical size at the ratio, holding the old one's content where it
// fits (scaled when the ratios differ).
QImage umgezogen(const QImage& alt, QSize logisch, double verhaeltnis, const QColor& farbe) {
  QImage neu = neuesBild(logisch, verhaeltnis, farbe);
  QPainter p(&neu);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(0, 0, alt);
  return neu;
}

}  // namespace

struct Bildflaeche::Intern {
  QImage bild;
  QSize groesse;           // logical pixels
  double verhaeltnis = 1;  // asked for; the image's devicePixelRatio may be lower
  QPainter maler;
  std::unique_ptr<Geraetekontext> dc;
  bool fett = false;
  bool kursiv = false;
  bool unterstrichen = false;
  bool durchgestrichen = false;
};

Bildflaeche::Bildflaeche(double breiteTwips, double hoeheTwips, double twipsProPixel)
    : d_(std::make_unique<Intern>()),
      tppX_(twipsProPixel > 0 ? twipsProPixel : einheiten::kTwipsProPixel),
      tppY_(twipsProPixel > 0 ? twipsProPixel : einheiten::kTwipsProPixel) {
  const int dpiX = static_cast<int>(zahlen::nint(einheiten::kTwipsProZoll / tppX_));
  const int dpiY = static_cast<int>(zahlen::nint(einheiten::kTwipsProZoll / tppY_));
  d_->dc = std::make_unique<Geraetekontext>(this, dpiX, dpiY);
  d_->dc->setzeMalerQuelle([this] {
    malenBeginnen();
    return &d_->maler;
  });
  d_->groesse = pixelImBudget(breiteTwips, hoeheTwips, tppX_, tppY_);
  d_->bild = neuesBild(d_->groesse, 1, farbeAusRgb(BackColor));
  schriftWaehlen();
}

Bildflaeche::~Bildflaeche() { malenBeenden(); }

void Bildflaeche::malenBeginnen() {
  if (d_->maler.isActive()) return;
  d_->maler.begin(&d_->bild);
  d_->dc->setzeMaler(&d_->maler);
}

void Bildflaeche::malenBeenden() {
  if (!d_->maler.isActive()) return;
  d_->dc->setzeMaler(nullptr);
  d_->maler.end();
}

HDC Bildflaeche::hdc() {
  malenBeginnen();
  return d_->dc.get();
}

QRect Bildflaeche::geraeteflaeche() const { return QRect(QPoint(0, 0), d_->groesse); }

double Bildflaeche::Width() const { return d_->groesse.width() * tppX_; }
double Bildflaeche::Height() const { return d_->groesse.height() * tppY_; }
QSize Bildflaeche::pixelgroesse() const { return d_->groesse; }
double Bildflaeche::pixelverhaeltnis() const { return d_->verhaeltnis; }
void Bildflaeche::setWidth(double twips) { setzeGroesse(twips, Height()); }
void Bildflaeche::setHeight(double twips) { setzeGroesse(Width(), twips); }

double Bildflaeche::groessterMassstab(double breiteTwips, double hoeheTwips, double twipsProPixel) {
  if (!(twipsProPixel > 0)) twipsProPixel = einheiten::kTwipsProPixel;
  const double b = std::max(0.0, breiteTwips / twipsProPixel);
  const double h = std::max(0.0, hoeheTwips / twipsProPixel);
  // Rounding adds at most half a pixel to each side: (b m + 1/2)(h m + 1/2) <= budget.
  const double a = b * h;
  const double lin = (b + h) / 2;
  const double c = 0.25 - static_cast<double>(kPixelbudget);
  if (!std::isfinite(a) || !std::isfinite(lin)) return 0;
  if (a <= 0) return lin > 0 ? -c / lin : std::numeric_limits<double>::infinity();
  return (-lin + std::sqrt(lin * lin - 4 * a * c)) / (2 * a);
}

double Bildflaeche::verhaeltnisImBudget(QSize pixel, double gewuenscht) {
  if (!(gewuenscht > 1) || !std::isfinite(gewuenscht)) return 1;
  const double m = groessterMassstab(pixel.width(), pixel.height(), 1);
  return std::max(1.0, std::min(gewuenscht, m));
}

void Bildflaeche::setzeGroesse(double breiteTwips, double hoeheTwips) {
  const QSize pixel = pixelImBudget(breiteTwips, hoeheTwips, tppX_, tppY_);
  if (pixel == d_->groesse) return;
  malenBeenden();
  d_->bild = umgezogen(d_->bild, pixel, verhaeltnisImBudget(pixel, d_->verhaeltnis),
                       farbeAusRgb(BackColor));
  d_->groesse = pixel;
}

void Bildflaeche::setzePixelverhaeltnis(double verhaeltnis) {
  if (!(verhaeltnis > 1) || !std::isfinite(verhaeltnis)) verhaeltnis = 1;
  if (verhaeltnis == d_->verhaeltnis) return;
  d_->verhaeltnis = verhaeltnis;
  const double wirksam = verhaeltnisImBudget(d_->groesse, verhaeltnis);
  if (wirksam == d_->bild.devicePixelRatio()) return;
  malenBeenden();
  d_->bild = umgezogen(d_->bild, d_->groesse, wirksam, farbeAusRgb(BackColor));
}

void Bildflaeche::Cls() {
  malenBeenden();
  d_->bild.fill(farbeAusRgb(BackColor));
  CurrentX = 0;
  CurrentY = 0;
}

void Bildflaeche::Line(double x1, double y1, double x2, double y2, int32_t farbe, bool box,
                       bool gefuellt) {
  const int px1 = zahlen::int32Begrenzt(x1 / tppX_);
  const int py1 = zahlen::int32Begrenzt(y1 / tppY_);
  const int px2 = zahlen::int32Begrenzt(x2 / tppX_);
  const int py2 = zahlen::int32Begrenzt(y2 / tppY_);
  CurrentX = x2;
  CurrentY = y2;
  malenBeginnen();
  QPainter& m = d_->maler;
  m.save();
  // Drawing on the surface honours the clip region selected into its device context.
  if (d_->dc->hatClip()) {
    m.setClipRegion(d_->dc->clip());
  } else {
    m.setClipping(false);
  }
  m.setRenderHint(QPainter::Antialiasing, false);
  const QColor c = farbeAusRgb(farbe);
  const int breite = std::max<int>(1, DrawWidth);
  const bool unsichtbar = DrawStyle == 5;

  if (box) {
    // A box includes both corners.
    const QRect r = QRect(QPoint(std::min(px1, px2), std::min(py1, py2)),
                          QPoint(std::max(px1, px2), std::max(py1, py2)));
    if (gefuellt) {
      m.fillRect(r, c);
    } else {
      if (FillStyle == 0) m.fillRect(r, farbeAusRgb(FillColor));
      if (!unsichtbar) {
        if (breite <= 1) {
          if (DrawStyle == 0 || DrawStyle == 6) {
            m.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
            m.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
            m.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
            m.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
          } else {
            const QPoint ecken[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft(),
                                    r.topLeft()};
            for (int i = 0; i < 4; ++i) linieZiehen(ecken[i], ecken[i + 1], c, true);
          }
        } else {
          m.setPen(QPen(c, breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          m.setBrush(Qt::NoBrush);
          m.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
        }
      }
    }
  } else if (!unsichtbar) {
    if (breite <= 1) {
      // Like a GDI line: the end point is not drawn.
      linieZiehen(QPoint(px1, py1), QPoint(px2, py2), c, false);
    } else {
      // Wide lines are solid with round ends, whatever the style.
      m.setPen(QPen(c, breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      m.drawLine(QPointF(px1 + 0.5, py1 + 0.5), QPointF(px2 + 0.5, py2 + 0.5));
    }
  }
  m.restore();
}

// A one-pixel line from a to b (logical pixels) by Bresenham's rule, in DrawStyle's pattern
// (dotted: every other pixel), with or without its end point. On an image of more device
// pixels per logical pixel the line is walked in device pixels, each step setting as many
// pixels across the line as a logical pixel holds: as thick and as long as on a plain image,
// with the finer steps of the denser one.
// Only the steps that land on the image are walked: the pixel of step i along the longer
// axis is found directly, so a line that reaches far beyond the surface costs no more than
// the part of it that shows.
void Bildflaeche::linieZiehen(QPoint a, QPoint b, const QColor& farbe, bool mitEndpunkt) {
  // The painter stays active: it draws straight into the same pixels, which nobody else
  // shares while it is active.
  QImage& bild = d_->bild;
  const bool mitClip = d_->dc->hatClip();
  const QRegion& clip = d_->dc->clip();
  const QRgb wert = farbe.rgb();
  const double verhaeltnis = bild.devicePixelRatio();
  // Device pixels of a logical pixel, each way.
  const int seite = std::max(1, static_cast<int>(zahlen::nint(verhaeltnis)));
  auto geraet = [verhaeltnis](int v) {
    return static_cast<qint64>(std::floor(v * verhaeltnis + 0.5));
  };
  const qint64 ax = geraet(a.x());
  const qint64 ay = geraet(a.y());

  // Step i moves one pixel along the main axis and floor((2 i k + n) / 2n) pixels along the
  // other one, for n steps along the main axis and k along the other.
  const qint64 dx = geraet(b.x()) - ax;
  const qint64 dy = geraet(b.y()) - ay;
  const bool waagerecht = std::abs(dx) >= std::abs(dy);
  const qint64 n = waagerecht ? std::abs(dx) : std::abs(dy);
  const qint64 k = waagerecht ? std::abs(dy) : std::abs(dx);
  const int sx = dx >= 0 ? 1 : -1;
  const int sy = dy >= 0 ? 1 : -1;
  // The end point is the whole logical pixel at b.
  const qint64 letzter = mitEndpunkt ? n + seite - 1 : n - 1;
  if (letzter < 0) return;

  // The steps that reach the image: along the main axis exactly, along the other one (where
  // a step sets `seite` pixels from its own on) from its inverse (a step more on each side;
  // every pixel is checked below).
  auto schritte = [](qint64 anfang, int richtung, int groesse) {
    return richtung > 0 ? std::pair<double, double>(-anfang, groesse - 1 - anfang)
                        : std::pair<double, double>(anfang - (groesse - 1), anfang);
  };
  auto [von, bis] = waagerecht ? schritte(ax, sx, bild.width()) : schritte(ay, sy, bild.height());
  const auto [quervon, querbis] = waagerecht
                                      ? schritte(ay + seite - 1, sy, bild.height() + seite - 1)
                                      : schritte(ax + seite - 1, sx, bild.width() + seite - 1);
  if (querbis < std::max(0.0, quervon)) return;
  if (k == 0) {
    if (quervon > 0) return;
  } else {
    const double je = static_cast<double>(n) / (2.0 * static_cast<double>(k));
    von = std::max(von, std::floor((2 * quervon - 1) * je) - 1);
    bis = std::min(bis, std::ceil((2 * querbis + 1) * je) + 1);
  }
  von = std::max(von, 0.0);
  bis = std::min(bis, static_cast<double>(letzter));
  if (von > bis) return;
  const qint64 erster = static_cast<qint64>(von);
  const qint64 schluss = static_cast<qint64>(bis);

  // Dash patterns in logical pixels (on, off, on, off, ...), counted from a.
  static const std::vector<int> muster[] = {{}, {18, 6}, {1, 1}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
  const std::vector<int>& stil = (DrawStyle >= 1 && DrawStyle <= 4) ? muster[DrawStyle] : muster[0];
  const int periode = std::accumulate(stil.begin(), stil.end(), 0);
  auto an = [&](qint64 i) {
    if (stil.empty()) return true;
    int rest = static_cast<int>(i % periode);
    for (std::size_t stufe = 0;; ++stufe) {
      if (rest < stil[stufe]) return stufe % 2 == 0;
      rest -= stil[stufe];
    }
  };
  // The pixels of one step, as far as they lie on the image and inside the clip region
  // (which is given in logical pixels).
  auto setzen = [&](qint64 x, qint64 y) {
    const qint64 x1 = std::min<qint64>(x + (waagerecht ? 1 : seite), bild.width());
    const qint64 y1 = std::min<qint64>(y + (waagerecht ? seite : 1), bild.height());
    for (qint64 py = std::max<qint64>(y, 0); py < y1; ++py) {
      QRgb* zeile = reinterpret_cast<QRgb*>(bild.scanLine(static_cast<int>(py)));
      for (qint64 px = std::max<qint64>(x, 0); px < x1; ++px) {
        if (!mitClip || clip.contains(QPoint(static_cast<int>(px / verhaeltnis),
                                             static_cast<int>(py / verhaeltnis))))
          zeile[px] = wert;
      }
    }
  };

  // The offset along the other axis as quotient and remainder of (2 i k + n) / 2n, carried
  // from step to step. (The first product needs more than 64 bits for the widest lines.)
  const qint64 nenner = 2 * n;
  const __int128 zaehler = static_cast<__int128>(2) * erster * k + n;
  qint64 quer = n == 0 ? 0 : static_cast<qint64>(zaehler / nenner);
  qint64 rest = n == 0 ? 0 : static_cast<qint64>(zaehler % nenner);
  for (qint64 i = erster; i <= schluss; ++i) {
    if (an(i / seite)) {
      setzen(ax + sx * (waagerecht ? i : quer), ay + sy * (waagerecht ? quer : i));
    }
    rest += 2 * k;
    if (rest >= nenner) {
      rest -= nenner;
      ++quer;
    }
  }
}

void Bildflaeche::Print(const QString& text) {
  HDC dc = hdc();
  const double x = zahlen::nint(CurrentX / tppX_);
  const double y = zahlen::nint(CurrentY / tppY_);
  if (!FontTransparent && !text.isEmpty()) {
    const QFontMetricsF m(dc->schrift());
    d_->maler.fillRect(QRectF(x, y, m.horizontalAdvance(text), m.ascent() + m.descent()),
                       farbeAusRgb(BackColor));
  }
  dc->schreibeText(x, y, text);
  CurrentX = 0;
  CurrentY += TextHeight(text);
}

QFont Bildflaeche::eigeneSchrift() const {
  LogFont lf;
  lf.lfFaceName = schriftname_;
  lf.lfHeight = -std::max(
      1, static_cast<int>(zahlen::nint(schriftgroesse_ * einheiten::kTwipsProZoll / tppY_ / 72.0)));
  lf.lfWeight = d_->fett ? 700 : 400;
  lf.lfItalic = d_->kursiv ? 255 : 0;
  lf.lfUnderline = d_->unterstrichen ? 255 : 0;
  lf.lfStrikeOut = d_->durchgestrichen ? 255 : 0;
  return schriftAusLogFont(lf);
}

void Bildflaeche::schriftWaehlen() { d_->dc->waehleFlaechenschrift(eigeneSchrift()); }

double Bildflaeche::TextWidth(const QString& text) {
  return zahlen::nint(QFontMetricsF(eigeneSchrift()).horizontalAdvance(text)) * tppX_;
}

double Bildflaeche::TextHeight(const QString&) {
  const QFontMetricsF m(eigeneSchrift());
  return zahlen::nint(m.ascent() + m.descent()) * tppY_;
}

void Bildflaeche::merkmalSetzen(bool& merkmal, bool an) {
  merkmal = an;
  schriftWaehlen();
}
bool Bildflaeche::FontBold() const { return d_->fett; }
void Bildflaeche::setFontBold(bool an) { merkmalSetzen(d_->fett, an); }
bool Bildflaeche::FontItalic() const { return d_->kursiv; }
void Bildflaeche::setFontItalic(bool an) { merkmalSetzen(d_->kursiv, an); }
bool Bildflaeche::FontUnderline() const { return d_->unterstrichen; }
void Bildflaeche::setFontUnderline(bool an) { merkmalSetzen(d_->unterstrichen, an); }
bool Bildflaeche::FontStrikethru() const { return d_->durchgestrichen; }
void Bildflaeche::setFontStrikethru(bool an) { merkmalSetzen(d_->durchgestrichen, an); }

StiftUndPinsel Bildflaeche::stiftUndPinsel() const {
  StiftUndPinsel sp;
  sp.stiftFarbe = farbeAusRgb(ForeColor);
  sp.stiftBreite = std::max<int>(1, DrawWidth);
  sp.stiftStil = stiftStilAus(DrawWidth > 1 ? 0 : DrawStyle);
  sp.pinselTransparent = FillStyle != 0;
  sp.pinselFarbe = farbeAusRgb(FillColor);
  sp.textFarbe = farbeAusRgb(ForeColor);
  return sp;
}

const QImage& Bildflaeche::bild() {
  malenBeenden();
  return d_->bild;
}

bool Bildflaeche::speichereBmp(const QString& pfad, QString* fehler) {
  malenBeenden();
  textdatei::Schreibdatei datei(pfad);
  if (datei.oeffnen() && d_->bild.save(&datei, "BMP") && datei.festschreiben()) return true;
  if (fehler) {
    *fehler = textdatei::meldung(QStringLiteral("Die Bilddatei %1 konnte nicht gespeichert werden.")
                                     .arg(textdatei::zitiert(pfad)),
                                 datei.grund());
  }
  return false;
}
