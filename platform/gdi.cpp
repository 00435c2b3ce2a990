#include "platform/gdi.h"

#include "platform/zeichenflaeche.h"

Geraetekontext::Geraetekontext(Zeichenflaeche* besitzer, int dpiX, int dpiY)
    : besitzer_(besitzer), dpiX_(dpiX), dpiY_(dpiY) {}
Geraetekontext::~Geraetekontext() = default;
