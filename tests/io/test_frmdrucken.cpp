// The print dialog driven with mouse and keys: copies, the four runs over the address
// records (counted as pages of the PDF file the print control writes), cancelling, closing,
// runs without addresses, a run whose printer fails and runs on every paper.
// With QX_TESTBILDER naming a folder, a picture of the dialog and of the progress window and
// a printed PDF file are saved there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/frmseite.h"
#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/text/schriftarten.h"
#include "gemeinsam/testfenster.h"
#include "io/dokument.h"
#include "io/frmdrucken.h"
#include "platform/datensteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/feldbindung.h"
#include "ui/test_adressen_hilfe.h"

namespace {
int pdfSeiten(const QString& pdf) {
  if (!QFile::exists(pdf)) return 0;
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished(30000);
  const auto treffer = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(QString::fromUtf8(p.readAllStandardOutput()));
  return treffer.hasMatch() ? treffer.captured(1).toInt() : 0;
}

// The paper size in points of each page, from pdfinfo.
std::vector<QSizeF> seitengroessen(const QString& pdf, int seiten) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                      QStringLiteral("-l"), QString::number(seiten), pdf});
  p.waitForFinished(30000);
  static const QRegularExpression groesse(
      QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
  std::vector<QSizeF> groessen;
  auto it = groesse.globalMatch(QString::fromUtf8(p.readAllStandardOutput()));
  while (it.hasNext()) {
    const auto m = it.next();
    groessen.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
  }
  return groessen;
}

// The "Firma" printed on each page, in page order ("?" when none is found).
QStringList gedruckteFirmen(const QString& pdf) {
  QStringList firmen;
  if (!QFile::exists(pdf)) return firmen;
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  // pdftotext ends every page with a form feed.
  QStringList seiten = QString::fromUtf8(p.readAllStandardOutput()).split(QChar(u'\f'));
  if (!seiten.isEmpty() && seiten.last().trimmed().isEmpty()) seiten.removeLast();
  static const QRegularExpression firma(QStringLiteral("Firma (\\d+)"));
  for (const QString& seite : seiten) {
    const auto m = firma.match(seite);
    firmen << (m.hasMatch() ? m.captured(1) : QStringLiteral("?"));
  }
  return firmen;
}

void tippe(QLineEdit* feld, const QString& text) {
  feld->setFocus();
  feld->selectAll();
  QTest::keyClick(feld, Qt::Key_Delete);
  QTest::keyClicks(feld, text);
}

void klicke(QAbstractButton* knopf) { QTest::mouseClick(knopf, Qt::LeftButton); }

struct DruckdialogTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  Datensteuerung daten;
  QString pdf;
  QString db;
  std::unique_ptr<frmDrucken> dlg;

  void SetUp() override {
    const QDir quelle(QStringLiteral(QX_QUELLE "/data"));
    for (const QString& name : quelle.entryList(QDir::Files))
      QFile::copy(quelle.filePath(name), QDir(ordner.path()).filePath(name));
    Main(s, ordner.path());
    s.fenster = &fenster;
    SchriftartenErmitteln(s);
    s.Ladeauftrag = QStringLiteral("neu");
    ASSERT_TRUE(LadeDokument(s));
    s.BrieftextRTF = QStringLiteral("{\\rtf1\\ansi Brief\\par}");
    neueDatei();
    db = QDir(ordner.path()).filePath(QStringLiteral("adressen.db"));
    // Like the main window's bound side-panel fields, the test window shows the current
    // record in fields 21 ("Firma") and 30 ("Gruppe") after every move.
    QObject::connect(&daten, &Datensteuerung::datensatzGewechselt, [this] {
      fenster.felder[21] = daten.wert(QStringLiteral("Firma"));
      fenster.felder[30] = daten.wert(QStringLiteral("Gruppe"));
    });
    dlg = std::make_unique<frmDrucken>(s);
    dlg->setzeDatensteuerung(&daten);
  }

  // Each test run prints into a file of its own.
  void neueDatei() {
    static int nummer = 0;
    pdf = QDir(ordner.path()).filePath(QStringLiteral("druck%1.pdf").arg(++nummer));
    s.VSPrinter1->setzePdfDatei(pdf);
  }
  void adressen(const QString& sql) {
    adressentest::sqlAusfuehren(db, sql);
    ASSERT_TRUE(daten.oeffnen(db)) << daten.fehler().toStdString();
  }
  void bereich(const QString& von, const QString& bis) {
    klicke(dlg->Option2);
    tippe(dlg->Text2, von);
    tippe(dlg->Text3, bis);
  }
  void drucken() {
    dlg->zeigen();
    klicke(dlg->CommandDrucken);
  }
  QStringList meldungen() const {
    QStringList texte;
    for (const auto& m : fenster.meldungen) texte << m.text;
    return texte;
  }
};
}  // namespace

TEST_F(DruckdialogTest, KopienWerdenGelesenBegrenztUndZurueckgesetzt) {
  adressen(adressentest::tabelleMit(3));
  struct Fall {
    const char* eingabe;
    int seiten;
  };
  // Each run is one page in the given number of copies and replaces the file of the last.
  const Fall faelle[] = {{"0", 1}, {"-3", 1}, {"x", 1}, {"2", 2}, {"2.5", 2}, {" 2.6", 3}};
  int bisher = 0;
  for (const Fall& f : faelle) {
    tippe(dlg->Text1, QString::fromLatin1(f.eingabe));
    drucken();
    bisher = f.seiten;
    EXPECT_EQ(pdfSeiten(pdf), bisher) << f.eingabe;
    EXPECT_EQ(s.VSPrinter1->Copies, 1) << f.eingabe;
    EXPECT_FALSE(s.VSPrinter1->Preview);
    EXPECT_FALSE(dlg->isVisible());
  }
  // The current record is the one printed, and stays current.
  EXPECT_EQ(gedruckteFirmen(pdf).value(0), QStringLiteral("1"));
  EXPECT_EQ(daten.AbsolutePosition(), 0);
  EXPECT_TRUE(fenster.meldungen.empty()) << meldungen().join(u'\n').toStdString();

  // More copies than a print job can take: told, nothing printed, the dialog stays open.
  tippe(dlg->Text1, QStringLiteral("40000"));
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), bisher);
  EXPECT_TRUE(dlg->isVisible());
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("32767")));
  klicke(dlg->CommandAbbruch);
}

TEST_F(DruckdialogTest, BereichWirdAufDieAdressenBegrenzt) {
  adressen(adressentest::tabelleMit(10));
  struct Fall {
    const char* von;
    const char* bis;
    QStringList firmen;
  };
  const Fall faelle[] = {
      {"0", "3", {"1", "2", "3"}}, {"12", "15", {"10"}}, {"5", "2", {"5"}}, {"9", "", {"9"}},
      {"x", "2", {"1", "2"}},
  };
  for (const Fall& f : faelle) {
    neueDatei();
    bereich(QString::fromLatin1(f.von), QString::fromLatin1(f.bis));
    drucken();
    EXPECT_EQ(gedruckteFirmen(pdf), f.firmen) << f.von << "-" << f.bis;
    // The data control stays on the last record printed, and the side panel shows it.
    EXPECT_EQ(daten.AbsolutePosition() + 1, f.firmen.last().toInt()) << f.von << "-" << f.bis;
    EXPECT_EQ(fenster.felder[21], QStringLiteral("Firma ") + f.firmen.last());
  }
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DruckdialogTest, KategorieGenauUndAlleAdressen) {
  adressen(
      QString::fromUtf8(adressentest::tabelleAnlegen()) +
      QStringLiteral(
          "INSERT INTO Adressen (Nummer, Firma, Gruppe) VALUES "
          "('1', 'Firma 1', 'kunde'), ('2', 'Firma 2', 'Kunde '), ('3', 'Firma 3', 'Kunde'),"
          "('4', 'Firma 4', 'Lieferant'), ('5', 'Firma 5', 'Kunde'), ('6', 'Firma 6', NULL);"));
  klicke(dlg->Option3);
  tippe(dlg->Text4, QStringLiteral("Kunde"));
  drucken();
  EXPECT_EQ(gedruckteFirmen(pdf), (QStringList{"3", "5"}));
  EXPECT_EQ(daten.AbsolutePosition(), 5);  // the last record was visited

  // The category read through the dialog's own accessor, as from the data control.
  neueDatei();
  fenster.felder[30].clear();
  QObject::disconnect(&daten, nullptr, nullptr, nullptr);
  dlg->kategorieDesDatensatzes = [this] { return daten.wert(QStringLiteral("Gruppe")); };
  tippe(dlg->Text4, QStringLiteral("Lieferant"));
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 1);

  // The trailing blank is part of the category; a category no record has prints nothing.
  neueDatei();
  tippe(dlg->Text4, QStringLiteral("Kunde "));
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 1);
  neueDatei();
  tippe(dlg->Text4, QStringLiteral("Presse"));
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 0);

  // Every record: n pages, n - 1 moves forward after the first.
  neueDatei();
  QSignalSpy wechsel(&daten, &Datensteuerung::datensatzGewechselt);
  klicke(dlg->Option4);
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 6);
  EXPECT_EQ(wechsel.count(), 6);  // MoveFirst and five MoveNext
  EXPECT_EQ(daten.AbsolutePosition(), 5);
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DruckdialogTest, OhneAdressenDrucktNurDieAktiveSeite) {
  const QString keine = QStringLiteral("Es sind keine Adressen vorhanden.");
  auto laeufe = [&](const char* wie) {
    for (QRadioButton* option : {dlg->Option2, dlg->Option3, dlg->Option4}) {
      fenster.meldungen.clear();
      klicke(option);
      drucken();
      EXPECT_EQ(pdfSeiten(pdf), 0) << wie << " " << option->text().toStdString();
      ASSERT_EQ(fenster.meldungen.size(), 1u) << wie;
      EXPECT_EQ(fenster.meldungen[0].text, keine);
      EXPECT_FALSE(dlg->isVisible());
      EXPECT_EQ(s.VSPrinter1->Copies, 1);
    }
  };
  // No data control, a closed one (missing file), an empty table.
  dlg->setzeDatensteuerung(nullptr);
  laeufe("ohne");
  dlg->setzeDatensteuerung(&daten);
  EXPECT_FALSE(daten.oeffnen(QDir(ordner.path()).filePath(QStringLiteral("fehlt.db"))));
  laeufe("geschlossen");
  adressen(QString::fromUtf8(adressentest::tabelleAnlegen()));
  EXPECT_EQ(daten.RecordCount(), 0);
  laeufe("leer");

  fenster.meldungen.clear();
  klicke(dlg->Option1);
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 1);
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DruckdialogTest, AbbruchSchliessenUndEscapeDruckenNichts) {
  adressen(adressentest::tabelleMit(2));
  s.VSPrinter1->Copies = 1;
  QSignalSpy geschlossen(dlg.get(), &frmDrucken::geschlossen);
  tippe(dlg->Text1, QStringLiteral("3"));
  klicke(dlg->Option4);

  dlg->zeigen();
  EXPECT_EQ(QApplication::activeModalWidget(), dlg.get());
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    dlg->grab().save(QDir(aus).filePath(QStringLiteral("frmdrucken.png")));
  klicke(dlg->CommandAbbruch);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  dlg->zeigen();
  dlg->close();  // the title-bar close button
  EXPECT_FALSE(dlg->isVisible());

  dlg->zeigen();
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  EXPECT_EQ(geschlossen.count(), 3);
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(s.VSPrinter1->Copies, 1);
  // Hidden, not destroyed: the entries are kept for the next time.
  EXPECT_EQ(dlg->Text1->text(), QStringLiteral("3"));
  EXPECT_TRUE(dlg->Option4->isChecked());
}

TEST_F(DruckdialogTest, FehlschlagBeendetDenLaufNachEinerMeldung) {
  adressen(adressentest::tabelleMit(3));
  s.VSPrinter1->setzePdfDatei(QDir(ordner.path()).filePath(QStringLiteral("fehlt/druck.pdf")));
  klicke(dlg->Option4);
  drucken();
  EXPECT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(daten.AbsolutePosition(), 0);  // stopped at the first record
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.VSPrinter1->Copies, 1);
}

TEST_F(DruckdialogTest, ZweiLaeufeInDieselbeDateiGebenDenLetztenLauf) {
  adressen(adressentest::tabelleMit(3));
  klicke(dlg->Option4);
  drucken();
  drucken();
  EXPECT_EQ(gedruckteFirmen(pdf), (QStringList{"1", "2", "3"}));
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    QFile::copy(pdf, QDir(aus).filePath(QStringLiteral("serienbrief.pdf")));
  EXPECT_EQ(QDir(ordner.path()).entryList({QStringLiteral("druck*")}),
            QStringList{QFileInfo(pdf).fileName()});
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(DruckdialogTest, AbbruchImFortschrittEndetDenLaufNachDerSeite) {
  adressen(adressentest::tabelleMit(5));
  klicke(dlg->Option4);
  // "Abbruch" is pressed while the progress window announces the third page.
  QStringList angezeigt;
  QTimer beobachter;
  QObject::connect(&beobachter, &QTimer::timeout, [&] {
    auto* fortschritt = dlg->findChild<QProgressDialog*>();
    if (!fortschritt || !fortschritt->isVisible()) return;
    if (angezeigt.isEmpty() || angezeigt.last() != fortschritt->labelText())
      angezeigt << fortschritt->labelText();
    if (fortschritt->labelText() == QStringLiteral("Seite 3 von 5")) {
      EXPECT_EQ(QApplication::activeModalWidget(), fortschritt);
      if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
        fortschritt->grab().save(QDir(aus).filePath(QStringLiteral("druckfortschritt.png")));
      klicke(fortschritt->findChild<QPushButton*>());
    }
  });
  beobachter.start(0);
  drucken();
  beobachter.stop();
  EXPECT_EQ(angezeigt, (QStringList{"Seite 1 von 5", "Seite 2 von 5", "Seite 3 von 5"}));
  EXPECT_EQ(gedruckteFirmen(pdf), (QStringList{"1", "2"}));
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->findChild<QProgressDialog*>(), nullptr);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(fenster.meldungen.empty());
}

// "Abbruch" pressed while a long letter is printed, after its second page: the letter and
// the run end after the page being printed.
TEST_F(DruckdialogTest, AbbruchImLangenBriefEndetDenLaufNachDerSeite) {
  adressen(adressentest::tabelleMit(3));
  klicke(dlg->Option4);
  s.BrieftextRTF = QStringLiteral("{\\rtf1 %1}").arg(QStringLiteral("Seite\\page ").repeated(500));
  QTimer beobachter;
  QObject::connect(&beobachter, &QTimer::timeout, [&] {
    auto* fortschritt = dlg->findChild<QProgressDialog*>();
    if (fortschritt && fortschritt->isVisible() && s.VSPrinter1->laufSeiten() >= 2)
      klicke(fortschritt->findChild<QPushButton*>());
  });
  beobachter.start(0);
  drucken();
  beobachter.stop();
  EXPECT_GE(pdfSeiten(pdf), 2);
  EXPECT_LE(pdfSeiten(pdf), 4);
  EXPECT_EQ(gedruckteFirmen(pdf).value(0), QStringLiteral("1"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(fenster.meldungen.empty());
}

// A letter frame wholly off the paper, below or beside it: each address gets its one page,
// without the letter text, and the run says once that the letter text was not printed.
TEST_F(DruckdialogTest, BriefrahmenNebenDemPapierDrucktJedeSeiteOhneBrief) {
  adressen(adressentest::tabelleMit(3));
  klicke(dlg->Option4);
  s.BrieftextRTF = QStringLiteral("{\\rtf1 Briefwort\\par}");
  ClassRahmen& brief = s.rahmen(AnzahlFesteRahmen);
  const std::pair<int32_t, int32_t> orte[] = {{brief.x, s.Seite->Hoehe + 10},
                                              {s.Seite->Breite, brief.y}};
  for (const auto& [x, y] : orte) {
    neueDatei();
    fenster.meldungen.clear();
    brief.x = x;
    brief.y = y;
    drucken();
    EXPECT_EQ(gedruckteFirmen(pdf), (QStringList{"1", "2", "3"})) << x << " " << y;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    EXPECT_FALSE(p.readAllStandardOutput().contains("Briefwort"));
    EXPECT_EQ(meldungen(), QStringList{"Der Brieftext liegt außerhalb des Papiers und wurde "
                                       "nicht gedruckt."});
  }
}

TEST_F(DruckdialogTest, FehlgeschlageneSeiteBeendetDenLaufMitDenSeitenDavor) {
  adressen(adressentest::tabelleMit(3));
  // The category check runs before each page: at record `bruch` the document breaks, so
  // that the redraw of that page fails.
  const int rahmen = s.AnzahlRahmen;
  int bruch = -1;
  dlg->kategorieDesDatensatzes = [&] {
    s.AnzahlRahmen = daten.AbsolutePosition() == bruch ? rahmen + 50 : rahmen;
    return QString();
  };
  klicke(dlg->Option3);
  tippe(dlg->Text4, QString());
  drucken();
  ASSERT_EQ(pdfSeiten(pdf), 3);

  // A run that fails at its first page leaves the file of the run before as it was.
  bruch = 0;
  drucken();
  EXPECT_EQ(pdfSeiten(pdf), 3);
  // One that fails later gives the pages before the failed one.
  bruch = 1;
  drucken();
  s.AnzahlRahmen = rahmen;
  EXPECT_EQ(gedruckteFirmen(pdf), QStringList{"1"});
  EXPECT_EQ(daten.AbsolutePosition(), 1);
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  for (const auto& m : fenster.meldungen)
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Die Seite konnte nicht gezeichnet werden")))
        << m.text.toStdString();
}

TEST_F(DruckdialogTest, OffeneAdressaenderungWirdVorDemDruckGespeichert) {
  adressen(adressentest::tabelleMit(2));
  QLineEdit firma;
  bindeFeld(daten, &firma, QStringLiteral("Firma"));
  tippe(&firma, QStringLiteral("Neue Firma GmbH"));
  klicke(dlg->Option1);
  drucken();
  EXPECT_EQ(adressentest::spalte(db, QStringLiteral("Firma")).value(0),
            QStringLiteral("Neue Firma GmbH"));
  EXPECT_EQ(pdfSeiten(pdf), 1);
}

TEST_F(DruckdialogTest, DruckerWaehlenBleibtImDialog) {
  Drucksteuerung* gesehen = nullptr;
  dlg->druckerDialog = [&](QWidget* eltern, Drucksteuerung& d) {
    EXPECT_EQ(eltern, dlg.get());
    gesehen = &d;
    return true;
  };
  dlg->zeigen();
  klicke(dlg->CommandEinstellen);
  EXPECT_EQ(gesehen, s.VSPrinter1.get());
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_FALSE(QFile::exists(pdf));
  klicke(dlg->CommandAbbruch);
}

// A run on every paper of the page dialog, each way round: every page, the first as the
// rest, is on that paper, and an address near its right edge is printed whole.
struct PapierTest : DruckdialogTest, ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(PapierTest, JedeSeiteAufIhremPapier) {
  const auto [format, quer] = GetParam();
  frmSeite seite(s);
  seite.zeigen();
  seite.ComboPapierformat->setCurrentIndex(format);
  emit seite.ComboPapierformat->activated(format);
  if (QString::fromLatin1(kPapierformate[format]) == QLatin1String("Benutzerdefiniert")) {
    tippe(seite.TextBreite, QStringLiteral("1200"));
    tippe(seite.TextHoehe, QStringLiteral("1900"));
  }
  // A radio button takes a click on its circle or caption, not anywhere on its row.
  QRadioButton* lage = seite.Option1[quer ? 1 : 0];
  QTest::mouseClick(lage, Qt::LeftButton, {}, QPoint(6, lage->height() / 2));
  klicke(seite.Command3);
  ASSERT_FALSE(seite.isVisible());
  const double breite = s.Seite->Breite * 5.67 / 20;  // points
  const double hoehe = s.Seite->Hoehe * 5.67 / 20;
  ASSERT_EQ(breite > hoehe, quer);
  // The company frame, 40 mm wide, ends 5 mm before the right edge.
  ClassRahmen& firma = s.rahmen(21);
  firma.Breite = 400;
  firma.x = s.Seite->Breite - 450;

  adressen(adressentest::tabelleMit(3));
  klicke(dlg->Option4);
  drucken();
  EXPECT_TRUE(fenster.meldungen.empty());
  const std::vector<QSizeF> groessen = seitengroessen(pdf, 3);
  ASSERT_EQ(groessen.size(), 3u);
  for (const QSizeF& g : groessen) {
    EXPECT_NEAR(g.width(), breite, 1.5) << kPapierformate[format];
    EXPECT_NEAR(g.height(), hoehe, 1.5) << kPapierformate[format];
  }
  EXPECT_EQ(gedruckteFirmen(pdf), (QStringList{"1", "2", "3"}));
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    QFile::copy(pdf, QDir(aus).filePath(QStringLiteral("papier%1%2.pdf").arg(format).arg(quer)));
}

INSTANTIATE_TEST_SUITE_P(Papiere, PapierTest,
                         ::testing::Combine(::testing::Range(0, int(kPapierformate.size())),
                                            ::testing::Bool()));
