// The page setup dialog, the insert chooser and the position dialog, driven with simulated
// clicks and keys on a fresh program state.
// With QX_TESTBILDER naming a folder, a picture of each dialog is saved there.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "core/frmeinfuegen.h"
#include "core/frmposition.h"
#include "core/frmseite.h"
#include "core/programmzustand.h"
#include "core/start.h"
#include "gemeinsam/fallnamen.h"
#include "gemeinsam/testfenster.h"

namespace {

// Also records what the insert chooser asks of the main window.
struct Fenster : TestFenster {
  int auswahlVerborgen = 0;
  std::vector<bool> fadenkreuz;
  void AuswahlVerbergen() override { ++auswahlVerborgen; }
  void FadenkreuzZeigen(bool an) override { fadenkreuz.push_back(an); }
};

// Sets the default locale for one test and restores the previous one.
struct Gebietsschema {
  QLocale alt;
  explicit Gebietsschema(QLocale::Language sprache) { QLocale::setDefault(QLocale(sprache)); }
  ~Gebietsschema() { QLocale::setDefault(alt); }
};

void bildSpeichern(QWidget& w, const char* name) {
  const QString ordner = qEnvironmentVariable("QX_TESTBILDER");
  if (!ordner.isEmpty()) w.grab().save(ordner + QLatin1Char('/') + QLatin1String(name));
}

// Replaces a box's text by typing, as a user who selected everything in it.
void tippen(QLineEdit* box, const QString& text) {
  box->selectAll();
  if (text.isEmpty())
    QTest::keyClick(box, Qt::Key_Delete);
  else
    QTest::keyClicks(box, text);
}

// A click on the indicator of an option button or check box.
void anklicken(QAbstractButton* knopf) {
  QTest::mouseClick(knopf, Qt::LeftButton, {}, QPoint(6, knopf->height() / 2));
}

struct KerndialogTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  Fenster fenster;
  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
  }
};

// --- Page setup ------------------------------------------------------------------------

struct SeiteTest : KerndialogTest {
  std::unique_ptr<frmSeite> d;
  void SetUp() override {
    KerndialogTest::SetUp();
    d = std::make_unique<frmSeite>(s);
  }
  // Picks a format with a click into the open list.
  void formatWaehlen(const QString& name) {
    QComboBox* combo = d->ComboPapierformat;
    const int ziel = combo->findText(name);
    ASSERT_GE(ziel, 0);
    combo->showPopup();
    QAbstractItemView* liste = combo->view();
    const QRect zeile = liste->visualRect(combo->model()->index(ziel, 0));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zeile.center());
    ASSERT_EQ(combo->currentText(), name);
  }
  void ok() { QTest::mouseClick(d->Command3, Qt::LeftButton); }
  QString boxen() const { return d->TextBreite->text() + " x " + d->TextHoehe->text(); }
  QString seite() const {
    return QStringLiteral("%1 x %2").arg(s.Seite->Breite).arg(s.Seite->Hoehe);
  }
};

TEST_F(SeiteTest, FormatUndSeitenlage) {
  d->zeigen();
  EXPECT_EQ(QApplication::activeModalWidget(), d.get());
  // The start page has no format: 2100 x 2980, size boxes locked.
  EXPECT_EQ(boxen(), QStringLiteral("2100 x 2980"));
  EXPECT_FALSE(d->TextBreite->isEnabled());
  EXPECT_TRUE(d->Option1[0]->isChecked());

  formatWaehlen(QStringLiteral("DIN A4"));
  EXPECT_EQ(boxen(), QStringLiteral("2100 x 2970"));
  anklicken(d->Option1[1]);
  EXPECT_EQ(boxen(), QStringLiteral("2970 x 2100"));
  anklicken(d->Option1[0]);
  EXPECT_EQ(boxen(), QStringLiteral("2100 x 2970"));

  // A landscape format taken over, and the page view laid out for it.
  formatWaehlen(QStringLiteral("Legal"));
  anklicken(d->Option1[1]);
  ok();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(seite(), QStringLiteral("3560 x 2160"));
  EXPECT_EQ(s.Seite->Papier, QStringLiteral("Legal"));
  EXPECT_TRUE(s.Seite->Querformat);
  EXPECT_NEAR(fenster.inhalt.width(), 3560 * 5.67, 1e-6);
  EXPECT_NEAR(fenster.inhalt.height(), 2160 * 5.67, 1e-6);
  EXPECT_EQ(fenster.gezeichnet, 1);

  d->zeigen();
  EXPECT_TRUE(d->Option1[1]->isChecked());
  EXPECT_EQ(d->ComboPapierformat->currentText(), QStringLiteral("Legal"));
  bildSpeichern(*d, "frmSeite.png");
}

TEST_F(SeiteTest, FremderFormatnameWirdGezeigt) {
  // A name the list does not hold, as a settings file may give it.
  s.Seite->Papier = QStringLiteral("A5");
  s.Seite->Breite = 1480;
  s.Seite->Hoehe = 2100;
  d->zeigen();
  EXPECT_EQ(d->ComboPapierformat->currentText(), QStringLiteral("A5"));
  EXPECT_EQ(boxen(), QStringLiteral("1480 x 2100"));
  ok();
  EXPECT_EQ(s.Seite->Papier, QStringLiteral("A5"));
  EXPECT_EQ(seite(), QStringLiteral("1480 x 2100"));
  // Another name replaces it; a listed one leaves only the six formats.
  s.Seite->Papier = QStringLiteral("B5");
  d->zeigen();
  EXPECT_EQ(d->ComboPapierformat->currentText(), QStringLiteral("B5"));
  EXPECT_EQ(d->ComboPapierformat->findText(QStringLiteral("A5")), -1);
  d->Command1_Click();
  s.Seite->Papier = QStringLiteral("Letter");
  d->zeigen();
  EXPECT_EQ(d->ComboPapierformat->currentText(), QStringLiteral("Letter"));
  EXPECT_EQ(d->ComboPapierformat->count(), static_cast<int>(kPapierformate.size()));
}

// Every field of the page set: OK without an edit leaves it as it was, with its own header
// and footer, whatever the working copy holds from before.
TEST_F(SeiteTest, OkOhneAenderungLaesstDieSeite) {
  *s.Seite = ClassSeite{.BackBilddatei = QStringLiteral("logo.bmp"),
                        .BackBereich = 1,
                        .BackFarbverlaufart = 2,
                        .BackTyp = 3,
                        .BackFarbe2 = RGB(1, 2, 3),
                        .BackFarbe = RGB(4, 5, 6),
                        .Querformat = true,
                        .Masseinheit = QStringLiteral("mm"),
                        .Fusszeile = 40,
                        .Kopfzeile = 50,
                        .RandUnten = 110,
                        .RandRechts = 120,
                        .RandOben = 130,
                        .Hoehe = 2100,
                        .Breite = 2970,
                        .RandLinks = 140,
                        .Papier = QStringLiteral("DIN A4")};
  s.MusterSeite->Fusszeile = 7;
  s.MusterSeite->Kopfzeile = 8;
  s.MusterSeite->BackFarbe = RGB(7, 8, 9);
  const ClassSeite vorher = *s.Seite;
  d->zeigen();
  ok();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(*s.Seite, vorher);
}

TEST_F(SeiteTest, BenutzerdefiniertHaeltDieGroesse) {
  s.Seite->Breite = 1200;
  s.Seite->Hoehe = 1500;
  d->zeigen();
  formatWaehlen(QStringLiteral("Benutzerdefiniert"));
  EXPECT_TRUE(d->TextBreite->isEnabled());
  EXPECT_TRUE(d->TextHoehe->isEnabled());
  EXPECT_EQ(boxen(), QStringLiteral("1200 x 1500"));
  tippen(d->TextBreite, QStringLiteral("1000"));
  ok();
  EXPECT_EQ(seite(), QStringLiteral("1000 x 1500"));
  EXPECT_FALSE(s.Seite->Querformat);

  // Typed wider than high, the page turns only when the orientation is clicked.
  d->zeigen();
  tippen(d->TextBreite, QStringLiteral("1800"));
  anklicken(d->Option1[1]);
  EXPECT_EQ(boxen(), QStringLiteral("1800 x 1500"));
  anklicken(d->Option1[0]);
  EXPECT_EQ(boxen(), QStringLiteral("1500 x 1800"));
}

TEST_F(SeiteTest, RaenderGanzzahligMitPunkt) {
  d->zeigen();
  tippen(d->TextOben, QStringLiteral("12.7"));
  tippen(d->TextUnten, QStringLiteral("12,5"));
  tippen(d->TextLinks, QStringLiteral("12.5"));  // halves go to the even neighbour
  tippen(d->TextRechts, QStringLiteral("7mm"));
  tippen(d->TextKopf, QStringLiteral("150"));
  ok();
  const ClassSeite& p = *s.Seite;
  EXPECT_EQ(std::vector<int>({p.RandOben, p.RandUnten, p.RandLinks, p.RandRechts}),
            std::vector<int>({13, 12, 12, 7}));
  // Header and footer stay in the working copy only.
  EXPECT_EQ(p.Kopfzeile, 0);
  EXPECT_EQ(s.MusterSeite->Kopfzeile, 150);
}

struct Zoomfall {
  const char* text;
  QLocale::Language sprache;
  double erwartet;
};
struct ExportzoomTest : SeiteTest, ::testing::WithParamInterface<Zoomfall> {};

TEST_P(ExportzoomTest, AusserhalbVon1Bis10Wird2) {
  const Zoomfall& f = GetParam();
  Gebietsschema schema(f.sprache);
  s.Exportzoom = 5;
  d->zeigen();
  tippen(d->TextZoomExport, QString::fromUtf8(f.text));
  ok();
  EXPECT_FALSE(d->isVisible());
  EXPECT_DOUBLE_EQ(s.Exportzoom, f.erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, ExportzoomTest,
    ::testing::Values(Zoomfall{"0", QLocale::C, 2}, Zoomfall{"11", QLocale::C, 2},
                      Zoomfall{"-3", QLocale::C, 2}, Zoomfall{"", QLocale::C, 2},
                      Zoomfall{"x", QLocale::C, 2}, Zoomfall{"1", QLocale::C, 1},
                      Zoomfall{"10", QLocale::C, 10}, Zoomfall{"2.5", QLocale::C, 2.5},
                      Zoomfall{"2,5", QLocale::C, 2}, Zoomfall{"2,5", QLocale::German, 2.5},
                      Zoomfall{"10,5", QLocale::German, 2}),
    benannt([](const Zoomfall& f) {
      return Fallname(f.text) + "_" + QLocale::languageToString(f.sprache).toStdString();
    }));

TEST_F(SeiteTest, RasterBleibtBeiZweimaligemOeffnen) {
  for (QLocale::Language sprache : {QLocale::C, QLocale::German}) {
    Gebietsschema schema(sprache);
    s.RasterX = 12.5;
    s.RasterY = 80;
    s.MagnetX = 30;
    d->zeigen();
    d->Command1_Click();
    d->zeigen();
    EXPECT_EQ(d->Textrasterx->text(),
              sprache == QLocale::German ? QStringLiteral("12,5") : QStringLiteral("12.5"));
    ok();
    EXPECT_DOUBLE_EQ(s.RasterX, 12.5);
    EXPECT_DOUBLE_EQ(s.RasterY, 80);
    EXPECT_DOUBLE_EQ(s.MagnetX, 30);  // the magnet keeps its spacing
  }
  d->zeigen();
  tippen(d->Textrasterx, QStringLiteral("50"));
  tippen(d->Textrastery, QStringLiteral("2.75"));
  ok();
  EXPECT_DOUBLE_EQ(s.RasterX, 50);
  EXPECT_DOUBLE_EQ(s.RasterY, 2.75);
}

struct Ablehnung {
  const char* box;
  const char* text;
  const char* meldung;
  const char* gut;  // a value that is taken
};
struct AblehnungTest : SeiteTest, ::testing::WithParamInterface<Ablehnung> {};

TEST_P(AblehnungTest, BleibtOffenUndUebernimmtNichts) {
  const Ablehnung& f = GetParam();
  s.Seite->Papier = QStringLiteral("Benutzerdefiniert");
  s.Seite->Hoehe = 2970;
  s.Seite->RandLinks = 100;
  s.Seite->RandRechts = 100;
  s.Seite->RandOben = 100;
  s.Seite->RandUnten = 100;
  s.Exportzoom = 3;
  d->zeigen();
  tippen(d->TextZoomExport, QStringLiteral("4"));
  auto* box = d->findChild<QLineEdit*>(QLatin1String(f.box));
  ASSERT_NE(box, nullptr);
  tippen(box, QString::fromUtf8(f.text));
  ok();

  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text, QString::fromUtf8(f.meldung));
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(seite(), QStringLiteral("2100 x 2970"));
  EXPECT_EQ(s.Seite->RandLinks + s.Seite->RandOben, 200);
  EXPECT_DOUBLE_EQ(s.RasterX, 100);
  EXPECT_DOUBLE_EQ(s.Exportzoom, 3);
  EXPECT_EQ(fenster.gezeichnet, 0);

  // Mended, the same OK goes through.
  tippen(box, QString::fromUtf8(f.gut));
  ok();
  EXPECT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_FALSE(d->isVisible());
  EXPECT_DOUBLE_EQ(s.Exportzoom, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, AblehnungTest,
    ::testing::Values(
        Ablehnung{"TextBreite", "0", "Die Papierbreite muss größer als 0 sein.", "2000"},
        Ablehnung{"TextBreite", "abc", "Die Papierbreite muss größer als 0 sein.", "2000"},
        Ablehnung{"TextHoehe", "-5", "Die Papierhöhe muss größer als 0 sein.", "2000"},
        Ablehnung{"TextHoehe", "99999999999", "Die Papierhöhe darf höchstens 50000 betragen.",
                  "2000"},
        Ablehnung{"TextBreite", "50001", "Die Papierbreite darf höchstens 50000 betragen.", "2000"},
        Ablehnung{"TextOben", "-1", "Der obere Rand darf nicht negativ sein.", "120"},
        Ablehnung{"TextRechts", "2000",
                  "Der linke und der rechte Rand lassen keinen Platz auf der Seite: zusammen "
                  "müssen sie kleiner als die Papierbreite sein.",
                  "120"},
        Ablehnung{"TextUnten", "2870",
                  "Der obere und der untere Rand lassen keinen Platz auf der Seite: zusammen "
                  "müssen sie kleiner als die Papierhöhe sein.",
                  "120"},
        Ablehnung{"Textrasterx", "0.5", "Die Rasterbreite muss mindestens 1 sein.", "120"},
        Ablehnung{"Textrastery", "", "Die Rasterhöhe muss mindestens 1 sein.", "120"}),
    benannt([](const Ablehnung& f) { return std::string(f.box) + "_" + Fallname(f.text); }));

TEST_F(SeiteTest, AbbruchUndSchliessenVerwerfen) {
  for (bool titelleiste : {false, true}) {
    d->zeigen();
    formatWaehlen(QStringLiteral("DIN A5"));
    tippen(d->TextLinks, QStringLiteral("250"));
    tippen(d->TextFuss, QStringLiteral("90"));
    tippen(d->Textrasterx, QStringLiteral("40"));
    if (titelleiste)
      d->close();
    else
      QTest::mouseClick(d->Command1, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(seite(), QStringLiteral("2100 x 2980"));
    EXPECT_EQ(s.Seite->RandLinks, 0);
    EXPECT_TRUE(s.Seite->Papier.isEmpty());
    EXPECT_DOUBLE_EQ(s.RasterX, 100);
  }
  // Reopened, the boxes show the page again; only the footer stays as typed.
  d->zeigen();
  EXPECT_EQ(d->TextLinks->text(), QStringLiteral("0"));
  EXPECT_EQ(d->Textrasterx->text(), QStringLiteral("100"));
  EXPECT_EQ(d->ComboPapierformat->currentIndex(), -1);
  EXPECT_EQ(s.MusterSeite->Fusszeile, 90);
}

// --- Insert chooser --------------------------------------------------------------------

struct EinfuegenTest : KerndialogTest {
  std::unique_ptr<frmEinfuegen> d;
  void SetUp() override {
    KerndialogTest::SetUp();
    d = std::make_unique<frmEinfuegen>(s);
  }
  void waehle(int index) {
    d->zeigen();
    EXPECT_EQ(QApplication::activeModalWidget(), d.get());
    QTest::mouseClick(d->Button[index], Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
  }
};

TEST_F(EinfuegenTest, BildRahmenUnsichtbarUndProportional) {
  // Bilder holds slots 0 and 1 with no picture counted: the first picture needs no slot.
  ASSERT_EQ(s.Bilder.size(), 2u);
  waehle(3);
  EXPECT_EQ(s.Bilder.size(), 2u);
  EXPECT_EQ(s.AnzahlBilder, 1);
  EXPECT_EQ(s.AktuellesBild, 1);
  EXPECT_EQ(s.AnzahlRahmen, 32);
  EXPECT_EQ(s.AktuellerRahmen, 32);
  const ClassRahmen& r = s.rahmen(32);
  EXPECT_EQ(r.Objekttyp, QStringLiteral("Bild"));
  EXPECT_EQ(r.nummer(), 1);
  EXPECT_TRUE(std::holds_alternative<double>(r.Objektnummer));
  EXPECT_TRUE(r.Proportional);
  EXPECT_FALSE(r.Sichtbar);
  EXPECT_EQ(s.Einfuegemodus, 1);
  EXPECT_EQ(fenster.auswahlVerborgen, 1);
  EXPECT_EQ(fenster.fadenkreuz, std::vector<bool>{true});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // Now the list is full (upper bound 1 = count 1): exactly one slot more.
  waehle(3);
  EXPECT_EQ(s.Bilder.size(), 3u);
  EXPECT_EQ(s.AnzahlBilder, 2);
  EXPECT_EQ(s.rahmen(33).nummer(), 2);

  // A list with spare slots is not grown.
  s.Bilder.resize(10);
  waehle(3);
  EXPECT_EQ(s.Bilder.size(), 10u);
  EXPECT_EQ(s.AktuellesBild, 3);
}

TEST_F(EinfuegenTest, TextUndLinieBehaltenDieRahmenvorgaben) {
  d->zeigen();
  bildSpeichern(*d, "frmEinfuegen.png");
  d->Abbruch_Click();
  waehle(1);
  EXPECT_EQ(s.Schriften.size(), 32u);
  EXPECT_EQ(s.AnzahlSchriften, 31);
  EXPECT_EQ(s.AktuelleSchrift, 31);
  const ClassRahmen& text = s.rahmen(32);
  EXPECT_EQ(text.Objekttyp, QStringLiteral("Schrift"));
  EXPECT_EQ(text.nummer(), 31);
  EXPECT_FALSE(text.Proportional);
  EXPECT_FALSE(text.Sichtbar);

  // Linien starts with one free slot; the second line grows it.
  waehle(4);
  waehle(4);
  EXPECT_EQ(s.AnzahlLinien, 2);
  EXPECT_EQ(s.Linien.size(), 3u);
  EXPECT_EQ(s.AnzahlRahmen, 34);
  EXPECT_EQ(s.AktuellerRahmen, 34);
  EXPECT_EQ(s.rahmen(34).nummer(), 2);
  EXPECT_FALSE(s.rahmen(34).Proportional);
  EXPECT_EQ(fenster.auswahlVerborgen, 3);
  EXPECT_EQ(d->Button[2], nullptr);
}

TEST_F(EinfuegenTest, BreitGenugFuerSeineTitelzeile) {
  // A large title font (a desktop set to large text): the chooser grows with its caption.
  const QFont vorher = QApplication::font("QMdiSubWindowTitleBar");
  QFont gross = vorher;
  gross.setPixelSize(40);
  QApplication::setFont(gross, "QMdiSubWindowTitleBar");
  frmEinfuegen breit(s);
  QApplication::setFont(vorher, "QMdiSubWindowTitleBar");
  gross.setBold(true);
  breit.zeigen();
  EXPECT_GT(breit.width(), QFontMetrics(gross).horizontalAdvance(breit.windowTitle()));
  breit.Abbruch_Click();
}

TEST_F(EinfuegenTest, AbbruchLegtNichtsAn) {
  for (bool titelleiste : {false, true}) {
    d->zeigen();
    if (titelleiste)
      d->close();
    else
      QTest::mouseClick(d->Abbruch, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.AnzahlSchriften, 30);
  EXPECT_EQ(s.AnzahlBilder, 0);
  EXPECT_EQ(s.AnzahlLinien, 0);
  EXPECT_EQ(s.Einfuegemodus, 0);
  EXPECT_EQ(fenster.auswahlVerborgen, 0);
}

// --- Position dialog -------------------------------------------------------------------

struct PositionTest : KerndialogTest {
  std::unique_ptr<frmPosition> d;
  void SetUp() override {
    KerndialogTest::SetUp();
    s.Seite->Breite = 2100;
    s.Seite->Hoehe = 2970;
    d = std::make_unique<frmPosition>(s);
  }
  void rahmenSetzen(int x, int y, int b, int h) {
    ClassRahmen& r = s.rahmen(s.AktuellerRahmen);
    r.x = x;
    r.y = y;
    r.Breite = b;
    r.Hoehe = h;
  }
  // Opens the dialog and waits until it takes the keyboard focus.
  void oeffnen() {
    d->zeigen();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
  }
  // Puts the focus into a box and leaves it with Tab.
  void verlassen(QLineEdit* box) {
    box->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_FALSE(box->hasFocus());
  }
  void ok() { QTest::mouseClick(d->Command1, Qt::LeftButton); }
  QString boxen() const {
    return QStringList{d->Text1->text(), d->Text2->text(), d->Text3->text(), d->Text4->text()}.join(
        QLatin1Char('|'));
  }
  QString rahmen(int i = 1) {
    const ClassRahmen& r = s.rahmen(i);
    return QStringLiteral("%1 %2 %3 %4").arg(r.x).arg(r.y).arg(r.Breite).arg(r.Hoehe);
  }
};

TEST_F(PositionTest, OeffnenUndZurueckschreiben) {
  rahmenSetzen(125, 333, 800, 205);
  s.rahmen(1).Verankert = true;
  oeffnen();
  EXPECT_EQ(d->windowTitle(), QStringLiteral("Rahmen positionieren"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(boxen(), QStringLiteral("12.5|33.3|80|20.5"));
  EXPECT_FALSE(d->Check1->isChecked());
  EXPECT_TRUE(d->Check2->isChecked());
  bildSpeichern(*d, "frmPosition.png");

  const int markiert = fenster.markierungen;
  anklicken(d->Check1);
  ok();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(rahmen(), QStringLiteral("125 333 800 205"));
  EXPECT_TRUE(s.rahmen(1).Proportional);
  EXPECT_TRUE(s.rahmen(1).Verankert);
  EXPECT_EQ(fenster.markierungen, markiert + 1);
  EXPECT_EQ(fenster.gezeichnet, 1);
  EXPECT_NEAR(fenster.rahmen.left(), 125 * 5.67, 1e-6);
}

struct PositionSchemaTest : PositionTest, ::testing::WithParamInterface<QLocale::Language> {};

TEST_P(PositionSchemaTest, OkOhneAenderungBehaeltDenRahmen) {
  Gebietsschema schema(GetParam());
  rahmenSetzen(257, 138, 483, 229);
  oeffnen();
  ok();
  EXPECT_EQ(rahmen(), QStringLiteral("257 138 483 229"));
}

INSTANTIATE_TEST_SUITE_P(Sprachen, PositionSchemaTest,
                         ::testing::Values(QLocale::German, QLocale::English),
                         benannt([](QLocale::Language sprache) {
                           return QLocale::languageToString(sprache).toStdString();
                         }));

TEST_F(PositionTest, DezimalkommaUndPunktInJedemFeld) {
  Gebietsschema schema(QLocale::German);
  rahmenSetzen(125, 125, 333, 205);
  oeffnen();
  EXPECT_EQ(boxen(), QStringLiteral("12,5|12,5|33,3|20,5"));
  // A point is taken as well, through the leading-number rule.
  tippen(d->Text2, QStringLiteral("725"));
  d->Text2->setCursorPosition(1);
  QTest::keyClick(d->Text2, Qt::Key_Period);
  // A decimal number being typed stays as typed until the box is left.
  EXPECT_EQ(d->Text2->text(), QStringLiteral("7.25"));
  tippen(d->Text4, QStringLiteral("30,25"));
  ok();
  EXPECT_EQ(rahmen(), QStringLiteral("125 72 333 302"));  // 72.5 and 302.5 to the even neighbour
}

// Enter in a box takes OK without leaving the box: OK itself raises the size to 10 mm.
TEST_F(PositionTest, BreiteOderHoeheNullWirdOhneMeldungZehn) {
  rahmenSetzen(100, 100, 500, 200);
  for (QLineEdit* box : {d->Text3, d->Text4}) {
    oeffnen();
    box->setFocus(Qt::MouseFocusReason);
    tippen(box, QStringLiteral("0"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
  }
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(rahmen(), QStringLiteral("100 100 100 100"));
}

struct Eingabe {
  int box;
  const char* tippen;
  const char* ergebnis;
};
struct EingabeTest : PositionTest, ::testing::WithParamInterface<Eingabe> {};

TEST_P(EingabeTest, FeldZeigtSeineZahl) {
  const Eingabe& f = GetParam();
  rahmenSetzen(100, 100, 500, 200);
  oeffnen();
  auto* box = d->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(f.box));
  tippen(box, QString::fromUtf8(f.tippen));
  EXPECT_EQ(box->text(), QString::fromUtf8(f.ergebnis));
}

INSTANTIATE_TEST_SUITE_P(Faelle, EingabeTest,
                         ::testing::Values(Eingabe{1, "", "0"}, Eingabe{3, "", "0"},
                                           Eingabe{1, "-", "0"}, Eingabe{2, "-", "0"},
                                           Eingabe{2, "abc", "0"}, Eingabe{1, "x7", "7"},
                                           Eingabe{3, "12.", "12."}, Eingabe{1, "12.", "12."},
                                           Eingabe{4, "12a", "12"}, Eingabe{4, "007", "7"},
                                           Eingabe{2, "35", "35"}, Eingabe{3, "12.5", "12.5"},
                                           Eingabe{2, "-3.", "3."}, Eingabe{4, "1.2.", "1.2"}),
                         benannt([](const Eingabe& f) {
                           return "Text" + std::to_string(f.box) + "_" + Fallname(f.tippen);
                         }));

TEST_F(PositionTest, EingabenMitCursor) {
  rahmenSetzen(100, 100, 500, 200);
  oeffnen();
  // Emptied, the box shows 0 and the cursor stands after it: typing on gives the digit.
  tippen(d->Text3, QString());
  EXPECT_EQ(d->Text3->text(), QStringLiteral("0"));
  QTest::keyClicks(d->Text3, QStringLiteral("7"));
  EXPECT_EQ(d->Text3->text(), QStringLiteral("7"));
  // A point typed between digits stays: the text is already its own written form.
  tippen(d->Text2, QStringLiteral("125"));
  d->Text2->setCursorPosition(2);
  QTest::keyClick(d->Text2, Qt::Key_Period);
  EXPECT_EQ(d->Text2->text(), QStringLiteral("12.5"));
  QTest::keyClick(d->Text2, Qt::Key_Backspace);
  EXPECT_EQ(d->Text2->text(), QStringLiteral("125"));
}

TEST_F(PositionTest, VerlassenHaeltDenRahmenAufDerSeite) {
  // Page 210 mm wide: x 150 and width 80 overrun it.
  rahmenSetzen(1500, 100, 500, 200);
  oeffnen();
  d->Text3->setFocus(Qt::MouseFocusReason);
  tippen(d->Text3, QStringLiteral("80"));
  verlassen(d->Text3);
  EXPECT_EQ(d->Text3->text(), QStringLiteral("60"));

  rahmenSetzen(1500, 100, 800, 200);
  d->zeigen();
  verlassen(d->Text1);
  EXPECT_EQ(d->Text1->text(), QStringLiteral("130"));
  EXPECT_EQ(d->Text3->text(), QStringLiteral("80"));

  // Below the minimum: negative position 0, size 10.
  tippen(d->Text1, QStringLiteral("20"));
  d->Text1->setCursorPosition(0);
  QTest::keyClick(d->Text1, Qt::Key_Minus);
  EXPECT_EQ(d->Text1->text(), QStringLiteral("-20"));
  verlassen(d->Text1);
  EXPECT_EQ(d->Text1->text(), QStringLiteral("0"));
  tippen(d->Text3, QStringLiteral("5"));
  verlassen(d->Text3);
  EXPECT_EQ(d->Text3->text(), QStringLiteral("10"));
  tippen(d->Text4, QStringLiteral("7"));
  verlassen(d->Text4);
  EXPECT_EQ(d->Text4->text(), QStringLiteral("10"));

  // Near the edge the page limit cuts the minimum again: x 205 leaves 5 mm.
  tippen(d->Text1, QStringLiteral("205"));
  tippen(d->Text3, QStringLiteral("5"));
  verlassen(d->Text3);
  EXPECT_EQ(d->Text3->text(), QStringLiteral("5"));

  // A frame ending exactly at the page edge is kept; a computed limit reads cleanly.
  tippen(d->Text2, QStringLiteral("277"));
  tippen(d->Text4, QStringLiteral("20"));
  verlassen(d->Text2);
  EXPECT_EQ(d->Text2->text(), QStringLiteral("277"));
  d->Text4->setText(QStringLiteral("80.3"));
  verlassen(d->Text2);
  EXPECT_EQ(d->Text2->text(), QStringLiteral("216.7"));
}

TEST_F(PositionTest, RahmenBreiterAlsDieSeite) {
  rahmenSetzen(500, 100, 3000, 200);
  oeffnen();
  verlassen(d->Text1);
  EXPECT_EQ(d->Text1->text(), QStringLiteral("-90"));
  ok();
  EXPECT_EQ(rahmen(), QStringLiteral("0 100 2100 200"));

  // Without leaving a box first, OK applies the same limits.
  rahmenSetzen(1500, 2900, 800, 5);
  d->zeigen();
  d->Command1_Click();
  // y is checked before the height grows to 10 mm: the height is cut to fit instead.
  EXPECT_EQ(rahmen(), QStringLiteral("1300 2900 800 70"));
}

TEST_F(PositionTest, OkGiltFuerDenJetztGewaehltenRahmen) {
  rahmenSetzen(100, 100, 500, 200);
  oeffnen();
  tippen(d->Text1, QStringLiteral("40"));
  // The user selects another frame in the main window meanwhile.
  s.AktuellerRahmen = 2;
  ok();
  EXPECT_EQ(rahmen(2), QStringLiteral("400 100 500 200"));
  EXPECT_EQ(rahmen(1), QStringLiteral("100 100 500 200"));

  // Cancel and the title-bar button write nothing.
  d->zeigen();
  tippen(d->Text1, QStringLiteral("90"));
  QTest::mouseClick(d->Command2, Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  d->zeigen();
  tippen(d->Text1, QStringLiteral("90"));
  d->close();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(rahmen(2), QStringLiteral("400 100 500 200"));
  EXPECT_EQ(fenster.gezeichnet, 1);
}

}  // namespace
