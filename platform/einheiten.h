// The program's units of length, in one place: lengths are kept in tenths of a millimetre
// (the unit of the documents), drawing works in twips (1/1440 inch), the screen in pixels.
// The conversions are plain products and quotients, so a caller that converts first and
// then scales gets the same double as the expression written out.
#pragma once

namespace einheiten {

// Twips per inch.
inline constexpr double kTwipsProZoll = 1440.0;

// Twips per tenth of a millimetre, as the documents have always been laid out
// (kTwipsProZoll / 254 = 5.669..., kept at 5.67 so that old layouts land on the same twips).
// A length in inches is therefore twipsAusEinheiten(laenge) / kTwipsProZoll, not laenge / 254.
inline constexpr double kTwipsProEinheit = 5.67;

// Twips per screen pixel at 96 dots per inch.
inline constexpr double kTwipsProPixel = 15.0;

constexpr double twipsAusEinheiten(double zehntelMm) { return zehntelMm * kTwipsProEinheit; }
constexpr double einheitenAusTwips(double twips) { return twips / kTwipsProEinheit; }

constexpr double pixelAusTwips(double twips) { return twips / kTwipsProPixel; }
constexpr double twipsAusPixel(double pixel) { return pixel * kTwipsProPixel; }

// The size of the element dialogs (text, line and shape, picture), in twips.
inline constexpr double kElementdialogBreite = 8600;
inline constexpr double kElementdialogHoehe = 6900;

}  // namespace einheiten
