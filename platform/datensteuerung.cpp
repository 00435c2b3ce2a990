#include "platform/datensteuerung.h"

#include <QFileInfo>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <atomic>
#include <limits>
#include <optional>

namespace {

// Where the control stands.
enum Lage {
  LageBof,        // before the first record (also: empty table, closed control)
  LageDatensatz,  // on a stored record
  LageGeloescht,  // on the place of a record just deleted
  LageEof,        // after the last record
  LageNeu,        // on a new record not stored yet
};

// The queries kept prepared while a database is open: the counts, and the moves, each of
// which reads the rowid and the fields of the record it reaches in one statement.
enum Abfrage {
  AbfrageAnzahl,    // number of records
  AbfrageDavor,     // number of records before a rowid
  AbfrageAnStelle,  // the record at a 0-based position
  AbfrageNach,      // the record after a rowid
  AbfrageVor,       // the record before a rowid
  AbfrageLetzte,    // the last record
  AbfrageLaden,     // the record with a rowid
  AnzahlAbfragen
};

const QString kOhneAdressen = QStringLiteral("Das Programm läuft ohne Adressen weiter.");
const QString kNichtLesbar = QStringLiteral("Die Adressdatenbank kann nicht gelesen werden.");
const QString kNichtGespeichert = QStringLiteral("Die Adresse konnte nicht gespeichert werden.");

// How long a query waits for a database that another program holds locked.
constexpr int kWartezeitMs = 1000;

QString bezeichner(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

QString neuerVerbindungsname() {
  static std::atomic<int> zaehler{0};
  return QStringLiteral("qx_datensteuerung_%1").arg(++zaehler);
}

// Why SQLite refused, in words of the user, by its primary result code; the codes not listed
// are told by the database's own text alone.
struct Grund {
  int code;
  const char* text;
};
constexpr Grund kGruende[] = {
    {3, "Der Zugriff wurde verweigert."},                                        // PERM
    {5, "Die Adressdatenbank wird gerade von einem anderen Programm benutzt."},  // BUSY
    {6, "Die Adressdatenbank wird gerade von einem anderen Programm benutzt."},  // LOCKED
    {7, "Der Arbeitsspeicher reicht nicht aus."},                                // NOMEM
    {8, "Die Adressdatenbank ist schreibgeschützt."},                            // READONLY
    {10, "Die Datei kann nicht gelesen oder geschrieben werden."},               // IOERR
    {11, "Die Datei ist beschädigt."},                                           // CORRUPT
    {13, "Der Datenträger ist voll."},                                           // FULL
    {14, "Die Datei kann nicht geöffnet werden."},                               // CANTOPEN
    {19, "Die Datenbank hat die Änderung abgelehnt."},       // CONSTRAINT, also a trigger's refusal
    {23, "Der Zugriff wurde verweigert."},                   // AUTH
    {26, "Die Datei ist keine Datenbank oder beschädigt."},  // NOTADB
};

QString grund(const QSqlError& e) {
  bool zahl = false;
  const int code = e.nativeErrorCode().toInt(&zahl) & 0xff;  // primary of an extended code
  if (!zahl) return QString();
  for (const Grund& g : kGruende)
    if (g.code == code) return QString::fromUtf8(g.text);
  return QString();
}

// A failure told in German: what failed, why, what happens now; the database's own text
// (English) follows as a detail.
QString fehlertext(const QString& was, const QSqlError& e, const QString& danach = QString()) {
  QString text = was;
  const QString warum = grund(e);
  if (!warum.isEmpty()) text += QLatin1Char(' ') + warum;
  if (!danach.isEmpty()) text += QLatin1Char(' ') + danach;
  QString detail = e.databaseText().trimmed();
  if (detail.isEmpty()) detail = e.driverText().trimmed();
  if (!detail.isEmpty()) text += QStringLiteral("\n(Meldung der Datenbank: %1)").arg(detail);
  return text;
}

// Binds the values by position and runs a prepared query.
bool ausfuehren(QSqlQuery& q, const QVariantList& werte) {
  for (int i = 0; i < werte.size(); ++i) q.bindValue(i, werte[i]);
  return q.exec();
}

}  // namespace

struct Datensteuerung::Intern {
  QString verbindung = neuerVerbindungsname();
  QString tabelle;  // as stored in the database
  QStringList felder;
  bool offen = false;
  bool inTransaktion = false;
  QString fehler;
  QString caption;

  Lage lage = LageBof;
  qint64 zeile = 0;     // rowid of the current record (or of the one just deleted)
  QStringList geladen;  // the current record's values as stored
  QStringList puffer;   // the values shown: loaded, or set from code

  struct Bindung {
    QPointer<GebundenesFeld> feld;
    QString name;
    QString gezeigt;  // the text the edit held after the control set it
  };
  std::vector<Bindung> bindungen;

  std::array<std::optional<QSqlQuery>, AnzahlAbfragen> abfragen;

  QSqlDatabase db() const { return QSqlDatabase::database(verbindung, false); }

  // Closes and forgets the connection and its prepared queries.
  void schliessen() {
    for (std::optional<QSqlQuery>& q : abfragen) q.reset();
    if (!QSqlDatabase::contains(verbindung)) return;
    {
      QSqlDatabase alt = QSqlDatabase::database(verbindung, false);
      alt.close();
    }
    QSqlDatabase::removeDatabase(verbindung);
  }
  QString t() const { return bezeichner(tabelle); }

  int index(const QString& name) const {
    for (int i = 0; i < felder.size(); ++i)
      if (felder[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
  }

  // The binding that holds the edits of field i, if one is bound.
  const Bindung* bindung(int i) const {
    for (const Bindung& b : bindungen)
      if (b.feld && index(b.name) == i) return &b;
    return nullptr;
  }

  // The value of field i: what the user changed in its edit, else what the control holds.
  QString aktuell(int i) const {
    const Bindung* b = bindung(i);
    if (b && b->feld->text() != b->gezeigt) return b->feld->text();
    return puffer.value(i);
  }

  bool geaendert() const {
    for (int i = 0; i < felder.size(); ++i)
      if (aktuell(i) != geladen.value(i)) return true;
    return false;
  }

  void leeren() {
    geladen = QStringList();
    for (int i = 0; i < felder.size(); ++i) geladen << QString();
    puffer = geladen;
  }

  // Sets the text of the edits of field i.
  void anzeigen(int i, const QString& text) {
    for (Bindung& b : bindungen) {
      if (!b.feld || index(b.name) != i) continue;
      if (b.feld->text() != text) b.feld->setText(text);
      b.gezeigt = b.feld->text();
    }
  }

  void datenbankFehler(const QString& was, const QSqlError& e) { fehler = fehlertext(was, e); }

  QString abfrageText(Abfrage a) const {
    QStringList spalten{QStringLiteral("rowid")};
    for (const QString& f : felder) spalten << bezeichner(f);
    const QString datensatz = QStringLiteral("SELECT %1 FROM %2 ").arg(spalten.join(u','), t());
    switch (a) {
      case AbfrageAnzahl:
        return QStringLiteral("SELECT COUNT(*) FROM %1").arg(t());
      case AbfrageDavor:
        return QStringLiteral("SELECT COUNT(*) FROM %1 WHERE rowid < ?").arg(t());
      case AbfrageAnStelle:
        return datensatz + QStringLiteral("ORDER BY rowid LIMIT 1 OFFSET ?");
      case AbfrageNach:
        return datensatz + QStringLiteral("WHERE rowid > ? ORDER BY rowid LIMIT 1");
      case AbfrageVor:
        return datensatz + QStringLiteral("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1");
      case AbfrageLetzte:
        return datensatz + QStringLiteral("ORDER BY rowid DESC LIMIT 1");
      case AbfrageLaden:
        return datensatz + QStringLiteral("WHERE rowid = ?");
      case AnzahlAbfragen:
        break;
    }
    return QString();
  }

  // Runs a kept query, preparing it on first use. A query that failed is prepared anew
  // next time. Null with fehler when the database refuses.
  QSqlQuery* abfrage(Abfrage a, const QVariantList& werte) {
    std::optional<QSqlQuery>& q = abfragen[a];
    if (!q) {
      q.emplace(db());
      q->setForwardOnly(true);
      if (!q->prepare(abfrageText(a))) {
        datenbankFehler(kNichtLesbar, q->lastError());
        q.reset();
        return nullptr;
      }
    }
    if (!ausfuehren(*q, werte)) {
      datenbankFehler(kNichtLesbar, q->lastError());
      q.reset();
      return nullptr;
    }
    return &*q;
  }

  // The number in the first column of a kept query's first row; empty without a row.
  // False with fehler on a database error.
  bool zahl(Abfrage a, const QVariantList& werte, std::optional<qint64>& ergebnis) {
    ergebnis.reset();
    QSqlQuery* q = abfrage(a, werte);
    if (!q) return false;
    if (q->next()) ergebnis = q->value(0).toLongLong();
    q->finish();  // ends the read at once; the query stays prepared
    return true;
  }

  qint64 anzahl() {
    std::optional<qint64> n;
    return zahl(AbfrageAnzahl, {}, n) && n ? *n : 0;
  }
  // Records before the rowid (the 0-based position of the record with that rowid).
  bool davor(qint64 z, qint64& n) {
    std::optional<qint64> ergebnis;
    if (!zahl(AbfrageDavor, {z}, ergebnis)) return false;
    n = ergebnis.value_or(0);
    return true;
  }

  // Prepares and runs a query made for one use. False with fehler (was, why).
  bool einmal(QSqlQuery& q, const QString& sql, const QVariantList& werte, const QString& was) {
    if (q.prepare(sql) && ausfuehren(q, werte)) return true;
    datenbankFehler(was, q.lastError());
    return false;
  }

  // Opens the file and finds the table and its fields. Returns what went wrong, or "".
  QString verbinden(const QString& pfad, const QString& name, const QStringList& noetig) {
    // The SQLite driver would create a missing file; an empty database helps nobody.
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.exists() || !info.isFile())
      return QStringLiteral("Die Adressdatenbank \"%1\" wurde nicht gefunden. ").arg(pfad) +
             kOhneAdressen;
    const QString nichtLesbar =
        QStringLiteral("Die Adressdatenbank \"%1\" kann nicht gelesen werden.").arg(pfad);
    {
      QSqlDatabase neu = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), verbindung);
      neu.setDatabaseName(pfad);
      neu.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kWartezeitMs));
      if (!neu.open())
        return fehlertext(
            QStringLiteral("Die Adressdatenbank \"%1\" kann nicht geöffnet werden.").arg(pfad),
            neu.lastError(), kOhneAdressen);
    }
    QSqlQuery q(db());
    q.setForwardOnly(true);
    // The first read of the file: a foreign, damaged or locked file shows here.
    if (!q.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                  "name = ? COLLATE NOCASE")) ||
        !ausfuehren(q, {name}))
      return fehlertext(nichtLesbar, q.lastError(), kOhneAdressen);
    if (!q.next())
      return QStringLiteral("Die Adressdatenbank \"%1\" enthält keine Tabelle \"%2\". ")
                 .arg(pfad, name) +
             kOhneAdressen;
    tabelle = q.value(0).toString();
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t())))
      return fehlertext(nichtLesbar, q.lastError(), kOhneAdressen);
    while (q.next()) felder << q.value(1).toString();
    q.finish();
    QStringList fehlend;
    for (const QString& f : noetig)
      if (index(f) < 0) fehlend << QLatin1Char('"') + f + QLatin1Char('"');
    if (!fehlend.isEmpty())
      return QStringLiteral(
                 "Die Tabelle \"%1\" der Adressdatenbank \"%2\" hat nicht die "
                 "erwarteten Felder. %3 %4. ")
                 .arg(name, pfad,
                      fehlend.size() == 1 ? QStringLiteral("Es fehlt das Feld")
                                          : QStringLiteral("Es fehlen die Felder"),
                      fehlend.join(QStringLiteral(", "))) +
             kOhneAdressen;
    // Records are kept in rowid order; a table without rowid cannot be walked that way.
    // Reading the first record also finds a file cut short.
    if (felder.isEmpty() ||
        !q.exec(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid LIMIT 1").arg(t())))
      return fehlertext(QStringLiteral("Die Tabelle \"%1\" der Adressdatenbank \"%2\" kann "
                                       "nicht gelesen werden.")
                            .arg(name, pfad),
                        q.lastError(), kOhneAdressen);
    return QString();
  }

  // Runs one of the record queries; the record it finds becomes the current one (not shown
  // yet). gefunden tells whether there was one. False with fehler on a database error.
  bool holen(Abfrage a, const QVariantList& werte, bool& gefunden) {
    gefunden = false;
    QSqlQuery* q = abfrage(a, werte);
    if (!q) return false;
    if (q->next()) {
      gefunden = true;
      lage = LageDatensatz;
      zeile = q->value(0).toLongLong();
      leeren();
      for (int i = 0; i < felder.size(); ++i) {
        const QVariant v = q->value(i + 1);
        geladen[i] = v.isNull() ? QString() : v.toString();
      }
      puffer = geladen;
    }
    q->finish();  // ends the read at once; the query stays prepared
    return true;
  }
};

Datensteuerung::Datensteuerung(QObject* eltern) : QObject(eltern), d_(std::make_unique<Intern>()) {}

Datensteuerung::~Datensteuerung() { d_->schliessen(); }

bool Datensteuerung::oeffnen(const QString& datenbankPfad, const QString& tabelle,
                             const QStringList& noetigeFelder) {
  Intern& d = *d_;
  d.schliessen();
  d.offen = false;
  d.inTransaktion = false;
  d.felder.clear();
  d.tabelle.clear();
  d.lage = LageBof;
  d.zeile = 0;

  const QString problem = d.verbinden(datenbankPfad, tabelle, noetigeFelder);
  if (!problem.isEmpty()) {
    d.fehler = problem;
    d.schliessen();
    d.felder.clear();
    d.leeren();
    zeigen();
    emit datensatzGewechselt();
    return false;
  }

  d.offen = true;
  d.fehler.clear();
  d.leeren();
  if (!gehe(AbfrageAnStelle, {0}, LageBof)) geheZuStelle(LageBof);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::offen() const { return d_->offen; }
QString Datensteuerung::fehler() const { return d_->fehler; }
QStringList Datensteuerung::felder() const { return d_->felder; }

void Datensteuerung::bindeFeld(GebundenesFeld* feld, const QString& feldname) {
  if (!feld) return;
  Intern& d = *d_;
  std::erase_if(d.bindungen, [feld](const Intern::Bindung& b) { return b.feld == feld; });
  const int i = d.offen ? d.index(feldname) : -1;
  // What the field holds now: the loaded value or what another edit of it holds.
  const QString w = i >= 0 ? d.aktuell(i) : QString();
  if (i >= 0) feld->setText(w);
  d.bindungen.push_back({feld, feldname, feld->text()});
}

int Datensteuerung::RecordCount() const {
  return d_->offen
             ? static_cast<int>(std::min<qint64>(d_->anzahl(), std::numeric_limits<int>::max()))
             : 0;
}

int Datensteuerung::AbsolutePosition() const {
  if (!d_->offen || d_->lage != LageDatensatz) return -1;
  qint64 n = 0;
  return d_->davor(d_->zeile, n) ? static_cast<int>(n) : -1;
}

bool Datensteuerung::BOF() const { return !d_->offen || d_->lage == LageBof || RecordCount() == 0; }

bool Datensteuerung::Eof() const { return !d_->offen || d_->lage == LageEof || RecordCount() == 0; }

bool Datensteuerung::neuerDatensatz() const { return d_->offen && d_->lage == LageNeu; }

// Stores pending edits. A move stores a new record only when something was typed into it;
// Update (ausdruecklich) stores it in any case.
bool Datensteuerung::speichern(bool ausdruecklich) {
  Intern& d = *d_;
  if (!d.offen) return false;
  const bool geaendert = d.geaendert();
  const bool einfuegen = (d.lage == LageNeu && (ausdruecklich || geaendert)) ||
                         (d.lage != LageNeu && d.lage != LageDatensatz && geaendert);
  if (!einfuegen && !(d.lage == LageDatensatz && geaendert)) return true;

  QStringList spalten;
  QVariantList werte;
  for (int i = 0; i < d.felder.size(); ++i) {
    const QString w = d.aktuell(i);
    // A new record gets its non-empty fields, a stored one the fields that changed.
    if (einfuegen ? w.isEmpty() : w == d.geladen.value(i)) continue;
    spalten << bezeichner(d.felder[i]);
    werte << w;
  }
  QString sql;
  if (einfuegen && spalten.isEmpty()) {
    sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d.t());
  } else if (einfuegen) {
    const QStringList fragen(spalten.size(), QStringLiteral("?"));
    sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(d.t(), spalten.join(u','), fragen.join(u','));
  } else {
    sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
              .arg(d.t(), spalten.join(QStringLiteral(" = ?, ")));
    werte << d.zeile;
  }
  QSqlQuery q(d.db());
  if (!d.einmal(q, sql, werte, kNichtGespeichert)) return false;
  if (einfuegen) {
    d.zeile = q.lastInsertId().toLongLong();
    d.lage = LageDatensatz;
  }
  for (int i = 0; i < d.felder.size(); ++i) d.geladen[i] = d.aktuell(i);
  d.puffer = d.geladen;
  for (Intern::Bindung& b : d.bindungen)
    if (b.feld) b.gezeigt = b.feld->text();
  return true;
}

// Moves to the record a query finds and shows it, or to the place sonst when there is none.
// False (the control stays where it was) when the database cannot be read.
bool Datensteuerung::gehe(int abfrage, const QVariantList& werte, int sonst) {
  bool gefunden = false;
  if (!d_->holen(static_cast<Abfrage>(abfrage), werte, gefunden)) return false;
  if (gefunden)
    zeigen();
  else
    geheZuStelle(sonst);
  return true;
}

// The end of a move that succeeded: the window learns of the record shown.
bool Datensteuerung::angekommen(bool ok) {
  if (ok) emit datensatzGewechselt();
  return ok;
}

void Datensteuerung::geheZuStelle(int lage) {
  d_->lage = static_cast<Lage>(lage);
  d_->leeren();
  zeigen();
}

// The bound edits show the values of the current state.
void Datensteuerung::zeigen() {
  Intern& d = *d_;
  std::erase_if(d.bindungen, [](const Intern::Bindung& b) { return !b.feld; });
  for (int i = 0; i < d.felder.size(); ++i) d.anzeigen(i, d.puffer.value(i));
}

bool Datensteuerung::MoveFirst() {
  if (!d_->offen || !speichern(false)) return false;
  return angekommen(gehe(AbfrageAnStelle, {0}, LageBof));
}

bool Datensteuerung::MoveLast() {
  if (!d_->offen || !speichern(false)) return false;
  return angekommen(gehe(AbfrageLetzte, {}, LageEof));
}

bool Datensteuerung::MoveNext() {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  switch (d.lage) {
    case LageBof:
      return angekommen(gehe(AbfrageAnStelle, {0}, LageEof));
    case LageDatensatz:
    case LageGeloescht:
      return angekommen(gehe(AbfrageNach, {d.zeile}, LageEof));
    case LageEof:
    case LageNeu:
      break;  // nothing follows
  }
  return true;
}

bool Datensteuerung::MovePrevious() {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  switch (d.lage) {
    case LageBof:
      break;  // nothing before
    case LageDatensatz:
    case LageGeloescht:
      return angekommen(gehe(AbfrageVor, {d.zeile}, LageBof));
    case LageEof:
    case LageNeu:
      return angekommen(gehe(AbfrageLetzte, {}, LageBof));
  }
  return true;
}

bool Datensteuerung::Move(int anzahl) {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  std::optional<qint64> gezaehlt;
  if (!d.zahl(AbfrageAnzahl, {}, gezaehlt)) return false;
  const qint64 n = gezaehlt.value_or(0);
  // The position to count from; the place of a deleted record lies between two records.
  qint64 ziel = 0;
  qint64 davor = 0;
  switch (d.lage) {
    case LageBof:
      ziel = -1 + static_cast<qint64>(anzahl);
      break;
    case LageDatensatz:
      if (!d.davor(d.zeile, davor)) return false;
      ziel = davor + static_cast<qint64>(anzahl);
      break;
    case LageGeloescht:
      if (!d.davor(d.zeile, davor)) return false;
      ziel = anzahl > 0 ? davor - 1 + anzahl : davor + static_cast<qint64>(anzahl);
      break;
    case LageEof:
    case LageNeu:
      ziel = n + static_cast<qint64>(anzahl);
      break;
  }
  if (ziel < 0) {
    geheZuStelle(LageBof);
    return angekommen(true);
  }
  if (ziel >= n) {
    geheZuStelle(LageEof);
    return angekommen(true);
  }
  return angekommen(gehe(AbfrageAnStelle, {ziel}, LageEof));
}

bool Datensteuerung::AddNew() {
  Intern& d = *d_;
  if (!d.offen) {
    d.fehler = QStringLiteral("Die Adressdatenbank ist nicht geöffnet.");
    return false;
  }
  if (!speichern(false)) return false;
  d.lage = LageNeu;
  d.leeren();
  zeigen();
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::Update() {
  if (!d_->offen) return false;
  return speichern(true);
}

bool Datensteuerung::Delete() {
  Intern& d = *d_;
  if (!d.offen) return false;
  if (d.lage == LageNeu) {
    geheZuStelle(LageEof);
    emit datensatzGewechselt();
    return true;
  }
  if (d.lage != LageDatensatz) {
    d.fehler = QStringLiteral("Es ist kein Datensatz gewählt.");
    return false;
  }
  QSqlQuery q(d.db());
  if (!d.einmal(q, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(d.t()), {d.zeile},
                QStringLiteral("Die Adresse konnte nicht gelöscht werden.")))
    return false;
  geheZuStelle(LageGeloescht);
  emit datensatzGewechselt();
  return true;
}

// The index of a field for an operation over the records, after the pending edits have
// been stored. -1 when the control is closed, the field is missing or storing failed.
int Datensteuerung::feldMitGespeichertenEingaben(const QString& feldname) {
  Intern& d = *d_;
  if (!d.offen) return -1;
  const int i = d.index(feldname);
  if (i < 0) {
    d.fehler = QStringLiteral("Die Adressdatenbank hat kein Feld \"%1\".").arg(feldname);
    return -1;
  }
  return speichern(false) ? i : -1;
}

bool Datensteuerung::Nummerieren(const QString& feldname) {
  Intern& d = *d_;
  const int i = feldMitGespeichertenEingaben(feldname);
  if (i < 0) return false;
  // One pass in table order; a record that already holds its number is not written.
  const QString f = bezeichner(d.felder[i]);
  QSqlQuery q(d.db());
  if (!d.einmal(q,
                QStringLiteral("UPDATE %1 SET %2 = n.nummer FROM (SELECT rowid AS zeile, "
                               "CAST(ROW_NUMBER() OVER (ORDER BY rowid) AS TEXT) AS nummer "
                               "FROM %1) AS n WHERE %1.rowid = n.zeile AND %1.%2 IS NOT n.nummer")
                    .arg(d.t(), f),
                {}, QStringLiteral("Die Adressen konnten nicht neu nummeriert werden.")))
    return false;
  if (d.lage != LageDatensatz) return true;
  return angekommen(gehe(AbfrageLaden, {d.zeile}, LageEof));
}

bool Datensteuerung::FindFirst(const QString& feldname, const QString& wert) {
  return suchen(feldname, wert, false);
}

bool Datensteuerung::FindNext(const QString& feldname, const QString& wert) {
  return suchen(feldname, wert, true);
}

bool Datensteuerung::suchen(const QString& feldname, const QString& wert, bool weiter) {
  Intern& d = *d_;
  const int i = feldMitGespeichertenEingaben(feldname);
  if (i < 0) return false;
  d.fehler.clear();
  qint64 ab = std::numeric_limits<qint64>::min();
  if (weiter) {
    if (d.lage == LageEof || d.lage == LageNeu) return false;
    if (d.lage != LageBof) ab = d.zeile;
  }
  // The value is compared here, not in SQL: letter case is ignored for every letter,
  // umlauts included, and the term never becomes part of a query.
  QSqlQuery q(d.db());
  q.setForwardOnly(true);
  if (!d.einmal(q,
                QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid")
                    .arg(bezeichner(d.felder[i]), d.t()),
                {ab}, kNichtLesbar))
    return false;
  while (q.next()) {
    const QVariant v = q.value(1);
    const QString text = v.isNull() ? QString() : v.toString();
    if (text.compare(wert, Qt::CaseInsensitive) == 0) {
      const qint64 z = q.value(0).toLongLong();
      q.finish();
      return angekommen(gehe(AbfrageLaden, {z}, LageEof));
    }
  }
  // A read that broke off is no "not found".
  if (q.lastError().isValid()) d.datenbankFehler(kNichtLesbar, q.lastError());
  return false;
}

QString Datensteuerung::wert(const QString& feldname) const {
  if (!d_->offen) return QString();
  const int i = d_->index(feldname);
  return i < 0 ? QString() : d_->aktuell(i);
}

void Datensteuerung::setzeWert(const QString& feldname, const QString& wert) {
  Intern& d = *d_;
  if (!d.offen) return;
  const int i = d.index(feldname);
  if (i < 0) return;
  d.puffer[i] = wert;
  d.anzeigen(i, wert);
}

bool Datensteuerung::BeginTrans() {
  Intern& d = *d_;
  if (!d.offen || d.inTransaktion) return false;
  QSqlDatabase db = d.db();
  if (!db.transaction()) {
    d.datenbankFehler(QStringLiteral("Die Änderung der Adressen kann nicht beginnen."),
                      db.lastError());
    return false;
  }
  d.inTransaktion = true;
  return true;
}

bool Datensteuerung::CommitTrans() {
  Intern& d = *d_;
  if (!d.offen || !d.inTransaktion) return false;
  QSqlDatabase db = d.db();
  if (!db.commit()) {
    d.datenbankFehler(QStringLiteral("Die Änderungen der Adressen konnten nicht gespeichert "
                                     "werden."),
                      db.lastError());
    return false;
  }
  d.inTransaktion = false;
  return true;
}

void Datensteuerung::Rollback() {
  Intern& d = *d_;
  if (!d.offen || !d.inTransaktion) return;
  d.db().rollback();
  d.inTransaktion = false;
  // The values in memory may be newer than the database now.
  if (d.lage == LageDatensatz || d.lage == LageGeloescht) {
    bool gefunden = false;
    if (d.holen(AbfrageLaden, {d.zeile}, gefunden) && gefunden) {
      zeigen();
    } else if (!gehe(AbfrageAnStelle, {0}, LageBof)) {
      // The record went away and the table cannot be read: no record is current.
      geheZuStelle(LageBof);
    }
  }
  emit datensatzGewechselt();
}

QString Datensteuerung::Caption() const { return d_->caption; }

void Datensteuerung::setCaption(const QString& text) {
  if (d_->caption == text) return;
  d_->caption = text;
  emit captionGeaendert(text);
}
