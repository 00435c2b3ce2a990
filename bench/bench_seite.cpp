// Page redraw and printing: the shipped template at 100 %, a busy page with every effect,
// and 100 pages printed in one run into one PDF file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "core/auswahl.h"
#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "core/start.h"
#include "elements/text/schriftarten.h"
#include "io/dokument.h"
#include "io/drucken.h"
#include "platform/bildflaeche.h"
#include "platform/drucksteuerung.h"
#include "vorlage.h"

namespace {
// A state with the shipped template loaded in a temporary start-up folder.
struct Vorlage {
  QTemporaryDir ordner;
  Programmzustand s;
  Feldfenster fenster;
  Vorlage() {
    vorlageLaden(ordner, s, fenster);
    fenster.felder[22] = QStringLiteral("Herr");
    fenster.felder[23] = QStringLiteral("Hans");
    fenster.felder[24] = QStringLiteral("Müller");
    s.Zoom = 100;
    ZoomAnwenden(s);
  }
};

void vollSeite(Vorlage& v) {
  Programmzustand& s = v.s;
  // 20 rotated texts with a gradient and a graded shadow.
  for (int i = 0; i < 20; ++i) {
    s.Schriften.resize(s.AnzahlSchriften + 2);
    s.AnzahlSchriften += 1;
    NeueSchrift(s, s.AnzahlSchriften);
    ClassSchrift& t = s.schrift(s.AnzahlSchriften);
    t.Textstring = QStringLiteral("Verlauf und Schatten %1").arg(i);
    t.Angle = static_cast<int16_t>(i * 17);
    t.FontSize = static_cast<int16_t>(16);
    t.ColorCircle = static_cast<int16_t>(1 + i % 2);
    t.Color1 = RGB(255, 0, 0);
    t.Color2 = RGB(0, 0, 255);
    t.ShadowDeep = 30;
    t.ShadowType = 2;
    t.ShadowColor2 = RGB(255, 255, 255);
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Schrift"), s.AnzahlSchriften);
    ClassRahmen& r = s.rahmen(s.AnzahlRahmen);
    r.x = 100 + (i % 4) * 480;
    r.y = 100 + (i / 4) * 300;
    r.Breite = 450;
    r.Hoehe = 250;
  }
  // The 18 forms with gradients and shadows.
  for (int form = 1; form <= 18; ++form) {
    s.Linien.resize(s.AnzahlLinien + 2);
    s.AnzahlLinien += 1;
    NeueLinie(s, s.AnzahlLinien);
    ClassLinie& l = s.linie(s.AnzahlLinien);
    l.Form = static_cast<int16_t>(form);
    l.Staerke = 20;
    l.Fuellung = true;
    l.ColorCircle = static_cast<int16_t>(1 + form % 2);
    l.Color1 = RGB(0, 128, 0);
    l.Color2 = RGB(255, 255, 0);
    l.ShadowDeep = 20;
    l.ShadowType = static_cast<int16_t>(1 + form % 2);
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Linie"), s.AnzahlLinien);
    ClassRahmen& r = s.rahmen(s.AnzahlRahmen);
    r.x = 100 + ((form - 1) % 6) * 320;
    r.y = 1700 + ((form - 1) / 6) * 300;
    r.Breite = 280;
    r.Hoehe = 250;
  }
  // Three pictures.
  for (int i = 0; i < 3; ++i) {
    QImage bild(400, 300, QImage::Format_RGB32);
    bild.fill(QColor::fromHsv(i * 100, 200, 220));
    const QString pfad = QDir(v.ordner.path()).filePath(QStringLiteral("bild%1.bmp").arg(i));
    bild.save(pfad);
    s.Bilder.resize(s.AnzahlBilder + 2);
    s.AnzahlBilder += 1;
    NeuesBild(s, s.AnzahlBilder);
    ClassBild& b = s.bild(s.AnzahlBilder);
    b.File = pfad;
    b.Rotate = 1500 * (i + 1);
    b.Helligkeit = 200;
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Bild"), s.AnzahlBilder);
    ClassRahmen& r = s.rahmen(s.AnzahlRahmen);
    r.x = 200 + i * 600;
    r.y = 2600;
    r.Breite = 400;
    r.Hoehe = 300;
  }
}
}  // namespace

static void BM_VorlageZeichnen(benchmark::State& state) {
  Vorlage v;
  for (auto _ : state) SeiteZeichnen(v.s);
}
BENCHMARK(BM_VorlageZeichnen)->Unit(benchmark::kMillisecond);

static void BM_VolleSeiteZeichnen(benchmark::State& state) {
  Vorlage v;
  vollSeite(v);
  SeiteZeichnen(v.s);  // pictures enter the cache
  // With QX_BENCHBILD naming a file, the page is saved there to be looked at.
  const QString bild = qEnvironmentVariable("QX_BENCHBILD");
  if (!bild.isEmpty()) v.s.PictureSeite->bild().save(bild);
  for (auto _ : state) SeiteZeichnen(v.s);
}
BENCHMARK(BM_VolleSeiteZeichnen)->Unit(benchmark::kMillisecond);

// The page view on a screen of one or two device pixels per logical pixel (a 200 % scaled
// desktop), at the zoom that fits the page into a view 1000 logical pixels wide (124 %) and
// at 400 %, with the template or the busy page: the time of a redraw and the memory of the
// page surface.
static void BM_SeitenansichtDichte(benchmark::State& state) {
  Vorlage v;
  if (state.range(2) != 0) vollSeite(v);
  v.s.Zoom = static_cast<double>(state.range(0));
  ZoomAnwenden(v.s);
  v.s.PictureSeite->setzePixelverhaeltnis(static_cast<double>(state.range(1)));
  SeiteZeichnen(v.s);  // pictures enter the cache
  for (auto _ : state) SeiteZeichnen(v.s);
  const QImage& bild = v.s.PictureSeite->bild();
  state.counters["Flaeche_MB"] = static_cast<double>(bild.sizeInBytes()) / (1024 * 1024);
  state.counters["Geraetepixel_M"] = static_cast<double>(bild.width()) * bild.height() / 1e6;
}
BENCHMARK(BM_SeitenansichtDichte)
    ->ArgsProduct({{124, 400}, {1, 2}, {0, 1}})
    ->ArgNames({"zoom", "dichte", "voll"})
    ->Unit(benchmark::kMillisecond);

static void BM_HundertSeitenDrucken(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto v = std::make_unique<Vorlage>();
    v->s.VSPrinter1->setzePdfDatei(QDir(v->ordner.path()).filePath(QStringLiteral("lauf.pdf")));
    state.ResumeTiming();
    v->s.VSPrinter1->Preview = false;
    v->s.VSPrinter1->LaufBeginnen();
    for (int i = 0; i < 100; ++i) {
      v->fenster.felder[24] = QStringLiteral("Empfänger %1").arg(i);
      if (!DruckeSeite(v->s)) state.SkipWithError("Druck fehlgeschlagen");
    }
    if (!v->s.VSPrinter1->LaufBeenden()) state.SkipWithError("Druck fehlgeschlagen");
    state.PauseTiming();
    v.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HundertSeitenDrucken)->Unit(benchmark::kSecond)->Iterations(1);
