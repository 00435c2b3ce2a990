#include "platform/bildsteuerung.h"

Bildsteuerung::Bildsteuerung() = default;
Bildsteuerung::~Bildsteuerung() = default;
