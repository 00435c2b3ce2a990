// The rich text box: files, search and replace as the letter merge uses them, selection
// values, keyboard input and the clipboard.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "gemeinsam/voller_datentraeger.h"
#include "platform/richtextbox.h"
#include "platform/rtf_schreiben.h"
#include "platform/zahlen.h"

namespace {

// Appends text in a format to the end of the box.
void anhaengen(RichTextBox& box, const QString& text, const QTextCharFormat& f = {}) {
  QTextCursor c(box.document());
  c.movePosition(QTextCursor::End);
  c.insertText(text, f);
}

QTextCharFormat format(bool fett, bool kursiv = false, QColor farbe = {}) {
  QTextCharFormat f;
  f.setFontWeight(fett ? QFont::Bold : QFont::Normal);
  f.setFontItalic(kursiv);
  if (farbe.isValid()) f.setForeground(farbe);
  return f;
}

// Character values of the first (or last) occurrence of a text.
Zeichenwerte an(RichTextBox& box, const QString& text, bool letztes = false) {
  const int p = static_cast<int>(letztes ? box.Text().lastIndexOf(text) : box.Text().indexOf(text));
  EXPECT_GE(p, 0) << text.toStdString();
  QTextCursor c(box.document());
  c.setPosition(std::max(p, 0) + 1);
  return zeichenwerte(c.charFormat(), box.document()->defaultFont());
}

void auswaehlen(RichTextBox& box, int start, int laenge) {
  box.setSelStart(start);
  box.setSelLength(laenge);
}

// The letter merge of the print: every "#Datum", then every "#Feld" with a number from 1
// to 30 in the two characters after it.
void zusammenfuehren(RichTextBox& box, const QString& datum, const QStringList& felder) {
  for (int p = 0; p >= 0;) {
    p = box.Find("#Datum", p, static_cast<int>(box.Text().size()));
    if (p >= 0) {
      auswaehlen(box, p, 6);
      box.setSelText(datum);
    }
  }
  for (int p = 0; p >= 0;) {
    p = box.Find("#Feld", p, static_cast<int>(box.Text().size()));
    if (p < 0) break;
    const double n = zahlen::nint(zahlen::Val(box.Text().mid(p + 5, 2)));
    if (n >= 1 && n <= 30) {
      auswaehlen(box, p, 7);
      box.setSelText(felder.value(static_cast<int>(n)));
    } else {
      ++p;
    }
  }
}

TEST(RichTextBox, FilesSaveAndLoadBack) {
  QTemporaryDir ordner;
  RichTextBox box;
  anhaengen(box, "Normal ");
  anhaengen(box, "fett rot", format(true, false, Qt::red));
  anhaengen(box, QStringLiteral("\nÄußerst €"));
  auswaehlen(box, 20, 1);
  box.setSelAlignment(2);
  const QString pfad = ordner.filePath("brief.rtf");
  ASSERT_TRUE(box.SaveFile(pfad)) << box.fehler().toStdString();

  RichTextBox geladen;
  QSignalSpy geaendert(&geladen, &RichTextBox::SelChange);
  ASSERT_TRUE(geladen.LoadFile(pfad));
  EXPECT_GE(geaendert.count(), 1);
  EXPECT_EQ(geladen.Text(), QStringLiteral("Normal fett rot\nÄußerst €"));
  EXPECT_EQ(geladen.TextRTF(), box.TextRTF());
  EXPECT_TRUE(an(geladen, "fett").fett);
  EXPECT_EQ(an(geladen, "rot").farbe, QColor(Qt::red));
  EXPECT_EQ(an(geladen, "Normal").schrift, "Times New Roman");
  EXPECT_EQ(geladen.document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);

  // A file that cannot be read leaves the content as it was and says why.
  EXPECT_FALSE(geladen.LoadFile(ordner.filePath("fehlt.rtf")));
  EXPECT_TRUE(geladen.fehler().contains(QStringLiteral("kann nicht geöffnet werden")));
  EXPECT_EQ(geladen.Text(), QStringLiteral("Normal fett rot\nÄußerst €"));
  // So does a device or a pipe, which would read without end.
  const QString pipe = ordner.filePath("pipe.rtf");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const QString& geraet : {pipe, QStringLiteral("/dev/zero")}) {
    EXPECT_FALSE(geladen.LoadFile(geraet));
    EXPECT_TRUE(geladen.fehler().contains(geraet)) << geladen.fehler().toStdString();
    EXPECT_EQ(geladen.Text(), QStringLiteral("Normal fett rot\nÄußerst €"));
  }
  // A failed save says why and leaves no file.
  EXPECT_FALSE(geladen.SaveFile(ordner.filePath("fehlt/brief.rtf")));
  EXPECT_FALSE(geladen.fehler().isEmpty());

  // Files that are not RTF show as plain text: UTF-8, or else Windows-1252.
  struct Fall {
    QByteArray bytes;
    QString text;
  } faelle[] = {{"Gr\xc3\xbc\xc3\x9f"
                 "e\r\n{\\b x}",
                 QStringLiteral("Grüße\n{\\b x}")},
                {"Gr\xfc\xdf\x80", QStringLiteral("Grüß€")}};
  for (const Fall& f : faelle) {
    QFile datei(ordner.filePath("text.txt"));
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write(f.bytes);
    datei.close();
    ASSERT_TRUE(geladen.LoadFile(datei.fileName()));
    EXPECT_EQ(geladen.Text(), f.text);
  }
}

// The paragraphs of a box, each with "|" before it when it starts a new page.
QStringList absaetze(const RichTextBox& box) {
  QStringList liste;
  for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
    const bool seite = b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    liste << (seite ? QStringLiteral("|") : QString()) + b.text();
  }
  return liste;
}

// Plain-text letters with line breaks (vertical tabs) and page breaks (form feeds): each
// shows in the box as it does once saved and loaded again, and saves the same again.
TEST(RichTextBox, PlainTextLetterShowsAsAfterItsSave) {
  QTemporaryDir ordner;
  const QString text = ordner.filePath("brief.txt");
  const QString rtf = ordner.filePath("brief.rtf");
  const char* const briefe[] = {"Zeile a\vZeile b\fSeite 2\r\nAbsatz\f",
                                "\fvorn\f\fleer davor\v\v\nx\x01y\xef\xbf\xbc", "\v\f\r\f\n"};
  for (const char* brief : briefe) {
    QFile datei(text);
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write(brief);
    datei.close();
    RichTextBox box;
    ASSERT_TRUE(box.LoadFile(text));
    ASSERT_TRUE(box.SaveFile(rtf));
    RichTextBox wieder;
    ASSERT_TRUE(wieder.LoadFile(rtf));
    EXPECT_EQ(absaetze(box), absaetze(wieder)) << brief;
    EXPECT_EQ(box.TextRTF(), wieder.TextRTF()) << brief;
  }
}

TEST(RichTextBox, LetterMergeReplacesFieldsInPlace) {
  RichTextBox box;
  anhaengen(box, "Datum: ");
  anhaengen(box, "#Datum", format(true));
  anhaengen(box, "\nFirma: ");
  anhaengen(box, "#Feld21", format(false, true, Qt::red));
  anhaengen(box, " und #feld 7, #Feld99 #FELD07#Feld");
  anhaengen(box, " Ende #datum", format(false));

  // Search: letter case ignored, plain-text positions, the end of the range respected.
  EXPECT_EQ(box.Find("#DATUM"), 7);
  EXPECT_EQ(box.SelText(), "#Datum") << "a match is selected";
  EXPECT_EQ(box.Find("Firma", 0, -1), 14) << "a paragraph break counts one";
  EXPECT_EQ(box.Find("Firma", 15), -1);
  EXPECT_EQ(box.Find("Firma", 0, 18), -1) << "a match must end inside the range";
  EXPECT_EQ(box.Find("Firma", 0, 19), 14);
  EXPECT_EQ(box.Find(""), -1);
  EXPECT_EQ(box.Find("Firma", 500, 9), -1);

  QStringList felder;
  for (int i = 0; i <= 30; ++i) felder << QString();
  felder[7] = "Sieben";
  felder[21] = "ACME GmbH";
  zusammenfuehren(box, "01.02.2024", felder);

  EXPECT_EQ(box.Text(), QStringLiteral("Datum: 01.02.2024\nFirma: ACME GmbH und Sieben, "
                                       "#Feld99 Sieben#Feld Ende 01.02.2024"));
  EXPECT_FALSE(an(box, "Datum:").fett);
  for (const char* teil : {"01", "2024\n"}) EXPECT_TRUE(an(box, teil).fett) << teil;
  const Zeichenwerte firma = an(box, "ACME GmbH");
  EXPECT_TRUE(firma.kursiv);
  EXPECT_EQ(firma.farbe, QColor(Qt::red));
  EXPECT_TRUE(an(box, "GmbH").kursiv);
  EXPECT_FALSE(an(box, " und").kursiv);
  EXPECT_FALSE(an(box, "Ende").fett);
  EXPECT_FALSE(an(box, "01.02.2024", true).fett) << "the last date takes the format of its field";
}

TEST(RichTextBox, SelectionValues) {
  RichTextBox box;
  EXPECT_EQ(box.SelFontName(), "Times New Roman") << "an empty box types in Times New Roman 12";
  EXPECT_EQ(box.SelFontSize(), 12);
  anhaengen(box, "normal ");
  anhaengen(box, "fett", format(true, false, Qt::blue));
  anhaengen(box, "\nzweiter");
  auswaehlen(box, 0, 11);  // "normal fett"
  EXPECT_EQ(box.SelBold(), std::nullopt);
  EXPECT_EQ(box.SelItalic(), false);
  EXPECT_EQ(box.SelColor(), std::nullopt);
  EXPECT_EQ(box.SelFontSize(), 12);
  auswaehlen(box, 2, 2);
  EXPECT_EQ(box.SelColor(), QColor(Qt::black)) << "the automatic colour reads as black";
  auswaehlen(box, 8, 0);  // caret inside "fett"
  EXPECT_EQ(box.SelBold(), true);
  EXPECT_EQ(box.SelColor(), QColor(Qt::blue));

  box.setSelFontSize(0);
  box.setSelFontSize(-4);
  box.setSelFontName("");
  auswaehlen(box, 7, 4);
  box.setSelFontSize(0);
  EXPECT_EQ(box.SelFontSize(), 12) << "sizes of 0 or less are ignored";
  box.setSelFontSize(20);
  box.setSelFontName("Arial");
  box.setSelUnderline(true);
  box.setSelColor(QColor(0, 128, 0));
  EXPECT_EQ(box.SelFontSize(), 20);
  EXPECT_EQ(box.SelFontName(), "Arial");
  EXPECT_EQ(box.SelUnderline(), true);
  EXPECT_EQ(box.SelColor(), QColor(0, 128, 0));
  EXPECT_EQ(an(box, "normal").punkte, 12) << "only the selection changed";

  // Alignment: 0 left, 1 right, 2 centre; justified reads as left; mixed reads as none.
  auswaehlen(box, 0, 0);
  EXPECT_EQ(box.SelAlignment(), 0);
  box.setSelAlignment(1);
  EXPECT_EQ(box.SelAlignment(), 1);
  box.setSelAlignment(7);
  EXPECT_EQ(box.SelAlignment(), 1) << "unknown values are ignored";
  auswaehlen(box, 3, 10);  // into the second paragraph
  EXPECT_EQ(box.SelAlignment(), std::nullopt);
  auswaehlen(box, 14, 0);
  box.setAlignment(Qt::AlignJustify);
  EXPECT_EQ(box.SelAlignment(), 0);

  // Selection: SelStart removes it, SelLength selects from SelStart, both stay inside.
  box.setSelStart(500);
  EXPECT_EQ(box.SelStart(), box.document()->characterCount() - 1);
  auswaehlen(box, 2, 1000);
  EXPECT_EQ(box.SelLength(), box.document()->characterCount() - 3);
  EXPECT_EQ(box.SelText(), "rmal fett\nzweiter");
  box.setText(" ");
  EXPECT_EQ(box.Text(), " ") << "a new letter is one blank";
}

TEST(RichTextBox, KeyboardInputAndSelectionSignal) {
  RichTextBox box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QSignalSpy geaendert(&box, &RichTextBox::SelChange);
  QTest::keyClicks(&box, "Hallo");
  EXPECT_EQ(box.Text(), "Hallo");
  EXPECT_GE(geaendert.count(), 5);
  EXPECT_EQ(an(box, "Hallo").schrift, "Times New Roman");
  EXPECT_EQ(an(box, "Hallo").punkte, 12);

  box.setSelBold(true);  // at the caret: what is typed next
  QTest::keyClicks(&box, "Welt");
  EXPECT_TRUE(an(box, "Welt").fett);
  EXPECT_FALSE(an(box, "Hallo").fett);

  geaendert.clear();
  QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_GE(geaendert.count(), 2);
  EXPECT_EQ(box.SelText(), "lt");
  EXPECT_EQ(box.SelStart(), 7);
  EXPECT_EQ(box.SelBold(), true);
}

TEST(RichTextBox, ClipboardCopyAndPaste) {
  QClipboard* ablage = QApplication::clipboard();
  RichTextBox quelle;
  anhaengen(quelle, "vor ");
  anhaengen(quelle, "Wichtig", format(true, false, Qt::red));
  anhaengen(quelle, " nach");
  auswaehlen(quelle, 4, 7);
  quelle.kopieren();
  const QMimeData* daten = ablage->mimeData();
  ASSERT_NE(daten, nullptr);
  EXPECT_TRUE(daten->data("text/rtf").startsWith("{\\rtf1"));
  EXPECT_EQ(daten->text(), "Wichtig");
  // Other programs see the rich text among the offered formats.
  EXPECT_TRUE(daten->formats().contains("text/rtf"));
  EXPECT_TRUE(daten->hasHtml());

  RichTextBox ziel;
  anhaengen(ziel, "aXXb");
  auswaehlen(ziel, 1, 2);
  ziel.einfuegen();
  EXPECT_EQ(ziel.Text(), "aWichtigb");
  EXPECT_TRUE(an(ziel, "Wichtig").fett);
  EXPECT_EQ(an(ziel, "Wichtig").farbe, QColor(Qt::red));
  EXPECT_FALSE(an(ziel, "b").fett);

  // The keyboard takes the same way.
  auswaehlen(ziel, 0, 1);
  QTest::keyClick(&ziel, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(ablage->mimeData()->formats().contains("text/rtf"));
  auswaehlen(ziel, 8, 1);
  QTest::keyClick(&ziel, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ziel.Text(), "aWichtiga");

  // Rich text of other programs, plain text, and nothing usable.
  auto* fremd = new QMimeData;
  fremd->setData("text/richtext", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\i kursiv}");
  ablage->setMimeData(fremd);
  auswaehlen(ziel, 0, 1);
  ziel.einfuegen();
  EXPECT_EQ(ziel.Text(), "kursivWichtiga");
  EXPECT_TRUE(an(ziel, "kursiv").kursiv);
  EXPECT_EQ(an(ziel, "kursiv").schrift, "Arial");

  auto* kaputt = new QMimeData;
  kaputt->setData("text/rtf", "kein RTF");
  kaputt->setText("Klartext");
  ablage->setMimeData(kaputt);
  auswaehlen(ziel, 0, 6);
  ziel.einfuegen();
  EXPECT_EQ(ziel.Text(), "KlartextWichtiga");

  auto* leer = new QMimeData;
  leer->setData("image/png", "\x89PNG");
  ablage->setMimeData(leer);
  auswaehlen(ziel, 0, 8);
  ziel.einfuegen();
  EXPECT_EQ(ziel.Text(), "KlartextWichtiga") << "a paste never just deletes the selection";
  EXPECT_EQ(ziel.SelLength(), 8);
  ablage->clear();
  ziel.einfuegen();
  EXPECT_EQ(ziel.Text(), "KlartextWichtiga");
}

TEST(RichTextBox, SelectionAsRichText) {
  RichTextBox box;
  anhaengen(box, "eins ");
  anhaengen(box, "zwei", format(true));
  anhaengen(box, "\ndrei");
  auswaehlen(box, 5, 5);  // "zwei" and the paragraph break
  const QByteArray teil = box.SelRTF();
  auswaehlen(box, box.document()->characterCount() - 1, 0);
  box.setSelRTF(teil);
  EXPECT_EQ(box.Text(), "eins zwei\ndreizwei\n");
  EXPECT_FALSE(an(box, "dreizwei").fett);
  EXPECT_TRUE(an(box, "zwei", true).fett);
  auswaehlen(box, 0, 4);
  box.setSelRTF("schlicht");
  EXPECT_EQ(box.Text(), "schlicht zwei\ndreizwei\n") << "text that is not RTF goes in as text";
}

}  // namespace

// A letter saved onto a nearly full disk: the save fails, names the full disk and leaves the
// old file whole, for a letter smaller and one larger than Qt's write buffer. Needs a
// small tmpfs of its own, so it runs only where the test may mount one.
TEST(RichTextBox, SaveOnAFullDiskKeepsTheOldFile) {
  VOLLER_DATENTRAEGER(voll);
  const QString pfad = voll.pfad("brief.rtf");
  voll.alteDatei("brief.rtf", "{\\rtf1 alt}");
  for (const int laenge : {10000, 60000}) {
    RichTextBox box;
    box.setText(QString(laenge, u'x'));
    EXPECT_FALSE(box.SaveFile(pfad)) << laenge;
    EXPECT_EQ(
        box.fehler(),
        QStringLiteral("Die Datei „%1“ kann nicht gespeichert werden: Der Datenträger ist voll.")
            .arg(pfad));
    EXPECT_EQ(voll.inhalt("brief.rtf").toStdString(), "{\\rtf1 alt}") << laenge;
  }
  EXPECT_EQ(voll.dateien(), QStringList({"brief.rtf", "fuellung"}));
}
