// The plain property holders of the document: frame, page, text element, line/shape element,
// picture element. Each member is one stored field; there is no behaviour here.
// Flags are bool and are written to files as -1 / 0.
#pragma once

#include <QString>
#include <cstdint>
#include <variant>

// A tagged value: a member that may hold a number of some width or a text (the text of a
// number after a document was read). Users convert it where they compute with it.
using Variante = std::variant<std::monostate, int16_t, int32_t, double, QString>;

// The number a tagged value holds: numbers as they are, a text read as a decimal number
// (user's locale, else "." as decimal mark, else "," as decimal mark). Empty value and a
// text that is no number give std::nullopt.
#include <optional>
std::optional<double> varianteZahl(const Variante& v);
// The text form of a tagged value (numbers in the user's locale).
QString varianteText(const Variante& v);

// Colours: red + 256 * green + 65536 * blue.
constexpr int32_t RGB(int rot, int gruen, int blau) { return rot + 256 * gruen + 65536 * blau; }

// A frame on the page. Lengths in tenths of a millimetre.
struct ClassRahmen {
  int16_t Data = 0;
  QString Objekttyp;       // "Schrift", "Bild", "Linie" or "RTF"
  Variante Objektnummer;   // index in that kind's list, 1-based
  int32_t Hoehe = 0;
  int32_t Breite = 0;
  bool Proportional = false;
  bool Verankert = false;
  bool Sichtbar = false;
  int16_t z = 0;
  int32_t y = 0;
  int32_t x = 0;

  // Objektnummer as a list index (nearest whole number); 0 when it holds no number.
  int nummer() const;
};

// The page.
struct ClassSeite {
  QString BackBilddatei;
  int16_t BackBereich = 0;
  int16_t BackFarbverlaufart = 0;
  int16_t BackTyp = 0;
  int32_t BackFarbe2 = 0;
  int32_t BackFarbe = 0;
  bool Querformat = false;
  QString Masseinheit;
  int32_t Fusszeile = 0;
  int32_t Kopfzeile = 0;
  int32_t RandUnten = 0;
  int32_t RandRechts = 0;
  int32_t RandOben = 0;
  int32_t Hoehe = 0;
  int32_t Breite = 0;
  int32_t RandLinks = 0;
  QString Papier;

  // The largest paper width or height accepted, in 1/10 mm: 5 m, a long sheet from the roll
  // of a wide-format printer. Every way a page size enters the program stops there.
  static constexpr int32_t GroesstesMass = 50000;

  bool operator==(const ClassSeite&) const = default;
};

// A text element: one line of text with its typographic effects (27 stored fields).
struct ClassSchrift {
  bool Sichtbar = false;
  int16_t AusrichtungV = 0;
  int16_t AusrichtungH = 0;
  int16_t Data = 0;
  QString Textstring;
  int16_t ColorCircle = 0;
  int16_t z = 0;
  int32_t Height = 0;
  int32_t widht = 0;
  int32_t Top = 0;
  int32_t x = 0;
  int32_t Color2 = 0;
  int32_t Color1 = 0;
  bool Strike = false;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  Variante FontSize;
  QString fontname;
  int16_t CharSpace = 0;
  int16_t Angle = 0;
  int16_t ShadowAngle = 0;
  int16_t ShadowWay = 0;
  int16_t ShadowType = 0;
  int16_t ShadowDeep = 0;
  int32_t ShadowColor2 = 0;
  int32_t ShadowColor1 = 0;

  bool operator==(const ClassSchrift&) const = default;
};

// A line/shape element (17 stored fields).
struct ClassLinie {
  bool Fuellung = false;
  int16_t Staerke = 0;
  float widht = 0;
  float y = 0;
  float x = 0;
  int16_t ColorCircle = 0;
  float Height = 0;
  int16_t ShadowWay = 0;
  int16_t ShadowType = 0;
  int16_t ShadowDeep = 0;
  int16_t ShadowAngle = 0;
  int32_t ShadowColor2 = 0;
  int32_t ShadowColor1 = 0;
  int16_t Angle = 0;
  int16_t Form = 0;
  int32_t Color2 = 0;
  int32_t Color1 = 0;

  bool operator==(const ClassLinie&) const = default;
};

// A picture element: its file and its image effect settings (16 stored fields).
struct ClassBild {
  QString File_Name;
  QString File_Path;
  QString File_Dir;
  int16_t EffektTrapez = 0;
  int32_t EffektMosaik = 0;
  int32_t EffektPixel = 0;
  QString Effekt;
  int16_t Schaerfe = 0;
  int16_t Farbverschiebung = 0;
  int32_t Farbintensitaet = 0;
  int16_t Kontrast = 0;
  int16_t Helligkeit = 0;
  QString File;
  int32_t Rotate = 0;
  bool Invert = false;
  bool Gray = false;

  bool operator==(const ClassBild&) const = default;
};
