#include "platform/gdi.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/zahlen.h"
#include "platform/zeichenflaeche.h"

namespace {

// One GDI object: a font (its record and the Qt font built from it) or a region.
struct GdiObjekt {
  enum class Art { Schrift, Region };
  Art art = Art::Schrift;
  LogFont lf;
  QFont schrift;
  QRegion region;
  bool intern = false;  // the surface font of a device context; not deletable, not counted
};

std::unordered_map<HGDIOBJ, GdiObjekt>& objekte() {
  static std::unordered_map<HGDIOBJ, GdiObjekt> tabelle;
  return tabelle;
}

HGDIOBJ neuesObjekt(GdiObjekt objekt) {
  // Handles are never reused during a run, so a stale handle can never name a new object.
  static HGDIOBJ naechster = 0x1000;
  const HGDIOBJ handle = naechster;
  naechster += 4;
  objekte().emplace(handle, std::move(objekt));
  return handle;
}

GdiObjekt* finde(HGDIOBJ handle) {
  auto it = objekte().find(handle);
  return it == objekte().end() ? nullptr : &it->second;
}

// Region kinds returned by the clip calls.
constexpr int FEHLER_REGION = 0;
constexpr int LEERE_REGION = NULLREGION;
constexpr int EINFACHE_REGION = SIMPLEREGION;
constexpr int KOMPLEXE_REGION = COMPLEXREGION;

int regionsArt(const QRegion& r) {
  if (r.isEmpty()) return LEERE_REGION;
  return r.rectCount() == 1 ? EINFACHE_REGION : KOMPLEXE_REGION;
}

QPolygon alsPolygon(const POINT* punkte, int anzahl) {
  QPolygon polygon(anzahl);
  for (int i = 0; i < anzahl; ++i) polygon[i] = QPoint(punkte[i].x, punkte[i].y);
  return polygon;
}

// Face name as the record holds it: up to the first NUL. Names are not cut to the 31
// characters of a Windows record: a longer family name would otherwise draw in another face.
QString gesichtsname(const QString& name) {
  QString n = name;
  const qsizetype nul = n.indexOf(QChar(0));
  if (nul >= 0) n.truncate(nul);
  return n;
}

}  // namespace

QFont schriftAusLogFont(const LogFont& lf) {
  QFont f(gesichtsname(lf.lfFaceName));
  f.setKerning(false);
  f.setStyleStrategy(QFont::PreferNoShaping);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setItalic(lf.lfItalic != 0);
  f.setUnderline(lf.lfUnderline != 0);
  f.setStrikeOut(lf.lfStrikeOut != 0);
  f.setWeight(lf.lfWeight >= 550 ? QFont::Bold : QFont::Normal);

  if (lf.lfHeight < 0) {
    // Character (em) height.
    f.setPixelSize(std::max(1, -lf.lfHeight));
  } else if (lf.lfHeight > 0) {
    // Cell height (ascent + descent): find the em height that gives it.
    f.setPixelSize(100);
    const QFontMetricsF m(f);
    const double zelle = m.ascent() + m.descent();
    const double em = zelle > 0 ? lf.lfHeight * 100.0 / zelle : lf.lfHeight;
    f.setPixelSize(std::max(1, static_cast<int>(zahlen::nint(em))));
  } else {
    f.setPixelSize(16);  // the default height of a record that asks for none
  }
  return f;
}

int lebendeGdiObjekte() {
  return static_cast<int>(std::count_if(objekte().begin(), objekte().end(),
                                        [](const auto& e) { return !e.second.intern; }));
}

// ---------------------------------------------------------------------------------------

Geraetekontext::Geraetekontext(Zeichenflaeche* besitzer, int dpiX, int dpiY)
    : besitzer_(besitzer), dpiX_(dpiX), dpiY_(dpiY) {
  LogFont lf;
  lf.lfFaceName = QStringLiteral("Arial");
  lf.lfHeight = -static_cast<int32_t>(zahlen::nint(10.0 * dpiY / 72.0));
  lf.lfWeight = 400;
  GdiObjekt objekt;
  objekt.lf = lf;
  objekt.schrift = schriftAusLogFont(lf);
  objekt.intern = true;
  schrift_ = objekt.schrift;
  flaechenSchrift_ = neuesObjekt(std::move(objekt));
  gewaehlteSchrift_ = flaechenSchrift_;
}

Geraetekontext::~Geraetekontext() { objekte().erase(flaechenSchrift_); }

void Geraetekontext::setzeMaler(QPainter* maler) { maler_ = maler; }

void Geraetekontext::setzeMalerQuelle(std::function<QPainter*()> quelle) {
  malerQuelle_ = std::move(quelle);
}

QPainter* Geraetekontext::maler() const { return aktiverMaler(); }

QPainter* Geraetekontext::aktiverMaler() const {
  if ((!maler_ || !maler_->isActive()) && malerQuelle_) maler_ = malerQuelle_();
  return maler_ && maler_->isActive() ? maler_ : nullptr;
}

void Geraetekontext::waehleFlaechenschrift(const QFont& schrift) {
  if (GdiObjekt* o = finde(flaechenSchrift_)) {
    o->schrift = schrift;
    o->lf.lfEscapement = 0;
    o->lf.lfOrientation = 0;
  }
  gewaehlteSchrift_ = flaechenSchrift_;
  schrift_ = schrift;
  drehung_ = 0;
}

int Geraetekontext::textBreite(const QString& text) const {
  return static_cast<int>(zahlen::nint(QFontMetricsF(schrift_).horizontalAdvance(text)));
}

bool Geraetekontext::malerVorbereiten(bool mitPinsel) {
  if (!aktiverMaler()) return false;
  maler_->setRenderHint(QPainter::Antialiasing, false);
  maler_->setRenderHint(QPainter::TextAntialiasing, true);
  if (hatClip_) {
    maler_->setClipRegion(clip_);
  } else {
    maler_->setClipping(false);
  }
  stiftUndPinselSetzen(mitPinsel);
  return true;
}

void Geraetekontext::stiftUndPinselSetzen(bool mitPinsel) {
  const StiftUndPinsel sp = besitzer_ ? besitzer_->stiftUndPinsel() : StiftUndPinsel{};
  QPen stift;
  if (sp.stiftStil == Qt::NoPen) {
    stift = QPen(Qt::NoPen);
  } else if (sp.stiftBreite <= 1) {
    // One device pixel, whatever the scale a recorded page is replayed at.
    stift = QPen(sp.stiftFarbe, 0, sp.stiftStil, Qt::FlatCap, Qt::MiterJoin);
    stift.setCosmetic(true);
  } else {
    stift = QPen(sp.stiftFarbe, sp.stiftBreite, sp.stiftStil, Qt::RoundCap, Qt::RoundJoin);
  }
  maler_->setPen(stift);
  if (mitPinsel && !sp.pinselTransparent) {
    maler_->setBrush(QBrush(sp.pinselFarbe, Qt::SolidPattern));
  } else {
    maler_->setBrush(Qt::NoBrush);
  }
}

QFont Geraetekontext::zeichenschrift() const {
  QFont f = schrift_;
  if (extra_ != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, extra_);
  return f;
}

QTransform Geraetekontext::textlage(double x, double y) const {
  // The reference point is the top-left corner of the text's cell; a rotated font turns
  // counter-clockwise about it (on a surface whose y axis grows downwards).
  QTransform lage;
  lage.translate(x, y);
  if (drehung_ % 3600 != 0) lage.rotate(-drehung_ / 10.0);
  return lage;
}

void Geraetekontext::schreibeText(double x, double y, const QString& text) {
  if (text.isEmpty() || !aktiverMaler()) return;
  const StiftUndPinsel sp = besitzer_ ? besitzer_->stiftUndPinsel() : StiftUndPinsel{};
  maler_->save();
  malerVorbereiten(false);
  const QTransform lage = textlage(x, y);
  if (textpinsel_) {
    // The brush is given in device pixels; the text is drawn in its own coordinates.
    QBrush pinsel = *textpinsel_;
    pinsel.setTransform(pinsel.transform() * lage.inverted());
    maler_->setPen(QPen(pinsel, 1));
  } else {
    maler_->setPen(QPen(sp.textFarbe));
  }
  maler_->setBrush(Qt::NoBrush);
  maler_->setBackgroundMode(Qt::TransparentMode);
  maler_->setFont(zeichenschrift());
  maler_->setTransform(lage, true);
  maler_->drawText(QPointF(0, QFontMetricsF(schrift_).ascent()), text);
  maler_->restore();
}

void Geraetekontext::schreibeTextKopien(const QString& text, const std::vector<Textkopie>& kopien) {
  if (text.isEmpty() || kopien.empty() || !aktiverMaler()) return;

  // The text's coverage, drawn once as the copies draw it: at a whole device point, so that
  // the glyphs are rasterised alike wherever a copy lies.
  const QFont f = zeichenschrift();
  const QFontMetricsF m(f);
  const double rand = m.height() / 2 + std::abs(extra_);
  const QRectF zelle = m.boundingRect(text).translated(0, m.ascent()) |
                       QRectF(0, 0, m.horizontalAdvance(text), m.height());
  const QRect umriss =
      textlage(0, 0).mapRect(zelle.adjusted(-rand, -rand, rand, rand)).toAlignedRect();
  QImage maske(umriss.size(), QImage::Format_ARGB32_Premultiplied);
  maske.fill(Qt::transparent);
  {
    QPainter p(&maske);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Qt::black);
    p.setFont(f);
    p.setTransform(textlage(-umriss.left(), -umriss.top()));
    p.drawText(QPointF(0, m.ascent()), text);
  }
  struct Punkt {
    int x, y;
    uint8_t deckung;
  };
  std::vector<Punkt> punkte;
  for (int y = 0; y < maske.height(); ++y) {
    const QRgb* zeile = reinterpret_cast<const QRgb*>(maske.constScanLine(y));
    for (int x = 0; x < maske.width(); ++x)
      if (const int a = qAlpha(zeile[x]))
        punkte.push_back({x + umriss.left(), y + umriss.top(), static_cast<uint8_t>(a)});
  }
  if (punkte.empty()) return;

  // A copy at the point of a later one is covered by it wholly: only the last copy at each
  // point counts.
  std::vector<size_t> zaehlende;
  QRect flaeche;
  for (size_t k = 0; k < kopien.size(); ++k) {
    const QPoint q = kopien[k].punkt;
    if (std::any_of(kopien.begin() + static_cast<std::ptrdiff_t>(k) + 1, kopien.end(),
                    [q](const Textkopie& spaeter) { return spaeter.punkt == q; }))
      continue;
    zaehlende.push_back(k);
    flaeche |= umriss.translated(q);
  }

  // Per pixel the greatest coverage and the copy that gives it.
  const int breite = flaeche.width();
  std::vector<uint8_t> deckung(static_cast<size_t>(breite) * flaeche.height(), 0);
  std::vector<uint32_t> kopie(deckung.size(), 0);
  for (size_t k : zaehlende) {
    const QPoint q = kopien[k].punkt - flaeche.topLeft();
    for (const Punkt& p : punkte) {
      const size_t i = static_cast<size_t>(p.y + q.y()) * breite + (p.x + q.x());
      if (p.deckung >= deckung[i]) {
        deckung[i] = p.deckung;
        kopie[i] = static_cast<uint32_t>(k);
      }
    }
  }
  QImage schicht(flaeche.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < flaeche.height(); ++y) {
    QRgb* zeile = reinterpret_cast<QRgb*>(schicht.scanLine(y));
    for (int x = 0; x < breite; ++x) {
      const size_t i = static_cast<size_t>(y) * breite + x;
      const QColor& c = kopien[kopie[i]].farbe;
      zeile[x] = deckung[i] ? qPremultiply(qRgba(c.red(), c.green(), c.blue(), deckung[i])) : 0;
    }
  }
  maler_->save();
  malerVorbereiten(false);
  maler_->drawImage(flaeche.topLeft(), schicht);
  maler_->restore();
}

// ---------------------------------------------------------------------------------------

HFONT CreateFontIndirectA(const LogFont& lf) {
  GdiObjekt objekt;
  objekt.art = GdiObjekt::Art::Schrift;
  objekt.lf = lf;
  objekt.schrift = schriftAusLogFont(lf);
  return neuesObjekt(std::move(objekt));
}

HRGN CreateRectRgn(int links, int oben, int rechts, int unten) {
  if (links > rechts) std::swap(links, rechts);
  if (oben > unten) std::swap(oben, unten);
  GdiObjekt objekt;
  objekt.art = GdiObjekt::Art::Region;
  // The right and bottom edge are not part of the region.
  objekt.region = QRegion(QRect(links, oben, rechts - links, unten - oben));
  return neuesObjekt(std::move(objekt));
}

HRGN CreatePolygonRgn(const POINT* punkte, int anzahl, int fuellmodus) {
  if (!punkte || anzahl < 2) return 0;
  GdiObjekt objekt;
  objekt.art = GdiObjekt::Art::Region;
  objekt.region = QRegion(alsPolygon(punkte, anzahl),
                          fuellmodus == ALTERNATE ? Qt::OddEvenFill : Qt::WindingFill);
  return neuesObjekt(std::move(objekt));
}

bool DeleteObject(HGDIOBJ objekt) {
  auto it = objekte().find(objekt);
  if (it == objekte().end() || it->second.intern) return false;
  // A device context keeps its own copy of a selected font or clip region, so deleting
  // the object while it is selected cannot leave the context with a dangling font.
  objekte().erase(it);
  return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ objekt) {
  if (!dc) return 0;
  GdiObjekt* o = finde(objekt);
  if (!o) return 0;
  if (o->art == GdiObjekt::Art::Region) {
    return static_cast<HGDIOBJ>(SelectClipRgn(dc, objekt));
  }
  const HFONT vorher = dc->gewaehlteSchrift_;
  dc->gewaehlteSchrift_ = objekt;
  dc->schrift_ = o->schrift;
  dc->drehung_ = o->lf.lfEscapement;
  return vorher;
}

int SelectClipRgn(HDC dc, HRGN region) {
  if (!dc) return FEHLER_REGION;
  if (region == 0) {
    dc->hatClip_ = false;
    dc->clip_ = QRegion();
    return EINFACHE_REGION;
  }
  GdiObjekt* o = finde(region);
  if (!o || o->art != GdiObjekt::Art::Region) return FEHLER_REGION;
  dc->hatClip_ = true;
  dc->clip_ = o->region;  // a copy: the region may be deleted afterwards
  return regionsArt(dc->clip_);
}

int CombineRgn(HRGN ziel, HRGN a, HRGN b, int modus) {
  GdiObjekt* z = finde(ziel);
  GdiObjekt* ra = finde(a);
  GdiObjekt* rb = modus == RGN_COPY ? ra : finde(b);
  auto istRegion = [](const GdiObjekt* o) { return o && o->art == GdiObjekt::Art::Region; };
  if (!istRegion(z) || !istRegion(ra) || !istRegion(rb)) return FEHLER_REGION;
  switch (modus) {
    case RGN_AND:
      z->region = ra->region & rb->region;
      break;
    case RGN_OR:
      z->region = ra->region | rb->region;
      break;
    case RGN_XOR:
      z->region = ra->region ^ rb->region;
      break;
    case RGN_DIFF:
      z->region = ra->region - rb->region;
      break;
    case RGN_COPY:
      z->region = ra->region;
      break;
    default:
      return FEHLER_REGION;
  }
  return regionsArt(z->region);
}

int GetDeviceCaps(HDC dc, int index) {
  if (!dc) return 0;
  switch (index) {
    case LOGPIXELSX:
      return dc->dpiX_;
    case LOGPIXELSY:
      return dc->dpiY_;
    default:
      return 0;
  }
}

bool GetTextExtentPoint32A(HDC dc, const QString& text, int anzahl, SIZE* groesse) {
  if (!dc || !groesse) return false;
  const QString teil = text.left(std::max(0, anzahl));
  const QFontMetricsF m(dc->schrift_);
  groesse->cx = static_cast<int32_t>(zahlen::nint(m.horizontalAdvance(teil)));
  groesse->cy = static_cast<int32_t>(zahlen::nint(m.ascent() + m.descent()));
  return true;
}

int SetTextCharacterExtra(HDC dc, int extra) {
  if (!dc) return static_cast<int>(0x80000000u);
  const int vorher = dc->extra_;
  dc->extra_ = extra;
  return vorher;
}

bool TextOutA(HDC dc, int x, int y, const QString& text, int anzahl) {
  if (!dc || !dc->aktiverMaler()) return false;
  dc->schreibeText(x, y, text.left(std::max(0, anzahl)));
  return true;
}

bool Rectangle(HDC dc, int links, int oben, int rechts, int unten) {
  if (!dc || !dc->aktiverMaler()) return false;
  if (links > rechts) std::swap(links, rechts);
  if (oben > unten) std::swap(oben, unten);
  // The right and bottom edge are excluded; a bar is never less than one pixel thick.
  if (rechts == links) ++rechts;
  if (unten == oben) ++unten;
  const QRect flaeche(links, oben, rechts - links, unten - oben);

  QPainter& m = *dc->maler_;
  m.save();
  dc->malerVorbereiten(true);
  const QBrush pinsel = m.brush();
  const QPen stift = m.pen();
  if (pinsel.style() != Qt::NoBrush) m.fillRect(flaeche, pinsel);
  if (stift.style() == Qt::SolidLine && stift.widthF() <= 1) {
    // The one-pixel outline as four bands: exact for every size down to one pixel.
    const QColor c = stift.color();
    const int b = flaeche.width();
    const int h = flaeche.height();
    m.fillRect(QRect(links, oben, b, 1), c);
    m.fillRect(QRect(links, unten - 1, b, 1), c);
    m.fillRect(QRect(links, oben, 1, h), c);
    m.fillRect(QRect(rechts - 1, oben, 1, h), c);
  } else if (stift.style() != Qt::NoPen) {
    m.setBrush(Qt::NoBrush);
    if (stift.widthF() <= 1) {
      m.drawRect(QRect(links, oben, flaeche.width() - 1, flaeche.height() - 1));
    } else {
      // A wide pen is centred on the outline through the edge pixels' centres.
      m.drawRect(QRectF(links + 0.5, oben + 0.5, flaeche.width() - 1, flaeche.height() - 1));
    }
  }
  m.restore();
  return true;
}

bool Polygon(HDC dc, const POINT* punkte, int anzahl) {
  if (!dc || !dc->aktiverMaler()) return false;
  if (!punkte || anzahl < 2) return false;
  QPainter& m = *dc->maler_;
  m.save();
  dc->malerVorbereiten(true);
  const QPolygon polygon = alsPolygon(punkte, anzahl);
  const bool breit = m.pen().widthF() > 1;
  if (anzahl == 2) {
    // Two points: the closed outline is a line there and back, drawn in the pen's width.
    if (breit) {
      m.drawLine(QPointF(polygon[0]) + QPointF(0.5, 0.5), QPointF(polygon[1]) + QPointF(0.5, 0.5));
    } else {
      const QPoint hinUndZurueck[] = {polygon[0], polygon[1], polygon[0]};
      m.drawPolyline(hinUndZurueck, 3);
    }
  } else if (breit) {
    m.drawPolygon(QPolygonF(polygon).translated(0.5, 0.5), Qt::OddEvenFill);
  } else {
    m.drawPolygon(polygon, Qt::OddEvenFill);
  }
  m.restore();
  return true;
}

bool Ellipse(HDC dc, int links, int oben, int rechts, int unten) {
  if (!dc || !dc->aktiverMaler()) return false;
  if (links > rechts) std::swap(links, rechts);
  if (oben > unten) std::swap(oben, unten);
  if (rechts - links < 2 || unten - oben < 2) {
    // Too small for an outline and an inside: the pen's pixels fill the box.
    return Rectangle(dc, links, oben, rechts, unten);
  }
  QPainter& m = *dc->maler_;
  m.save();
  dc->malerVorbereiten(true);
  if (m.pen().widthF() > 1) {
    m.drawEllipse(QRectF(links + 0.5, oben + 0.5, rechts - links - 1, unten - oben - 1));
  } else {
    m.drawEllipse(QRect(links, oben, rechts - links - 1, unten - oben - 1));
  }
  m.restore();
  return true;
}

QColor farbeAusRgb(int32_t rgb) {
  const auto wert = static_cast<uint32_t>(rgb);
  return QColor(wert & 0xFF, (wert >> 8) & 0xFF, (wert >> 16) & 0xFF);
}

Qt::PenStyle stiftStilAus(int stil) {
  switch (stil) {
    case 1:
      return Qt::DashLine;
    case 2:
      return Qt::DotLine;
    case 3:
      return Qt::DashDotLine;
    case 4:
      return Qt::DashDotDotLine;
    case 5:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}
