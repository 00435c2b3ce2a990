// Number semantics used throughout the program, in one place:
// rounding (halves to even), Int (floor), whole-number division of rounded operands,
// the lenient leading-number reading of typed text, and reading and writing numbers
// in the user's locale or with "." whatever the locale.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace zahlen {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double nint(double v);

// nint(v) as a 16- or 32-bit integer; empty when v is not finite or out of range.
std::optional<int16_t> alsInt16(double v);
std::optional<int32_t> alsInt32(double v);

// nint(v) clamped into the 16- or 32-bit range (non-finite gives 0). For drawing code
// that must never fail on a wild value.
int16_t int16Begrenzt(double v);
int32_t int32Begrenzt(double v);

// Int: the largest whole number not greater than v.
double Int(double v);

// a \ b: both operands taken to their nearest whole numbers (halves to even), then the
// quotient with the fraction dropped (toward zero). Empty when the rounded divisor is 0
// or an operand is not finite.
std::optional<double> ganzDiv(double a, double b);

// The leading number of a text, as typed-in boxes are read: blanks and tabs are skipped,
// an optional sign, digits, one "." and an exponent; reading stops at the first character
// that cannot continue the number. No number gives 0.
// "7x" -> 7, "x7" -> 0, ".6" -> 0.6, "12,5" -> 12, " 7" -> 7, "0 7" -> 7.
double Val(QStringView text);

// A whole text as a decimal number in the user's locale (QLocale()): empty when the
// text is not such a number. Blanks around it are ignored.
std::optional<double> leseLokal(QStringView text);
// A number in the user's locale, shortest text that reads back to the same value,
// no group separators.
QString schreibeLokal(double v);
QString schreibeLokal(float v);

// A whole text as a decimal number with "." as the decimal mark, whatever the locale.
std::optional<double> lesePunkt(QStringView text);
// Shortest text with "." as the decimal mark.
QString schreibePunkt(double v);

// A number field of a stored file: "." or "," as the decimal mark, so files written under
// a German or an English locale load under every locale. Empty when not a number.
std::optional<double> leseDateiZahl(QStringView text);

}  // namespace zahlen
