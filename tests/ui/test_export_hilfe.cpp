// Picture export (size by export zoom, nothing of the page view's grid and guide zones, a
// failed save), the word-processor document (a template package with the picture behind the
// text, margins, "Texteingabe"; kept after the program, old ones removed, kept and named when
// nothing opens it, nothing left after another failure), the help links and window, and the
// about box.
// With QX_TESTBILDER naming a folder, pictures of the about box and the help and the
// word-processor document are saved there.
#include <gtest/gtest.h>
#include <zip.h>

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
#include "gemeinsam/voller_datentraeger.h"
#include "platform/bildflaeche.h"
#include "ui/export.h"
#include "ui/frminfo.h"
#include "ui/hilfe.h"

namespace {
struct ExportTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  TestFenster fenster;

  void SetUp() override {
    Main(s, ordner.path());
    s.fenster = &fenster;
    s.Seite->Breite = 2100;
    s.Seite->Hoehe = 2970;
  }

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

// The files of a zip archive in their order, each with whether it is stored uncompressed.
struct Gepackt {
  QString name;
  bool ungepackt;
  QByteArray daten;
};
std::vector<Gepackt> entpacke(const QString& pfad) {
  std::vector<Gepackt> alle;
  int fehler = 0;
  zip_t* a = zip_open(QFile::encodeName(pfad).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &fehler);
  if (!a) return alle;
  for (zip_int64_t i = 0; i < zip_get_num_entries(a, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(a, i, 0, &st);
    QByteArray daten(static_cast<qsizetype>(st.size), '\0');
    zip_file_t* f = zip_fopen_index(a, i, 0);
    if (f && zip_fread(f, daten.data(), st.size) == static_cast<zip_int64_t>(st.size))
      alle.push_back({QString::fromUtf8(st.name), st.comp_method == ZIP_CM_STORE, daten});
    if (f) zip_fclose(f);
  }
  zip_discard(a);
  return alle;
}

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

TEST_F(ExportTest, WorddokumentIstVorlageMitSeitenbildUndBleibt) {
  s.Exportzoom = 1;
  fenster.felder[21] = QStringLiteral("Exportzeile");
  const QString exportordner = pfad(QStringLiteral("Export"));
  QString datei, zweite;
  {
    WordExport word(s, exportordner);
    QUrl geoeffnet;
    word.oeffnen = [&](const QUrl& url) {
      geoeffnet = url;
      return true;
    };
    ASSERT_TRUE(word.mnuWord_Click());
    EXPECT_TRUE(fenster.meldungen.empty());
    EXPECT_EQ(s.Exportmodus, 0);
    ASSERT_TRUE(geoeffnet.isLocalFile());
    datei = geoeffnet.toLocalFile();
    EXPECT_EQ(datei, word.letzteDatei());
    EXPECT_EQ(QFileInfo(datei).absolutePath(), exportordner);
    // A second export, in the same second, is a new document beside the first, which the word
    // processor may still have open.
    ASSERT_TRUE(word.mnuWord_Click());
    zweite = word.letzteDatei();
    EXPECT_NE(zweite, datei);
  }
  // Both outlive the export object (and so the main window that owns it).
  EXPECT_TRUE(QFile::exists(datei));
  EXPECT_TRUE(QFile::exists(zweite));
  EXPECT_EQ(QDir(exportordner).entryList(QDir::Files | QDir::Hidden).size(), 2);
  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty())
    QFile::copy(datei, QDir(aus).filePath(QStringLiteral("wordexport.ott")));

  // A word processor recognises the package by its first bytes: the first entry is
  // "mimetype", uncompressed and without extra fields, holding the template's type.
  QFile f(datei);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray typ("application/vnd.oasis.opendocument.text-template");
  EXPECT_EQ(f.read(38 + typ.size()).mid(30), "mimetype" + typ);
  const std::vector<Gepackt> teile = entpacke(datei);
  ASSERT_GE(teile.size(), 5u);
  EXPECT_EQ(teile[0].name, QStringLiteral("mimetype"));
  EXPECT_TRUE(teile[0].ungepackt);
  std::map<QString, QByteArray> inhalt;
  for (const Gepackt& t : teile) inhalt[t.name] = t.daten;

  // Every XML part is read: the elements' attributes (the last of each name), the paragraphs.
  std::map<QString, QXmlStreamAttributes> elemente;
  QStringList absaetze, manifest;
  for (const char* teil : {"content.xml", "styles.xml", "meta.xml", "META-INF/manifest.xml"}) {
    ASSERT_TRUE(inhalt.count(QLatin1String(teil))) << teil;
    QXmlStreamReader x(inhalt[QLatin1String(teil)]);
    while (!x.atEnd()) {
      x.readNext();
      if (!x.isStartElement()) continue;
      const QString name = x.qualifiedName().toString();
      elemente[name] = x.attributes();
      if (name == QLatin1String("text:p")) absaetze << x.readElementText();
      if (name == QLatin1String("manifest:file-entry"))
        manifest << x.attributes().value(QStringLiteral("manifest:full-path")).toString();
    }
    ASSERT_FALSE(x.hasError()) << teil << ": " << x.errorString().toStdString();
  }
  auto attr = [&](const char* element, const char* name) {
    return elemente[QString::fromLatin1(element)].value(QString::fromLatin1(name)).toString();
  };
  // The manifest names the package's type and every file in it.
  for (const Gepackt& t : teile) {
    if (t.name != QLatin1String("mimetype") && !t.name.startsWith(QLatin1String("META-INF/"))) {
      EXPECT_TRUE(manifest.contains(t.name)) << t.name.toStdString();
    }
  }
  EXPECT_TRUE(manifest.contains(QStringLiteral("/")));

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

  // The picture the frame refers to is in the package and is the exported page.
  const QString bildname = attr("draw:image", "xlink:href");
  ASSERT_TRUE(inhalt.count(bildname)) << bildname.toStdString();
  QImage bild;
  ASSERT_TRUE(bild.loadFromData(inhalt[bildname], "PNG"));
  EXPECT_NEAR(bild.width(), 794, 1);
  EXPECT_NEAR(bild.height(), 1123, 1);
  EXPECT_FALSE(ganzWeiss(bild, bild.rect()));
}

TEST_F(ExportTest, AlteExporteVerschwindenBeimStart) {
  const QDir ordner(pfad(QStringLiteral("Export")));
  ASSERT_TRUE(ordner.mkpath(QStringLiteral(".")));
  const QDateTime jetzt = QDateTime::currentDateTime();
  auto lege = [&](const QString& name, int tage) {
    QFile f(ordner.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.setFileTime(jetzt.addDays(-tage), QFileDevice::FileModificationTime));
  };
  lege(QStringLiteral("QXMarvolant-20260101-120000.ott"), 8);
  lege(QStringLiteral("QXMarvolant-20260101-120000-2.ott"), 8);
  lege(QStringLiteral("QXMarvolant-20260105-120000.ott"), 6);
  lege(QStringLiteral("Brief.ott"), 30);  // the user's own files are never touched
  lege(QStringLiteral("QXMarvolant-Brief.ott"), 30);
  lege(QStringLiteral("QXMarvolant-20260101-120000.odt"), 30);

  WordExport word(s, ordner.path());  // made by the main window at program start
  QStringList geblieben = ordner.entryList(QDir::Files);
  geblieben.sort();
  EXPECT_EQ(geblieben, (QStringList{QStringLiteral("Brief.ott"),
                                    QStringLiteral("QXMarvolant-20260101-120000.odt"),
                                    QStringLiteral("QXMarvolant-20260105-120000.ott"),
                                    QStringLiteral("QXMarvolant-Brief.ott")}));
}

TEST_F(ExportTest, GescheiterterWordexportNenntDieVorlageOderLaesstNichtsZurueck) {
  s.Exportzoom = 1;
  // A desktop that knows no application for the template: its xdg-mime answers nothing.
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("bin")));
  QFile xdgMime(pfad(QStringLiteral("bin/xdg-mime")));
  ASSERT_TRUE(xdgMime.open(QIODevice::WriteOnly));
  xdgMime.write("#!/bin/sh\nexit 0\n");
  xdgMime.close();
  xdgMime.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray suchpfad = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(pfad(QStringLiteral("bin"))) + ':' + suchpfad);
  WordExport word(s, pfad(QStringLiteral("Export")));
  EXPECT_FALSE(word.mnuWord_Click());
  qputenv("PATH", suchpfad);
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(
      fenster.meldungen[0].text.startsWith(QStringLiteral("Keine Wordverbindung möglich:  ")));
  EXPECT_GT(fenster.meldungen[0].text.size(), 31);  // followed by a reason
  EXPECT_EQ(fenster.meldungen[0].symbol, Symbol::Ausrufezeichen);
  // The template stays for the user to open by hand, and the message says where it is.
  const QStringList vorlagen = QDir(word.ordner()).entryList(QDir::Files | QDir::Hidden);
  ASSERT_EQ(vorlagen.size(), 1);
  const QString vorlage = QDir(word.ordner()).filePath(vorlagen[0]);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(vorlage))
      << fenster.meldungen[0].text.toStdString();
  EXPECT_GE(entpacke(vorlage).size(), 5u);

  // The folder cannot be made (its name is taken by a file): the same message, naming it.
  WordExport versperrt(s, pfad(QStringLiteral("belegt")));
  versperrt.oeffnen = [](const QUrl&) { return true; };
  QFile belegt(versperrt.ordner());
  ASSERT_TRUE(belegt.open(QIODevice::WriteOnly));
  belegt.close();
  EXPECT_FALSE(versperrt.mnuWord_Click());
  ASSERT_EQ(fenster.meldungen.size(), 2u);
  EXPECT_TRUE(
      fenster.meldungen[1].text.startsWith(QStringLiteral("Keine Wordverbindung möglich:  ")));
  EXPECT_TRUE(fenster.meldungen[1].text.contains(QStringLiteral("belegt")));
  EXPECT_EQ(s.Exportmodus, 0);
}

// On a full disk the user learns why, and no empty or partial template is left behind.
TEST_F(ExportTest, WordexportAufVollemDatentraeger) {
  VOLLER_DATENTRAEGER(voll);
  voll.ganzFuellen();
  s.Exportzoom = 1;
  WordExport word(s, voll.pfad(QStringLiteral("Export")));
  word.oeffnen = [](const QUrl&) { return true; };
  EXPECT_FALSE(word.mnuWord_Click());
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains(QStringLiteral("Der Datenträger ist voll.")))
      << fenster.meldungen[0].text.toStdString();
  EXPECT_TRUE(QDir(word.ordner()).entryList(QDir::Files | QDir::Hidden).isEmpty());
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

  // Escape closes the window, with the focus in the page.
  ASSERT_TRUE(QTest::qWaitForWindowActive(hilfe.fenster()));
  b->setFocus();
  QTest::keyClick(b, Qt::Key_Escape);
  EXPECT_FALSE(hilfe.fenster()->isVisible());
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
