// The picture dialog driven like a user: the file browser, the frame height that follows a
// chosen picture, sliders, the rotation box, check boxes, tabs, "Ok" and "Abbruch", and
// the preview's pixels. Pictures are BMP files of known sizes in a temporary folder that is
// the program's current folder for the test.
// With QX_TESTBILDER naming a folder, the three pages are saved there to be looked at.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/picture/bild_darstellen.h"
#include "elements/picture/bildvorschau.h"
#include "elements/picture/frmbild.h"
#include "gemeinsam/fallnamen.h"
#include "gemeinsam/metadatei.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildsteuerung.h"

namespace {

constexpr QRgb kRot = 0xFFFF0000, kGruen = 0xFF00C000, kBlau = 0xFF0000FF;

bool aehnlich(QRgb a, QRgb b, int toleranz = 40) {
  return std::abs(qRed(a) - qRed(b)) <= toleranz && std::abs(qGreen(a) - qGreen(b)) <= toleranz &&
         std::abs(qBlue(a) - qBlue(b)) <= toleranz;
}

struct FrmBildTest : ::testing::Test {
  QTemporaryDir start;     // start-up folder of the program
  QTemporaryDir ordner;    // the current folder while the test runs
  QTemporaryDir anderswo;  // a folder outside it
  QString altesVerzeichnis = QDir::currentPath();
  Programmzustand s;
  TestFenster fenster;
  std::unique_ptr<frmBild> dlg;

  void SetUp() override {
    ASSERT_TRUE(start.isValid() && ordner.isValid() && anderswo.isValid());
    bildZwischenspeicherLeeren();
    Main(s, start.path());
    s.fenster = &fenster;
    ASSERT_TRUE(QDir::setCurrent(ordner.path()));
    dlg = std::make_unique<frmBild>(s, nullptr);
  }
  void TearDown() override {
    dlg.reset();
    QDir::setCurrent(altesVerzeichnis);
  }

  QString hier(const QString& name) const { return ordner.filePath(name); }

  static void bmp(const QString& pfad, int breite, int hoehe, QRgb farbe = kRot) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(farbe);
    ASSERT_TRUE(bild.save(pfad, "BMP")) << pfad.toStdString();
  }

  // A new picture frame with its element, as the insert chooser makes it (proportional),
  // 500 units wide and 200 high, selected; its element is the current picture.
  int neuesBild() {
    if (s.AnzahlBilder + 1 >= static_cast<int>(s.Bilder.size()))
      s.Bilder.resize(s.Bilder.size() + 1);
    s.AnzahlBilder += 1;
    s.AktuellesBild = s.AnzahlBilder;
    NeuerRahmen(s, s.AnzahlRahmen + 1, QStringLiteral("Bild"), s.AnzahlBilder);
    s.AktuellerRahmen = s.AnzahlRahmen;
    NeuesBild(s, s.AktuellesBild);
    ClassRahmen& r = s.rahmen(s.AktuellerRahmen);
    r.Proportional = true;
    r.Breite = 500;
    r.Hoehe = 200;
    return s.AktuellerRahmen;
  }

  // An element that already shows the file `pfad`.
  void elementMitDatei(const QString& pfad) {
    ClassBild& e = s.bild(s.AktuellesBild);
    const QFileInfo info(pfad);
    e.File = pfad;
    e.File_Name = info.fileName();
    e.File_Path = info.absolutePath();
    e.File_Dir = QStringLiteral("/");
  }

  ClassRahmen& rahmen() { return s.rahmen(s.AktuellerRahmen); }
  ClassBild& muster() { return *s.MusterBild; }

  // A click on the file list's entry of that name.
  void dateiKlicken(const QString& name) {
    const auto treffer = dlg->File1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(treffer.size(), 1) << name.toStdString();
    const QRect feld = dlg->File1->visualItemRect(treffer.front());
    QTest::mouseClick(dlg->File1->viewport(), Qt::LeftButton, {}, feld.center());
  }

  // A double-click as the user makes it: a click, then the second press.
  void doppelklick(QListWidget* liste, QListWidgetItem* eintrag) {
    const QPoint mitte = liste->visualItemRect(eintrag).center();
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, mitte);
    QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, mitte);
  }

  void tippen(const QString& text) {
    dlg->Text1->selectAll();
    QTest::keyClick(dlg->Text1, Qt::Key_Backspace);
    QTest::keyClicks(dlg->Text1, text);
  }

  QStringList dateiliste() const {
    QStringList namen;
    for (int i = 0; i < dlg->File1->count(); ++i) namen << dlg->File1->item(i)->text();
    return namen;
  }

  // The colour in the middle of a page's preview as it is painted.
  QRgb vorschauMitte(int k) {
    const QImage bild = dlg->Vorschau[k]->grab().toImage();
    return bild.pixel(bild.width() / 2, bild.height() / 2);
  }
};

// --- Opening ------------------------------------------------------------------------------

TEST_F(FrmBildTest, NeuesBildNachEinemFrueherenUebernimmtDessenDateiBeiOk) {
  bmp(hier("a.bmp"), 100, 50);
  neuesBild();
  dlg->zeigen();
  dateiKlicken("a.bmp");
  dlg->Slider1[0]->setFocus();
  QTest::keyClick(dlg->Slider1[0], Qt::Key_PageUp);  // Helligkeit 10 -> 100
  dlg->Command3->click();
  ASSERT_EQ(s.bild(1).File, hier("a.bmp"));
  EXPECT_EQ(s.bild(1).Helligkeit, 100);

  const int zweiter = neuesBild();
  dlg->zeigen();
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(dlg->TabStripSchrift->currentIndex(), 0);
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(dlg->Slider1[i]->value(), 0) << i;
  EXPECT_EQ(dlg->Slider2->value(), 0);
  EXPECT_EQ(dlg->Slider3->value(), 0);
  EXPECT_EQ(dlg->Text1->text(), "0");
  EXPECT_EQ(dlg->File1->currentItem(), nullptr);
  for (int k = 1; k <= 3; ++k) EXPECT_FALSE(dlg->Lead1[k]->hatBitmap()) << k;
  EXPECT_EQ(muster().Helligkeit, 0);
  EXPECT_EQ(muster().File, hier("a.bmp"));  // kept from the earlier use

  dlg->Command3->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.AnzahlRahmen, zweiter);
  EXPECT_EQ(s.bild(2).File, hier("a.bmp"));
  EXPECT_EQ(s.bild(2).File_Name, "a.bmp");
  EXPECT_EQ(s.bild(2).Helligkeit, 0);
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(fenster.markierungen, 2);  // the frames are proportional
  EXPECT_GT(fenster.gezeichnet, 0);
}

TEST_F(FrmBildTest, DateiAusserhalbDesOrdnersWirdGezeigtAberNichtGewaehlt) {
  bmp(anderswo.filePath("weit.bmp"), 300, 100, kBlau);
  bmp(hier("nah.bmp"), 10, 10);
  neuesBild();
  elementMitDatei(anderswo.filePath("weit.bmp"));
  dlg->zeigen();
  EXPECT_EQ(dlg->Dir1Pfad(), QDir::currentPath());
  EXPECT_EQ(dateiliste(), QStringList{"nah.bmp"});
  EXPECT_EQ(dlg->File1->currentItem(), nullptr);
  EXPECT_EQ(rahmen().Hoehe, 200);
  EXPECT_EQ(muster().File, anderswo.filePath("weit.bmp"));
  ASSERT_TRUE(dlg->Lead1[1]->hatBitmap());
  EXPECT_EQ(dlg->Lead1[1]->BitmapWidth(), 300);
  EXPECT_TRUE(aehnlich(vorschauMitte(1), kBlau));
}

TEST_F(FrmBildTest, GleicherNameImOrdnerLaesstDieVorhandeneDateiDesElements) {
  bmp(anderswo.filePath("a.bmp"), 200, 100);
  bmp(hier("a.bmp"), 100, 300, kGruen);
  neuesBild();
  elementMitDatei(anderswo.filePath("a.bmp"));
  dlg->zeigen();
  EXPECT_EQ(dlg->File1->currentItem(), nullptr);
  EXPECT_EQ(rahmen().Hoehe, 200);
  dlg->Command3->click();
  EXPECT_EQ(s.bild(s.AktuellesBild).File, anderswo.filePath("a.bmp"));
  EXPECT_EQ(rahmen().Hoehe, 200);
}

// An old document's path that does not exist here: the file of that name in the current
// folder is offered, and taken only with "Ok".
TEST_F(FrmBildTest, FehlendeDateiBietetDenGleichenNamenImOrdnerAn) {
  bmp(hier("a.bmp"), 100, 100, kGruen);
  bmp(hier("A.bmp"), 100, 300, kGruen);
  const int nr = neuesBild();
  elementMitDatei(QStringLiteral("C:\\Briefe\\alt\\a.bmp"));
  ClassBild& e = s.bild(s.AktuellesBild);
  e.File_Name = QStringLiteral("a.bmp");
  const ClassBild vorher = e;
  dlg->zeigen();
  ASSERT_NE(dlg->File1->currentItem(), nullptr);
  EXPECT_EQ(dlg->File1->currentItem()->text(), "a.bmp");  // exact letter case
  EXPECT_EQ(muster().File, hier("a.bmp"));
  EXPECT_EQ(rahmen().Hoehe, 500);
  EXPECT_TRUE(aehnlich(vorschauMitte(1), kGruen));

  // "Abbruch" leaves element and frame as they were.
  dlg->Command1->click();
  EXPECT_EQ(s.AnzahlRahmen, nr);
  EXPECT_EQ(s.bild(s.AktuellesBild), vorher);
  EXPECT_EQ(s.rahmen(nr).Hoehe, 200);
  EXPECT_TRUE(fenster.meldungen.empty());

  dlg->zeigen();
  dlg->Command3->click();
  EXPECT_EQ(s.bild(s.AktuellesBild).File, hier("a.bmp"));
  EXPECT_EQ(s.rahmen(nr).Hoehe, 500);
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(FrmBildTest, OeffnenSetztSchieberOhneDieWerteZuVeraendern) {
  neuesBild();
  ClassBild& e = s.bild(s.AktuellesBild);
  e.Helligkeit = 55;          // slider 5.5 -> 6 (halves to even)
  e.Kontrast = -250;          // -25
  e.Farbverschiebung = 3600;  // 360
  e.Farbintensitaet = 15;     // 1.5 -> 2
  e.Schaerfe = 1000;
  e.EffektPixel = 25;  // 2.5 -> 2
  e.EffektMosaik = 7;
  e.EffektTrapez = -1550;  // -15.5 -> -16
  e.Rotate = 1250;         // 12.5 degrees
  e.Gray = true;
  e.Effekt = QStringLiteral("frei");
  dlg->zeigen();
  const int erwartet[7] = {6, -25, 360, 2, 100, 2, 7};
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(dlg->Slider1[i]->value(), erwartet[i]) << i;
  EXPECT_EQ(dlg->Slider3->value(), -16);
  EXPECT_EQ(dlg->Slider2->value(), 12);
  EXPECT_EQ(dlg->Text1->text(), "12.5");
  EXPECT_TRUE(dlg->Check1->isChecked());
  EXPECT_FALSE(dlg->Check2->isChecked());
  // Nothing was stored back from the sliders: the odd values survive "Ok".
  dlg->Command3->click();  // no file: the question, answered with OK, deletes the frame
  EXPECT_EQ(muster().Helligkeit, 55);
  EXPECT_EQ(muster().Farbintensitaet, 15);
  EXPECT_EQ(muster().EffektPixel, 25);
  EXPECT_EQ(muster().EffektTrapez, -1550);
  EXPECT_EQ(muster().Rotate, 1250);
  EXPECT_EQ(muster().Effekt, "frei");
}

TEST_F(FrmBildTest, JedesOeffnenBeginntImAktuellenOrdnerAufSeiteEins) {
  ASSERT_TRUE(QDir(ordner.path()).mkdir("unter"));
  bmp(hier("unter/u.bmp"), 20, 20);
  bmp(hier("oben.bmp"), 20, 20);
  neuesBild();
  elementMitDatei(hier("oben.bmp"));
  dlg->zeigen();
  // Into the subfolder by double-click, then to another page, then "Abbruch".
  const auto unter = dlg->Dir1->findItems("unter", Qt::MatchExactly);
  ASSERT_EQ(unter.size(), 1);
  doppelklick(dlg->Dir1, unter.front());
  EXPECT_EQ(dlg->Dir1Pfad(), hier("unter"));
  EXPECT_EQ(dateiliste(), QStringList{"u.bmp"});
  EXPECT_EQ(QDir::currentPath(), ordner.path());  // browsing keeps the program's folder
  dlg->TabStripSchrift->setCurrentIndex(2);
  dlg->Command1->click();

  dlg->zeigen();
  EXPECT_EQ(dlg->TabStripSchrift->currentIndex(), 0);
  EXPECT_EQ(dlg->Dir1Pfad(), ordner.path());
  EXPECT_EQ(dlg->File1->currentItem()->text(), "oben.bmp");
  EXPECT_FALSE(dlg->Lead1[3]->hatBitmap());
}

// --- File browser -------------------------------------------------------------------------

TEST_F(FrmBildTest, DateiWaehlenSetztDateifelderUndHoehe) {
  bmp(hier("quer.bmp"), 400, 200);
  neuesBild();
  dlg->zeigen();
  dateiKlicken("quer.bmp");
  EXPECT_EQ(rahmen().Hoehe, 250);
  EXPECT_EQ(muster().File_Name, "quer.bmp");
  EXPECT_EQ(muster().File_Path, QDir::currentPath());
  EXPECT_EQ(muster().File, QDir::currentPath() + "/quer.bmp");
  EXPECT_EQ(muster().File_Dir, dlg->Drive1->currentText());
  EXPECT_TRUE(QDir::currentPath().startsWith(muster().File_Dir));
  dlg->Command3->click();
  // The height follows the processed picture: turned by 90 degrees it is 200 x 400. The
  // element's file is marked at opening and chosen by a click on it.
  s.bild(s.AktuellesBild).Rotate = 9000;
  dlg->zeigen();
  EXPECT_EQ(dlg->File1->currentItem()->text(), "quer.bmp");
  EXPECT_EQ(dlg->Lead1[1]->BitmapHeight(), 400);
  EXPECT_EQ(rahmen().Hoehe, 250);
  dateiKlicken("quer.bmp");
  EXPECT_EQ(rahmen().Hoehe, 1000);
}

TEST_F(FrmBildTest, DateilisteZeigtDasMusterOhneRuecksichtAufGrossschreibung) {
  for (const char* name : {"a.bmp", "B.BMP", "c.jpeg", "d.JPG", "e.txt", "f.wmf", "g.cmp", "h.Pcx",
                           "i.bmp.txt", "LOGO.JPEG"})
    QFile(hier(name)).open(QIODevice::WriteOnly);
  ASSERT_TRUE(QDir(ordner.path()).mkdir("Zordner"));
  ASSERT_TRUE(QDir(ordner.path()).mkdir("aordner"));
  neuesBild();
  dlg->zeigen();
  EXPECT_EQ(dateiliste(), (QStringList{"a.bmp", "B.BMP", "c.jpeg", "d.JPG", "f.wmf", "g.cmp",
                                       "h.Pcx", "LOGO.JPEG"}));
  EXPECT_EQ(dlg->LabelFormate->text(), "Unterstützte Formate: *.bmp, *.jpg, *.wmf, *.pcx");
  QStringList ordnerliste;
  for (int i = 0; i < dlg->Dir1->count(); ++i) ordnerliste << dlg->Dir1->item(i)->text();
  EXPECT_EQ(ordnerliste, (QStringList{"..", "aordner", "Zordner"}));

  // ".." goes up; the drive list offers the root.
  doppelklick(dlg->Dir1, dlg->Dir1->item(0));
  EXPECT_EQ(dlg->Dir1Pfad(), QFileInfo(ordner.path()).absolutePath());
  EXPECT_EQ(dlg->File1Pfad(), dlg->Dir1Pfad());
  EXPECT_NE(dlg->Drive1->findText("/"), -1);
  dlg->Drive1->setCurrentIndex(dlg->Drive1->findText("/"));
  emit dlg->Drive1->activated(dlg->Drive1->currentIndex());
  EXPECT_EQ(dlg->Dir1Pfad(), "/");
  EXPECT_NE(dlg->Dir1->item(0)->text(), "..");
}

TEST_F(FrmBildTest, UnlesbareDateiLaesstHoeheUndZeigtKeinAltesBild) {
  bmp(hier("gut.bmp"), 100, 100, kGruen);
  QFile kaputt(hier("kaputt.bmp"));
  ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
  kaputt.write("BM this is no bitmap");
  kaputt.close();
  // A bitmap header that claims a width of 0.
  QImage vorlage(4, 4, QImage::Format_RGB32);
  vorlage.fill(kRot);
  ASSERT_TRUE(vorlage.save(hier("null.bmp"), "BMP"));
  QFile null(hier("null.bmp"));
  ASSERT_TRUE(null.open(QIODevice::ReadWrite));
  null.seek(18);
  null.write(QByteArray(4, '\0'));
  null.close();

  neuesBild();
  dlg->zeigen();
  dateiKlicken("gut.bmp");
  ASSERT_EQ(rahmen().Hoehe, 500);
  ASSERT_TRUE(aehnlich(vorschauMitte(1), kGruen));
  for (const char* name : {"kaputt.bmp", "null.bmp"}) {
    dateiKlicken(name);
    EXPECT_EQ(rahmen().Hoehe, 500) << name;
    EXPECT_EQ(muster().File_Name, name);
    EXPECT_FALSE(dlg->Lead1[1]->hatBitmap()) << name;
    EXPECT_FALSE(aehnlich(vorschauMitte(1), kGruen)) << name;
    EXPECT_EQ(dlg->Vorschau[1]->hinweis(), "Die Bilddatei kann nicht gelesen werden.");
  }
  // A metafile too big to draw: refused at once, and the hint names the file and says why.
  QFile viele(hier("viele.wmf"));
  ASSERT_TRUE(viele.open(QIODevice::WriteOnly));
  viele.write(metadatei::linien(100000));
  viele.close();
  dlg->zeigen();
  dateiKlicken("viele.wmf");
  EXPECT_EQ(rahmen().Hoehe, 500);
  EXPECT_FALSE(dlg->Lead1[1]->hatBitmap());
  EXPECT_TRUE(dlg->Vorschau[1]->hinweis().startsWith(
      QStringLiteral("Die Bilddatei „viele.wmf“ kann nicht gelesen werden. Sie enthält 100.002")))
      << dlg->Vorschau[1]->hinweis().toStdString();
}

// Every field of the element set: "Ok" without an edit leaves it as it was.
TEST_F(FrmBildTest, OkOhneAenderungLaesstDasElement) {
  bmp(hier("a.bmp"), 40, 20);
  neuesBild();
  ClassBild& e = s.bild(s.AktuellesBild);
  e.EffektTrapez = -1550;
  e.EffektMosaik = 7;
  e.EffektPixel = 25;
  e.Effekt = QStringLiteral("frei");
  e.Schaerfe = 1000;
  e.Farbverschiebung = 3600;
  e.Farbintensitaet = 15;
  e.Kontrast = -250;
  e.Helligkeit = 55;
  e.Rotate = 1250;
  e.Invert = true;
  e.Gray = true;
  elementMitDatei(hier("a.bmp"));
  const ClassBild vorher = e;
  dlg->zeigen();
  dlg->Command3->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(e, vorher);
}

// --- Sliders, rotation box, check boxes, tabs ---------------------------------------------

TEST_F(FrmBildTest, SchieberSpeichernWertMalFaktorUndOkKopiertAlles) {
  bmp(hier("a.bmp"), 50, 50);
  neuesBild();
  s.rahmen(s.AktuellerRahmen).Proportional = false;
  dlg->zeigen();
  dateiKlicken("a.bmp");
  ClassBild& m = muster();
  // One step right and one page up: 11, stored times the factor.
  for (int i = 0; i <= 9; ++i) {
    dlg->TabStripSchrift->setCurrentIndex(i <= 4 ? 1 : 2);
    dlg->Slider1[i]->setFocus();
    QTest::keyClick(dlg->Slider1[i], Qt::Key_Right);
    QTest::keyClick(dlg->Slider1[i], Qt::Key_PageUp);
  }
  const int32_t felder[7] = {m.Helligkeit, m.Kontrast,    m.Farbverschiebung, m.Farbintensitaet,
                             m.Schaerfe,   m.EffektPixel, m.EffektMosaik};
  EXPECT_THAT(felder, ::testing::ElementsAre(110, 110, 110, 110, 110, 110, 11));
  dlg->TabStripSchrift->setCurrentIndex(1);
  dlg->Slider1[2]->setFocus();
  QTest::keyClick(dlg->Slider1[2], Qt::Key_Home);
  EXPECT_EQ(m.Farbverschiebung, -3600);
  QTest::mouseClick(dlg->Check1, Qt::LeftButton);

  dlg->TabStripSchrift->setCurrentIndex(2);
  dlg->Slider3->setFocus();
  QTest::keyClick(dlg->Slider3, Qt::Key_Left);
  EXPECT_EQ(m.EffektTrapez, -100);
  dlg->Slider2->setFocus();
  QTest::keyClick(dlg->Slider2, Qt::Key_End);
  EXPECT_EQ(m.Rotate, 35900);
  EXPECT_EQ(dlg->Text1->text(), "359");
  tippen("33.25");

  const ClassBild erwartet = m;
  EXPECT_EQ(erwartet.Effekt, "0");  // untouched by every control
  EXPECT_TRUE(erwartet.Gray);
  EXPECT_EQ(erwartet.Rotate, 3325);
  dlg->Command3->click();
  EXPECT_EQ(s.bild(s.AktuellesBild), erwartet);
  EXPECT_EQ(fenster.markierungen, 0);  // not proportional: the marker stays
  EXPECT_GT(fenster.gezeichnet, 0);
}

TEST_F(FrmBildTest, SchieberWirktErstBeimLoslassen) {
  neuesBild();
  dlg->zeigen();
  dlg->TabStripSchrift->setCurrentIndex(1);
  QSlider* schieber = dlg->Slider1[1];
  schieber->setSliderDown(true);
  for (int v = 1; v <= 40; ++v) schieber->setSliderPosition(v);
  EXPECT_EQ(muster().Kontrast, 0);
  schieber->setSliderDown(false);
  EXPECT_EQ(muster().Kontrast, 400);
}

struct Drehtext {
  const char* getippt;
  const char* text;
  int32_t rotate;
  int schieber;
};

class DrehtextTest : public FrmBildTest, public ::testing::WithParamInterface<Drehtext> {};

TEST_P(DrehtextTest, RegelDesDrehfelds) {
  const Drehtext& f = GetParam();
  neuesBild();
  dlg->zeigen();
  dlg->TabStripSchrift->setCurrentIndex(2);
  dlg->Slider2->setFocus();
  QTest::keyClick(dlg->Slider2, Qt::Key_PageUp);  // something other than 0 first
  ASSERT_EQ(muster().Rotate, 1000);
  tippen(QString::fromUtf8(f.getippt));
  EXPECT_EQ(dlg->Text1->text(), QString::fromUtf8(f.text));
  EXPECT_EQ(muster().Rotate, f.rotate);
  EXPECT_EQ(dlg->Slider2->value(), f.schieber);
}

INSTANTIATE_TEST_SUITE_P(Eingaben, DrehtextTest,
                         ::testing::Values(Drehtext{"361", "0", 0, 0}, Drehtext{"-1", "0", 0, 0},
                                           Drehtext{"12.5", "12.5", 1250, 12},
                                           Drehtext{"360", "360", 36000, 359},
                                           Drehtext{"0.004", "0.004", 0, 0},
                                           Drehtext{"12,5°", "12,5°", 1200, 12},
                                           Drehtext{"1e9", "0", 0, 0}),
                         benannt([](const Drehtext& f) { return f.getippt; }));

TEST_F(FrmBildTest, KontrollkaestchenUndSeitenZeigenDasBearbeiteteBild) {
  bmp(hier("rot.bmp"), 60, 60, kRot);
  neuesBild();
  elementMitDatei(hier("rot.bmp"));
  dlg->zeigen();
  ASSERT_TRUE(aehnlich(vorschauMitte(1), kRot));

  // Page 2 by a click on its tab: its own preview shows the picture.
  QTabBar* reiter = dlg->TabStripSchrift->tabBar();
  QTest::mouseClick(reiter, Qt::LeftButton, {}, reiter->tabRect(1).center());
  ASSERT_EQ(dlg->TabStripSchrift->currentIndex(), 1);
  ASSERT_TRUE(dlg->Lead1[2]->hatBitmap());
  EXPECT_TRUE(aehnlich(vorschauMitte(2), kRot));

  QTest::mouseClick(dlg->Check2, Qt::LeftButton);
  EXPECT_TRUE(muster().Invert);
  EXPECT_TRUE(aehnlich(vorschauMitte(2), 0xFF00FFFF));  // cyan
  QTest::mouseClick(dlg->Check1, Qt::LeftButton);
  EXPECT_TRUE(muster().Gray);
  const QRgb grau = vorschauMitte(2);
  EXPECT_EQ(qRed(grau), qGreen(grau));
  EXPECT_EQ(qGreen(grau), qBlue(grau));
  QTest::mouseClick(dlg->Check1, Qt::LeftButton);
  EXPECT_FALSE(muster().Gray);
  EXPECT_TRUE(aehnlich(vorschauMitte(2), 0xFF00FFFF));
  // Page 1 kept its own, unprocessed bitmap.
  EXPECT_TRUE(aehnlich(dlg->Lead1[1]->bild().pixel(30, 30), kRot));
}

TEST_F(FrmBildTest, VorschauPasstDasBildEinUndBehaeltDieProportionen) {
  Bildsteuerung lead;
  QImage quer(400, 200, QImage::Format_RGB32);
  quer.fill(kBlau);
  lead.setzeBild(quer);
  Bildvorschau vorschau(&lead);
  vorschau.resize(202, 202);  // a content area of 200 x 200 inside the frame
  // 200 x 100 pixels, centred: rows 51 to 150.
  const QImage bild = vorschau.grab().toImage();
  EXPECT_TRUE(aehnlich(bild.pixel(101, 52), kBlau));
  EXPECT_TRUE(aehnlich(bild.pixel(2, 149), kBlau));
  EXPECT_FALSE(aehnlich(bild.pixel(101, 48), kBlau));
  EXPECT_FALSE(aehnlich(bild.pixel(101, 153), kBlau));

  lead.leeren();
  EXPECT_FALSE(aehnlich(vorschau.grab().toImage().pixel(101, 101), kBlau));
}

// --- Ok and Abbruch -----------------------------------------------------------------------

TEST_F(FrmBildTest, OkMitVerschwundenerDateiFragtVorDemLoeschen) {
  bmp(hier("weg.bmp"), 40, 40);
  const int nr = neuesBild();
  elementMitDatei(hier("weg.bmp"));
  dlg->zeigen();
  ASSERT_TRUE(QFile::remove(hier("weg.bmp")));
  s.Antwort = 9999;  // a decision left over must not skip the question
  fenster.antwort = 2;
  dlg->Command3->click();
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text, "Diesen Rahmen löschen?");
  EXPECT_EQ(fenster.meldungen[0].knoepfe, Knoepfe::OkAbbrechen);
  EXPECT_EQ(s.AnzahlRahmen, nr);
  EXPECT_EQ(s.AnzahlBilder, 1);
  EXPECT_EQ(s.bild(1).File, hier("weg.bmp"));
  EXPECT_FALSE(dlg->isVisible());

  fenster.antwort = 1;
  dlg->zeigen();
  dlg->Command3->click();
  EXPECT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_EQ(s.AnzahlRahmen, nr - 1);
  EXPECT_EQ(s.AnzahlBilder, 0);
}

TEST_F(FrmBildTest, AbbruchBehaeltRahmenUndHoeheAuchOhneDatei) {
  bmp(hier("alt.bmp"), 10, 10);
  bmp(hier("quer.bmp"), 400, 200);
  const int nr = neuesBild();
  elementMitDatei(hier("alt.bmp"));
  dlg->zeigen();
  ASSERT_EQ(dlg->File1->currentItem()->text(), "alt.bmp");  // marked, not chosen again
  EXPECT_EQ(rahmen().Hoehe, 200);
  dateiKlicken("quer.bmp");
  ASSERT_EQ(rahmen().Hoehe, 250);
  dlg->Command1->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.AnzahlRahmen, nr);
  EXPECT_EQ(s.rahmen(nr).Hoehe, 200);
  EXPECT_EQ(s.bild(1).File, hier("alt.bmp"));  // nothing copied back

  // A picture moved away: "Abbruch" keeps the frame, without a question.
  ASSERT_TRUE(QFile::remove(hier("alt.bmp")));
  dlg->zeigen();
  dateiKlicken("quer.bmp");
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.AnzahlRahmen, nr);
  EXPECT_EQ(s.rahmen(nr).Hoehe, 200);
  EXPECT_EQ(s.bild(1).File, hier("alt.bmp"));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(FrmBildTest, AbbruchOhneDateiLoeschtDenNeuenRahmenOhneFrage) {
  neuesBild();
  const int rahmenVorher = s.AnzahlRahmen;
  dlg->zeigen();
  dlg->Command1->click();
  EXPECT_EQ(s.AnzahlRahmen, rahmenVorher - 1);
  EXPECT_EQ(s.AnzahlBilder, 0);
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_NE(s.Antwort, 9999);

  // The title-bar button and Escape act as "Abbruch".
  neuesBild();
  dlg->zeigen();
  dlg->close();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.AnzahlRahmen, rahmenVorher - 1);
  neuesBild();
  dlg->zeigen();
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(s.AnzahlRahmen, rahmenVorher - 1);
  EXPECT_TRUE(fenster.meldungen.empty());
}

// --- Screenshots --------------------------------------------------------------------------

TEST_F(FrmBildTest, SeitenAlsBilder) {
  const QString ziel = qEnvironmentVariable("QX_TESTBILDER");
  if (ziel.isEmpty()) GTEST_SKIP() << "QX_TESTBILDER not set";
  QImage bild(320, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) bild.setPixel(x, y, qRgb(x * 255 / 320, y * 255 / 200, 160));
  ASSERT_TRUE(bild.save(hier("verlauf.bmp"), "BMP"));
  ASSERT_TRUE(bild.save(hier("LOGO.JPG"), "JPG"));
  bmp(hier("zweites.bmp"), 20, 20);
  neuesBild();
  elementMitDatei(hier("verlauf.bmp"));
  s.bild(s.AktuellesBild).Rotate = 1500;
  dlg->zeigen();
  for (int k = 0; k < 3; ++k) {
    dlg->TabStripSchrift->setCurrentIndex(k);
    dlg->grab().save(QDir(ziel).filePath(QStringLiteral("frmbild_%1.png").arg(k + 1)));
  }
}

}  // namespace
