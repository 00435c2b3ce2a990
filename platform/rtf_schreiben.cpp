#include "platform/rtf_schreiben.h"

#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/einheiten.h"
#include "platform/windows1252.h"

namespace {

QByteArray zahl(long long n) { return QByteArray::number(n); }

int twips(double pixel) {
  const double t = std::round(einheiten::twipsAusPixel(pixel));
  if (!std::isfinite(t)) return 0;
  return static_cast<int>(std::clamp(t, -1.0e6, 1.0e6));
}

void hexByte(QByteArray& aus, int byte) {
  static const char ziffern[] = "0123456789abcdef";
  aus += "\\'";
  aus += ziffern[(byte >> 4) & 15];
  aus += ziffern[byte & 15];
}

// One UTF-16 unit that is not plain ASCII: a 1252 byte when the code page holds it,
// else \uN with "?" as the fallback for readers without Unicode.
void nichtAscii(QByteArray& aus, char16_t u) {
  const int byte = unicodeZuCp1252(u);
  if (byte >= 0) {
    hexByte(aus, byte);
  } else {
    aus += "\\u";
    aus += zahl(u > 32767 ? static_cast<int>(u) - 65536 : static_cast<int>(u));
    aus += '?';
  }
}

class Schreiber {
 public:
  explicit Schreiber(const QTextDocument& dokument)
      : doc_(dokument), standard_(dokument.defaultFont()) {
    schriftNummer(zeichenwerte(QTextCharFormat(), standard_).schrift);
  }

  QByteArray schreiben(int von, int bis);

 private:
  int schriftNummer(const QString& name);
  int farbNummer(const QColor& farbe);
  void zeichen(const Zeichenwerte& w);
  void absatzBeginn(const QTextBlockFormat& f);
  void text(QStringView s);

  const QTextDocument& doc_;
  QFont standard_;
  QByteArray k_;
  std::vector<QString> schriften_;
  QHash<QString, int> schriftIndex_;
  std::vector<QColor> farben_;
  QHash<QRgb, int> farbIndex_;
  // The character values in force, as the numbers and flags written.
  struct Stand {
    int schrift;
    int halbpunkte;
    int farbe;
    bool fett, kursiv, unterstrichen, durchgestrichen;
    int hochtief;
    int gross;
  };
  std::optional<Stand> stand_;
};

int Schreiber::schriftNummer(const QString& roh) {
  // Control characters cannot stand in a font table; two names that differ only in them
  // are one face.
  QString name = roh;
  name.removeIf([](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; });
  name = name.trimmed();
  const auto it = schriftIndex_.constFind(name);
  if (it != schriftIndex_.constEnd()) return *it;
  schriften_.push_back(name);
  const int nummer = static_cast<int>(schriften_.size()) - 1;
  schriftIndex_.insert(name, nummer);
  return nummer;
}

int Schreiber::farbNummer(const QColor& farbe) {
  if (!farbe.isValid()) return 0;
  const QRgb rgb = farbe.rgb();
  const auto it = farbIndex_.constFind(rgb);
  if (it != farbIndex_.constEnd()) return *it;
  farben_.push_back(farbe);
  const int nummer = static_cast<int>(farben_.size());
  farbIndex_.insert(rgb, nummer);
  return nummer;
}

// Writes the control words of the values that differ from those in force.
void Schreiber::zeichen(const Zeichenwerte& w) {
  QByteArray s;
  const Stand neu{schriftNummer(w.schrift),
                  std::max(1, static_cast<int>(std::lround(std::min(w.punkte, 1638.0) * 2))),
                  farbNummer(w.farbe),
                  w.fett,
                  w.kursiv,
                  w.unterstrichen,
                  w.durchgestrichen,
                  w.hochtief,
                  w.gross};
  const Stand* alt = stand_ ? &*stand_ : nullptr;
  if (!alt || alt->schrift != neu.schrift) s += "\\f" + zahl(neu.schrift);
  if (!alt || alt->halbpunkte != neu.halbpunkte) s += "\\fs" + zahl(neu.halbpunkte);
  if (!alt || alt->farbe != neu.farbe) s += "\\cf" + zahl(neu.farbe);
  if (!alt || alt->fett != neu.fett) s += neu.fett ? "\\b" : "\\b0";
  if (!alt || alt->kursiv != neu.kursiv) s += neu.kursiv ? "\\i" : "\\i0";
  if (!alt || alt->unterstrichen != neu.unterstrichen) {
    s += neu.unterstrichen ? "\\ul" : "\\ulnone";
  }
  if (!alt || alt->durchgestrichen != neu.durchgestrichen) {
    s += neu.durchgestrichen ? "\\strike" : "\\strike0";
  }
  if (!alt || alt->hochtief != neu.hochtief) {
    s += neu.hochtief > 0 ? "\\super" : neu.hochtief < 0 ? "\\sub" : "\\nosupersub";
  }
  // Capitals are off where rich text starts, and one kind is switched off before the other.
  const int altGross = alt ? alt->gross : 0;
  if (altGross != neu.gross) {
    if (altGross == 1) s += "\\caps0";
    if (altGross == 2) s += "\\scaps0";
    if (neu.gross == 1) s += "\\caps";
    if (neu.gross == 2) s += "\\scaps";
  }
  stand_ = neu;
  if (!s.isEmpty()) {
    k_ += s;
    k_ += ' ';
  }
}

void Schreiber::absatzBeginn(const QTextBlockFormat& f) {
  k_ += "\\pard";
  const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
  if (h & Qt::AlignHCenter) {
    k_ += "\\qc";
  } else if (h & Qt::AlignJustify) {
    k_ += "\\qj";
  } else if (h & Qt::AlignRight) {
    k_ += "\\qr";
  } else {
    k_ += "\\ql";
  }
  const auto laenge = [this](const char* wort, double pixel) {
    const int t = twips(pixel);
    if (t != 0) k_ += wort + zahl(t);
  };
  laenge("\\li", f.leftMargin());
  laenge("\\ri", f.rightMargin());
  laenge("\\fi", f.textIndent());
  laenge("\\sb", f.topMargin());
  laenge("\\sa", f.bottomMargin());
  for (const QTextOption::Tab& t : f.tabPositions()) {
    if (t.type == QTextOption::RightTab) k_ += "\\tqr";
    if (t.type == QTextOption::CenterTab) k_ += "\\tqc";
    if (t.type == QTextOption::DelimiterTab) k_ += "\\tqdec";
    k_ += "\\tx" + zahl(std::max(0, twips(t.position)));
  }
  k_ += ' ';
}

void Schreiber::text(QStringView s) {
  for (const QChar ch : s) {
    const char16_t u = ch.unicode();
    switch (u) {
      case u'\\':
        k_ += "\\\\";
        continue;
      case u'{':
        k_ += "\\{";
        continue;
      case u'}':
        k_ += "\\}";
        continue;
      case u'\t':
        k_ += "\\tab ";
        continue;
      case u'\v':  // the manual line break of word processors
      case 0x2028:
        k_ += "\\line ";
        continue;
      case u'\f':
        k_ += "\\page ";
        continue;
      case 0x00A0:
        k_ += "\\~";
        continue;
      case 0x00AD:
        k_ += "\\-";
        continue;
      case 0x2011:
        k_ += "\\_";
        continue;
      case 0xFFFC:  // objects (pictures) are not carried
      case 0x2029:
        continue;
      default:
        break;
    }
    // The document's own markers (frames) are no text; other control characters are the
    // user's, kept as Unicode characters.
    if (u >= 0xFDD0 && u <= 0xFDEF) continue;
    if (u < 0x20 || u == 0x7F) {
      k_ += "\\u" + zahl(u) + '?';
    } else if (u < 0x80) {
      k_ += static_cast<char>(u);
    } else {
      nichtAscii(k_, u);
    }
  }
}

QByteArray Schreiber::schreiben(int von, int bis) {
  const int letzte = std::max(0, doc_.characterCount() - 1);
  von = std::clamp(von, 0, letzte);
  bis = std::clamp(bis, von, letzte);
  for (QTextBlock b = doc_.findBlock(von); b.isValid() && b.position() <= bis; b = b.next()) {
    absatzBeginn(b.blockFormat());
    bool leer = true;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment fr = it.fragment();
      if (!fr.isValid()) continue;
      const int a = std::max(fr.position(), von);
      const int e = std::min(fr.position() + fr.length(), bis);
      if (a >= e) continue;
      zeichen(zeichenwerte(fr.charFormat(), standard_));
      text(QStringView(fr.text()).mid(a - fr.position(), e - a));
      leer = false;
    }
    if (leer) zeichen(zeichenwerte(b.charFormat(), standard_));
    const int trenner = b.position() + b.length() - 1;
    if (trenner >= bis) continue;
    const QTextBlock naechster = b.next();
    const bool neueSeite =
        (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter) ||
        (naechster.isValid() &&
         (naechster.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    k_ += neueSeite ? "\\page\r\n" : "\\par\r\n";
  }
  // The last paragraph mark: readers take it as the end of the last paragraph.
  k_ += "\\par\r\n";

  QByteArray kopf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031";
  const double tab = doc_.defaultTextOption().tabStopDistance();
  kopf += "\\deftab" + zahl(tab > 0 ? std::max(1, twips(tab)) : 720);
  kopf += "{\\fonttbl";
  for (size_t i = 0; i < schriften_.size(); ++i) {
    kopf += "{\\f" + zahl(static_cast<long long>(i)) + "\\fnil\\fcharset0 ";
    for (const QChar ch : schriften_[i]) {
      const char16_t u = ch.unicode();
      if (u == u';' || u == u'\\' || u == u'{' || u == u'}') {
        hexByte(kopf, u);
      } else if (u >= 0x20 && u < 0x80) {
        kopf += static_cast<char>(u);
      } else if (u >= 0x80) {
        nichtAscii(kopf, u);
      }
    }
    kopf += ";}";
  }
  kopf += "}\r\n";
  if (!farben_.empty()) {
    kopf += "{\\colortbl ;";
    for (const QColor& f : farben_) {
      kopf +=
          "\\red" + zahl(f.red()) + "\\green" + zahl(f.green()) + "\\blue" + zahl(f.blue()) + ";";
    }
    kopf += "}\r\n";
  }
  kopf += "{\\*\\generator QX Marvolant;}\\viewkind4\\uc1\r\n";
  return kopf + k_ + "}\r\n";
}

}  // namespace

Zeichenwerte zeichenwerte(const QTextCharFormat& f, const QFont& standard) {
  Zeichenwerte w;
  const QStringList familien = f.fontFamilies().toStringList();
  if (!familien.isEmpty() && !familien.first().isEmpty()) {
    w.schrift = familien.first();
  } else {
    w.schrift = standard.family();
  }
  if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
    w.punkte = f.fontPointSize();
  } else if (f.hasProperty(QTextFormat::FontPixelSize) &&
             f.intProperty(QTextFormat::FontPixelSize) > 0) {
    w.punkte = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
  } else if (standard.pointSizeF() > 0) {
    w.punkte = standard.pointSizeF();
  } else if (standard.pixelSize() > 0) {
    w.punkte = standard.pixelSize() * 0.75;
  }
  w.fett = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold
                                                  : standard.weight() >= QFont::DemiBold;
  w.kursiv = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : standard.italic();
  const bool ul =
      f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline);
  w.unterstrichen = ul ? f.fontUnderline() : standard.underline();
  w.durchgestrichen =
      f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : standard.strikeOut();
  const QFont::Capitalization gross = f.hasProperty(QTextFormat::FontCapitalization)
                                          ? f.fontCapitalization()
                                          : standard.capitalization();
  if (gross == QFont::AllUppercase) w.gross = 1;
  if (gross == QFont::SmallCaps) w.gross = 2;
  if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) w.hochtief = 1;
  if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) w.hochtief = -1;
  if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush) {
    w.farbe = f.foreground().color();
  }
  return w;
}

QByteArray rtfSchreiben(const QTextDocument& dokument) {
  return rtfSchreiben(dokument, 0, dokument.characterCount() - 1);
}

QByteArray rtfSchreiben(const QTextDocument& dokument, int von, int bis) {
  return Schreiber(dokument).schreiben(von, bis);
}

QByteArray rtfSchreiben(const QTextDocumentFragment& fragment, const QFont& standard) {
  QTextDocument hilfe;
  hilfe.setDefaultFont(standard);
  QTextCursor cursor(&hilfe);
  cursor.insertFragment(fragment);
  return rtfSchreiben(hilfe);
}
