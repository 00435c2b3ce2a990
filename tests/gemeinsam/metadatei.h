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

// A picture of breite x hoehe units (1440 an inch unless told) whose window covers it, with
// the records after the two that set the window; objekte is the size of the object table.
inline QByteArray mitKopf(int breite, int hoehe, const QByteArray& datensaetze,
                          uint32_t groessterDatensatz, int objekte = 1, bool platzierbar = true,
                          int einheitenProZoll = 1440) {
  Worte kopf;
  if (platzierbar) {
    kopf.dw(0x9AC6CDD7).w(0).w(0).w(0).w(breite).w(hoehe).w(einheitenProZoll).dw(0);
    int summe = 0;
    for (int i = 0; i < 20; i += 2)
      summe ^=
          static_cast<uint8_t>(kopf.daten()[i]) | (static_cast<uint8_t>(kopf.daten()[i + 1]) << 8);
    kopf.w(summe);
  }
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

}  // namespace metadatei
