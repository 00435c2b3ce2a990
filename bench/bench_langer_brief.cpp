// Long letters: the letter text laid out and drawn on the print control (held for the
// preview) for 10,000 to 200,000 one-line paragraphs (past 2^25 twips, where Qt's layout
// of the whole letter never ended) and for 16,000 and 32,000 page breaks, and the merge of
// 10,000 and 80,000 "#Datum" or "#Feld" fields in one paragraph. The time per paragraph
// or field ("jeAbsatz", "jeFeld") stays about the same as the letter grows.
#include <benchmark/benchmark.h>

#include <QTextDocument>
#include <memory>

#include "core/brieftext.h"
#include "core/programmzustand.h"
#include "platform/drucksteuerung.h"
#include "platform/rtf_ausgabe.h"
#include "vorlage.h"

namespace {

QByteArray absaetze(int anzahl, const char* trenner) {
  QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
  for (int i = 1; i <= anzahl; ++i) rtf += "Zeile " + QByteArray::number(i) + trenner;
  return rtf + "}";
}

void Drucken(benchmark::State& state, const char* trenner) {
  const auto brief = rtfDokument(absaetze(static_cast<int>(state.range(0)), trenner));
  int seiten = 0;
  for (auto _ : state) {
    // Only the output is timed: not the copy of the letter, nor letting go of its pages.
    state.PauseTiming();
    auto d = std::make_unique<Drucksteuerung>();
    d->MarginLeft = d->MarginTop = d->MarginRight = d->MarginBottom = 1440;
    const auto kopie = dokumentKopie(*brief);
    state.ResumeTiming();
    d->StartDoc();
    dokumentAusgeben(*d, *kopie);
    d->EndDoc();
    state.PauseTiming();
    seiten = d->seitenzahl();
    d.reset();
    state.ResumeTiming();
  }
  state.counters["Seiten"] = seiten;
  state.counters["jeAbsatz"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
}

void Mischen(benchmark::State& state, const QString& feld) {
  Programmzustand s;
  Feldfenster fenster;
  s.fenster = &fenster;
  fenster.felder[21] = QStringLiteral("Musterfirma GmbH");
  QString text;
  for (int i = 0; i < state.range(0); ++i) text += QStringLiteral("Text ") + feld + u' ';
  for (auto _ : state) {
    state.PauseTiming();
    QTextDocument brief;
    brief.setPlainText(text);
    state.ResumeTiming();
    FelderMischen(s, brief);
    benchmark::DoNotOptimize(brief.characterCount());
  }
  state.counters["jeFeld"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
}

}  // namespace

BENCHMARK_CAPTURE(Drucken, Absaetze, "\\par ")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Drucken, Seitenumbrueche, "\\page ")
    ->Arg(16000)
    ->Arg(32000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Mischen, Datum, QStringLiteral("#Datum"))
    ->Arg(10000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(Mischen, Feld, QStringLiteral("#Feld21"))
    ->Arg(10000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
