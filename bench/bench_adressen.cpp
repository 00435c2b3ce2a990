// Address records: deleting one record of a large table with the renumbering of "Löschen",
// and walking every record as a form-letter run does.
#include <benchmark/benchmark.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "core/programmzustand.h"
#include "platform/datensteuerung.h"
#include "ui/adressen.h"

namespace {

// A database of n records in a temporary folder, opened by the data control.
struct Adressbestand {
  QTemporaryDir ordner;
  Programmzustand s;
  Datensteuerung d;
  explicit Adressbestand(int n) {
    const QString pfad = ordner.filePath(QStringLiteral("adressen.db"));
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bestand");
      db.setDatabaseName(pfad);
      db.open();
      QSqlQuery q(db);
      q.exec(
          "CREATE TABLE Adressen (Nummer TEXT, Firma TEXT, Anrede TEXT, Vorname TEXT, "
          "Nachname TEXT, \"Straße\" TEXT, PLZ TEXT, Ort TEXT, \"Sonstiges 1\" TEXT, "
          "\"Sonstiges 2\" TEXT, Gruppe TEXT)");
      q.exec(QStringLiteral("WITH RECURSIVE z(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM z "
                            "WHERE i < %1) INSERT INTO Adressen SELECT i, 'Firma ' || i, 'Frau', "
                            "'Anna', 'Name ' || i, 'Weg ' || i, '12345', 'Ort', '', '', 'Kunde' "
                            "FROM z")
                 .arg(n));
      db.close();
    }
    QSqlDatabase::removeDatabase("bestand");
    s.fenster = &s.keinFenster;
    AdressenOeffnen(d, s, pfad);
  }
};

// "Löschen" in the middle of the table: the delete and the renumbering of every record.
void BM_LoeschenMitNeuNummerierung(benchmark::State& state) {
  Adressbestand b(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    b.d.MoveFirst();
    b.d.Move(b.d.RecordCount() / 2);
    state.ResumeTiming();
    if (!AdresseLoeschen(b.d, b.s)) state.SkipWithError("Löschen fehlgeschlagen");
  }
}
BENCHMARK(BM_LoeschenMitNeuNummerierung)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every record from the first to the last, one MoveNext each (the moves of a print run).
void BM_AlleDatensaetzeDurchlaufen(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Adressbestand b(n);
  for (auto _ : state) {
    b.d.MoveFirst();
    for (int i = 1; i < n; ++i) b.d.MoveNext();
    benchmark::DoNotOptimize(b.d.wert(QStringLiteral("Nachname")));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AlleDatensaetzeDurchlaufen)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
