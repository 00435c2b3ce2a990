// Picture export (size by export zoom, nothing of the page view's grid and guide zones, a
// failed save), the word-processor document (well-formed, picture behind the text, margins,
// "Texteingabe", nothing left after a failure), the help links and window, and the about box.
// With QX_TESTBILDER naming a folder, pictures of the about box and the help are saved there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QXmlStreamReader>
#include <map>

#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "core/start.h"
#include "gemeinsam/testfenster.h"
#include "platform/bildflaeche.h"
#include "ui/export.h"
#include "ui/frminfo.h"
#include "ui/hilfe.h"

namespace {
struct ExportTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;
  QString tempVorher;

  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
    s.Seite->Breite = 2100;
    s.Seite->Hoehe = 2970;
    // The word-processor export puts its folder under TEMP.
    tempVorher = qEnvironmentVariable("TEMP");
    qputenv("TEMP", ordner.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("TEMP", tempVorher.toLocal8Bit()); }

  QString pfad(const QString& name) const { return QDir(ordner.path()).filePath(name); }
  // A file chooser that answers with a fixed path and records what it was asked.
  QStringList gefragt;
  DateinamenWahl antworte(const QString& antwort) {
    return [this, antwort](const QString& titel, const QString& vorschlag, const QString& filter) {
      gefragt = {titel, vorschlag, filter};
      return antwort;
    };
  }
};

bool ganzWeiss(const QImage& bild, QRect bereich) {
  for (int y = bereich.top(); y <= bereich.bottom(); ++y)
    for (int x = bereich.left(); x <= bereich.right(); ++x)
      if ((bild.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
  return true;
}
}  // namespace

TEST_F(ExportTest, BildGroesseFolgtDemExportzoom) {
  struct Fall {
    double zoom;
    double faktor;  // the scale actually used
  };
  // Outside 1..10 (0 when nothing has set it yet) the page dialog's rule gives 2.
  const Fall faelle[] = {{1, 1}, {2, 2}, {0, 2}, {11, 2}, {-1, 2}, {0.5, 2}, {3, 3}};
  for (const Fall& f : faelle) {
    s.Exportzoom = f.zoom;
    const QString datei = pfad(QStringLiteral("seite.bmp"));
    ASSERT_TRUE(mnuBildSpeichern_Click(s, antworte(datei))) << f.zoom;
    QImage bild(datei, "BMP");
    ASSERT_FALSE(bild.isNull()) << f.zoom;
    // 2100 x 2970 units at 5.67 twips and 15 twips per pixel: about 794 x 1123 pixels.
    EXPECT_NEAR(bild.width(), 793.8 * f.faktor, 1) << f.zoom;
    EXPECT_NEAR(bild.height(), 1122.66 * f.faktor, 1) << f.zoom;
    EXPECT_EQ(s.Exportzoom, f.zoom);
    EXPECT_EQ(s.Exportmodus, 0);
  }
  EXPECT_EQ(gefragt,
            (QStringList{QStringLiteral("Bild speichern"), QStringLiteral("QXMarvolant.bmp"),
                         QStringLiteral("BMP-Bilddatei (*.bmp)")}));
  EXPECT_TRUE(fenster.meldungen.empty());
}

TEST_F(ExportTest, ExportZeigtKeinRasterUndKeineHilfsbereiche) {
  s.Exportzoom = 1;
  s.Zoom = 100;
  s.RasterAnzeigen = -1;
  s.HilfsbereicheAnzeigen = -1;
  s.AlleRahmenAnzeigen = -1;
  // One address line in frame 21; every other text is empty and its frame hidden.
  fenster.felder[21] = QStringLiteral("Exportzeile");
  SeiteZeichnen(s);
  const QImage ansicht = s.PictureSeite->bild().copy();
  const QString datei = pfad(QStringLiteral("seite.bmp"));
  ASSERT_TRUE(mnuBildSpeichern_Click(s, antworte(datei)));
  const QImage bild(datei, "BMP");
  ASSERT_FALSE(bild.isNull());

  // The left margin's guide zone and the grid line at 10 mm on the page view...
  const QRect rand(0, 500, 4, 100);
  const QRect rasterspalte(37, 950, 2, 150);
  ASSERT_FALSE(ganzWeiss(ansicht, rand));
  ASSERT_FALSE(ganzWeiss(ansicht, rasterspalte));
  // ...are not in the exported picture, nor is any outline, but the text is.
  EXPECT_TRUE(ganzWeiss(bild, rand));
  EXPECT_TRUE(ganzWeiss(bild, rasterspalte));
  const ClassRahmen& f = s.rahmen(21);
  const double m = 5.67 / 15;
  const QRect text(static_cast<int>(f.x * m), static_cast<int>(f.y * m),
                   static_cast<int>(f.Breite * m), static_cast<int>(f.Hoehe * m));
  EXPECT_FALSE(ganzWeiss(bild, text.intersected(bild.rect())));
  EXPECT_TRUE(ganzWeiss(bild, QRect(text.left() - 3, text.top(), 2, text.height())));
  // The page view is drawn again at its own zoom afterwards.
  EXPECT_EQ(s.PictureSeite->bild(), ansicht);
}

TEST_F(ExportTest, AbbruchUndFehlschlagBeimSpeichern) {
  s.Exportzoom = 1;
  // Cancelled: nothing is rendered, nothing said.
  s.Lead2->setzeGroesse(150, 150);
  EXPECT_FALSE(mnuBildSpeichern_Click(s, antworte(QString())));
  EXPECT_EQ(s.Lead2->bild().width(), 10);
  EXPECT_TRUE(fenster.meldungen.empty());

  // A name that cannot be written (here a folder): told in German, no file of any kind left.
  const QString ziel = pfad(QStringLiteral("ziel"));
  ASSERT_TRUE(QDir().mkpath(QDir(ziel).filePath(QStringLiteral("seite.bmp"))));
  EXPECT_FALSE(
      mnuBildSpeichern_Click(s, antworte(QDir(ziel).filePath(QStringLiteral("seite.bmp")))));
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("seite.bmp")));
  EXPECT_EQ(fenster.meldungen[0].symbol, Symbol::Ausrufezeichen);
  EXPECT_EQ(QDir(ziel).entryList(QDir::Files | QDir::Hidden).size(), 0);
  EXPECT_EQ(s.Exportmodus, 0);
}

TEST_F(ExportTest, WorddokumentHaeltSeitenbildUndTexteingabe) {
  s.Exportzoom = 1;
  fenster.felder[21] = QStringLiteral("Exportzeile");
  WordExport word(s);
  QUrl geoeffnet;
  word.oeffnen = [&](const QUrl& url) {
    geoeffnet = url;
    return true;
  };
  ASSERT_TRUE(word.mnuWord_Click());
  EXPECT_TRUE(fenster.meldungen.empty());
  EXPECT_EQ(s.Exportmodus, 0);
  ASSERT_TRUE(geoeffnet.isLocalFile());
  const QString datei = geoeffnet.toLocalFile();
  EXPECT_EQ(datei, word.letzteDatei());
  EXPECT_TRUE(datei.endsWith(QStringLiteral(".fodt")));
  EXPECT_TRUE(datei.startsWith(ordner.path()));  // in a folder under TEMP

  QFile f(datei);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QXmlStreamReader x(&f);
  std::map<QString, QXmlStreamAttributes> elemente;  // the last of each name
  QStringList absaetze;
  QByteArray png;
  while (!x.atEnd()) {
    x.readNext();
    if (!x.isStartElement()) continue;
    const QString name = x.qualifiedName().toString();
    elemente[name] = x.attributes();
    if (name == QLatin1String("text:p"))
      absaetze << x.readElementText();
    else if (name == QLatin1String("office:binary-data"))
      png = QByteArray::fromBase64(x.readElementText().toLatin1());
  }
  ASSERT_FALSE(x.hasError()) << x.errorString().toStdString() << " line " << x.lineNumber();

  auto attr = [&](const char* element, const char* name) {
    return elemente[QString::fromLatin1(element)].value(QString::fromLatin1(name)).toString();
  };
  EXPECT_EQ(attr("office:document", "office:mimetype"),
            QStringLiteral("application/vnd.oasis.opendocument.text"));
  // The picture: page 1, top-left corner, the page's size, behind the text.
  EXPECT_EQ(attr("draw:frame", "text:anchor-type"), QStringLiteral("page"));
  EXPECT_EQ(attr("draw:frame", "svg:x"), QStringLiteral("0mm"));
  EXPECT_EQ(attr("draw:frame", "svg:y"), QStringLiteral("0mm"));
  EXPECT_EQ(attr("draw:frame", "svg:width"), QStringLiteral("210.0mm"));
  EXPECT_EQ(attr("draw:frame", "svg:height"), QStringLiteral("297.0mm"));
  EXPECT_EQ(attr("style:graphic-properties", "style:wrap"), QStringLiteral("run-through"));
  EXPECT_EQ(attr("style:graphic-properties", "style:run-through"), QStringLiteral("background"));
  EXPECT_EQ(attr("style:graphic-properties", "style:horizontal-rel"), QStringLiteral("page"));
  EXPECT_EQ(attr("style:graphic-properties", "style:vertical-rel"), QStringLiteral("page"));
  // The page and the text area below the letterhead.
  EXPECT_EQ(attr("style:page-layout-properties", "fo:page-width"), QStringLiteral("210.0mm"));
  EXPECT_EQ(attr("style:page-layout-properties", "fo:page-height"), QStringLiteral("297.0mm"));
  EXPECT_EQ(attr("style:page-layout-properties", "fo:margin-left"), QStringLiteral("2cm"));
  EXPECT_EQ(attr("style:page-layout-properties", "fo:margin-top"), QStringLiteral("4cm"));
  EXPECT_EQ(attr("style:page-layout-properties", "fo:margin-right"), QStringLiteral("2cm"));
  EXPECT_EQ(attr("style:page-layout-properties", "fo:margin-bottom"), QStringLiteral("2cm"));
  ASSERT_EQ(absaetze.size(), 15);
  for (int i = 0; i < 14; ++i) EXPECT_TRUE(absaetze[i].isEmpty()) << i;
  EXPECT_EQ(absaetze[14], QStringLiteral("Texteingabe"));

  // The embedded picture is the exported page.
  QImage bild;
  ASSERT_TRUE(bild.loadFromData(png, "PNG"));
  EXPECT_NEAR(bild.width(), 794, 1);
  EXPECT_NEAR(bild.height(), 1123, 1);
  EXPECT_FALSE(ganzWeiss(bild, bild.rect()));

  // A second export is a new document beside the first, which the word processor may still
  // have open.
  ASSERT_TRUE(word.mnuWord_Click());
  EXPECT_NE(word.letzteDatei(), datei);
  EXPECT_TRUE(QFile::exists(datei));
}

TEST_F(ExportTest, GescheiterterWordexportLaesstNichtsZurueck) {
  s.Exportzoom = 1;
  WordExport word(s);
  word.oeffnen = [](const QUrl&) { return false; };  // no word processor for the file
  EXPECT_FALSE(word.mnuWord_Click());
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(
      fenster.meldungen[0].text.startsWith(QStringLiteral("Keine Wordverbindung möglich:  ")));
  EXPECT_GT(fenster.meldungen[0].text.size(), 31);  // followed by a reason
  EXPECT_EQ(fenster.meldungen[0].symbol, Symbol::Ausrufezeichen);
  ASSERT_FALSE(word.ordner().isEmpty());
  EXPECT_TRUE(QDir(word.ordner()).entryList(QDir::Files | QDir::Hidden).isEmpty());

  // The document cannot be written (its name is taken by a folder): the same message, and
  // again nothing left.
  word.oeffnen = [](const QUrl&) { return true; };
  ASSERT_TRUE(QDir().mkpath(QDir(word.ordner()).filePath(QStringLiteral("QXMarvolant-2.fodt"))));
  EXPECT_FALSE(word.mnuWord_Click());
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_TRUE(
      fenster.meldungen[1].text.startsWith(QStringLiteral("Keine Wordverbindung möglich:  ")));
  EXPECT_TRUE(QDir(word.ordner()).entryList(QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_EQ(s.Exportmodus, 0);
}

// --- Help --------------------------------------------------------------------------------

TEST(Hilfe, UpdateseiteAusDerVersion) {
  EXPECT_EQ(UpdateSeite(QStringLiteral("7.16")), QStringLiteral("716.htm"));
  EXPECT_EQ(UpdateSeite(QStringLiteral("10.0")), QStringLiteral("100.htm"));
  EXPECT_EQ(UpdateSeite(QStringLiteral("7.1.2")), QStringLiteral("71.2.htm"));  // first point
  EXPECT_EQ(UpdateSeite(QStringLiteral("8")), QStringLiteral("8.htm"));
}

TEST_F(ExportTest, HilfeVerweiseGehenAnDenDesktop) {
  QWidget haupt;
  Hilfe hilfe(s, &haupt);
  std::vector<QUrl> geoeffnet;
  bool gelingt = true;
  hilfe.oeffnen = [&](const QUrl& url) {
    geoeffnet.push_back(url);
    return gelingt;
  };
  hilfe.mnuHelpQX_Click();
  hilfe.mnuHelpHotline_Click();
  hilfe.mnuupdate_Click();
  ASSERT_EQ(geoeffnet.size(), 3u);
  EXPECT_EQ(geoeffnet[0].scheme(), QStringLiteral("https"));
  EXPECT_EQ(geoeffnet[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(geoeffnet[2], QUrl(hilfe::Updateordner + QStringLiteral("716.htm")));
  EXPECT_TRUE(hilfe::Updateordner.endsWith(u'/'));
  EXPECT_TRUE(fenster.meldungen.empty());

  // Nothing on the desktop opens the address: the user is told.
  gelingt = false;
  hilfe.mnuHelpQX_Click();
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(hilfe::Homepage));
}

TEST_F(ExportTest, OhneHilfedateiNurDieMeldung) {
  QWidget haupt;
  Hilfe hilfe(s, &haupt);
  hilfe.suchorte = {ordner.path()};  // no index.html there
  EXPECT_TRUE(hilfe.Hilfedatei().isEmpty());
  hilfe.mnuHelpContents_Click();
  hilfe.mnuHelpContents_Click();  // the toolbar key runs the same
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  for (const auto& m : fenster.meldungen) {
    EXPECT_EQ(m.text, QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser Anwendung "
                                     "ist keine Hilfedatei zugeordnet."));
    EXPECT_EQ(m.symbol, Symbol::Information);
    EXPECT_TRUE(m.titel.isEmpty());  // the application's title
  }
  EXPECT_EQ(hilfe.fenster(), nullptr);
}

TEST_F(ExportTest, HilfefensterFolgtSeinenVerweisen) {
  // The help folder of the start-up folder is found whatever the letter case.
  const QDir start(ordner.path());
  ASSERT_TRUE(start.mkpath(QStringLiteral("Hilfe")));
  const QDir quelle(QStringLiteral(QX_QUELLE "/data/hilfe"));
  for (const QString& name : quelle.entryList(QDir::Files))
    QFile::copy(quelle.filePath(name), start.filePath(QStringLiteral("Hilfe/") + name));
  QFile::rename(start.filePath(QStringLiteral("Hilfe/index.html")),
                start.filePath(QStringLiteral("Hilfe/INDEX.html")));

  QWidget haupt;
  Hilfe hilfe(s, &haupt);
  EXPECT_EQ(hilfe.Hilfedatei(), start.filePath(QStringLiteral("Hilfe/INDEX.html")));
  std::vector<QUrl> geoeffnet;
  hilfe.oeffnen = [&](const QUrl& url) {
    geoeffnet.push_back(url);
    return true;
  };
  hilfe.mnuHelpContents_Click();
  ASSERT_NE(hilfe.fenster(), nullptr);
  EXPECT_TRUE(hilfe.fenster()->isVisible());
  EXPECT_TRUE(fenster.meldungen.empty());
  QTextBrowser* b = hilfe.fenster()->browser();
  EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Erste Schritte")));
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    hilfe.fenster()->grab().save(QDir(aus).filePath(QStringLiteral("hilfe.png")));

  // A page of the help stays in the window, a web address goes to the desktop.
  emit b->anchorClicked(QUrl(QStringLiteral("drucken.html")));
  EXPECT_TRUE(b->source().toLocalFile().endsWith(QStringLiteral("drucken.html")));
  EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Wieviele Kopien")));
  emit b->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
  ASSERT_EQ(geoeffnet.size(), 1u);
  EXPECT_EQ(geoeffnet[0], QUrl(QStringLiteral("https://example.org/")));
  hilfe.fenster()->close();
}

TEST(Hilfe, SeitenVerweisenNurAufVorhandeneSeiten) {
  const QDir ordner(QStringLiteral(QX_QUELLE "/data/hilfe"));
  const QStringList seiten = ordner.entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_TRUE(seiten.contains(QStringLiteral("index.html")));
  ASSERT_GE(seiten.size(), 6);
  static const QRegularExpression verweis(QStringLiteral("href=\"([^\"#]*)"));
  QStringList erreicht{QStringLiteral("index.html")};
  for (const QString& seite : seiten) {
    QFile f(ordner.filePath(seite));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    // No outside resources: no pictures, scripts or style sheets from elsewhere.
    EXPECT_FALSE(text.contains(QStringLiteral("src="))) << seite.toStdString();
    for (auto it = verweis.globalMatch(text); it.hasNext();) {
      const QString ziel = it.next().captured(1);
      if (ziel.isEmpty() || ziel.contains(u':')) continue;
      EXPECT_TRUE(seiten.contains(ziel)) << seite.toStdString() << " -> " << ziel.toStdString();
      erreicht << ziel;
    }
  }
  for (const QString& seite : seiten)
    EXPECT_TRUE(erreicht.contains(seite)) << seite.toStdString() << " is not linked";
}

// --- About box ---------------------------------------------------------------------------

TEST_F(ExportTest, InfoGibtDasHauptfensterWiederFrei) {
  QWidget haupt;
  auto* knopf = new QPushButton(QStringLiteral("Haupt"), &haupt);
  int geklickt = 0;
  QObject::connect(knopf, &QPushButton::clicked, [&] { ++geklickt; });
  haupt.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&haupt));

  // Clicks go through the window system, where a modal window blocks the others.
  auto klickeHaupt = [&] {
    QTest::mouseClick(haupt.windowHandle(), Qt::LeftButton, {},
                      knopf->mapTo(&haupt, knopf->rect().center()));
  };

  frmInfo info(s, &haupt);
  QSignalSpy geschlossen(&info, &frmInfo::geschlossen);
  EXPECT_EQ(info.windowTitle(), QStringLiteral("Info"));
  EXPECT_EQ(info.Command1->text(), QStringLiteral("Ok"));

  auto schliessen = std::map<const char*, std::function<void()>>{
      {"Ok", [&] { QTest::mouseClick(info.Command1, Qt::LeftButton); }},
      {"Schließfeld", [&] { info.close(); }},
      {"Escape", [&] { QTest::keyClick(&info, Qt::Key_Escape); }},
  };
  int runde = 0;
  for (const auto& [wie, tun] : schliessen) {
    info.zeigen();
    EXPECT_EQ(info.Label1->text(), QStringLiteral("QX Marvolant Version 7.16"));
    EXPECT_EQ(QApplication::activeModalWidget(), &info) << wie;
    klickeHaupt();
    EXPECT_EQ(geklickt, runde) << wie;  // blocked while the box is open
    tun();
    ++runde;
    EXPECT_FALSE(info.isVisible()) << wie;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << wie;
    EXPECT_EQ(geschlossen.count(), runde) << wie;
    klickeHaupt();
    EXPECT_EQ(geklickt, runde) << wie;  // the main window takes input again
  }

  // The title line is filled anew each time the box is shown.
  s.Programmversion = QStringLiteral("7.17");
  info.zeigen();
  EXPECT_EQ(info.Label1->text(), QStringLiteral("QX Marvolant Version 7.17"));
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    info.grab().save(QDir(aus).filePath(QStringLiteral("frminfo.png")));
  info.close();
}
