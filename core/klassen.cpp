#include "core/klassen.h"

#include "platform/zahlen.h"

std::optional<double> varianteZahl(const Variante& v) {
  struct Besucher {
    std::optional<double> operator()(std::monostate) const { return std::nullopt; }
    std::optional<double> operator()(int16_t w) const { return w; }
    std::optional<double> operator()(int32_t w) const { return w; }
    std::optional<double> operator()(double w) const { return w; }
    std::optional<double> operator()(const QString& t) const {
      if (auto w = zahlen::leseLokal(t)) return w;
      return zahlen::leseDateiZahl(t);
    }
  };
  return std::visit(Besucher{}, v);
}

QString varianteText(const Variante& v) {
  struct Besucher {
    QString operator()(std::monostate) const { return QString(); }
    QString operator()(int16_t w) const { return QString::number(w); }
    QString operator()(int32_t w) const { return QString::number(w); }
    QString operator()(double w) const { return zahlen::schreibeLokal(w); }
    QString operator()(const QString& t) const { return t; }
  };
  return std::visit(Besucher{}, v);
}

int ClassRahmen::nummer() const {
  const auto wert = varianteZahl(Objektnummer);
  if (!wert) return 0;
  return zahlen::int32Begrenzt(*wert);
}
