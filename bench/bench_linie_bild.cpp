// Speed of the two element renderers of the redraw's hot path: a shape with a graded
// shadow and a colour gradient (201 passes), and a picture frame with its processed bitmap
// taken from the cache or decoded and processed afresh.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTemporaryDir>

#include "core/programmzustand.h"
#include "elements/picture/bild_darstellen.h"
#include "elements/shape/linie_zeichnen.h"
#include "platform/bildflaeche.h"
#include "platform/bildsteuerung.h"
#include "platform/einheiten.h"

namespace {

void bereite(Programmzustand& s) {
  s.TwipsProEinheit = einheiten::kTwipsProEinheit;
  s.Verlaufsstufen = 100;
  s.TwipsProPixelX = s.TwipsProPixelY = 15;
  s.Zoomfaktor = 1;
}

ClassRahmen feld(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
  ClassRahmen r;
  r.x = x;
  r.y = y;
  r.Breite = breite;
  r.Hoehe = hoehe;
  return r;
}

// state.range(0): the form.
void FormMitSchattenUndVerlauf(benchmark::State& state) {
  Programmzustand s;
  bereite(s);
  Bildflaeche seite(einheiten::twipsAusEinheiten(2100), einheiten::twipsAusEinheiten(2970));
  const ClassLinie l{.Fuellung = true,
                     .Staerke = 20,
                     .ColorCircle = 1,
                     .ShadowType = 2,
                     .ShadowDeep = 30,
                     .ShadowAngle = 45,
                     .ShadowColor2 = 0xFFFFFF,
                     .ShadowColor1 = 0x808080,
                     .Form = static_cast<int16_t>(state.range(0)),
                     .Color2 = 0xFF0000,
                     .Color1 = 0x0000FF};
  const ClassRahmen r = feld(200, 200, 1200, 800);
  for (auto _ : state) {
    LinieZeichnen(s, seite, l, r);
    benchmark::DoNotOptimize(seite.bild());
  }
}
BENCHMARK(FormMitSchattenUndVerlauf)->Arg(1)->Arg(16)->Arg(18)->Unit(benchmark::kMillisecond);

// state.range(0): 1 takes the processed picture from the cache, 0 decodes it every time,
// 2 processes it every time from the file's decoded bitmap (as a new zoom does).
void BildRahmen(benchmark::State& state) {
  QTemporaryDir ordner;
  QImage foto(1200, 800, QImage::Format_RGB32);
  for (int y = 0; y < foto.height(); ++y)
    for (int x = 0; x < foto.width(); ++x)
      foto.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
  foto.save(ordner.filePath(QStringLiteral("foto.jpg")), "JPG", 90);
  Programmzustand s;
  bereite(s);
  s.Startverzeichnis = ordner.path() + QLatin1Char('/');
  ClassBild bild;
  bild.File = QStringLiteral("C:\\Briefe\\foto.jpg");
  bild.Rotate = 1500;
  bild.Kontrast = 200;
  bild.EffektTrapez = 1000;
  Bildsteuerung steuerung;
  Bildflaeche seite(einheiten::twipsAusEinheiten(2100), einheiten::twipsAusEinheiten(2970));
  const ClassRahmen r = feld(200, 200, 1200, 800);
  for (auto _ : state) {
    if (state.range(0) != 1) bildZwischenspeicherLeeren(state.range(0) == 0);
    BildMalen(s, bild, steuerung, seite, r);
    benchmark::DoNotOptimize(seite.bild());
  }
}
BENCHMARK(BildRahmen)->Arg(1)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
