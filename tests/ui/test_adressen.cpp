// Address records: the data control on SQLite and the procedures "Einfügen", "Löschen" and
// the search, on databases built in a temporary folder.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <array>

#include "core/programmzustand.h"
#include "gemeinsam/testfenster.h"
#include "platform/datensteuerung.h"
#include "platform/feldbindung.h"
#include "test_adressen_hilfe.h"
#include "ui/adressen.h"

using namespace adressentest;

namespace {

const QStringList feldnamen = {"Firma", "Anrede", "Vorname",     "Nachname",    "Straße",
                               "PLZ",   "Ort",    "Sonstiges 1", "Sonstiges 2", "Gruppe"};

// The address panel: ten bound fields and the record-number field, as the main window has them.
struct AdressenTest : ::testing::Test {
  QTemporaryDir ordner;
  QString pfad;
  Programmzustand s;
  TestFenster fenster;
  Datensteuerung d;
  std::array<QLineEdit, 10> felder;
  QLineEdit nummer;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    pfad = ordner.filePath(QStringLiteral("adressen.db"));
    s.fenster = &fenster;
    s.Startverzeichnis = ordner.path() + QLatin1Char('/');
  }

  // Builds the database from SQL text, opens it and binds the fields.
  void oeffnen(const QString& sql) {
    sqlAusfuehren(pfad, sql);
    ASSERT_TRUE(AdressenOeffnen(d, s, pfad)) << d.fehler().toStdString();
    binden();
  }
  void binden() {
    for (int i = 0; i < 10; ++i) bindeFeld(d, &felder[i], feldnamen[i]);
    bindeDatensatznummer(d, &nummer);
  }
  QLineEdit& feld(const QString& name) { return felder[feldnamen.indexOf(name)]; }
  // Typing into a bound field, as the user does.
  void tippen(const QString& name, const QString& text) {
    QLineEdit& f = feld(name);
    f.selectAll();
    QTest::keyClicks(&f, text);
  }
};

}  // namespace

TEST_F(AdressenTest, BeispieldatenbankZeigtErstenDatensatz) {
  oeffnen(beispielSql());
  EXPECT_EQ(d.RecordCount(), 12);
  EXPECT_EQ(d.felder(), QStringList{"Nummer"} + feldnamen);
  EXPECT_EQ(d.AbsolutePosition(), 0);
  EXPECT_EQ(feld("Firma").text(), QStringLiteral("Bäckerei Sommer GmbH"));
  EXPECT_EQ(feld("Straße").text(), QStringLiteral("Hauptstraße 12"));
  EXPECT_EQ(feld("Sonstiges 2").text(), QString());  // NULL reads as ""
  EXPECT_EQ(nummer.text(), QStringLiteral("1"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 1"));
  EXPECT_EQ(d.wert(QStringLiteral("ort")), QStringLiteral("München"));  // names ignore case
  EXPECT_TRUE(fenster.meldungen.empty());

  // Two in Berlin, one apostrophe, the three categories.
  EXPECT_EQ(spalte(pfad, "Ort").count(QStringLiteral("Berlin")), 2);
  EXPECT_TRUE(spalte(pfad, "Nachname").contains(QStringLiteral("O'Brien")));
  for (const char* gruppe : {"Kunde", "Lieferant", "Privat"})
    EXPECT_TRUE(spalte(pfad, "Gruppe").contains(QString::fromUtf8(gruppe))) << gruppe;
  EXPECT_EQ(spalte(pfad, "Nummer"),
            (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
}

TEST(AdressenSql, Sqlite3BautBeispieldatenbankUndUeberschreibtNichts) {
  const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
  if (sqlite3.isEmpty()) GTEST_SKIP() << "sqlite3 is not installed";
  QTemporaryDir ordner;
  const QString db = ordner.filePath(QStringLiteral("x.db"));
  for (int lauf = 0; lauf < 2; ++lauf) {
    QProcess p;
    p.setStandardInputFile(QStringLiteral(QX_QUELLE "/data/adressen.sql"));
    p.start(sqlite3, {db});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardError().isEmpty());
  }
  // The second run left the records alone.
  EXPECT_EQ(anzahl(db), 12);
  EXPECT_EQ(spalte(db, "Nachname").first(), QStringLiteral("Sommer"));
}

TEST_F(AdressenTest, FehlendeDatenbankMeldetUndBleibtUntaetig) {
  binden();
  feld("Firma").setText(QStringLiteral("von Hand"));
  EXPECT_FALSE(AdressenOeffnen(d, s, pfad));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("wurde nicht gefunden")));
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("ohne Adressen weiter")));
  EXPECT_EQ(fenster.meldungen[0].titel, QString());
  EXPECT_FALSE(QFileInfo::exists(pfad)) << "the driver must not create an empty database";

  EXPECT_FALSE(d.offen());
  EXPECT_EQ(d.RecordCount(), 0);
  EXPECT_EQ(d.AbsolutePosition(), -1);
  EXPECT_TRUE(d.BOF());
  EXPECT_TRUE(d.Eof());
  EXPECT_FALSE(d.MoveFirst());
  EXPECT_FALSE(d.MoveNext());
  EXPECT_FALSE(d.MovePrevious());
  EXPECT_FALSE(d.MoveLast());
  EXPECT_FALSE(d.Move(3));
  EXPECT_FALSE(d.AddNew());
  EXPECT_FALSE(d.Update());
  EXPECT_FALSE(d.Delete());
  EXPECT_FALSE(d.FindFirst("Ort", "Berlin"));
  EXPECT_FALSE(AdresseEinfuegen(d, s));
  EXPECT_FALSE(AdresseLoeschen(d, s));
  EXPECT_FALSE(AdresseSuchen(d, s, 7, "Berlin"));
  EXPECT_EQ(fenster.meldungen.size(), 1u) << "the operations stay silent";
  EXPECT_EQ(d.wert("Firma"), QString());
  // What the user typed into the panel is not touched.
  EXPECT_EQ(feld("Firma").text(), QStringLiteral("von Hand"));
  EXPECT_FALSE(QFileInfo::exists(pfad));
}

TEST_F(AdressenTest, FehlendeTabelleOderKaputteDateiMelden) {
  sqlAusfuehren(pfad, "CREATE TABLE Kunden (Name TEXT); INSERT INTO Kunden VALUES ('x');");
  EXPECT_FALSE(AdressenOeffnen(d, s, pfad));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("keine Tabelle \"Adressen\"")));
  EXPECT_EQ(d.RecordCount(), 0);

  // A table without rowid has no table order to walk.
  const QString ohneRowid = ordner.filePath(QStringLiteral("ohne.db"));
  QString ohne = QString::fromUtf8(tabelleAnlegen());
  ohne.replace(QStringLiteral("Nummer TEXT"), QStringLiteral("Nummer TEXT PRIMARY KEY"));
  ohne.replace(QStringLiteral(");"), QStringLiteral(") WITHOUT ROWID;"));
  sqlAusfuehren(ohneRowid, ohne);
  EXPECT_FALSE(AdressenOeffnen(d, s, ohneRowid));
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_TRUE(fenster.meldungen[1].text.contains(QStringLiteral("kann nicht gelesen werden")));

  // A database that was open and is then replaced by a missing one leaves no records behind.
  sqlAusfuehren(ordner.filePath("gut.db"), tabelleMit(3));
  ASSERT_TRUE(d.oeffnen(ordner.filePath("gut.db")));
  EXPECT_EQ(d.RecordCount(), 3);
  EXPECT_FALSE(d.oeffnen(ordner.filePath("weg.db")));
  EXPECT_EQ(d.RecordCount(), 0);
}

TEST_F(AdressenTest, TabelleFalscherFormWirdMitDenFehlendenFeldernAbgelehnt) {
  sqlAusfuehren(pfad,
                "CREATE TABLE Adressen (nummer TEXT, FIRMA TEXT, Name TEXT, Ort TEXT, Gruppe TEXT);"
                "INSERT INTO Adressen VALUES ('1', 'Alt GmbH', 'Meier', 'Bonn', 'Kunde');");
  binden();
  EXPECT_FALSE(AdressenOeffnen(d, s, pfad));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  const QString& text = fenster.meldungen[0].text;
  for (const char* fehlt : {"\"Anrede\"", "\"Vorname\"", "\"Nachname\"", "\"Straße\"", "\"PLZ\"",
                            "\"Sonstiges 1\"", "\"Sonstiges 2\""})
    EXPECT_TRUE(text.contains(QString::fromUtf8(fehlt))) << fehlt << " in " << text.toStdString();
  // Names are matched ignoring letter case: those present are not listed.
  for (const char* da : {"\"Nummer\"", "\"Firma\"", "\"Ort\"", "\"Gruppe\""})
    EXPECT_FALSE(text.contains(QString::fromUtf8(da))) << da;
  EXPECT_TRUE(text.contains(QStringLiteral("ohne Adressen weiter")));

  // As without a database: nothing shown, nothing stored, typing stays in the panel.
  EXPECT_FALSE(d.offen());
  EXPECT_EQ(feld("Firma").text(), QString());
  tippen("Nachname", "Neumann");
  EXPECT_FALSE(d.MoveNext());
  EXPECT_FALSE(AdresseEinfuegen(d, s));
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Neumann"));
  EXPECT_EQ(spalte(pfad, "Name"), QStringList{"Meier"});
  EXPECT_EQ(fenster.meldungen.size(), 1u);
}

// A file that is no database, one cut short, one locked by another program: the message
// says which, in German, and not "Parameter count mismatch".
TEST_F(AdressenTest, UnlesbareDatenbankNenntDenGrund) {
  const auto meldet = [this](const QString& datei, const char* grund) {
    fenster.meldungen.clear();
    EXPECT_FALSE(AdressenOeffnen(d, s, datei));
    ASSERT_EQ(fenster.meldungen.size(), 1u) << grund;
    const QString& text = fenster.meldungen[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Die Adressdatenbank \"%1\"").arg(datei)) ||
                text.startsWith(QStringLiteral("Die Tabelle \"Adressen\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(grund))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ohne Adressen weiter")));
    EXPECT_FALSE(text.contains(QStringLiteral("mismatch"))) << text.toStdString();
    EXPECT_FALSE(d.offen());
  };

  const QString fremd = ordner.filePath(QStringLiteral("fremd.db"));
  QFile datei(fremd);
  ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
  datei.write(QByteArray(4096, 'x'));
  datei.close();
  meldet(fremd, "keine Datenbank");

  // Only the first page is left: the schema is there, the records are not.
  sqlAusfuehren(pfad, tabelleMit(5));
  const QString kurz = ordner.filePath(QStringLiteral("kurz.db"));
  ASSERT_TRUE(QFile::copy(pfad, kurz));
  ASSERT_TRUE(QFile::resize(kurz, 4096));
  meldet(kurz, "beschädigt");

  {
    Verbindung anderes(pfad);
    QSqlQuery sperre(anderes.db());
    ASSERT_TRUE(sperre.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    meldet(pfad, "von einem anderen Programm benutzt");
    sperre.exec(QStringLiteral("ROLLBACK"));
  }
  ASSERT_TRUE(AdressenOeffnen(d, s, pfad));
  binden();

  // Locked while open: the move is refused with the reason and the record stays.
  {
    Verbindung anderes(pfad);
    QSqlQuery sperre(anderes.db());
    ASSERT_TRUE(sperre.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    EXPECT_FALSE(d.MoveNext());
    EXPECT_TRUE(d.fehler().contains(QStringLiteral("von einem anderen Programm benutzt")))
        << d.fehler().toStdString();
    EXPECT_EQ(feld("Nachname").text(), QStringLiteral("A"));
    sperre.exec(QStringLiteral("ROLLBACK"));
  }
  EXPECT_TRUE(d.MoveNext());
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("B"));
}

// A database written by a newer program (file format version 3) can be read, not written.
TEST_F(AdressenTest, SchreibgeschuetzteDatenbankMeldetAufDeutsch) {
  sqlAusfuehren(pfad, tabelleMit(2));
  {
    QFile datei(pfad);
    ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
    datei.seek(18);  // the file format write version
    datei.write("\x03", 1);
  }
  oeffnen(QString());
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("A"));
  tippen("Ort", "Bonn");
  EXPECT_FALSE(d.MoveNext());
  const QString text = d.fehler();
  EXPECT_TRUE(text.startsWith(QStringLiteral(
      "Die Adresse konnte nicht gespeichert werden. Die Adressdatenbank ist schreibgeschützt.")))
      << text.toStdString();
  // The database's own words only as a detail at the end.
  EXPECT_TRUE(
      text.endsWith(QStringLiteral("(Meldung der Datenbank: attempt to write a readonly "
                                   "database)")))
      << text.toStdString();
  EXPECT_EQ(feld("Ort").text(), QStringLiteral("Bonn"));
  EXPECT_FALSE(AdresseLoeschen(d, s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text, text);
  EXPECT_EQ(spalte(pfad, "Ort"), (QStringList{"Ort 1", "Ort 2"}));
}

// The panel holds what the table holds; a field is written back only when it was changed.
TEST_F(AdressenTest, LangesFeldBleibtBeimBlaetternUnveraendert) {
  const QString lang = QString(39999, QChar(u'x')) + QStringLiteral("Ende");
  sqlAusfuehren(pfad, tabelleMit(2) + QStringLiteral("UPDATE Adressen SET \"Sonstiges 1\" = '%1' "
                                                     "WHERE Nachname = 'A';")
                                          .arg(lang));
  oeffnen(QString());
  EXPECT_EQ(feld("Sonstiges 1").text(), lang);
  EXPECT_EQ(d.wert("Sonstiges 1"), lang);
  ASSERT_TRUE(d.MoveNext());
  ASSERT_TRUE(d.MovePrevious());
  EXPECT_EQ(feld("Sonstiges 1").text(), lang);
  EXPECT_EQ(spalte(pfad, "Sonstiges 1")[0], lang);

  // An edit of the long field is stored whole.
  QLineEdit& f = feld("Sonstiges 1");
  f.setFocus();
  f.end(false);
  QTest::keyClicks(&f, QStringLiteral("!"));
  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(spalte(pfad, "Sonstiges 1")[0], lang + QLatin1Char('!'));
}

TEST_F(AdressenTest, LoeschenNummeriertEineGrosseTabelle) {
  constexpr int n = 100000;
  sqlAusfuehren(pfad, QString::fromUtf8(tabelleAnlegen()) +
                          QStringLiteral("WITH RECURSIVE z(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                         "FROM z WHERE i < %1) INSERT INTO Adressen (Nummer, "
                                         "Nachname) SELECT i, 'N' || i FROM z;")
                              .arg(n));
  oeffnen(QString());
  ASSERT_TRUE(d.Move(n / 2 - 1));
  ASSERT_EQ(feld("Nachname").text(), QStringLiteral("N%1").arg(n / 2));
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(d.RecordCount(), n - 1);
  EXPECT_EQ(nummer.text(), QStringLiteral("1"));
  const QStringList nummern = spalte(pfad, "Nummer");
  const QStringList namen = spalte(pfad, "Nachname");
  ASSERT_EQ(nummern.size(), n - 1);
  for (int k = 0; k < n - 1; ++k) {
    ASSERT_EQ(nummern[k], QString::number(k + 1)) << k;
    ASSERT_EQ(namen[k], QStringLiteral("N%1").arg(k < n / 2 - 1 ? k + 1 : k + 2)) << k;
  }
}

TEST_F(AdressenTest, DatenbankImStartordnerOhneRuecksichtAufSchreibweise) {
  sqlAusfuehren(ordner.filePath("Adressen.DB"), tabelleMit(2));
  binden();
  EXPECT_TRUE(AdressenOeffnen(d, s));
  EXPECT_EQ(d.RecordCount(), 2);
  EXPECT_EQ(feld("Firma").text(), QStringLiteral("Firma 1"));
}

TEST_F(AdressenTest, LeereTabelleStuerztNichtUndNimmtErstenDatensatzAuf) {
  oeffnen(QString::fromUtf8(tabelleAnlegen()));
  EXPECT_EQ(d.RecordCount(), 0);
  EXPECT_TRUE(d.BOF());
  EXPECT_TRUE(d.Eof());
  for (int i = 0; i < 2; ++i) {
    d.MoveNext();
    d.MovePrevious();
    d.MoveLast();
    d.MoveFirst();
    d.Move(3);
    d.Move(-3);
  }
  EXPECT_EQ(d.RecordCount(), 0);
  EXPECT_EQ(d.AbsolutePosition(), -1);
  EXPECT_FALSE(d.Delete());
  EXPECT_FALSE(AdresseLoeschen(d, s));
  EXPECT_FALSE(AdresseSuchen(d, s, 1, ""));
  EXPECT_TRUE(fenster.meldungen.empty());

  ASSERT_TRUE(AdresseEinfuegen(d, s));
  EXPECT_EQ(nummer.text(), QStringLiteral("1"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 1"));
  tippen("Firma", "Erste GmbH");
  ASSERT_TRUE(d.MoveFirst());
  EXPECT_EQ(d.RecordCount(), 1);
  EXPECT_EQ(spalte(pfad, "Firma"), QStringList{"Erste GmbH"});
  EXPECT_EQ(spalte(pfad, "Nummer"), QStringList{"1"});
}

TEST_F(AdressenTest, NavigationInTabellenfolgeMitAnfangUndEnde) {
  oeffnen(tabelleMit(5));
  QSignalSpy getippt(&feld("Firma"), &QLineEdit::textEdited);
  QSignalSpy gewechselt(&d, &Datensteuerung::datensatzGewechselt);

  d.MoveNext();
  d.MoveNext();
  EXPECT_EQ(d.AbsolutePosition(), 2);
  EXPECT_EQ(feld("Firma").text(), QStringLiteral("Firma 3"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 3"));
  d.MoveLast();
  EXPECT_EQ(d.AbsolutePosition(), 4);
  EXPECT_FALSE(d.Eof());
  d.MoveNext();
  EXPECT_TRUE(d.Eof());
  EXPECT_EQ(d.AbsolutePosition(), -1);
  EXPECT_EQ(feld("Firma").text(), QString());
  d.MoveNext();  // stays at the end
  EXPECT_TRUE(d.Eof());
  d.MovePrevious();
  EXPECT_EQ(d.AbsolutePosition(), 4);
  d.MoveFirst();
  d.MovePrevious();
  EXPECT_TRUE(d.BOF());
  d.MoveNext();
  EXPECT_EQ(d.AbsolutePosition(), 0);

  d.Move(3);
  EXPECT_EQ(d.AbsolutePosition(), 3);
  d.Move(-2);
  EXPECT_EQ(d.AbsolutePosition(), 1);
  d.Move(0);
  EXPECT_EQ(d.AbsolutePosition(), 1);
  d.Move(10);
  EXPECT_TRUE(d.Eof());
  d.MoveFirst();
  d.Move(-1);
  EXPECT_TRUE(d.BOF());

  // After a delete, the next move reaches the record that followed it.
  d.MoveFirst();
  d.Move(1);
  ASSERT_TRUE(d.Delete());
  EXPECT_EQ(d.AbsolutePosition(), -1);
  d.MoveNext();
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("C"));
  d.Move(1);
  ASSERT_TRUE(d.Delete());  // D goes
  d.MovePrevious();
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("C"));

  EXPECT_EQ(getippt.count(), 0) << "moves must not look like typing";
  EXPECT_GT(gewechselt.count(), 10);
}

TEST_F(AdressenTest, LoeschenNummeriertNeuUndZeigtDenErsten) {
  oeffnen(tabelleMit(5));
  d.Move(2);
  ASSERT_EQ(feld("Nachname").text(), QStringLiteral("C"));
  tippen("Firma", "getippt");  // an edit of the record that goes
  ASSERT_TRUE(AdresseLoeschen(d, s));

  EXPECT_EQ(spalte(pfad, "Nummer"), (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(spalte(pfad, "Nachname"), (QStringList{"A", "B", "D", "E"}));
  EXPECT_FALSE(spalte(pfad, "Firma").contains(QStringLiteral("getippt")));
  EXPECT_EQ(d.RecordCount(), 4);
  EXPECT_EQ(d.AbsolutePosition(), 0);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("A"));
  EXPECT_EQ(nummer.text(), QStringLiteral("1"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 1"));
  EXPECT_TRUE(fenster.meldungen.empty());

  // The last record goes: the numbers close the gap at the end too.
  d.MoveLast();
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(spalte(pfad, "Nummer"), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(pfad, "Nachname"), (QStringList{"A", "B", "D"}));

  // Down to two, then one; the last one stays.
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(spalte(pfad, "Nachname"), (QStringList{"B", "D"}));
  EXPECT_EQ(spalte(pfad, "Nummer"), (QStringList{"1", "2"}));
  d.MoveLast();
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(spalte(pfad, "Nummer"), QStringList{"1"});
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 1"));
  EXPECT_FALSE(AdresseLoeschen(d, s));
  EXPECT_EQ(d.RecordCount(), 1);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("B"));
}

TEST_F(AdressenTest, LoeschenNummeriertAuchVerstreuteNummern) {
  sqlAusfuehren(pfad, QString::fromUtf8(tabelleAnlegen()) +
                          "INSERT INTO Adressen (Nummer, Nachname) VALUES ('7', 'X'), (NULL, 'Y'), "
                          "('abc', 'Z'), ('1', 'W');");
  ASSERT_TRUE(AdressenOeffnen(d, s, pfad));
  binden();
  d.MoveLast();
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(spalte(pfad, "Nummer"), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(spalte(pfad, "Nachname"), (QStringList{"X", "Y", "Z"}));
}

TEST_F(AdressenTest, EinfuegenZeigtNaechsteNummerUndSpeichertBeimWeitergehen) {
  oeffnen(tabelleMit(7));
  d.Move(3);
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  EXPECT_EQ(nummer.text(), QStringLiteral("8"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 8"));
  EXPECT_TRUE(d.neuerDatensatz());
  for (const QLineEdit& f : felder) EXPECT_EQ(f.text(), QString());
  EXPECT_EQ(d.RecordCount(), 7) << "not stored yet";

  tippen("Firma", "Neue Firma");
  tippen("Ort", "Berlin");
  ASSERT_TRUE(d.MoveFirst());
  EXPECT_EQ(d.RecordCount(), 8);
  EXPECT_EQ(spalte(pfad, "Firma").last(), QStringLiteral("Neue Firma"));
  EXPECT_EQ(spalte(pfad, "Ort").last(), QStringLiteral("Berlin"));
  EXPECT_EQ(spalte(pfad, "Nummer").last(), QStringLiteral("8"));

  // Adding twice in a row keeps each record and its number; the count stays exact.
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  EXPECT_EQ(nummer.text(), QStringLiteral("10"));
  ASSERT_TRUE(d.Update());
  EXPECT_EQ(d.RecordCount(), 10);
  EXPECT_EQ(d.AbsolutePosition(), 9) << "a stored new record stays current";
  EXPECT_EQ(anzahl(pfad), 10);
  d.Move(-4);
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(d.RecordCount(), 9);
  EXPECT_EQ(anzahl(pfad), 9);
  EXPECT_EQ(spalte(pfad, "Nummer").last(), QStringLiteral("9"));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(AdressenTest, EinNeuerDatensatzOhneEingabeVerschwindetBeimWeitergehen) {
  oeffnen(tabelleMit(3));
  ASSERT_TRUE(d.AddNew());
  d.MoveFirst();
  EXPECT_EQ(d.RecordCount(), 3);
  ASSERT_TRUE(d.AddNew());
  ASSERT_TRUE(d.Delete());  // drops the new record
  EXPECT_EQ(d.RecordCount(), 3);
  d.MovePrevious();
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("C"));
}

TEST_F(AdressenTest, DatenbankfehlerBeimEinfuegenWirdGemeldetUndNichtsGehtVerloren) {
  oeffnen(tabelleMit(7) +
          "CREATE TRIGGER gesperrt BEFORE INSERT ON Adressen BEGIN "
          "SELECT RAISE(ABORT, 'Einfügen gesperrt'); END;");
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  tippen("Nachname", "Neumann");
  // The next "Einfügen" first stores the new record: the database refuses.
  EXPECT_FALSE(AdresseEinfuegen(d, s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("Einfügen gesperrt")));
  EXPECT_EQ(fenster.meldungen[0].titel, QString());
  EXPECT_EQ(fenster.meldungen[0].knoepfe, Knoepfe::Ok);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Neumann"));
  EXPECT_EQ(nummer.text(), QStringLiteral("8"));

  // A move cannot store it either: the control stays on the new record with the text.
  EXPECT_FALSE(d.MoveFirst());
  EXPECT_TRUE(d.neuerDatensatz());
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Neumann"));
  EXPECT_FALSE(AdresseSuchen(d, s, 1, "Firma 1"));
  EXPECT_FALSE(AdresseLoeschen(d, s));
  EXPECT_EQ(fenster.meldungen.size(), 3u);
  EXPECT_EQ(anzahl(pfad), 7);
}

TEST_F(AdressenTest, FehlgeschlagenesLoeschenLaesstAllesWieEsWar) {
  oeffnen(tabelleMit(4) +
          "CREATE TRIGGER gesperrt BEFORE UPDATE OF Nummer ON Adressen "
          "WHEN NEW.Nummer = '2' BEGIN SELECT RAISE(ABORT, 'gesperrt'); END;");
  d.Move(1);
  EXPECT_FALSE(AdresseLoeschen(d, s));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("gesperrt")));
  EXPECT_EQ(spalte(pfad, "Nachname"), (QStringList{"A", "B", "C", "D"}));
  EXPECT_EQ(spalte(pfad, "Nummer"), (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(d.AbsolutePosition(), 1);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("B"));
}

TEST_F(AdressenTest, SuchenFindetNaechstenTrefferUndBleibtSonstStehen) {
  oeffnen(beispielSql());
  d.Move(4);

  EXPECT_TRUE(AdresseSuchen(d, s, 7, "Berlin"));
  EXPECT_EQ(s.Textzeile, QStringLiteral("Ort = 'Berlin'"));
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("Ort = 'Berlin'"));
  EXPECT_EQ(d.AbsolutePosition(), 1) << "a new search starts at the first record";
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Müller"));
  EXPECT_TRUE(AdresseSuchen(d, s, 7, "Berlin"));
  EXPECT_EQ(d.AbsolutePosition(), 5);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Krüger"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 6"));
  EXPECT_FALSE(AdresseSuchen(d, s, 7, "Berlin"));  // only two
  EXPECT_EQ(d.AbsolutePosition(), 5);
  EXPECT_EQ(feld("Nachname").text(), QStringLiteral("Krüger"));

  // Another option starts over.
  EXPECT_TRUE(AdresseSuchen(d, s, 10, "Privat"));
  EXPECT_EQ(d.AbsolutePosition(), 2);

  // Fields with a blank in their name.
  EXPECT_TRUE(AdresseSuchen(d, s, 8, "Werkstatt"));
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("[Sonstiges 1] = 'Werkstatt'"));
  EXPECT_EQ(d.AbsolutePosition(), 3);
  EXPECT_TRUE(AdresseSuchen(d, s, 8, "Werkstatt"));
  EXPECT_EQ(d.AbsolutePosition(), 6);
  EXPECT_TRUE(AdresseSuchen(d, s, 9, "Fax 040 998877"));
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("[Sonstiges 2] = 'Fax 040 998877'"));
  EXPECT_EQ(d.AbsolutePosition(), 4);

  // Whole field only, no partial match; no match keeps the record.
  d.Move(3);
  EXPECT_FALSE(AdresseSuchen(d, s, 7, "Berl"));
  EXPECT_FALSE(AdresseSuchen(d, s, 4, "Nirgendwer"));
  EXPECT_EQ(d.AbsolutePosition(), 7);
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("Nachname = 'Nirgendwer'"));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(AdressenTest, SuchbegriffeMitApostrophUndUmlautenOhneGrossKlein) {
  oeffnen(beispielSql());
  struct Fall {
    int option;
    const char* begriff;
    int stelle;
  };
  for (const Fall& f :
       {Fall{4, "O'Brien", 2}, Fall{4, "müller", 1}, Fall{4, "ÖZTÜRK", 6},
        Fall{5, "hauptstraße 12", 0}, Fall{7, "KÖLN", 2}, Fall{1, "", 2}, Fall{2, "frau dr.", 9}}) {
    s.LetzteSuche.clear();
    d.MoveLast();
    EXPECT_TRUE(AdresseSuchen(d, s, f.option, QString::fromUtf8(f.begriff))) << f.begriff;
    EXPECT_EQ(d.AbsolutePosition(), f.stelle) << f.begriff;
  }
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("Anrede = 'frau dr.'"));

  // A term written to break out of the criterion finds nothing and changes nothing.
  d.MoveFirst();
  EXPECT_FALSE(AdresseSuchen(d, s, 4, "x' OR '1'='1"));
  EXPECT_FALSE(AdresseSuchen(d, s, 4, "'; DROP TABLE Adressen; --"));
  EXPECT_EQ(d.AbsolutePosition(), 0);
  EXPECT_EQ(anzahl(pfad), 12);
  EXPECT_EQ(Suchkriterium(4, "O'Brien"), QStringLiteral("Nachname = 'O'Brien'"));
  EXPECT_EQ(Suchkriterium(11, "x"), QString());
}

TEST_F(AdressenTest, EingabenUeberlebenBewegenEinfuegenUndSuchen) {
  oeffnen(beispielSql());
  QSignalSpy getippt(&feld("Firma"), &QLineEdit::textEdited);
  tippen("Firma", "Sommer & Co.");
  EXPECT_GT(getippt.count(), 0);
  d.MoveNext();
  EXPECT_EQ(spalte(pfad, "Firma")[0], QStringLiteral("Sommer & Co."));

  tippen("Vorname", "Petra-Maria");
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  EXPECT_EQ(spalte(pfad, "Vorname")[1], QStringLiteral("Petra-Maria"));

  tippen("Nachname", "Neu");
  tippen("Gruppe", "Kunde");
  ASSERT_TRUE(AdresseSuchen(d, s, 7, "Bonn"));
  EXPECT_EQ(anzahl(pfad), 13);
  EXPECT_EQ(spalte(pfad, "Nachname").last(), QStringLiteral("Neu"));
  EXPECT_EQ(spalte(pfad, "Nummer").last(), QStringLiteral("13"));

  tippen("PLZ", "53113");
  ASSERT_TRUE(AdresseSuchen(d, s, 7, "Köln"));
  EXPECT_EQ(spalte(pfad, "PLZ")[11], QStringLiteral("53113"));

  // Delete another record: the edit made before stays, the numbers follow.
  tippen("Sonstiges 2", "Hinterhaus");
  d.MoveFirst();
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_TRUE(spalte(pfad, "Sonstiges 2").contains(QStringLiteral("Hinterhaus")));
  EXPECT_EQ(spalte(pfad, "Nachname")[1], QStringLiteral("O'Brien"));
  EXPECT_EQ(spalte(pfad, "Nummer")[1], QStringLiteral("2"));

  // A field changed back to what is stored is no change; Update without changes is fine.
  EXPECT_TRUE(d.Update());
  EXPECT_EQ(anzahl(pfad), 12);
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(AdressenTest, GespeicherteWerteUndWertSetzen) {
  oeffnen(tabelleMit(2));
  d.setzeWert("Sonstiges 1", "gesetzt");
  EXPECT_EQ(feld("Sonstiges 1").text(), QStringLiteral("gesetzt"));
  EXPECT_EQ(d.wert("Sonstiges 1"), QStringLiteral("gesetzt"));
  // A field with no edit keeps its value in the control.
  Datensteuerung ohne;
  ASSERT_TRUE(ohne.oeffnen(ordner.filePath("adressen.db")));
  ohne.setzeWert("Ort", "Potsdam");
  EXPECT_EQ(ohne.wert("Ort"), QStringLiteral("Potsdam"));
  ASSERT_TRUE(ohne.MoveNext());
  d.MoveNext();  // stores "gesetzt" into record 1
  EXPECT_EQ(spalte(pfad, "Ort")[0], QStringLiteral("Potsdam"));
  EXPECT_EQ(spalte(pfad, "Sonstiges 1")[0], QStringLiteral("gesetzt"));
}

TEST_F(AdressenTest, BindungenFolgenAuchSpaeterGebundenenFeldern) {
  sqlAusfuehren(pfad, tabelleMit(3));
  ASSERT_TRUE(AdressenOeffnen(d, s, pfad));
  d.MoveNext();
  binden();  // bound after opening: shows the current record at once
  EXPECT_EQ(feld("Firma").text(), QStringLiteral("Firma 2"));
  EXPECT_EQ(d.Caption(), QStringLiteral(" Adresse Nr. 2"));
  {
    QLineEdit kurz;
    bindeFeld(d, &kurz, "Ort");
    EXPECT_EQ(kurz.text(), QStringLiteral("Ort 2"));
  }
  d.MoveNext();  // a destroyed edit is forgotten
  EXPECT_EQ(feld("Ort").text(), QStringLiteral("Ort 3"));
}
