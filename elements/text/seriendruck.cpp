#include "elements/text/seriendruck.h"

#include <QDate>

#include "core/programmzustand.h"
#include "core/zahlen.h"

namespace {
const QString datumsfeld = QStringLiteral("#Datum");
const QString feldmarke = QStringLiteral("#Feld");
constexpr int hoechstensDurchlaeufe = 99;
}  // namespace

QString DatumText() { return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")); }

std::optional<int> Feldnummer(QStringView zweiZeichen) {
  const double n = zahlen::nint(zahlen::Val(zweiZeichen));
  if (n >= 1 && n <= AnzahlFeldtexte) return static_cast<int>(n);
  return std::nullopt;
}

QString FelderEinsetzen(const Programmzustand& s, const QString& text) {
  QString t = text;
  const qsizetype datum = t.indexOf(datumsfeld);
  if (datum >= 0) t.replace(datum, datumsfeld.size(), DatumText());

  for (int durchlauf = 0; durchlauf < hoechstensDurchlaeufe; ++durchlauf) {
    const qsizetype p = t.indexOf(feldmarke);
    if (p < 0) break;
    const qsizetype zeichen = p + feldmarke.size();
    // A "#Feld" without two characters after it stays as it is, and so does the rest:
    // every further pass would find the same occurrence.
    if (t.size() - zeichen < 2) break;
    const std::optional<int> n = Feldnummer(QStringView(t).mid(zeichen, 2));
    const QString ersatz = n ? s.fenster->Text1(*n) : QString();
    t.replace(p, feldmarke.size() + 2, ersatz);
  }
  return t;
}
