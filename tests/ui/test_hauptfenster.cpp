// The main window driven like a user does: clicks and drags on the page and its handles, the
// Delete key, typing into the side panels, menus, closing. Every case runs in a start-up
// folder of its own (copies of the shipped data files) with a settings store of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <functional>
#include <memory>

#include "core/auswahl.h"
#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "core/start.h"
#include "gemeinsam/fallnamen.h"
#include "hauptfenster_test.h"
#include "io/frmvorschau.h"
#include "platform/ansichtsfenster.h"
#include "platform/datensteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/richtextbox.h"
#include "ui/frmmain.h"
#include "ui/frmsuchen.h"
#include "ui/seitenansicht.h"

namespace {

using namespace hauptfenstertest;

TEST_F(Hauptfenster, StartZeigtVorlageUndPasstDieSeiteDerBreiteAn) {
  starten(QSize(800, 600));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("QX Marvolant - Version 7.16"));
  EXPECT_TRUE(meldungen.empty());
  EXPECT_EQ(w->minimumSize(), QSize(800, 600));

  // Fit to width: the whole page width shows in the viewport, nearly filling it.
  const int sichtbar = w->VSView()->viewport()->width();
  EXPECT_LE(seite()->width(), sichtbar);
  EXPECT_GE(seite()->width(), sichtbar * 9 / 10);
  EXPECT_GE(s->Zoom, 10);
  EXPECT_LE(s->Zoom, 1000);

  // The template is loaded and the side panel shows its sender texts.
  EXPECT_FALSE(w->Text1(1).isEmpty());
  EXPECT_EQ(w->Text1(1), s->schrift(1).Textstring);
  EXPECT_EQ(w->Frame1()->currentIndex(), 0);

  // Font boxes: every font, the styles, the sizes 8..72.
  EXPECT_GT(w->Combo1()->count(), 0);
  ASSERT_EQ(w->Combo2()->count(), 4);
  EXPECT_EQ(w->Combo2()->itemText(3), QStringLiteral("Kursiv Fett"));
  ASSERT_EQ(w->Combo3()->count(), 33);
  EXPECT_EQ(w->Combo3()->itemText(0), QStringLiteral("8"));
  EXPECT_EQ(w->Combo3()->itemText(32), QStringLiteral("72"));

  // The properties button reads "Schriftart" after loading, as the selected frame is text.
  EXPECT_EQ(aktion(QStringLiteral("Eigenschaft"))->text(), QStringLiteral("Schriftart"));
  EXPECT_EQ(aktion(QStringLiteral("Eigenschaft"))->toolTip(),
            QStringLiteral("Einstellen des Objektes"));
  EXPECT_EQ(aktion(QStringLiteral("Neu"))->toolTip(),
            QStringLiteral("Alle Eingaben werden gelöscht"));
  EXPECT_EQ(aktion(QStringLiteral("Einfügen"))->toolTip(),
            QStringLiteral("Einfügen eines neuen Rahmen"));

  // The address panel shows the first record.
  EXPECT_EQ(w->Data1()->Caption(), QStringLiteral(" Adresse Nr. 1"));
  EXPECT_EQ(w->TextDatensatznummer()->text(), QStringLiteral("1"));
  EXPECT_EQ(w->Text1(27), QStringLiteral("München"));
  EXPECT_EQ(w->statusText(1), QStringLiteral("Status"));
}

TEST_F(Hauptfenster, BrieftextKommtAusDemStartordnerOderBleibtLeer) {
  // Found whatever the letter case of the file name.
  ASSERT_TRUE(QFile::rename(ordner.filePath(QStringLiteral("RTF1.rtf")),
                            ordner.filePath(QStringLiteral("rtf1.RTF"))));
  starten();
  EXPECT_TRUE(w->Brieftext()->Text().contains(QStringLiteral("Guten Tag #Feld22")));
  EXPECT_TRUE(s->BrieftextRTF.startsWith(QStringLiteral("{\\rtf1")));
  EXPECT_TRUE(s->BrieftextRTF.contains(QStringLiteral("Ihre Anfrage")));
  EXPECT_FALSE(w->Brieftext()->isVisible());
  w.reset();

  // Without the file: an empty letter and no message.
  ASSERT_TRUE(QFile::remove(ordner.filePath(QStringLiteral("rtf1.RTF"))));
  meldungen.clear();
  starten();
  EXPECT_TRUE(meldungen.empty());
  EXPECT_TRUE(w->Brieftext()->Text().isEmpty());
  EXPECT_FALSE(s->BrieftextRTF.contains(QStringLiteral("Anfrage")));
}

TEST_F(Hauptfenster, MenuesTragenIhreBeschriftungen) {
  starten();
  const std::vector<std::pair<const char*, const char*>> punkte = {
      {"mnuFileNew", "&Neu"},
      {"mnuFileOpen", "Ö&ffnen..."},
      {"mnuFileClose", "S&chließen"},
      {"mnuFileSave", "&Speichern"},
      {"mnuFileSaveAs", "Speichern &unter..."},
      {"mnuBildSpeichern", "als Bild speichern"},
      {"mnuWord", "in Word exportieren"},
      {"mnuFilePageSetup", "Seite &einrichten..."},
      {"mnuFilePrintPreview", "Seitenvorschau"},
      {"mnuFilePrint", "Dru&cken..."},
      {"mnuFileExit", "&Beenden"},
      {"mnuBrief", "Brief"},
      {"mnuRaster", "Raster"},
      {"mnuGitterlinienansicht", "Raster"},
      {"mnuHilfsbereiche", "Hilfsbereiche"},
      {"mnuViewSeitenbreite", "&Seitenbreite"},
      {"mnuViewganze_Seite", "&ganze Seite"},
      {"mnuViewProzent50", "50 %"},
      {"mnuViewProzent200", "200 %"},
      {"mnuRahmensichtbar", "Alle anzeigen"},
      {"mmummgenau", "1/10 mm genau"},
      {"mnuRahmenMagnet", "Rastermagnet"},
      {"mnuRahmenEinfuegen", "Einfügen"},
      {"mnuRahmenLoeschen", "Löschen"},
      {"mnuRahmenPositionieren", "Positionieren"},
      {"mnuverankert", "verankern"},
      {"mnuRahmenvorne", "ganz nach vorne"},
      {"mnuRahmeneinshinten", "eins nach hinten"},
      {"mnuHelpContents", "&Inhalt"},
      {"mnuHelpQX", "Zur QX-Homepage"},
      {"mnuHelpHotline", "Mail an den Autor"},
      {"mnuupdate", "Programm aktualisieren"},
      {"mnuInfo", "Info"},
      {"mnuVerankern", "Verankern"},
      {"popganzvorn", "ganz nach vorne"},
      {"popeinshinten", "eins nach hinten"},
  };
  for (const auto& [name, text] : punkte) {
    if (QAction* a = aktion(QString::fromUtf8(name))) {
      EXPECT_EQ(a->text(), QString::fromUtf8(text)) << name;
    }
  }
  QStringList menues;
  for (QAction* a : w->menuBar()->actions()) menues << a->text();
  EXPECT_EQ(menues, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "&Rahmen", "&Hilfe"}));
  EXPECT_EQ(w->PopSchrift()->actions().first()->text(), QStringLiteral("Eigenschaft"));
}

// Clicks where two anchored frames overlap select them in turn; a click exactly on a
// frame's left edge does not hit it.
TEST_F(Hauptfenster, KlicksWechselnZwischenUeberlappendenRahmen) {
  starten();
  zoom(100);
  vorlageAusblenden();
  for (int n = 32; n <= 34; ++n) s->rahmen(neuerRahmen(100, 2700, 100, 100)).Sichtbar = false;
  const int a = neuerRahmen(300, 2200, 500, 200);
  const int b = neuerRahmen(500, 2300, 500, 200);
  ASSERT_EQ(a, 35);
  ASSERT_EQ(b, 36);
  s->rahmen(a).Verankert = true;
  s->rahmen(b).Verankert = true;
  waehle(a);

  const QPoint innen = pixel(600, 2350);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, innen);
  EXPECT_EQ(s->AktuellerRahmen, 36);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, innen);
  EXPECT_EQ(s->AktuellerRahmen, 35);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, innen);
  EXPECT_EQ(s->AktuellerRahmen, 36);
  // The rectangle follows the selection.
  EXPECT_EQ(w->Rahmen(), RahmenRechteck(*s, 36));

  // x = 500 lies at exactly 189 pixels at 100 %: on the edge frame 36 is missed.
  waehle(a);
  const QPoint kante(189, innen.y());
  ASSERT_DOUBLE_EQ(kante.x() * 15.0, 500 * 5.67);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, kante);
  EXPECT_EQ(s->AktuellerRahmen, 35);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, kante + QPoint(1, 0));
  EXPECT_EQ(s->AktuellerRahmen, 36);
}

struct Verschiebefall {
  double magnetAn;
  double mmGenau;
  int32_t x, y, breite, hoehe;  // expected frame after the drop
};

class Verschieben : public Hauptfenster, public ::testing::WithParamInterface<Verschiebefall> {};

// A frame 480 x 230 at (1000, 2200) dragged by 97 x 52 pixels is released at
// x = 1257, y = 2338; the magnet or the whole-millimetre rule decides where it lands.
TEST_P(Verschieben, LandetWoMagnetUndMillimeterEsHinlegen) {
  const Verschiebefall fall = GetParam();
  starten();
  zoom(100);
  vorlageAusblenden();
  s->MagnetAn = fall.magnetAn;
  s->MagnetX = 100;
  s->MagnetY = 50;
  s->MmGenau = fall.mmGenau;
  const int n = neuerRahmen(1000, 2200, 480, 230);
  const QPoint start = pixel(1200, 2300);
  ziehen(seite(), start, start + QPoint(97, 52));
  const ClassRahmen& r = s->rahmen(n);
  EXPECT_EQ(r.x, fall.x);
  EXPECT_EQ(r.y, fall.y);
  EXPECT_EQ(r.Breite, fall.breite);
  EXPECT_EQ(r.Hoehe, fall.hoehe);
  EXPECT_EQ(s->Ziehmodus, 0);
  EXPECT_EQ(s->AktuellerRahmen, n);
  // The rectangle and the handles sit on the frame again.
  EXPECT_EQ(w->Rahmen(), RahmenRechteck(*s, n));
  EXPECT_TRUE(seite()->ziehpunkt(5)->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Hauptfenster, Verschieben,
                         ::testing::Values(Verschiebefall{0, 0, 1257, 2338, 480, 230},
                                           Verschiebefall{-1, 0, 1200, 2300, 400, 200},
                                           Verschiebefall{0, -1, 1250, 2330, 480, 230},
                                           Verschiebefall{-1, -1, 1200, 2300, 400, 200}),
                         benannt([](const Verschiebefall& f) {
                           return std::string(f.magnetAn != 0 ? "Magnet" : "ohneMagnet") +
                                  (f.mmGenau != 0 ? "_ganzeMm" : "_Zehntelmm");
                         }));

TEST_F(Hauptfenster, VerankerterRahmenUndRechteMaustasteBewegenNichts) {
  starten();
  zoom(100);
  vorlageAusblenden();
  const int n = neuerRahmen(1000, 2200, 500, 200);
  const QPoint mitte = pixel(1250, 2300);

  // The right button: no move, no hit test, the popup opens with "Verankern" unmarked.
  ziehen(seite(), mitte, mitte + QPoint(60, 40), Qt::RightButton);
  EXPECT_EQ(s->rahmen(n).x, 1000);
  EXPECT_EQ(s->rahmen(n).y, 2200);
  EXPECT_EQ(s->AktuellerRahmen, n);
  EXPECT_EQ(s->Ziehmodus, 0);
  EXPECT_TRUE(w->PopSchrift()->isVisible());
  EXPECT_FALSE(aktion(QStringLiteral("mnuVerankern"))->isChecked());
  w->PopSchrift()->hide();

  // "Verankern" in the popup anchors the frame: then neither the page nor a handle moves it.
  aktion(QStringLiteral("mnuVerankern"))->trigger();
  ASSERT_TRUE(s->rahmen(n).Verankert);
  ziehen(seite(), mitte, mitte + QPoint(60, 40));
  EXPECT_EQ(s->rahmen(n).x, 1000);
  EXPECT_EQ(s->rahmen(n).y, 2200);
  ziehpunktZiehen(5, QPoint(50, 50));
  EXPECT_EQ(s->rahmen(n).Breite, 500);
  EXPECT_EQ(s->rahmen(n).Hoehe, 200);
  EXPECT_EQ(s->Ziehmodus, 0);

  // A right press while the left button drags ends the drag where it is; the left
  // release afterwards is no click.
  s->rahmen(n).Verankert = false;
  QTest::mousePress(seite(), Qt::LeftButton, {}, mitte);
  QTest::mouseMove(seite(), mitte + QPoint(30, 0));
  QTest::mousePress(seite(), Qt::RightButton, {}, mitte + QPoint(30, 0));
  QTest::mouseRelease(seite(), Qt::RightButton, {}, mitte + QPoint(30, 0));
  EXPECT_EQ(s->Ziehmodus, 0);
  EXPECT_EQ(s->rahmen(n).x, 1000 + static_cast<int>(std::lround(30 * 15 / 5.67)));
  QTest::mouseRelease(seite(), Qt::LeftButton, {}, mitte + QPoint(30, 0));
  EXPECT_EQ(s->AktuellerRahmen, n);
  EXPECT_FALSE(w->PopSchrift()->isVisible());
}

struct Ziehpunktfall {
  int ziehpunkt;
  QPoint weg;  // pixels, far beyond the opposite edge
  int32_t x, y, breite, hoehe;
};

class Ziehpunkte : public Hauptfenster, public ::testing::WithParamInterface<Ziehpunktfall> {};

// A 500 x 200 frame at (1000, 1500), 100 %: an edge pushed past the opposite one stops
// 110 twips before it; one pulled back stays 100 twips wide or high.
TEST_P(Ziehpunkte, HaltenDieMindestgroesse) {
  const Ziehpunktfall fall = GetParam();
  starten();
  zoom(100);
  vorlageAusblenden();
  const int n = neuerRahmen(1000, 1500, 500, 200);
  ziehpunktZiehen(fall.ziehpunkt, fall.weg);
  const ClassRahmen& r = s->rahmen(n);
  EXPECT_EQ(r.x, fall.x);
  EXPECT_EQ(r.y, fall.y);
  EXPECT_EQ(r.Breite, fall.breite);
  EXPECT_EQ(r.Hoehe, fall.hoehe);
  EXPECT_EQ(s->Ziehmodus, 0);
}

// 110 twips are 19.4 units, 100 twips 17.6 units; the pushed edge stops at
// 1500 * 5.67 - 110 twips = unit 1481 (x) and 1700 * 5.67 - 110 twips = unit 1681 (y).
INSTANTIATE_TEST_SUITE_P(Hauptfenster, Ziehpunkte,
                         ::testing::Values(Ziehpunktfall{1, {500, 300}, 1481, 1681, 19, 19},
                                           Ziehpunktfall{2, {0, 300}, 1000, 1681, 500, 19},
                                           Ziehpunktfall{3, {-500, 300}, 1000, 1681, 18, 19},
                                           Ziehpunktfall{4, {-500, 0}, 1000, 1500, 18, 200},
                                           Ziehpunktfall{5, {-500, -300}, 1000, 1500, 18, 18},
                                           Ziehpunktfall{6, {0, -300}, 1000, 1500, 500, 18},
                                           Ziehpunktfall{7, {500, -300}, 1481, 1500, 19, 18},
                                           Ziehpunktfall{8, {500, 0}, 1481, 1500, 19, 200}),
                         benannt([](const Ziehpunktfall& f) {
                           return "Ziehpunkt" + std::to_string(f.ziehpunkt);
                         }));

TEST_F(Hauptfenster, ZiehpunktHaeltAmSeitenrandBeimAktuellenZoom) {
  starten();
  vorlageAusblenden();
  // At 50 % with the scale of a print left behind (1), the page edge on screen is still
  // that of 50 %.
  zoom(50);
  const int n = neuerRahmen(1000, 1500, 500, 200);
  s->Zoomfaktor = 1;
  ziehpunktZiehen(5, QPoint(2000, 2000));
  EXPECT_EQ(s->rahmen(n).x + s->rahmen(n).Breite, 2100);
  EXPECT_EQ(s->rahmen(n).y + s->rahmen(n).Hoehe, 2980);
  // Dragging the top-left handle beyond the page's corner stops at 0.
  ziehpunktZiehen(1, QPoint(-2000, -2000));
  EXPECT_EQ(s->rahmen(n).x, 0);
  EXPECT_EQ(s->rahmen(n).y, 0);
}

// The right and the middle button pull a handle as the left one does; the right release
// on a handle opens no popup.
TEST_F(Hauptfenster, ZiehpunktZiehtMitJederTaste) {
  starten();
  zoom(100);
  vorlageAusblenden();
  const int n = neuerRahmen(1000, 1500, 500, 200);
  ziehen(seite()->ziehpunkt(4), {3, 3}, {33, 3}, Qt::RightButton);
  EXPECT_EQ(s->rahmen(n).Breite, 579);  // 30 pixels are 79.4 units
  ziehen(seite()->ziehpunkt(6), {3, 3}, {3, 33}, Qt::MiddleButton);
  EXPECT_EQ(s->rahmen(n).Hoehe, 279);
  EXPECT_EQ(s->Ziehmodus, 0);
  EXPECT_FALSE(w->PopSchrift()->isVisible());
}

TEST_F(Hauptfenster, ProportionalerRahmenBehaeltSeinSeitenverhaeltnis) {
  starten();
  zoom(100);
  vorlageAusblenden();
  const int n = neuerRahmen(600, 1500, 600, 300);
  s->rahmen(n).Proportional = true;
  w->MarkierungZeigen();
  for (int i = 1; i <= 8; ++i)
    EXPECT_EQ(seite()->ziehpunkt(i)->isVisible(), i % 2 == 1) << "handle " << i;

  ziehpunktZiehen(5, QPoint(40, 100));
  const ClassRahmen& r = s->rahmen(n);
  EXPECT_EQ(r.Breite, static_cast<int>(std::lround((600 * 5.67 + 600) / 5.67)));
  EXPECT_NEAR(static_cast<double>(r.Breite) / r.Hoehe, 2.0, 0.01);

  // A frame without height has no ratio: the drag leaves the height as it was dragged.
  s->rahmen(n).Hoehe = 0;
  waehle(n);
  ziehpunktZiehen(5, QPoint(30, 20));
  EXPECT_EQ(s->rahmen(n).Hoehe, static_cast<int>(std::lround(20 * 15 / 5.67)));
  EXPECT_GT(s->rahmen(n).Breite, 0);

  // Selecting a frame that is not proportional shows all eight handles again.
  waehle(neuerRahmen(200, 2400, 300, 100));
  for (int i = 1; i <= 8; ++i) EXPECT_TRUE(seite()->ziehpunkt(i)->isVisible()) << i;
}

TEST_F(Hauptfenster, ZiehpunkteUndRechteckBei200Prozent) {
  starten();
  vorlageAusblenden();
  zoom(200);
  const int n = neuerRahmen(100, 100, 500, 200);
  const QRectF r = w->Rahmen();
  EXPECT_NEAR(r.left(), 1134, 0.01);
  EXPECT_NEAR(r.top(), 1134, 0.01);
  EXPECT_NEAR(r.width(), 5670, 0.01);
  EXPECT_NEAR(r.height(), 2268, 0.01);
  // Handles of 100 x 100 twips (7 pixels) around the rectangle.
  EXPECT_EQ(seite()->ziehpunkt(1)->pos(), QPoint(69, 69));    // (1034, 1034) twips
  EXPECT_EQ(seite()->ziehpunkt(2)->pos(), QPoint(261, 69));   // (3919, 1034)
  EXPECT_EQ(seite()->ziehpunkt(4)->pos(), QPoint(454, 148));  // (6804, 2218)
  EXPECT_EQ(seite()->ziehpunkt(5)->pos(), QPoint(454, 227));  // (6804, 3402)
  EXPECT_EQ(seite()->ziehpunkt(8)->pos(), QPoint(69, 148));   // (1034, 2218)
  EXPECT_EQ(seite()->ziehpunkt(1)->size(), QSize(7, 7));
  EXPECT_EQ(seite()->width(), static_cast<int>(std::lround(2100 * 5.67 * 2 / 15)));

  // The rectangle is drawn as an outline on the page: its left edge is coloured, its
  // inside shows the page.
  SeiteZeichnen(*s);
  const QImage bild = seite()->grab().toImage();
  const QColor kante = bild.pixelColor(76, 113);  // left edge, 1134 / 15 = 75.6
  EXPECT_EQ(kante, QColor(0, 0, 160));
  EXPECT_EQ(bild.pixelColor(200, 113), QColor(Qt::white));
  (void)n;
}

TEST_F(Hauptfenster, EntfernenTasteLoeschtNurEingefuegteRahmen) {
  starten();
  zoom(100);
  waehle(5);
  seite()->setFocus();
  QTest::keyClick(seite(), Qt::Key_Delete);
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_EQ(meldungen[0].text, QStringLiteral("Sie können nur die eingefügte Rahmen löschen"));
  EXPECT_EQ(meldungen[0].knoepfe, Knoepfe::Ok);
  EXPECT_EQ(s->AnzahlRahmen, 31);

  // An inserted frame: the question, cancel keeps it, OK deletes it.
  vorlageAusblenden();
  const int n = neuerRahmen(1000, 2200, 500, 200);
  antwort = 2;
  QTest::keyClick(seite(), Qt::Key_Delete);
  EXPECT_EQ(meldungen.back().text, QStringLiteral("Diesen Rahmen löschen?"));
  EXPECT_EQ(meldungen.back().knoepfe, Knoepfe::OkAbbrechen);
  EXPECT_EQ(s->AnzahlRahmen, n);
  antwort = 1;
  QTest::keyClick(seite(), Qt::Key_Delete);
  EXPECT_EQ(s->AnzahlRahmen, n - 1);
  EXPECT_LE(s->AktuellerRahmen, s->AnzahlRahmen);
}

TEST_F(Hauptfenster, TippenAendertDenTextSofortUndZeichnetMitDemTimer) {
  starten();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QLineEdit* feld = w->feld(5);
  feld->setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(warteBis([&] { return feld->hasFocus(); }));
  EXPECT_EQ(s->AktuellerRahmen, 5);
  EXPECT_EQ(s->AktuelleSchrift, 5);
  EXPECT_EQ(w->Rahmen(), RahmenRechteck(*s, 5));

  QTest::qWait(400);  // let any redraw of the focus change pass
  const int vorher = w->anzahlGezeichnet();
  feld->selectAll();
  QTest::keyClicks(feld, QStringLiteral("Tel. 0711 1234"));
  EXPECT_EQ(s->schrift(5).Textstring, QStringLiteral("Tel. 0711 1234"));
  EXPECT_EQ(s->TextGeaendert, -1);
  EXPECT_EQ(w->anzahlGezeichnet(), vorher);
  ASSERT_TRUE(warteBis([&] { return w->anzahlGezeichnet() > vorher; }, 1500));
  QTest::qWait(700);
  EXPECT_EQ(w->anzahlGezeichnet(), vorher + 1);  // many keys in one interval: one redraw
  EXPECT_EQ(s->TextGeaendert, 0);

  // Emptying the field hides its frame; a text brings it back.
  feld->selectAll();
  QTest::keyClick(feld, Qt::Key_Backspace);
  EXPECT_FALSE(s->rahmen(5).Sichtbar);
  QTest::keyClicks(feld, QStringLiteral("x"));
  EXPECT_TRUE(s->rahmen(5).Sichtbar);

  // A field whose frame is hidden still selects its frame.
  w->setzeText1(25, QString());
  s->schrift(25).Textstring.clear();
  s->rahmen(25).Sichtbar = false;
  w->PanelZeigen(4);
  w->feld(25)->setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(warteBis([&] { return w->feld(25)->hasFocus(); }));
  EXPECT_EQ(s->AktuellerRahmen, 25);
  EXPECT_EQ(w->Frame1()->currentIndex(), 3);
}

TEST_F(Hauptfenster, StatuszeileZeigtLageUndGroesseInZentimetern) {
  starten();
  vorlageAusblenden();
  s->AktuelleDatei = QStringLiteral("/tmp/brief.qxm");
  for (double prozent : {100.0, 150.0}) {
    zoom(prozent);
    const int n = neuerRahmen(250, 2000, 500, 200);
    const QPoint mitte = pixel(500, 2100);
    QTest::mousePress(seite(), Qt::LeftButton, {}, mitte);
    QTest::mouseMove(seite(), mitte + QPoint(10, 10));
    QTest::mouseMove(seite(), mitte);
    EXPECT_EQ(w->statusText(2), QStringLiteral("x = 2.5")) << prozent;
    EXPECT_EQ(w->statusText(3), QStringLiteral("y = 20")) << prozent;
    EXPECT_EQ(w->statusText(1), QStringLiteral("Aktuelle Datei: /tmp/brief.qxm"));
    QTest::mouseRelease(seite(), Qt::LeftButton, {}, mitte);

    Ziehpunkt* z = seite()->ziehpunkt(5);
    QTest::mousePress(z, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(w->statusText(2), QStringLiteral("Breite = 5")) << prozent;
    EXPECT_EQ(w->statusText(3), QStringLiteral("Höhe = 2")) << prozent;
    QTest::mouseRelease(z, Qt::LeftButton, {}, QPoint(3, 3));
    s->rahmen(n).Sichtbar = false;
  }
}

// At every zoom the status bar shows the frame's whole tenths of a millimetre, never one
// hundredth of a centimetre less.
TEST_F(Hauptfenster, StatuszeileTrifftDieZehntelBeiJedemZoom) {
  starten();
  vorlageAusblenden();
  // A small page keeps the redraws at 400 % cheap.
  s->Seite->Breite = 700;
  s->Seite->Hoehe = 700;
  const int n = neuerRahmen(0, 0, 0, 0);
  auto cm = [](int32_t zehntel) { return QString::number(zehntel / 100.0); };
  for (int prozent = 10; prozent <= 400; ++prozent) {
    ClassRahmen& r = s->rahmen(n);
    // 25 mm from the left and 12.3 mm wide at every zoom; generated tops and heights.
    r.x = 250;
    r.y = 100 + prozent % 300;
    r.Breite = 123;
    r.Hoehe = 50 + prozent * 13 % 250;
    const ClassRahmen vorher = r;
    zoom(prozent);
    Ziehpunkt* z = seite()->ziehpunkt(1);
    QTest::mousePress(z, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_EQ(w->statusText(2), "Breite = " + cm(vorher.Breite)) << prozent;
    EXPECT_EQ(w->statusText(3), "Höhe = " + cm(vorher.Hoehe)) << prozent;
    QTest::mouseRelease(z, Qt::LeftButton, {}, QPoint(0, 0));

    const QPoint innen = pixel(vorher.x + vorher.Breite / 2, vorher.y + vorher.Hoehe / 2);
    QTest::mousePress(seite(), Qt::LeftButton, {}, innen);
    QTest::mouseMove(seite(), innen);
    EXPECT_EQ(w->statusText(2), "x = " + cm(vorher.x)) << prozent;
    EXPECT_EQ(w->statusText(3), "y = " + cm(vorher.y)) << prozent;
    QTest::mouseRelease(seite(), Qt::LeftButton, {}, innen);
  }
}

TEST_F(Hauptfenster, EinfuegenZeichnetDenNeuenRahmen) {
  starten();
  zoom(100);
  vorlageAusblenden();
  const int n = neuerRahmen(0, 0, 500, 200);
  // As the insert chooser leaves it: the element waits, the selection is hidden and the
  // pointer is a crosshair.
  s->Einfuegemodus = 1;
  s->fenster->AuswahlVerbergen();
  s->fenster->FadenkreuzZeigen(true);
  EXPECT_FALSE(seite()->rahmenSichtbar());
  for (int i = 1; i <= 8; ++i) EXPECT_FALSE(seite()->ziehpunkt(i)->isVisible());
  EXPECT_EQ(seite()->cursor().shape(), Qt::CrossCursor);
  const QPoint start(200, 300);
  QTest::mousePress(seite(), Qt::LeftButton, {}, start);
  EXPECT_EQ(s->Einfuegemodus, 2);
  EXPECT_TRUE(seite()->rahmenSichtbar());
  QTest::mouseMove(seite(), start + QPoint(2, 2));
  // While drawing, the rectangle is at least 100 twips in each direction.
  EXPECT_DOUBLE_EQ(w->Rahmen().width(), 100);
  EXPECT_DOUBLE_EQ(w->Rahmen().height(), 100);
  QTest::mouseMove(seite(), start + QPoint(40, 30));
  QTest::mouseRelease(seite(), Qt::LeftButton, {}, start + QPoint(40, 30));
  EXPECT_EQ(s->Einfuegemodus, 0);
  EXPECT_NE(seite()->cursor().shape(), Qt::CrossCursor);
  EXPECT_TRUE(seite()->ziehpunkt(5)->isVisible());
  const ClassRahmen& r = s->rahmen(n);
  EXPECT_EQ(r.x, static_cast<int>(std::lround(200 * 15 / 5.67)));
  EXPECT_EQ(r.y, static_cast<int>(std::lround(300 * 15 / 5.67)));
  EXPECT_EQ(r.Breite, static_cast<int>(std::lround(40 * 15 / 5.67)));
  EXPECT_EQ(r.Hoehe, static_cast<int>(std::lround(30 * 15 / 5.67)));
}

// A click without dragging gives a frame that can be seen and picked: 10 mm, or one
// magnet spacing in each direction when the magnet is on.
TEST_F(Hauptfenster, EinfuegenMitKlickGibtEinenSichtbarenRahmen) {
  starten();
  zoom(50);
  vorlageAusblenden();
  s->MagnetX = 50;
  s->MagnetY = 80;
  for (const double magnet : {0.0, -1.0}) {
    s->MagnetAn = magnet;
    const int n = neuerRahmen(0, 0, 500, 200);
    s->Einfuegemodus = 1;
    QTest::mouseClick(seite(), Qt::LeftButton, {}, QPoint(40, 40));
    const ClassRahmen& r = s->rahmen(n);
    EXPECT_EQ(QStringLiteral("%1 x %2").arg(r.Breite).arg(r.Hoehe),
              magnet ? QStringLiteral("50 x 80") : QStringLiteral("100 x 100"));
  }
}

TEST_F(Hauptfenster, MenuesSchaltenAnsichtUndRahmen) {
  starten();
  QAction* raster = aktion(QStringLiteral("mnuGitterlinienansicht"));
  ASSERT_EQ(s->RasterAnzeigen, -1);
  EXPECT_TRUE(raster->isChecked());
  raster->trigger();
  EXPECT_EQ(s->RasterAnzeigen, 0);
  EXPECT_FALSE(raster->isChecked());
  raster->trigger();
  EXPECT_EQ(s->RasterAnzeigen, -1);
  EXPECT_TRUE(raster->isChecked());

  // "1/10 mm genau" is marked while whole millimetres are off; twice gives the start.
  QAction* genau = aktion(QStringLiteral("mmummgenau"));
  EXPECT_EQ(s->MmGenau, 0);
  EXPECT_TRUE(genau->isChecked());
  genau->trigger();
  EXPECT_EQ(s->MmGenau, -1);
  EXPECT_FALSE(genau->isChecked());
  genau->trigger();
  EXPECT_EQ(s->MmGenau, 0);
  EXPECT_TRUE(genau->isChecked());

  QAction* magnet = aktion(QStringLiteral("mnuRahmenMagnet"));
  magnet->trigger();
  EXPECT_EQ(s->MagnetAn, -1);
  EXPECT_TRUE(magnet->isChecked());

  // "verankern" toggles the selected frame and the "&Rahmen" menu shows its state.
  waehle(3);
  aktion(QStringLiteral("mnuverankert"))->trigger();
  EXPECT_TRUE(s->rahmen(3).Verankert);
  QMenu* rahmenMenue = w->findChild<QMenu*>(QStringLiteral("mnuRahmen"));
  ASSERT_TRUE(rahmenMenue);
  aktion(QStringLiteral("mnuverankert"))->setChecked(false);
  emit rahmenMenue->aboutToShow();
  EXPECT_TRUE(aktion(QStringLiteral("mnuverankert"))->isChecked());

  // Zoom items; a zoom the view cannot show is not applied.
  aktion(QStringLiteral("mnuViewProzent200"))->trigger();
  EXPECT_EQ(s->Zoom, 200);
  const int breite200 = seite()->width();
  for (double falsch : {5.0, 0.0, -100.0, 5000.0, std::nan(""), HUGE_VAL}) {
    w->ZoomSetzen(falsch);
    EXPECT_EQ(s->Zoom, 200) << falsch;
  }
  EXPECT_EQ(seite()->width(), breite200);
  EXPECT_EQ(w->Rahmen(), RahmenRechteck(*s, 3));
  aktion(QStringLiteral("mnuViewganze_Seite"))->trigger();
  const QSize sicht = w->VSView()->viewport()->size();
  EXPECT_LE(seite()->width(), sicht.width());
  EXPECT_LE(seite()->height(), sicht.height());
  EXPECT_GE(seite()->height(), sicht.height() * 9 / 10);
}

// A failed redraw of the page view shows its message after the redraw has returned, never
// from inside it, and only once while the page keeps failing.
TEST_F(Hauptfenster, FehlgeschlageneSeiteMeldetSichNachDemZeichnen) {
  starten();
  const int anzahl = s->AnzahlRahmen;
  s->AnzahlRahmen = anzahl + 5;  // frames the list does not hold
  aktion(QStringLiteral("mnuRahmensichtbar"))->trigger();
  EXPECT_TRUE(meldungen.empty());
  EXPECT_TRUE(warteBis([&] { return !meldungen.empty(); }));
  aktion(QStringLiteral("mnuRahmensichtbar"))->trigger();
  QApplication::processEvents();
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_TRUE(
      meldungen[0].text.startsWith(QStringLiteral("Die Seite konnte nicht gezeichnet werden")));
  s->AnzahlRahmen = anzahl;
}

TEST_F(Hauptfenster, SchriftboxenFolgenDerAuswahlUndSetzenDieSchrift) {
  starten();
  ClassSchrift& t = s->schrift(7);
  t.fontname = QStringLiteral("Gibt es nicht");
  t.FontSize = static_cast<int16_t>(11);
  t.Bold = true;
  t.Italic = true;
  waehle(7);
  EXPECT_TRUE(w->Combo1()->isEnabled());
  EXPECT_EQ(w->Combo1()->currentIndex(), 0);
  EXPECT_EQ(w->Combo2()->currentIndex(), 3);
  EXPECT_EQ(w->Combo3()->currentIndex(), -1);
  EXPECT_EQ(w->Combo3()->currentText(), QStringLiteral("11"));

  t.FontSize = static_cast<int16_t>(12);
  t.Bold = false;
  t.Italic = false;
  waehle(7);
  EXPECT_EQ(w->Combo3()->currentText(), QStringLiteral("12"));
  EXPECT_EQ(w->Combo3()->currentIndex(), 2);
  EXPECT_EQ(w->Combo2()->currentIndex(), 0);

  // Typing a size below 6 gives 6; choosing a style sets both flags.
  w->Combo3()->lineEdit()->clear();
  QTest::keyClicks(w->Combo3()->lineEdit(), QStringLiteral("4"));
  EXPECT_EQ(varianteZahl(t.FontSize), 6.0);
  // Letters have no number: 6 as well; a number typed after them is still no number.
  t.FontSize = static_cast<int16_t>(20);
  w->Combo3()->lineEdit()->clear();
  QTest::keyClicks(w->Combo3()->lineEdit(), QStringLiteral("ab"));
  EXPECT_EQ(varianteZahl(t.FontSize), 6.0);
  QTest::keyClicks(w->Combo3()->lineEdit(), QStringLiteral("30"));
  EXPECT_EQ(varianteZahl(t.FontSize), 6.0);
  w->Combo3()->lineEdit()->clear();
  QTest::keyClicks(w->Combo3()->lineEdit(), QStringLiteral("30"));
  EXPECT_EQ(varianteZahl(t.FontSize), 30.0);
  emit w->Combo2()->activated(3);
  EXPECT_TRUE(t.Bold);
  EXPECT_TRUE(t.Italic);
  emit w->Combo2()->activated(1);
  EXPECT_TRUE(t.Bold);
  EXPECT_FALSE(t.Italic);

  // A line frame disables the boxes and the button reads "Linie".
  vorlageAusblenden();
  neuerRahmen(100, 100, 100, 100);
  EXPECT_FALSE(w->Combo1()->isEnabled());
  EXPECT_FALSE(w->Combo3()->isEnabled());
  EXPECT_EQ(aktion(QStringLiteral("Eigenschaft"))->text(), QStringLiteral("Linie"));
}

// A typed size is taken as typed, also with Enter: "7" is not completed to a listed "70".
TEST_F(Hauptfenster, GroessenfeldNimmtDieGetippteGroesse) {
  starten();
  waehle(7);
  QLineEdit* feld = w->Combo3()->lineEdit();
  feld->setFocus(Qt::MouseFocusReason);
  feld->selectAll();
  QTest::keyClicks(feld, QStringLiteral("7"));
  QTest::keyClick(feld, Qt::Key_Return);
  EXPECT_EQ(w->Combo3()->currentText(), QStringLiteral("7"));
  EXPECT_EQ(varianteZahl(s->schrift(7).FontSize), 7.0);
}

TEST_F(Hauptfenster, SchliessenSpeichertFensterlageUndEinstellungen) {
  starten(QSize(900, 700));
  w->move(40, 30);
  const QRect lage = w->frameGeometry();
  ASSERT_FALSE(QFile::exists(ordner.filePath(QStringLiteral("qx.ini"))));
  aktion(QStringLiteral("mnuFileExit"))->trigger();
  EXPECT_EQ(beendet, 1);
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(QFile::exists(ordner.filePath(QStringLiteral("qx.ini"))));
  QSettings gespeichert;
  gespeichert.beginGroup(QStringLiteral("Settings"));
  EXPECT_EQ(gespeichert.value(QStringLiteral("MainLeft")).toString(),
            QString::number(lage.x() * 15));
  EXPECT_EQ(gespeichert.value(QStringLiteral("MainTop")).toString(),
            QString::number(lage.y() * 15));
  EXPECT_EQ(gespeichert.value(QStringLiteral("MainWidth")).toString(),
            QString::number(lage.width() * 15));
  EXPECT_EQ(gespeichert.value(QStringLiteral("MainHeight")).toString(),
            QString::number(lage.height() * 15));
}

TEST_F(Hauptfenster, MinimiertesFensterSpeichertKeineLageAberEinstellungen) {
  starten();
  w->showMinimized();
  ASSERT_TRUE(w->isMinimized());
  w->close();
  EXPECT_EQ(beendet, 1);
  EXPECT_TRUE(QFile::exists(ordner.filePath(QStringLiteral("qx.ini"))));
  QSettings gespeichert;
  EXPECT_FALSE(gespeichert.contains(QStringLiteral("Settings/MainLeft")));
}

TEST_F(Hauptfenster, UnschreibbareEinstellungenHaltenDasEndeNichtAuf) {
  starten();
  // The start-up folder is gone by the end: the settings file cannot be written.
  s->Startverzeichnis = ordner.filePath(QStringLiteral("weg/"));
  aktion(QStringLiteral("mnuFileClose"))->trigger();
  EXPECT_EQ(beendet, 1);
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(gemeldet(QStringLiteral("weg/qx.ini")));
}

TEST_F(Hauptfenster, UnlesbareEinstellungenWerdenGemeldetUndUeberlebenDasEnde) {
  // A pipe where the settings file belongs: it exists, but is not read.
  const QString ini = ordner.filePath(QStringLiteral("qx.ini"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
  starten();
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_TRUE(meldungen[0].text.contains(ini)) << meldungen[0].text.toStdString();
  aktion(QStringLiteral("mnuFileClose"))->trigger();
  EXPECT_EQ(beendet, 1);
  EXPECT_EQ(meldungen.size(), 1u);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(ini).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Hauptfenster, DialogKommtWiederWoErGeschlossenWurde) {
  starten();
  w->Command1_Click();
  frmSuchen* d = w->Suchdialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
  // The user drags it elsewhere (a move by the window system), then closes it.
  const QPoint lage = d->frameGeometry().topLeft() + QPoint(37, 23);
  d->windowHandle()->setFramePosition(lage);
  ASSERT_TRUE(warteBis([&] { return d->frameGeometry().topLeft() == lage; }));
  QTest::mouseClick(d->Command1, Qt::LeftButton);
  ASSERT_FALSE(d->isVisible());
  w->Command1_Click();
  EXPECT_EQ(d->frameGeometry().topLeft(), lage);
}

TEST_F(Hauptfenster, FehlendeAdressdatenbankWirdGemeldetUndDasProgrammLaeuftWeiter) {
  ASSERT_TRUE(QFile::remove(ordner.filePath(QStringLiteral("adressen.db"))));
  starten();
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_TRUE(meldungen[0].text.contains(QStringLiteral("adressen.db")));
  EXPECT_FALSE(w->Data1()->offen());
  EXPECT_FALSE(QFile::exists(ordner.filePath(QStringLiteral("adressen.db"))));
  EXPECT_TRUE(w->Text1(21).isEmpty());
  // The window works on: a zoom and a click.
  zoom(100);
  QTest::mouseClick(seite(), Qt::LeftButton, {}, pixel(1000, 1000));
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("cmdadd")), Qt::LeftButton);
  EXPECT_FALSE(w->Data1()->offen());
}

TEST_F(Hauptfenster, AdresspanelBlaettertUndFuelltDieTexte) {
  starten();
  w->PanelZeigen(4);
  EXPECT_EQ(w->Frame1()->currentIndex(), 3);
  ASSERT_TRUE(w->Data1()->MoveNext());
  EXPECT_EQ(w->TextDatensatznummer()->text(), QStringLiteral("2"));
  EXPECT_EQ(w->Data1()->Caption(), QStringLiteral(" Adresse Nr. 2"));
  EXPECT_EQ(w->Text1(27), QStringLiteral("Berlin"));
  // The text elements of the address fields follow with the next redraw.
  EXPECT_EQ(s->TextGeaendert, -1);
  EXPECT_EQ(s->schrift(27).Textstring, QStringLiteral("Berlin"));

  // The search dialog opens without modality and keeps the main window usable.
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton);
  ASSERT_TRUE(w->Suchdialog());
  EXPECT_TRUE(w->Suchdialog()->isVisible());
  EXPECT_TRUE(w->isEnabled());

  // An edit typed into a bound field is stored when the window closes.
  w->Suchdialog()->hide();
  w->feld(29)->selectAll();
  QTest::keyClicks(w->feld(29), QStringLiteral("Notiz"));
  w->close();
  Datensteuerung pruefung;
  ASSERT_TRUE(pruefung.oeffnen(ordner.filePath(QStringLiteral("adressen.db"))));
  ASSERT_TRUE(pruefung.MoveNext());
  EXPECT_EQ(pruefung.wert(QStringLiteral("Sonstiges 2")), QStringLiteral("Notiz"));
}

}  // namespace

namespace {

// Where frames 1 to 20 lie.
std::vector<QRect> absenderRahmen(Programmzustand& s) {
  std::vector<QRect> lagen;
  for (int i = 1; i <= 20; ++i) {
    const ClassRahmen& r = s.rahmen(i);
    lagen.emplace_back(r.x, r.y, r.Breite, r.Hoehe);
  }
  return lagen;
}

TEST_F(Hauptfenster, LayoutknoepfeUndNeuArbeitenAufDemDokument) {
  starten();
  const auto vorlage = absenderRahmen(*s);
  const QString firma = w->Text1(1);
  w->PanelZeigen(3);
  EXPECT_EQ(w->Frame1()->currentIndex(), 2);
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command4_3")), Qt::LeftButton);
  EXPECT_TRUE(meldungen.empty());
  EXPECT_NE(absenderRahmen(*s), vorlage);
  // A preset moves the sender frames but keeps their texts.
  EXPECT_EQ(w->Text1(1), firma);
  EXPECT_EQ(s->schrift(1).Textstring, firma);

  // "Neu" loads the template again, the typed texts included.
  w->setzeText1(1, QStringLiteral("Andere Firma"));
  s->schrift(1).Textstring = QStringLiteral("Andere Firma");
  aktion(QStringLiteral("Neu"))->trigger();
  EXPECT_EQ(absenderRahmen(*s), vorlage);
  EXPECT_EQ(w->Text1(1), firma);
  EXPECT_TRUE(meldungen.empty());
}

}  // namespace

namespace {

TEST_F(Hauptfenster, VorschauZeigtDieSeiteUndZeichnetBeimSchliessenNeu) {
  starten();
  aktion(QStringLiteral("Vorschau"))->trigger();
  ASSERT_TRUE(w->Vorschaufenster());
  EXPECT_TRUE(w->Vorschaufenster()->isVisible());
  EXPECT_EQ(w->Vorschaufenster()->windowModality(), Qt::ApplicationModal);
  // The window and its buttons lie on the screen, which is smaller than 800 x 900.
  const QRect frei = w->Vorschaufenster()->screen()->availableGeometry();
  ASSERT_LT(frei.height(), 900);
  EXPECT_TRUE(frei.contains(w->Vorschaufenster()->frameGeometry()));
  for (const QPushButton* knopf : w->Vorschaufenster()->findChildren<QPushButton*>())
    EXPECT_TRUE(w->Vorschaufenster()->rect().contains(knopf->geometry()))
        << knopf->text().toStdString();
  EXPECT_EQ(s->VSPrinter1->seitenzahl(), 1);
  EXPECT_EQ(s->Druckmodus, 0);
  const int vorher = w->anzahlGezeichnet();
  w->Vorschaufenster()->close();
  EXPECT_FALSE(w->Vorschaufenster()->isVisible());
  EXPECT_GT(w->anzahlGezeichnet(), vorher);
  // The menu item opens the same window again.
  aktion(QStringLiteral("mnuFilePrintPreview"))->trigger();
  EXPECT_TRUE(w->Vorschaufenster()->isVisible());
  w->Vorschaufenster()->close();
}

}  // namespace
