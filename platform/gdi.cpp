#include "platform/gdi.h"

#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_map>
#include <unordered_set>

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

// --- Copies of a text as one shape -----------------------------------------------------

// A text's coverage over a part of its box, as runs of covered pixels per row. A run of
// full coverage holds no values, any other one coverage value per pixel.
struct Deckungslauf {
  int x;  // first pixel, relative to the text's reference point
  int laenge;
  qsizetype wert;  // index of its first value in Textmaske::werte; -1: full coverage
};

struct Textmaske {
  QRect teil;                  // relative to the text's reference point
  std::vector<size_t> zeilen;  // per row of teil the index of its first run; then the end
  std::vector<Deckungslauf> laeufe;
  std::vector<uint8_t> werte;

  // First and last covered column of a row of teil; none: first > last.
  std::pair<int, int> spalten(int zeile) const {
    const size_t a = zeilen[static_cast<size_t>(zeile)];
    const size_t e = zeilen[static_cast<size_t>(zeile) + 1];
    if (a == e) return {1, 0};
    return {laeufe[a].x, laeufe[e - 1].x + laeufe[e - 1].laenge - 1};
  }
};

// One copy that shows: its device point and colour, the part of the text's box that lands
// on the visible area, and the mask that holds that part.
struct Schichtkopie {
  QPoint punkt;
  QRgb farbe;  // without alpha
  QRect teil;
  size_t maske = 0;
};

// The mask is drawn in bands of rows of at most this many pixels.
constexpr qint64 kBandpixel = 4 * 1024 * 1024;
// A surface drawn on directly takes the layer in bands of rows of at most this many pixels.
constexpr qint64 kSchichtbandpixel = 512 * 1024;
// Layer pieces are cut where this many rows or columns are left empty between copies.
constexpr int kLuecke = 16;
// Pixels of one layer piece: within the allocation limit of the image reader, which reads
// the pieces back when a recorded page is played.
qint64 stueckpixel() {
  const qint64 grenze = QImageReader::allocationLimit();
  constexpr qint64 eigene = 32LL * 1024 * 1024;
  return grenze > 0 ? std::min(eigene, (grenze << 20) / 4 - (1 << 16)) : eigene;
}

// A pen with a width of its own (wide, or one logical pixel on a denser image) is centred
// on the outline through the edge pixels' centres; the thin pen of one device pixel draws
// on the pixels of the outline itself.
bool durchPixelmitten(const QPen& stift) {
  return stift.style() != Qt::NoPen && !stift.isCosmetic();
}

qint64 flaecheVon(const QRect& r) { return r.isEmpty() ? 0 : qint64(r.width()) * r.height(); }

// The copies that show, in drawing order: the last one at each device point (it covers an
// earlier one there wholly) of those whose box reaches the visible area.
std::vector<Schichtkopie> sichtbareKopien(const std::vector<Textkopie>& kopien, double verhaeltnis,
                                          const QRect& umriss, const QRect& sichtbar) {
  std::vector<Schichtkopie> zaehlende;
  std::unordered_set<quint64> punkte;
  for (size_t k = kopien.size(); k-- > 0;) {
    const QPoint q(zahlen::int32Begrenzt(kopien[k].punkt.x() * verhaeltnis),
                   zahlen::int32Begrenzt(kopien[k].punkt.y() * verhaeltnis));
    if (!punkte.insert(quint64(quint32(q.x())) << 32 | quint32(q.y())).second) continue;
    // The box less what lies outside the visible area, in 64 bits: q may be far away.
    const qint64 links = std::max<qint64>(umriss.left(), qint64(sichtbar.left()) - q.x());
    const qint64 oben = std::max<qint64>(umriss.top(), qint64(sichtbar.top()) - q.y());
    const qint64 rechts = std::min<qint64>(umriss.right(), qint64(sichtbar.right()) - q.x());
    const qint64 unten = std::min<qint64>(umriss.bottom(), qint64(sichtbar.bottom()) - q.y());
    if (links > rechts || oben > unten) continue;
    const QRect teil{QPoint(int(links), int(oben)), QPoint(int(rechts), int(unten))};
    zaehlende.push_back({q, kopien[k].farbe.rgb() & RGB_MASK, teil});
  }
  std::reverse(zaehlende.begin(), zaehlende.end());
  return zaehlende;
}

// The coverage drawn by `zeichnen` (given the top-left corner of the part) over a part.
bool maskeErfassen(Textmaske& maske, const QRect& teil,
                   const std::function<void(QPainter&, QPoint)>& zeichnen) {
  maske.teil = teil;
  maske.zeilen.assign(1, 0);
  const int breite = teil.width();
  const int zeilenProBand =
      static_cast<int>(std::clamp<qint64>(kBandpixel / breite, 1, teil.height()));
  // Coverage alone, one byte a pixel: the alpha that black text leaves on a clear picture.
  QImage band(breite, zeilenProBand, QImage::Format_Alpha8);
  if (band.isNull()) return false;
  // Skips pixels of the value `wert` (0 or 255) from x on, eight at a time where it can.
  auto ueberspringe = [breite](const uint8_t* z, int x, uint8_t wert) {
    const uint64_t acht = wert ? ~uint64_t(0) : 0;
    for (uint64_t w; x + 8 <= breite && (std::memcpy(&w, z + x, 8), w == acht);) x += 8;
    while (x < breite && z[x] == wert) ++x;
    return x;
  };
  for (int oben = teil.top(); oben <= teil.bottom(); oben += zeilenProBand) {
    band.fill(0);
    {
      QPainter p(&band);
      zeichnen(p, QPoint(teil.left(), oben));
    }
    const int zeilen = std::min(zeilenProBand, teil.bottom() - oben + 1);
    for (int y = 0; y < zeilen; ++y) {
      const uint8_t* z = band.constScanLine(y);
      for (int x = ueberspringe(z, 0, 0); x < breite; x = ueberspringe(z, x, 0)) {
        const int anfang = x;
        Deckungslauf lauf{teil.left() + anfang, 0, -1};
        if (z[x] == 255) {
          x = ueberspringe(z, x, 255);
        } else {
          while (x < breite && z[x] != 0 && z[x] != 255) ++x;
          lauf.wert = static_cast<qsizetype>(maske.werte.size());
          maske.werte.insert(maske.werte.end(), z + anfang, z + x);
        }
        lauf.laenge = x - anfang;
        maske.laeufe.push_back(lauf);
      }
      maske.zeilen.push_back(maske.laeufe.size());
    }
  }
  return true;
}

// The masks of the copies' parts. Parts that overlap much share one mask (the copies of a
// shadow lie close together); parts far apart get one each, so that no mask spans the
// empty space between them.
bool kopienMasken(std::vector<Schichtkopie>& zaehlende,
                  const std::function<void(QPainter&, QPoint)>& zeichnen,
                  std::vector<Textmaske>& masken) {
  std::vector<QRect> teile;
  for (Schichtkopie& k : zaehlende) {
    if (!teile.empty()) {
      const QRect vereint = teile.back() | k.teil;
      if (flaecheVon(vereint) <= flaecheVon(teile.back()) + flaecheVon(k.teil)) {
        teile.back() = vereint;
        k.maske = teile.size() - 1;
        continue;
      }
    }
    teile.push_back(k.teil);
    k.maske = teile.size() - 1;
  }
  masken.resize(teile.size());
  for (size_t i = 0; i < teile.size(); ++i)
    if (!maskeErfassen(masken[i], teile[i], zeichnen)) return false;
  return true;
}

// Calls `tun`(row, first, last) for the covered columns of every row in von..bis that a
// copy covers, in device pixels, within `grenze`.
void bedeckteZeilen(const std::vector<Schichtkopie>& zaehlende,
                    const std::vector<Textmaske>& masken, const QRect& grenze, int von, int bis,
                    const std::function<void(int, int, int)>& tun) {
  for (const Schichtkopie& k : zaehlende) {
    const Textmaske& maske = masken[k.maske];
    const QPoint q = k.punkt;
    const int y0 = std::max(von, maske.teil.top() + q.y());
    const int y1 = std::min(bis, maske.teil.bottom() + q.y());
    for (int y = y0; y <= y1; ++y) {
      const auto [a, b] = maske.spalten(y - q.y() - maske.teil.top());
      if (a > b) continue;
      const int links = std::max(a + q.x(), grenze.left());
      const int rechts = std::min(b + q.x(), grenze.right());
      if (links <= rechts) tun(y, links, rechts);
    }
  }
}

// Ranges of set entries, joined across gaps shorter than kLuecke.
std::vector<std::pair<int, int>> belegteBereiche(const std::vector<char>& belegt) {
  std::vector<std::pair<int, int>> bereiche;
  for (int i = 0; i < static_cast<int>(belegt.size()); ++i) {
    if (!belegt[static_cast<size_t>(i)]) continue;
    if (!bereiche.empty() && i - bereiche.back().second <= kLuecke) {
      bereiche.back().second = i;
    } else {
      bereiche.emplace_back(i, i);
    }
  }
  return bereiche;
}

// The pieces of the layer: the covered area in rectangles that leave out wide empty
// stretches between the copies, each with a border of one empty pixel (so that a page
// played at another scale shows no edge of a piece), cut into bands of rows where one
// would hold more than stueckpixel().
std::vector<QRect> schichtStuecke(const std::vector<Schichtkopie>& zaehlende,
                                  const std::vector<Textmaske>& masken, const QRect& sichtbar) {
  QRect flaeche;
  for (const Schichtkopie& k : zaehlende) flaeche |= masken[k.maske].teil.translated(k.punkt);
  flaeche &= sichtbar;
  std::vector<QRect> stuecke;
  if (flaeche.isEmpty()) return stuecke;
  std::vector<char> zeilen(static_cast<size_t>(flaeche.height()), 0);
  bedeckteZeilen(zaehlende, masken, flaeche, flaeche.top(), flaeche.bottom(),
                 [&](int y, int, int) { zeilen[static_cast<size_t>(y - flaeche.top())] = 1; });
  const qint64 hoechstens = stueckpixel();
  for (const auto& [z0, z1] : belegteBereiche(zeilen)) {
    std::vector<int> wechsel(static_cast<size_t>(flaeche.width()) + 1, 0);
    bedeckteZeilen(zaehlende, masken, flaeche, flaeche.top() + z0, flaeche.top() + z1,
                   [&](int, int a, int b) {
                     ++wechsel[static_cast<size_t>(a - flaeche.left())];
                     --wechsel[static_cast<size_t>(b - flaeche.left()) + 1];
                   });
    std::vector<char> spalten(static_cast<size_t>(flaeche.width()), 0);
    for (int x = 0, n = 0; x < flaeche.width(); ++x)
      spalten[static_cast<size_t>(x)] = (n += wechsel[static_cast<size_t>(x)]) > 0;
    for (const auto& [s0, s1] : belegteBereiche(spalten)) {
      const QRect stueck = QRect(QPoint(flaeche.left() + s0, flaeche.top() + z0),
                                 QPoint(flaeche.left() + s1, flaeche.top() + z1))
                               .adjusted(-1, -1, 1, 1) &
                           sichtbar;
      const int zeilenProStueck =
          static_cast<int>(std::clamp<qint64>(hoechstens / stueck.width(), 1, stueck.height()));
      for (int y = stueck.top(); y <= stueck.bottom(); y += zeilenProStueck)
        stuecke.emplace_back(stueck.left(), y, stueck.width(),
                             std::min(zeilenProStueck, stueck.bottom() - y + 1));
    }
  }
  return stuecke;
}

// Columns a..e of a row that are not yet in `fertig` (sorted, disjoint ranges) get `farbe`;
// then the range joins `fertig`.
void lueckenFuellen(QRgb* zeile, std::vector<std::pair<int, int>>& fertig, int a, int e,
                    QRgb farbe) {
  auto it = std::lower_bound(fertig.begin(), fertig.end(), a - 1,
                             [](const std::pair<int, int>& r, int x) { return r.second < x; });
  int neuA = a;
  int neuE = e;
  int x = a;
  auto erstes = it;
  for (; it != fertig.end() && it->first <= e + 1; ++it) {
    if (it->first > x) std::fill(zeile + x, zeile + it->first, farbe);
    x = std::max(x, it->second + 1);
    neuA = std::min(neuA, it->first);
    neuE = std::max(neuE, it->second);
  }
  if (x <= e) std::fill(zeile + x, zeile + e + 1, farbe);
  it = fertig.erase(erstes, it);
  fertig.insert(it, {neuA, neuE});
}

// One piece of the layer, into `schicht` of the piece's size: per pixel the greatest
// coverage of the copies and the colour of the copy that gives it (the later one of
// equals), premultiplied. Row by row the copies are put in from the last one back, so that
// a pixel one of them covers fully is done with: the copies of a shadow overlap a
// hundredfold.
void schichtBilden(QImage& schicht, const QRect& stueck, const std::vector<Schichtkopie>& zaehlende,
                   const std::vector<Textmaske>& masken) {
  schicht.fill(0);
  // While a row is put together, a pixel holds the coverage as its alpha and the colour
  // unpremultiplied, and the ranges of full coverage are kept.
  std::vector<std::pair<int, int>> fertig;
  for (int y = stueck.top(); y <= stueck.bottom(); ++y) {
    QRgb* z = reinterpret_cast<QRgb*>(schicht.scanLine(y - stueck.top()));
    fertig.clear();
    for (auto k = zaehlende.rbegin(); k != zaehlende.rend(); ++k) {
      const Textmaske& maske = masken[k->maske];
      const QPoint q = k->punkt;
      const int zeile = y - q.y() - maske.teil.top();
      if (zeile < 0 || zeile >= maske.teil.height()) continue;
      const int links = stueck.left() - q.x();  // the piece in the text's columns
      const int rechts = stueck.right() - q.x();
      const auto ende = maske.laeufe.begin() +
                        static_cast<std::ptrdiff_t>(maske.zeilen[static_cast<size_t>(zeile) + 1]);
      for (auto lauf = maske.laeufe.begin() +
                       static_cast<std::ptrdiff_t>(maske.zeilen[static_cast<size_t>(zeile)]);
           lauf != ende && lauf->x <= rechts; ++lauf) {
        const int a = std::max(lauf->x, links);
        const int e = std::min(lauf->x + lauf->laenge - 1, rechts);
        if (a > e) continue;
        if (lauf->wert < 0) {
          lueckenFuellen(z, fertig, a - links, e - links, k->farbe | 0xFF000000u);
          continue;
        }
        QRgb* p = z + (a - links);
        const uint8_t* w = maske.werte.data() + lauf->wert + (a - lauf->x);
        for (int j = 0; j <= e - a; ++j)
          if (w[j] > qAlpha(p[j])) p[j] = k->farbe | static_cast<QRgb>(w[j]) << 24;
      }
    }
    for (int x = 0; x < stueck.width(); ++x)
      if (qAlpha(z[x]) != 255) z[x] = qPremultiply(z[x]);
  }
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

QPainter* Geraetekontext::zeichnenBeginnen() {
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
  if (!zeichnenBeginnen()) return false;
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
  } else if (sp.stiftBreite <= 1 && verhaeltnis() == 1) {
    // One device pixel, whatever the scale a recorded page is replayed at.
    stift = QPen(sp.stiftFarbe, 0, sp.stiftStil, Qt::FlatCap, Qt::MiterJoin);
    stift.setCosmetic(true);
  } else if (sp.stiftBreite <= 1) {
    // One logical pixel on a denser image: the device pixels of the logical pixels the thin
    // pen would set, as a pen of that width through their centres (square ends, so that a
    // line keeps its end points; dashes keep their length).
    stift = QPen(sp.stiftFarbe, 1, sp.stiftStil,
                 sp.stiftStil == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap, Qt::MiterJoin);
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

double Geraetekontext::verhaeltnis() const {
  return maler_ && maler_->isActive() ? maler_->device()->devicePixelRatio() : 1;
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
  if (text.isEmpty() || !zeichnenBeginnen()) return;
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
  if (text.isEmpty() || kopien.empty() || !zeichnenBeginnen()) return;
  // Only what can show is worked on: the part of the surface inside the clip region. A big
  // text with a long shadow reaches far beyond the page.
  QRect sichtbar = besitzer_ ? besitzer_->geraeteflaeche()
                             : QRect(0, 0, maler_->device()->width(), maler_->device()->height());
  if (hatClip_) sichtbar &= clip_.boundingRect();
  if (sichtbar.isEmpty()) return;
  // On a denser image the layer is made in its device pixels: the visible area, the text's
  // box and the copies' points scaled by the ratio, the glyphs drawn at that scale.
  const double r = verhaeltnis();
  const QTransform geraet = QTransform::fromScale(r, r);
  if (r != 1) sichtbar = geraet.mapRect(QRectF(sichtbar)).toAlignedRect();

  // The text's box, relative to its reference point. Its coverage is drawn as the copies
  // draw it: at a whole device point, so that the glyphs are rasterised alike wherever a
  // copy lies.
  const QFont f = zeichenschrift();
  const QFontMetricsF m(f);
  const double rand = m.height() / 2 + std::abs(extra_);
  const QRectF zelle = m.boundingRect(text).translated(0, m.ascent()) |
                       QRectF(0, 0, m.horizontalAdvance(text), m.height());
  const QRect umriss =
      (textlage(0, 0) * geraet).mapRect(zelle.adjusted(-rand, -rand, rand, rand)).toAlignedRect();
  auto zeichnen = [&](QPainter& p, QPoint ecke) {
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Qt::black);
    p.setFont(f);
    p.setTransform(textlage(0, 0) * geraet * QTransform::fromTranslate(-ecke.x(), -ecke.y()));
    p.drawText(QPointF(0, m.ascent()), text);
  };

  // The layer of the copies, in pieces around what they cover, put together one after the
  // other in one buffer of the largest piece and drawn from there: beside the surface only
  // one piece is held. A page recorded for playback at other scales keeps its pieces whole
  // (the recording holds a copy of each), so that no seams show; a surface drawn on
  // directly takes them in bands. Memory that cannot be had leaves the copies out, not the
  // rest of the page.
  const bool aufgezeichnet = maler_->device()->devType() == QInternal::Picture;
  std::vector<Schichtkopie> zaehlende;
  std::vector<Textmaske> masken;
  std::vector<QRect> stuecke;
  std::vector<QRgb> puffer;
  try {
    zaehlende = sichtbareKopien(kopien, r, umriss, sichtbar);
    if (zaehlende.empty()) return;
    if (!kopienMasken(zaehlende, zeichnen, masken)) return;
    qint64 groesstes = 0;
    for (const QRect& stueck : schichtStuecke(zaehlende, masken, sichtbar)) {
      const int zeilen = aufgezeichnet
                             ? stueck.height()
                             : static_cast<int>(std::clamp<qint64>(
                                   kSchichtbandpixel / stueck.width(), 1, stueck.height()));
      for (int y = stueck.top(); y <= stueck.bottom(); y += zeilen) {
        stuecke.emplace_back(stueck.left(), y, stueck.width(),
                             std::min(zeilen, stueck.bottom() - y + 1));
        groesstes = std::max(groesstes, flaecheVon(stuecke.back()));
      }
    }
    puffer.resize(static_cast<size_t>(groesstes));
  } catch (const std::bad_alloc&) {
    return;
  }
  maler_->save();
  malerVorbereiten(false);
  try {
    for (const QRect& stueck : stuecke) {
      QImage schicht(reinterpret_cast<uchar*>(puffer.data()), stueck.width(), stueck.height(),
                     qsizetype(stueck.width()) * 4, QImage::Format_ARGB32_Premultiplied);
      schichtBilden(schicht, stueck, zaehlende, masken);
      schicht.setDevicePixelRatio(r);
      maler_->drawImage(QPointF(stueck.topLeft()) / r, schicht);
    }
  } catch (const std::bad_alloc&) {
  }
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
  if (!dc || !dc->zeichnenBeginnen()) return false;
  dc->schreibeText(x, y, text.left(std::max(0, anzahl)));
  return true;
}

bool Rectangle(HDC dc, int links, int oben, int rechts, int unten) {
  if (!dc || !dc->zeichnenBeginnen()) return false;
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
    if (stift.isCosmetic()) {
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
  if (!dc || !dc->zeichnenBeginnen()) return false;
  if (!punkte || anzahl < 2) return false;
  QPainter& m = *dc->maler_;
  m.save();
  dc->malerVorbereiten(true);
  const QPolygon polygon = alsPolygon(punkte, anzahl);
  const bool breit = durchPixelmitten(m.pen());
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
  if (!dc || !dc->zeichnenBeginnen()) return false;
  if (links > rechts) std::swap(links, rechts);
  if (oben > unten) std::swap(oben, unten);
  if (rechts - links < 2 || unten - oben < 2) {
    // Too small for an outline and an inside: the pen's pixels fill the box.
    return Rectangle(dc, links, oben, rechts, unten);
  }
  QPainter& m = *dc->maler_;
  m.save();
  dc->malerVorbereiten(true);
  if (durchPixelmitten(m.pen())) {
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
