// The text dialog and the line/shape dialog driven like a user: clicks on swatches, boxes,
// option buttons and tabs, typing into the number boxes, keys on sliders and combo boxes,
// OK, Abbruch, Escape and the title bar. Samples are checked by their pixels.
// With QX_TESTBILDER naming a folder, a picture of every tab of both dialogs is saved there
// to be looked at.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "core/programmzustand.h"
#include "core/start.h"
#include "elements/farbwahl.h"
#include "elements/shape/frmlinie.h"
#include "elements/text/frmschrift.h"
#include "elements/text/schriftarten.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildflaeche.h"

namespace {

// Palette swatches by row and column (both from 1), as the user sees them.
int feld(int zeile, int spalte) { return (zeile - 1) * Farbpalette::Spalten + (spalte - 1); }
constexpr int32_t rot = RGB(255, 0, 0);
constexpr int32_t blau = RGB(0, 0, 255);
constexpr int32_t orange = RGB(255, 128, 0);
constexpr int32_t gruen = RGB(0, 128, 0);

void klick(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

// Option buttons and check boxes are hit on their indicator.
void ankreuzen(QAbstractButton* b) {
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

void farbeKlicken(Farbpalette* p, int i) {
  QTest::mouseClick(p, Qt::LeftButton, {}, p->feldMitte(i));
}

void tippen(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Backspace);
  QTest::keyClicks(box, text);
}

void reiter(QTabWidget* tabs, int i) {
  QTabBar* leiste = tabs->tabBar();
  QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(i - 1).center());
}

// Picks an item of a combo box with the arrow keys, as a user without the mouse does.
void mitPfeilenWaehlen(QComboBox* box, const QString& text) {
  const int ziel = box->findText(text);
  ASSERT_GE(ziel, 0);
  for (int n = 0; n < box->count() && box->currentIndex() != ziel; ++n)
    QTest::keyClick(box, box->currentIndex() < ziel ? Qt::Key_Down : Qt::Key_Up);
  ASSERT_EQ(box->currentIndex(), ziel);
}

int pixelDerFarbe(const QImage& bild, int32_t farbe) {
  const QRgb gesucht = farbeAusRgb(farbe).rgb();
  int n = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x)
      n += (bild.pixel(x, y) & 0xFFFFFF) == (gesucht & 0xFFFFFF);
  return n;
}

// Pixels far more blue than red: the blue end of a red-to-blue gradient.
int blaeulich(const QImage& bild) {
  int n = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) {
      const QColor c = bild.pixelColor(x, y);
      n += c.blue() > 150 && c.red() < 100 && c.green() < 60;
    }
  return n;
}

int nichtWeiss(const QImage& bild) {
  return bild.width() * bild.height() - pixelDerFarbe(bild, RGB(255, 255, 255));
}

void bildSichern(QWidget* w, const QString& name) {
  const QString ordner = qEnvironmentVariable("QX_TESTBILDER");
  if (ordner.isEmpty()) return;
  QDir().mkpath(ordner);
  w->grab().save(QDir(ordner).filePath(name));
}

struct Dialoge : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  std::unique_ptr<frmSchrift> schrift;
  std::unique_ptr<frmlinie> linie;
  std::vector<int32_t> farbdialogStarts;
  std::optional<int32_t> farbdialogAntwort;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    Main(s, ordner.path());
    s.fenster = &fenster;
    SchriftartenEintragen(s, {{"DejaVu Sans", false, ANSI_CHARSET, true},
                              {"Arial", false, ANSI_CHARSET, true},
                              {"Courier New", true, ANSI_CHARSET, true},
                              {"Liberation Serif", false, ANSI_CHARSET, true}});
    auto dialog = [this](int32_t start) {
      farbdialogStarts.push_back(start);
      return farbdialogAntwort;
    };
    schrift = std::make_unique<frmSchrift>(s);
    schrift->farbdialog = dialog;
    linie = std::make_unique<frmlinie>(s);
    linie->farbdialog = dialog;
  }

  // Text element n with a text, in its frame, selected.
  ClassSchrift& textWaehlen(int n, const QString& text = QStringLiteral("Firma")) {
    s.AktuelleSchrift = n;
    s.AktuellerRahmen = n;
    s.schrift(n).Textstring = text;
    s.schrift(n).FontSize = 36.0;
    return s.schrift(n);
  }

  // A text inserted by the user: text 31 in frame 32, selected, still without a text.
  void textEinfuegen() {
    s.Schriften.resize(32);
    NeueSchrift(s, 31);
    s.AnzahlSchriften = 31;
    NeuerRahmen(s, 32, QStringLiteral("Schrift"), 31);
    s.AktuelleSchrift = 31;
    s.AktuellerRahmen = 32;
  }

  // A line element inserted by the user: line 1 in frame 32, selected.
  ClassLinie& linieEinfuegen() {
    NeueLinie(s, 1);
    s.AnzahlLinien = 1;
    NeuerRahmen(s, 32, QStringLiteral("Linie"), 1);
    s.AktuelleLinie = 1;
    s.AktuellerRahmen = 32;
    return s.linie(1);
  }

  // The direction boxes marked now.
  template <class D>
  std::vector<int> markierteRichtungen(D& d) {
    std::vector<int> k;
    for (int i = 1; i <= 8; ++i)
      if (d.PicSchattRich(i)->hintergrund() == RGB(192, 255, 192)) k.push_back(i);
    return k;
  }
};

constexpr int32_t markiert = RGB(192, 255, 192);
constexpr int32_t normal = RGB(192, 192, 192);

// --- Text dialog ---------------------------------------------------------------------------

TEST_F(Dialoge, TextdialogOeffnetMitDerArbeitskopie) {
  ClassSchrift& e = textWaehlen(7, QStringLiteral("Telefon"));
  e.Bold = true;
  e.Italic = true;
  e.Underline = true;
  e.AusrichtungH = 2;
  e.AusrichtungV = 1;
  e.Color1 = gruen;
  e.Color2 = gruen;
  e.ColorCircle = 2;
  e.ShadowType = 1;
  e.ShadowAngle = 200;
  e.ShadowDeep = 40;
  e.CharSpace = 3;
  e.Angle = 15;
  e.fontname = QStringLiteral("Arial");
  e.FontSize = static_cast<int16_t>(12);
  e.Data = 4;
  s.MusterSchrift->Data = 9;

  schrift->zeigen();
  EXPECT_TRUE(schrift->isVisible());
  EXPECT_EQ(schrift->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(s.Mustermodus, -1);
  EXPECT_EQ(schrift->TabStripSchrift()->currentIndex(), 0);

  const ClassSchrift& m = *s.MusterSchrift;
  EXPECT_EQ(m.Textstring, QStringLiteral("Muster"));
  EXPECT_EQ(m.Data, 9);  // not copied
  EXPECT_EQ(m.Color1, gruen);
  EXPECT_EQ(m.ShadowAngle, 200);
  EXPECT_EQ(schrift->Schrifttext()->text(), QStringLiteral("Telefon"));
  EXPECT_EQ(schrift->Combo1()->currentText(), QStringLiteral("Arial"));
  EXPECT_EQ(schrift->Combo2()->currentText(), QStringLiteral("Kursiv Fett"));
  EXPECT_EQ(schrift->Combo3()->currentText(), QStringLiteral("12"));
  EXPECT_TRUE(schrift->Check1()->isChecked());
  EXPECT_TRUE(schrift->Check3()->isChecked());
  EXPECT_FALSE(schrift->Check4()->isChecked());
  EXPECT_TRUE(schrift->OptAus(3)->isChecked());
  EXPECT_TRUE(schrift->OptAus(5)->isChecked());
  EXPECT_TRUE(schrift->OptVerlauf(3)->isChecked());
  EXPECT_EQ(schrift->PicSchattTyp(1)->hintergrund(), markiert);
  EXPECT_EQ(schrift->PicSchattTyp(2)->hintergrund(), normal);
  EXPECT_EQ(schrift->TextSchattRich()->text(), QStringLiteral("200"));
  EXPECT_EQ(markierteRichtungen(*schrift), std::vector<int>{7});
  EXPECT_EQ(schrift->SliderSchatten()->value(), 40);
  EXPECT_EQ(schrift->MaskEdBoxAngle()->text(), QStringLiteral("15"));
  EXPECT_EQ(schrift->SliderAngle()->value(), 15);
  EXPECT_EQ(schrift->MaskEdBoxSpace()->text(), QStringLiteral("3"));
  EXPECT_EQ(schrift->SliderSpace()->value(), 3);
  EXPECT_EQ(schrift->Shape(1)->farbe(), gruen);
  EXPECT_EQ(schrift->Shape(3)->farbe(), RGB(192, 192, 192));

  // The sample frame fills the sample picture; the word is drawn into the first page.
  EXPECT_EQ(s.MusterRahmen->Breite, 553);
  EXPECT_EQ(s.MusterRahmen->Hoehe, 172);
  EXPECT_GT(pixelDerFarbe(schrift->PicMusterSchrift(1)->bild(), gruen), 0);
  EXPECT_EQ(nichtWeiss(schrift->PicMusterSchrift(2)->bild()), 0);

  // Another tab draws its own sample.
  reiter(schrift->TabStripSchrift(), 2);
  EXPECT_TRUE(schrift->Frame1(2)->isVisible());
  EXPECT_FALSE(schrift->Frame1(1)->isVisible());
  EXPECT_GT(pixelDerFarbe(schrift->PicMusterSchrift(2)->bild(), gruen), 0);
}

TEST_F(Dialoge, TextdialogDerSwatchFaerbtDasMuster) {
  textWaehlen(3);
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 2);
  const QImage vorher = schrift->PicMusterSchrift(2)->bild();
  EXPECT_EQ(pixelDerFarbe(vorher, rot), 0);
  EXPECT_GT(pixelDerFarbe(vorher, 0), 0);

  farbeKlicken(schrift->Schriftfarbe(), feld(2, 4));
  EXPECT_EQ(s.MusterSchrift->Color1, rot);
  EXPECT_EQ(schrift->Shape(1)->farbe(), rot);
  const QImage nachher = schrift->PicMusterSchrift(2)->bild();
  EXPECT_GT(pixelDerFarbe(nachher, rot), 20);
  EXPECT_EQ(pixelDerFarbe(nachher, 0), 0);
  // The palette paints its swatch where it is clicked.
  EXPECT_EQ(schrift->Schriftfarbe()->grab().toImage().pixelColor(
                schrift->Schriftfarbe()->feldMitte(feld(3, 4))),
            farbeAusRgb(orange));

  // A gradient colour with "kein Farbverlauf" switches the gradient on.
  EXPECT_TRUE(schrift->OptVerlauf(1)->isChecked());
  farbeKlicken(schrift->Farbverlauf(), feld(7, 4));
  EXPECT_TRUE(schrift->OptVerlauf(2)->isChecked());
  EXPECT_EQ(s.MusterSchrift->ColorCircle, 1);
  EXPECT_EQ(s.MusterSchrift->Color2, blau);
  EXPECT_EQ(schrift->Shape(2)->farbe(), blau);
  EXPECT_GT(blaeulich(schrift->PicMusterSchrift(2)->bild()), 20);
  // With a gradient chosen, another gradient colour keeps the mode.
  ankreuzen(schrift->OptVerlauf(3));
  farbeKlicken(schrift->Farbverlauf(), feld(1, 1));
  EXPECT_EQ(s.MusterSchrift->ColorCircle, 2);
}

TEST_F(Dialoge, TextdialogGroessenfeld) {
  textWaehlen(2);
  schrift->zeigen();
  // Typed sizes below 6 become 6; the text stays as typed.
  tippen(schrift->Combo3()->lineEdit(), QStringLiteral("4"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 6.0);
  EXPECT_EQ(schrift->Combo3()->currentText(), QStringLiteral("4"));
  tippen(schrift->Combo3()->lineEdit(), QStringLiteral("13x"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 13.0);
  tippen(schrift->Combo3()->lineEdit(), QStringLiteral("abc"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 6.0);
  // Picking from the list takes the item as it is.
  schrift->Combo3()->setCurrentIndex(0);
  mitPfeilenWaehlen(schrift->Combo3(), QStringLiteral("72"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 72.0);
  mitPfeilenWaehlen(schrift->Combo3(), QStringLiteral("70"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 70.0);

  // Style and face boxes.
  mitPfeilenWaehlen(schrift->Combo2(), QStringLiteral("Kursiv"));
  EXPECT_FALSE(s.MusterSchrift->Bold);
  EXPECT_TRUE(s.MusterSchrift->Italic);
  mitPfeilenWaehlen(schrift->Combo2(), QStringLiteral("Fett"));
  EXPECT_TRUE(s.MusterSchrift->Bold);
  EXPECT_FALSE(s.MusterSchrift->Italic);
  mitPfeilenWaehlen(schrift->Combo1(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(s.MusterSchrift->fontname, QStringLiteral("Liberation Serif"));
  // Fixed-pitch faces are not offered.
  EXPECT_EQ(schrift->Combo1()->findText(QStringLiteral("Courier New")), -1);
}

TEST_F(Dialoge, TextdialogUnbekannteGroesseUndSchrift) {
  // A size that is not listed stays as the edit text; a size below 6 from a file becomes 6.
  ClassSchrift& e = textWaehlen(2);
  e.FontSize = QStringLiteral("11");
  e.fontname = QStringLiteral("Gibtsnicht");
  schrift->zeigen();
  EXPECT_EQ(schrift->Combo3()->currentText(), QStringLiteral("11"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 11.0);
  // A face that is not installed keeps its name, shown in the box, and OK stores it as it
  // was; picking a face replaces it.
  EXPECT_EQ(schrift->Combo1()->currentIndex(), -1);
  EXPECT_EQ(schrift->Combo1()->placeholderText(), QStringLiteral("Gibtsnicht"));
  EXPECT_EQ(s.MusterSchrift->fontname, QStringLiteral("Gibtsnicht"));
  klick(schrift->CommandOK());
  EXPECT_EQ(e.fontname, QStringLiteral("Gibtsnicht"));
  schrift->zeigen();
  mitPfeilenWaehlen(schrift->Combo1(), QStringLiteral("DejaVu Sans"));
  klick(schrift->CommandOK());
  EXPECT_EQ(e.fontname, QStringLiteral("DejaVu Sans"));

  e.FontSize = 4.0;
  schrift->zeigen();
  EXPECT_EQ(schrift->Combo3()->currentText(), QStringLiteral("4"));
  EXPECT_EQ(varianteZahl(s.MusterSchrift->FontSize), 6.0);
}

TEST_F(Dialoge, TextdialogWinkelUndAbstand) {
  textWaehlen(2);
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 4);
  QLineEdit* winkel = schrift->MaskEdBoxAngle();
  tippen(winkel, QStringLiteral("400"));
  EXPECT_EQ(winkel->text(), QStringLiteral("0"));
  EXPECT_EQ(s.MusterSchrift->Angle, 0);
  tippen(winkel, QStringLiteral("360"));
  EXPECT_EQ(winkel->text(), QStringLiteral("360"));
  EXPECT_EQ(s.MusterSchrift->Angle, 360);
  EXPECT_EQ(schrift->SliderAngle()->value(), 360);
  // Letters are refused by the box.
  tippen(winkel, QStringLiteral("9a"));
  EXPECT_EQ(winkel->text(), QStringLiteral("9"));
  EXPECT_EQ(s.MusterSchrift->Angle, 9);
  // The slider moved by the user writes the box.
  QTest::keyClick(schrift->SliderAngle(), Qt::Key_Right);
  EXPECT_EQ(s.MusterSchrift->Angle, 10);
  EXPECT_EQ(winkel->text(), QStringLiteral("10"));

  QLineEdit* abstand = schrift->MaskEdBoxSpace();
  tippen(abstand, QStringLiteral("20"));
  EXPECT_EQ(abstand->text(), QStringLiteral("15"));
  EXPECT_EQ(s.MusterSchrift->CharSpace, 15);
  EXPECT_EQ(schrift->SliderSpace()->value(), 15);
  tippen(abstand, QStringLiteral("-9"));
  EXPECT_EQ(abstand->text(), QStringLiteral("-5"));
  EXPECT_EQ(s.MusterSchrift->CharSpace, -5);
  EXPECT_EQ(schrift->SliderSpace()->value(), -5);
  QTest::keyClick(schrift->SliderSpace(), Qt::Key_End);
  EXPECT_EQ(s.MusterSchrift->CharSpace, 15);
  EXPECT_EQ(abstand->text(), QStringLiteral("15"));
}

TEST_F(Dialoge, TextdialogSchattenrichtung) {
  textWaehlen(2);
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 3);
  // Each sector takes the direction at its lower edge.
  const std::vector<std::tuple<QString, QString, int16_t, int>> faelle = {
      {"360", "0", 0, 3},     {"44", "44", 44, 3},    {"45", "45", 45, 2},
      {"100", "100", 100, 1}, {"359", "359", 359, 4}, {"180", "180", 180, 7},
      {"269", "269", 269, 6}, {"", "", 0, 3},
  };
  for (const auto& [getippt, text, winkel, box] : faelle) {
    tippen(schrift->TextSchattRich(), getippt);
    EXPECT_EQ(schrift->TextSchattRich()->text(), text) << getippt.toStdString();
    EXPECT_EQ(s.MusterSchrift->ShadowAngle, winkel) << getippt.toStdString();
    EXPECT_EQ(markierteRichtungen(*schrift), std::vector<int>{box}) << getippt.toStdString();
  }
  // A click on a direction box writes its angle.
  klick(schrift->PicSchattRich(6));
  EXPECT_EQ(schrift->TextSchattRich()->text(), QStringLiteral("225"));
  EXPECT_EQ(s.MusterSchrift->ShadowAngle, 225);
  EXPECT_EQ(markierteRichtungen(*schrift), std::vector<int>{6});
}

TEST_F(Dialoge, TextdialogSchattenfarbenGebenDemSchattenLaenge) {
  textWaehlen(2);
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 3);
  ASSERT_EQ(s.MusterSchrift->ShadowDeep, 0);
  ASSERT_EQ(s.MusterSchrift->ShadowType, 0);
  EXPECT_EQ(pixelDerFarbe(schrift->PicMusterSchrift(3)->bild(), orange), 0);

  farbeKlicken(schrift->PicSchattFarb2(), feld(3, 4));
  EXPECT_EQ(s.MusterSchrift->ShadowDeep, 10);
  EXPECT_EQ(schrift->SliderSchatten()->value(), 10);
  EXPECT_EQ(s.MusterSchrift->ShadowType, 2);
  EXPECT_EQ(schrift->PicSchattTyp(2)->hintergrund(), markiert);
  EXPECT_EQ(schrift->PicSchattTyp(1)->hintergrund(), normal);
  EXPECT_EQ(s.MusterSchrift->ShadowColor2, orange);
  EXPECT_EQ(schrift->Shape(4)->farbe(), orange);

  // Block shadow in the first shadow colour; the length stays once it is set.
  klick(schrift->PicSchattTyp(1));
  EXPECT_EQ(s.MusterSchrift->ShadowType, 1);
  EXPECT_EQ(schrift->PicSchattTyp(1)->hintergrund(), markiert);
  farbeKlicken(schrift->PicSchattFarb1(), feld(2, 4));
  EXPECT_EQ(s.MusterSchrift->ShadowColor1, rot);
  EXPECT_EQ(s.MusterSchrift->ShadowType, 1);
  QTest::keyClick(schrift->SliderSchatten(), Qt::Key_PageUp);
  EXPECT_EQ(s.MusterSchrift->ShadowDeep, 20);
  EXPECT_GT(pixelDerFarbe(schrift->PicMusterSchrift(3)->bild(), rot), 20);

  // The length 0 again, then the first colour: length 10 and the slider follows.
  QTest::keyClick(schrift->SliderSchatten(), Qt::Key_Home);
  EXPECT_EQ(s.MusterSchrift->ShadowDeep, 0);
  farbeKlicken(schrift->PicSchattFarb1(), feld(7, 4));
  EXPECT_EQ(s.MusterSchrift->ShadowDeep, 10);
  EXPECT_EQ(schrift->SliderSchatten()->value(), 10);
  EXPECT_EQ(s.MusterSchrift->ShadowType, 1);
}

TEST_F(Dialoge, TextdialogMehrFarben) {
  textWaehlen(2);
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 2);
  farbdialogAntwort = orange;
  klick(schrift->ComMehr1());
  EXPECT_EQ(s.MusterSchrift->Color1, orange);
  EXPECT_EQ(schrift->Shape(1)->farbe(), orange);
  // A cancelled colour dialog leaves the colour; the text dialog keeps "kein Farbverlauf".
  farbdialogAntwort.reset();
  klick(schrift->ComMehr2());
  EXPECT_EQ(s.MusterSchrift->Color2, 0);
  EXPECT_TRUE(schrift->OptVerlauf(1)->isChecked());
  reiter(schrift->TabStripSchrift(), 3);
  farbdialogAntwort = blau;
  klick(schrift->CommandMehr2());
  EXPECT_EQ(s.MusterSchrift->ShadowColor2, blau);
  EXPECT_EQ(s.MusterSchrift->ShadowType, 0);
  klick(schrift->CommandMehr1());
  EXPECT_EQ(s.MusterSchrift->ShadowColor1, blau);
  EXPECT_EQ(schrift->Shape(3)->farbe(), blau);
  // Each dialog starts from the member's colour.
  EXPECT_EQ(farbdialogStarts, (std::vector<int32_t>{0, 0, 0, RGB(192, 192, 192)}));
}

TEST_F(Dialoge, TextdialogOkSchreibtZurueck) {
  ClassSchrift& e = textWaehlen(4, QStringLiteral("Straße"));
  e.Data = 7;
  e.Top = 120;
  e.widht = 340;
  e.x = 11;
  e.z = 12;
  schrift->zeigen();

  tippen(schrift->Schrifttext(), QStringLiteral("Hauptstraße 1"));
  ankreuzen(schrift->Check1());
  ankreuzen(schrift->Check4());
  mitPfeilenWaehlen(schrift->Combo1(), QStringLiteral("Liberation Serif"));
  mitPfeilenWaehlen(schrift->Combo2(), QStringLiteral("Kursiv"));
  tippen(schrift->Combo3()->lineEdit(), QStringLiteral("15"));
  reiter(schrift->TabStripSchrift(), 2);
  farbeKlicken(schrift->Schriftfarbe(), feld(5, 2));
  farbeKlicken(schrift->Farbverlauf(), feld(3, 4));
  ankreuzen(schrift->OptVerlauf(3));
  reiter(schrift->TabStripSchrift(), 3);
  klick(schrift->PicSchattRich(4));
  farbeKlicken(schrift->PicSchattFarb1(), feld(7, 4));
  farbeKlicken(schrift->PicSchattFarb2(), feld(2, 4));
  QTest::keyClick(schrift->SliderSchatten(), Qt::Key_PageUp);
  reiter(schrift->TabStripSchrift(), 4);
  tippen(schrift->MaskEdBoxSpace(), QStringLiteral("4"));
  ankreuzen(schrift->OptAus(3));
  ankreuzen(schrift->OptAus(6));
  const int vorher = fenster.gezeichnet;
  klick(schrift->CommandOK());

  EXPECT_FALSE(schrift->isVisible());
  EXPECT_EQ(s.Mustermodus, 0);
  EXPECT_EQ(e.Textstring, QStringLiteral("Hauptstraße 1"));
  EXPECT_EQ(fenster.felder[4], QStringLiteral("Hauptstraße 1"));
  EXPECT_FALSE(e.Sichtbar);
  EXPECT_TRUE(e.Strike);
  EXPECT_FALSE(e.Underline);
  EXPECT_EQ(e.fontname, QStringLiteral("Liberation Serif"));
  EXPECT_FALSE(e.Bold);
  EXPECT_TRUE(e.Italic);
  EXPECT_EQ(varianteZahl(e.FontSize), 15.0);
  EXPECT_EQ(e.Color1, gruen);
  EXPECT_EQ(e.Color2, orange);
  EXPECT_EQ(e.ColorCircle, 2);
  EXPECT_EQ(e.ShadowAngle, 315);
  EXPECT_EQ(e.ShadowColor1, blau);
  EXPECT_EQ(e.ShadowColor2, rot);
  EXPECT_EQ(e.ShadowType, 2);
  EXPECT_EQ(e.ShadowDeep, 20);
  EXPECT_EQ(e.CharSpace, 4);
  // Not rotated: the alignment stays as chosen.
  EXPECT_EQ(e.Angle, 0);
  EXPECT_EQ(e.AusrichtungH, 2);
  EXPECT_EQ(e.AusrichtungV, 2);
  // What the working copy never received stays the element's own.
  EXPECT_EQ(e.Data, 7);
  EXPECT_EQ(e.Top, 120);
  EXPECT_EQ(e.widht, 340);
  EXPECT_EQ(e.x, 11);
  EXPECT_EQ(e.z, 12);
  EXPECT_GT(fenster.gezeichnet, vorher);
  EXPECT_GE(fenster.markierungen, 1);
  EXPECT_TRUE(fenster.meldungen.empty());

  // A rotated text comes back centred both ways, whatever alignment was chosen.
  schrift->zeigen();
  reiter(schrift->TabStripSchrift(), 4);
  tippen(schrift->MaskEdBoxAngle(), QStringLiteral("30"));
  ankreuzen(schrift->OptAus(1));
  ankreuzen(schrift->OptAus(4));
  QTest::keyClick(schrift.get(), Qt::Key_Return);  // Enter presses "Ok"
  EXPECT_FALSE(schrift->isVisible());
  EXPECT_EQ(e.Angle, 30);
  EXPECT_EQ(e.AusrichtungH, 1);
  EXPECT_EQ(e.AusrichtungV, 1);
}

// Every field of the element set: OK without an edit leaves it as it was.
TEST_F(Dialoge, TextdialogOkOhneAenderungLaesstDasElement) {
  ClassSchrift& e = textWaehlen(4, QStringLiteral("Straße"));
  e = ClassSchrift{.Sichtbar = true,
                   .AusrichtungV = 1,
                   .AusrichtungH = 1,
                   .Data = 7,
                   .Textstring = QStringLiteral("Straße"),
                   .ColorCircle = 2,
                   .z = 12,
                   .Height = 30,
                   .widht = 340,
                   .Top = 120,
                   .x = 11,
                   .Color2 = orange,
                   .Color1 = gruen,
                   .Strike = true,
                   .Bold = true,
                   .Italic = true,
                   .Underline = true,
                   .FontSize = 36.0,
                   .fontname = QStringLiteral("Arial"),
                   .CharSpace = 3,
                   .Angle = 15,
                   .ShadowAngle = 200,
                   .ShadowWay = 1,
                   .ShadowType = 1,
                   .ShadowDeep = 40,
                   .ShadowColor2 = rot,
                   .ShadowColor1 = blau};
  const ClassSchrift vorher = e;
  schrift->zeigen();
  klick(schrift->CommandOK());
  EXPECT_FALSE(schrift->isVisible());
  EXPECT_EQ(e, vorher);
}

TEST_F(Dialoge, TextdialogAbbruchLaesstDasElement) {
  ClassSchrift& e = textWaehlen(4, QStringLiteral("Straße"));
  const ClassSchrift vorher = e;
  const int gezeichnet = fenster.gezeichnet;
  for (int weg = 0; weg < 3; ++weg) {
    schrift->zeigen();
    tippen(schrift->Schrifttext(), QStringLiteral("anders"));
    mitPfeilenWaehlen(schrift->Combo2(), QStringLiteral("Fett"));
    reiter(schrift->TabStripSchrift(), 4);
    tippen(schrift->MaskEdBoxAngle(), QStringLiteral("45"));
    if (weg == 0) klick(schrift->CommandAbbruch());
    if (weg == 1) QTest::keyClick(schrift.get(), Qt::Key_Escape);
    if (weg == 2) schrift->close();  // the title bar's close button
    EXPECT_FALSE(schrift->isVisible()) << weg;
    EXPECT_EQ(s.Mustermodus, 0) << weg;
    EXPECT_EQ(e, vorher) << weg;
  }
  // Cancel asks nothing and draws nothing when no frame is removed.
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(fenster.gezeichnet, gezeichnet);
  EXPECT_EQ(fenster.felder[4], QString());
}

TEST_F(Dialoge, TextdialogLeereTexte) {
  // A side-panel text emptied: the field is emptied and the frame stays.
  textWaehlen(5, QStringLiteral("Fax"));
  schrift->zeigen();
  tippen(schrift->Schrifttext(), QString());
  klick(schrift->CommandOK());
  EXPECT_EQ(s.schrift(5).Textstring, QString());
  EXPECT_EQ(fenster.felder[5], QString());
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_TRUE(fenster.meldungen.empty());

  // An inserted text emptied: the frame is deleted after asking; refused, it stays.
  textEinfuegen();
  s.schrift(31).Textstring = QStringLiteral("Neu");
  fenster.antwort = 2;
  schrift->zeigen();
  tippen(schrift->Schrifttext(), QString());
  klick(schrift->CommandOK());
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(fenster.meldungen[0].text, QStringLiteral("Diesen Rahmen löschen?"));
  EXPECT_EQ(s.AnzahlRahmen, 32);
  fenster.antwort = 1;
  schrift->zeigen();
  klick(schrift->CommandOK());
  EXPECT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.AnzahlSchriften, 30);
  EXPECT_EQ(s.AktuelleSchrift, 1);

  // Cancel on a freshly inserted, still empty text asks the same question.
  textEinfuegen();
  schrift->zeigen();
  tippen(schrift->Schrifttext(), QStringLiteral("nicht genommen"));
  klick(schrift->CommandAbbruch());
  ASSERT_EQ(fenster.meldungen.size(), 3u);
  EXPECT_EQ(fenster.meldungen[2].text, QStringLiteral("Diesen Rahmen löschen?"));
  EXPECT_EQ(s.AnzahlRahmen, 31);
}

// --- Line dialog -----------------------------------------------------------------------------

TEST_F(Dialoge, LiniendialogOeffnetEinNeuesElement) {
  ClassLinie& e = linieEinfuegen();
  linie->zeigen();
  EXPECT_TRUE(linie->isVisible());
  EXPECT_EQ(linie->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(s.Mustermodus, -1);
  EXPECT_EQ(*s.MusterLinie, e);
  EXPECT_EQ(linie->Linienform(1)->hintergrund(), markiert);
  for (int k = 2; k <= 30; ++k) EXPECT_EQ(linie->Linienform(k)->hintergrund(), RGB(255, 255, 255));
  EXPECT_TRUE(linie->OptVerlauf(1)->isChecked());
  EXPECT_FALSE(linie->CheckFuellen()->isChecked());
  EXPECT_EQ(linie->PicSchattTyp(2)->hintergrund(), markiert);
  EXPECT_EQ(linie->PicSchattTyp(1)->hintergrund(), normal);
  EXPECT_EQ(s.MusterLinie->ShadowType, 0);
  EXPECT_EQ(linie->TextSchattRich()->text(), QStringLiteral("45"));
  EXPECT_EQ(markierteRichtungen(*linie), std::vector<int>{2});
  // Thickness 1 lies below the slider: shown at its minimum, not stored.
  EXPECT_EQ(linie->SliderHeight()->value(), 2);
  EXPECT_EQ(s.MusterLinie->Staerke, 1);
  EXPECT_EQ(s.MusterRahmen->x, 35);
  EXPECT_EQ(s.MusterRahmen->y, 35);
  EXPECT_EQ(s.MusterRahmen->Breite, 482);
  EXPECT_EQ(s.MusterRahmen->Hoehe, 101);

  // The sample: a horizontal black bar through the middle of the frame.
  const QImage muster = linie->PicMusterLinie(1)->bild();
  EXPECT_EQ(muster.pixelColor(100, 32), QColor(Qt::black));
  EXPECT_EQ(muster.pixelColor(100, 10), QColor(Qt::white));
  EXPECT_EQ(muster.pixelColor(5, 32), QColor(Qt::white));
  // Icons: box 1 holds a horizontal line, box 4 a rising diagonal, 18 a circle, 19 nothing.
  const QImage form1 = linie->Linienform(1)->flaeche().bild();
  EXPECT_EQ(form1.pixelColor(8, 11), QColor(Qt::black));
  EXPECT_EQ(form1.pixelColor(8, 5), farbeAusRgb(markiert));
  const QImage form4 = linie->Linienform(4)->flaeche().bild();
  EXPECT_EQ(form4.pixelColor(3, 19), QColor(Qt::black));
  EXPECT_EQ(form4.pixelColor(3, 3), QColor(Qt::white));
  const QImage form18 = linie->Linienform(18)->flaeche().bild();
  EXPECT_EQ(form18.pixelColor(3, 11), QColor(Qt::black));
  EXPECT_EQ(form18.pixelColor(11, 11), QColor(Qt::white));
  EXPECT_EQ(nichtWeiss(linie->Linienform(19)->flaeche().bild()), 0);

  // Untouched, the thickness survives OK.
  klick(linie->Command3());
  EXPECT_EQ(e.Staerke, 1);
  linie->zeigen();
  QTest::keyClick(linie->SliderHeight(), Qt::Key_Right);
  EXPECT_EQ(s.MusterLinie->Staerke, 3);
  klick(linie->Command3());
  EXPECT_EQ(e.Staerke, 3);
}

TEST_F(Dialoge, LiniendialogSchattenrichtung) {
  linieEinfuegen();
  linie->zeigen();
  reiter(linie->TabStripLinie(), 2);
  const std::vector<std::tuple<QString, QString, int16_t, int>> faelle = {
      {"400", "0", 0, 3},     {"44", "44", 44, 3},    {"45", "45", 45, 2},
      {"100", "100", 100, 1}, {"315", "315", 315, 4}, {"134", "134", 134, 1},
  };
  for (const auto& [getippt, text, winkel, box] : faelle) {
    tippen(linie->TextSchattRich(), getippt);
    EXPECT_EQ(linie->TextSchattRich()->text(), text) << getippt.toStdString();
    EXPECT_EQ(s.MusterLinie->ShadowAngle, winkel) << getippt.toStdString();
    EXPECT_EQ(markierteRichtungen(*linie), std::vector<int>{box}) << getippt.toStdString();
  }
  for (int k = 1; k <= 8; ++k) {
    klick(linie->PicSchattRich(k));
    EXPECT_EQ(s.MusterLinie->ShadowAngle, Richtungswahl::Winkel(k));
    EXPECT_EQ(markierteRichtungen(*linie), std::vector<int>{k});
  }
  // The centre box has no function.
  const ClassLinie vorher = *s.MusterLinie;
  klick(linie->Picture56());
  EXPECT_EQ(*s.MusterLinie, vorher);
}

TEST_F(Dialoge, LiniendialogSchattenWirdSichtbar) {
  linieEinfuegen();
  linie->zeigen();
  reiter(linie->TabStripLinie(), 2);
  klick(linie->PicSchattTyp(1));
  EXPECT_EQ(s.MusterLinie->ShadowType, 1);
  farbeKlicken(linie->PicSchattFarb1(), feld(2, 4));
  EXPECT_EQ(s.MusterLinie->ShadowDeep, 10);
  EXPECT_EQ(linie->SliderSchatten()->value(), 10);
  EXPECT_EQ(s.MusterLinie->ShadowColor1, rot);
  EXPECT_EQ(linie->Shape(3)->farbe(), rot);
  // The block shadow lies 100 twips (about 7 pixels) up and to the right of the bar.
  const QImage muster = linie->PicMusterLinie(2)->bild();
  EXPECT_GT(pixelDerFarbe(muster, rot), 100);
  EXPECT_EQ(muster.pixelColor(100, 32 - 5), farbeAusRgb(rot));

  // "Mehr..." of the second shadow colour selects the graded shadow unless cancelled.
  farbdialogAntwort.reset();
  klick(linie->CommandMehr2());
  EXPECT_EQ(s.MusterLinie->ShadowType, 1);
  farbdialogAntwort = blau;
  klick(linie->CommandMehr2());
  EXPECT_EQ(s.MusterLinie->ShadowType, 2);
  EXPECT_EQ(linie->PicSchattTyp(2)->hintergrund(), markiert);
  EXPECT_EQ(s.MusterLinie->ShadowColor2, blau);
  EXPECT_EQ(linie->Shape(4)->farbe(), blau);
}

TEST_F(Dialoge, LiniendialogFarbenUndVerlauf) {
  linieEinfuegen();
  linie->zeigen();
  EXPECT_EQ(pixelDerFarbe(linie->PicMusterLinie(1)->bild(), blau), 0);
  farbeKlicken(linie->Schriftfarbe(), feld(7, 4));
  EXPECT_EQ(s.MusterLinie->Color1, blau);
  EXPECT_EQ(linie->Shape(1)->farbe(), blau);
  EXPECT_GT(pixelDerFarbe(linie->PicMusterLinie(1)->bild(), blau), 100);

  // A gradient colour with "kein Farbverlauf" switches the gradient on first.
  farbeKlicken(linie->Farbverlauf(), feld(2, 4));
  EXPECT_TRUE(linie->OptVerlauf(2)->isChecked());
  EXPECT_EQ(s.MusterLinie->ColorCircle, 1);
  EXPECT_EQ(s.MusterLinie->Color2, rot);
  const QImage verlauf = linie->PicMusterLinie(1)->bild();
  // Pixel 40 lies in band 14 of 100 (bands 1.822 pixels wide from pixel 13.23 on).
  EXPECT_EQ(verlauf.pixelColor(40, 32), QColor(36, 0, 219));

  // "Mehr..." of the gradient colour: even cancelled it switches the gradient on.
  ankreuzen(linie->OptVerlauf(1));
  EXPECT_EQ(s.MusterLinie->ColorCircle, 0);
  farbdialogAntwort.reset();
  klick(linie->ComMehr2());
  EXPECT_EQ(s.MusterLinie->Color2, rot);
  EXPECT_TRUE(linie->OptVerlauf(2)->isChecked());
  EXPECT_EQ(s.MusterLinie->ColorCircle, 1);
  farbdialogAntwort = gruen;
  klick(linie->ComMehr1());
  EXPECT_EQ(s.MusterLinie->Color1, gruen);
  EXPECT_EQ(linie->Shape(1)->farbe(), gruen);

  // "Farbverlauf in beide Richtungen" changes nothing.
  const ClassLinie vorher = *s.MusterLinie;
  ankreuzen(linie->Check6());
  EXPECT_TRUE(linie->Check6()->isChecked());
  EXPECT_EQ(*s.MusterLinie, vorher);
}

TEST_F(Dialoge, LiniendialogFormen) {
  linieEinfuegen();
  linie->zeigen();
  reiter(linie->TabStripLinie(), 3);
  klick(linie->Linienform(16));
  EXPECT_EQ(s.MusterLinie->Form, 16);
  EXPECT_EQ(linie->Linienform(16)->hintergrund(), markiert);
  EXPECT_EQ(linie->Linienform(1)->hintergrund(), RGB(255, 255, 255));
  // The icons are drawn again over the new backgrounds.
  EXPECT_EQ(linie->Linienform(1)->flaeche().bild().pixelColor(8, 11), QColor(Qt::black));
  EXPECT_EQ(linie->Linienform(16)->flaeche().bild().pixelColor(3, 10), QColor(Qt::black));
  // The rectangle's outline runs along the sample frame.
  const QImage rechteck = linie->PicMusterLinie(3)->bild();
  EXPECT_EQ(rechteck.pixelColor(100, 13), QColor(Qt::black));
  EXPECT_EQ(rechteck.pixelColor(100, 32), QColor(Qt::white));

  // A box beyond the 18 forms: no figure at all.
  klick(linie->Linienform(25));
  EXPECT_EQ(s.MusterLinie->Form, 25);
  EXPECT_EQ(linie->Linienform(25)->hintergrund(), markiert);
  EXPECT_EQ(linie->Linienform(16)->hintergrund(), RGB(255, 255, 255));
  EXPECT_EQ(nichtWeiss(linie->PicMusterLinie(3)->bild()), 0);
}

TEST_F(Dialoge, LiniendialogOkKopiertAlles) {
  ClassLinie& e = linieEinfuegen();
  e.x = 3.5f;
  e.widht = 7.25f;
  e.Angle = 12;
  linie->zeigen();
  QTest::keyClick(linie->SliderHeight(), Qt::Key_End);
  ankreuzen(linie->CheckFuellen());
  ankreuzen(linie->OptVerlauf(3));
  farbeKlicken(linie->Schriftfarbe(), feld(5, 2));
  farbeKlicken(linie->Farbverlauf(), feld(3, 4));
  reiter(linie->TabStripLinie(), 2);
  klick(linie->PicSchattRich(7));
  QTest::keyClick(linie->SliderSchatten(), Qt::Key_PageUp);
  farbeKlicken(linie->PicSchattFarb2(), feld(7, 4));
  reiter(linie->TabStripLinie(), 3);
  klick(linie->Linienform(17));
  const ClassLinie erwartet = *s.MusterLinie;
  const int vorher = fenster.gezeichnet;
  klick(linie->Command3());

  EXPECT_FALSE(linie->isVisible());
  EXPECT_EQ(s.Mustermodus, 0);
  EXPECT_GT(fenster.gezeichnet, vorher);
  EXPECT_EQ(e, erwartet);
  EXPECT_EQ(e.Staerke, 50);
  EXPECT_TRUE(e.Fuellung);
  EXPECT_EQ(e.ColorCircle, 2);
  EXPECT_EQ(e.Color1, gruen);
  EXPECT_EQ(e.Color2, orange);
  EXPECT_EQ(e.ShadowAngle, 180);
  EXPECT_EQ(e.ShadowDeep, 10);
  EXPECT_EQ(e.ShadowType, 2);
  EXPECT_EQ(e.ShadowColor2, blau);
  EXPECT_EQ(e.Form, 17);
  EXPECT_EQ(e.x, 3.5f);
  EXPECT_EQ(e.widht, 7.25f);
  EXPECT_EQ(e.Angle, 12);
}

TEST_F(Dialoge, LiniendialogAbbruchZeichnetDieSeite) {
  ClassLinie& e = linieEinfuegen();
  const ClassLinie vorher = e;
  for (int weg = 0; weg < 3; ++weg) {
    linie->zeigen();
    farbeKlicken(linie->Schriftfarbe(), feld(2, 4));
    ankreuzen(linie->CheckFuellen());
    reiter(linie->TabStripLinie(), 3);
    klick(linie->Linienform(12));
    const int gezeichnet = fenster.gezeichnet;
    if (weg == 0) klick(linie->Command1());
    if (weg == 1) QTest::keyClick(linie.get(), Qt::Key_Escape);
    if (weg == 2) linie->close();
    EXPECT_FALSE(linie->isVisible()) << weg;
    EXPECT_EQ(s.Mustermodus, 0) << weg;
    EXPECT_EQ(e, vorher) << weg;
    EXPECT_GT(fenster.gezeichnet, gezeichnet) << weg;
    EXPECT_EQ(s.AnzahlRahmen, 32) << weg;
  }
  // Each opening starts on the first tab.
  linie->zeigen();
  EXPECT_EQ(linie->TabStripLinie()->currentIndex(), 0);
  EXPECT_TRUE(linie->Frame1(1)->isVisible());
  EXPECT_EQ(linie->Linienform(1)->hintergrund(), markiert);
  EXPECT_EQ(linie->Linienform(12)->hintergrund(), RGB(255, 255, 255));
}

TEST_F(Dialoge, Aussehen) {
  ClassSchrift& t = textWaehlen(1, QStringLiteral("Muster"));
  t.ShadowDeep = 30;
  t.Color2 = blau;
  t.ColorCircle = 1;
  schrift->zeigen();
  for (int i = 1; i <= 4; ++i) {
    reiter(schrift->TabStripSchrift(), i);
    EXPECT_GT(nichtWeiss(schrift->PicMusterSchrift(i)->bild()), 0) << i;
    bildSichern(schrift.get(), QStringLiteral("frmSchrift_%1.png").arg(i));
  }
  klick(schrift->CommandAbbruch());

  ClassLinie& l = linieEinfuegen();
  l.Form = 18;
  l.Fuellung = true;
  l.Color2 = orange;
  l.ShadowDeep = 10;
  linie->zeigen();
  for (int i = 1; i <= 3; ++i) {
    reiter(linie->TabStripLinie(), i);
    EXPECT_GT(pixelDerFarbe(linie->PicMusterLinie(i)->bild(), orange), 100) << i;
    bildSichern(linie.get(), QStringLiteral("frmlinie_%1.png").arg(i));
  }
  klick(linie->Command1());
}

}  // namespace
