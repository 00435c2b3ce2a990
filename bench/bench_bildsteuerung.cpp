// Speed of the imaging control on a photo-sized picture (1200 x 800): decoding a JPEG,
// the whole effect chain a picture element runs on every redraw, and painting the
// result stretched into a frame of the page view.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>

#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"

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

}  // namespace
