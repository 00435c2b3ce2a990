// Windows metafiles written for tests and benchmarks: the placeable header (1440 units an
// inch), the metafile header, the records (size in 16-bit words, function, parameters) and
// the end-of-file record.
#pragma once

#include <QByteArray>
#include <algorithm>
#include <cstdint>

namespace metadatei {

class Worte {
 public:
  Worte& w(int v) {
    d_.append(static_cast<char>(v & 0xFF));
    d_.append(static_cast<char>((v >> 8) & 0xFF));
    return *this;
  }
  Worte& dw(uint32_t v) { return w(static_cast<int>(v & 0xFFFF)).w(static_cast<int>(v >> 16)); }
  const QByteArray& daten() const { return d_; }

 private:
  QByteArray d_;
};

// The placeable header of a picture from (links, oben) to (rechts, unten), with its checksum.
inline void platzierbarerKopf(Worte& kopf, int links, int oben, int rechts, int unten,
                              int einheitenProZoll) {
  kopf.dw(0x9AC6CDD7).w(0).w(links).w(oben).w(rechts).w(unten).w(einheitenProZoll).dw(0);
  int summe = 0;
  for (int i = 0; i < 20; i += 2)
    summe ^=
        static_cast<uint8_t>(kopf.daten()[i]) | (static_cast<uint8_t>(kopf.daten()[i + 1]) << 8);
  kopf.w(summe);
}

// A picture of breite x hoehe units (1440 an inch unless told) whose window covers it, with
// the records after the two that set the window; objekte is the size of the object table.
inline QByteArray mitKopf(int breite, int hoehe, const QByteArray& datensaetze,
                          uint32_t groessterDatensatz, int objekte = 1, bool platzierbar = true,
                          int einheitenProZoll = 1440) {
  Worte kopf;
  if (platzierbar) platzierbarerKopf(kopf, 0, 0, breite, hoehe, einheitenProZoll);
  Worte fenster;
  fenster.dw(5).w(0x020B).w(0).w(0);           // SetWindowOrg 0, 0
  fenster.dw(5).w(0x020C).w(hoehe).w(breite);  // SetWindowExt
  const QByteArray ende("\x03\0\0\0\0\0", 6);  // EOF
  const auto woerter =
      static_cast<uint32_t>(9 + (fenster.daten().size() + datensaetze.size() + ende.size()) / 2);
  kopf.w(1).w(9).w(0x0300).dw(woerter).w(objekte).dw(std::max<uint32_t>(groessterDatensatz, 5));
  kopf.w(0);
  return kopf.daten() + fenster.daten() + datensaetze + ende;
}

// A zigzag line over a picture of 1 x 1 inch in `anzahl` records, moving to a point and
// drawing a line to the next by turns.
inline QByteArray linien(int anzahl) {
  Worte r;
  for (int i = 0; i < anzahl; ++i)
    r.dw(5).w(i % 2 == 0 ? 0x0214 : 0x0213).w(i * 7 % 1440).w(i * 13 % 1440);  // MoveTo, LineTo
  return mitKopf(1440, 1440, r.daten(), 5);
}

// `anzahl` ellipses, each over the whole picture of 16 x 8 inches.
inline QByteArray ellipsen(int anzahl) {
  Worte r;
  for (int i = 0; i < anzahl; ++i)
    r.dw(7).w(0x0418).w(8 * 1440 - 1 - i % 5).w(16 * 1440 - 1 - i % 7).w(i % 5).w(i % 7);
  return mitKopf(16 * 1440, 8 * 1440, r.daten(), 7);
}

// `anzahl` red bitmaps of seite x seite pixels (24 bits, StretchDib), each over the whole
// picture of 1 x 1 inch.
inline QByteArray bitmaps(int anzahl, int seite) {
  const int zeile = (seite * 3 + 3) / 4 * 4;
  const int worte = 3 + 11 + (40 + zeile * seite) / 2;
  QByteArray pixel(zeile * seite, '\0');
  for (int y = 0; y < seite; ++y)
    for (int x = 0; x < seite; ++x) pixel[y * zeile + 3 * x + 2] = '\xFF';  // blue, green, red
  Worte r;
  for (int i = 0; i < anzahl; ++i) {
    r.dw(worte).w(0x0F43).dw(0x00CC0020).w(0).w(seite).w(seite).w(0).w(0).w(1440).w(1440).w(0).w(0);
    r.dw(40).dw(seite).dw(seite).w(1).w(24).dw(0).dw(zeile * seite).dw(0).dw(0).dw(0).dw(0);
    for (int k = 0; k < pixel.size(); k += 2)
      r.w(static_cast<uint8_t>(pixel[k]) | static_cast<uint8_t>(pixel[k + 1]) << 8);
  }
  return mitKopf(1440, 1440, r.daten(), worte);
}

// A chart of `anzahl` records over 6 x 4 inches: 40 bars as filled polygons in two colours
// with a thin outline, a wide blue line over their tops, and a two-digit label in 6-point
// Arial under each, over and over until the count is reached (the records that create the
// pens, brushes and the font count too).
inline QByteArray diagramm(int anzahl) {
  constexpr int kBreite = 6 * 1440;
  constexpr int kHoehe = 4 * 1440;
  Worte r;
  int n = 0;
  const auto stift = [&](int breite, uint32_t farbe) {
    r.dw(8).w(0x02FA).w(0).w(breite).w(0).dw(farbe);  // CreatePenIndirect
    ++n;
  };
  const auto pinsel = [&](uint32_t farbe) {
    r.dw(7).w(0x02FC).w(0).dw(farbe).w(0);  // CreateBrushIndirect, solid
    ++n;
  };
  stift(15, 0x000000);  // object 0: outline
  stift(60, 0xC04000);  // 1: the line series, blue
  pinsel(0x3050E0);     // 2: red bars
  pinsel(0x40B040);     // 3: green bars
  // 4: CreateFontIndirect, 6 pt (120 units) Arial, normal weight.
  r.dw(3 + 9 + 16).w(0x02FB).w(-120).w(0).w(0).w(0).w(400).w(0).w(0).w(0).w(0);
  const char name[32] = "Arial";
  for (int i = 0; i < 32; i += 2)
    r.w(static_cast<uint8_t>(name[i]) | static_cast<uint8_t>(name[i + 1]) << 8);
  r.dw(4).w(0x012D).w(4);  // SelectObject font
  r.dw(4).w(0x0102).w(1);  // SetBkMode transparent
  n += 3;
  for (int i = 0; n + 5 <= anzahl; ++i) {
    const int spalte = i % 40;
    const int x = 300 + spalte * 200;
    const int hoehe = 400 + (i * 37) % 3600;
    r.dw(4).w(0x012D).w(2 + i % 2);  // SelectObject brush
    r.dw(4).w(0x012D).w(0);          // SelectObject outline
    r.dw(12).w(0x0324).w(4);         // Polygon of four points
    r.w(x).w(kHoehe - 600).w(x + 150).w(kHoehe - 600).w(x + 150).w(kHoehe - 600 - hoehe);
    r.w(x).w(kHoehe - 600 - hoehe);
    r.dw(4).w(0x012D).w(1);                                               // SelectObject line pen
    r.dw(8).w(0x0325).w(2).w(x + 75).w(kHoehe - 600 - hoehe).w(x + 275);  // Polyline
    r.w(kHoehe - 600 - (400 + ((i + 1) * 37) % 3600));
    n += 5;
    if (n + 1 > anzahl) break;
    // TextOut: count, the characters padded to a word, y, x.
    const QByteArray text = QByteArray::number(10 + i % 40);
    r.dw(3 + 1 + (text.size() + 1) / 2 + 2).w(0x0521).w(static_cast<int>(text.size()));
    QByteArray gepolstert = text;
    if (gepolstert.size() % 2) gepolstert.append('\0');
    for (int k = 0; k < gepolstert.size(); k += 2)
      r.w(static_cast<uint8_t>(gepolstert[k]) | static_cast<uint8_t>(gepolstert[k + 1]) << 8);
    r.w(kHoehe - 450).w(x);
    ++n;
  }
  return mitKopf(kBreite, kHoehe, r.daten(), 3 + 9 + 16, 5);
}

// The largest picture a placeable header can describe: -32767 to 32767 units at one unit
// an inch (over 6 million pixels a side at 96 dpi), with four ellipses over all of it,
// drawn with a pen `stiftbreite` units wide (0: the default pen).
inline QByteArray riesig(int stiftbreite) {
  Worte kopf;
  platzierbarerKopf(kopf, -32767, -32767, 32767, 32767, 1);
  Worte r;
  r.dw(5).w(0x020B).w(-32767).w(-32767);  // SetWindowOrg
  r.dw(5).w(0x020C).w(32767).w(32767);    // SetWindowExt
  if (stiftbreite > 0) {
    r.dw(8).w(0x02FA).w(0).w(stiftbreite).w(0).dw(0x0000FF);  // CreatePenIndirect, red
    r.dw(4).w(0x012D).w(0);                                   // SelectObject
  }
  for (int i = 0; i < 4; ++i)
    r.dw(7).w(0x0418).w(32767 - i).w(32767 - i).w(-32767 + i).w(-32767 + i);  // Ellipse
  r.dw(3).w(0);                                                               // EOF
  kopf.w(1).w(9).w(0x0300).dw(static_cast<uint32_t>(9 + r.daten().size() / 2)).w(1).dw(8).w(0);
  return kopf.daten() + r.daten();
}

}  // namespace metadatei
