#include "platform/drucksteuerung.h"

struct Drucksteuerung::Intern {};

Drucksteuerung::Drucksteuerung() : d_(std::make_unique<Intern>()) {}
Drucksteuerung::~Drucksteuerung() = default;
HDC Drucksteuerung::hdc() { return nullptr; }
double Drucksteuerung::twipsProPixelX() const { return 1440.0 / AUFLOESUNG; }
double Drucksteuerung::twipsProPixelY() const { return 1440.0 / AUFLOESUNG; }
QString Drucksteuerung::fontname() const { return QString(); }
void Drucksteuerung::setFontname(const QString&) {}
double Drucksteuerung::FontSize() const { return 0; }
void Drucksteuerung::setFontSize(double) {}
double Drucksteuerung::TextWidth(const QString&) { return 0; }
StiftUndPinsel Drucksteuerung::stiftUndPinsel() const { return {}; }
