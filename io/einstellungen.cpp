#include "io/einstellungen.h"

#include <cfloat>
#include <cmath>
#include <variant>

#include "io/dateinamen.h"
#include "platform/textdatei.h"
#include "platform/ueberladen.h"
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

// A number setting: the member and the check its value must pass.
template <class T, class Besitzer>
struct Zahlfeld {
  T Besitzer::*glied;
  std::optional<T> (*lesen)(const QString& wert);
};
template <class T, class Besitzer>
Zahlfeld<T, Besitzer> zahlfeld(T Besitzer::*glied, std::optional<T> (*lesen)(const QString&)) {
  return {glied, lesen};
}

// One line of the settings file: its key as written (read in any case) and the setting. Texts
// are taken as they are; the orientation is a flag written as -1 / 0.
struct Einstellung {
  const char* schluessel;
  std::variant<QString Programmzustand::*, QString ClassSeite::*, bool ClassSeite::*,
               Zahlfeld<double, Programmzustand>, Zahlfeld<int32_t, ClassSeite>>
      ziel;
};

// The settings in the order of the file, after its first line "Version".
const Einstellung kEinstellungen[] = {
    {"Startdatei", &Programmzustand::Startdokument},
    {"Sprache", &Programmzustand::Spracheinstellung},
    {"Gitter an", zahlfeld(&Programmzustand::MagnetAn, einfach)},
    {"Gitter x", zahlfeld(&Programmzustand::MagnetX, abstand)},
    {"Gitter y", zahlfeld(&Programmzustand::MagnetY, abstand)},
    {"MM Genau", zahlfeld(&Programmzustand::MmGenau, einfach)},
    {"Rahmen anzeigen", zahlfeld(&Programmzustand::AlleRahmenAnzeigen, einfach)},
    {"Hilfsbereiche", zahlfeld(&Programmzustand::HilfsbereicheAnzeigen, einfach)},
    {"Seitenbreite", zahlfeld(&ClassSeite::Breite, seitenmass)},
    {"Seitenhöhe", zahlfeld(&ClassSeite::Hoehe, seitenmass)},
    {"Seitenrand links", zahlfeld(&ClassSeite::RandLinks, ganz32)},
    {"Seitenrand rechts", zahlfeld(&ClassSeite::RandRechts, ganz32)},
    {"Seitenrand oben", zahlfeld(&ClassSeite::RandOben, ganz32)},
    {"Seitenrand unten", zahlfeld(&ClassSeite::RandUnten, ganz32)},
    // Written with two blanks before the "=" since the first version of the file.
    {"Papierart ", &ClassSeite::Papier},
    {"Querformat", &ClassSeite::Querformat},
    {"Rasterbreite", zahlfeld(&Programmzustand::RasterX, abstand)},
    {"Rasterhöhe", zahlfeld(&Programmzustand::RasterY, abstand)},
    {"Programmname", &Programmzustand::Programmtitel},
    {"ZoomExport", zahlfeld(&Programmzustand::Exportzoom, zahl)},
};

// Stores the value of the line just split into its setting. A value that does not fit its
// setting leaves the setting as it was; "version" and unknown keys change nothing.
void uebernehmen(Programmzustand& s) {
  const QString& w = s.IniWert;
  ClassSeite& seite = *s.Seite;
  for (const Einstellung& e : kEinstellungen) {
    if (QString::fromUtf8(e.schluessel).trimmed().toLower() != s.IniSchluessel) continue;
    std::visit(Ueberladen{
                   [&](QString Programmzustand::*m) { s.*m = w; },
                   [&](QString ClassSeite::*m) { seite.*m = w; },
                   [&](bool ClassSeite::*m) {
                     if (const auto v = zahl(w)) seite.*m = *v != 0;
                   },
                   [&](const Zahlfeld<double, Programmzustand>& f) {
                     if (const auto v = f.lesen(w)) s.*f.glied = *v;
                   },
                   [&](const Zahlfeld<int32_t, ClassSeite>& f) {
                     if (const auto v = f.lesen(w)) seite.*f.glied = *v;
                   },
               },
               e.ziel);
    return;
  }
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
  QStringList zeilen = {QStringLiteral("Version = ") + s.Programmversion};
  for (const Einstellung& e : kEinstellungen) {
    const QString wert = std::visit(
        Ueberladen{
            [&](QString Programmzustand::*m) { return s.*m; },
            [&](QString ClassSeite::*m) { return seite.*m; },
            [&](bool ClassSeite::*m) {
              return seite.*m ? QStringLiteral("-1") : QStringLiteral("0");
            },
            [&](const Zahlfeld<double, Programmzustand>& f) { return zahlText(s.*f.glied); },
            [&](const Zahlfeld<int32_t, ClassSeite>& f) { return zahlText(seite.*f.glied); },
        },
        e.ziel);
    zeilen << QString::fromUtf8(e.schluessel) + QStringLiteral(" = ") + wert;
  }
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
