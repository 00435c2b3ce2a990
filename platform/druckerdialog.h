// The printer dialog of the print control: the user picks a printer or a PDF file for
// the following print jobs.
#pragma once

class QWidget;
class Drucksteuerung;

// Shows the printer dialog for the control's printer. On OK, a chosen PDF file becomes
// the control's PDF file; a chosen printer replaces a PDF file. True on OK.
bool druckerWaehlen(QWidget* eltern, Drucksteuerung& drucksteuerung);
