#include "elements/text/seriendruck.h"

#include <QDate>
#include <algorithm>
#include <vector>

#include "core/programmzustand.h"
#include "platform/zahlen.h"

namespace {
const QString datumsfeld = QStringLiteral("#Datum");
const QString feldmarke = QStringLiteral("#Feld");

// A text element's string: "#Feld" in this letter case only, two characters after it.
class Elementtext : public Mischtext {
 public:
  Elementtext(const Programmzustand& s, QString& t) : s_(s), t_(t) {}
  qsizetype feldSuchen(qsizetype ab) override { return t_.indexOf(feldmarke, ab); }
  std::optional<Feldersetzung> feld(qsizetype p) override {
    const qsizetype zeichen = p + feldmarke.size();
    if (t_.size() - zeichen < 2) return std::nullopt;
    const std::optional<int> n = Feldnummer(QStringView(t_).mid(zeichen, 2));
    return Feldersetzung{feldmarke.size() + 2, n ? s_.fenster->Text1(*n) : QString()};
  }
  void ersetzen(qsizetype p, qsizetype laenge, const QString& text) override {
    t_.replace(p, laenge, text);
  }

 private:
  const Programmzustand& s_;
  QString& t_;
};
}  // namespace

QString DatumText() { return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")); }

std::optional<int> Feldnummer(QStringView zweiZeichen) {
  const double n = zahlen::nint(zahlen::Val(zweiZeichen));
  if (n >= 1 && n <= AnzahlFeldtexte) return static_cast<int>(n);
  return std::nullopt;
}

void FeldmarkenErsetzen(Mischtext& t, qsizetype laenge) {
  const qsizetype grenze = std::max(kFeldZuwachsGrenze, kFeldZuwachsJeZeichen * laenge);
  // The ends of the field texts inserted around the search position, innermost last: a
  // field found before such an end was inserted by the fields whose texts enclose it.
  std::vector<qsizetype> enden;
  qsizetype zuwachs = 0;
  qsizetype p = 0;
  for (;;) {
    const qsizetype q = t.feldSuchen(p);
    if (q < 0) break;
    while (!enden.empty() && enden.back() <= q) enden.pop_back();
    const std::optional<Feldersetzung> e = t.feld(q);
    const qsizetype mehr = e ? e->text.size() - e->laenge : 0;
    if (!e || static_cast<int>(enden.size()) >= kFeldTiefe || zuwachs + mehr > grenze) {
      p = q + 1;
      continue;
    }
    t.ersetzen(q, e->laenge, e->text);
    zuwachs += mehr;
    // The enclosing texts now end after the inserted one.
    for (qsizetype& ende : enden) ende = std::max(ende - e->laenge, q) + e->text.size();
    enden.push_back(q + e->text.size());
    p = q;  // the inserted text is searched too
  }
}

QString FelderEinsetzen(const Programmzustand& s, const QString& text) {
  QString t = text;
  const qsizetype datum = t.indexOf(datumsfeld);
  if (datum >= 0) t.replace(datum, datumsfeld.size(), DatumText());
  Elementtext element(s, t);
  FeldmarkenErsetzen(element, t.size());
  return t;
}
