// Speed of the imaging control on a photo-sized picture (1200 x 800): decoding a JPEG,
// the whole effect chain a picture element runs on every redraw, and painting the
// result stretched into a frame of the page view. And a 36-megapixel camera picture
// sharpened for a frame of the page: decoded, scaled down to the frame's printed size at
// 600 dpi and sharpened, as an uncached redraw does it. And metafiles of many records or of
// a few slow commands, loaded within the bounds of work (drawn, or refused).
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <cmath>

#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "spitzenspeicher.h"
#include "tests/gemeinsam/metadatei.h"

namespace {

QImage foto() {
  QImage bild(1200, 800, QImage::Format_RGB32);
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x)
      bild.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
  return bild;
}

QByteArray jpeg() {
  QByteArray daten;
  QBuffer puffer(&daten);
  puffer.open(QIODevice::WriteOnly);
  foto().save(&puffer, "JPG", 90);
  return daten;
}

void JpegLaden(benchmark::State& state) {
  const QByteArray daten = jpeg();
  Bildsteuerung s;
  for (auto _ : state) benchmark::DoNotOptimize(s.ladeDaten(daten));
}
BENCHMARK(JpegLaden)->Unit(benchmark::kMillisecond);

void EffektKette(benchmark::State& state) {
  const QImage quelle = foto();
  Bildsteuerung s;
  for (auto _ : state) {
    s.setzeBild(quelle);
    s.Rotate(1500, true, 0xFFFFFF);
    s.Intensity(100);
    s.Contrast(200);
    s.Saturation(-300);
    s.Hue(450);
    s.Sharpen(300);
    s.AddNoise(50, 0);
    s.Mosaic(4);
    s.Shear(1000, true, 0xFFFFFF);
    s.Invert();
    s.Grayscale();
    benchmark::DoNotOptimize(s.bild());
  }
}
BENCHMARK(EffektKette)->Unit(benchmark::kMillisecond);

void Malen(benchmark::State& state) {
  Bildsteuerung s;
  s.setzeBild(foto());
  Bildflaeche flaeche(1000 * 15, 700 * 15);
  for (auto _ : state) {
    s.Paint(flaeche.hdc(), 150, 150, 900 * 15, 600 * 15);
    benchmark::DoNotOptimize(flaeche.bild());
  }
}
BENCHMARK(Malen)->Unit(benchmark::kMillisecond);

// 6000 x 6000 with fine detail and some grain, so that it compresses like a photo.
QByteArray grossesFoto() {
  QImage bild(6000, 6000, QImage::Format_RGB32);
  uint32_t zufall = 12345;
  for (int y = 0; y < bild.height(); ++y) {
    auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
    for (int x = 0; x < bild.width(); ++x) {
      zufall = zufall * 1103515245u + 12345u;
      const int korn = static_cast<int>((zufall >> 16) & 31);
      zeile[x] = qRgb((x / 7 + y / 13 + korn) % 256, (y / 5 + korn) % 256, ((x ^ y) / 9) % 256);
    }
  }
  QByteArray daten;
  QBuffer puffer(&daten);
  puffer.open(QIODevice::WriteOnly);
  bild.save(&puffer, "JPG", 90);
  return daten;
}

// state.range(0): the frame's width and height in tenths of a millimetre on paper (600
// dpi), 0 for no frame (the control's own pixel limit); state.range(1): the sharpness
// (negative blurs). The page view at 100 % asks twice the screen's pixels, which is what
// a frame of 320 asks on paper: 320/300 is the redraw of a 100 mm frame on screen.
void GrossesFotoSchaerfen(benchmark::State& state) {
  static const QByteArray daten = grossesFoto();
  const int seite = static_cast<int>(std::ceil(state.range(0) * 600.0 / 254.0));
  Bildsteuerung s;
  s.setzeZielgroesse(QSize(seite, seite));
  for (auto _ : state) {
    s.ladeDaten(daten);
    s.Sharpen(static_cast<int>(state.range(1)));
    benchmark::DoNotOptimize(s.bild());
  }
  state.counters["Bitmap_MP"] = double(s.BitmapWidth()) * s.BitmapHeight() / 1e6;
}
BENCHMARK(GrossesFotoSchaerfen)
    ->Args({320, 300})
    ->Args({600, 300})
    ->Args({1000, 300})
    ->Args({1000, -300})
    ->Args({2000, 300})
    ->Args({0, 300})
    ->Unit(benchmark::kMillisecond);

// Metafiles loaded within the bounds of work: state.range(1) records of a zigzag line
// (MoveTo and LineTo by turns) in a picture of 1 x 1 inch (state.range(0) 0), as many
// ellipses over a picture of 16 x 8 inches (1), or a chart of bars, lines and labels of that
// many records over 6 x 4 inches (2). The counter says whether it was drawn (1) or refused
// (0), Spitze_MB the program's peak of memory (the helper's own peak: run it by itself under
// /usr/bin/time). The drawing runs in another process: the time to read is the wall-clock
// time.
void MetadateiLaden(benchmark::State& state) {
  const int anzahl = static_cast<int>(state.range(1));
  const QByteArray daten = state.range(0) == 0   ? metadatei::linien(anzahl)
                           : state.range(0) == 1 ? metadatei::ellipsen(anzahl)
                                                 : metadatei::diagramm(anzahl);
  Bildsteuerung s;
  bool gezeichnet = false;
  for (auto _ : state) gezeichnet = s.ladeDaten(daten);
  state.counters["gezeichnet"] = gezeichnet ? 1 : 0;
  spitzenspeicherZaehlen(state);
}
BENCHMARK(MetadateiLaden)
    ->Args({0, 2000})
    ->Args({0, 7000})
    ->Args({0, 40000})
    ->Args({0, 100000})
    ->Args({2, 3000})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(MetadateiLaden)
    ->Args({1, 200})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
