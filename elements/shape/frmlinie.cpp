#include "elements/shape/frmlinie.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <tuple>
#include <vector>

#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "elements/shape/linie_zeichnen.h"
#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"
#include "platform/gdi.h"
#include "platform/zahlen.h"

namespace {

constexpr int32_t weiss = RGB(255, 255, 255);
// The sample figure keeps this many twips from every edge of the sample picture.
constexpr double musterRand = 200;

}  // namespace

// --- Formfeld -----------------------------------------------------------------------------

Formfeld::Formfeld(QWidget* eltern)
    : Klickfeld(eltern), flaeche_(std::make_unique<Bildflaeche>(Innen, Innen)) {
  flaeche_->BackColor = weiss;
  flaeche_->Cls();
  const QSize innen = flaeche_->pixelgroesse();
  setFixedSize(innen.width() + 2 * Rand, innen.height() + 2 * Rand);
}

Formfeld::~Formfeld() = default;

void Formfeld::setzeHintergrund(int32_t rgb) {
  flaeche_->BackColor = rgb;
  flaeche_->Cls();
  update();
}

int32_t Formfeld::hintergrund() const { return flaeche_->BackColor; }

void Formfeld::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  // A sunken border: dark above and left, light below and right.
  maler.fillRect(rect(), palette().color(QPalette::Light));
  maler.fillRect(QRect(0, 0, width() - 1, height() - 1), palette().color(QPalette::Dark));
  maler.fillRect(QRect(1, 1, width() - 2, height() - 2), palette().color(QPalette::Shadow));
  maler.drawImage(Rand, Rand, flaeche_->bild());
}

// --- frmlinie -----------------------------------------------------------------------------

frmlinie::frmlinie(Programmzustand& s, QWidget* eltern)
    : Musterdialog(s, QStringLiteral("Einstellen der Linie"), eltern) {
  umgebung_.neuZeichnen = [this] { MusterLinieZeichnen(); };
  bauen();
  // The form icons follow the screen's pixel density as the samples do.
  new Pixelverhaeltnisfolger(
      this,
      [this] {
        std::vector<Bildflaeche*> flaechen;
        for (int k = 1; k <= AnzahlFormfelder; ++k) flaechen.push_back(&linienform_[k]->flaeche());
        return flaechen;
      },
      [this] {
        for (int k = 1; k <= AnzahlFormfelder; ++k)
          linienform_[k]->setzeHintergrund(linienform_[k]->hintergrund());
        LinienformSymboleZeichnen();
      });
}

frmlinie::~frmlinie() = default;

void frmlinie::bauen() {
  schatten_ = new Schattenbedienung(
      {QStringLiteral("Einstellen der Schattenstärke"), QStringLiteral("100 mm"),
       QStringLiteral("Schriftzentrum (keine Funktion)"), true},
      nullptr);
  std::tie(command3_, command1_) = aufbauen({
      {"Farbe", "Einstellen der Objektfarbe", baueFarbseite()},
      {"Schatten", "Einstellen des Objektschattens", schatten_},
      {"Form", "Aussehen des Linienobjekts", baueFormseite()},
  });
  connect(tabStrip_, &QTabWidget::currentChanged, this, &frmlinie::TabStripLinie_Click);
  connect(command3_, &QPushButton::clicked, this, &frmlinie::Command3_Click);
  connect(command1_, &QPushButton::clicked, this, &frmlinie::Command1_Click);
}

QWidget* frmlinie::baueFarbseite() {
  auto* w = new QWidget;
  auto* spalte = new QVBoxLayout(w);
  spalte->setContentsMargins(0, 0, 0, 0);
  spalte->setSpacing(10);

  auto* oben = new QHBoxLayout;
  auto* staerkerahmen = new QGroupBox(QStringLiteral("Linienstärke"), w);
  auto* sl = new QHBoxLayout(staerkerahmen);
  sliderHeight_ = new QSlider(Qt::Horizontal, staerkerahmen);
  sliderHeight_->setRange(2, 50);
  sliderHeight_->setPageStep(4);
  sliderHeight_->setTickPosition(QSlider::TicksBelow);
  sliderHeight_->setTickInterval(4);
  sl->addWidget(sliderHeight_);
  oben->addWidget(staerkerahmen, 1);
  oben->addSpacing(16);
  checkFuellen_ = new QCheckBox(w);
  auto* label1 = new QLabel(QStringLiteral(" Flächen gefüllt"), w);
  oben->addWidget(checkFuellen_);
  oben->addWidget(label1);
  oben->addStretch();
  spalte->addLayout(oben);

  farbe_ =
      new Farbbedienung({QStringLiteral("Objektfarbe"), QStringLiteral("Farbverlauf"), true}, w);
  check6_ = new QCheckBox(QStringLiteral("Farbverlauf in beide Richtungen"), w);
  // The option has no effect on the drawing; it is offered as the form always did.
  farbe_->verlaufSpalte()->insertWidget(3, check6_);
  spalte->addWidget(farbe_, 1);

  connect(sliderHeight_, &QSlider::valueChanged, this, &frmlinie::SliderHeight_Change);
  connect(checkFuellen_, &QCheckBox::clicked, this, [this] { CheckFuellen_Click(); });
  return w;
}

QWidget* frmlinie::baueFormseite() {
  auto* w = new QWidget;
  auto* spalte = new QVBoxLayout(w);
  spalte->setContentsMargins(0, 0, 0, 0);
  auto* rahmen = new QGroupBox(QStringLiteral("Objektform wählen"), w);
  auto* gitter = new QGridLayout(rahmen);
  gitter->setSpacing(2);
  for (int k = 1; k <= AnzahlFormfelder; ++k) {
    linienform_[k] = new Formfeld(rahmen);
    gitter->addWidget(linienform_[k], (k - 1) / 15, (k - 1) % 15);
    connect(linienform_[k], &Formfeld::geklickt, this, [this, k] { Linienform_Click(k); });
  }
  auto* zeile = new QHBoxLayout;
  zeile->addWidget(rahmen);
  zeile->addStretch();
  spalte->addLayout(zeile);
  spalte->addStretch();
  return w;
}

// --- Showing --------------------------------------------------------------------------------

void frmlinie::zeigen() {
  if (!s_.hatLinie(s_.AktuelleLinie)) return;
  Form_Activate();
  vorneZeigen();
}

void frmlinie::Form_Activate() {
  aktivierungBeginnen();

  ClassLinie& m = *s_.MusterLinie;
  m = s_.linie(s_.AktuelleLinie);
  farbe_->binden({&m.Color1, &m.Color2, &m.ColorCircle}, &umgebung_);
  schatten_->binden(
      {&m.ShadowAngle, &m.ShadowDeep, &m.ShadowType, &m.ShadowColor1, &m.ShadowColor2}, &umgebung_);

  zeichnenAufgeschoben_ = true;
  // Angle box (marks the sector), shadow slider, type boxes, shadow colour indicators.
  schatten_->laden();
  {
    // The slider shows a thickness below its minimum at the minimum; the element keeps its
    // own thickness until the slider is moved.
    const QSignalBlocker sperre(sliderHeight_);
    sliderHeight_->setValue(m.Staerke);
  }
  for (int k = 1; k <= AnzahlFormfelder; ++k) linienform_[k]->setzeHintergrund(weiss);
  if (m.Form >= 1 && m.Form <= AnzahlFormfelder)
    linienform_[m.Form]->setzeHintergrund(umgebung_.markierFarbe);
  checkFuellen_->setChecked(m.Fuellung);
  // Gradient option (its handler keeps the mode shown) and the colour indicators.
  farbe_->laden();

  ClassRahmen& r = *s_.MusterRahmen;
  r.x = zahlen::int32Begrenzt(musterRand / s_.TwipsProEinheit);
  r.y = r.x;
  r.Breite = zahlen::int32Begrenzt((muster_[1]->Width() - 2 * musterRand) / s_.TwipsProEinheit);
  r.Hoehe = zahlen::int32Begrenzt((muster_[1]->Height() - 2 * musterRand) / s_.TwipsProEinheit);

  zeichnenAufgeschoben_ = false;
  LinienformSymboleZeichnen();
  MusterLinieZeichnen();
}

// --- Drawing --------------------------------------------------------------------------------

void frmlinie::MusterLinieZeichnen() {
  if (zeichnenAufgeschoben_) return;
  const int k = sichtbareSeite();
  if (k < 1 || k > 3) return;
  LinieZeichnen(s_, *muster_[k], *s_.MusterLinie, *s_.MusterRahmen);
  anzeige_[k]->update();
}

void frmlinie::LinienformSymboleZeichnen() {
  struct Strecke {
    int x1, y1, x2, y2;
  };
  // Icon lines in twips from the top-left corner of a box.
  static const std::array<std::vector<Strecke>, AnzahlFormen + 1> symbole = {{
      {},
      {{40, 170, 280, 170}},
      {{170, 40, 170, 280}},
      {{40, 40, 280, 280}},
      {{40, 280, 280, 40}},
      {{40, 40, 280, 40}, {40, 40, 40, 280}},
      {{40, 280, 280, 280}, {40, 40, 40, 280}},
      {{40, 280, 280, 280}, {280, 40, 280, 280}},
      {{40, 40, 280, 40}, {280, 40, 280, 280}},
      {{40, 40, 280, 40}, {40, 280, 280, 280}},
      {{40, 40, 40, 280}, {280, 40, 280, 280}},
      {{40, 170, 280, 170}, {170, 40, 170, 280}},
      {{40, 280, 280, 280}, {40, 280, 170, 40}, {280, 280, 170, 40}},
      {{40, 40, 40, 280}, {40, 40, 280, 170}, {40, 280, 280, 170}},
      {{40, 40, 280, 40}, {40, 40, 170, 280}, {280, 40, 170, 280}},
      {{280, 40, 280, 280}, {280, 40, 40, 170}, {280, 280, 40, 170}},
      {},
      {{170, 40, 280, 170}, {170, 40, 40, 170}, {170, 280, 280, 170}, {170, 280, 40, 170}},
      {},
  }};
  for (int k = 1; k <= AnzahlFormen; ++k) {
    Bildflaeche& f = linienform_[k]->flaeche();
    for (const Strecke& st : symbole[k]) f.Line(st.x1, st.y1, st.x2, st.y2, f.ForeColor);
    if (k == 16) f.Line(40, 40, 280, 280, f.ForeColor, true);
    if (k == 18) {
      // Circle about (170, 170) with radius 130, drawn with the box's pen and no fill.
      const double tppX = f.twipsProPixelX();
      const double tppY = f.twipsProPixelY();
      const auto px = [tppX](double t) { return zahlen::int32Begrenzt(t / tppX); };
      const auto py = [tppY](double t) { return zahlen::int32Begrenzt(t / tppY); };
      f.FillStyle = 1;
      Ellipse(f.hdc(), px(170 - 130), py(170 - 130), px(170 + 130), py(170 + 130));
    }
    linienform_[k]->update();
  }
}

// --- Handlers -------------------------------------------------------------------------------

void frmlinie::TabStripLinie_Click(int) { MusterLinieZeichnen(); }

void frmlinie::SliderHeight_Change(int wert) {
  s_.MusterLinie->Staerke = static_cast<int16_t>(wert);
  MusterLinieZeichnen();
}

void frmlinie::CheckFuellen_Click() {
  s_.MusterLinie->Fuellung = checkFuellen_->isChecked();
  MusterLinieZeichnen();
}

void frmlinie::Linienform_Click(int k) {
  if (k < 1 || k > AnzahlFormfelder) return;
  ClassLinie& m = *s_.MusterLinie;
  if (m.Form >= 1 && m.Form <= AnzahlFormfelder) linienform_[m.Form]->setzeHintergrund(weiss);
  linienform_[k]->setzeHintergrund(static_cast<int32_t>(s_.MarkierFarbe));
  m.Form = static_cast<int16_t>(k);
  LinienformSymboleZeichnen();
  MusterLinieZeichnen();
}

void frmlinie::Command3_Click() {
  if (s_.hatLinie(s_.AktuelleLinie)) s_.linie(s_.AktuelleLinie) = *s_.MusterLinie;
  s_.Mustermodus = 0;
  hide();
  SeiteZeichnen(s_);
}

void frmlinie::Command1_Click() {
  s_.Mustermodus = 0;
  hide();
  SeiteZeichnen(s_);
}
