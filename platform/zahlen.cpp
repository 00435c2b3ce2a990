#include "platform/zahlen.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>

namespace zahlen {

double nint(double v) {
  if (!std::isfinite(v)) return v;
  const double unten = std::floor(v);
  const double rest = v - unten;
  if (rest > 0.5) return unten + 1.0;
  if (rest < 0.5) return unten;
  return std::fmod(unten, 2.0) == 0.0 ? unten : unten + 1.0;
}

namespace {
template <typename T>
std::optional<T> alsGanzzahl(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  const double r = nint(v);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(r);
}

template <typename T>
T begrenzt(double v) {
  if (std::isnan(v)) return 0;
  const double r = nint(v);
  if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

QString kuerzesteDarstellung(double v, bool alsFloat) {
  if (std::isnan(v)) return QStringLiteral("NaN");
  if (std::isinf(v)) return v > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
  // Plain decimal notation for the values a user meets, the shortest text that reads back
  // to the same value; an exponent only for huge or tiny values.
  char puffer[400];
  const double betrag = std::fabs(v);
  const bool fest = betrag == 0.0 || (betrag >= 1e-5 && betrag < 1e15);
  const auto format = fest ? std::chars_format::fixed : std::chars_format::general;
  std::to_chars_result ergebnis =
      alsFloat ? std::to_chars(puffer, puffer + sizeof puffer, static_cast<float>(v), format)
               : std::to_chars(puffer, puffer + sizeof puffer, v, format);
  QString text = QString::fromLatin1(puffer, ergebnis.ptr - puffer);
  if (text == QLatin1String("-0")) text = QStringLiteral("0");
  return text;
}

QString lokalisiert(QString text) {
  const QLocale locale;
  const QString komma = locale.decimalPoint();
  const QString minus = locale.negativeSign();
  if (komma != QLatin1String(".")) text.replace(QLatin1Char('.'), komma);
  if (minus != QLatin1String("-")) text.replace(QLatin1Char('-'), minus);
  return text;
}

// Reads a complete decimal number (sign, digits, one decimal mark, exponent) where the
// decimal mark is the given character. Group separators are not accepted.
std::optional<double> leseGanzenText(QStringView text, QChar dezimal) {
  const QString t = text.trimmed().toString();
  if (t.isEmpty()) return std::nullopt;
  std::string ascii;
  ascii.reserve(t.size());
  bool ziffer = false;
  for (QChar c : t) {
    if (c == dezimal) {
      ascii.push_back('.');
    } else if (c == QChar(0x2212)) {
      ascii.push_back('-');
    } else if (c.unicode() < 128 && (c.isDigit() || c == QLatin1Char('+') ||
                                     c == QLatin1Char('-') || c == QLatin1Char('e') ||
                                     c == QLatin1Char('E'))) {
      ziffer = ziffer || c.isDigit();
      ascii.push_back(static_cast<char>(c.unicode()));
    } else {
      return std::nullopt;
    }
  }
  if (!ziffer) return std::nullopt;
  const char* anfang = ascii.data();
  const char* ende = ascii.data() + ascii.size();
  if (*anfang == '+') ++anfang;
  double wert = 0;
  auto [p, fehler] = std::from_chars(anfang, ende, wert);
  if (fehler != std::errc() || p != ende || !std::isfinite(wert)) return std::nullopt;
  return wert;
}
}  // namespace

std::optional<int16_t> alsInt16(double v) { return alsGanzzahl<int16_t>(v); }
std::optional<int32_t> alsInt32(double v) { return alsGanzzahl<int32_t>(v); }
int16_t int16Begrenzt(double v) { return begrenzt<int16_t>(v); }
int32_t int32Begrenzt(double v) { return begrenzt<int32_t>(v); }

double Int(double v) { return std::floor(v); }

std::optional<double> ganzDiv(double a, double b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
  const double ra = nint(a);
  const double rb = nint(b);
  if (rb == 0.0) return std::nullopt;
  return std::trunc(ra / rb);
}

double Val(QStringView text) {
  std::string zahl;
  int i = 0;
  const int n = static_cast<int>(text.size());
  auto ueberspringe = [&] {
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                     text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
      ++i;
  };
  ueberspringe();
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
    if (text[i] == QLatin1Char('-')) zahl.push_back('-');
    ++i;
  }
  bool punkt = false;
  bool ziffern = false;
  for (;;) {
    ueberspringe();
    if (i >= n) break;
    const QChar c = text[i];
    if (c.unicode() >= '0' && c.unicode() <= '9') {
      zahl.push_back(static_cast<char>(c.unicode()));
      ziffern = true;
      ++i;
    } else if (c == QLatin1Char('.') && !punkt) {
      zahl.push_back('.');
      punkt = true;
      ++i;
    } else {
      break;
    }
  }
  if (!ziffern) return 0.0;
  // Exponent: E or D, optional sign, digits.
  if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E') ||
                text[i] == QLatin1Char('d') || text[i] == QLatin1Char('D'))) {
    int j = i + 1;
    std::string exponent = "e";
    if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+'))) {
      exponent.push_back(static_cast<char>(text[j].unicode()));
      ++j;
    }
    bool expZiffern = false;
    while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9') {
      exponent.push_back(static_cast<char>(text[j].unicode()));
      expZiffern = true;
      ++j;
    }
    if (expZiffern) zahl += exponent;
  }
  double wert = 0;
  const char* anfang = zahl.data();
  std::from_chars(anfang, zahl.data() + zahl.size(), wert);
  if (!std::isfinite(wert)) return 0.0;
  return wert;
}

std::optional<double> leseLokal(QStringView text) {
  const QLocale locale;
  const QString komma = locale.decimalPoint();
  return leseGanzenText(text, komma.isEmpty() ? QLatin1Char('.') : komma.at(0));
}

QString schreibeLokal(double v) { return lokalisiert(kuerzesteDarstellung(v, false)); }
QString schreibeLokal(float v) { return lokalisiert(kuerzesteDarstellung(v, true)); }

std::optional<double> lesePunkt(QStringView text) {
  return leseGanzenText(text, QLatin1Char('.'));
}

QString schreibePunkt(double v) { return kuerzesteDarstellung(v, false); }

std::optional<double> leseDateiZahl(QStringView text) {
  if (auto wert = leseGanzenText(text, QLatin1Char('.'))) return wert;
  return leseGanzenText(text, QLatin1Char(','));
}

}  // namespace zahlen
