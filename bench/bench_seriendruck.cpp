// Merge fields: a letter with 120 address fields, and the worst that hostile field texts can
// do (a field that names itself twice, 120 times in the text) to the letter and to a text
// element. The merge stops lengthening a text at its bound, so each stays well under a
// second.
#include <benchmark/benchmark.h>

#include <QTextDocument>

#include "core/brieftext.h"
#include "core/programmzustand.h"
#include "elements/text/seriendruck.h"
#include "vorlage.h"

namespace {
struct Felder {
  Programmzustand s;
  Feldfenster fenster;
  QString text;
  explicit Felder(const QString& feld21) {
    s.fenster = &fenster;
    fenster.felder[21] = feld21;
    for (int i = 0; i < 120; ++i) text += QStringLiteral("Absatz mit #Feld21, ");
  }
};

void Brief(benchmark::State& state, const QString& feld21) {
  Felder f(feld21);
  for (auto _ : state) {
    QTextDocument brief;
    brief.setPlainText(f.text);
    FelderMischen(f.s, brief);
    benchmark::DoNotOptimize(brief.characterCount());
  }
}

void Element(benchmark::State& state, const QString& feld21) {
  Felder f(feld21);
  for (auto _ : state) benchmark::DoNotOptimize(FelderEinsetzen(f.s, f.text).size());
}
}  // namespace

BENCHMARK_CAPTURE(Brief, Adressfelder, QStringLiteral("Musterfirma GmbH"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Brief, FeldDoppeltSichSelbst, QStringLiteral("#Feld21#Feld21"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Element, FeldDoppeltSichSelbst, QStringLiteral("#Feld21#Feld21"))
    ->Unit(benchmark::kMillisecond);
