#include "elements/picture/bild_darstellen.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <list>

#include "core/klassen.h"
#include "io/dateinamen.h"
#include "platform/einheiten.h"

namespace {

constexpr double kDruckDpi = 600.0;
constexpr int32_t kWeiss = RGB(255, 255, 255);

// A picture file as it is on disk, known by its path, size, modification and status-change
// times (nanoseconds) and its inode, so that a file saved over in place or replaced by
// renaming another onto it is seen as changed.
struct Datei {
  QString pfad;
  int64_t groesse = 0;
  int64_t geaendert = 0;
  int64_t statusGeaendert = 0;
  uint64_t geraet = 0;
  uint64_t inode = 0;

  bool operator==(const Datei&) const = default;
};

// What decides the pixels of a processed picture: the file and every effect setting, and
// the control's target size. The display fields File_Name, File_Path, File_Dir, the
// uninterpreted Effekt and the stored path (the file is known by `datei`) do not.
struct Schluessel {
  Datei datei;
  ClassBild effekte;  // the element with those fields empty
  QSize ziel;

  bool operator==(const Schluessel&) const = default;
};

// Pictures by key, most recently used first, within a number of entries and of bytes. A
// picture without a bitmap records a file that could not be decoded (and why), so that a
// broken file is not decoded again on every redraw either.
template <class K>
class Zwischenspeicher {
 public:
  Zwischenspeicher(std::size_t maxEintraege, qint64 maxBytes)
      : maxEintraege_(maxEintraege), maxBytes_(maxBytes) {}

  const Bildsteuerung::Dekodiert* suchen(const K& k) {
    for (auto it = eintraege_.begin(); it != eintraege_.end(); ++it) {
      if (it->schluessel == k) {
        eintraege_.splice(eintraege_.begin(), eintraege_, it);
        return &eintraege_.front().bild;
      }
    }
    return nullptr;
  }

  // Takes the place of an entry of the same key.
  const Bildsteuerung::Dekodiert& ablegen(const K& k, Bildsteuerung::Dekodiert bild) {
    for (auto it = eintraege_.begin(); it != eintraege_.end(); ++it) {
      if (it->schluessel == k) {
        bytes_ -= it->bild.bild.sizeInBytes();
        eintraege_.erase(it);
        break;
      }
    }
    bytes_ += bild.bild.sizeInBytes();
    eintraege_.push_front({k, std::move(bild)});
    // Keep the newest entry even when it alone is over the budget.
    while (eintraege_.size() > 1 && (eintraege_.size() > maxEintraege_ || bytes_ > maxBytes_)) {
      bytes_ -= eintraege_.back().bild.bild.sizeInBytes();
      eintraege_.pop_back();
    }
    return eintraege_.front().bild;
  }

  void leeren() {
    eintraege_.clear();
    bytes_ = 0;
  }

 private:
  struct Eintrag {
    K schluessel;
    Bildsteuerung::Dekodiert bild;
  };
  std::size_t maxEintraege_;
  qint64 maxBytes_;
  std::list<Eintrag> eintraege_;
  qint64 bytes_ = 0;
};

// The processed bitmaps, for the page redraw on every mouse move. One control draws every
// picture of the page, so the cache holds more pictures than a page has: were it fewer,
// each redraw would push out the picture that the next frame needs, and every picture would
// be processed (and a big one decoded) anew on every mouse move.
Zwischenspeicher<Schluessel>& zwischenspeicher() {
  static Zwischenspeicher<Schluessel> speicher(64, 256LL * 1024 * 1024);
  return speicher;
}

// The decoded files, before any effect: each file is decoded as large as the largest target
// so far needed it, and every smaller zoom, export and effect setting starts from its
// decoded bitmap (a big photo takes a good part of a second to decode whole). As many files
// as the processed pictures, so that a zoom of a page with many small pictures decodes none
// again; the bytes bound the big ones.
Zwischenspeicher<Datei>& dekodierte() {
  static Zwischenspeicher<Datei> speicher(64, 128LL * 1024 * 1024);
  return speicher;
}

int& dekodierzaehler() {
  static int zaehler = 0;
  return zaehler;
}

int& ladezaehler() {
  static int zaehler = 0;
  return zaehler;
}

// The pixels a frame needs: on paper and in the export picture its printed size at 600
// dpi; in the page view twice its size on the screen at the current zoom (never more than
// on paper), so that a big photo with effects redraws at once while the user works. The
// size is rounded up to a step of a quarter octave, so that a frame dragged or zoomed larger
// or smaller loads its picture again only now and then, not on every mouse move.
QSize zielFuerRahmen(const Programmzustand& s, const ClassRahmen& rahmen) {
  double dpi = kDruckDpi;
  if (s.Druckmodus == 0 && s.Exportmodus == 0 && s.TwipsProPixelX > 0 && s.Zoomfaktor > 0)
    dpi = std::min(kDruckDpi, 2.0 * einheiten::kTwipsProZoll / s.TwipsProPixelX * s.Zoomfaktor);
  const auto seite = [dpi](int32_t laenge) {
    const double pixel =
        std::abs(einheiten::twipsAusEinheiten(laenge)) / einheiten::kTwipsProZoll * dpi;
    if (pixel <= 1.0) return 1;
    const double stufe = std::exp2(std::ceil(4.0 * std::log2(pixel)) / 4.0);
    return static_cast<int>(std::min(std::ceil(stufe - 1e-9), 1e9));
  };
  return QSize(seite(rahmen.Breite), seite(rahmen.Hoehe));
}

// The picture file on this system: the document's folder first, then the start-up folder.
QString pfadFinden(const Programmzustand& s, const QString& gespeichert) {
  QStringList ordner;
  if (!s.AktuelleDatei.isEmpty()) ordner << QFileInfo(s.AktuelleDatei).absolutePath();
  ordner << s.Startverzeichnis;
  return gespeichertenPfadFinden(gespeichert, ordner);
}

// Load and the effect chain, in their fixed order; each works on what the one before left.
// The file is decoded only when it is not among the decoded ones, or they hold it smaller
// than the target needs. False when the result is not to be kept: the file was refused for
// a reason that was not its own.
bool ladenUndBearbeiten(const ClassBild& bild, const Datei& datei, Bildsteuerung& steuerung) {
  ++ladezaehler();
  const QSize ziel = steuerung.zielgroesse();
  const Bildsteuerung::Dekodiert* dekodiert = dekodierte().suchen(datei);
  Bildsteuerung::Dekodiert voruebergehend;
  if (!dekodiert || !Bildsteuerung::reichtFuer(*dekodiert, ziel)) {
    ++dekodierzaehler();
    Bildsteuerung::Dekodiert neu = Bildsteuerung::dekodieren(datei.pfad, ziel);
    if (neu.voruebergehend) {
      voruebergehend = std::move(neu);
      dekodiert = &voruebergehend;
    } else {
      dekodiert = &dekodierte().ablegen(datei, std::move(neu));
    }
  }
  if (!steuerung.uebernehmen(*dekodiert)) return !dekodiert->voruebergehend;
  if (bild.Rotate > 0) steuerung.Rotate(bild.Rotate, true, kWeiss);
  steuerung.Intensity(bild.Helligkeit);
  steuerung.Contrast(bild.Kontrast);
  steuerung.Saturation(bild.Farbintensitaet);
  steuerung.Hue(bild.Farbverschiebung);
  steuerung.Sharpen(bild.Schaerfe);
  if (bild.EffektPixel > 0) steuerung.AddNoise(bild.EffektPixel, 0);
  if (bild.EffektMosaik > 0) steuerung.Mosaic(bild.EffektMosaik);
  if (bild.EffektTrapez > 0) steuerung.Shear(bild.EffektTrapez, true, kWeiss);
  if (bild.EffektTrapez < 0) steuerung.Shear(-static_cast<int>(bild.EffektTrapez), false, kWeiss);
  if (bild.Invert) steuerung.Invert();
  if (bild.Gray) steuerung.Grayscale();
  return true;
}

}  // namespace

void BildDarstellen(Programmzustand& s, const ClassBild& bild, Bildsteuerung& steuerung) {
  if (bild.File.isEmpty()) return;
  steuerung.Visible = false;

  const QString pfad = pfadFinden(s, bild.File);
  struct stat st {};
  if (pfad.isEmpty() || ::stat(QFile::encodeName(pfad).constData(), &st) != 0 ||
      !S_ISREG(st.st_mode)) {
    steuerung.leeren();  // never the previous picture
    steuerung.Visible = true;
    return;
  }

  constexpr int64_t kMilliarde = 1000000000;
  Schluessel k;
  Datei& datei = k.datei;
  datei.pfad = QFileInfo(pfad).absoluteFilePath();
  datei.groesse = st.st_size;
  datei.geaendert = int64_t(st.st_mtim.tv_sec) * kMilliarde + st.st_mtim.tv_nsec;
  datei.statusGeaendert = int64_t(st.st_ctim.tv_sec) * kMilliarde + st.st_ctim.tv_nsec;
  datei.geraet = st.st_dev;
  datei.inode = st.st_ino;
  k.effekte = bild;
  for (QString* anzeige : {&k.effekte.File_Name, &k.effekte.File_Path, &k.effekte.File_Dir,
                           &k.effekte.Effekt, &k.effekte.File})
    anzeige->clear();
  k.ziel = steuerung.zielgroesse();

  if (const Bildsteuerung::Dekodiert* fertig = zwischenspeicher().suchen(k)) {
    if (fertig->bild.isNull())
      steuerung.leeren(fertig->grund);
    else
      steuerung.setzeBild(fertig->bild);
  } else if (ladenUndBearbeiten(bild, datei, steuerung)) {
    Bildsteuerung::Dekodiert ergebnis;
    if (steuerung.hatBitmap()) ergebnis.bild = steuerung.bild();
    ergebnis.grund = steuerung.fehlergrund();
    zwischenspeicher().ablegen(k, std::move(ergebnis));
  }
  steuerung.Visible = true;
}

void BildMalen(Programmzustand& s, const ClassBild& bild, Bildsteuerung& steuerung,
               Zeichenflaeche& ziel, const ClassRahmen& rahmen) {
  steuerung.Left = 0;
  steuerung.Top = 0;
  steuerung.Width = 0;
  steuerung.Height = 0;
  steuerung.setzeZielgroesse(zielFuerRahmen(s, rahmen));
  BildDarstellen(s, bild, steuerung);
  if (bild.File.isEmpty()) return;
  if (s.Druckmodus != 0) s.Zoomfaktor = 1;
  if (!steuerung.hatBitmap()) return;
  const auto twips = [&s](int32_t zehntel) {
    return static_cast<float>(einheiten::twipsAusEinheiten(zehntel * s.Zoomfaktor));
  };
  steuerung.Paint(ziel.hdc(), twips(rahmen.x), twips(rahmen.y), twips(rahmen.Breite),
                  twips(rahmen.Hoehe));
}

int bildLadevorgaenge() { return ladezaehler(); }

int bildDekodierungen() { return dekodierzaehler(); }

void bildZwischenspeicherLeeren(bool auchDekodierte) {
  zwischenspeicher().leeren();
  if (auchDekodierte) dekodierte().leeren();
}
