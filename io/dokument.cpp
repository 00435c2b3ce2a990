#include "io/dokument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>

#include "core/auswahl.h"
#include "core/seite_zeichnen.h"
#include "io/dateinamen.h"
#include "platform/textdatei.h"
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

constexpr int kRahmenZeilen = 10;
constexpr int kSchriftZeilen = 27;
constexpr int kBildZeilen = 16;
constexpr int kLinieZeilen = 17;

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

std::shared_ptr<ClassRahmen> rahmenLesen(Leser& l) {
  auto r = std::make_shared<ClassRahmen>();
  r->Breite = l.ganz32();
  r->Hoehe = l.ganz32();
  r->Objektnummer = l.variante(-2147483648.0, 2147483647.0);
  r->Objekttyp = l.text();
  r->Sichtbar = l.flag();
  r->Proportional = l.flag();
  r->Verankert = l.flag();
  r->x = l.ganz32();
  r->y = l.ganz32();
  r->z = l.ganz16();
  return r;
}

std::shared_ptr<ClassSchrift> schriftLesen(Leser& l) {
  auto t = std::make_shared<ClassSchrift>();
  t->Angle = l.ganz16();
  t->AusrichtungH = l.ganz16();
  t->AusrichtungV = l.ganz16();
  t->Bold = l.flag();
  t->CharSpace = l.ganz16();
  t->Color1 = l.ganz32();
  t->Color2 = l.ganz32();
  t->ColorCircle = l.ganz16();
  t->Data = l.ganz16();
  t->fontname = l.text();
  // A size the text renderer can make a font of.
  t->FontSize = l.variante(0.01, 32767.0);
  t->Height = l.ganz32();
  t->Italic = l.flag();
  t->ShadowAngle = l.ganz16();
  t->ShadowColor1 = l.ganz32();
  t->ShadowColor2 = l.ganz32();
  t->ShadowDeep = l.ganz16();
  t->ShadowType = l.ganz16();
  t->ShadowWay = l.ganz16();
  t->Strike = l.flag();
  t->Textstring = l.text();
  t->Top = l.ganz32();
  t->Underline = l.flag();
  t->widht = l.ganz32();
  t->x = l.ganz32();
  t->z = l.ganz16();
  t->Sichtbar = l.flag();
  return t;
}

std::shared_ptr<ClassBild> bildLesen(Leser& l) {
  auto b = std::make_shared<ClassBild>();
  b->Effekt = l.text();
  b->EffektMosaik = l.ganz32();
  b->EffektPixel = l.ganz32();
  b->EffektTrapez = l.ganz16();
  b->Farbintensitaet = l.ganz32();
  b->Farbverschiebung = l.ganz16();
  b->File = l.text();
  b->File_Dir = l.text();
  b->File_Name = l.text();
  b->File_Path = l.text();
  b->Gray = l.flag();
  b->Helligkeit = l.ganz16();
  b->Invert = l.flag();
  b->Kontrast = l.ganz16();
  b->Rotate = l.ganz32();
  b->Schaerfe = l.ganz16();
  return b;
}

std::shared_ptr<ClassLinie> linieLesen(Leser& l) {
  auto n = std::make_shared<ClassLinie>();
  n->Angle = l.ganz16();
  n->Color1 = l.ganz32();
  n->Color2 = l.ganz32();
  n->ColorCircle = l.ganz16();
  n->Form = l.ganz16();
  n->Fuellung = l.flag();
  n->Height = l.einfach();
  n->ShadowAngle = l.ganz16();
  n->ShadowColor1 = l.ganz32();
  n->ShadowColor2 = l.ganz32();
  n->ShadowDeep = l.ganz16();
  n->ShadowType = l.ganz16();
  n->ShadowWay = l.ganz16();
  n->Staerke = l.ganz16();
  n->widht = l.einfach();
  n->x = l.einfach();
  n->y = l.einfach();
  return n;
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
    l.abschnitt(kRahmen);
    // The levels of all frames must fit the 16-bit level field.
    const int rahmen = l.anzahl(kRahmenZeilen, 32767);
    for (int i = 0; i < rahmen; ++i) e.inhalt.rahmen.push_back(rahmenLesen(l));
    l.abschnitt(kSchrift);
    const int schriften = l.anzahl(kSchriftZeilen, INT32_MAX);
    for (int i = 0; i < schriften; ++i) e.inhalt.schriften.push_back(schriftLesen(l));
    if (umfang == Umfang::Dokument) {
      l.abschnitt(kBild);
      const int bilder = l.anzahl(kBildZeilen, INT32_MAX);
      for (int i = 0; i < bilder; ++i) e.inhalt.bilder.push_back(bildLesen(l));
      l.abschnitt(kLinie);
      const int linien = l.anzahl(kLinieZeilen, INT32_MAX);
      for (int i = 0; i < linien; ++i) e.inhalt.linien.push_back(linieLesen(l));
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

  z << kRahmen << zahlText(s.AnzahlRahmen);
  for (int i = 1; i <= s.AnzahlRahmen; ++i) {
    const ClassRahmen& r = element(s.Rahmenliste, i);
    z << zahlText(r.Breite) << zahlText(r.Hoehe) << varianteText(r.Objektnummer) << r.Objekttyp
      << flagText(r.Sichtbar) << flagText(r.Proportional) << flagText(r.Verankert) << zahlText(r.x)
      << zahlText(r.y) << zahlText(r.z);
  }

  z << kSchrift << zahlText(s.AnzahlSchriften);
  for (int i = 1; i <= s.AnzahlSchriften; ++i) {
    const ClassSchrift& t = element(s.Schriften, i);
    z << zahlText(t.Angle) << zahlText(t.AusrichtungH) << zahlText(t.AusrichtungV)
      << flagText(t.Bold) << zahlText(t.CharSpace) << zahlText(t.Color1) << zahlText(t.Color2)
      << zahlText(t.ColorCircle) << zahlText(t.Data) << t.fontname << varianteText(t.FontSize)
      << zahlText(t.Height) << flagText(t.Italic) << zahlText(t.ShadowAngle)
      << zahlText(t.ShadowColor1) << zahlText(t.ShadowColor2) << zahlText(t.ShadowDeep)
      << zahlText(t.ShadowType) << zahlText(t.ShadowWay) << flagText(t.Strike) << t.Textstring
      << zahlText(t.Top) << flagText(t.Underline) << zahlText(t.widht) << zahlText(t.x)
      << zahlText(t.z) << flagText(t.Sichtbar);
  }

  z << kBild << zahlText(s.AnzahlBilder);
  for (int i = 1; i <= s.AnzahlBilder; ++i) {
    const ClassBild& b = element(s.Bilder, i);
    z << b.Effekt << zahlText(b.EffektMosaik) << zahlText(b.EffektPixel) << zahlText(b.EffektTrapez)
      << zahlText(b.Farbintensitaet) << zahlText(b.Farbverschiebung) << b.File << b.File_Dir
      << b.File_Name << b.File_Path << flagText(b.Gray) << zahlText(b.Helligkeit)
      << flagText(b.Invert) << zahlText(b.Kontrast) << zahlText(b.Rotate) << zahlText(b.Schaerfe);
  }

  z << kLinie << zahlText(s.AnzahlLinien);
  for (int i = 1; i <= s.AnzahlLinien; ++i) {
    const ClassLinie& n = element(s.Linien, i);
    z << zahlText(n.Angle) << zahlText(n.Color1) << zahlText(n.Color2) << zahlText(n.ColorCircle)
      << zahlText(n.Form) << flagText(n.Fuellung) << zahlen::schreibeLokal(n.Height)
      << zahlText(n.ShadowAngle) << zahlText(n.ShadowColor1) << zahlText(n.ShadowColor2)
      << zahlText(n.ShadowDeep) << zahlText(n.ShadowType) << zahlText(n.ShadowWay)
      << zahlText(n.Staerke) << zahlen::schreibeLokal(n.widht) << zahlen::schreibeLokal(n.x)
      << zahlen::schreibeLokal(n.y);
  }

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
