#include "platform/rtf_ausgabe.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/klartextbrief.h"
#include "platform/rtf_lesen.h"
#include "platform/rtf_schreiben.h"

namespace {

// Width and height a rectangle takes when its margins leave it empty or negative.
constexpr double kMindestmass = einheiten::kTwipsProZoll;  // an inch

double endlich(double v) { return std::isfinite(v) ? v : 0.0; }

// One side of the rectangle, from `anfang` over `laenge`, cut to the paper's `papier`, so that
// no line is laid out where it would not be printed. An empty rectangle on the paper takes
// the minimal length at the nearest place on it. False when the side lies wholly off the
// paper: nothing of the rectangle is on the sheet.
bool aufDemPapier(double& anfang, double& laenge, double papier) {
  if (!(papier > 0)) {
    if (!(laenge > 0)) laenge = kMindestmass;
    return true;
  }
  if (anfang >= papier || anfang + std::max(laenge, 0.0) <= 0) return false;
  const double ende = std::min(anfang + laenge, papier);
  anfang = std::max(anfang, 0.0);
  laenge = ende - anfang;
  if (!(laenge > 0)) {
    laenge = std::min(kMindestmass, papier);
    anfang = std::clamp(anfang, 0.0, papier - laenge);
  }
  return true;
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

  // Each format of the document is converted once: a long letter uses few of them.
  QHash<int, QTextBlockFormat> absatzformate;
  QHash<int, QTextCharFormat> zeichenformate;
  const auto zeichenformat = [&](int index, const QTextCharFormat& f) -> const QTextCharFormat& {
    auto it = zeichenformate.find(index);
    if (it == zeichenformate.end()) it = zeichenformate.insert(index, inTwips(f, standard));
    return *it;
  };
  struct Stueck {
    int position;
    int laenge;
    int format;
  };
  std::vector<Stueck> stuecke;
  QTextCursor c(&doc);
  c.beginEditBlock();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    auto bf = absatzformate.find(b.blockFormatIndex());
    if (bf == absatzformate.end()) {
      QTextBlockFormat f = b.blockFormat();
      f.setLeftMargin(einheiten::twipsAusPixel(f.leftMargin()));
      f.setRightMargin(einheiten::twipsAusPixel(f.rightMargin()));
      f.setTextIndent(einheiten::twipsAusPixel(f.textIndent()));
      f.setTopMargin(einheiten::twipsAusPixel(f.topMargin()));
      f.setBottomMargin(einheiten::twipsAusPixel(f.bottomMargin()));
      QList<QTextOption::Tab> tabs = f.tabPositions();
      for (QTextOption::Tab& t : tabs) t.position = einheiten::twipsAusPixel(t.position);
      f.setTabPositions(tabs);
      bf = absatzformate.insert(b.blockFormatIndex(), f);
    }
    c.setPosition(b.position());
    c.setBlockFormat(*bf);
    c.setBlockCharFormat(zeichenformat(b.charFormatIndex(), b.charFormat()));
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (!fr.isValid()) continue;
      zeichenformat(fr.charFormatIndex(), fr.charFormat());
      stuecke.push_back({fr.position(), fr.length(), fr.charFormatIndex()});
    }
  }
  for (const Stueck& s : stuecke) {
    c.setPosition(s.position);
    c.setPosition(s.position + s.laenge, QTextCursor::KeepAnchor);
    c.setCharFormat(zeichenformate.value(s.format));
  }
  c.endEditBlock();
  doc.setDefaultFont(twipsStandard);
  QTextOption option = doc.defaultTextOption();
  option.setTabStopDistance(einheiten::twipsAusPixel(option.tabStopDistance()));
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc.setDefaultTextOption(option);
  doc.setDocumentMargin(0);
}

// The document's own layout while it is put out: one that lays nothing out. Qt's layout
// of a whole letter in twips runs out of its fixed-point coordinates (2^25 twips, some
// 2,000 pages) and then never ends; and it would lay the letter out again, whole, when
// the events are processed during the output.
class OhneLayout final : public QAbstractTextDocumentLayout {
 public:
  using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;
  void draw(QPainter*, const PaintContext&) override {}
  int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override { return {}; }
  QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
  QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

 protected:
  void documentChanged(int, int, int) override {}
};

// A length as Qt's text layout holds it: rounded to 1/64.
double fest(double v) { return std::round(v * 64) / 64; }

// The alignment a paragraph shows in its direction: leading and trailing turn round in
// right-to-left text.
Qt::Alignment sichtbareAusrichtung(Qt::LayoutDirection richtung, Qt::Alignment a) {
  if (!(a & Qt::AlignHorizontal_Mask)) a |= Qt::AlignLeft;
  if (!(a & Qt::AlignAbsolute) && (a & (Qt::AlignLeft | Qt::AlignRight))) {
    if (richtung == Qt::RightToLeft) a ^= (Qt::AlignLeft | Qt::AlignRight);
    a |= Qt::AlignAbsolute;
  }
  return a;
}

// Calls the print control's Zwischendurch at each further page, and between blocks and
// lines once a tenth of a second has passed since the last call.
class Takt {
 public:
  explicit Takt(Drucksteuerung& d) : d_(d) { uhr_.start(); }
  bool jetzt() {
    uhr_.restart();
    return !d_.Zwischendurch || d_.Zwischendurch();
  }
  bool weiter() { return uhr_.elapsed() < 100 || jetzt(); }

 private:
  Drucksteuerung& d_;
  QElapsedTimer uhr_;
};

// One line of a block: its number in the block's layout and its top and bottom in twips
// from the top of the block.
struct Zeile {
  int nummer;
  double oben;
  double unten;
};

// Lays the block out at the width `breite`, as Qt's document layout lays out a paragraph
// (margins, indents, alignment, tab stops, line heights), into `zeilen` and its height.
// The lines stay at the top of the layout: their places are kept here, so that no
// coordinate of the text layout grows with the letter. False when `takt` said stop.
bool blockSetzen(const QTextDocument& doc, const QTextBlock& b, double breite, Takt& takt,
                 std::vector<Zeile>& zeilen, double& hoehe) {
  QTextLayout* tl = b.layout();
  const QTextBlockFormat f = b.blockFormat();
  const Qt::LayoutDirection richtung = b.textDirection();
  const bool rtl = richtung == Qt::RightToLeft;
  const double einzug = fest(f.indent() * doc.indentWidth());
  const double links = fest(f.leftMargin()) + (rtl ? 0 : einzug);
  const double rechts = breite - fest(f.rightMargin()) - (rtl ? einzug : 0);
  const double ersteZeile = fest(f.textIndent());

  QTextOption option = doc.defaultTextOption();
  option.setTextDirection(richtung);
  option.setTabs(f.tabPositions());
  option.setAlignment(sichtbareAusrichtung(
      richtung, f.hasProperty(QTextFormat::BlockAlignment) ? f.alignment() : option.alignment()));
  if (f.nonBreakableLines()) option.setWrapMode(QTextOption::ManualWrap);
  tl->setTextOption(option);
  tl->setPosition(QPointF(0, 0));

  zeilen.clear();
  double y = 0;
  double boden = 0;
  tl->beginLayout();
  for (;;) {
    QTextLine zeile = tl->createLine();
    if (!zeile.isValid()) break;
    zeile.setLeadingIncluded(true);
    double l = links;
    double r = rechts;
    if (zeilen.empty()) {
      if (rtl) {
        r -= ersteZeile;
      } else {
        l += ersteZeile;
      }
    }
    zeile.setLineWidth(r - l);
    if (fest(zeile.naturalTextWidth()) > r - l) {
      // Wider than the room even where it may break anywhere (a glyph wider than the
      // frame): the line takes its natural width, and the lines after it break at words.
      if (option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere) {
        option.setWrapMode(QTextOption::WrapAnywhere);
        tl->setTextOption(option);
      }
      zeile.setLineWidth(std::max(zeile.naturalTextWidth(), r - l));
      if (option.wrapMode() == QTextOption::WrapAnywhere) {
        option.setWrapMode(QTextOption::WordWrap);
        tl->setTextOption(option);
      }
    }
    // The line's height and where its next one begins, by the paragraph's line height.
    const double roh = std::ceil(zeile.ascent() + zeile.descent() + zeile.leading());
    const double abstand = fest(f.lineHeight(roh, 1));
    const double unten = fest(f.lineHeight(zeile.height(), 1));
    double versatz = 0;
    if (f.lineHeightType() == QTextBlockFormat::FixedHeight) {
      versatz = fest(zeile.ascent() + std::max(zeile.leading(), 0.0)) -
                std::trunc(abstand * 64 * 4 / 5) / 64;
    } else if (f.lineHeightType() == QTextBlockFormat::MinimumHeight) {
      versatz = fest(zeile.height()) - abstand;
    }
    zeile.setPosition(QPointF(l, 0));
    zeilen.push_back({zeile.lineNumber(), y - versatz, y - versatz + zeile.height()});
    boden = y + unten;
    y += abstand;
    if (zeilen.size() % 256 == 0 && !takt.weiter()) {
      tl->endLayout();
      tl->clearLayout();
      return false;
    }
  }
  tl->endLayout();
  hoehe = std::max(y, boden);
  return true;
}

// Where the ink of a line begins below its top: the highest point of its glyphs' outlines
// (its height when it shows none). A large font's line holds much empty space above its
// letters.
double tinteOben(const QTextLine& zeile) {
  double oben = zeile.height();
  for (const QGlyphRun& lauf : zeile.glyphRuns()) {
    const QRawFont schrift = lauf.rawFont();
    const QList<quint32> glyphen = lauf.glyphIndexes();
    const QList<QPointF> orte = lauf.positions();
    for (qsizetype k = 0; k < std::min(glyphen.size(), orte.size()); ++k) {
      const QRectF umriss = schrift.boundingRect(glyphen[k]);
      if (!umriss.isEmpty()) oben = std::min(oben, orte[k].y() + umriss.top());
    }
  }
  return oben;
}

// The pages of one output, filled line by line: a line goes onto the current page while
// it fits in the rectangle, up to a page break; then a further page begins, at the top of
// that line. A line taller than the rectangle gets a page of its own: it starts at the top
// of its letters, or as far down as shows the whole line, and is clipped at the bottom.
// Every page takes at least one line, so a rectangle lower than any line still prints
// every line, one a page, and the output ends. Positions are twips from the top of the
// letter, as doubles: the painter is handed only the small ones within a page.
class Seiten {
 public:
  Seiten(Drucksteuerung& d, Takt& takt, const QRectF& rechteck)
      : d_(d), takt_(takt), r_(rechteck) {}
  ~Seiten() { seiteBeenden(); }

  // Draws the line whose top and bottom lie at `oben` and `unten`; `neueSeite` when a
  // page break comes before it. False when the output ends here: no document was
  // started, or Zwischendurch said stop.
  bool zeile(const QTextLine& zeile, double oben, double unten, bool neueSeite) {
    constexpr double kSpiel = 0.01;
    if (belegt_ && (neueSeite || unten > start_ + r_.height() + kSpiel)) {
      seiteBeenden();
      if (!takt_.jetzt()) {
        abgebrochen_ = true;
        return false;
      }
      d_.NewPage();
      start_ = oben;
    }
    if (!belegt_) {
      if (!seiteBeginnen()) return false;
      // The first page keeps the spacing above the first line, as long as the line fits.
      if (unten > start_ + r_.height() + kSpiel)
        start_ = std::max(oben, std::min(oben + tinteOben(zeile), unten - r_.height()));
      belegt_ = true;
    }
    zeile.draw(maler_, QPointF(0, oben - start_));
    return true;
  }
  bool abgebrochen() const { return abgebrochen_; }

 private:
  bool seiteBeginnen() {
    HDC dc = d_.hdc();
    maler_ = dc ? dc->zeichnenBeginnen() : nullptr;
    if (!maler_ || !maler_->isActive()) return false;
    maler_->save();
    maler_->scale(1.0 / d_.twipsProPixelX(), 1.0 / d_.twipsProPixelY());
    maler_->translate(r_.topLeft());
    maler_->setClipRect(QRectF(QPointF(0, 0), r_.size()));
    maler_->setPen(Qt::black);
    return true;
  }
  void seiteBeenden() {
    if (belegt_ && maler_ && maler_->isActive()) maler_->restore();
    belegt_ = false;
    maler_ = nullptr;
  }

  Drucksteuerung& d_;
  Takt& takt_;
  QRectF r_;
  QPainter* maler_ = nullptr;
  bool belegt_ = false;  // a line is drawn on the current page
  double start_ = 0;     // the letter's place at the top of the rectangle on this page
  bool abgebrochen_ = false;
};

}  // namespace

std::unique_ptr<QTextDocument> rtfDokument(const QByteArray& rtf) {
  auto doc = std::make_unique<QTextDocument>();
  doc->setUndoRedoEnabled(false);
  QFont standard(QStringLiteral("Times New Roman"));
  standard.setPointSize(12);
  doc->setDefaultFont(standard);
  if (!rtfLesen(rtf, *doc)) klartextLesen(klartext(rtf), *doc);
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

Satzergebnis rtfAusgeben(Drucksteuerung& drucker, const QByteArray& rtf) {
  return dokumentAusgeben(drucker, *rtfDokument(rtf));
}

Satzergebnis dokumentAusgeben(Drucksteuerung& drucker, QTextDocument& doc) {
  // The rectangle inside the margins, in twips from the paper's top-left corner.
  double links = endlich(drucker.MarginLeft);
  double oben = endlich(drucker.MarginTop);
  double breite = endlich(drucker.PaperWidth) - endlich(drucker.MarginRight) - links;
  double hoehe = endlich(drucker.PaperHeight) - endlich(drucker.MarginBottom) - oben;
  if (!aufDemPapier(links, breite, endlich(drucker.PaperWidth)) ||
      !aufDemPapier(oben, hoehe, endlich(drucker.PaperHeight))) {
    return Satzergebnis::Ausserhalb;
  }
  doc.setDocumentLayout(new OhneLayout(&doc));

  Takt takt(drucker);
  Seiten seiten(drucker, takt, QRectF(links, oben, breite, hoehe));
  double y = 0;
  bool umbruchDanach = false;
  QTextBlockFormat voriges;
  std::vector<Zeile> zeilen;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const QTextBlockFormat f = b.blockFormat();
    // The space between two paragraphs is the larger of the one's spacing below and the
    // other's above; the first paragraph's spacing above counts for nothing.
    const bool erster = b == doc.begin();
    const QTextBlockFormat vorher = std::exchange(voriges, f);
    if (!b.isVisible()) continue;
    if (!erster) y += fest(std::max(f.topMargin(), vorher.bottomMargin()));
    double blockhoehe = 0;
    if (!blockSetzen(doc, b, breite, takt, zeilen, blockhoehe)) return Satzergebnis::Abgebrochen;
    bool neueSeite = umbruchDanach || (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    umbruchDanach = f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter;
    QTextLayout* tl = b.layout();
    for (const Zeile& z : zeilen) {
      if (!seiten.zeile(tl->lineAt(z.nummer), y + z.oben, y + z.unten, neueSeite))
        return seiten.abgebrochen() ? Satzergebnis::Abgebrochen : Satzergebnis::Gedruckt;
      neueSeite = false;
    }
    // The block is drawn: its lines are let go, so that a long letter does not keep
    // them all.
    tl->clearLayout();
    y += blockhoehe;
    if (!takt.weiter()) return Satzergebnis::Abgebrochen;
  }
  return Satzergebnis::Gedruckt;
}
