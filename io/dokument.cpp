#include "io/dokument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>
#include <variant>

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"
#include "io/dateinamen.h"
#include "platform/textdatei.h"
#include "platform/ueberladen.h"
#include "platform/zahlen.h"

namespace dokumentdatei {

namespace {

const QString kKennung = QStringLiteral("QX Datenfile");
const QString kTitel = QStringLiteral("Warnung!");

// Section names, also the element kinds of the frames.
const QString kRahmen = QStringLiteral("Rahmen");
const QString kSchrift = QStringLiteral("Schrift");
const QString kBild = QStringLiteral("Bild");
const QString kLinie = QStringLiteral("Linie");
const QString kRtf = QStringLiteral("RTF");

struct Lesefehler {
  QString grund;
};

// A line as it is quoted in a message: not too long.
QString zitat(const QString& zeile) {
  QString t = zeile.trimmed();
  if (t.size() > 40) t = t.left(40) + QStringLiteral("…");
  return QStringLiteral("„") + t + QStringLiteral("“");
}

// Walks through the lines of a file; every read checks its line and throws Lesefehler with
// a German reason that names the line.
class Leser {
 public:
  explicit Leser(const QStringList& zeilen) : zeilen_(zeilen) {}

  qsizetype rest() const { return zeilen_.size() - naechste_; }

  const QString& zeile() {
    if (naechste_ >= zeilen_.size())
      throw Lesefehler{
          QStringLiteral("Die Datei endet nach Zeile %1 vorzeitig.").arg(zeilen_.size())};
    return zeilen_[naechste_++];
  }

  void ueberspringen(int n) {
    for (int i = 0; i < n; ++i) zeile();
  }

  QString text() { return zeile(); }

  double zahl() {
    const QString& z = zeile();
    const auto wert = zahlen::leseDateiZahl(z);
    if (!wert) fehler(QStringLiteral("%1 ist keine Zahl.").arg(zitat(z)));
    return *wert;
  }

  int16_t ganz16() {
    const double v = zahl();
    const auto wert = zahlen::alsInt16(v);
    if (!wert) ausserhalb(-32768, 32767);
    return *wert;
  }

  int32_t ganz32() {
    const double v = zahl();
    const auto wert = zahlen::alsInt32(v);
    if (!wert) ausserhalb(INT32_MIN, INT32_MAX);
    return *wert;
  }

  // Flags: any number other than 0 is true.
  bool flag() { return zahl() != 0.0; }

  float einfach() {
    const double v = zahl();
    if (std::fabs(v) > FLT_MAX)
      fehler(QStringLiteral("%1 liegt außerhalb des erlaubten Bereichs.").arg(zitat(letzte())));
    return static_cast<float>(v);
  }

  // A tagged value: the text of a number, kept as text; an empty line is an empty value.
  Variante variante(double minimum, double maximum) {
    const QString& z = zeile();
    if (z.trimmed().isEmpty()) return std::monostate{};
    const auto wert = zahlen::leseDateiZahl(z);
    if (!wert) fehler(QStringLiteral("%1 ist keine Zahl.").arg(zitat(z)));
    if (*wert < minimum || *wert > maximum)
      fehler(QStringLiteral("%1 liegt außerhalb des erlaubten Bereichs.").arg(zitat(z)));
    return z;
  }

  // A count line: a whole number from 0 up to maximum, whose records of satzlaenge lines
  // each fit into the lines that follow.
  int anzahl(int satzlaenge, int maximum) {
    const double v = zahl();
    const auto wert = zahlen::alsInt32(v);
    if (!wert) ausserhalb(0, maximum);
    if (*wert < 0) fehler(QStringLiteral("Die Anzahl %1 ist negativ.").arg(*wert));
    if (static_cast<qint64>(*wert) * satzlaenge > rest())
      fehler(QStringLiteral("Die Anzahl %1 ist größer, als die folgenden Zeilen fassen; die "
                            "Datei ist unvollständig.")
                 .arg(*wert));
    if (*wert > maximum) ausserhalb(0, maximum);
    return *wert;
  }

  void abschnitt(const QString& name) {
    const QString& z = zeile();
    if (z != name)
      fehler(QStringLiteral("Erwartet wird der Abschnitt „%1“, die Zeile lautet %2.")
                 .arg(name, zitat(z)));
  }

  [[noreturn]] void fehler(const QString& grund) const {
    throw Lesefehler{QStringLiteral("Zeile %1: %2").arg(naechste_).arg(grund)};
  }

 private:
  const QString& letzte() const { return zeilen_[naechste_ - 1]; }

  [[noreturn]] void ausserhalb(qint64 von, qint64 bis) const {
    fehler(QStringLiteral("%1 liegt außerhalb des Bereichs %2 bis %3.")
               .arg(zitat(letzte()))
               .arg(von)
               .arg(bis));
  }

  const QStringList& zeilen_;
  qsizetype naechste_ = 0;
};

// A stored field of a record that holds a tagged value, with the range its number must keep.
template <class T>
struct Variantenfeld {
  Variante T::*glied;
  double minimum;
  double maximum;
};

// One stored field of a record: the member its line is read into and written from. The
// member's type says how: flags as -1 / 0, whole numbers, single-precision numbers in the
// user's locale, texts as they are, tagged values as their text.
template <class T>
using Feld =
    std::variant<bool T::*, int16_t T::*, int32_t T::*, float T::*, QString T::*, Variantenfeld<T>>;

// The fields of each kind of record, in the order of the file.
const Feld<ClassRahmen> kRahmenFelder[] = {
    &ClassRahmen::Breite,
    &ClassRahmen::Hoehe,
    Variantenfeld<ClassRahmen>{&ClassRahmen::Objektnummer, -2147483648.0, 2147483647.0},
    &ClassRahmen::Objekttyp,
    &ClassRahmen::Sichtbar,
    &ClassRahmen::Proportional,
    &ClassRahmen::Verankert,
    &ClassRahmen::x,
    &ClassRahmen::y,
    &ClassRahmen::z,
};

const Feld<ClassSchrift> kSchriftFelder[] = {
    &ClassSchrift::Angle,
    &ClassSchrift::AusrichtungH,
    &ClassSchrift::AusrichtungV,
    &ClassSchrift::Bold,
    &ClassSchrift::CharSpace,
    &ClassSchrift::Color1,
    &ClassSchrift::Color2,
    &ClassSchrift::ColorCircle,
    &ClassSchrift::Data,
    &ClassSchrift::fontname,
    // A size the text renderer can make a font of.
    Variantenfeld<ClassSchrift>{&ClassSchrift::FontSize, 0.01, 32767.0},
    &ClassSchrift::Height,
    &ClassSchrift::Italic,
    &ClassSchrift::ShadowAngle,
    &ClassSchrift::ShadowColor1,
    &ClassSchrift::ShadowColor2,
    &ClassSchrift::ShadowDeep,
    &ClassSchrift::ShadowType,
    &ClassSchrift::ShadowWay,
    &ClassSchrift::Strike,
    &ClassSchrift::Textstring,
    &ClassSchrift::Top,
    &ClassSchrift::Underline,
    &ClassSchrift::widht,
    &ClassSchrift::x,
    &ClassSchrift::z,
    &ClassSchrift::Sichtbar,
};

const Feld<ClassBild> kBildFelder[] = {
    &ClassBild::Effekt,
    &ClassBild::EffektMosaik,
    &ClassBild::EffektPixel,
    &ClassBild::EffektTrapez,
    &ClassBild::Farbintensitaet,
    &ClassBild::Farbverschiebung,
    &ClassBild::File,
    &ClassBild::File_Dir,
    &ClassBild::File_Name,
    &ClassBild::File_Path,
    &ClassBild::Gray,
    &ClassBild::Helligkeit,
    &ClassBild::Invert,
    &ClassBild::Kontrast,
    &ClassBild::Rotate,
    &ClassBild::Schaerfe,
};

const Feld<ClassLinie> kLinieFelder[] = {
    &ClassLinie::Angle,
    &ClassLinie::Color1,
    &ClassLinie::Color2,
    &ClassLinie::ColorCircle,
    &ClassLinie::Form,
    &ClassLinie::Fuellung,
    &ClassLinie::Height,
    &ClassLinie::ShadowAngle,
    &ClassLinie::ShadowColor1,
    &ClassLinie::ShadowColor2,
    &ClassLinie::ShadowDeep,
    &ClassLinie::ShadowType,
    &ClassLinie::ShadowWay,
    &ClassLinie::Staerke,
    &ClassLinie::widht,
    &ClassLinie::x,
    &ClassLinie::y,
};

// Reads the line of one field of a record.
template <class T>
void feldLesen(Leser& l, T& e, const Feld<T>& feld) {
  std::visit(Ueberladen{
                 [&](bool T::*m) { e.*m = l.flag(); },
                 [&](int16_t T::*m) { e.*m = l.ganz16(); },
                 [&](int32_t T::*m) { e.*m = l.ganz32(); },
                 [&](float T::*m) { e.*m = l.einfach(); },
                 [&](QString T::*m) { e.*m = l.text(); },
                 [&](const Variantenfeld<T>& v) { e.*v.glied = l.variante(v.minimum, v.maximum); },
             },
             feld);
}

// A section of records: its name, its count (at most `maximum`) and the records.
template <class T, std::size_t N>
void abschnittLesen(Leser& l, const QString& name, int maximum, const Feld<T> (&felder)[N],
                    std::vector<std::shared_ptr<T>>& saetze) {
  l.abschnitt(name);
  const int anzahl = l.anzahl(static_cast<int>(N), maximum);
  for (int i = 0; i < anzahl; ++i) {
    auto satz = std::make_shared<T>();
    for (const Feld<T>& feld : felder) feldLesen(l, *satz, feld);
    saetze.push_back(std::move(satz));
  }
}

// Checks what the rest of the program indexes without checks.
void dokumentPruefen(const Inhalt& d) {
  auto zuWenig = [](qsizetype anzahl, int minimum, const QString& was) {
    if (anzahl < minimum)
      throw Lesefehler{QStringLiteral("Sie enthält %1 %2, ein Dokument braucht mindestens %3.")
                           .arg(anzahl)
                           .arg(was)
                           .arg(minimum)};
  };
  zuWenig(d.rahmen.size(), AnzahlFesteRahmen, QStringLiteral("Rahmen"));
  zuWenig(d.schriften.size(), AnzahlFeldtexte, QStringLiteral("Textelemente"));
  if (d.rtf.isEmpty()) throw Lesefehler{QStringLiteral("Sie enthält kein Brieftext-Element.")};
  for (std::size_t i = 0; i < d.rahmen.size(); ++i) {
    const ClassRahmen& r = *d.rahmen[i];
    qsizetype anzahl = -1;
    if (r.Objekttyp == kSchrift)
      anzahl = d.schriften.size();
    else if (r.Objekttyp == kBild)
      anzahl = d.bilder.size();
    else if (r.Objekttyp == kLinie)
      anzahl = d.linien.size();
    else if (r.Objekttyp == kRtf)
      anzahl = d.rtf.size();
    else
      continue;  // a kind the program does not know is skipped when drawing
    const int n = r.nummer();
    if (n < 1 || n > anzahl)
      throw Lesefehler{
          QStringLiteral("Rahmen %1 verweist auf das Element %2 der Art „%3“, es gibt aber "
                         "nur %4.")
              .arg(i + 1)
              .arg(varianteText(r.Objektnummer).isEmpty() ? QStringLiteral("(leer)")
                                                          : varianteText(r.Objektnummer))
              .arg(r.Objekttyp)
              .arg(anzahl)};
  }
}

QString flagText(bool b) { return b ? QStringLiteral("-1") : QStringLiteral("0"); }
QString zahlText(qint64 v) { return QString::number(v); }

// The line a field of a record is written as.
template <class T>
QString feldText(const T& e, const Feld<T>& feld) {
  return std::visit(Ueberladen{
                        [&](bool T::*m) { return flagText(e.*m); },
                        [&](int16_t T::*m) { return zahlText(e.*m); },
                        [&](int32_t T::*m) { return zahlText(e.*m); },
                        [&](float T::*m) { return zahlen::schreibeLokal(e.*m); },
                        [&](QString T::*m) { return e.*m; },
                        [&](const Variantenfeld<T>& v) { return varianteText(e.*v.glied); },
                    },
                    feld);
}

}  // namespace

Ergebnis lesen(const QStringList& zeilen, Umfang umfang) {
  Ergebnis e;
  if (zeilen.isEmpty() || zeilen.first() != kKennung) {
    e.falschesFormat = true;
    e.grund = QStringLiteral("Falsches Datenformat");
    return e;
  }
  Leser l(zeilen);
  try {
    l.ueberspringen(9);  // marker, program, version, six reserve lines
    // The levels of all frames must fit the 16-bit level field.
    abschnittLesen(l, kRahmen, 32767, kRahmenFelder, e.inhalt.rahmen);
    abschnittLesen(l, kSchrift, INT32_MAX, kSchriftFelder, e.inhalt.schriften);
    if (umfang == Umfang::Dokument) {
      abschnittLesen(l, kBild, INT32_MAX, kBildFelder, e.inhalt.bilder);
      abschnittLesen(l, kLinie, INT32_MAX, kLinieFelder, e.inhalt.linien);
      l.abschnitt(kRtf);
      const int rtf = l.anzahl(1, INT32_MAX);
      for (int i = 0; i < rtf; ++i) e.inhalt.rtf.append(l.text());
      // The end line; a file cut off before it has lost its last records.
      if (l.zeile().trimmed() != QLatin1String("-1"))
        l.fehler(QStringLiteral("Erwartet wird die Schlusszeile „-1“."));
      dokumentPruefen(e.inhalt);
    }
  } catch (const Lesefehler& f) {
    e.grund = f.grund;
    e.inhalt = Inhalt();
    return e;
  }
  e.ok = true;
  return e;
}

QStringList zeilen(const Programmzustand& s) {
  QStringList z;
  z << kKennung << QStringLiteral("QX Marvolant") << QStringLiteral("Version 4.00");
  for (int i = 0; i < 6; ++i) z << QStringLiteral("Reserve");

  // A slot without an element (which the program never leaves within the counts) is
  // written as an empty element rather than failing.
  auto element = [](const auto& liste, int i) {
    using T = typename std::decay_t<decltype(liste)>::value_type::element_type;
    static const T leer{};
    return i < static_cast<int>(liste.size()) && liste[i] ? *liste[i] : leer;
  };

  // A section: its name, its count and the fields of its records.
  auto abschnitt = [&](const QString& name, const auto& liste, int anzahl, const auto& felder) {
    z << name << zahlText(anzahl);
    for (int i = 1; i <= anzahl; ++i) {
      const auto& e = element(liste, i);
      for (const auto& feld : felder) z << feldText(e, feld);
    }
  };
  abschnitt(kRahmen, s.Rahmenliste, s.AnzahlRahmen, kRahmenFelder);
  abschnitt(kSchrift, s.Schriften, s.AnzahlSchriften, kSchriftFelder);
  abschnitt(kBild, s.Bilder, s.AnzahlBilder, kBildFelder);
  abschnitt(kLinie, s.Linien, s.AnzahlLinien, kLinieFelder);

  z << kRtf << zahlText(s.AnzahlRTF);
  for (int i = 1; i <= s.AnzahlRTF; ++i)
    z << (i < static_cast<int>(s.RTFDateien.size()) ? s.RTFDateien[i] : QString());
  z << QStringLiteral("-1");
  return z;
}

void zEbenenNeuNummerieren(Programmzustand& s) {
  const int n = std::min<int>(s.AnzahlRahmen, static_cast<int>(s.Rahmenliste.size()) - 1);
  if (n < 1) return;
  std::vector<int> folge(n);
  std::iota(folge.begin(), folge.end(), 1);
  std::stable_sort(folge.begin(), folge.end(),
                   [&](int a, int b) { return s.rahmen(a).z < s.rahmen(b).z; });
  for (int ebene = 1; ebene <= n; ++ebene)
    s.rahmen(folge[ebene - 1]).z = static_cast<int16_t>(std::min(ebene, 32767));
}

QString unbenannterPfad() { return QDir::current().absoluteFilePath(QStringLiteral("neu.qxm")); }

void ungueltigMelden(Programmzustand& s, const QString& pfad, const QString& grund) {
  s.fenster->Meldung(QStringLiteral("Die Datei %1 ist keine gültige QX-Marvolant-Datei: %2")
                         .arg(QDir::toNativeSeparators(pfad), grund),
                     kTitel, Knoepfe::Ok, Symbol::Warnung);
}

void nichtLesbarMelden(Programmzustand& s, const QString& pfad, bool fehlt, const QString& grund,
                       const QString& detail) {
  const QString name = QDir::toNativeSeparators(pfad);
  s.fenster->Meldung(fehlt ? QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(name)
                           : textdatei::nichtLesbar(pfad, grund, detail),
                     kTitel, Knoepfe::Ok, Symbol::Warnung);
}

void falschesFormatMelden(Programmzustand& s) {
  s.fenster->Meldung(QStringLiteral("Falsches Datenformat"), kTitel, Knoepfe::OkAbbrechen,
                     Symbol::Warnung);
}

std::optional<Inhalt> ladenUndPruefen(Programmzustand& s, const QString& pfad, Umfang umfang) {
  const textdatei::Leseergebnis datei = textdatei::lesen(pfad);
  if (!datei.ok) {
    nichtLesbarMelden(s, pfad, datei.fehlt, datei.fehler, datei.detail);
    return std::nullopt;
  }
  Ergebnis e = lesen(datei.zeilen, umfang);
  if (e.falschesFormat) {
    falschesFormatMelden(s);
    return std::nullopt;
  }
  if (!e.ok) {
    ungueltigMelden(s, pfad, e.grund);
    return std::nullopt;
  }
  return std::move(e.inhalt);
}

bool abschliessen(Programmzustand& s, bool ok) {
  s.Ladeauftrag.clear();
  s.fenster->MarkierungZeigen();
  SeiteZeichnen(s);
  return ok;
}

}  // namespace dokumentdatei

namespace {

// The file of an existing path, found ignoring letter case when the exact spelling is
// missing.
QString dateiFinden(const QString& pfad) {
  if (pfad.isEmpty()) return pfad;
  const QFileInfo info(pfad);
  return dateiImOrdner(info.absolutePath(), info.fileName());
}

// Puts the lists of a loaded file in place of the document's.
void uebernehmen(Programmzustand& s, dokumentdatei::Inhalt& d) {
  // Release the old elements.
  auto leeren = [](auto& liste, int anzahl) {
    for (int i = 1; i <= anzahl && i < static_cast<int>(liste.size()); ++i) liste[i].reset();
  };
  leeren(s.Rahmenliste, s.AnzahlRahmen);
  leeren(s.Schriften, s.AnzahlSchriften);
  leeren(s.Bilder, s.AnzahlBilder);
  leeren(s.Linien, s.AnzahlLinien);

  // The frame list only grows; the text and rich-text lists take the file's size; the
  // picture and line lists are resized only when the file holds such elements.
  const int rahmen = static_cast<int>(d.rahmen.size());
  if (rahmen + 1 > static_cast<int>(s.Rahmenliste.size())) s.Rahmenliste.resize(rahmen + 1);
  for (int i = 0; i < rahmen; ++i) s.Rahmenliste[i + 1] = std::move(d.rahmen[i]);
  s.AnzahlRahmen = rahmen;

  const int schriften = static_cast<int>(d.schriften.size());
  s.Schriften.resize(schriften + 1);
  for (int i = 0; i < schriften; ++i) s.Schriften[i + 1] = std::move(d.schriften[i]);
  s.AnzahlSchriften = schriften;

  const int bilder = static_cast<int>(d.bilder.size());
  if (bilder > 0) s.Bilder.resize(bilder + 1);
  for (int i = 0; i < bilder; ++i) s.Bilder[i + 1] = std::move(d.bilder[i]);
  s.AnzahlBilder = bilder;

  const int linien = static_cast<int>(d.linien.size());
  if (linien > 0) s.Linien.resize(linien + 1);
  for (int i = 0; i < linien; ++i) s.Linien[i + 1] = std::move(d.linien[i]);
  s.AnzahlLinien = linien;

  const int rtf = static_cast<int>(d.rtf.size());
  s.RTFDateien.resize(rtf + 1);
  for (int i = 0; i < rtf; ++i) s.RTFDateien[i + 1] = d.rtf[i];
  s.AnzahlRTF = rtf;

  dokumentdatei::zEbenenNeuNummerieren(s);
}

}  // namespace

bool SpeichereDokument(Programmzustand& s) {
  QString fehler;
  if (textdatei::schreiben(s.AktuelleDatei, dokumentdatei::zeilen(s), &fehler)) return true;
  s.fenster->Meldung(
      textdatei::meldung(QStringLiteral("Die Datei %1 konnte nicht gespeichert werden.")
                             .arg(textdatei::zitiert(s.AktuelleDatei)),
                         fehler),
      QStringLiteral("Warnung!"), Knoepfe::Ok, Symbol::Warnung);
  return false;
}

bool LadeDokument(Programmzustand& s) {
  const bool vorlage = s.Ladeauftrag == QLatin1String("neu");
  QString pfad;
  if (vorlage)
    pfad = dateiImOrdner(s.Startverzeichnis, QStringLiteral("neu.lay"));
  else
    pfad = dateiFinden(s.Ladeauftrag.isEmpty() ? s.AktuelleDatei : s.Ladeauftrag);

  auto inhalt = dokumentdatei::ladenUndPruefen(s, pfad, dokumentdatei::Umfang::Dokument);
  if (!inhalt) return dokumentdatei::abschliessen(s, false);

  uebernehmen(s, *inhalt);

  s.AktuellerRahmen = 1;
  s.AktuelleSchrift = 1;
  s.AktuellesRTF = 1;
  s.AktuellesBild = 0;
  s.AktuelleLinie = 0;
  // The selected frame is frame 1: its kind's index follows it.
  AktuellesElementSetzen(s);

  for (int i = 1; i <= 20; ++i) s.fenster->setzeText1(i, s.schrift(i).Textstring);

  // A document opened from a file keeps that file; only the template makes it untitled.
  s.AktuelleDatei = vorlage ? dokumentdatei::unbenannterPfad() : pfad;
  return dokumentdatei::abschliessen(s, true);
}

bool DokumentOeffnen(Programmzustand& s, const QString& pfad) {
  // Absolute, so that a file named "neu" is not taken for the template request.
  s.Ladeauftrag = pfad.isEmpty() ? pfad : QFileInfo(pfad).absoluteFilePath();
  return LadeDokument(s);
}
