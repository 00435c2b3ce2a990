// The main window's commands driven like a user does: the file commands with their dialogs,
// the layout snapshot, every menu item and toolbar button that opens a dialog, the insert
// flow from the chooser to the properties dialog, the direct print and the zoom fits.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "core/frmeinfuegen.h"
#include "core/frmposition.h"
#include "core/frmseite.h"
#include "elements/picture/frmbild.h"
#include "elements/shape/frmlinie.h"
#include "elements/text/frmrtf.h"
#include "elements/text/frmschrift.h"
#include "gemeinsam/fallnamen.h"
#include "hauptfenster_test.h"
#include "io/dateinamen.h"
#include "io/dokument.h"
#include "io/frmdrucken.h"
#include "io/frmvorschau.h"
#include "platform/ansichtsfenster.h"
#include "platform/datensteuerung.h"
#include "platform/drucksteuerung.h"
#include "platform/richtextbox.h"
#include "ui/frminfo.h"
#include "ui/hilfe.h"

namespace {

using namespace hauptfenstertest;

// A file dialog that answers with a prepared path and records what it was asked.
struct Dateiwahl {
  struct Aufruf {
    QString titel;
    QString filter;
    bool speichern;
  };
  QString antwort;
  std::vector<Aufruf> aufrufe;

  void einsetzen(frmMain& w) {
    w.dateiDialog = [this](const QString& titel, const QString& filter, bool speichern) {
      aufrufe.push_back({titel, filter, speichern});
      return antwort;
    };
  }
};

class Befehle : public Hauptfenster {
 protected:
  QTemporaryDir ablage;  // where the user saves his documents
  QString altesVerzeichnis;
  Dateiwahl wahl;

  void SetUp() override {
    Hauptfenster::SetUp();
    ASSERT_TRUE(ablage.isValid());
    // The untitled document is named in the current folder: a folder of the test.
    altesVerzeichnis = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(ablage.path()));
  }

  void TearDown() override {
    Hauptfenster::TearDown();
    QDir::setCurrent(altesVerzeichnis);
  }

  void startenMitWahl(QSize groesse = QSize(1400, 1300)) {
    starten(groesse);
    wahl.einsetzen(*w);
  }

  // Types into side-panel field i as the user does.
  void tippen(int i, const QString& text) {
    QLineEdit* feld = w->feld(i);
    feld->selectAll();
    QTest::keyClicks(feld, text);
  }

  void dateiSchreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
  }

  static QByteArray dateiInhalt(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

// --- Open, save, save as -----------------------------------------------------------------

TEST_F(Befehle, SpeichernUnterOeffnenUndSpeichernFuehrenDasDokumentHinUndZurueck) {
  startenMitWahl();
  const QString datei = ablage.filePath(QStringLiteral("brief.qxm"));
  tippen(1, QStringLiteral("Beispiel AG"));
  ASSERT_EQ(s->schrift(1).Textstring, QStringLiteral("Beispiel AG"));

  // "Speichern unter": always the dialog, titled in lower case, with the document filter.
  wahl.antwort = datei;
  aktion(QStringLiteral("mnuFileSaveAs"))->trigger();
  ASSERT_EQ(wahl.aufrufe.size(), 1u);
  EXPECT_EQ(wahl.aufrufe[0].titel, QStringLiteral("speichern"));
  EXPECT_EQ(wahl.aufrufe[0].filter, QStringLiteral("QX Marvolant (*.qxm)"));
  EXPECT_TRUE(wahl.aufrufe[0].speichern);
  EXPECT_EQ(s->AktuelleDatei, datei);
  ASSERT_TRUE(QFile::exists(datei));
  EXPECT_TRUE(dateiInhalt(datei).startsWith("QX Datenfile"));

  // "Neu" and back with "Öffnen": the typed text and the name return.
  aktion(QStringLiteral("Neu"))->trigger();
  EXPECT_NE(w->Text1(1), QStringLiteral("Beispiel AG"));
  EXPECT_EQ(s->AktuelleDatei, dokumentdatei::unbenannterPfad());
  aktion(QStringLiteral("Öffnen"))->trigger();
  ASSERT_EQ(wahl.aufrufe.size(), 2u);
  EXPECT_EQ(wahl.aufrufe[1].titel, QStringLiteral("Öffnen"));
  EXPECT_EQ(wahl.aufrufe[1].filter, QStringLiteral("QX Marvolant (*.qxm)"));
  EXPECT_FALSE(wahl.aufrufe[1].speichern);
  EXPECT_EQ(w->Text1(1), QStringLiteral("Beispiel AG"));
  EXPECT_EQ(s->schrift(1).Textstring, QStringLiteral("Beispiel AG"));
  EXPECT_EQ(s->AktuelleDatei, datei);

  // "Speichern" on a named document writes at once, without a dialog.
  tippen(2, QStringLiteral("Erika Muster"));
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(wahl.aufrufe.size(), 2u);
  aktion(QStringLiteral("mnuFileNew"))->trigger();
  aktion(QStringLiteral("mnuFileOpen"))->trigger();
  EXPECT_EQ(w->Text1(2), QStringLiteral("Erika Muster"));

  // Cancelling either dialog ends the command silently.
  wahl.antwort.clear();
  tippen(2, QStringLiteral("Anders"));
  aktion(QStringLiteral("mnuFileOpen"))->trigger();
  aktion(QStringLiteral("mnuFileSaveAs"))->trigger();
  EXPECT_EQ(wahl.aufrufe.size(), 5u);
  EXPECT_EQ(w->Text1(2), QStringLiteral("Anders"));
  EXPECT_EQ(s->AktuelleDatei, datei);
  EXPECT_TRUE(meldungen.empty());
}

TEST_F(Befehle, UnbrauchbareDateiBeimOeffnenLaesstDokumentUndNamenStehen) {
  startenMitWahl();
  const QString gut = ablage.filePath(QStringLiteral("gut.qxm"));
  wahl.antwort = gut;
  aktion(QStringLiteral("mnuFileSaveAs"))->trigger();
  tippen(1, QStringLiteral("Bleibt"));

  // A file of another kind, and a name whose file is gone.
  const QString fremd = ablage.filePath(QStringLiteral("fremd.qxm"));
  dateiSchreiben(fremd, "Kein Dokument\r\n");
  for (const QString& name : {fremd, ablage.filePath(QStringLiteral("fehlt.qxm"))}) {
    meldungen.clear();
    wahl.antwort = name;
    aktion(QStringLiteral("Öffnen"))->trigger();
    EXPECT_EQ(meldungen.size(), 1u) << name.toStdString();
    EXPECT_EQ(s->AktuelleDatei, gut);
    EXPECT_EQ(w->Text1(1), QStringLiteral("Bleibt"));
  }
  // So "Speichern" still writes the document's own file, never the refused one.
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(dateiInhalt(fremd), QByteArray("Kein Dokument\r\n"));
}

TEST_F(Befehle, SpeichernEinesUnbenanntenDokumentsFragtNachDemNamen) {
  // A file "neu.qxm" of the user's lies in the current folder.
  const QString fremdesNeu = ablage.filePath(QStringLiteral("neu.qxm"));
  dateiSchreiben(fremdesNeu, "Eigene Datei\r\n");
  startenMitWahl();
  ASSERT_EQ(s->AktuelleDatei, dokumentdatei::unbenannterPfad());
  ASSERT_EQ(QFileInfo(s->AktuelleDatei).absoluteFilePath(),
            QFileInfo(fremdesNeu).absoluteFilePath());

  // "Speichern" asks; cancelling leaves the file alone.
  aktion(QStringLiteral("mnuFileSave"))->trigger();
  ASSERT_EQ(wahl.aufrufe.size(), 1u);
  EXPECT_EQ(wahl.aufrufe[0].titel, QStringLiteral("speichern"));
  EXPECT_EQ(dateiInhalt(fremdesNeu), QByteArray("Eigene Datei\r\n"));
  EXPECT_EQ(s->AktuelleDatei, dokumentdatei::unbenannterPfad());

  // A name that cannot be written: the user is told, the document keeps its old name.
  wahl.antwort = ablage.filePath(QStringLiteral("gibt/es/nicht/brief.qxm"));
  aktion(QStringLiteral("Speichern"))->trigger();
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_TRUE(meldungen[0].text.contains(QStringLiteral("nicht gespeichert")));
  EXPECT_EQ(s->AktuelleDatei, dokumentdatei::unbenannterPfad());
  EXPECT_EQ(dateiInhalt(fremdesNeu), QByteArray("Eigene Datei\r\n"));

  // A good name: saved there, and from then on "Speichern" needs no dialog.
  wahl.antwort = ablage.filePath(QStringLiteral("brief.qxm"));
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(s->AktuelleDatei, wahl.antwort);
  EXPECT_TRUE(QFile::exists(wahl.antwort));
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(wahl.aufrufe.size(), 3u);

  // A named document whose file was deleted meanwhile asks again.
  ASSERT_TRUE(QFile::remove(wahl.antwort));
  wahl.antwort.clear();
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(wahl.aufrufe.size(), 4u);
  EXPECT_EQ(dateiInhalt(fremdesNeu), QByteArray("Eigene Datei\r\n"));
}

// --- Layout snapshot ---------------------------------------------------------------------

std::vector<QRect> absender(Programmzustand& s) {
  std::vector<QRect> lagen;
  for (int i = 1; i <= 20; ++i) {
    const ClassRahmen& r = s.rahmen(i);
    lagen.emplace_back(r.x, r.y, r.Breite, r.Hoehe);
  }
  return lagen;
}

TEST_F(Befehle, ZuruecksetzenStelltDenStandBeimOeffnenDesLayoutpanelsHer) {
  startenMitWahl();
  QWidget* zuruecksetzen = w->findChild<QWidget*>(QStringLiteral("cmdzuruecksetzen"));
  ASSERT_TRUE(zuruecksetzen);
  const auto vorlage = absender(*s);

  // Before the panel was ever opened there is nothing to go back to.
  w->PanelZeigen(3);
  QTest::mouseClick(zuruecksetzen, Qt::LeftButton);
  ASSERT_EQ(meldungen.size(), 1u);
  EXPECT_TRUE(meldungen[0].text.contains(QStringLiteral("keinen Stand")));
  EXPECT_EQ(absender(*s), vorlage);
  meldungen.clear();

  const QString name = ablage.filePath(QStringLiteral("brief.qxm"));
  wahl.antwort = name;
  aktion(QStringLiteral("mnuFileSaveAs"))->trigger();
  ASSERT_EQ(s->AktuelleDatei, name);
  w->PanelZeigen(1);
  tippen(1, QStringLiteral("Getippt vorher"));
  aktion(QStringLiteral("Toolbar2_3"))->trigger();
  EXPECT_EQ(w->Frame1()->currentIndex(), 2);
  EXPECT_EQ(s->AktuelleDatei, name);
  // The snapshot lives in a folder of this run, not under a fixed name in the shared one.
  const QFileInfo schnappschuss(w->Schnappschussdatei());
  EXPECT_TRUE(schnappschuss.isFile());
  EXPECT_EQ(schnappschuss.fileName(), QStringLiteral("test.qxm"));
  EXPECT_NE(schnappschuss.absolutePath(), QFileInfo(temporaererOrdner()).absoluteFilePath());

  // Two presets and a typed text, then back.
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command4_3")), Qt::LeftButton);
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command4_5")), Qt::LeftButton);
  ASSERT_NE(absender(*s), vorlage);
  w->feld(2)->setText(QStringLiteral("Getippt danach"));
  w->Text1_Change(2);
  QTest::mouseClick(zuruecksetzen, Qt::LeftButton);
  EXPECT_TRUE(meldungen.empty());
  EXPECT_EQ(absender(*s), vorlage);
  EXPECT_EQ(w->Text1(1), QStringLiteral("Getippt vorher"));
  EXPECT_EQ(s->schrift(1).Textstring, QStringLiteral("Getippt vorher"));
  EXPECT_NE(w->Text1(2), QStringLiteral("Getippt danach"));
  // The document keeps its own name, which "Speichern" uses.
  EXPECT_EQ(s->AktuelleDatei, name);
  aktion(QStringLiteral("Speichern"))->trigger();
  EXPECT_EQ(wahl.aufrufe.size(), 1u);
  EXPECT_TRUE(dateiInhalt(name).contains("Getippt vorher"));

  // Opening the panel again takes a new snapshot.
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command4_2")), Qt::LeftButton);
  const auto zwei = absender(*s);
  aktion(QStringLiteral("Toolbar2_3"))->trigger();
  QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Command4_4")), Qt::LeftButton);
  QTest::mouseClick(zuruecksetzen, Qt::LeftButton);
  EXPECT_EQ(absender(*s), zwei);
}

// --- Dialogs opened by menus and toolbars ------------------------------------------------

struct Dialogfall {
  const char* aktion;
  std::function<QWidget*(frmMain&)> dialog;
  bool modal;
  int rahmen = 31;  // the frame selected first; 0: a new line frame
};

class DialogOeffnen : public Befehle, public ::testing::WithParamInterface<Dialogfall> {};

// The dialog shows; a blocking one keeps every click from the main window until it is
// closed (by its title-bar button), and the page is drawn again afterwards.
TEST_P(DialogOeffnen, ZeigtDenDialogUndGibtDasFensterWiederFrei) {
  const Dialogfall fall = GetParam();
  startenMitWahl();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  zoom(100);
  // The frame whose properties "Eigenschaft" opens.
  const int gewaehlt = fall.rahmen > 0 ? fall.rahmen : neuerRahmen(300, 2500, 600, 100);
  waehle(gewaehlt);
  s->AktuellesRTF = 0;

  aktion(QString::fromUtf8(fall.aktion))->trigger();
  QWidget* dialog = fall.dialog(*w);
  ASSERT_TRUE(dialog) << fall.aktion;
  EXPECT_TRUE(dialog->isVisible()) << fall.aktion;
  EXPECT_EQ(dialog->parentWidget(), w.get());
  // A click on frame 5 of the page, sent to the window as the window system does (where
  // the modality is kept).
  const ClassRahmen& f = s->rahmen(5);
  const QPoint ziel = seite()->mapTo(w.get(), pixel(f.x + f.Breite / 2.0, f.y + f.Hoehe / 2.0));
  if (!fall.modal) {
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << fall.aktion;
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, ziel);
    EXPECT_EQ(s->AktuellerRahmen, 5) << fall.aktion;
    dialog->close();
    return;
  }
  EXPECT_EQ(QApplication::activeModalWidget(), dialog) << fall.aktion;
  QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, ziel);
  EXPECT_EQ(s->AktuellerRahmen, gewaehlt) << fall.aktion;

  const int vorher = w->anzahlGezeichnet();
  dialog->close();
  EXPECT_FALSE(dialog->isVisible()) << fall.aktion;
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << fall.aktion;
  EXPECT_TRUE(warteBis([&] { return w->anzahlGezeichnet() > vorher; })) << fall.aktion;
  QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, ziel);
  EXPECT_EQ(s->AktuellerRahmen, 5) << fall.aktion;
}

QWidget* briefeditor(frmMain& w) { return w.Briefeditor(); }
QWidget* seitendialog(frmMain& w) { return w.Seitendialog(); }

INSTANTIATE_TEST_SUITE_P(
    Befehle, DialogOeffnen,
    ::testing::Values(
        Dialogfall{"mnuFilePageSetup", seitendialog, true},
        Dialogfall{"mnuRaster", seitendialog, true},
        Dialogfall{"mnuFilePrint", [](frmMain& w) -> QWidget* { return w.Druckdialog(); }, true},
        Dialogfall{"mnuBrief", briefeditor, true}, Dialogfall{"Toolbar2_5", briefeditor, true},
        Dialogfall{"Eigenschaft", briefeditor, true},
        Dialogfall{"Eigenschaft", [](frmMain& w) -> QWidget* { return w.Schriftdialog(); }, true,
                   7},
        Dialogfall{"Eigenschaft", [](frmMain& w) -> QWidget* { return w.Liniendialog(); }, true, 0},
        Dialogfall{"Einfügen", [](frmMain& w) -> QWidget* { return w.Einfuegedialog(); }, true},
        Dialogfall{"mnuRahmenEinfuegen", [](frmMain& w) -> QWidget* { return w.Einfuegedialog(); },
                   true},
        Dialogfall{"mnuInfo", [](frmMain& w) -> QWidget* { return w.Infodialog(); }, true},
        Dialogfall{"mnuRahmenPositionieren",
                   [](frmMain& w) -> QWidget* { return w.Positionsdialog(); }, false},
        Dialogfall{"Positionieren", [](frmMain& w) -> QWidget* { return w.Positionsdialog(); },
                   false}),
    benannt([](const Dialogfall& f) {
      const std::string rahmen = f.rahmen == 0    ? "_neueLinie"
                                 : f.rahmen == 31 ? ""
                                                  : "_Rahmen" + std::to_string(f.rahmen);
      return f.aktion + rahmen;
    }));

TEST_F(Befehle, BriefeditorHaeltDenBriefUndOeffnetAufBrief1) {
  startenMitWahl();
  ASSERT_TRUE(w->Briefeditor());
  EXPECT_EQ(w->Brieftext(), w->Briefeditor()->RTF());
  EXPECT_FALSE(w->Briefeditor()->isVisible());
  EXPECT_TRUE(w->Brieftext()->Text().contains(QStringLiteral("Guten Tag #Feld22")));

  // "Brief" works on letter element 1 whatever was current before.
  s->AktuellesRTF = 0;
  aktion(QStringLiteral("mnuBrief"))->trigger();
  EXPECT_EQ(s->AktuellesRTF, 1);
  ASSERT_TRUE(w->Briefeditor()->isVisible());
  // Its OK saves the letter and opens the preview.
  w->Brieftext()->selectAll();
  w->Brieftext()->setSelText(QStringLiteral("Neuer Brief"));
  QTest::mouseClick(w->Briefeditor()->ButtOk(), Qt::LeftButton);
  EXPECT_FALSE(w->Briefeditor()->isVisible());
  EXPECT_TRUE(s->BrieftextRTF.contains(QStringLiteral("Neuer Brief")));
  ASSERT_TRUE(w->Vorschaufenster());
  EXPECT_TRUE(w->Vorschaufenster()->isVisible());
  w->Vorschaufenster()->close();
}

TEST_F(Befehle, HilfeMenueOeffnetHilfeSeitenUndAdressen) {
  startenMitWahl();
  std::vector<QUrl> geoeffnet;
  w->hilfe()->oeffnen = [&](const QUrl& adresse) {
    geoeffnet.push_back(adresse);
    return true;
  };
  // Without a help file the toolbar key and the menu item say so alike.
  w->hilfe()->suchorte.clear();
  aktion(QStringLiteral("Hilfe"))->trigger();
  aktion(QStringLiteral("mnuHelpContents"))->trigger();
  ASSERT_EQ(meldungen.size(), 2u);
  EXPECT_EQ(meldungen[0].text, meldungen[1].text);
  EXPECT_TRUE(meldungen[0].text.startsWith(QStringLiteral("Hilfeinhalt konnte nicht")));
  EXPECT_FALSE(w->hilfe()->fenster());

  w->hilfe()->suchorte = {QStringLiteral(QX_QUELLE "/data/hilfe")};
  aktion(QStringLiteral("mnuHelpContents"))->trigger();
  ASSERT_TRUE(w->hilfe()->fenster());
  EXPECT_TRUE(w->hilfe()->fenster()->isVisible());
  w->hilfe()->fenster()->close();

  aktion(QStringLiteral("mnuHelpQX"))->trigger();
  aktion(QStringLiteral("mnuHelpHotline"))->trigger();
  aktion(QStringLiteral("mnuupdate"))->trigger();
  ASSERT_EQ(geoeffnet.size(), 3u);
  EXPECT_EQ(geoeffnet[0], QUrl(hilfe::Homepage));
  EXPECT_EQ(geoeffnet[1].scheme(), QStringLiteral("mailto"));
  EXPECT_TRUE(geoeffnet[2].toString().endsWith(QStringLiteral("/716.htm")));

  // The about box names the program and its version.
  aktion(QStringLiteral("mnuInfo"))->trigger();
  ASSERT_TRUE(w->Infodialog());
  EXPECT_EQ(w->Infodialog()->Label1->text(), QStringLiteral("QX Marvolant Version 7.16"));
  QTest::mouseClick(w->Infodialog()->Command1, Qt::LeftButton);
  EXPECT_FALSE(w->Infodialog()->isVisible());
}

TEST_F(Befehle, ExportBefehleSchreibenBildUndTextdokument) {
  startenMitWahl();
  s->Exportzoom = 1;
  QString gefragt;
  const QString bild = ablage.filePath(QStringLiteral("seite.bmp"));
  w->bildDialog = [&](const QString& titel, const QString& vorschlag, const QString&) {
    gefragt = titel + QLatin1Char('|') + vorschlag;
    return bild;
  };
  aktion(QStringLiteral("mnuBildSpeichern"))->trigger();
  EXPECT_EQ(gefragt, QStringLiteral("Bild speichern|QXMarvolant.bmp"));
  const QImage seitenbild(bild, "BMP");
  ASSERT_FALSE(seitenbild.isNull());
  EXPECT_NEAR(seitenbild.width(), 2100 * 5.67 / 15, 1);
  EXPECT_EQ(s->Exportmodus, 0);

  std::vector<QUrl> uebergeben;
  w->wordExport()->oeffnen = [&](const QUrl& datei) {
    uebergeben.push_back(datei);
    return true;
  };
  aktion(QStringLiteral("mnuWord"))->trigger();
  ASSERT_EQ(uebergeben.size(), 1u);
  const QString dokument = uebergeben[0].toLocalFile();
  EXPECT_TRUE(meldungen.empty());
  // The document stays after the main window is gone; the test removes it from the per-user
  // folder it was written to.
  w.reset();
  EXPECT_TRUE(QFile::exists(dokument));
  QFile::remove(dokument);
}

// --- Insert flow -------------------------------------------------------------------------

TEST_F(Befehle, BildEinfuegenOhneDateiVerschwindetBeimAbbruch) {
  startenMitWahl();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  zoom(100);
  const int rahmenVorher = s->AnzahlRahmen;

  aktion(QStringLiteral("mnuRahmenEinfuegen"))->trigger();
  frmEinfuegen* waehler = w->Einfuegedialog();
  ASSERT_TRUE(waehler && waehler->isVisible());
  QTest::mouseClick(waehler->Button[3], Qt::LeftButton);
  EXPECT_FALSE(waehler->isVisible());
  EXPECT_EQ(s->Einfuegemodus, 1);
  EXPECT_EQ(s->AnzahlRahmen, rahmenVorher + 1);
  EXPECT_FALSE(seite()->rahmenSichtbar());
  EXPECT_EQ(seite()->cursor().shape(), Qt::CrossCursor);

  const QPoint start(150, 500);
  QTest::mousePress(seite(), Qt::LeftButton, {}, start);
  QTest::mouseMove(seite(), start + QPoint(40, 40));
  QTest::mouseMove(seite(), start + QPoint(80, 60));
  QTest::mouseRelease(seite(), Qt::LeftButton, {}, start + QPoint(80, 60));
  EXPECT_EQ(s->Einfuegemodus, 0);
  const ClassRahmen& r = s->rahmen(rahmenVorher + 1);
  EXPECT_TRUE(r.Sichtbar);
  EXPECT_EQ(r.x, static_cast<int>(std::lround(150 * 15 / 5.67)));
  EXPECT_EQ(r.y, static_cast<int>(std::lround(500 * 15 / 5.67)));

  frmBild* dialog = w->Bilddialog();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), dialog);
  EXPECT_EQ(dialog->TabStripSchrift->currentIndex(), 0);
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(s->AnzahlRahmen, rahmenVorher);
  EXPECT_TRUE(meldungen.empty());
  EXPECT_LE(s->AktuellerRahmen, s->AnzahlRahmen);
}

TEST_F(Befehle, LinieEinfuegenUndAbbrechenBehaeltDieLinieMitIhrenVorgaben) {
  startenMitWahl();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  zoom(100);
  aktion(QStringLiteral("Einfügen"))->trigger();
  frmEinfuegen* waehler = w->Einfuegedialog();
  ASSERT_TRUE(waehler && waehler->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), waehler);
  QTest::mouseClick(waehler->Button[4], Qt::LeftButton);
  const int n = s->AnzahlRahmen;
  ASSERT_EQ(s->rahmen(n).Objekttyp, QStringLiteral("Linie"));
  const int linie = s->AktuelleLinie;
  const ClassLinie vorgabe = s->linie(linie);
  EXPECT_EQ(s->Einfuegemodus, 1);
  EXPECT_FALSE(seite()->rahmenSichtbar());
  for (int i = 1; i <= 8; ++i) EXPECT_FALSE(seite()->ziehpunkt(i)->isVisible()) << i;
  EXPECT_EQ(seite()->cursor().shape(), Qt::CrossCursor);

  // The rectangle grows from the press to the right and down while the mouse moves.
  const QPoint start(120, 700);
  QTest::mousePress(seite(), Qt::LeftButton, {}, start);
  EXPECT_TRUE(seite()->rahmenSichtbar());
  QTest::mouseMove(seite(), start + QPoint(60, 20));
  EXPECT_DOUBLE_EQ(w->Rahmen().width(), 60 * 15.0);
  QTest::mouseMove(seite(), start + QPoint(150, 30));
  QTest::mouseRelease(seite(), Qt::LeftButton, {}, start + QPoint(150, 30));
  const ClassRahmen& r = s->rahmen(n);
  EXPECT_TRUE(r.Sichtbar);
  EXPECT_EQ(r.x, static_cast<int>(std::lround(120 * 15 / 5.67)));
  EXPECT_EQ(r.y, static_cast<int>(std::lround(700 * 15 / 5.67)));
  EXPECT_EQ(r.Breite, static_cast<int>(std::lround(150 * 15 / 5.67)));
  EXPECT_EQ(r.Hoehe, static_cast<int>(std::lround(30 * 15 / 5.67)));
  EXPECT_EQ(s->AktuellerRahmen, n);
  EXPECT_NE(seite()->cursor().shape(), Qt::CrossCursor);

  // Its properties dialog opens on its first page; cancelling keeps the line as made.
  frmlinie* dialog = w->Liniendialog();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), dialog);
  EXPECT_EQ(dialog->TabStripLinie()->currentIndex(), 0);
  QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(s->AnzahlRahmen, n);
  EXPECT_TRUE(s->rahmen(n).Sichtbar);
  EXPECT_TRUE(s->linie(linie) == vorgabe);
  EXPECT_TRUE(seite()->ziehpunkt(5)->isVisible());

  // A text frame whose text was emptied is hidden; "Eigenschaft" shows it again with the
  // text dialog on its first page.
  waehle(9);
  s->rahmen(9).Sichtbar = false;
  aktion(QStringLiteral("Eigenschaft"))->trigger();
  EXPECT_TRUE(s->rahmen(9).Sichtbar);
  ASSERT_TRUE(w->Schriftdialog());
  EXPECT_TRUE(w->Schriftdialog()->isVisible());
  EXPECT_EQ(w->Schriftdialog()->TabStripSchrift()->currentIndex(), 0);
  EXPECT_EQ(s->AktuelleSchrift, 9);
  w->Schriftdialog()->close();
}

TEST_F(Befehle, AbbruchDesEinfuegensErzeugtNichts) {
  startenMitWahl();
  const int rahmen = s->AnzahlRahmen;
  const int linien = s->AnzahlLinien;
  aktion(QStringLiteral("Einfügen"))->trigger();
  QTest::mouseClick(w->Einfuegedialog()->Abbruch, Qt::LeftButton);
  EXPECT_FALSE(w->Einfuegedialog()->isVisible());
  EXPECT_EQ(s->AnzahlRahmen, rahmen);
  EXPECT_EQ(s->AnzahlLinien, linien);
  EXPECT_EQ(s->Einfuegemodus, 0);
  EXPECT_NE(seite()->cursor().shape(), Qt::CrossCursor);
}

// --- Direct print ------------------------------------------------------------------------

TEST_F(Befehle, DruckenSpeichertDieAdresseUndDrucktDieSeiteSofort) {
  startenMitWahl();
  const QString pdf = ablage.filePath(QStringLiteral("seite.pdf"));
  s->VSPrinter1->setzePdfDatei(pdf);
  w->PanelZeigen(4);
  tippen(29, QStringLiteral("Vorzugskunde"));

  aktion(QStringLiteral("Drucken"))->trigger();
  EXPECT_TRUE(meldungen.empty());
  EXPECT_FALSE(s->VSPrinter1->Preview);
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_TRUE(dateiInhalt(pdf).startsWith("%PDF"));
  // No preview window was involved.
  EXPECT_FALSE(w->Vorschaufenster() && w->Vorschaufenster()->isVisible());

  // The edit is in the database before the page was printed.
  Datensteuerung pruefung;
  ASSERT_TRUE(pruefung.oeffnen(ordner.filePath(QStringLiteral("adressen.db"))));
  EXPECT_EQ(pruefung.wert(QStringLiteral("Sonstiges 2")), QStringLiteral("Vorzugskunde"));
}

// --- Zoom fits ---------------------------------------------------------------------------

TEST_F(Befehle, GanzeSeiteNimmtDieKleinereAnpassung) {
  // A landscape page in a wide, low window: the height decides.
  startenMitWahl(QSize(1400, 700));
  s->Seite->Breite = 2970;
  s->Seite->Hoehe = 2100;
  aktion(QStringLiteral("mnuViewSeitenbreite"))->trigger();
  const double breitenZoom = s->Zoom;
  const QSize sicht = w->VSView()->viewport()->size();
  EXPECT_LE(seite()->width(), sicht.width());
  aktion(QStringLiteral("mnuViewganze_Seite"))->trigger();
  EXPECT_LT(s->Zoom, breitenZoom);
  EXPECT_LE(seite()->height(), w->VSView()->viewport()->height());
  EXPECT_GE(seite()->height(), w->VSView()->viewport()->height() * 9 / 10);

  // In a narrow, tall window the width decides: both fits give the same zoom.
  w->resize(820, 1300);
  ASSERT_TRUE(warteBis([&] { return w->VSView()->height() > w->VSView()->width(); }));
  aktion(QStringLiteral("mnuViewSeitenbreite"))->trigger();
  const double schmal = s->Zoom;
  aktion(QStringLiteral("mnuViewganze_Seite"))->trigger();
  EXPECT_EQ(s->Zoom, schmal);
  EXPECT_LE(seite()->width(), w->VSView()->viewport()->width());

  // A page too wide to fit even at the smallest zoom is shown at that zoom.
  s->Seite->Breite = ClassSeite::GroesstesMass;
  s->Zoom = 100;
  aktion(QStringLiteral("mnuViewSeitenbreite"))->trigger();
  EXPECT_EQ(s->Zoom, 10);
  EXPECT_NEAR(seite()->width(), ClassSeite::GroesstesMass * 5.67 / 10 / 15, 1);
}

}  // namespace
