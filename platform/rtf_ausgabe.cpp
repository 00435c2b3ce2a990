#include "platform/rtf_ausgabe.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"

namespace {

// Width and height a rectangle takes when its margins leave it empty or negative.
constexpr double kMindestmass = einheiten::kTwipsProZoll;  // an inch

double endlich(double v) { return std::isfinite(v) ? v : 0.0; }

// One side of the rectangle, from `anfang` over `laenge`, cut to the paper's `papier`, so that
// no line is laid out where it would not be printed. An empty rectangle, or one wholly off the
// paper, takes the minimal length at the nearest place on the paper.
void aufDemPapier(double& anfang, double& laenge, double papier) {
  if (!(papier > 0)) {
    if (!(laenge > 0)) laenge = kMindestmass;
    return;
  }
  const double ende = std::min(anfang + laenge, papier);
  anfang = std::max(anfang, 0.0);
  laenge = ende - anfang;
  if (!(laenge > 0)) {
    laenge = std::min(kMindestmass, papier);
    anfang = std::clamp(anfang, 0.0, papier - laenge);
  }
}

// Fonts sized in pixels that are twips (20 per point, exact for every half-point size),
// and every length of the document in twips, so that the layout does not depend on the
// resolution of any screen; the painter maps twips to device pixels.
QTextCharFormat inTwips(const QTextCharFormat& f, const QFont& standard) {
  const Zeichenwerte w = zeichenwerte(f, standard);
  QTextCharFormat neu = f;
  neu.clearProperty(QTextFormat::FontPointSize);
  neu.setProperty(QTextFormat::FontPixelSize,
                  std::max(1, static_cast<int>(std::lround(std::min(w.punkte, 1638.0) * 20))));
  neu.setFontFamilies(QStringList{w.schrift});
  neu.setFontHintingPreference(QFont::PreferNoHinting);
  return neu;
}

void dokumentInTwips(QTextDocument& doc) {
  const QFont standard = doc.defaultFont();
  QFont twipsStandard = standard;
  twipsStandard.setPixelSize(
      std::max(1, static_cast<int>(
                      std::lround((standard.pointSizeF() > 0 ? standard.pointSizeF() : 12) * 20))));
  twipsStandard.setHintingPreference(QFont::PreferNoHinting);

  struct Stueck {
    int position;
    int laenge;
    QTextCharFormat format;
  };
  std::vector<Stueck> stuecke;
  QTextCursor c(&doc);
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    QTextBlockFormat bf = b.blockFormat();
    bf.setLeftMargin(einheiten::twipsAusPixel(bf.leftMargin()));
    bf.setRightMargin(einheiten::twipsAusPixel(bf.rightMargin()));
    bf.setTextIndent(einheiten::twipsAusPixel(bf.textIndent()));
    bf.setTopMargin(einheiten::twipsAusPixel(bf.topMargin()));
    bf.setBottomMargin(einheiten::twipsAusPixel(bf.bottomMargin()));
    QList<QTextOption::Tab> tabs = bf.tabPositions();
    for (QTextOption::Tab& t : tabs) t.position = einheiten::twipsAusPixel(t.position);
    bf.setTabPositions(tabs);
    c.setPosition(b.position());
    c.setBlockFormat(bf);
    c.setBlockCharFormat(inTwips(b.charFormat(), standard));
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (fr.isValid()) stuecke.push_back({fr.position(), fr.length(), fr.charFormat()});
    }
  }
  for (const Stueck& s : stuecke) {
    c.setPosition(s.position);
    c.setPosition(s.position + s.laenge, QTextCursor::KeepAnchor);
    c.setCharFormat(inTwips(s.format, standard));
  }
  doc.setDefaultFont(twipsStandard);
  QTextOption option = doc.defaultTextOption();
  option.setTabStopDistance(einheiten::twipsAusPixel(option.tabStopDistance()));
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc.setDefaultTextOption(option);
  doc.setDocumentMargin(0);
}

// One laid-out line: its block's layout, its number there and its extent in twips;
// `neueSeite` when a page break comes before it (its paragraph starts a new page).
struct Zeile {
  const QTextLayout* layout;
  int nummer;
  double oben;
  double unten;
  bool neueSeite;
};

// Where the ink of a line begins, in twips from the document's top: the highest point of
// its glyphs' outlines (the line's bottom when it shows none). A large font's line holds much
// empty space above its letters.
double tinteOben(const Zeile& z) {
  double oben = z.unten;
  const double y = z.layout->position().y();
  for (const QGlyphRun& lauf : z.layout->lineAt(z.nummer).glyphRuns()) {
    const QRawFont schrift = lauf.rawFont();
    const QList<quint32> glyphen = lauf.glyphIndexes();
    const QList<QPointF> orte = lauf.positions();
    for (qsizetype k = 0; k < std::min(glyphen.size(), orte.size()); ++k) {
      const QRectF umriss = schrift.boundingRect(glyphen[k]);
      if (!umriss.isEmpty()) oben = std::min(oben, y + orte[k].y() + umriss.top());
    }
  }
  return oben;
}

}  // namespace

std::unique_ptr<QTextDocument> rtfDokument(const QByteArray& rtf) {
  auto doc = std::make_unique<QTextDocument>();
  QFont standard(QStringLiteral("Times New Roman"));
  standard.setPointSize(12);
  doc->setDefaultFont(standard);
  if (!rtfLesen(rtf, *doc)) doc->setPlainText(klartext(rtf));
  dokumentInTwips(*doc);
  return doc;
}

std::unique_ptr<QTextDocument> dokumentKopie(const QTextDocument& dokument) {
  std::unique_ptr<QTextDocument> kopie(dokument.clone());
  // The settings of the document as a whole are not all part of a clone.
  kopie->setDefaultFont(dokument.defaultFont());
  kopie->setDefaultTextOption(dokument.defaultTextOption());
  kopie->setDocumentMargin(dokument.documentMargin());
  return kopie;
}

void rtfAusgeben(Drucksteuerung& drucker, const QByteArray& rtf) {
  dokumentAusgeben(drucker, *rtfDokument(rtf));
}

void dokumentAusgeben(Drucksteuerung& drucker, QTextDocument& doc) {
  // The rectangle inside the margins, in twips from the paper's top-left corner.
  double links = endlich(drucker.MarginLeft);
  double oben = endlich(drucker.MarginTop);
  double breite = endlich(drucker.PaperWidth) - endlich(drucker.MarginRight) - links;
  double hoehe = endlich(drucker.PaperHeight) - endlich(drucker.MarginBottom) - oben;
  aufDemPapier(links, breite, endlich(drucker.PaperWidth));
  aufDemPapier(oben, hoehe, endlich(drucker.PaperHeight));
  doc.setTextWidth(breite);
  // Qt lays a long document out lazily, a part now and the rest later; asking for its
  // size finishes the layout of every block before the lines are collected.
  doc.documentLayout()->documentSize();

  std::vector<Zeile> zeilen;
  bool umbruchDanach = false;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const QTextLayout* tl = b.layout();
    if (!tl || !b.isVisible()) continue;
    const QTextFormat::PageBreakFlags umbruch = b.blockFormat().pageBreakPolicy();
    bool neueSeite = umbruchDanach || (umbruch & QTextFormat::PageBreak_AlwaysBefore);
    umbruchDanach = umbruch & QTextFormat::PageBreak_AlwaysAfter;
    const double y = tl->position().y();
    for (int i = 0; i < tl->lineCount(); ++i) {
      const QRectF r = tl->lineAt(i).rect();
      zeilen.push_back({tl, i, y + r.top(), y + r.bottom(), neueSeite});
      neueSeite = false;
    }
  }

  // Page by page, the lines that fit whole, up to a page break. A line taller than the
  // rectangle gets a page of its own: it starts at the top and is clipped at the bottom.
  // Every page takes at least one line, so a rectangle lower than any line still prints
  // every line, one a page, and the output ends. Each page draws its own lines only.
  constexpr double kSpiel = 0.01;
  const auto seitenende = [&](size_t i, double start) {
    size_t j = i;
    while (j < zeilen.size() && zeilen[j].unten <= start + hoehe + kSpiel &&
           (j == i || !zeilen[j].neueSeite)) {
      ++j;
    }
    return j;
  };
  size_t i = 0;
  bool ersteSeite = true;
  while (i < zeilen.size()) {
    // The first page keeps the spacing above the first line, as long as the line fits.
    double start = ersteSeite ? 0.0 : zeilen[i].oben;
    size_t j = seitenende(i, start);
    if (j == i) {
      // Too tall: from the top of its letters, or as far down as shows the whole line.
      const Zeile& z = zeilen[i];
      start = std::max(z.oben, std::min(tinteOben(z), z.unten - hoehe));
      j = std::max(seitenende(i, start), i + 1);
    }
    if (!ersteSeite) drucker.NewPage();

    HDC dc = drucker.hdc();
    QPainter* maler = dc ? dc->zeichnenBeginnen() : nullptr;
    if (!maler || !maler->isActive()) return;
    maler->save();
    maler->scale(1.0 / drucker.twipsProPixelX(), 1.0 / drucker.twipsProPixelY());
    maler->translate(links, oben - start);
    maler->setClipRect(QRectF(0, start, breite, hoehe));
    maler->setPen(Qt::black);
    for (size_t k = i; k < j; ++k)
      zeilen[k].layout->lineAt(zeilen[k].nummer).draw(maler, zeilen[k].layout->position());
    maler->restore();

    i = j;
    ersteSeite = false;
  }
}
