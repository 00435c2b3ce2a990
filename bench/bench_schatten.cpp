// Big texts with long graded shadows on a printed page: a 450-pt text with shadow 100, held
// for the preview and printed into a PDF file, drawn on the page view at its largest zoom and
// exported at the largest export scale, and the template's texts with the longest shadow a
// document can hold; the big text turned with a colour gradient in the preview. Run one case
// at a time under /usr/bin/time -v for its peak memory, e.g.
// --benchmark_filter=BM_GrosserSchattenVorschau.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"
#include "core/start.h"
#include "io/drucken.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "ui/export.h"
#include "vorlage.h"

namespace {

struct Seite {
  QTemporaryDir ordner;
  Programmzustand s;
  Feldfenster fenster;
  Seite() { vorlageLaden(ordner, s, fenster); }

  // The template's first text at 450 pt with a graded shadow of 100, centred on the page,
  // its shadow falling down to the left across the page.
  void grosserText() {
    ClassSchrift& t = s.schrift(1);
    t.Textstring = QStringLiteral("Briefkopf");
    t.FontSize = QStringLiteral("450");
    t.AusrichtungH = t.AusrichtungV = 1;
    t.ShadowDeep = 100;
    t.ShadowAngle = 225;
    t.ShadowType = 2;
    t.ShadowColor2 = RGB(255, 255, 255);
    for (int i = 1; i <= s.AnzahlRahmen; ++i) {
      ClassRahmen& r = s.rahmen(i);
      if (r.Objekttyp != QStringLiteral("Schrift") || r.nummer() != 1) continue;
      r.x = 0;
      r.y = 0;
      r.Breite = 2100;
      r.Hoehe = 2970;
    }
  }
  // Every text of the template with a graded shadow of 32767.
  void laengsteSchatten() {
    for (int i = 1; i <= s.AnzahlSchriften; ++i) {
      s.schrift(i).ShadowDeep = 32767;
      s.schrift(i).ShadowType = 2;
    }
  }
};

void vorschau(benchmark::State& state, Seite& seite) {
  seite.s.VSPrinter1->Preview = true;
  for (auto _ : state)
    if (!DruckeSeite(seite.s)) state.SkipWithError("Druck fehlgeschlagen");
  // With QX_BENCHBILD naming a file, the page is saved there at 100 dpi to be looked at.
  const QString bild = qEnvironmentVariable("QX_BENCHBILD");
  if (!bild.isEmpty()) seite.s.VSPrinter1->seiteAlsBild(0, 100).save(bild);
}

void BM_GrosserSchattenVorschau(benchmark::State& state) {
  Seite seite;
  seite.grosserText();
  vorschau(state, seite);
}

void BM_GrosserSchattenDrucken(benchmark::State& state) {
  Seite seite;
  seite.grosserText();
  Drucksteuerung& d = *seite.s.VSPrinter1;
  d.setzePdfDatei(QDir(seite.ordner.path()).filePath(QStringLiteral("schatten.pdf")));
  d.Preview = false;
  for (auto _ : state) {
    d.LaufBeginnen();
    if (!DruckeSeite(seite.s) || !d.LaufBeenden()) state.SkipWithError("Druck fehlgeschlagen");
  }
}

// The page view at the largest zoom the menu's zoom accepts (lowered to what the surface's
// pixel budget holds).
void BM_GrosserSchattenSeitenansicht(benchmark::State& state) {
  Seite seite;
  seite.grosserText();
  seite.s.Zoom = 1000;
  ZoomAnwenden(seite.s);
  for (auto _ : state) SeiteZeichnen(seite.s);
}

void BM_GrosserSchattenExport(benchmark::State& state) {
  Seite seite;
  seite.grosserText();
  for (auto _ : state) {
    seite.s.Exportzoom = 10;
    if (!SeiteExportieren(seite.s)) state.SkipWithError("Export fehlgeschlagen");
  }
}

// The big text turned by 45 degrees with a colour gradient along it and no shadow, held for
// the preview and shown there at 96 dpi.
void BM_GedrehterVerlaufVorschau(benchmark::State& state) {
  Seite seite;
  seite.grosserText();
  ClassSchrift& t = seite.s.schrift(1);
  t.ShadowDeep = 0;
  t.Angle = 45;
  t.ColorCircle = 1;
  t.Color1 = RGB(255, 0, 0);
  t.Color2 = RGB(0, 0, 255);
  seite.s.VSPrinter1->Preview = true;
  for (auto _ : state) {
    if (!DruckeSeite(seite.s)) state.SkipWithError("Druck fehlgeschlagen");
    benchmark::DoNotOptimize(seite.s.VSPrinter1->seiteAlsBild(0, 96));
  }
}

void BM_LaengsteSchattenVorschau(benchmark::State& state) {
  Seite seite;
  seite.laengsteSchatten();
  vorschau(state, seite);
}

BENCHMARK(BM_GrosserSchattenVorschau)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrosserSchattenDrucken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrosserSchattenSeitenansicht)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrosserSchattenExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GedrehterVerlaufVorschau)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaengsteSchattenVorschau)->Unit(benchmark::kMillisecond);

}  // namespace
