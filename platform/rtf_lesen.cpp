#include "platform/rtf_lesen.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/codepages.h"
#include "platform/einheiten.h"
#include "platform/rtf_woerter.h"
#include "platform/windows1252.h"

namespace {

using rtf::Wort;
using rtf::Worteintrag;
using rtf::worttabelle;

constexpr int kTwipsGrenze = 31680;  // 22 inches: the largest indent or spacing taken
constexpr size_t kMaxTiefe = 4096;   // groups deeper than this share their parent's state
constexpr int kMaxTabstopps = 64;
constexpr int kMaxHalbpunkte = 3276;  // 1638 pt, the largest size word processors allow
constexpr int kMaxUc = 16;

bool rtfAnfang(const QByteArray& daten) {
  qsizetype i = 0;
  while (i < daten.size() &&
         (daten[i] == ' ' || daten[i] == '\t' || daten[i] == '\r' || daten[i] == '\n')) {
    ++i;
  }
  return daten.mid(i, 5) == "{\\rtf";
}

// Where the characters read now go. `Upr` is the ANSI half of a \upr pair: its formatting
// counts, its text does not (the Unicode half in \ud carries the same text).
enum class Ziel : uint8_t { Text, Upr, Ueberspringen, Schrifttabelle, Farbtabelle };

struct Tabstopp {
  int twips;
  QTextOption::TabType typ;
  bool operator==(const Tabstopp&) const = default;
};

// Everything a group saves and restores.
struct Zustand {
  // character
  int schrift = -1;  // font number; -1: the document's default font
  int halbpunkte = 24;
  int farbe = 0;
  int8_t hochtief = 0;  // 1 superscript, -1 subscript
  bool fett = false;
  bool kursiv = false;
  bool unterstrichen = false;
  bool durchgestrichen = false;
  bool gross = false;         // \caps: shown in capitals
  bool kapitaelchen = false;  // \scaps: small capitals
  bool verborgen = false;
  // paragraph
  uint8_t ausrichtung = 0;  // 0 left, 1 right, 2 centre, 3 justified
  int links = 0;            // twips
  int rechts = 0;
  int erste = 0;
  int vor = 0;
  int nach = 0;
  bool seiteDavor = false;  // \pagebb: the paragraph starts a new page
  std::vector<Tabstopp> tabs;
  QTextOption::TabType naechsterTab = QTextOption::LeftTab;
  // group
  int uc = 1;
  Ziel ziel = Ziel::Text;

  void zeichenZuruecksetzen() {
    schrift = -1;
    halbpunkte = 24;
    farbe = 0;
    hochtief = 0;
    fett = kursiv = unterstrichen = durchgestrichen = gross = kapitaelchen = verborgen = false;
  }
  void absatzZuruecksetzen() {
    ausrichtung = 0;
    links = rechts = erste = vor = nach = 0;
    seiteDavor = false;
    tabs.clear();
    naechsterTab = QTextOption::LeftTab;
  }
  bool gleicheZeichen(const Zustand& o) const {
    return schrift == o.schrift && halbpunkte == o.halbpunkte && farbe == o.farbe &&
           hochtief == o.hochtief && fett == o.fett && kursiv == o.kursiv &&
           unterstrichen == o.unterstrichen && durchgestrichen == o.durchgestrichen &&
           gross == o.gross && kapitaelchen == o.kapitaelchen;
  }
};

struct Schrift {
  QString name;
  int codepage = 0;
  bool symbol = false;  // the Symbol font, whose bytes are not those of a code page
};

class Leser {
 public:
  // `utf8`: bytes of text that are not written as \'hh are UTF-8 (the file began with a
  // byte-order mark); else they are in the document's or the font's code page.
  Leser(QTextCursor& cursor, bool ganzesDokument, bool utf8)
      : c_(cursor), ganz_(ganzesDokument), utf8_(utf8), zielFormat_(cursor.blockFormat()) {}

  void lesen(const QByteArray& daten);
  int standardTab() const { return standardTab_; }

 private:
  void gruppeAuf();
  bool gruppeZu();
  void steuerung();
  void wort(std::string_view name, bool hatParameter, int parameter);
  void textWort(const Worteintrag& e, bool hatParameter, int parameter);
  void zeichenByte(unsigned char b, bool maskiert = false);
  void symbol(char16_t zeichen);
  void text(QStringView s, bool steuerzeichen = false);
  void absatz(bool neueSeite = false);
  void wartendenAbsatzEinfuegen();
  void absatzformatSetzen(QTextBlockFormat format);
  void rohAusgeben();
  void textAusgeben();
  void abschliessen();
  void schriftEintragAbschliessen();
  void farbeAbschliessen();
  int codepage(const Zustand& z) const;
  bool symbolschrift(const Zustand& z) const;
  // The code page of the font entry read now: its own (\cpg) before that of its character
  // set (\fcharset); 0 when it has neither.
  int eintragEigeneCodepage() const { return eintragCpg_ ? eintragCpg_ : eintragCodepage_; }
  int eintragCodepage() const {
    return eintragEigeneCodepage() ? eintragEigeneCodepage() : ansiCodepage_;
  }
  QTextCharFormat zeichenformat(const Zustand& z) const;
  QTextBlockFormat absatzformat(const Zustand& z) const;

  QTextCursor& c_;
  bool ganz_;
  bool utf8_;
  QTextBlockFormat zielFormat_;  // format of the paragraph an insertion runs into

  const char* p_ = nullptr;
  const char* ende_ = nullptr;

  Zustand z_;
  std::vector<Zustand> stapel_;
  size_t ueberzaehlig_ = 0;       // groups beyond kMaxTiefe that were opened and not closed
  int ucRest_ = 0;                // fallback characters still to skip after \uN
  bool amGruppenanfang_ = false;  // the control read now directly follows a "{"

  std::map<int, Schrift> schriften_;
  int standardSchrift_ = 0;
  int ansiCodepage_ = 1252;
  int standardTab_ = 720;

  bool eintragOffen_ = false;  // a font table entry has started
  int eintragNummer_ = 0;
  int eintragCodepage_ = 0;  // of the character set
  int eintragZeichensatz_ = 0;
  int eintragCpg_ = 0;
  QByteArray eintragName_;    // bytes of the name not yet decoded
  bool eintragUtf8_ = false;  // they are raw UTF-8
  QString eintragText_;       // the name decoded so far

  std::vector<QColor> farben_;
  int rot_ = -1, gruen_ = -1, blau_ = -1;

  QByteArray roh_;        // text bytes not yet decoded
  bool rohUtf8_ = false;  // they are raw UTF-8
  QString puffer_;        // decoded text not yet inserted
  Zustand pufferStand_;   // its character state

  bool absatzWartet_ = false;  // a \par whose paragraph break is not inserted yet
  bool seiteWartet_ = false;   // it is a \page: the next paragraph starts a new page
  // It is a section break (\sect), whose kind the next section's properties may still set;
  // a new section starts on a new page unless its properties say it runs on (\sbknone).
  bool abschnittWartet_ = false;
  bool abschnittSeite_ = true;
  QTextBlockFormat wartendesFormat_;
  QTextCharFormat wartendesZeichenformat_;
};

void Leser::lesen(const QByteArray& daten) {
  p_ = daten.constData();
  ende_ = p_ + daten.size();
  while (p_ < ende_ && *p_ != '{') ++p_;
  bool nachKlammer = false;
  while (p_ < ende_) {
    const char ch = *p_++;
    if (ch != '\r' && ch != '\n') {
      amGruppenanfang_ = nachKlammer;
      nachKlammer = ch == '{';
    }
    switch (ch) {
      case '{':
        gruppeAuf();
        break;
      case '}':
        if (!gruppeZu()) {
          abschliessen();
          return;
        }
        break;
      case '\\':
        steuerung();
        break;
      case '\r':
      case '\n':
        break;
      default:
        zeichenByte(static_cast<unsigned char>(ch));
    }
  }
  abschliessen();
}

void Leser::gruppeAuf() {
  rohAusgeben();
  ucRest_ = 0;
  if (stapel_.size() < kMaxTiefe) {
    stapel_.push_back(z_);
  } else {
    ++ueberzaehlig_;
  }
}

// Closes a group; false when the outermost group has closed.
bool Leser::gruppeZu() {
  rohAusgeben();
  ucRest_ = 0;
  if (ueberzaehlig_ > 0) {
    --ueberzaehlig_;
    return true;
  }
  if (stapel_.empty()) return false;
  if (z_.ziel == Ziel::Schrifttabelle) schriftEintragAbschliessen();
  // The outermost group ends the document; the last paragraph keeps the state in force.
  if (stapel_.size() == 1) return false;
  z_ = std::move(stapel_.back());
  stapel_.pop_back();
  return true;
}

void Leser::steuerung() {
  if (p_ >= ende_) return;
  const auto istBuchstabe = [](char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
  };
  const auto istZiffer = [](char ch) { return ch >= '0' && ch <= '9'; };
  if (istBuchstabe(*p_)) {
    const char* anfang = p_;
    while (p_ < ende_ && istBuchstabe(*p_)) ++p_;
    const std::string_view name(anfang, static_cast<size_t>(p_ - anfang));
    bool negativ = false;
    if (p_ + 1 < ende_ && *p_ == '-' && istZiffer(p_[1])) {
      negativ = true;
      ++p_;
    }
    bool hatParameter = false;
    int64_t wert = 0;
    while (p_ < ende_ && istZiffer(*p_)) {
      hatParameter = true;
      if (wert < 100000000000LL) wert = wert * 10 + (*p_ - '0');
      ++p_;
    }
    wert = std::min<int64_t>(wert, 2147483647);
    if (negativ) wert = -wert;
    if (p_ < ende_ && *p_ == ' ') ++p_;
    wort(name, hatParameter, static_cast<int>(wert));
    return;
  }
  const char ch = *p_++;
  switch (ch) {
    case '\'': {
      int wert = 0;
      int ziffern = 0;
      while (ziffern < 2 && p_ < ende_) {
        const char h = *p_;
        int d;
        if (h >= '0' && h <= '9') {
          d = h - '0';
        } else if (h >= 'a' && h <= 'f') {
          d = h - 'a' + 10;
        } else if (h >= 'A' && h <= 'F') {
          d = h - 'A' + 10;
        } else {
          break;
        }
        wert = wert * 16 + d;
        ++ziffern;
        ++p_;
      }
      if (ziffern > 0) zeichenByte(static_cast<unsigned char>(wert), true);
      break;
    }
    case '\\':
    case '{':
    case '}':
      zeichenByte(static_cast<unsigned char>(ch));
      break;
    case '~':
      symbol(0x00A0);
      break;
    case '-':
      symbol(0x00AD);
      break;
    case '_':
      symbol(0x2011);
      break;
    case '*':
      // An ignorable destination (none of them carries letter text). Only at the start of
      // a group: a stray \* elsewhere must not swallow the rest of the letter.
      rohAusgeben();
      if (amGruppenanfang_) z_.ziel = Ziel::Ueberspringen;
      break;
    case '\r':
    case '\n':
      rohAusgeben();
      if (ucRest_ > 0) {
        --ucRest_;
      } else if (z_.ziel == Ziel::Text) {
        absatz();
      }
      break;
    default:
      break;  // \| \: and unknown symbols carry nothing
  }
}

void Leser::wort(std::string_view name, bool hatParameter, int parameter) {
  rohAusgeben();
  if (name == "bin") {
    // Binary data of the given length follows; it is never text.
    const int64_t rest = ende_ - p_;
    p_ += std::clamp<int64_t>(hatParameter ? parameter : 0, 0, rest);
    return;
  }
  if (ucRest_ > 0) {
    --ucRest_;
    return;
  }
  const auto& tabelle = worttabelle();
  const auto gefunden = tabelle.find(name);
  if (gefunden == tabelle.end()) return;
  const Worteintrag& e = gefunden->second;
  if (e.wort == Wort::Ud) {
    // The Unicode half of a \upr pair is the text; elsewhere \ud means nothing.
    if (!stapel_.empty() && stapel_.back().ziel == Ziel::Upr) z_.ziel = Ziel::Text;
    return;
  }
  switch (z_.ziel) {
    case Ziel::Ueberspringen:
      return;
    case Ziel::Schrifttabelle:
      if (e.wort == Wort::F) {
        schriftEintragAbschliessen();
        eintragOffen_ = true;
        eintragNummer_ = std::max(0, parameter);
        eintragCodepage_ = 0;
        eintragZeichensatz_ = 0;
        eintragCpg_ = 0;
        eintragName_.clear();
        eintragText_.clear();
      } else if (e.wort == Wort::Fcharset) {
        eintragCodepage_ = codepages::zuZeichensatz(parameter);
        eintragZeichensatz_ = parameter;
      } else if (e.wort == Wort::Cpg) {
        eintragCpg_ = std::max(0, parameter);
      } else if (e.wort == Wort::U) {
        int code = parameter < 0 ? parameter + 65536 : parameter;
        if (code > 0 && code <= 0xFFFF) {
          eintragText_ += codepages::dekodieren(eintragName_, eintragUtf8_, eintragCodepage());
          eintragName_.clear();
          eintragText_.append(QChar(static_cast<char16_t>(code)));
        }
        ucRest_ = z_.uc;
      } else if (e.wort == Wort::Ueberspringen) {
        z_.ziel = Ziel::Ueberspringen;
      }
      return;
    case Ziel::Farbtabelle: {
      const int wert = std::clamp(parameter, 0, 255);
      if (e.wort == Wort::Red) rot_ = wert;
      if (e.wort == Wort::Green) gruen_ = wert;
      if (e.wort == Wort::Blue) blau_ = wert;
      if (e.wort == Wort::Ueberspringen) z_.ziel = Ziel::Ueberspringen;
      return;
    }
    case Ziel::Upr:
      if (e.wort != Wort::Par && e.wort != Wort::Sect) textWort(e, hatParameter, parameter);
      return;
    case Ziel::Text:
      textWort(e, hatParameter, parameter);
      return;
  }
}

void Leser::textWort(const Worteintrag& e, bool hatParameter, int parameter) {
  const bool an = !hatParameter || parameter != 0;
  const auto twips = [&](int grenzeUnten) {
    return std::clamp(hatParameter ? parameter : 0, grenzeUnten, kTwipsGrenze);
  };
  switch (e.wort) {
    case Wort::Unbekannt:
      break;
    case Wort::Par:
      absatz();
      break;
    case Wort::Page:
      absatz(true);
      break;
    case Wort::Pagebb:
      z_.seiteDavor = an;
      break;
    case Wort::Sect:
      absatz(abschnittSeite_);
      abschnittWartet_ = true;
      break;
    case Wort::Sectd:
    case Wort::SbkSeite:
    case Wort::SbkOhne:
      // How the section starts whose properties these are: on a new page unless it runs on.
      abschnittSeite_ = e.wort != Wort::SbkOhne;
      if (abschnittWartet_ && absatzWartet_) seiteWartet_ = abschnittSeite_;
      break;
    case Wort::Line:
      symbol(0x2028);
      break;
    case Wort::Tab:
      symbol(u'\t');
      break;
    case Wort::Pard:
      z_.absatzZuruecksetzen();
      break;
    case Wort::Plain:
      z_.zeichenZuruecksetzen();
      break;
    case Wort::B:
      z_.fett = an;
      break;
    case Wort::I:
      z_.kursiv = an;
      break;
    case Wort::Ul:
      z_.unterstrichen = an;
      break;
    case Wort::UlNone:
      z_.unterstrichen = false;
      break;
    case Wort::Strike:
      z_.durchgestrichen = an;
      break;
    case Wort::Caps:
      z_.gross = an;
      break;
    case Wort::Scaps:
      z_.kapitaelchen = an;
      break;
    case Wort::V:
      z_.verborgen = an;
      break;
    case Wort::Fs:
      if (!hatParameter) {
        z_.halbpunkte = 24;
      } else if (parameter > 0) {
        z_.halbpunkte = std::min(parameter, kMaxHalbpunkte);
      }
      break;
    case Wort::F:
      if (hatParameter) z_.schrift = std::max(0, parameter);
      break;
    case Wort::Cf:
      z_.farbe = std::max(0, parameter);
      break;
    case Wort::Super:
      z_.hochtief = an ? 1 : 0;
      break;
    case Wort::Sub:
      z_.hochtief = an ? -1 : 0;
      break;
    case Wort::NoSuperSub:
      z_.hochtief = 0;
      break;
    case Wort::Ql:
      z_.ausrichtung = 0;
      break;
    case Wort::Qr:
      z_.ausrichtung = 1;
      break;
    case Wort::Qc:
      z_.ausrichtung = 2;
      break;
    case Wort::Qj:
      z_.ausrichtung = 3;
      break;
    case Wort::Li:
      z_.links = twips(-kTwipsGrenze);
      break;
    case Wort::Ri:
      z_.rechts = twips(-kTwipsGrenze);
      break;
    case Wort::Fi:
      z_.erste = twips(-kTwipsGrenze);
      break;
    case Wort::Sb:
      z_.vor = twips(0);
      break;
    case Wort::Sa:
      z_.nach = twips(0);
      break;
    case Wort::Tx:
      if (static_cast<int>(z_.tabs.size()) < kMaxTabstopps) {
        z_.tabs.push_back({twips(0), z_.naechsterTab});
      }
      z_.naechsterTab = QTextOption::LeftTab;
      break;
    case Wort::Tqr:
      z_.naechsterTab = QTextOption::RightTab;
      break;
    case Wort::Tqc:
      z_.naechsterTab = QTextOption::CenterTab;
      break;
    case Wort::Tqdec:
      z_.naechsterTab = QTextOption::DelimiterTab;
      break;
    case Wort::Uc:
      z_.uc = std::clamp(hatParameter ? parameter : 1, 0, kMaxUc);
      break;
    case Wort::U: {
      int code = parameter;
      if (code < 0) code += 65536;
      // A line break and a form feed read as what the writer makes of them, a paragraph
      // separator as a paragraph mark; \u0 (not a bare \u) is a NUL the letter held.
      if (code == u'\v') {
        text(u"\u2028");
      } else if (code == u'\f' || code == 0x2029) {
        if (z_.ziel == Ziel::Text && !z_.verborgen) absatz(code == u'\f');
      } else if (code >= (hatParameter ? 0 : 1) && code <= 0xFFFF) {
        const char16_t u = static_cast<char16_t>(code);
        const QChar zeichen(symbolschrift(z_) ? codepages::ausSymbolschrift(u) : u);
        text(QStringView(&zeichen, 1), true);
      }
      ucRest_ = z_.uc;
      break;
    }
    case Wort::Deff:
      standardSchrift_ = std::max(0, parameter);
      break;
    case Wort::Ansicpg:
      if (hatParameter && parameter > 0) ansiCodepage_ = parameter;
      break;
    case Wort::Ansi:
      ansiCodepage_ = 1252;
      break;
    case Wort::Mac:
      ansiCodepage_ = 10000;
      break;
    case Wort::Pc:
      ansiCodepage_ = 437;
      break;
    case Wort::Pca:
      ansiCodepage_ = 850;
      break;
    case Wort::Deftab:
      if (hatParameter && parameter > 0) standardTab_ = std::min(parameter, kTwipsGrenze);
      break;
    case Wort::Fonttbl:
      z_.ziel = Ziel::Schrifttabelle;
      eintragOffen_ = false;
      break;
    case Wort::Colortbl:
      z_.ziel = Ziel::Farbtabelle;
      rot_ = gruen_ = blau_ = -1;
      break;
    case Wort::Ueberspringen:
      z_.ziel = Ziel::Ueberspringen;
      break;
    case Wort::Upr:
      // Only as the first word of its group: a stray \upr must not hide the letter.
      if (amGruppenanfang_) z_.ziel = Ziel::Upr;
      break;
    case Wort::Zeichen:
      text(QString(QChar(e.zeichen)));
      break;
    case Wort::Ud:  // handled in wort()
    case Wort::Fcharset:
    case Wort::Cpg:
    case Wort::Red:
    case Wort::Green:
    case Wort::Blue:
      break;
  }
}

// A byte of text; `maskiert` when it came as \'hh, which never ends a table entry.
void Leser::zeichenByte(unsigned char b, bool maskiert) {
  if (ucRest_ > 0) {
    --ucRest_;
    return;
  }
  // A raw byte of a UTF-8 file and a \'hh byte of the code page cannot be decoded
  // together: what is buffered of the other kind is decoded first.
  const bool utf8 = utf8_ && !maskiert;
  switch (z_.ziel) {
    case Ziel::Text:
      if (b >= 0x80 && utf8 != rohUtf8_) {
        rohAusgeben();
        rohUtf8_ = utf8;
      }
      roh_.append(static_cast<char>(b));
      break;
    case Ziel::Schrifttabelle:
      if (b == ';' && !maskiert) {
        schriftEintragAbschliessen();
        break;
      }
      if (b >= 0x80 && utf8 != eintragUtf8_) {
        eintragText_ += codepages::dekodieren(eintragName_, eintragUtf8_, eintragCodepage());
        eintragName_.clear();
        eintragUtf8_ = utf8;
      }
      eintragName_.append(static_cast<char>(b));
      break;
    case Ziel::Farbtabelle:
      if (b == ';' && !maskiert) farbeAbschliessen();
      break;
    case Ziel::Upr:
    case Ziel::Ueberspringen:
      break;
  }
}

// A control symbol or word that stands for one character.
void Leser::symbol(char16_t zeichen) {
  rohAusgeben();
  if (ucRest_ > 0) {
    --ucRest_;
    return;
  }
  if (z_.ziel == Ziel::Text) text(QStringView(&zeichen, 1));
}

void Leser::rohAusgeben() {
  if (roh_.isEmpty()) return;
  QString s;
  if (symbolschrift(z_) && !rohUtf8_) {
    s = ausWindows1252(roh_);  // a character a byte, for the bytes the font's table lacks
    for (qsizetype i = 0; i < roh_.size(); ++i) {
      const char16_t byte = static_cast<unsigned char>(roh_[i]);
      if (codepages::ausSymbolschrift(byte) != byte)
        s[i] = QChar(codepages::ausSymbolschrift(byte));
    }
  } else {
    s = codepages::dekodieren(roh_, rohUtf8_, codepage(z_));
  }
  roh_.clear();
  text(s);
}

// `steuerzeichen`: the text was written as \uN, where a control character is one of the
// letter's own (the writer puts them so); as raw bytes they are not text.
void Leser::text(QStringView s, bool steuerzeichen) {
  if (z_.verborgen || z_.ziel != Ziel::Text) return;
  for (const QChar ch : s) {
    const char16_t u = ch.unicode();
    // Control characters (but a tab, and those of the letter itself written as \uN, line
    // ends aside), paragraph marks in disguise and the document's own markers (frames,
    // objects) are not letter text.
    const bool steuer =
        (u < 0x20 || u == 0x7F) && u != u'\t' && (!steuerzeichen || u == u'\n' || u == u'\r');
    if (steuer || u == 0x2029 || u == 0xFFFC || (u >= 0xFDD0 && u <= 0xFDEF) || u == 0xFFFE ||
        u == 0xFFFF) {
      continue;
    }
    if (absatzWartet_) {
      textAusgeben();
      wartendenAbsatzEinfuegen();
    }
    if (!puffer_.isEmpty() && !pufferStand_.gleicheZeichen(z_)) textAusgeben();
    if (puffer_.isEmpty()) pufferStand_ = z_;
    puffer_.append(ch);
  }
}

void Leser::textAusgeben() {
  if (puffer_.isEmpty()) return;
  c_.insertText(puffer_, zeichenformat(pufferStand_));
  puffer_.clear();
}

void Leser::absatz(bool neueSeite) {
  rohAusgeben();
  textAusgeben();
  if (absatzWartet_) wartendenAbsatzEinfuegen();
  absatzWartet_ = true;
  abschnittWartet_ = false;
  seiteWartet_ = neueSeite;
  wartendesFormat_ = absatzformat(z_);
  wartendesZeichenformat_ = zeichenformat(z_);
}

// The paragraph that ends takes the format in force. It starts a new page when a page
// break came before it or its format says so (\pagebb).
void Leser::absatzformatSetzen(QTextBlockFormat format) {
  format.setPageBreakPolicy(format.pageBreakPolicy() | c_.blockFormat().pageBreakPolicy());
  c_.setBlockFormat(format);
}

void Leser::wartendenAbsatzEinfuegen() {
  absatzWartet_ = false;
  absatzformatSetzen(wartendesFormat_);
  if (c_.block().length() <= 1) c_.setBlockCharFormat(wartendesZeichenformat_);
  QTextBlockFormat neu = ganz_ ? wartendesFormat_ : zielFormat_;
  neu.setPageBreakPolicy(seiteWartet_ ? QTextFormat::PageBreak_AlwaysBefore
                                      : QTextFormat::PageBreak_Auto);
  c_.insertBlock(neu, wartendesZeichenformat_);
}

void Leser::abschliessen() {
  rohAusgeben();
  textAusgeben();
  if (!ganz_) return;  // an insertion's last paragraph runs into the target's paragraph
  // A page break at the end starts an empty page, as in word processors (a section break
  // there ends the document only).
  if (absatzWartet_ && seiteWartet_ && !abschnittWartet_) wartendenAbsatzEinfuegen();
  // The last paragraph mark ends the last paragraph; it starts no new one.
  const QTextBlockFormat absatz = absatzWartet_ ? wartendesFormat_ : absatzformat(z_);
  const QTextCharFormat zeichen = absatzWartet_ ? wartendesZeichenformat_ : zeichenformat(z_);
  absatzformatSetzen(absatz);
  if (c_.block().length() <= 1) c_.setBlockCharFormat(zeichen);
  absatzWartet_ = false;
}

void Leser::schriftEintragAbschliessen() {
  if (!eintragOffen_) return;
  eintragOffen_ = false;
  Schrift s;
  s.codepage = eintragEigeneCodepage();
  eintragText_ += codepages::dekodieren(eintragName_, eintragUtf8_, eintragCodepage());
  eintragText_.removeIf([](QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; });
  s.name = eintragText_.trimmed();
  s.symbol = eintragZeichensatz_ == 2 && s.name.compare(u"Symbol", Qt::CaseInsensitive) == 0;
  eintragName_.clear();
  eintragText_.clear();
  schriften_[eintragNummer_] = s;
}

void Leser::farbeAbschliessen() {
  if (rot_ < 0 && gruen_ < 0 && blau_ < 0) {
    farben_.emplace_back();  // the automatic colour
  } else {
    farben_.emplace_back(std::max(rot_, 0), std::max(gruen_, 0), std::max(blau_, 0));
  }
  rot_ = gruen_ = blau_ = -1;
}

bool Leser::symbolschrift(const Zustand& z) const {
  const auto it = schriften_.find(z.schrift < 0 ? standardSchrift_ : z.schrift);
  return it != schriften_.end() && it->second.symbol;
}

int Leser::codepage(const Zustand& z) const {
  const auto it = schriften_.find(z.schrift < 0 ? standardSchrift_ : z.schrift);
  if (it != schriften_.end() && it->second.codepage > 0) return it->second.codepage;
  return ansiCodepage_;
}

QTextCharFormat Leser::zeichenformat(const Zustand& z) const {
  QTextCharFormat f;
  const auto it = schriften_.find(z.schrift < 0 ? standardSchrift_ : z.schrift);
  if (it != schriften_.end() && !it->second.name.isEmpty()) {
    f.setFontFamilies(QStringList{it->second.name});
  }
  f.setFontPointSize(z.halbpunkte / 2.0);
  f.setFontWeight(z.fett ? QFont::Bold : QFont::Normal);
  f.setFontItalic(z.kursiv);
  f.setFontUnderline(z.unterstrichen);
  f.setFontStrikeOut(z.durchgestrichen);
  if (z.gross) {
    f.setFontCapitalization(QFont::AllUppercase);
  } else if (z.kapitaelchen) {
    f.setFontCapitalization(QFont::SmallCaps);
  }
  if (z.hochtief != 0) {
    f.setVerticalAlignment(z.hochtief > 0 ? QTextCharFormat::AlignSuperScript
                                          : QTextCharFormat::AlignSubScript);
  }
  if (z.farbe > 0 && z.farbe < static_cast<int>(farben_.size()) && farben_[z.farbe].isValid()) {
    f.setForeground(farben_[z.farbe]);
  }
  return f;
}

QTextBlockFormat Leser::absatzformat(const Zustand& z) const {
  QTextBlockFormat f;
  static constexpr Qt::Alignment ausrichtungen[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                                    Qt::AlignJustify};
  f.setAlignment(ausrichtungen[z.ausrichtung & 3]);
  f.setLeftMargin(einheiten::pixelAusTwips(z.links));
  f.setRightMargin(einheiten::pixelAusTwips(z.rechts));
  f.setTextIndent(einheiten::pixelAusTwips(z.erste));
  f.setTopMargin(einheiten::pixelAusTwips(z.vor));
  f.setBottomMargin(einheiten::pixelAusTwips(z.nach));
  if (z.seiteDavor) f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  if (!z.tabs.empty()) {
    QList<QTextOption::Tab> tabs;
    for (const Tabstopp& t : z.tabs)
      tabs.append(QTextOption::Tab(einheiten::pixelAusTwips(t.twips), t.typ));
    f.setTabPositions(tabs);
  }
  return f;
}

}  // namespace

QString klartext(const QByteArray& bytes) {
  const codepages::Quelle q = codepages::quelle(bytes);
  QString text;
  if (q.utf8) {
    text = QString::fromUtf8(q.bytes);
  } else {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = utf8.decode(bytes);
    if (utf8.hasError()) text = ausWindows1252(bytes);
  }
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar(u'\r'), QChar(u'\n'));
  return text;
}

bool istRtf(const QByteArray& daten) { return rtfAnfang(codepages::quelle(daten).bytes); }

bool rtfLesen(const QByteArray& rtf, QTextDocument& ziel) {
  ziel.clear();
  const codepages::Quelle q = codepages::quelle(rtf);
  if (!rtfAnfang(q.bytes)) return false;
  QTextCursor cursor(&ziel);
  cursor.beginEditBlock();  // one layout pass at the end, not one per piece of text
  Leser leser(cursor, true, q.utf8);
  leser.lesen(q.bytes);
  cursor.endEditBlock();
  QTextOption option = ziel.defaultTextOption();
  option.setTabStopDistance(einheiten::pixelAusTwips(leser.standardTab()));
  ziel.setDefaultTextOption(option);
  return true;
}

bool rtfEinfuegen(QTextCursor& cursor, const QByteArray& rtf) {
  const codepages::Quelle q = codepages::quelle(rtf);
  if (!rtfAnfang(q.bytes) || cursor.isNull()) return false;
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  Leser leser(cursor, false, q.utf8);
  leser.lesen(q.bytes);
  cursor.endEditBlock();
  return true;
}
