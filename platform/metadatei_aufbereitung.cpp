#include "platform/metadatei_aufbereitung.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace metadatei {

namespace {

constexpr size_t kPlatzierbarerKopf = 22;
constexpr size_t kKopf = 18;  // nine words

// Record functions.
constexpr uint16_t kEnde = 0x0000;
constexpr uint16_t kSaveDc = 0x001E;
constexpr uint16_t kRestoreDc = 0x0127;
constexpr uint16_t kSelectObject = 0x012D;
constexpr uint16_t kDeleteObject = 0x01F0;
constexpr uint16_t kSetMapMode = 0x0103;
constexpr uint16_t kSetWindowExt = 0x020C;
constexpr uint16_t kSetViewportExt = 0x020E;
constexpr uint16_t kCreateBrushIndirect = 0x02FC;
constexpr uint16_t kBsHatched = 2;
constexpr uint16_t kHsFDiagonal = 2;  // lines down from left to right
constexpr uint16_t kHsBDiagonal = 3;  // lines up from left to right
constexpr uint16_t kMmIsotropic = 7;
constexpr uint16_t kMmAnisotropic = 8;

// Records whose first parameters (as many as given) are indexes into the object table:
// SelectPalette, SelectClipRegion, PaintRegion, InvertRegion, FillRegion, FrameRegion.
struct Verweise {
  uint16_t funktion;
  size_t anzahl;
};
constexpr Verweise kVerweise[] = {{0x0234, 1}, {0x012C, 1}, {0x012B, 1},
                                  {0x012A, 1}, {0x0228, 2}, {0x0429, 2}};

// The settings the player's SaveDC resets: SetTextAlign, SetBkMode, SetBkColor, SetTextColor,
// SetPolyFillMode, SetROP2, SetTextCharExtra, SetTextJustification.
constexpr std::array<uint16_t, 8> kEinstellungen = {0x012E, 0x0102, 0x0201, 0x0209,
                                                    0x0106, 0x0104, 0x0108, 0x020A};

// The kinds of object a state holds one of; the others are only referred to.
enum Art { kStift, kPinsel, kSchrift, kSonstige };

// The records that put an object into the table, and whether the player does so too (it
// has no pattern brush of a device-dependent bitmap).
struct Erzeuger {
  uint16_t funktion;
  Art art;
  bool imSpieler;
};
constexpr Erzeuger kErzeuger[] = {
    {0x02FA, kStift, true},                 // CreatePenIndirect
    {kCreateBrushIndirect, kPinsel, true},  // CreateBrushIndirect
    {0x0142, kPinsel, true},                // DibCreatePatternBrush
    {0x01F9, kPinsel, false},               // CreatePatternBrush
    {0x02FB, kSchrift, true},               // CreateFontIndirect
    {0x00F7, kSonstige, true},              // CreatePalette
    {0x06FF, kSonstige, true},              // CreateRegion
};

uint16_t u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const unsigned char* p) { return u16(p) | static_cast<uint32_t>(u16(p + 2)) << 16; }

void setze16(std::vector<unsigned char>& d, size_t i, uint32_t v) {
  d[i] = static_cast<unsigned char>(v & 0xFF);
  d[i + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}

class Aufbereitung {
 public:
  Aufbereitung(size_t dateiPlaetze, bool platzierbar)
      : datei_(dateiPlaetze, -1), platzierbar_(platzierbar) {}

  std::vector<unsigned char> aus;
  uint32_t groessterSatz = 3;  // in words

  size_t spielerPlaetze() const { return spieler_.size(); }

  void schreiben(uint16_t funktion, std::initializer_list<uint16_t> worte) {
    const auto groesse = static_cast<uint32_t>(3 + worte.size());
    for (uint16_t w : {uint16_t(groesse & 0xFFFF), uint16_t(groesse >> 16), funktion}) wort(w);
    for (uint16_t w : worte) wort(w);
    groessterSatz = std::max(groessterSatz, groesse);
  }

  void satz(const unsigned char* s, size_t laenge) {
    const uint16_t funktion = u16(s + 4);
    const size_t parameter = (laenge - 6) / 2;
    const auto par = [&](size_t i) { return i < parameter ? u16(s + 6 + 2 * i) : uint16_t(0); };

    std::vector<unsigned char> gedreht;
    if (funktion == kCreateBrushIndirect && parameter >= 4 && par(0) == kBsHatched &&
        (par(3) == kHsFDiagonal || par(3) == kHsBDiagonal)) {
      gedreht.assign(s, s + laenge);
      setze16(gedreht, 6 + 2 * 3, par(3) == kHsFDiagonal ? kHsBDiagonal : kHsFDiagonal);
      s = gedreht.data();
    }
    for (const Erzeuger& e : kErzeuger)
      if (e.funktion == funktion) return erzeugen(s, laenge, e);
    for (const Verweise& v : kVerweise)
      if (v.funktion == funktion) {
        std::vector<unsigned char> neu(s, s + laenge);
        for (size_t i = 0; i < v.anzahl && i < parameter; ++i) {
          const int objekt = objektAn(par(i));
          if (objekt < 0 || objekte_[size_t(objekt)].platz < 0) return;  // none: nothing done
          setze16(neu, 6 + 2 * i, uint32_t(objekte_[size_t(objekt)].platz));
        }
        return kopieren(neu.data(), neu.size());
      }
    switch (funktion) {
      case kSelectObject: {
        const int objekt = objektAn(par(0));
        if (objekt < 0 || objekte_[size_t(objekt)].platz < 0) return;
        schreiben(kSelectObject, {uint16_t(objekte_[size_t(objekt)].platz)});
        if (objekte_[size_t(objekt)].art != kSonstige) waehlen(objekt);
        return;
      }
      case kDeleteObject: {
        const int objekt = objektAn(par(0));
        if (objekt < 0) return;
        datei_[par(0)] = -1;
        objekte_[size_t(objekt)].geloescht = true;
        freigeben(objekt);
        return;
      }
      case kSaveDc:
        kopieren(s, laenge);
        gespeichert_.push_back(dc_);
        for (int objekt : dc_.auswahl)
          if (objekt >= 0) ++objekte_[size_t(objekt)].bezuege;
        for (const auto& einstellung : dc_.einstellungen)
          kopieren(einstellung.data(), einstellung.size());
        return;
      case kRestoreDc: {
        // -n: n levels back; n: back to the state the n-th SaveDC kept.
        const auto n = static_cast<int16_t>(par(0));
        const size_t tiefe = gespeichert_.size();
        size_t zurueck = 0;
        if (n < 0) zurueck = std::min<size_t>(tiefe, size_t(-int(n)));
        if (n > 0 && size_t(n) <= tiefe) zurueck = tiefe - size_t(n) + 1;
        for (size_t i = 0; i < zurueck; ++i) {
          schreiben(kRestoreDc, {0xFFFF});
          const Zustand verlassen = dc_;
          dc_ = gespeichert_.back();
          gespeichert_.pop_back();
          for (int objekt : verlassen.auswahl)
            if (objekt >= 0) {
              --objekte_[size_t(objekt)].bezuege;
              freigeben(objekt);
            }
        }
        return;
      }
      case kSetMapMode:
        if (platzierbar_) return;
        break;
      default:
        break;
    }
    for (size_t i = 0; i < kEinstellungen.size(); ++i)
      if (kEinstellungen[i] == funktion) dc_.einstellungen[i].assign(s, s + laenge);
    kopieren(s, laenge);
  }

 private:
  struct Objekt {
    Art art;
    int platz;        // in the player's table; -1: none there
    int bezuege = 0;  // states that hold it
    bool geloescht = false;
  };
  struct Zustand {
    std::array<int, 3> auswahl{-1, -1, -1};  // pen, brush, font
    std::array<std::vector<unsigned char>, kEinstellungen.size()> einstellungen;
  };

  void wort(uint16_t w) {
    aus.push_back(static_cast<unsigned char>(w & 0xFF));
    aus.push_back(static_cast<unsigned char>(w >> 8));
  }

  void kopieren(const unsigned char* s, size_t laenge) {
    aus.insert(aus.end(), s, s + laenge);
    if (laenge >= 4) groessterSatz = std::max(groessterSatz, u32(s));
  }

  int objektAn(uint16_t index) const { return index < datei_.size() ? datei_[index] : -1; }

  // Both tables take a new object at their first free slot.
  void erzeugen(const unsigned char* s, size_t laenge, const Erzeuger& e) {
    const auto frei = std::find(datei_.begin(), datei_.end(), -1);
    if (frei == datei_.end()) return;  // the table is full: Windows creates nothing
    *frei = int(objekte_.size());
    int platz = -1;
    if (e.imSpieler) {
      const auto leer = std::find(spieler_.begin(), spieler_.end(), -1);
      platz = int(leer - spieler_.begin());
      if (leer == spieler_.end()) spieler_.push_back(-1);
      spieler_[size_t(platz)] = *frei;
      kopieren(s, laenge);
    }
    objekte_.push_back({e.art, platz});
  }

  void waehlen(int objekt) {
    int& gewaehlt = dc_.auswahl[objekte_[size_t(objekt)].art];
    const int vorher = std::exchange(gewaehlt, objekt);
    ++objekte_[size_t(objekt)].bezuege;
    if (vorher >= 0) {
      --objekte_[size_t(vorher)].bezuege;
      freigeben(vorher);
    }
  }

  // A deleted object leaves the player's table once no state holds it.
  void freigeben(int objekt) {
    Objekt& o = objekte_[size_t(objekt)];
    if (!o.geloescht || o.bezuege > 0 || o.platz < 0) return;
    schreiben(kDeleteObject, {uint16_t(o.platz)});
    spieler_[size_t(o.platz)] = -1;
    o.platz = -1;
  }

  std::vector<Objekt> objekte_;
  std::vector<int> datei_;    // the file's table: the object in each slot, -1: free
  std::vector<int> spieler_;  // the player's table
  Zustand dc_;
  std::vector<Zustand> gespeichert_;
  bool platzierbar_;
};

// Calls `jeder` with each record (start, length in bytes) up to the end record or the first
// record that does not fit.
template <typename F>
void jederSatz(const std::vector<unsigned char>& d, size_t pos, F jeder) {
  while (pos + 6 <= d.size()) {
    const uint32_t worte = u32(&d[pos]);
    if (worte < 3 || worte > (d.size() - pos) / 2 || (worte == 3 && u16(&d[pos + 4]) == kEnde))
      return;
    jeder(&d[pos], size_t(worte) * 2);
    pos += size_t(worte) * 2;
  }
}

}  // namespace

Aufbereitet aufbereiten(const std::vector<unsigned char>& datei) {
  Aufbereitet ergebnis;
  const bool platzierbar = datei.size() >= kPlatzierbarerKopf && u32(datei.data()) == 0x9AC6CDD7u;
  const size_t kopf = platzierbar ? kPlatzierbarerKopf : 0;
  if (datei.size() < kopf + kKopf) return ergebnis;

  Aufbereitung a(u16(&datei[kopf + 10]), platzierbar);
  if (!platzierbar) {
    // The first mapping mode and window the file sets.
    int modus = -1;
    int breite = 0;
    int hoehe = 0;
    jederSatz(datei, kopf + kKopf, [&](const unsigned char* s, size_t laenge) {
      if (laenge < 8) return;
      if (u16(s + 4) == kSetMapMode && modus < 0) modus = u16(s + 6);
      if (u16(s + 4) == kSetWindowExt && breite == 0 && laenge >= 10) {
        hoehe = std::abs(int(int16_t(u16(s + 6))));
        breite = std::abs(int(int16_t(u16(s + 8))));
      }
    });
    if (breite > 0 && hoehe > 0 &&
        (modus < 0 || modus == kMmIsotropic || modus == kMmAnisotropic)) {
      a.schreiben(kSetViewportExt, {uint16_t(hoehe), uint16_t(breite)});
      a.schreiben(kSetMapMode, {kMmAnisotropic});
      ergebnis.fensterIstBild = true;
      ergebnis.fensterBreite = breite;
      ergebnis.fensterHoehe = hoehe;
    }
  }
  jederSatz(datei, kopf + kKopf, [&](const unsigned char* s, size_t laenge) { a.satz(s, laenge); });
  a.schreiben(kEnde, {});
  if (a.spielerPlaetze() > 0xFFFF) return {};

  ergebnis.daten.assign(datei.begin(), datei.begin() + long(kopf + kKopf));
  ergebnis.daten.insert(ergebnis.daten.end(), a.aus.begin(), a.aus.end());
  const size_t worte = (kKopf + a.aus.size()) / 2;
  setze16(ergebnis.daten, kopf + 6, uint32_t(worte & 0xFFFF));
  setze16(ergebnis.daten, kopf + 8, uint32_t(worte >> 16));
  setze16(ergebnis.daten, kopf + 10, uint32_t(std::max<size_t>(a.spielerPlaetze(), 1)));
  setze16(ergebnis.daten, kopf + 12, a.groessterSatz & 0xFFFF);
  setze16(ergebnis.daten, kopf + 14, a.groessterSatz >> 16);
  return ergebnis;
}

}  // namespace metadatei
