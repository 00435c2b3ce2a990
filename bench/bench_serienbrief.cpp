// Form letters at scale: N letters of the shipped template and letter text printed into one
// PDF run through the print dialog's "Alle Adressen drucken", with N addresses generated
// into a temporary adressen.db and bound to the side-panel fields as in the main window.
// Reports letters per second and the peak memory of the process (getrusage ru_maxrss,
// which only grows: run one N alone with --benchmark_filter to see its own peak).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "core/programmzustand.h"
#include "io/frmdrucken.h"
#include "platform/datensteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/feldbindung.h"
#include "vorlage.h"

namespace {

const char* const kAdressfelder[] = {"Firma", "Anrede", "Vorname",     "Nachname",    "Straße",
                                     "PLZ",   "Ort",    "Sonstiges 1", "Sonstiges 2", "Gruppe"};

// The main window as far as printing sees it: the sender fields 1 to 20 from the document,
// the address fields 21 to 30 bound to the data control.
class Adressfenster : public KeinFenster {
 public:
  QString Text1(int i) const override {
    if (i >= 21 && i <= 30)
      return static_cast<size_t>(i - 21) < adressen.size() ? adressen[i - 21]->text() : QString();
    return absender.value(i);
  }
  void setzeText1(int i, const QString& text) override { absender[i] = text; }
  int Meldung(const QString& text, const QString&, Knoepfe, Symbol) override {
    meldungen << text;
    return 1;
  }
  QMap<int, QString> absender;
  std::vector<std::unique_ptr<QLineEdit>> adressen;
  QStringList meldungen;
};

void adressenAnlegen(const QString& pfad, int anzahl) {
  {
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("anlegen"));
    db.setDatabaseName(pfad);
    db.open();
    QSqlQuery q(db);
    q.exec(
        QStringLiteral("CREATE TABLE Adressen (Nummer TEXT, Firma TEXT, Anrede TEXT, Vorname TEXT, "
                       "Nachname TEXT, \"Straße\" TEXT, PLZ TEXT, Ort TEXT, \"Sonstiges 1\" TEXT, "
                       "\"Sonstiges 2\" TEXT, Gruppe TEXT)"));
    db.transaction();
    q.prepare(QStringLiteral("INSERT INTO Adressen VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 1; i <= anzahl; ++i) {
      const QVariantList werte = {QString::number(i),
                                  QStringLiteral("Firma %1 GmbH").arg(i),
                                  i % 2 ? QStringLiteral("Herr") : QStringLiteral("Frau"),
                                  QStringLiteral("Vorname%1").arg(i),
                                  QStringLiteral("Nachname%1").arg(i),
                                  QStringLiteral("Hauptstraße %1").arg(i % 200 + 1),
                                  QStringLiteral("%1").arg(10000 + i % 89999),
                                  QStringLiteral("Musterstadt"),
                                  QString(),
                                  QString(),
                                  QStringLiteral("Kunde")};
      for (int k = 0; k < werte.size(); ++k) q.bindValue(k, werte[k]);
      q.exec();
    }
    db.commit();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("anlegen"));
}

// The shipped start-up folder with N addresses and the print dialog ready for "Drucken".
struct Serienbrief {
  QTemporaryDir ordner;
  Programmzustand s;
  Adressfenster fenster;
  Datensteuerung daten;
  std::unique_ptr<frmDrucken> dialog;

  explicit Serienbrief(int anzahl) {
    vorlageLaden(ordner, s, fenster);
    QFile brief(QDir(ordner.path()).filePath(QStringLiteral("RTF1.rtf")));
    brief.open(QIODevice::ReadOnly);
    s.BrieftextRTF = QString::fromLatin1(brief.readAll());

    const QString db = QDir(ordner.path()).filePath(QStringLiteral("bench-adressen.db"));
    adressenAnlegen(db, anzahl);
    daten.oeffnen(db);
    for (const char* feld : kAdressfelder) {
      fenster.adressen.push_back(std::make_unique<QLineEdit>());
      bindeFeld(daten, fenster.adressen.back().get(), QString::fromUtf8(feld));
    }
    s.VSPrinter1->setzePdfDatei(QDir(ordner.path()).filePath(QStringLiteral("serienbrief.pdf")));
    dialog = std::make_unique<frmDrucken>(s);
    dialog->setzeDatensteuerung(&daten);
    dialog->Option4->setChecked(true);
  }
};

double spitzenspeicherMB() {
  rusage nutzung{};
  getrusage(RUSAGE_SELF, &nutzung);
  return nutzung.ru_maxrss / 1024.0;
}

}  // namespace

static void BM_Serienbrief(benchmark::State& state) {
  const int anzahl = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto lauf = std::make_unique<Serienbrief>(anzahl);
    state.ResumeTiming();
    lauf->dialog->CommandDrucken_Click();
    state.PauseTiming();
    if (!lauf->fenster.meldungen.isEmpty())
      state.SkipWithError(lauf->fenster.meldungen.first().toStdString().c_str());
    if (lauf->s.VSPrinter1->laufSeiten() != anzahl) state.SkipWithError("Seitenzahl falsch");
    lauf.reset();
    state.ResumeTiming();
  }
  state.counters["Briefe/s"] =
      benchmark::Counter(static_cast<double>(anzahl) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["Spitze_MB"] = spitzenspeicherMB();
}
BENCHMARK(BM_Serienbrief)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
