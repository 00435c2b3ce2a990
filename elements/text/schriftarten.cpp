#include "elements/text/schriftarten.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr int letzterEintrag = 1000;
const QString endmarke = QStringLiteral("-1");

// Text-metric pitch bits: set for a variable-pitch face (the bit is named "fixed pitch" but
// means the opposite), an outline face, a TrueType-like face.
constexpr uint8_t TMPF_VARIABEL = 1;
constexpr uint8_t TMPF_VEKTOR = 2;
constexpr uint8_t TMPF_TRUETYPE = 4;
constexpr int TRUETYPE_FONTTYPE = 4;

// The character set a family is reported with: symbol faces and faces for Latin first,
// then the first script the family covers that has a character set of its own.
uint8_t zeichensatzDerFamilie(const QString& familie) {
  const QList<QFontDatabase::WritingSystem> systeme = QFontDatabase::writingSystems(familie);
  if (systeme.contains(QFontDatabase::Symbol)) return SYMBOL_CHARSET;
  if (systeme.contains(QFontDatabase::Latin)) return ANSI_CHARSET;
  struct Zuordnung {
    QFontDatabase::WritingSystem system;
    uint8_t zeichensatz;
  };
  static constexpr Zuordnung zuordnungen[] = {
      {QFontDatabase::Japanese, 128},
      {QFontDatabase::Korean, 129},
      {QFontDatabase::SimplifiedChinese, 134},
      {QFontDatabase::TraditionalChinese, 136},
      {QFontDatabase::Greek, 161},
      {QFontDatabase::Vietnamese, 163},
      {QFontDatabase::Hebrew, 177},
      {QFontDatabase::Arabic, 178},
      {QFontDatabase::Cyrillic, 204},
      {QFontDatabase::Thai, 222},
  };
  for (const Zuordnung& z : zuordnungen)
    if (systeme.contains(z.system)) return z.zeichensatz;
  return SYMBOL_CHARSET;
}

}  // namespace

namespace {
QStringView randlos(QStringView text) {
  qsizetype anfang = 0;
  qsizetype ende = text.size();
  while (anfang < ende && text.at(anfang) == QLatin1Char(' ')) ++anfang;
  while (ende > anfang && text.at(ende - 1) == QLatin1Char(' ')) --ende;
  return text.mid(anfang, ende - anfang);
}
}  // namespace

QString ohneRandleerzeichen(const QString& text) { return randlos(text).toString(); }

int SchriftartGefunden(Programmzustand& s, const LogFont& logFont, const TextMetrik& metrik,
                       int /*typ*/, intptr_t /*wert*/) {
  // The face name ends at its first NUL character.
  QString name = logFont.lfFaceName;
  const qsizetype nul = name.indexOf(QChar(0));
  if (nul >= 0) name.truncate(nul);
  name = ohneRandleerzeichen(name);

  for (const SchriftartEintrag& eintrag : s.Schriftarten)
    if (randlos(eintrag.Name) == name) return 1;  // already there

  if (s.AnzahlSchriftarten >= letzterEintrag) return 1;  // the table is full
  const int n = ++s.AnzahlSchriftarten;
  SchriftartEintrag& eintrag = s.Schriftarten[static_cast<size_t>(n)];
  eintrag.Name = name;
  eintrag.Pitch = metrik.tmPitchAndFamily & 0x0F;
  eintrag.logFont = logFont;
  eintrag.textMetrik = metrik;
  if (n + 1 <= letzterEintrag) s.Schriftarten[static_cast<size_t>(n + 1)].Name = endmarke;
  return 1;
}

void SchriftartenEintragen(Programmzustand& s, const std::vector<Schriftfamilie>& familien) {
  s.Schriftarten.fill(SchriftartEintrag{});
  s.AnzahlSchriftarten = 0;
  for (const Schriftfamilie& familie : familien) {
    LogFont lf;
    lf.lfWeight = 400;
    lf.lfCharSet = familie.zeichensatz;
    lf.lfPitchAndFamily = familie.festeBreite ? FIXED_PITCH : VARIABLE_PITCH;
    lf.lfFaceName = familie.name;
    TextMetrik tm;
    tm.tmWeight = 400;
    tm.tmCharSet = familie.zeichensatz;
    tm.tmPitchAndFamily =
        static_cast<uint8_t>((familie.festeBreite ? 0 : TMPF_VARIABEL) |
                             (familie.skalierbar ? TMPF_VEKTOR | TMPF_TRUETYPE : 0));
    SchriftartGefunden(s, lf, tm, familie.skalierbar ? TRUETYPE_FONTTYPE : 0, 0);
  }
}

void FamilienOrdnen(std::vector<Schriftfamilie>& familien) {
  // Qt calls a family that several foundries deliver "Name [Foundry]"; the lists show it
  // once, under its own name, which also draws it.
  static const QRegularExpression giesserei(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
  // The generic names Qt adds for fontconfig's default faces are no families.
  static const QStringList gattungen = {QStringLiteral("Serif"), QStringLiteral("Sans Serif"),
                                        QStringLiteral("Monospace")};
  std::vector<Schriftfamilie> geordnet;
  for (Schriftfamilie familie : familien) {
    familie.name.remove(giesserei);
    if (familie.name.isEmpty() || gattungen.contains(familie.name)) continue;
    geordnet.push_back(std::move(familie));
  }
  std::stable_sort(geordnet.begin(), geordnet.end(),
                   [](const Schriftfamilie& a, const Schriftfamilie& b) {
                     const int vergleich = a.name.compare(b.name, Qt::CaseInsensitive);
                     return vergleich != 0 ? vergleich < 0 : a.name < b.name;
                   });
  geordnet.erase(std::unique(geordnet.begin(), geordnet.end(),
                             [](const Schriftfamilie& a, const Schriftfamilie& b) {
                               return a.name == b.name;
                             }),
                 geordnet.end());
  familien = std::move(geordnet);
}

std::vector<Schriftfamilie> Systemschriftfamilien() {
  std::vector<Schriftfamilie> familien;
  QStringList namen;
  for (const QString& name : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(name)) continue;
    familien.push_back({name, QFontDatabase::isFixedPitch(name), zeichensatzDerFamilie(name),
                        QFontDatabase::isScalable(name)});
  }
  FamilienOrdnen(familien);
  for (const Schriftfamilie& familie : familien) namen.append(familie.name);
  // Documents name the usual Windows faces; where fontconfig answers them with an installed
  // face (a metric-compatible one), they get entries of their own that draw with that face.
  for (const QString& windowsname : {QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                     QStringLiteral("Courier New")}) {
    if (namen.contains(windowsname)) continue;
    const QString ersatz = QFontInfo(QFont(windowsname)).family();
    if (ersatz.isEmpty() || ersatz == windowsname || !namen.contains(ersatz)) continue;
    familien.push_back({windowsname, QFontDatabase::isFixedPitch(ersatz),
                        zeichensatzDerFamilie(ersatz), QFontDatabase::isScalable(ersatz)});
  }
  FamilienOrdnen(familien);
  return familien;
}

void SchriftartenErmitteln(Programmzustand& s) {
  SchriftartenEintragen(s, Systemschriftfamilien());
}

QStringList SchriftartenListe(const Programmzustand& s) {
  QStringList liste;
  for (int i = 1; i < letzterEintrag; ++i) {
    const SchriftartEintrag& eintrag = s.Schriftarten[static_cast<size_t>(i)];
    if (eintrag.Name.startsWith(endmarke)) break;
    if (eintrag.logFont.lfPitchAndFamily & VARIABLE_PITCH)
      liste.append(ohneRandleerzeichen(eintrag.Name));
  }
  return liste;
}

uint8_t SchriftartZeichensatz(const Programmzustand& s, const QString& fontname) {
  const QString gesucht = ohneRandleerzeichen(fontname);
  for (const SchriftartEintrag& eintrag : s.Schriftarten) {
    if (randlos(eintrag.Name) == gesucht) return eintrag.logFont.lfCharSet;
    if (eintrag.Name == endmarke) break;
  }
  return ANSI_CHARSET;
}
