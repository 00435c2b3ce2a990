// Drawing speed of the device context: rotated text and filled polygons, 1000 of each,
// on a picture surface and on the print control (recorded page).
#include <benchmark/benchmark.h>


#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "platform/gdi.h"

namespace {

void texte(Zeichenflaeche& z) {
  HDC dc = z.hdc();
  for (int i = 0; i < 1000; ++i) {
    LogFont lf;
    lf.lfFaceName = QStringLiteral("Arial");
    lf.lfHeight = -(GetDeviceCaps(dc, LOGPIXELSY) / 4);
    lf.lfEscapement = lf.lfOrientation = (i * 70) % 3600;
    lf.lfWeight = i % 2 ? 800 : 400;
    HFONT f = CreateFontIndirectA(lf);
    HFONT alt = SelectObject(dc, f);
    SetTextCharacterExtra(dc, i % 5);
    TextOutA(dc, 50 + i % 300, 50 + i % 400, QStringLiteral("Briefkopf"), 9);
    SelectObject(dc, alt);
    DeleteObject(f);
  }
}

void polygone(Zeichenflaeche& z) {
  HDC dc = z.hdc();
  const int s = GetDeviceCaps(dc, LOGPIXELSX) / 96;
  for (int i = 0; i < 1000; ++i) {
    const int x = (i * 7) % 600 * s;
    const int y = (i * 13) % 800 * s;
    const POINT p[] = {{x, y}, {x + 80 * s, y + 10 * s}, {x + 60 * s, y + 70 * s}, {x, y + 50 * s}};
    Polygon(dc, p, 2 + i % 3);
  }
}

void BM_TextBildflaeche(benchmark::State& state) {
  Bildflaeche f(11907, 16840);
  for (auto _ : state) {
    texte(f);
    benchmark::DoNotOptimize(f.bild().constBits());
  }
}

void BM_PolygonBildflaeche(benchmark::State& state) {
  Bildflaeche f(11907, 16840);
  f.FillStyle = 0;
  f.FillColor = 0x00C0FF;
  f.DrawWidth = 3;
  for (auto _ : state) {
    polygone(f);
    benchmark::DoNotOptimize(f.bild().constBits());
  }
}

void BM_TextDrucksteuerung(benchmark::State& state) {
  Drucksteuerung d;
  for (auto _ : state) {
    d.StartDoc();
    texte(d);
    d.EndDoc();
  }
}

void BM_PolygonDrucksteuerung(benchmark::State& state) {
  Drucksteuerung d;
  d.BrushStyle = 0;
  d.BrushColor = 0x00C0FF;
  d.PenWidth = 12;
  for (auto _ : state) {
    d.StartDoc();
    polygone(d);
    d.EndDoc();
  }
}

BENCHMARK(BM_TextBildflaeche)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonBildflaeche)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextDrucksteuerung)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonDrucksteuerung)->Unit(benchmark::kMillisecond);

}  // namespace
