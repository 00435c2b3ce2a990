#include "ui/adressen.h"

#include <QLineEdit>
#include <QObject>
#include <QSignalBlocker>

#include "core/programmzustand.h"
#include "io/dateinamen.h"
#include "platform/datensteuerung.h"
#include "platform/feldbindung.h"

namespace {

void melden(Programmzustand& s, const QString& text) {
  s.fenster->Meldung(text, QString(), Knoepfe::Ok, Symbol::Keins);
}

// Stores what the user typed before a procedure changes records.
bool vorherSpeichern(Datensteuerung& d, Programmzustand& s) {
  if (d.Update()) return true;
  melden(s, d.fehler());
  return false;
}

}  // namespace

QStringList Adressfelder() {
  QStringList felder{QStringLiteral("Nummer")};
  for (int option = 1; option <= 10; ++option) felder << Suchfeld(option);
  return felder;
}

bool AdressenOeffnen(Datensteuerung& d, Programmzustand& s, const QString& pfad) {
  const QString datei =
      pfad.isEmpty() ? dateiImOrdner(s.Startverzeichnis, AdressdatenbankName) : pfad;
  if (d.oeffnen(datei, QStringLiteral("Adressen"), Adressfelder())) return true;
  s.fenster->Meldung(d.fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  return false;
}

QString DatensatznummerCaption(const QString& nummer) {
  return QStringLiteral(" Adresse Nr. ") + nummer;
}

void TextDatensatznummer_Change(Datensteuerung& d, const QString& nummer) {
  d.setCaption(DatensatznummerCaption(nummer));
}

void bindeDatensatznummer(Datensteuerung& d, QLineEdit* feld) {
  if (!feld) return;
  QObject::connect(feld, &QLineEdit::textChanged, &d,
                   [&d](const QString& text) { TextDatensatznummer_Change(d, text); });
  bindeFeld(d, feld, QStringLiteral("Nummer"));
}

bool AdresseEinfuegen(Datensteuerung& d, Programmzustand& s) {
  if (!d.offen()) return false;
  if (!vorherSpeichern(d, s)) return false;
  if (!d.AddNew()) {
    melden(s, d.fehler());
    return false;
  }
  d.setzeWert(QStringLiteral("Nummer"), QString::number(d.RecordCount() + 1));
  return true;
}

bool AdresseLoeschen(Datensteuerung& d, Programmzustand& s) {
  if (!d.offen()) return false;
  if (!vorherSpeichern(d, s)) return false;
  if (d.RecordCount() < 2) return false;
  const int stelle = d.AbsolutePosition();
  if (stelle < 0) return false;  // no current record

  bool ok = true;
  QString fehler;
  {
    // One change for the window: the first record at the end, not every step between.
    const QSignalBlocker sperre(&d);
    const bool transaktion = d.BeginTrans();
    // The records keep their order; each gets its position as "Nummer", in one pass.
    ok = d.Delete() && d.Nummerieren(QStringLiteral("Nummer"));
    if (ok && transaktion) ok = d.CommitTrans();
    if (!ok) {
      fehler = d.fehler();
      if (transaktion) d.Rollback();
    }
  }
  // The caption followed the numbers while the signals were held back; tell the bar now.
  emit d.captionGeaendert(d.Caption());
  if (!ok) {
    // The record is back (or never went); show the one the user was on.
    if (d.MoveFirst() && stelle > 0) d.Move(stelle);
    melden(s, fehler);
    return false;
  }
  d.MoveFirst();
  if (d.Eof()) d.MoveLast();
  return true;
}

QString Suchfeld(int option) {
  static const char* const namen[] = {"Firma", "Anrede", "Vorname",     "Nachname",    "Straße",
                                      "PLZ",   "Ort",    "Sonstiges 1", "Sonstiges 2", "Gruppe"};
  if (option < 1 || option > 10) return QString();
  return QString::fromUtf8(namen[option - 1]);
}

QString Suchkriterium(int option, const QString& begriff) {
  QString feld = Suchfeld(option);
  if (feld.isEmpty()) return QString();
  if (feld.contains(QLatin1Char(' '))) feld = QLatin1Char('[') + feld + QLatin1Char(']');
  return feld + QStringLiteral(" = '") + begriff + QLatin1Char('\'');
}

bool AdresseSuchen(Datensteuerung& d, Programmzustand& s, int option, const QString& begriff) {
  s.Textzeile = Suchkriterium(option, begriff);
  if (!d.offen()) return false;
  if (!vorherSpeichern(d, s)) return false;
  bool gefunden = false;
  if (!s.Textzeile.isEmpty()) {
    const QString feld = Suchfeld(option);
    // The same criterion again continues after the current record; a new one starts over.
    gefunden =
        s.Textzeile == s.LetzteSuche ? d.FindNext(feld, begriff) : d.FindFirst(feld, begriff);
    // Without a match nothing is said; a database that cannot be read is.
    if (!gefunden && !d.fehler().isEmpty()) melden(s, d.fehler());
  }
  s.LetzteSuche = s.Textzeile;
  return gefunden;
}

bool AdresseAnfuegenWennGefuellt(Datensteuerung& d, Programmzustand& s) {
  if (!d.offen()) return false;
  bool gefuellt = false;
  for (int i = 21; i <= 30; ++i)
    if (!s.fenster->Text1(i).isEmpty()) gefuellt = true;
  if (!gefuellt) return false;
  if (!vorherSpeichern(d, s)) return false;
  if (!d.AddNew()) {
    melden(s, d.fehler());
    return false;
  }
  return true;
}

bool AdresseEntfernen(Datensteuerung& d, Programmzustand& s) {
  if (!d.offen()) return false;
  if (!vorherSpeichern(d, s)) return false;
  if (d.RecordCount() < 2 || d.AbsolutePosition() < 0) return false;
  if (!d.Delete()) {
    melden(s, d.fehler());
    return false;
  }
  d.MoveNext();
  if (d.Eof()) d.MoveFirst();
  return true;
}
