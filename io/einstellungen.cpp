#include "io/einstellungen.h"

#include <cfloat>
#include <cmath>

#include "io/dateinamen.h"
#include "platform/textdatei.h"
#include "platform/zahlen.h"

namespace {

const QString kDateiname = QStringLiteral("qx.ini");

// Numbers as the settings file holds them: "." as decimal mark, one blank before a number
// that is not negative (" 100", "-1", " 12.5").
QString zahlText(double v) {
  const QString text = zahlen::schreibePunkt(v);
  return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char(' ') + text;
}

// A number of the settings file; "," is taken as decimal mark as well. Empty when the
// value is no finite number.
std::optional<double> zahl(const QString& wert) { return zahlen::leseDateiZahl(wert); }

// A single-precision setting (the view flags): a number within the range of a float.
std::optional<double> einfach(const QString& wert) {
  const auto v = zahl(wert);
  if (!v || std::fabs(*v) > FLT_MAX) return std::nullopt;
  return static_cast<double>(static_cast<float>(*v));
}

// A grid or magnet spacing: at least one unit, or the drawing and the snapping would never
// advance.
std::optional<double> abstand(const QString& wert) {
  const auto v = zahl(wert);
  if (!v || *v < 1.0) return std::nullopt;
  return v;
}

std::optional<int32_t> ganz32(const QString& wert) {
  const auto v = zahl(wert);
  if (!v) return std::nullopt;
  return zahlen::alsInt32(*v);
}

// A page size: a positive whole number of units, no larger than the largest paper.
std::optional<int32_t> seitenmass(const QString& wert) {
  const auto v = ganz32(wert);
  if (!v || *v <= 0 || *v > ClassSeite::GroesstesMass) return std::nullopt;
  return v;
}

// Stores the value of the line just split into its setting. A value that does not fit its
// setting leaves the setting as it was.
void uebernehmen(Programmzustand& s) {
  const QString& k = s.IniSchluessel;
  const QString& w = s.IniWert;
  ClassSeite& seite = *s.Seite;
  auto setze = [](auto& ziel, const auto& wert) {
    if (wert) ziel = *wert;
  };
  if (k == QLatin1String("startdatei"))
    s.Startdokument = w;
  else if (k == QLatin1String("sprache"))
    s.Spracheinstellung = w;
  else if (k == QLatin1String("gitter an"))
    setze(s.MagnetAn, einfach(w));
  else if (k == QLatin1String("gitter x"))
    setze(s.MagnetX, abstand(w));
  else if (k == QLatin1String("gitter y"))
    setze(s.MagnetY, abstand(w));
  else if (k == QLatin1String("mm genau"))
    setze(s.MmGenau, einfach(w));
  else if (k == QLatin1String("rahmen anzeigen"))
    setze(s.AlleRahmenAnzeigen, einfach(w));
  else if (k == QLatin1String("hilfsbereiche"))
    setze(s.HilfsbereicheAnzeigen, einfach(w));
  else if (k == QLatin1String("seitenbreite"))
    setze(seite.Breite, seitenmass(w));
  else if (k == QStringLiteral("seitenhöhe"))
    setze(seite.Hoehe, seitenmass(w));
  else if (k == QLatin1String("seitenrand links"))
    setze(seite.RandLinks, ganz32(w));
  else if (k == QLatin1String("seitenrand rechts"))
    setze(seite.RandRechts, ganz32(w));
  else if (k == QLatin1String("seitenrand oben"))
    setze(seite.RandOben, ganz32(w));
  else if (k == QLatin1String("seitenrand unten"))
    setze(seite.RandUnten, ganz32(w));
  else if (k == QLatin1String("papierart"))
    seite.Papier = w;
  else if (k == QLatin1String("querformat")) {
    if (const auto v = zahl(w)) seite.Querformat = *v != 0;
  } else if (k == QLatin1String("rasterbreite"))
    setze(s.RasterX, abstand(w));
  else if (k == QStringLiteral("rasterhöhe"))
    setze(s.RasterY, abstand(w));
  else if (k == QLatin1String("programmname"))
    s.Programmtitel = w;
  else if (k == QLatin1String("zoomexport"))
    setze(s.Exportzoom, zahl(w));
  // "version" and unknown keys change nothing.
}

}  // namespace

bool LeseIniZeile(Programmzustand& s, const QString& zeile) {
  s.Textzeile = zeile;
  const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
  if (gleich < 0) {
    s.IniSchluessel.clear();
    s.IniWert.clear();
    return false;
  }
  // Composed form, so that "Seitenhöhe" typed with a combining diaeresis matches as well.
  s.IniSchluessel = zeile.left(gleich).trimmed().toLower().normalized(QString::NormalizationForm_C);
  s.IniWert = zeile.mid(gleich + 1).trimmed();
  return true;
}

void LadeEinstellungen(Programmzustand& s) {
  if (!s.Seite) s.Seite = std::make_shared<ClassSeite>();
  // A missing or unreadable file keeps the start values; faulty lines are skipped.
  const QString pfad = dateiImOrdner(s.Startverzeichnis, kDateiname);
  const textdatei::Leseergebnis datei = textdatei::lesen(pfad, 1024 * 1024);
  s.EinstellungenUnlesbar = !datei.ok && !datei.fehlt;
  if (datei.ok) {
    for (const QString& zeile : datei.zeilen) {
      if (LeseIniZeile(s, zeile)) uebernehmen(s);
    }
  } else if (!datei.fehlt) {
    s.fenster->Meldung(
        textdatei::meldung(QStringLiteral("Die Einstellungsdatei %1 kann nicht gelesen werden. %2")
                                   .arg(textdatei::zitiert(pfad), datei.fehler)
                                   .trimmed() +
                               QStringLiteral(" Es gelten die Grundeinstellungen; beim Beenden "
                                              "wird die Datei nicht überschrieben."),
                           datei.detail),
        QStringLiteral("Warnung!"), Knoepfe::Ok, Symbol::Ausrufezeichen);
  }
  s.MagnetX = s.RasterX;
  s.MagnetY = s.RasterY;
  // The export picture is drawn at 1 to 10 times the screen size; anything else, the
  // unset start value 0 included, gives 2.
  if (!(s.Exportzoom >= 1.0 && s.Exportzoom <= 10.0)) s.Exportzoom = 2;
}

bool SpeichereEinstellungen(Programmzustand& s) {
  static const ClassSeite leer;
  const ClassSeite& seite = s.Seite ? *s.Seite : leer;
  const QStringList zeilen = {
      QStringLiteral("Version = ") + s.Programmversion,
      QStringLiteral("Startdatei = ") + s.Startdokument,
      QStringLiteral("Sprache = ") + s.Spracheinstellung,
      QStringLiteral("Gitter an = ") + zahlText(s.MagnetAn),
      QStringLiteral("Gitter x = ") + zahlText(s.MagnetX),
      QStringLiteral("Gitter y = ") + zahlText(s.MagnetY),
      QStringLiteral("MM Genau = ") + zahlText(s.MmGenau),
      QStringLiteral("Rahmen anzeigen = ") + zahlText(s.AlleRahmenAnzeigen),
      QStringLiteral("Hilfsbereiche = ") + zahlText(s.HilfsbereicheAnzeigen),
      QStringLiteral("Seitenbreite = ") + zahlText(seite.Breite),
      QStringLiteral("Seitenhöhe = ") + zahlText(seite.Hoehe),
      QStringLiteral("Seitenrand links = ") + zahlText(seite.RandLinks),
      QStringLiteral("Seitenrand rechts = ") + zahlText(seite.RandRechts),
      QStringLiteral("Seitenrand oben = ") + zahlText(seite.RandOben),
      QStringLiteral("Seitenrand unten = ") + zahlText(seite.RandUnten),
      QStringLiteral("Papierart  = ") + seite.Papier,
      QStringLiteral("Querformat = ") +
          (seite.Querformat ? QStringLiteral("-1") : QStringLiteral("0")),
      QStringLiteral("Rasterbreite = ") + zahlText(s.RasterX),
      QStringLiteral("Rasterhöhe = ") + zahlText(s.RasterY),
      QStringLiteral("Programmname = ") + s.Programmtitel,
      QStringLiteral("ZoomExport = ") + zahlText(s.Exportzoom),
  };
  const QString pfad = dateiImOrdner(s.Startverzeichnis, kDateiname);
  QString fehler;
  if (textdatei::schreiben(pfad, zeilen, &fehler)) return true;
  s.fenster->Meldung(
      textdatei::meldung(QStringLiteral("Die Einstellungen konnten nicht in der Datei %1 "
                                        "gespeichert werden.")
                             .arg(textdatei::zitiert(pfad)),
                         fehler),
      QStringLiteral("Warnung!"), Knoepfe::Ok, Symbol::Ausrufezeichen);
  return false;
}
