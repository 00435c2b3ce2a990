#include "platform/datensteuerung.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
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

QString bezeichner(const QString& name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

QString neuerVerbindungsname() {
  static std::atomic<int> zaehler{0};
  return QStringLiteral("qx_datensteuerung_%1").arg(++zaehler);
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
  QStringList puffer;   // values set from code for fields without an edit

  struct Bindung {
    QPointer<QLineEdit> feld;
    QString name;
  };
  std::vector<Bindung> bindungen;

  QSqlDatabase db() const { return QSqlDatabase::database(verbindung, false); }

  // Closes and forgets the connection (no query of it may be alive).
  void schliessen() {
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

  // The edit that holds the edits of field i, if one is bound.
  QLineEdit* edit(int i) const {
    for (const Bindung& b : bindungen)
      if (b.feld && index(b.name) == i) return b.feld;
    return nullptr;
  }

  QString aktuell(int i) const {
    if (QLineEdit* e = edit(i)) return e->text();
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

  void datenbankFehler(const QString& was, const QSqlError& e) {
    QString text = e.text().trimmed();
    if (text.isEmpty()) text = QStringLiteral("unbekannter Fehler");
    fehler = was + QStringLiteral(": ") + text;
  }

  std::optional<qint64> eineZeile(const QString& sql, const QVariantList& werte = {}) {
    QSqlQuery q(db());
    if (!q.prepare(sql)) {
      datenbankFehler(QStringLiteral("Die Adressdatenbank kann nicht gelesen werden"),
                      q.lastError());
      return std::nullopt;
    }
    for (const QVariant& w : werte) q.addBindValue(w);
    if (!q.exec()) {
      datenbankFehler(QStringLiteral("Die Adressdatenbank kann nicht gelesen werden"),
                      q.lastError());
      return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return q.value(0).toLongLong();
  }

  int anzahl(const QString& bedingung = QString(), const QVariantList& werte = {}) {
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + t();
    if (!bedingung.isEmpty()) sql += QStringLiteral(" WHERE ") + bedingung;
    std::optional<qint64> n = eineZeile(sql, werte);
    return n ? static_cast<int>(*n) : 0;
  }

  std::optional<qint64> zeileAnStelle(int stelle) {
    if (stelle < 0) return std::nullopt;
    return eineZeile(
        QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid LIMIT 1 OFFSET ?").arg(t()), {stelle});
  }
  std::optional<qint64> naechsteZeile(qint64 nach) {
    return eineZeile(
        QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT 1").arg(t()),
        {nach});
  }
  std::optional<qint64> vorigeZeile(qint64 vor) {
    return eineZeile(
        QStringLiteral("SELECT rowid FROM %1 WHERE rowid < ? ORDER BY rowid DESC LIMIT 1").arg(t()),
        {vor});
  }
  std::optional<qint64> letzteZeile() {
    return eineZeile(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid DESC LIMIT 1").arg(t()));
  }

  // Opens the file and finds the table and its fields. Returns what went wrong, or "".
  QString verbinden(const QString& pfad, const QString& name) {
    // The SQLite driver would create a missing file; an empty database helps nobody.
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.exists() || !info.isFile())
      return QStringLiteral("Die Adressdatenbank \"%1\" wurde nicht gefunden.").arg(pfad);
    {
      QSqlDatabase neu = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), verbindung);
      neu.setDatabaseName(pfad);
      if (!neu.open())
        return QStringLiteral("Die Adressdatenbank \"%1\" kann nicht geöffnet werden (%2).")
            .arg(pfad, neu.lastError().text());
    }
    QSqlQuery q(db());
    q.prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(name);
    if (!q.exec())
      return QStringLiteral("Die Adressdatenbank \"%1\" kann nicht gelesen werden (%2).")
          .arg(pfad, q.lastError().text());
    if (!q.next())
      return QStringLiteral("Die Adressdatenbank \"%1\" enthält keine Tabelle \"%2\".")
          .arg(pfad, name);
    tabelle = q.value(0).toString();
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t())))
      return QStringLiteral("Die Adressdatenbank \"%1\" kann nicht gelesen werden (%2).")
          .arg(pfad, q.lastError().text());
    while (q.next()) felder << q.value(1).toString();
    q.finish();
    // Records are kept in rowid order; a table without rowid cannot be walked that way.
    if (felder.isEmpty() || !q.exec(QStringLiteral("SELECT rowid FROM %1 LIMIT 1").arg(t())))
      return QStringLiteral(
                 "Die Tabelle \"%1\" der Adressdatenbank \"%2\" kann nicht gelesen "
                 "werden.")
          .arg(name, pfad);
    return QString();
  }

  // Reads the record with the rowid into geladen. False when it is gone.
  bool laden(qint64 r) {
    QStringList spalten;
    for (const QString& f : felder) spalten << bezeichner(f);
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(spalten.join(u','), t()));
    q.addBindValue(r);
    if (!q.exec()) {
      datenbankFehler(QStringLiteral("Die Adressdatenbank kann nicht gelesen werden"),
                      q.lastError());
      return false;
    }
    if (!q.next()) return false;
    leeren();
    for (int i = 0; i < felder.size(); ++i) {
      QVariant v = q.value(i);
      geladen[i] = v.isNull() ? QString() : v.toString();
    }
    puffer = geladen;
    return true;
  }
};

Datensteuerung::Datensteuerung(QObject* eltern) : QObject(eltern), d_(std::make_unique<Intern>()) {}

Datensteuerung::~Datensteuerung() { d_->schliessen(); }

bool Datensteuerung::oeffnen(const QString& datenbankPfad, const QString& tabelle) {
  Intern& d = *d_;
  d.schliessen();
  d.offen = false;
  d.inTransaktion = false;
  d.felder.clear();
  d.tabelle.clear();
  d.lage = LageBof;
  d.zeile = 0;

  const QString problem = d.verbinden(datenbankPfad, tabelle);
  if (!problem.isEmpty()) {
    d.fehler = problem + QStringLiteral(" Das Programm läuft ohne Adressen weiter.");
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
  if (std::optional<qint64> erste = d.zeileAnStelle(0)) {
    geheZuZeile(*erste);
  } else {
    d.lage = LageBof;
    zeigen();
  }
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::offen() const { return d_->offen; }
QString Datensteuerung::fehler() const { return d_->fehler; }
QStringList Datensteuerung::felder() const { return d_->felder; }

void Datensteuerung::bindeFeld(QLineEdit* feld, const QString& feldname) {
  if (!feld) return;
  Intern& d = *d_;
  std::erase_if(d.bindungen, [feld](const Intern::Bindung& b) { return b.feld == feld; });
  const int i = d.offen ? d.index(feldname) : -1;
  // What the field holds now: the loaded value or what another edit of it holds.
  const QString w = i >= 0 ? d.aktuell(i) : QString();
  d.bindungen.push_back({feld, feldname});
  if (i >= 0) feld->setText(w);
}

int Datensteuerung::RecordCount() const { return d_->offen ? d_->anzahl() : 0; }

int Datensteuerung::AbsolutePosition() const {
  if (!d_->offen || d_->lage != LageDatensatz) return -1;
  return d_->anzahl(QStringLiteral("rowid < ?"), {d_->zeile});
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
  if (einfuegen) {
    QStringList spalten, fragen;
    QVariantList werte;
    for (int i = 0; i < d.felder.size(); ++i) {
      const QString w = d.aktuell(i);
      if (w.isEmpty()) continue;
      spalten << bezeichner(d.felder[i]);
      fragen << QStringLiteral("?");
      werte << w;
    }
    QSqlQuery q(d.db());
    QString sql = spalten.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d.t())
                                    : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                          .arg(d.t(), spalten.join(u','), fragen.join(u','));
    if (!q.prepare(sql)) {
      d.datenbankFehler(QStringLiteral("Der Datensatz konnte nicht gespeichert werden"),
                        q.lastError());
      return false;
    }
    for (const QVariant& w : werte) q.addBindValue(w);
    if (!q.exec()) {
      d.datenbankFehler(QStringLiteral("Der Datensatz konnte nicht gespeichert werden"),
                        q.lastError());
      return false;
    }
    d.zeile = q.lastInsertId().toLongLong();
    d.lage = LageDatensatz;
    for (int i = 0; i < d.felder.size(); ++i) d.geladen[i] = d.aktuell(i);
    d.puffer = d.geladen;
    return true;
  }
  if (d.lage == LageDatensatz && geaendert) {
    QStringList zuweisungen;
    QVariantList werte;
    for (int i = 0; i < d.felder.size(); ++i) {
      const QString w = d.aktuell(i);
      if (w == d.geladen.value(i)) continue;
      zuweisungen << bezeichner(d.felder[i]) + QStringLiteral(" = ?");
      werte << w;
    }
    QSqlQuery q(d.db());
    if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                       .arg(d.t(), zuweisungen.join(QStringLiteral(", "))))) {
      d.datenbankFehler(QStringLiteral("Der Datensatz konnte nicht gespeichert werden"),
                        q.lastError());
      return false;
    }
    for (const QVariant& w : werte) q.addBindValue(w);
    q.addBindValue(d.zeile);
    if (!q.exec()) {
      d.datenbankFehler(QStringLiteral("Der Datensatz konnte nicht gespeichert werden"),
                        q.lastError());
      return false;
    }
    for (int i = 0; i < d.felder.size(); ++i) d.geladen[i] = d.aktuell(i);
    d.puffer = d.geladen;
  }
  return true;
}

// Shows the record with the rowid. When it is gone, the control goes to EOF.
bool Datensteuerung::geheZuZeile(qint64 zeile) {
  Intern& d = *d_;
  if (d.laden(zeile)) {
    d.lage = LageDatensatz;
    d.zeile = zeile;
    zeigen();
    return true;
  }
  geheZuStelle(LageEof);
  return false;
}

void Datensteuerung::geheZuStelle(int lage) {
  d_->lage = static_cast<Lage>(lage);
  d_->leeren();
  zeigen();
}

// The bound edits show the values of the current state.
void Datensteuerung::zeigen() {
  Intern& d = *d_;
  for (auto it = d.bindungen.begin(); it != d.bindungen.end();) {
    if (!it->feld) {
      it = d.bindungen.erase(it);
      continue;
    }
    const int i = d.index(it->name);
    if (i >= 0 && it->feld->text() != d.puffer.value(i)) it->feld->setText(d.puffer.value(i));
    ++it;
  }
}

bool Datensteuerung::MoveFirst() {
  if (!d_->offen || !speichern(false)) return false;
  if (std::optional<qint64> z = d_->zeileAnStelle(0))
    geheZuZeile(*z);
  else
    geheZuStelle(LageBof);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::MoveLast() {
  if (!d_->offen || !speichern(false)) return false;
  if (std::optional<qint64> z = d_->letzteZeile())
    geheZuZeile(*z);
  else
    geheZuStelle(LageEof);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::MoveNext() {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  std::optional<qint64> z;
  switch (d.lage) {
    case LageBof:
      z = d.zeileAnStelle(0);
      break;
    case LageDatensatz:
    case LageGeloescht:
      z = d.naechsteZeile(d.zeile);
      break;
    case LageEof:
    case LageNeu:
      return true;  // nothing follows
  }
  if (z)
    geheZuZeile(*z);
  else
    geheZuStelle(LageEof);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::MovePrevious() {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  std::optional<qint64> z;
  switch (d.lage) {
    case LageBof:
      return true;  // nothing before
    case LageDatensatz:
    case LageGeloescht:
      z = d.vorigeZeile(d.zeile);
      break;
    case LageEof:
    case LageNeu:
      z = d.letzteZeile();
      break;
  }
  if (z)
    geheZuZeile(*z);
  else
    geheZuStelle(LageBof);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::Move(int anzahl) {
  Intern& d = *d_;
  if (!d.offen || !speichern(false)) return false;
  const int n = d.anzahl();
  // The position to count from; the place of a deleted record lies between two records.
  qint64 ziel = 0;
  switch (d.lage) {
    case LageBof:
      ziel = -1 + static_cast<qint64>(anzahl);
      break;
    case LageDatensatz:
      ziel = d.anzahl(QStringLiteral("rowid < ?"), {d.zeile}) + static_cast<qint64>(anzahl);
      break;
    case LageGeloescht: {
      const qint64 davor = d.anzahl(QStringLiteral("rowid < ?"), {d.zeile});
      ziel = anzahl > 0 ? davor - 1 + anzahl : davor + static_cast<qint64>(anzahl);
      break;
    }
    case LageEof:
    case LageNeu:
      ziel = n + static_cast<qint64>(anzahl);
      break;
  }
  if (ziel < 0) {
    geheZuStelle(LageBof);
  } else if (ziel >= n) {
    geheZuStelle(LageEof);
  } else if (std::optional<qint64> z = d.zeileAnStelle(static_cast<int>(ziel))) {
    geheZuZeile(*z);
  } else {
    geheZuStelle(LageEof);
  }
  emit datensatzGewechselt();
  return true;
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
  q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(d.t()));
  q.addBindValue(d.zeile);
  if (!q.exec()) {
    d.datenbankFehler(QStringLiteral("Der Datensatz konnte nicht gelöscht werden"), q.lastError());
    return false;
  }
  geheZuStelle(LageGeloescht);
  emit datensatzGewechselt();
  return true;
}

bool Datensteuerung::FindFirst(const QString& feldname, const QString& wert) {
  return suchen(feldname, wert, false);
}

bool Datensteuerung::FindNext(const QString& feldname, const QString& wert) {
  return suchen(feldname, wert, true);
}

bool Datensteuerung::suchen(const QString& feldname, const QString& wert, bool weiter) {
  Intern& d = *d_;
  if (!d.offen) return false;
  const int i = d.index(feldname);
  if (i < 0) {
    d.fehler = QStringLiteral("Die Adressdatenbank hat kein Feld \"%1\".").arg(feldname);
    return false;
  }
  if (!speichern(false)) return false;
  qint64 ab = std::numeric_limits<qint64>::min();
  if (weiter) {
    if (d.lage == LageEof || d.lage == LageNeu) return false;
    if (d.lage != LageBof) ab = d.zeile;
  }
  // The value is compared here, not in SQL: letter case is ignored for every letter,
  // umlauts included, and the term never becomes part of a query.
  QSqlQuery q(d.db());
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid")
                .arg(bezeichner(d.felder[i]), d.t()));
  q.addBindValue(ab);
  if (!q.exec()) {
    d.datenbankFehler(QStringLiteral("Die Adressdatenbank kann nicht gelesen werden"),
                      q.lastError());
    return false;
  }
  while (q.next()) {
    const QVariant v = q.value(1);
    const QString text = v.isNull() ? QString() : v.toString();
    if (text.compare(wert, Qt::CaseInsensitive) == 0) {
      const qint64 z = q.value(0).toLongLong();
      q.finish();
      geheZuZeile(z);
      emit datensatzGewechselt();
      return true;
    }
  }
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
  for (const Intern::Bindung& b : d.bindungen)
    if (b.feld && d.index(b.name) == i) b.feld->setText(wert);
}

bool Datensteuerung::BeginTrans() {
  Intern& d = *d_;
  if (!d.offen || d.inTransaktion) return false;
  QSqlDatabase db = d.db();
  if (!db.transaction()) {
    d.datenbankFehler(QStringLiteral("Die Adressdatenbank kann nicht gesperrt werden"),
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
    d.datenbankFehler(QStringLiteral("Die Änderungen konnten nicht gespeichert werden"),
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
    if (!geheZuZeile(d.zeile)) {
      // The record came back or went away; start over at the first one.
      if (std::optional<qint64> z = d.zeileAnStelle(0))
        geheZuZeile(*z);
      else
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
