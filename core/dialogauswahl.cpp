#include "core/dialogauswahl.h"

#include "core/auswahl.h"
#include "io/einstellungen.h"

void EigenschaftenZeigen(Programmzustand& s) {
  if (s.AktuellerRahmen < 1 || s.AktuellerRahmen > s.AnzahlRahmen) return;
  ClassRahmen& r = s.rahmen(s.AktuellerRahmen);
  r.Sichtbar = true;
  // The dialogs edit the current element of the frame's kind.
  AktuellesElementSetzen(s);
  if (r.Objekttyp == QLatin1String("Schrift"))
    s.fenster->DialogZeigen(Dialog::Schrift);
  else if (r.Objekttyp == QLatin1String("Bild"))
    s.fenster->DialogZeigen(Dialog::Bild);
  else if (r.Objekttyp == QLatin1String("Linie"))
    s.fenster->DialogZeigen(Dialog::Linie);
  else if (r.Objekttyp == QLatin1String("RTF"))
    s.fenster->DialogZeigen(Dialog::Brieftext);
}

void TextRahmenSichtbar(Programmzustand& s, const QString& text) {
  const int c = s.AktuellerRahmen;
  if (c < 1 || c > s.AnzahlRahmen) return;
  // The address frames follow their fields in the page redraw.
  if (c >= 21 && c <= 30) return;
  ClassRahmen& r = s.rahmen(c);
  // Only a text frame follows the text typed into a side-panel field.
  if (r.Objekttyp != QLatin1String("Schrift")) return;
  r.Sichtbar = !text.isEmpty();
}

void ProgrammBeenden(Programmzustand& s) {
  // A settings file the start could not read may hold what the user still wants (the user
  // was told that it stays); one that cannot be written must not keep the program from
  // ending.
  if (s.EinstellungenUnlesbar) return;
  SpeichereEinstellungen(s);
}
