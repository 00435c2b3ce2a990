// A page of 20 photos (1600 x 1200 JPEG, each its own file) in frames of 45 x 34 mm on the
// page view at 96 dpi, as the page redraw draws its picture frames: the first draw (every
// file decoded), a redraw at the same zoom, and a change of zoom (every picture processed
// again for its new size; the counter says how many files were decoded again for it).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>
#include <vector>

#include "core/programmzustand.h"
#include "elements/picture/bild_darstellen.h"
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/einheiten.h"
#include "spitzenspeicher.h"

namespace {

constexpr int kFotos = 20;

struct Fotoseite {
  QTemporaryDir ordner;
  Programmzustand s;
  std::vector<ClassBild> bilder;
  std::vector<ClassRahmen> rahmen;
  Bildsteuerung steuerung;
  Bildflaeche seite{einheiten::twipsAusEinheiten(2100), einheiten::twipsAusEinheiten(2970)};

  Fotoseite() {
    s.TwipsProEinheit = einheiten::kTwipsProEinheit;
    s.TwipsProPixelX = s.TwipsProPixelY = 15;
    s.Startverzeichnis = ordner.path() + QLatin1Char('/');
    for (int i = 0; i < kFotos; ++i) {
      // Fine detail and some grain, so that each compresses like a photo.
      QImage foto(1600, 1200, QImage::Format_RGB32);
      uint32_t zufall = 777u + uint32_t(i);
      for (int y = 0; y < foto.height(); ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(foto.scanLine(y));
        for (int x = 0; x < foto.width(); ++x) {
          zufall = zufall * 1103515245u + 12345u;
          const int korn = static_cast<int>((zufall >> 16) & 15);
          zeile[x] = qRgb((x / 5 + i * 11 + korn) % 256, (y / 3 + korn) % 256, ((x ^ y) / 7) % 256);
        }
      }
      const QString name = QStringLiteral("foto%1.jpg").arg(i);
      foto.save(ordner.filePath(name), "JPG", 90);
      ClassBild b;
      b.File = name;
      bilder.push_back(b);
      ClassRahmen r;
      r.x = 100 + (i % 4) * 480;
      r.y = 100 + (i / 4) * 560;
      r.Breite = 450;
      r.Hoehe = 337;
      rahmen.push_back(r);
    }
  }

  void zeichnen(double zoom) {
    s.Zoomfaktor = zoom;
    for (int i = 0; i < kFotos; ++i) BildMalen(s, bilder[i], steuerung, seite, rahmen[i]);
    benchmark::DoNotOptimize(seite.bild());
  }
};

Fotoseite& fotoseite() {
  static Fotoseite seite;
  return seite;
}

// state.range(0): 1 draws the page for the first time (no picture decoded yet), 0 again at
// the same zoom.
void Seite(benchmark::State& state) {
  Fotoseite& f = fotoseite();
  bildZwischenspeicherLeeren();
  f.zeichnen(1.0);
  for (auto _ : state) {
    if (state.range(0) == 1) bildZwischenspeicherLeeren();
    f.zeichnen(1.0);
  }
  spitzenspeicherZaehlen(state);
}
BENCHMARK(Seite)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Zoom 75 % and 125 % by turns, after the page was drawn at 100 %.
void ZoomWechsel(benchmark::State& state) {
  Fotoseite& f = fotoseite();
  bildZwischenspeicherLeeren();
  f.zeichnen(1.0);
  const int vorher = bildDekodierungen();
  int wechsel = 0;
  for (auto _ : state) {
    bildZwischenspeicherLeeren(false);
    f.zeichnen(wechsel++ % 2 ? 1.25 : 0.75);
  }
  state.counters["dekodiert_je_Wechsel"] = double(bildDekodierungen() - vorher) / wechsel;
  spitzenspeicherZaehlen(state);
}
BENCHMARK(ZoomWechsel)->Unit(benchmark::kMillisecond);

}  // namespace
