// Rich-text output on the print control: lays a letter out inside the margins of the
// current page, continuing on further pages when it does not fit.
#pragma once

#include <QByteArray>

class Drucksteuerung;

void rtfAusgeben(Drucksteuerung& drucker, const QByteArray& rtf);
