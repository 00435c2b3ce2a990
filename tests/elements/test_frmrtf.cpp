// The letter text editor driven like a user: opening, typing, the merge-field chooser, the
// toolbar, font, size and colour, the selection mirrored into the controls, files and the
// OK / Abbruch paths.
// With QX_TESTBILDER naming a folder, a picture of the editor with the sample letter is
// saved there to be looked at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "core/start.h"
#include "elements/text/frmrtf.h"
#include "elements/text/schriftarten.h"
#include "gemeinsam/testfenster.h"
#include "platform/richtextbox.h"

namespace {

class VorschauFenster : public TestFenster {
 public:
  void VorschauZeigen() override { ++vorschauen; }
  int vorschauen = 0;
};

QByteArray lesen(const QString& pfad) {
  QFile f(pfad);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreiben(const QString& pfad, const QByteArray& daten) {
  QFile f(pfad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(daten);
}

// A letter of three paragraphs: left, bold and right-aligned, centred with a run in a
// fixed-pitch face that the font box does not list.
const QByteArray kBrief =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}{\\f2 Courier New;}}\n"
    "\\pard\\f1\\fs20 links normal\\par\n"
    "\\pard\\qr\\f0\\fs24\\b fett rechts\\b0\\par\n"
    "\\pard\\qc\\f0\\fs24 mitte \\f2\\fs28 fest\\par\n}";

struct Briefeditor : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  VorschauFenster fenster;
  std::unique_ptr<frmRTF> f;
  QString gewaehlteDatei;  // what the file dialog answers
  QStringList dateidialoge;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    Main(s, ordner.path());
    s.fenster = &fenster;
    SchriftartenEintragen(s, {{"Arial", false, ANSI_CHARSET, true},
                              {"Times New Roman", false, ANSI_CHARSET, true},
                              {"Courier New", true, ANSI_CHARSET, true}});
    f = std::make_unique<frmRTF>(s);
    f->dateiWaehlen = [this](const QString& titel, const QString& filter, bool speichern) {
      dateidialoge << QStringLiteral("%1|%2|%3").arg(titel, filter).arg(speichern);
      return gewaehlteDatei;
    };
  }
  QString pfad(const QString& name) const { return ordner.filePath(name); }
  RichTextBox& box() { return *f->RTF(); }

  void klick(const char* schluessel) {
    QToolButton* k = f->knopf(QString::fromUtf8(schluessel));
    ASSERT_NE(k, nullptr) << schluessel;
    QTest::mouseClick(k, Qt::LeftButton);
  }
  bool gedrueckt(const char* schluessel) {
    return f->knopf(QString::fromUtf8(schluessel))->isChecked();
  }

  // Opens the list of a combo box and clicks an item, as the user picks it.
  void auswaehlen(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* liste = combo->view();
    const QModelIndex eintrag = liste->model()->index(index, 0);
    liste->scrollTo(eintrag);
    const QPoint punkt = liste->visualRect(eintrag).center();
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, punkt);
    QTRY_VERIFY(!liste->isVisible());
  }

  // Types text, umlauts included, as key presses.
  void tippen(QWidget* w, const QString& text) {
    for (const QChar z : text) {
      QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(z), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(z), Qt::NoModifier);
    }
  }

  // Selects from plain-text position `von` up to `bis` with the keyboard.
  void markieren(int von, int bis) {
    QTest::keyClick(&box(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < von; ++i) QTest::keyClick(&box(), Qt::Key_Right);
    for (int i = von; i < bis; ++i) QTest::keyClick(&box(), Qt::Key_Right, Qt::ShiftModifier);
  }
};

}  // namespace

TEST_F(Briefeditor, OeffnenOhneDateiGibtLeerenBriefInTimes12) {
  EXPECT_EQ(f->Combo1()->count(), 2);  // the fixed-pitch face is not listed
  EXPECT_EQ(f->Combo1()->findText("Courier New"), -1);
  EXPECT_EQ(f->Combo2()->count(), 33);
  EXPECT_EQ(f->Combo3()->count(), 11);

  f->Combo3()->setCurrentIndex(4);
  f->zeigen();
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(box().Text(), "");  // resetting the chooser to "Datum" inserted nothing
  EXPECT_EQ(f->Combo3()->currentIndex(), 0);
  EXPECT_EQ(f->Combo1()->currentText(), "Times New Roman");
  EXPECT_EQ(f->Combo2()->currentText(), "12");

  QTest::keyClicks(&box(), "Hallo Welt");
  box().selectAll();
  EXPECT_EQ(box().Text(), "Hallo Welt");
  EXPECT_EQ(box().SelFontName().value_or(""), "Times New Roman");
  EXPECT_EQ(box().SelFontSize().value_or(0), 12);
  EXPECT_TRUE(fenster.meldungen.empty());

  // Without "Times New Roman" in the list the first face is shown; typing is still in
  // Times New Roman 12.
  Programmzustand ohne;
  Main(ohne, ordner.path());
  SchriftartenEintragen(
      ohne, {{"Zeta", false, ANSI_CHARSET, true}, {"Alpha", false, ANSI_CHARSET, true}});
  frmRTF zweiter(ohne);
  zweiter.zeigen();
  EXPECT_EQ(zweiter.Combo1()->currentText(), "Zeta");
  QTest::keyClicks(zweiter.RTF(), "abc");
  zweiter.RTF()->selectAll();
  EXPECT_EQ(zweiter.RTF()->SelFontName().value_or(""), "Times New Roman");
  zweiter.hide();
}

TEST_F(Briefeditor, SeriendruckfelderAmCursor) {
  f->zeigen();
  QTest::keyClicks(&box(), "Ort: ");
  auswaehlen(f->Combo3(), 7);
  EXPECT_EQ(box().Text(), "Ort: #Feld27");
  EXPECT_EQ(f->Combo3()->currentText(), "Ort");
  auswaehlen(f->Combo3(), 0);
  EXPECT_EQ(box().Text(), "Ort: #Feld27#Datum");

  // A selection is replaced; the last item inserts field 30.
  markieren(0, 3);
  auswaehlen(f->Combo3(), 1);
  EXPECT_EQ(box().Text(), "#Feld21: #Feld27#Datum");
  QTest::keyClick(&box(), Qt::Key_End, Qt::ControlModifier);
  auswaehlen(f->Combo3(), 10);
  EXPECT_TRUE(box().Text().endsWith("#Datum#Feld30"));
}

TEST_F(Briefeditor, NeuKopierenEinfuegen) {
  schreiben(pfad("RTF1.rtf"), kBrief);
  f->zeigen();
  // Copy the bold words and paste them at the end: they stay bold and right-aligned text
  // is not disturbed.
  const int fett = static_cast<int>(box().Text().indexOf("fett"));
  markieren(fett, fett + 4);
  klick("Kopieren");
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->formats().contains("text/rtf"));
  QTest::keyClick(&box(), Qt::Key_End, Qt::ControlModifier);
  klick("Einfügen");
  EXPECT_TRUE(box().Text().endsWith("festfett")) << box().Text().toStdString();
  markieren(static_cast<int>(box().Text().size()) - 4, static_cast<int>(box().Text().size()));
  EXPECT_EQ(box().SelBold(), std::optional<bool>(true));
  EXPECT_EQ(box().SelFontSize(), std::optional<double>(12));

  klick("neu");
  EXPECT_EQ(box().Text(), " ");  // one blank, not an empty letter
}

TEST_F(Briefeditor, LadenUndSpeichernUeberDenDateidialog) {
  schreiben(pfad("RTF1.rtf"), "{\\rtf1\\ansi Alter Brief\\par}");
  schreiben(pfad("anderer.rtf"), "{\\rtf1\\ansi\\b Neuer\\b0  Brief\\par}");
  const QByteArray anderer = lesen(pfad("anderer.rtf"));
  f->zeigen();

  gewaehlteDatei.clear();  // the user cancels the open dialog
  klick("Laden");
  EXPECT_EQ(dateidialoge, QStringList{"RTF Datei laden|RTF-File (*.rtf)|0"});
  EXPECT_EQ(box().Text(), "Alter Brief");

  gewaehlteDatei = pfad("fehlt.rtf");  // a file that cannot be read: told, letter kept
  klick("Laden");
  EXPECT_EQ(box().Text(), "Alter Brief");
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains("fehlt.rtf"));

  gewaehlteDatei = pfad("anderer.rtf");
  klick("Laden");
  EXPECT_EQ(box().Text(), "Neuer Brief");

  gewaehlteDatei = pfad("export.rtf");
  klick("Speichern");
  EXPECT_EQ(dateidialoge.last(), "RTF Datei speichern|RTF-File (*.rtf)|1");
  EXPECT_EQ(lesen(pfad("export.rtf")), box().TextRTF());

  // OK writes the imported letter into the element's own file; the imported file and the
  // element's file name stay as they were.
  QTest::mouseClick(f->ButtOk(), Qt::LeftButton);
  EXPECT_EQ(s.RTFDateien[1], "RTF1.rtf");
  EXPECT_EQ(lesen(pfad("anderer.rtf")), anderer);
  RichTextBox geladen;
  ASSERT_TRUE(geladen.LoadFile(pfad("RTF1.rtf")));
  EXPECT_EQ(geladen.Text(), "Neuer Brief");
  geladen.setSelStart(1);
  EXPECT_EQ(geladen.SelBold(), std::optional<bool>(true));
}

TEST_F(Briefeditor, AuswahlSpiegeltSichInDenBedienelementen) {
  schreiben(pfad("RTF1.rtf"), kBrief);
  f->zeigen();
  const QByteArray vorher = box().TextRTF();

  // Caret into the Arial line: the font box shows Arial 10, "Links" pressed.
  markieren(2, 2);
  EXPECT_EQ(f->Combo1()->currentText(), "Arial");
  EXPECT_EQ(f->Combo2()->currentText(), "10");
  EXPECT_TRUE(gedrueckt("Links"));
  EXPECT_FALSE(gedrueckt("Fett"));

  // Caret into bold, right-aligned text.
  QTest::keyClick(&box(), Qt::Key_Down);
  EXPECT_TRUE(gedrueckt("Fett"));
  EXPECT_TRUE(gedrueckt("Rechts"));
  EXPECT_FALSE(gedrueckt("Links"));
  EXPECT_FALSE(gedrueckt("Zentriert"));
  EXPECT_FALSE(gedrueckt("Kursiv"));
  EXPECT_FALSE(gedrueckt("Unterstrich"));
  EXPECT_EQ(f->Combo1()->currentText(), "Times New Roman");
  EXPECT_EQ(f->Combo2()->currentText(), "12");

  // Into the fixed-pitch run: the font box keeps "Times New Roman", the size box follows.
  const int fest = static_cast<int>(box().Text().indexOf("fest"));
  markieren(fest + 2, fest + 2);
  EXPECT_EQ(f->Combo1()->currentText(), "Times New Roman");
  EXPECT_EQ(f->Combo2()->currentText(), "14");
  EXPECT_TRUE(gedrueckt("Zentriert"));
  EXPECT_FALSE(gedrueckt("Rechts"));

  // A selection over left and centred paragraphs (and mixed emphasis) presses "Links"
  // and leaves "Fett" released; the mixed sizes leave the size box as the selection's
  // start (Arial 10) set it.
  markieren(3, fest + 1);
  EXPECT_TRUE(gedrueckt("Links"));
  EXPECT_FALSE(gedrueckt("Zentriert"));
  EXPECT_FALSE(gedrueckt("Fett"));
  EXPECT_EQ(f->Combo2()->currentText(), "10");

  // Mirroring changed nothing in the letter.
  EXPECT_EQ(box().TextRTF(), vorher);

  // The buttons act on the selection.
  klick("Fett");
  EXPECT_EQ(box().SelBold(), std::optional<bool>(true));
  klick("Fett");
  EXPECT_EQ(box().SelBold(), std::optional<bool>(false));
  klick("Kursiv");
  klick("Unterstrich");
  EXPECT_EQ(box().SelItalic(), std::optional<bool>(true));
  EXPECT_EQ(box().SelUnderline(), std::optional<bool>(true));
  klick("Zentriert");
  EXPECT_EQ(box().SelAlignment(), std::optional<int>(2));
  EXPECT_TRUE(gedrueckt("Zentriert"));
  EXPECT_FALSE(gedrueckt("Links"));
  klick("Zentriert");  // pressing the pressed one keeps it pressed
  EXPECT_TRUE(gedrueckt("Zentriert"));
  klick("Rechts");
  EXPECT_EQ(box().SelAlignment(), std::optional<int>(1));
  EXPECT_TRUE(gedrueckt("Rechts"));
  EXPECT_FALSE(gedrueckt("Zentriert"));
}

TEST_F(Briefeditor, SchriftGroesseUndFarbeDerAuswahl) {
  f->zeigen();
  QTest::keyClicks(&box(), "eins zwei");
  markieren(5, 9);

  // Typing a face name applies it at every keystroke.
  QLineEdit* name = f->Combo1()->lineEdit();
  name->selectAll();
  QTest::keyClicks(name, "Arial");
  EXPECT_EQ(box().SelFontName().value_or(""), "Arial");

  QLineEdit* groesse = f->Combo2()->lineEdit();
  groesse->selectAll();
  QTest::keyClicks(groesse, "18");
  EXPECT_EQ(box().SelFontSize().value_or(0), 18);
  // No positive number: nothing applied, the box keeps the typed text.
  for (const char* text : {"x", "0", "-4"}) {
    groesse->selectAll();
    QTest::keyClicks(groesse, text);
    EXPECT_EQ(box().SelFontSize().value_or(0), 18) << text;
    EXPECT_EQ(f->Combo2()->currentText(), text);
  }
  auswaehlen(f->Combo2(), 8);  // "24"
  EXPECT_EQ(box().SelFontSize().value_or(0), 24);
  auswaehlen(f->Combo1(), f->Combo1()->findText("Times New Roman"));
  EXPECT_EQ(box().SelFontName().value_or(""), "Times New Roman");
  EXPECT_EQ(f->focusWidget(), f->RTF());  // picking gives the letter the focus

  // The first word was not touched.
  markieren(0, 4);
  EXPECT_EQ(box().SelFontSize().value_or(0), 12);
  EXPECT_EQ(f->Combo2()->currentText(), "12");

  // Colour: a cancelled dialog leaves everything, a chosen colour goes to the swatch and
  // the selection, and the swatch follows the selection.
  QColor start;
  QColor antwort;
  f->farbeWaehlen = [&](const QColor& c) {
    start = c;
    return antwort;
  };
  QTest::mouseClick(f->PicFarbe(), Qt::LeftButton);
  EXPECT_EQ(start, QColor(Qt::black));
  EXPECT_EQ(box().SelColor(), std::optional<QColor>(QColor(Qt::black)));
  antwort = QColor(200, 0, 0);
  QTest::mouseClick(f->PicFarbe(), Qt::LeftButton);
  EXPECT_EQ(f->PicFarbe()->farbe(), antwort);
  EXPECT_EQ(box().SelColor(), std::optional<QColor>(antwort));
  markieren(5, 9);
  EXPECT_EQ(f->PicFarbe()->farbe(), QColor(Qt::black));
  markieren(1, 1);
  EXPECT_EQ(f->PicFarbe()->farbe(), antwort);
}

TEST_F(Briefeditor, OkSpeichertAbbruchVerwirft) {
  f->zeigen();
  tippen(&box(), QStringLiteral("Grüße aus "));
  klick("Fett");
  tippen(&box(), QStringLiteral("Köln"));
  const QByteArray bearbeitet = box().TextRTF();
  s.BrieftextRTF = "alt";

  QTest::mouseClick(f->ButtOk(), Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(fenster.vorschauen, 1);
  EXPECT_GT(fenster.gezeichnet, 0);
  const QByteArray datei = lesen(pfad("RTF1.rtf"));
  EXPECT_EQ(datei, bearbeitet);
  EXPECT_EQ(s.BrieftextRTF, QString::fromLatin1(datei));

  // Reopening shows the letter as saved, byte for byte, with its bold word.
  f->zeigen();
  EXPECT_EQ(box().TextRTF(), datei);
  EXPECT_EQ(box().Text(), QStringLiteral("Grüße aus Köln"));
  markieren(11, 11);
  EXPECT_TRUE(gedrueckt("Fett"));

  // Edits then Abbruch: nothing stored, no preview; the next opening shows the saved text.
  QTest::keyClicks(&box(), "XYZ");
  const int gezeichnet = fenster.gezeichnet;
  QTest::mouseClick(f->ButtAbbruch(), Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(fenster.vorschauen, 1);
  EXPECT_GT(fenster.gezeichnet, gezeichnet);
  EXPECT_EQ(lesen(pfad("RTF1.rtf")), datei);
  EXPECT_EQ(s.BrieftextRTF, QString::fromLatin1(datei));
  f->zeigen();
  EXPECT_EQ(box().Text(), QStringLiteral("Grüße aus Köln"));

  // Closing the window by its title bar is Abbruch.
  QTest::keyClicks(&box(), "XYZ");
  f->close();
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(lesen(pfad("RTF1.rtf")), datei);
  EXPECT_EQ(fenster.vorschauen, 1);
}

TEST_F(Briefeditor, FehlgeschlagenesSpeichernHaeltDenEditorOffen) {
  schreiben(pfad("sperre"), "eine Datei, kein Ordner");
  s.RTFDateien[1] = "sperre/RTF1.rtf";
  s.BrieftextRTF = "alt";
  f->zeigen();
  QTest::keyClicks(&box(), "Wichtig");
  QTest::mouseClick(f->ButtOk(), Qt::LeftButton);
  EXPECT_TRUE(f->isVisible());
  ASSERT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_TRUE(fenster.meldungen[0].text.contains("nicht gespeichert"));
  EXPECT_EQ(box().Text(), "Wichtig");
  EXPECT_EQ(s.BrieftextRTF, "alt");
  EXPECT_EQ(fenster.vorschauen, 0);
  f->hide();
}

TEST_F(Briefeditor, UnlesbareBriefdateiWirdGemeldetUndNieUeberschrieben) {
  // A word-processor document saved as "RTF1.rtf" (binary, with NUL bytes), a folder of
  // that name and a pipe: each is named in a message, the editor starts empty, and OK
  // leaves the file alone and the editor open.
  const QString datei = pfad("RTF1.rtf");
  const QByteArray binaer("PK\x03\x04\0\0word/document.xml", 24);
  const std::function<void()> anlegen[] = {
      [&] { schreiben(datei, binaer); },
      [&] { ASSERT_TRUE(QDir().mkdir(datei)); },
      [&] { ASSERT_EQ(mkfifo(QFile::encodeName(datei).constData(), 0600), 0); },
  };
  for (const auto& anlegenFall : anlegen) {
    QFile::remove(datei);
    QDir().rmdir(datei);
    anlegenFall();
    fenster.meldungen.clear();
    s.BrieftextRTF = "alt";
    f->zeigen();
    ASSERT_EQ(fenster.meldungen.size(), 1u);
    EXPECT_TRUE(fenster.meldungen[0].text.contains(datei))
        << fenster.meldungen[0].text.toStdString();
    EXPECT_EQ(box().Text(), "");
    QTest::keyClicks(&box(), "Neu");
    QTest::mouseClick(f->ButtOk(), Qt::LeftButton);
    EXPECT_TRUE(f->isVisible());
    ASSERT_EQ(fenster.meldungen.size(), 2u);
    EXPECT_TRUE(fenster.meldungen[1].text.contains(QStringLiteral("nicht überschrieben")));
    EXPECT_EQ(s.BrieftextRTF, "alt");
    EXPECT_EQ(fenster.vorschauen, 0);
    QTest::mouseClick(f->ButtAbbruch(), Qt::LeftButton);
  }
  EXPECT_EQ(QFileInfo(datei).isFile(), false);

  // Once the file is gone, OK saves again.
  QFile::remove(datei);
  schreiben(datei, binaer);
  f->zeigen();
  ASSERT_TRUE(QFile::remove(datei));
  QTest::mouseClick(f->ButtOk(), Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(lesen(datei).startsWith("{\\rtf1"));
}

TEST_F(Briefeditor, BriefBeimStartUndDateinamen) {
  // The start-up letter is found whatever its letter case; the editor stays hidden.
  QFile::copy(QStringLiteral(QX_QUELLE "/data/RTF1.rtf"), pfad("rtf1.RTF"));
  f->BriefLaden();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(box().Text().contains(QStringLiteral("Ihre Anfrage – unser Angebot")));
  EXPECT_TRUE(s.BrieftextRTF.startsWith("{\\rtf1"));
  EXPECT_TRUE(s.BrieftextRTF.contains("Anfrage"));

  // Missing: an empty letter and no message.
  QFile::remove(pfad("rtf1.RTF"));
  f->BriefLaden();
  EXPECT_EQ(box().Text(), "");
  EXPECT_FALSE(s.BrieftextRTF.contains("Anfrage"));
  EXPECT_TRUE(fenster.meldungen.empty());

  // There but unreadable: the start says so once, as the letter would print without text.
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("RTF1.rtf")));
  f->BriefLaden();
  EXPECT_EQ(fenster.meldungen.size(), 1u);
  EXPECT_EQ(s.BrieftextRTF.contains("Anfrage"), false);

  // Names of letter elements: plain names and paths stored on Windows end up in the
  // start-up folder; an element without a name still gets a file of its own.
  s.RTFDateien = {"", "Brief.rtf", "C:\\Briefe\\Zweiter.RTF", ""};
  schreiben(pfad("zweiter.rtf"), "{\\rtf1 x}");
  EXPECT_EQ(f->briefdatei(1), pfad("Brief.rtf"));
  EXPECT_EQ(f->briefdatei(2), pfad("zweiter.rtf"));
  EXPECT_EQ(f->briefdatei(3), pfad("RTF3.rtf"));
  s.RTFDateien[2] = "C:\\Briefe\\Dritter.rtf";
  EXPECT_EQ(f->briefdatei(2), pfad("Dritter.rtf"));
}

TEST_F(Briefeditor, ZeigtDenMusterbriefMitSeinerAusrichtung) {
  QFile::copy(QStringLiteral(QX_QUELLE "/data/RTF1.rtf"), pfad("RTF1.rtf"));
  f->zeigen();
  // Ink of a text line of the box: the leftmost and rightmost dark column in the band of
  // the line that holds plain-text position p.
  const QImage bild = box().viewport()->grab().toImage();
  auto tinte = [&](int p) {
    QTextCursor c(box().document());
    c.setPosition(p);
    const QRect zeile = box().cursorRect(c);
    int links = bild.width();
    int rechts = -1;
    for (int y = zeile.top(); y <= zeile.bottom(); ++y)
      for (int x = 0; x < bild.width(); ++x)
        if (qGray(bild.pixel(x, y)) < 100) {
          links = std::min(links, x);
          rechts = std::max(rechts, x);
        }
    return std::pair(links, rechts);
  };
  const auto [ortLinks, ortRechts] = tinte(0);  // "Musterstadt, #Datum", right-aligned
  EXPECT_GT(ortLinks, bild.width() / 2);
  EXPECT_GT(ortRechts, bild.width() - 30);
  const auto [betreffLinks, betreffRechts] = tinte(static_cast<int>(box().Text().indexOf("Ihre")));
  EXPECT_LT(betreffLinks, 15);
  EXPECT_LT(betreffRechts, bild.width() / 2);

  if (const QString aus = qEnvironmentVariable("QX_TESTBILDER"); !aus.isEmpty()) {
    markieren(40, 40);
    f->grab().save(aus + "/frmrtf.png");
  }
  f->hide();
}
