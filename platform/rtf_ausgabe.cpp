#include "platform/rtf_ausgabe.h"

void rtfAusgeben(Drucksteuerung&, const QByteArray&) {}
