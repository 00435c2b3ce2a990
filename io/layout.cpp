#include "io/layout.h"

#include <QFileInfo>
#include <algorithm>

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"
#include "io/dateinamen.h"
#include "io/dokument.h"
#include "platform/textdatei.h"

namespace {

// The sender frames and texts a preset arranges.
constexpr int kFesteAbsender = 20;

// The number of elements of a kind in the current document; -1 for a kind the program
// does not know.
int elementAnzahl(const Programmzustand& s, const QString& art) {
  if (art == QLatin1String("Schrift")) return s.AnzahlSchriften;
  if (art == QLatin1String("Bild")) return s.AnzahlBilder;
  if (art == QLatin1String("Linie")) return s.AnzahlLinien;
  if (art == QLatin1String("RTF")) return s.AnzahlRTF;
  return -1;
}

}  // namespace

bool LadeLayout(Programmzustand& s) {
  QString pfad = s.Ladeauftrag;
  if (!pfad.isEmpty()) {
    const QFileInfo info(pfad);
    pfad = dateiImOrdner(info.absolutePath(), info.fileName());
  }
  const auto inhalt = dokumentdatei::ladenUndPruefen(s, pfad, dokumentdatei::Umfang::Layout);
  if (!inhalt) return dokumentdatei::abschliessen(s, false);

  const auto& rahmen = inhalt->rahmen;
  const auto& schriften = inhalt->schriften;
  const int rahmenZahl =
      std::min({static_cast<int>(rahmen.size()), kFesteAbsender, s.AnzahlRahmen});
  const int schriftZahl =
      std::min({static_cast<int>(schriften.size()), kFesteAbsender, s.AnzahlSchriften});

  // Every frame the preset changes must point at an element the document holds.
  for (int i = 1; i <= rahmenZahl; ++i) {
    const ClassRahmen& r = *rahmen[i - 1];
    const int anzahl = elementAnzahl(s, r.Objekttyp);
    const int n = r.nummer();
    if (anzahl >= 0 && (n < 1 || n > anzahl)) {
      dokumentdatei::ungueltigMelden(
          s, pfad,
          QStringLiteral("Rahmen %1 verweist auf das Element %2 der Art „%3“, das Dokument "
                         "enthält aber nur %4.")
              .arg(i)
              .arg(varianteText(r.Objektnummer))
              .arg(r.Objekttyp)
              .arg(anzahl));
      return dokumentdatei::abschliessen(s, false);
    }
  }

  for (int i = 1; i <= rahmenZahl; ++i) {
    // Every field a file stores; the frame keeps its Data mark, which files do not hold.
    ClassRahmen& r = s.rahmen(i);
    const int16_t data = r.Data;
    r = *rahmen[i - 1];
    r.Data = data;
  }
  for (int i = 1; i <= schriftZahl; ++i) {
    const ClassSchrift& neu = *schriften[i - 1];
    ClassSchrift& t = s.schrift(i);
    t.Angle = neu.Angle;
    t.AusrichtungH = neu.AusrichtungH;
    t.AusrichtungV = neu.AusrichtungV;
    t.Top = neu.Top;
    t.widht = neu.widht;
    t.x = neu.x;
    t.z = neu.z;
  }
  dokumentdatei::zEbenenNeuNummerieren(s);
  // The selected frame may now hold another element.
  AktuellesElementSetzen(s);
  return dokumentdatei::abschliessen(s, true);
}
