#include "core/frmseite.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/auswahl.h"
#include "platform/knopfzeile.h"
#include "platform/zahlen.h"

const std::array<const char*, 6> kPapierformate = {"DIN A4", "DIN A5",    "Letter",
                                                   "Legal",  "Executive", "Benutzerdefiniert"};

namespace {

struct Format {
  const char* name;
  int32_t breite;
  int32_t hoehe;
};
// Sizes of the named formats in 1/10 mm, portrait.
constexpr std::array<Format, 5> kFormate = {{{"DIN A4", 2100, 2970},
                                             {"DIN A5", 1480, 2100},
                                             {"Letter", 2160, 2790},
                                             {"Legal", 2160, 3560},
                                             {"Executive", 1850, 2670}}};

// A size, margin, header or footer box: its leading number, to the nearest whole unit.
int32_t ganzerWert(const QLineEdit* box) {
  return zahlen::int32Begrenzt(zahlen::nint(zahlen::Val(box->text())));
}

// A grid box. It is filled in the user's number format, so it is read in that format
// first; other text by its leading number. (Reading only the leading number would turn
// a grid of 12,5 shown under a decimal comma into 12 at every OK.)
double rasterWert(const QLineEdit* box) {
  if (const auto wert = zahlen::leseLokal(box->text())) return *wert;
  return zahlen::Val(box->text());
}

QLineEdit* neueBox(const char* name, QWidget* eltern) {
  auto* box = new QLineEdit(eltern);
  box->setObjectName(QLatin1String(name));
  box->setMaximumWidth(90);
  return box;
}

// `von` with the header and footer heights of `ziel`: the boxes for them edit the working
// copy only, so page and working copy each keep their own.
ClassSeite mitEigenenZeilen(ClassSeite von, const ClassSeite& ziel) {
  von.Kopfzeile = ziel.Kopfzeile;
  von.Fusszeile = ziel.Fusszeile;
  return von;
}

}  // namespace

frmSeite::frmSeite(Programmzustand& s, QWidget* eltern) : QDialog(eltern), s_(s) {
  setObjectName(QStringLiteral("frmSeite"));
  setWindowTitle(QStringLiteral("Seite einrichten"));
  setWindowModality(Qt::ApplicationModal);
  setAttribute(Qt::WA_DeleteOnClose, false);

  TabStripSeite = new QTabWidget(this);
  TabStripSeite->setObjectName(QStringLiteral("TabStripSeite"));
  auto* seite = new QWidget;

  // Paper: format, orientation, size, export scale, units.
  ComboPapierformat = new QComboBox(seite);
  ComboPapierformat->setObjectName(QStringLiteral("ComboPapierformat"));
  auto* seitenlage = new QGroupBox(QStringLiteral("Seitenlage"), seite);
  Option1[0] = new QRadioButton(QStringLiteral("Hochformat"), seitenlage);
  Option1[1] = new QRadioButton(QStringLiteral("Querformat"), seitenlage);
  Option1[0]->setObjectName(QStringLiteral("Option1_0"));
  Option1[1]->setObjectName(QStringLiteral("Option1_1"));
  auto* lage = new QVBoxLayout(seitenlage);
  lage->addWidget(Option1[0]);
  lage->addWidget(Option1[1]);

  TextBreite = neueBox("TextBreite", seite);
  TextHoehe = neueBox("TextHoehe", seite);
  TextZoomExport = neueBox("TextZoomExport", seite);
  auto* papier = new QFormLayout;
  papier->addRow(QStringLiteral("Papierformat"), ComboPapierformat);
  papier->addRow(seitenlage);
  papier->addRow(QStringLiteral("Papierbreite"), TextBreite);
  papier->addRow(QStringLiteral("Papierhöhe"), TextHoehe);
  papier->addRow(QStringLiteral("Zoomexport"), TextZoomExport);

  auto* einheit = new QGroupBox(seite);
  OptionEinheit[0] = new QRadioButton(QStringLiteral("Maßangaben in Millimeter (mm)"), einheit);
  OptionEinheit[1] = new QRadioButton(QStringLiteral("Maßangaben in Inch (inch)"), einheit);
  OptionEinheit[0]->setObjectName(QStringLiteral("OptionEinheit_0"));
  OptionEinheit[1]->setObjectName(QStringLiteral("OptionEinheit_1"));
  OptionEinheit[0]->setChecked(true);
  auto* einheiten = new QVBoxLayout(einheit);
  einheiten->addWidget(OptionEinheit[0]);
  einheiten->addWidget(OptionEinheit[1]);

  auto* links = new QVBoxLayout;
  links->addLayout(papier);
  links->addStretch(1);
  links->addWidget(einheit);

  // Margins and grid.
  auto* raender = new QGroupBox(QStringLiteral("Seitenränder"), seite);
  TextOben = neueBox("TextOben", raender);
  TextUnten = neueBox("TextUnten", raender);
  TextLinks = neueBox("TextLinks", raender);
  TextRechts = neueBox("TextRechts", raender);
  TextKopf = neueBox("TextKopf", raender);
  TextFuss = neueBox("TextFuss", raender);
  // Margin and grid boxes share one label width, so that they line up.
  auto zeile = [](QFormLayout* formular, const QString& text, QLineEdit* box) {
    auto* beschriftung = new QLabel(text);
    beschriftung->setMinimumWidth(80);
    beschriftung->setBuddy(box);
    formular->addRow(beschriftung, box);
  };
  auto* randFormular = new QFormLayout(raender);
  zeile(randFormular, QStringLiteral("Oben"), TextOben);
  zeile(randFormular, QStringLiteral("Unten"), TextUnten);
  zeile(randFormular, QStringLiteral("Links"), TextLinks);
  zeile(randFormular, QStringLiteral("Rechts"), TextRechts);
  zeile(randFormular, QStringLiteral("Kopfzeile"), TextKopf);
  zeile(randFormular, QStringLiteral("Fußzeile"), TextFuss);

  auto* raster = new QGroupBox(QStringLiteral("Rastereinstellungen"), seite);
  Textrasterx = neueBox("Textrasterx", raster);
  Textrastery = neueBox("Textrastery", raster);
  auto* rasterFormular = new QFormLayout(raster);
  zeile(rasterFormular, QStringLiteral("Rasterbreite"), Textrasterx);
  zeile(rasterFormular, QStringLiteral("Rasterhöhe"), Textrastery);

  auto* rechts = new QVBoxLayout;
  rechts->addWidget(raender);
  rechts->addWidget(raster);
  rechts->addStretch(1);

  auto* spalten = new QHBoxLayout(seite);
  spalten->addLayout(links, 1);
  spalten->addSpacing(12);
  spalten->addLayout(rechts, 1);
  TabStripSeite->addTab(seite, QStringLiteral("Seitengrößen"));

  auto* knoepfe = knopfzeile(this, {&Command3, QStringLiteral("Ok"), "Command3"},
                             {&Command1, QStringLiteral("Abbruch"), "Command1"});

  auto* ganz = new QVBoxLayout(this);
  ganz->addWidget(TabStripSeite, 1);
  ganz->addLayout(knoepfe);
  // 8700 x 6900 twips.
  resize(580, 460);

  // The user's actions only: filling the boxes from the program runs none of these.
  connect(ComboPapierformat, &QComboBox::activated, this, &frmSeite::ComboPapierformat_Click);
  connect(Option1[0], &QRadioButton::clicked, this, [this] { Option1_Click(0); });
  connect(Option1[1], &QRadioButton::clicked, this, [this] { Option1_Click(1); });
  auto speichern = [this](QLineEdit* box, int32_t ClassSeite::*feld) {
    connect(box, &QLineEdit::textEdited, this,
            [this, box, feld] { (*s_.MusterSeite).*feld = ganzerWert(box); });
  };
  speichern(TextBreite, &ClassSeite::Breite);
  speichern(TextHoehe, &ClassSeite::Hoehe);
  speichern(TextOben, &ClassSeite::RandOben);
  speichern(TextUnten, &ClassSeite::RandUnten);
  speichern(TextLinks, &ClassSeite::RandLinks);
  speichern(TextRechts, &ClassSeite::RandRechts);
  speichern(TextKopf, &ClassSeite::Kopfzeile);
  speichern(TextFuss, &ClassSeite::Fusszeile);
  connect(Command3, &QPushButton::clicked, this, &frmSeite::Command3_Click);
  connect(Command1, &QPushButton::clicked, this, &frmSeite::Command1_Click);

  Form_Load();
}

void frmSeite::Form_Load() {
  for (const char* name : kPapierformate) ComboPapierformat->addItem(QString::fromUtf8(name));
  formatZeigen(s_.MusterSeite->Papier);
  TextBreite->setText(QString::number(s_.Seite->Breite));
  TextHoehe->setText(QString::number(s_.Seite->Hoehe));
  PapierformatSetzen();
}

void frmSeite::zeigen() {
  Form_Activate();
  show();
  raise();
  activateWindow();
}

void frmSeite::Form_Activate() {
  const ClassSeite& seite = *s_.Seite;
  ClassSeite& muster = *s_.MusterSeite;
  TextBreite->setText(QString::number(seite.Breite));
  TextHoehe->setText(QString::number(seite.Hoehe));
  TextLinks->setText(QString::number(seite.RandLinks));
  TextOben->setText(QString::number(seite.RandOben));
  TextRechts->setText(QString::number(seite.RandRechts));
  TextUnten->setText(QString::number(seite.RandUnten));
  formatZeigen(seite.Papier);

  muster = mitEigenenZeilen(seite, muster);

  TextZoomExport->setText(zahlen::schreibeLokal(s_.Exportzoom));
  Textrasterx->setText(zahlen::schreibeLokal(s_.RasterX));
  Textrastery->setText(zahlen::schreibeLokal(s_.RasterY));

  Option1[muster.Querformat ? 1 : 0]->setChecked(true);
  PapierformatSetzen();
}

void frmSeite::PapierformatSetzen() {
  ClassSeite& muster = *s_.MusterSeite;
  for (const Format& f : kFormate) {
    if (muster.Papier == QLatin1String(f.name)) {
      muster.Breite = f.breite;
      muster.Hoehe = f.hoehe;
      break;
    }
  }
  const bool frei = muster.Papier == QLatin1String("Benutzerdefiniert");
  TextBreite->setEnabled(frei);
  TextHoehe->setEnabled(frei);
  // A square page keeps its size in both orientations.
  if ((muster.Querformat && muster.Breite < muster.Hoehe) ||
      (!muster.Querformat && muster.Breite > muster.Hoehe))
    std::swap(muster.Breite, muster.Hoehe);
  TextHoehe->setText(QString::number(muster.Hoehe));
  TextBreite->setText(QString::number(muster.Breite));
}

void frmSeite::formatZeigen(const QString& name) {
  // A name from an earlier opening that is not one of the formats goes again.
  while (ComboPapierformat->count() > static_cast<int>(kPapierformate.size()))
    ComboPapierformat->removeItem(ComboPapierformat->count() - 1);
  int index = ComboPapierformat->findText(name);
  if (index < 0 && !name.isEmpty()) {
    ComboPapierformat->addItem(name);
    index = ComboPapierformat->count() - 1;
  }
  ComboPapierformat->setCurrentIndex(index);
}

void frmSeite::ComboPapierformat_Click(int index) {
  s_.MusterSeite->Papier = ComboPapierformat->itemText(index);
  PapierformatSetzen();
}

void frmSeite::Option1_Click(int index) {
  ClassSeite& muster = *s_.MusterSeite;
  if (index == 1 && !muster.Querformat) {
    muster.Querformat = true;
    PapierformatSetzen();
  } else if (index == 0 && muster.Querformat) {
    muster.Querformat = false;
    PapierformatSetzen();
  }
}

bool frmSeite::pruefen() {
  const ClassSeite& m = *s_.MusterSeite;
  QString fehler;
  QLineEdit* box = nullptr;
  auto fehlt = [&](const QString& text, QLineEdit* b) {
    if (!fehler.isEmpty()) return;
    fehler = text;
    box = b;
  };
  if (m.Breite <= 0) fehlt(QStringLiteral("Die Papierbreite muss größer als 0 sein."), TextBreite);
  if (m.Breite > ClassSeite::GroesstesMass)
    fehlt(QStringLiteral("Die Papierbreite darf höchstens %1 betragen.")
              .arg(ClassSeite::GroesstesMass),
          TextBreite);
  if (m.Hoehe <= 0) fehlt(QStringLiteral("Die Papierhöhe muss größer als 0 sein."), TextHoehe);
  if (m.Hoehe > ClassSeite::GroesstesMass)
    fehlt(
        QStringLiteral("Die Papierhöhe darf höchstens %1 betragen.").arg(ClassSeite::GroesstesMass),
        TextHoehe);
  if (m.RandOben < 0) fehlt(QStringLiteral("Der obere Rand darf nicht negativ sein."), TextOben);
  if (m.RandUnten < 0) fehlt(QStringLiteral("Der untere Rand darf nicht negativ sein."), TextUnten);
  if (m.RandLinks < 0) fehlt(QStringLiteral("Der linke Rand darf nicht negativ sein."), TextLinks);
  if (m.RandRechts < 0)
    fehlt(QStringLiteral("Der rechte Rand darf nicht negativ sein."), TextRechts);
  if (int64_t{m.RandLinks} + m.RandRechts >= m.Breite)
    fehlt(QStringLiteral("Der linke und der rechte Rand lassen keinen Platz auf der Seite: "
                         "zusammen müssen sie kleiner als die Papierbreite sein."),
          TextLinks);
  if (int64_t{m.RandOben} + m.RandUnten >= m.Hoehe)
    fehlt(QStringLiteral("Der obere und der untere Rand lassen keinen Platz auf der Seite: "
                         "zusammen müssen sie kleiner als die Papierhöhe sein."),
          TextOben);
  if (!(rasterWert(Textrasterx) >= 1))
    fehlt(QStringLiteral("Die Rasterbreite muss mindestens 1 sein."), Textrasterx);
  if (!(rasterWert(Textrastery) >= 1))
    fehlt(QStringLiteral("Die Rasterhöhe muss mindestens 1 sein."), Textrastery);
  if (fehler.isEmpty()) return true;

  s_.fenster->Meldung(fehler, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  if (box->isEnabled()) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
  }
  return false;
}

void frmSeite::Command3_Click() {
  if (!pruefen()) return;

  // The export scale: a number in the user's format from 1 to 10, anything else 2.
  const auto zoom = zahlen::leseLokal(TextZoomExport->text());
  s_.Exportzoom = zoom && *zoom >= 1 && *zoom <= 10 ? *zoom : 2;

  hide();

  ClassSeite& seite = *s_.Seite;
  seite = mitEigenenZeilen(*s_.MusterSeite, seite);

  // The magnet keeps its own spacing.
  s_.RasterX = rasterWert(Textrasterx);
  s_.RasterY = rasterWert(Textrastery);

  ZoomAnwenden(s_);
}

void frmSeite::Command1_Click() { hide(); }

void frmSeite::reject() { Command1_Click(); }
