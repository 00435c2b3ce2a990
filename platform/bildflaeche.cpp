#include "platform/bildflaeche.h"

struct Bildflaeche::Intern {
  QImage bild;
};

Bildflaeche::Bildflaeche(double, double, double twipsProPixel)
    : d_(std::make_unique<Intern>()), tppX_(twipsProPixel), tppY_(twipsProPixel) {}
Bildflaeche::~Bildflaeche() = default;
HDC Bildflaeche::hdc() { return nullptr; }
QString Bildflaeche::fontname() const { return QString(); }
void Bildflaeche::setFontname(const QString&) {}
double Bildflaeche::FontSize() const { return 0; }
void Bildflaeche::setFontSize(double) {}
double Bildflaeche::TextWidth(const QString&) { return 0; }
StiftUndPinsel Bildflaeche::stiftUndPinsel() const { return {}; }
