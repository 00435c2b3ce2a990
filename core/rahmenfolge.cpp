#include "core/rahmenfolge.h"

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"

namespace {
int16_t& ebene(Programmzustand& s, int i) { return s.rahmen(i).z; }

bool auswahlGueltig(const Programmzustand& s) {
  return s.AktuellerRahmen >= 1 && s.AktuellerRahmen <= s.AnzahlRahmen;
}

// Closes the gap that element k of a list leaves: every later element moves down one slot
// by copying its fields, the references of the given kind follow, the last slot is released.
template <typename T>
void elementEntfernen(Programmzustand& s, std::vector<std::shared_ptr<T>>& liste, int& anzahl,
                      int k, const QString& typ) {
  if (k >= 1 && k < anzahl) {
    for (int i = k; i <= anzahl - 1; ++i) {
      *liste.at(i) = *liste.at(i + 1);
      for (int j = 1; j <= s.AnzahlRahmen; ++j) {
        ClassRahmen& r = s.rahmen(j);
        if (r.Objekttyp == typ && r.nummer() == i + 1) r.Objektnummer = static_cast<double>(i);
      }
    }
  }
  if (anzahl >= 1 && anzahl < static_cast<int>(liste.size())) liste.at(anzahl).reset();
  anzahl -= 1;
}
}  // namespace

void RahmenGanzVorne(Programmzustand& s) {
  if (!auswahlGueltig(s)) return;
  const int c = s.AktuellerRahmen;
  const int16_t zc = ebene(s, c);
  for (int i = 1; i <= s.AnzahlRahmen; ++i)
    if (ebene(s, i) > zc) ebene(s, i) -= 1;
  ebene(s, c) = static_cast<int16_t>(s.AnzahlRahmen);
  SeiteZeichnen(s);
}

void RahmenGanzHinten(Programmzustand& s) {
  if (!auswahlGueltig(s)) return;
  const int c = s.AktuellerRahmen;
  const int16_t zc = ebene(s, c);
  for (int i = 1; i <= s.AnzahlRahmen; ++i)
    if (ebene(s, i) < zc) ebene(s, i) += 1;
  ebene(s, c) = 1;
  SeiteZeichnen(s);
}

void RahmenEinsVor(Programmzustand& s) {
  if (!auswahlGueltig(s)) return;
  const int c = s.AktuellerRahmen;
  if (ebene(s, c) >= s.AnzahlRahmen) return;
  ebene(s, c) += 1;
  for (int i = 1; i <= s.AnzahlRahmen; ++i)
    if (i != c && ebene(s, i) == ebene(s, c)) ebene(s, i) -= 1;
  SeiteZeichnen(s);
}

void RahmenEinsZurueck(Programmzustand& s) {
  if (!auswahlGueltig(s)) return;
  const int c = s.AktuellerRahmen;
  if (ebene(s, c) <= 1) return;
  ebene(s, c) -= 1;
  for (int i = 1; i <= s.AnzahlRahmen; ++i)
    if (i != c && ebene(s, i) == ebene(s, c)) ebene(s, i) += 1;
  SeiteZeichnen(s);
}

void RahmenLoeschen(Programmzustand& s) {
  if (!auswahlGueltig(s)) return;
  const int c = s.AktuellerRahmen;
  // A preset answer is meant for this deletion only.
  const bool ohneFrage = s.Antwort == 9999;
  s.Antwort = 0;

  if (c <= AnzahlFesteRahmen) {
    s.fenster->Meldung(QStringLiteral("Sie können nur die eingefügte Rahmen löschen"), QString(),
                       Knoepfe::Ok, Symbol::Keins);
    return;
  }
  if (ohneFrage) {
    s.Antwort = 1;
  } else {
    s.Antwort = s.fenster->Meldung(QStringLiteral("Diesen Rahmen löschen?"), QString(),
                                   Knoepfe::OkAbbrechen, Symbol::Keins);
  }
  if (s.Antwort != 1) return;

  const int N = s.AnzahlRahmen;
  const ClassRahmen& geloescht = s.rahmen(c);
  const QString typ = geloescht.Objekttyp;
  const int k = geloescht.nummer();

  // The element goes with the frame unless another frame still shows it.
  bool nochGezeigt = false;
  for (int j = 1; j <= N; ++j) {
    if (j != c && s.rahmen(j).Objekttyp == typ && s.rahmen(j).nummer() == k) nochGezeigt = true;
  }
  if (!nochGezeigt) {
    if (typ == QLatin1String("Schrift")) {
      elementEntfernen(s, s.Schriften, s.AnzahlSchriften, k, typ);
      s.AktuelleSchrift = 1;
    } else if (typ == QLatin1String("RTF")) {
      if (k >= 1 && k < s.AnzahlRTF) {
        for (int i = k; i <= s.AnzahlRTF - 1; ++i) {
          s.RTFDateien.at(i) = s.RTFDateien.at(i + 1);
          for (int j = 1; j <= N; ++j) {
            ClassRahmen& r = s.rahmen(j);
            if (r.Objekttyp == typ && r.nummer() == i + 1) r.Objektnummer = static_cast<double>(i);
          }
        }
      }
      s.AnzahlRTF -= 1;
    } else if (typ == QLatin1String("Bild")) {
      elementEntfernen(s, s.Bilder, s.AnzahlBilder, k, typ);
    } else if (typ == QLatin1String("Linie")) {
      elementEntfernen(s, s.Linien, s.AnzahlLinien, k, typ);
    }
  }

  // Every frame above the deleted one drops one level.
  const int16_t zc = ebene(s, c);
  if (zc < N) {
    for (int L = zc; L <= N; ++L)
      for (int j = 1; j <= N; ++j)
        if (ebene(s, j) == L) ebene(s, j) = static_cast<int16_t>(L - 1);
  }

  if (c < N)
    for (int i = c; i <= N - 1; ++i) *s.Rahmenliste.at(i) = *s.Rahmenliste.at(i + 1);
  s.Rahmenliste.at(N).reset();
  s.AnzahlRahmen -= 1;

  // The visible frame with the lowest index becomes the selection (frame 1 when none is
  // visible), and the current element of its kind follows it.
  s.AktuellerRahmen = 1;
  for (int i = s.AnzahlRahmen; i >= 1; --i)
    if (s.rahmen(i).Sichtbar) s.AktuellerRahmen = i;
  AktuellesElementSetzen(s);

  s.fenster->setzeRahmen(RahmenRechteck(s, s.AktuellerRahmen));
  s.fenster->MarkierungZeigen();
  SeiteZeichnen(s);
}
