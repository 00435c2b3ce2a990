// RTF reading and writing: round trips of every kind of formatting, letters in the styles
// of common word processors, and damaged input.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"

namespace {

// Character values of the character at a plain-text position.
Zeichenwerte an(const QTextDocument& d, int position) {
  QTextCursor c(const_cast<QTextDocument*>(&d));
  c.setPosition(position + 1);
  return zeichenwerte(c.charFormat(), d.defaultFont());
}

Zeichenwerte an(const QTextDocument& d, const QString& text) {
  const int p = static_cast<int>(d.toPlainText().indexOf(text));
  EXPECT_GE(p, 0) << text.toStdString();
  return an(d, std::max(p, 0));
}

Qt::Alignment ausrichtung(const QTextDocument& d, int block) {
  return d.findBlockByNumber(block).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

QString gelesen(const QByteArray& rtf) {
  QTextDocument d;
  rtfLesen(rtf, d);
  return d.toPlainText();
}

// A letter with every kind of formatting the writer carries.
void musterbrief(QTextDocument& d) {
  QFont standard(QStringLiteral("Times New Roman"));
  standard.setPointSize(12);
  d.setDefaultFont(standard);
  QTextCursor c(&d);
  const auto lauf = [&](const QString& text, auto einstellen) {
    QTextCharFormat f;
    einstellen(f);
    c.insertText(text, f);
  };
  const auto absatz = [&](Qt::Alignment a) {
    QTextBlockFormat b;
    b.setAlignment(a);
    c.insertBlock(b);
  };
  QTextBlockFormat erster;
  erster.setAlignment(Qt::AlignLeft);
  erster.setLeftMargin(48);
  erster.setTextIndent(-24);
  erster.setTopMargin(8);
  erster.setBottomMargin(12);
  erster.setTabPositions(
      {QTextOption::Tab(96, QTextOption::LeftTab), QTextOption::Tab(400, QTextOption::RightTab)});
  c.setBlockFormat(erster);
  lauf("Standard ", [](QTextCharFormat&) {});
  lauf("Arial10 ", [](QTextCharFormat& f) {
    f.setFontFamilies({"Arial"});
    f.setFontPointSize(10);
  });
  lauf("Fett", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
  lauf("Kursiv", [](QTextCharFormat& f) { f.setFontItalic(true); });
  lauf("Unter", [](QTextCharFormat& f) { f.setFontUnderline(true); });
  lauf("Durch", [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
  lauf("Hoch",
       [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
  lauf("Tief", [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
  lauf("Gross", [](QTextCharFormat& f) { f.setFontCapitalization(QFont::AllUppercase); });
  lauf("Kapitaelchen", [](QTextCharFormat& f) { f.setFontCapitalization(QFont::SmallCaps); });
  absatz(Qt::AlignRight);
  lauf("Rot10,5", [](QTextCharFormat& f) {
    f.setForeground(QColor(255, 0, 0));
    f.setFontPointSize(10.5);
  });
  lauf("Schwarz", [](QTextCharFormat& f) { f.setForeground(QColor(0, 0, 0)); });
  lauf("Courier72", [](QTextCharFormat& f) {
    f.setFontFamilies({"Courier New"});
    f.setFontPointSize(72);
    f.setFontWeight(QFont::Bold);
    f.setFontItalic(true);
  });
  absatz(Qt::AlignHCenter);
  lauf(QStringLiteral("Grüße äöüÄÖÜß €„“ Ω中\U0001F600"), [](QTextCharFormat&) {});
  absatz(Qt::AlignJustify);
  lauf(QStringLiteral("Zeichen \\ { } \ta") + QChar(QChar::LineSeparator) + QStringLiteral("b") +
           QChar(QChar::Nbsp) + QChar(0x00AD) + QChar(0x2011) + "c",
       [](QTextCharFormat&) {});
  absatz(Qt::AlignLeft);  // an empty paragraph in 20 pt
  c.setBlockCharFormat([] {
    QTextCharFormat f;
    f.setFontPointSize(20);
    return f;
  }());
  absatz(Qt::AlignLeft);
  lauf("Ende", [](QTextCharFormat&) {});
}

TEST(RtfRundreise, EveryKindOfFormattingLoadsBackUnchanged) {
  QTextDocument original;
  musterbrief(original);
  const QByteArray rtf = rtfSchreiben(original);
  // 7-bit output; non-ASCII as 1252 bytes or \uN with a fallback.
  for (char b : rtf) ASSERT_LT(static_cast<unsigned char>(b), 0x80);
  EXPECT_TRUE(rtf.contains("\\'fc")) << "ü as a 1252 byte";
  EXPECT_TRUE(rtf.contains("\\'80")) << "€ as a 1252 byte";
  EXPECT_TRUE(rtf.contains("\\u937?")) << "Ω has no 1252 byte";
  EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?")) << "a surrogate pair as two units";
  EXPECT_TRUE(rtf.contains("\\fs21")) << "10.5 pt in half points";
  EXPECT_TRUE(rtf.contains("{\\fonttbl"));
  EXPECT_TRUE(rtf.contains("{\\colortbl ;"));

  QTextDocument zurueck;
  zurueck.setDefaultFont(original.defaultFont());
  ASSERT_TRUE(rtfLesen(rtf, zurueck));
  ASSERT_EQ(zurueck.toRawText(), original.toRawText());
  ASSERT_EQ(zurueck.blockCount(), original.blockCount());
  for (int p = 0; p < original.characterCount() - 1; ++p) {
    EXPECT_EQ(an(zurueck, p), an(original, p)) << "position " << p;
  }
  for (int n = 0; n < original.blockCount(); ++n) {
    const QTextBlockFormat a = original.findBlockByNumber(n).blockFormat();
    const QTextBlockFormat b = zurueck.findBlockByNumber(n).blockFormat();
    EXPECT_EQ(ausrichtung(zurueck, n), ausrichtung(original, n)) << "block " << n;
    EXPECT_DOUBLE_EQ(b.leftMargin(), a.leftMargin());
    EXPECT_DOUBLE_EQ(b.textIndent(), a.textIndent());
    EXPECT_DOUBLE_EQ(b.topMargin(), a.topMargin());
    EXPECT_DOUBLE_EQ(b.bottomMargin(), a.bottomMargin());
    EXPECT_EQ(b.tabPositions(), a.tabPositions());
  }
  EXPECT_DOUBLE_EQ(
      zeichenwerte(zurueck.findBlockByNumber(4).charFormat(), zurueck.defaultFont()).punkte, 20);
  // Writing what was read gives the same bytes: nothing drifts from save to save.
  EXPECT_EQ(rtfSchreiben(zurueck), rtf);
}

TEST(RtfRundreise, ParagraphMarksAtTheEnd) {
  // The last paragraph mark ends the last paragraph; an empty last paragraph survives.
  for (const QString& text : {QString(), QStringLiteral("A"), QStringLiteral("A\nB"),
                              QStringLiteral("A\n"), QStringLiteral("\n\n")}) {
    QTextDocument d;
    d.setPlainText(text);
    QTextDocument zurueck;
    rtfLesen(rtfSchreiben(d), zurueck);
    EXPECT_EQ(zurueck.toPlainText(), text) << text.toStdString();
  }
  EXPECT_EQ(gelesen("{\\rtf1 A\\par B\\par}"), "A\nB");
  EXPECT_EQ(gelesen("{\\rtf1 A\\par\\par}"), "A\n");
  EXPECT_EQ(gelesen("{\\rtf1 A\\par B}"), "A\nB");
  // A last paragraph without its mark keeps its format.
  QTextDocument ohneMarke;
  rtfLesen("{\\rtf1 A\\par\\qc B}", ohneMarke);
  EXPECT_EQ(ausrichtung(ohneMarke, 1), Qt::AlignHCenter);
}

// A line break (vertical tab), a form feed and other control characters (NUL too) of a
// plain-text letter: written as \line, \page and \uN, read back as a line break, a paragraph that
// starts a new page and the character itself.
TEST(RtfRundreise, ControlCharactersSurvive) {
  QTextDocument d;
  d.setPlainText(QStringLiteral("Zeile a\vZeile b\fSeite 2\x01\x7f") + QChar(0));
  const QByteArray rtf = rtfSchreiben(d);
  EXPECT_TRUE(rtf.contains("Zeile a\\line Zeile b\\page Seite 2")) << rtf.constData();
  QTextDocument zurueck;
  ASSERT_TRUE(rtfLesen(rtf, zurueck));
  EXPECT_EQ(zurueck.toRawText(),
            QStringLiteral("Zeile a\u2028Zeile b\u2029Seite 2\x01\x7f") + QChar(0));
  ASSERT_EQ(zurueck.blockCount(), 2);
  EXPECT_EQ(zurueck.lastBlock().blockFormat().pageBreakPolicy(),
            QTextFormat::PageBreak_AlwaysBefore);
  EXPECT_EQ(zurueck.firstBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
  // The page break is written again as such, and stays from save to save.
  QTextDocument nochmal;
  rtfLesen(rtfSchreiben(zurueck), nochmal);
  EXPECT_EQ(nochmal.toRawText(), zurueck.toRawText());
  EXPECT_EQ(rtfSchreiben(nochmal), rtfSchreiben(zurueck));
  // As \uN a line break and a form feed are read as the writer writes them, and a page
  // break before a paragraph as \page; in raw bytes control characters are no text.
  for (const char* seitenumbruch :
       {"{\\rtf1 a\\u11?b\\u12?c}", "{\\rtf1 a\\u11?b\\par\\pagebb c}"}) {
    rtfLesen(seitenumbruch, zurueck);
    EXPECT_EQ(zurueck.toRawText(), QStringLiteral("a\u2028b\u2029c"));
    EXPECT_EQ(zurueck.lastBlock().blockFormat().pageBreakPolicy(),
              QTextFormat::PageBreak_AlwaysBefore);
  }
  EXPECT_EQ(gelesen("{\\rtf1 a\x01\x0b\x7f b}"), "a b");
}

TEST(RtfRundreise, SelectionAsFragmentAndInsertion) {
  QTextDocument quelle;
  musterbrief(quelle);
  // "Fett" .. "Rot" across a paragraph break, copied and inserted into another letter.
  const QString text = quelle.toPlainText();
  const int von = static_cast<int>(text.indexOf("Fett"));
  const int bis = static_cast<int>(text.indexOf("Schwarz"));
  QTextCursor auswahl(&quelle);
  auswahl.setPosition(von);
  auswahl.setPosition(bis, QTextCursor::KeepAnchor);
  const QByteArray teil = rtfSchreiben(quelle, von, bis);
  QTextDocument kopie;
  rtfLesen(rtfSchreiben(auswahl.selection(), quelle.defaultFont()), kopie);
  EXPECT_EQ(kopie.toPlainText(), text.mid(von, bis - von));
  EXPECT_TRUE(an(kopie, "Fett").fett);
  EXPECT_EQ(an(kopie, "Rot").farbe, QColor(255, 0, 0));

  QTextDocument ziel;
  ziel.setDefaultFont(quelle.defaultFont());
  ziel.setPlainText("xyz");
  QTextBlockFormat zentriert;
  zentriert.setAlignment(Qt::AlignHCenter);
  QTextCursor c(&ziel);
  c.setBlockFormat(zentriert);
  c.setPosition(1);
  c.setPosition(2, QTextCursor::KeepAnchor);  // "y" is replaced
  ASSERT_TRUE(rtfEinfuegen(c, teil));
  EXPECT_EQ(ziel.toPlainText(), "x" + text.mid(von, bis - von) + "z");
  EXPECT_EQ(c.position(), 1 + bis - von);
  EXPECT_TRUE(an(ziel, "Fett").fett);
  EXPECT_TRUE(an(ziel, "Kursiv").kursiv);
  EXPECT_EQ(an(ziel, "Rot").farbe, QColor(255, 0, 0));
  EXPECT_FALSE(an(ziel, "z").farbe.isValid()) << "z keeps its own format";
  EXPECT_EQ(ausrichtung(ziel, 0), Qt::AlignLeft) << "the copied paragraph's alignment";
  EXPECT_EQ(ausrichtung(ziel, 1), Qt::AlignHCenter) << "the target's last paragraph keeps its";

  // Not RTF: nothing changes.
  EXPECT_FALSE(rtfEinfuegen(c, "kein RTF"));
  EXPECT_EQ(ziel.toPlainText(), "x" + text.mid(von, bis - von) + "z");
}

TEST(RtfLesen, WordPadLetter) {
  const QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Calibri;}{\\f1\\fnil\\fcharset0 Arial;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang7 Sehr geehrte Damen und Herren,\\par\r\n"
      "\\b fett\\b0  und \\i kursiv\\i0  und \\ul unterstrichen\\ulnone .\\par\r\n"
      "\\pard\\sa200\\sl276\\slmult1\\qc\\cf1\\f1\\fs28 Zentriert rot\\cf0\\f0\\fs22\\par\r\n"
      "\\pard\\sa200\\sl276\\slmult1 Gr\\'fc\\'dfe\\par\r\n}\r\n";
  QTextDocument d;
  ASSERT_TRUE(rtfLesen(rtf, d));
  EXPECT_EQ(d.toPlainText(),
            QStringLiteral("Sehr geehrte Damen und Herren,\nfett und kursiv und unterstrichen.\n"
                           "Zentriert rot\nGrüße"));
  EXPECT_EQ(an(d, 0).schrift, "Calibri");
  EXPECT_DOUBLE_EQ(an(d, 0).punkte, 11);
  EXPECT_TRUE(an(d, "fett").fett);
  EXPECT_FALSE(an(d, " und k").fett);
  EXPECT_TRUE(an(d, "kursiv").kursiv);
  EXPECT_TRUE(an(d, "unterstrichen").unterstrichen);
  EXPECT_FALSE(an(d, ".").unterstrichen);
  const Zeichenwerte rot = an(d, "Zentriert");
  EXPECT_EQ(rot.schrift, "Arial");
  EXPECT_DOUBLE_EQ(rot.punkte, 14);
  EXPECT_EQ(rot.farbe, QColor(255, 0, 0));
  EXPECT_EQ(ausrichtung(d, 2), Qt::AlignHCenter);
  EXPECT_EQ(ausrichtung(d, 3), Qt::AlignLeft);
  EXPECT_FALSE(an(d, "Grüße").farbe.isValid());
  EXPECT_DOUBLE_EQ(d.findBlockByNumber(0).blockFormat().bottomMargin(), 200 / 15.0);
}

TEST(RtfLesen, LibreOfficeLetter) {
  const QByteArray rtf =
      "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
      "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
      "Symbol;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New "
      "Roman};}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\n"
      "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
      "{\\stylesheet{\\s0\\snext0\\hich\\af6\\dbch\\af7\\afs24\\loch\\f3\\fs24\\lang1031 "
      "Normal;}\n{\\s15\\sbasedon0\\snext16\\ql\\sb240\\sa120\\keepn\\loch\\f4\\fs28 Heading;}\n"
      "}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 "
      "LibreOffice_project/40$Build-2}{\\info{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min0}{\\title "
      "Brief}}{\\*\\userprops}\\deftab709\n"
      "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838 Default Page Style;}}\n"
      "\\formshade\\paperh16838\\paperw11906\\margl1134\\sectd\\sbknone\\pgndec\n"
      "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain "
      "\\s0\\hich\\af6\\dbch\\af7\\afs24\\loch\\f3\\fs24"
      "{\\rtlch \\ltrch\\loch\nStra\\u223\\'dfe und \\u8364\\'80 Preis}\n"
      "\\par \\pard\\plain \\s0\\qr\\loch\\f3\\fs24{\\rtlch \\ltrch\\loch\\cf2\\b\n"
      "Rechts blau fett}\n"
      "\\par \\pard\\plain \\s0\\loch\\f4\\fs20{\\i\\loch\nKursiv \\u937\\'3f "
      "Omega\\uc2\\u20013\\'d6\\'d0 \\uc0\\u8364 x}\n"
      "\\par }";
  QTextDocument d;
  ASSERT_TRUE(rtfLesen(rtf, d));
  EXPECT_EQ(d.toPlainText(), QStringLiteral("Straße und € Preis\nRechts blau fett\n"
                                            "Kursiv Ω Omega中 €x"));
  EXPECT_EQ(an(d, 0).schrift, "Liberation Serif") << "the face, not its alternative";
  EXPECT_DOUBLE_EQ(an(d, 0).punkte, 12);
  const Zeichenwerte blau = an(d, "Rechts");
  EXPECT_TRUE(blau.fett);
  EXPECT_EQ(blau.farbe, QColor(0, 0, 255));
  EXPECT_EQ(ausrichtung(d, 1), Qt::AlignRight);
  const Zeichenwerte kursiv = an(d, "Omega");
  EXPECT_TRUE(kursiv.kursiv);
  EXPECT_EQ(kursiv.schrift, "Liberation Sans");
  EXPECT_DOUBLE_EQ(kursiv.punkte, 10);
  EXPECT_DOUBLE_EQ(d.defaultTextOption().tabStopDistance(), 709 / 15.0);
}

TEST(RtfLesen, WordLetter) {
  const QByteArray rtf =
      "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505"
      "\\deflang1031{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose "
      "02020603050405020304}Times New Roman;}{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose "
      "020b0604020202020204}Arial;}\r\n{\\f38\\fbidi \\froman\\fcharset238\\fprq2 Times New Roman "
      "CE;}}{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}"
      "{\\*\\defchp \\fs22\\loch\\af31506 }{\\*\\defpap \\ql \\li0\\ri0\\sa160 }\\noqfpromote "
      "{\\stylesheet{\\ql \\li0\\ri0\\sa160\\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 \\fs22 "
      "\\snext0 "
      "Normal;}{\\*\\cs10 \\additive Default Paragraph Font;}}\r\n"
      "{\\*\\rsidtbl \\rsid1144578}{\\mmathPr\\mmathFont34\\mbrkBin0}{\\info{\\author Max "
      "Mustermann}{\\operator Max}{\\creatim\\yr2024\\mo3\\dy1}{\\*\\company "
      "ACME}{\\nofcharsws34}{\\vern47}}{\\*\\xmlnstbl {\\xmlns1 "
      "http://schemas.microsoft.com/office/word/2003/wordml}}\r\n"
      "\\paperw11906\\paperh16838\\margl1417\\ltrsect \\widowctrl\\ftnbj\\nouicompat \\fet0"
      "{\\*\\wgrffmtfilter 2450}\\ltrpar \\sectd \\ltrsect\\sftnbj {\\*\\pnseclvl1\\pnucrm"
      "\\pnstart1 {\\pntxta .}}\r\n"
      "\\pard\\plain \\ltrpar\\qj \\li0\\ri0\\sa160\\itap0\\pararsid1144578 \\rtlch\\fcs1 "
      "\\af0\\afs22 \\ltrch\\fcs0 \\fs22\\lang1031 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
      "\\insrsid1144578 Blocksatz mit }{\\rtlch\\fcs1 \\ab\\af0 \\ltrch\\fcs0 "
      "\\b\\f1\\cf3\\insrsid1144578 Arial rot fett}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
      "\\insrsid1144578 .\r\n\\par }{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
      "\\strike\\fs32\\insrsid1144578 Durchgestrichen}{\\f38\\insrsid1 \\'9a\\'e8}"
      "{\\field{\\*\\fldinst { HYPERLINK \"x\" }}{\\fldrslt {Verweis}}}{\\rtlch\\fcs1 \\af0 "
      "\\ltrch\\fcs0 \\insrsid1144578 \\tab x\r\n\\par }"
      "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c0200001300}\r\n"
      "{\\*\\colorschememapping 3c3f786d6c2076657273696f6e3d22312e30}\r\n"
      "{\\*\\latentstyles\\lsdstimax376{\\lsdlockedexcept \\lsdqformat1 Normal;}}}";
  QTextDocument d;
  ASSERT_TRUE(rtfLesen(rtf, d));
  EXPECT_EQ(d.toPlainText(),
            QStringLiteral("Blocksatz mit Arial rot fett.\nDurchgestrichenščVerweis\tx"));
  EXPECT_EQ(an(d, 0).schrift, "Times New Roman");
  EXPECT_DOUBLE_EQ(an(d, 0).punkte, 11);
  const Zeichenwerte rot = an(d, "Arial");
  EXPECT_TRUE(rot.fett);
  EXPECT_EQ(rot.schrift, "Arial");
  EXPECT_EQ(rot.farbe, QColor(255, 0, 0));
  EXPECT_FALSE(an(d, ".").fett);
  EXPECT_EQ(ausrichtung(d, 0), Qt::AlignJustify);
  EXPECT_EQ(ausrichtung(d, 1), Qt::AlignJustify) << "no \\pard: the paragraph keeps \\qj";
  const Zeichenwerte durch = an(d, "Durch");
  EXPECT_TRUE(durch.durchgestrichen);
  EXPECT_DOUBLE_EQ(durch.punkte, 16);
  EXPECT_EQ(an(d, QStringLiteral("šč")).schrift, "Times New Roman CE")
      << "bytes in the code page of the font's character set (1250)";
}

TEST(RtfLesen, CodePagesUnicodeAndSkippedContent) {
  struct Fall {
    QByteArray rtf;
    QString text;
  } faelle[] = {
      {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", QStringLiteral("При")},
      {"{\\rtf1\\ansi \\'80\\'84\\'93\\'94\\'ff}", QStringLiteral("€„“”ÿ")},
      {"{\\rtf1 \\uc2\\u20013\\'d6\\'d0x\\uc0\\u-3913 y}", QStringLiteral("中x\uF0B7y")},
      {"{\\rtf1 {\\uc3\\u945 abcd}\\u946 ?e}", QStringLiteral("αdβe")},
      {"{\\rtf1 a{\\*\\unbekannt b}c{\\*\\ud{d}}e}", "ace"},
      {"{\\rtf1 a\\*\\unbekannt b{\\b \\*c}}", "abc"},
      {"{\\rtf1 a\\unbekanntesWort12 b\\xyz c}", "abc"},
      {"{\\rtf1 a\\bin5 {}}\\ b}", "ab"},
      {"{\\rtf1 a{\\pict\\wmetafile8 0102{\\*\\blipuid 12}}b}", "ab"},
      {"{\\rtf1 \\{\\}\\\\\\~\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
       QStringLiteral("{}\\\u00A0—–•‘’“”")},
      {"{\\rtf1 a{\\v verborgen}b\\line c}", QStringLiteral("ab\u2028c")},
      {"{\\rtf1 {\\fonttbl{\\f0 Sch\\'3bne;}}{\\f0 x}}", "x"},
      {"{\\rtf1 a\\\r\nb}", "a\nb"},
      {"{\\rtf1 a\\column b\\page c\\u8233?d}", "a\nb\nc\nd"},
      // The Symbol font's signs, as bytes and as the private-use characters for them.
      {"{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1\\fcharset2 Symbol;}}\\f1 \\'b7 a\\uc0\\u-3913\\f0  a}",
       QStringLiteral("• α• a")},
      // Code pages of the document and of a font, of its own or by its character set.
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg65001 Arial;}}\\f0 \\'c3\\'a4\\'e2\\'82\\'ac}",
       QStringLiteral("ä€")},
      {"{\\rtf1\\mac\\ansicpg10001{\\fonttbl{\\f0\\fcharset78 Osaka;}}\\f0 \\'82\\'a0\\'8a\\'bf}",
       QStringLiteral("あ漢")},
      {"{\\rtf1\\mac \\'8a\\'a7}", QStringLiteral("äß")},
  };
  for (const Fall& f : faelle) {
    QTextDocument d;
    ASSERT_TRUE(rtfLesen(f.rtf, d)) << f.rtf.toStdString();
    EXPECT_EQ(d.toRawText().replace(QChar::ParagraphSeparator, u'\n'), f.text)
        << f.rtf.toStdString();
  }
  QTextDocument d;
  rtfLesen("{\\rtf1 {\\fonttbl{\\f0 Sch\\'3bne;}}{\\f0 x}}", d);
  EXPECT_EQ(an(d, 0).schrift, "Sch;ne") << "an escaped ';' does not end the font name";
}

// A section break starts a new page, its kind by default; a section that runs on
// (\sbknone, kept until \sectd) starts a paragraph only. A page break at the very end
// starts an empty page, as in word processors.
TEST(RtfLesen, SectionAndPageBreaksStartNewPages) {
  QTextDocument d;
  ASSERT_TRUE(
      rtfLesen("{\\rtf1 a\\sect b\\sect\\sectd\\sbknone c\\sect d\\sect\\sbkpage e\\sect}", d));
  QString seiten;
  for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
    seiten += b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore ? u'|' : u' ';
    seiten += b.text();
  }
  EXPECT_EQ(seiten, " a|b c d|e");
  // A page break at the end starts an empty page, and stays from save to save.
  ASSERT_TRUE(rtfLesen("{\\rtf1 a\\page}", d));
  ASSERT_EQ(d.blockCount(), 2);
  EXPECT_EQ(d.lastBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
  QTextDocument zurueck;
  rtfLesen(rtfSchreiben(d), zurueck);
  EXPECT_EQ(zurueck.blockCount(), 2);
}

TEST(RtfLesen, UnicodeHalvesCapitalsAndByteOrderMarks) {
  // Of a \upr pair the Unicode half \ud is the text, in the formatting of the pair's group;
  // the ANSI half adds no text and no paragraph. A \upr that opens no group hides nothing.
  QTextDocument d;
  ASSERT_TRUE(
      rtfLesen("{\\rtf1 a{\\upr\\b{Gr\\'fc\\'dfe\\par}{\\*\\ud{Gr\\u252?\\u223?e "
               "\\u945?}}}c\\upr d}",
               d));
  EXPECT_EQ(d.toPlainText(), QStringLiteral("aGrüße αcd"));
  EXPECT_TRUE(an(d, "G").fett);
  EXPECT_FALSE(an(d, "c").fett);

  // Capitals are shown as capitals (the plain text stays as typed, so merge fields in
  // capitals still merge); \plain and \caps0 end them.
  ASSERT_TRUE(rtfLesen(
      "{\\rtf1 {\\caps a}{\\scaps b}{\\caps\\scaps c}{\\caps\\plain d}{\\caps\\caps0 e}}", d));
  EXPECT_EQ(d.toPlainText(), "abcde");
  const int gross[] = {1, 2, 1, 0, 0};
  for (int p = 0; p < 5; ++p) EXPECT_EQ(an(d, p).gross, gross[p]) << p;

  // Byte-order marks name the encoding of the raw characters; \'hh stays in the code
  // page. RTF in UTF-16 is recognised with or without its mark; bytes that are not valid
  // UTF-8 after a UTF-8 mark are read in the code page.
  const QString text = QStringLiteral("{\\rtf1\\ansi Grüße \\'80 中}");
  const QString erwartet = QStringLiteral("Grüße € 中");
  QByteArray le(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  QByteArray be = le;
  for (qsizetype i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
  for (const QByteArray& datei :
       {"\xEF\xBB\xBF" + text.toUtf8(), "\xFF\xFE" + le, le, "\xFE\xFF" + be, be}) {
    ASSERT_TRUE(istRtf(datei));
    ASSERT_TRUE(rtfLesen(datei, d));
    EXPECT_EQ(d.toPlainText(), erwartet);
  }
  ASSERT_TRUE(
      rtfLesen("\xEF\xBB\xBF{\\rtf1 Gr\xFC\xDF"
               "e}",
               d));
  EXPECT_EQ(d.toPlainText(), QStringLiteral("Grüße"));
  // Text that is not RTF: the same marks.
  EXPECT_EQ(klartext("\xFF\xFE" + QByteArray("a\0\xE4\0\r\0\n\0", 8)),
            QStringLiteral("ä\n").prepend(u'a'));
  EXPECT_EQ(klartext("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"), QStringLiteral("Grüß"));
}

TEST(RtfLesen, DamagedInputLoadsWhatItCan) {
  struct Fall {
    QByteArray rtf;
    QString text;
  } faelle[] = {
      {"{\\rtf1 {\\b offen", "offen"},
      {"{\\rtf1 a}} nach dem Ende}", "a"},
      {"{\\rtf1 abc\\par de\\", "abc\nde"},
      {"{\\rtf1 abc\\'", "abc"},
      {"{\\rtf1 abc\\'4", "abc"},
      {"{\\rtf1 \\fs99999999999999999999 a\\f-99999999999 b\\cf123456789012 c\\uc99999999 d}",
       "abcd"},
      {"{\\rtf1 a\\u99999999?b\\u-99999999?c}", "abc"},
      {"{\\rtf1 a\\bin99999999999999", "a"},
      {"{\\rtf1 a\\bin-5 b}", "ab"},
      {"{\\rtf1 a\\li99999999999\\fi-99999999999\\tx-5 b}", "ab"},
      {QByteArray("{\\rtf1 a") + QByteArray("\0\x01\x02\xff\xfe", 5) + " b}",
       QStringLiteral("a\u00FF\u00FE b")},
      {"{\\rtf", ""},
  };
  for (const Fall& f : faelle) {
    QTextDocument d;
    ASSERT_TRUE(rtfLesen(f.rtf, d)) << f.rtf.toStdString();
    EXPECT_EQ(d.toPlainText(), f.text) << f.rtf.toStdString();
  }

  // Deep nesting: no recursion, the text inside is still read.
  const int tiefe = 100000;
  QByteArray tief = "{\\rtf1 ";
  tief += QByteArray(tiefe, '{') + "\\b innen" + QByteArray(tiefe, '}') + " aussen}";
  QTextDocument d;
  ASSERT_TRUE(rtfLesen(tief, d));
  EXPECT_EQ(d.toPlainText(), "innen aussen");
  EXPECT_TRUE(an(d, 0).fett);
  EXPECT_FALSE(an(d, "aussen").fett) << "the groups close again";

  // Not RTF at all: refused, the document left empty.
  QTextDocument leer;
  leer.setPlainText("alter Inhalt");
  EXPECT_FALSE(rtfLesen("Nur ein Text {\\rtf1 x}", leer));
  EXPECT_TRUE(leer.isEmpty());
  EXPECT_FALSE(rtfLesen(QByteArray(), leer));
  EXPECT_TRUE(rtfLesen("\xEF\xBB\xBF  \r\n{\\rtf1 mit BOM}", leer));
  EXPECT_EQ(leer.toPlainText(), "mit BOM");
}

}  // namespace
