#include "elements/text/frmschrift.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "elements/text/schrift_zeichnen.h"
#include "elements/text/schriftboxen.h"
#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"
#include "platform/zahlen.h"

namespace {

// Smallest size a typed font size may have, in points.
constexpr double kleinsteGroesse = 6;

// `von` with the fields the dialog does not edit taken from `ziel`: where the text lies (x,
// Top, widht), its level z and Data. Element and working copy each keep their own.
ClassSchrift mitEigenerLage(ClassSchrift von, const ClassSchrift& ziel) {
  von.Data = ziel.Data;
  von.x = ziel.x;
  von.Top = ziel.Top;
  von.widht = ziel.widht;
  von.z = ziel.z;
  return von;
}

}  // namespace

frmSchrift::frmSchrift(Programmzustand& s, QWidget* eltern)
    : Musterdialog(s, QStringLiteral("Einstellen der Schrift"), eltern) {
  umgebung_.neuZeichnen = [this] { MusterZeichnen(); };
  bauen();
}

frmSchrift::~frmSchrift() = default;

// --- Building the form --------------------------------------------------------------------

void frmSchrift::bauen() {
  farbe_ = new Farbbedienung({QStringLiteral("Schriftfarbe"), QStringLiteral("Farbverlauf"), false},
                             nullptr);
  schatten_ = new Schattenbedienung({QStringLiteral("Einstellen der Schattenstärke (100% = "
                                                    "Schriftgröße)"),
                                     QStringLiteral("100 %"), QString(), false},
                                    nullptr);

  std::tie(commandOK_, commandAbbruch_) = aufbauen({
      {"Font", "Einstellen der Schriftart", baueFontseite(), "Font"},
      {"Farbe", "Einstellen der Schriftfarbe", farbe_, "Farbe"},
      {"Schatten", "Einstellen des Schriftschattens", schatten_, "Schatten"},
      {"Winkel und Abstände", "Einstellen des Schriftwinkels und der Buchstabenabstände",
       baueWinkelseite(), "Winkel"},
  });
  connect(tabStrip_, &QTabWidget::currentChanged, this, &frmSchrift::TabStripSchrift_Click);
  connect(commandOK_, &QPushButton::clicked, this, &frmSchrift::CommandOK_Click);
  connect(commandAbbruch_, &QPushButton::clicked, this, &frmSchrift::CommandAbbruch_Click);
}

QWidget* frmSchrift::baueFontseite() {
  auto* w = new QWidget;
  auto* g = new QGridLayout(w);
  g->setContentsMargins(0, 0, 0, 0);
  g->setHorizontalSpacing(12);
  g->setVerticalSpacing(6);

  g->addWidget(new QLabel(QStringLiteral("Text"), w), 0, 0, 1, 3);
  schrifttext_ = new QLineEdit(w);
  g->addWidget(schrifttext_, 1, 0, 1, 3);

  auto* pruefzeile = new QHBoxLayout;
  check1_ = new QCheckBox(QStringLiteral("Sichtbar"), w);
  check3_ = new QCheckBox(QStringLiteral("Unterstrichen"), w);
  check4_ = new QCheckBox(QStringLiteral("Durchgestrichen"), w);
  pruefzeile->addWidget(check1_);
  pruefzeile->addSpacing(12);
  pruefzeile->addWidget(check3_);
  pruefzeile->addSpacing(12);
  pruefzeile->addWidget(check4_);
  pruefzeile->addStretch();
  g->addLayout(pruefzeile, 2, 0, 1, 3);
  g->setRowMinimumHeight(3, 8);

  g->addWidget(new QLabel(QStringLiteral("Schriftart"), w), 4, 0);
  g->addWidget(new QLabel(QStringLiteral("Schriftstil"), w), 4, 1);
  g->addWidget(new QLabel(QStringLiteral("Größe"), w), 4, 2);
  combo1_ = new QComboBox(w);
  combo1_->setToolTip(
      QStringLiteral("Liste der wählbaren TrueType Fonts (andere Fonts sind nicht drehbar)"));
  combo1_->setMinimumWidth(220);
  combo1_->setMaxVisibleItems(20);
  combo2_ = new QComboBox(w);
  combo2_->setToolTip(QStringLiteral("Schriftendarstellung"));
  combo3_ = new QComboBox(w);
  combo3_->setEditable(true);
  combo3_->setInsertPolicy(QComboBox::NoInsert);
  // Typed sizes are taken as typed: no completion to a listed size.
  combo3_->setCompleter(nullptr);
  combo3_->setToolTip(QStringLiteral("Schriftgröße in Punkten"));
  combo3_->setMaxVisibleItems(16);
  combo3_->setFixedWidth(70);
  g->addWidget(combo1_, 5, 0);
  g->addWidget(combo2_, 5, 1);
  g->addWidget(combo3_, 5, 2);
  g->setColumnStretch(0, 2);
  g->setColumnStretch(1, 1);
  g->setRowStretch(6, 1);

  connect(check1_, &QCheckBox::clicked, this, [this] { Check_Click(1); });
  connect(check3_, &QCheckBox::clicked, this, [this] { Check_Click(3); });
  connect(check4_, &QCheckBox::clicked, this, [this] { Check_Click(4); });
  connect(combo1_, &QComboBox::activated, this, [this] { Combo1_Click(); });
  connect(combo2_, &QComboBox::activated, this, [this] { Combo2_Click(); });
  connect(combo3_, &QComboBox::activated, this, &frmSchrift::Combo3_Click);
  connect(combo3_->lineEdit(), &QLineEdit::textEdited, this, &frmSchrift::Combo3_Change);
  return w;
}

QWidget* frmSchrift::baueWinkelseite() {
  auto* w = new QWidget;
  auto* g = new QGridLayout(w);
  g->setContentsMargins(0, 0, 0, 0);
  g->setSpacing(10);

  auto* winkelrahmen = new QGroupBox(QStringLiteral("Schriftwinkel"), w);
  auto* wl = new QHBoxLayout(winkelrahmen);
  sliderAngle_ = new QSlider(Qt::Horizontal, winkelrahmen);
  sliderAngle_->setRange(0, 360);
  sliderAngle_->setPageStep(15);
  sliderAngle_->setTickPosition(QSlider::TicksBelow);
  sliderAngle_->setTickInterval(45);
  maskEdBoxAngle_ = new QLineEdit(winkelrahmen);
  maskEdBoxAngle_->setValidator(dreiZiffern(maskEdBoxAngle_));
  maskEdBoxAngle_->setMaxLength(3);
  maskEdBoxAngle_->setFixedWidth(40);
  wl->addWidget(sliderAngle_, 1);
  wl->addWidget(maskEdBoxAngle_);
  wl->addWidget(new QLabel(QStringLiteral("Grad"), winkelrahmen));
  g->addWidget(winkelrahmen, 0, 0, 1, 2);

  auto* abstandrahmen = new QGroupBox(QStringLiteral("Buchstabenabstand"), w);
  auto* al = new QHBoxLayout(abstandrahmen);
  sliderSpace_ = new QSlider(Qt::Horizontal, abstandrahmen);
  sliderSpace_->setRange(-5, 15);
  sliderSpace_->setPageStep(5);
  sliderSpace_->setTickPosition(QSlider::TicksBelow);
  sliderSpace_->setTickInterval(5);
  maskEdBoxSpace_ = new QLineEdit(abstandrahmen);
  maskEdBoxSpace_->setValidator(kleineZahlMitVorzeichen(maskEdBoxSpace_));
  maskEdBoxSpace_->setMaxLength(3);
  maskEdBoxSpace_->setFixedWidth(40);
  maskEdBoxSpace_->setToolTip(QStringLiteral("Abstand zwischen den einzelnen Zeichen"));
  al->addWidget(sliderSpace_, 1);
  al->addWidget(maskEdBoxSpace_);
  al->addWidget(new QLabel(QStringLiteral("Pixel"), abstandrahmen));
  g->addWidget(abstandrahmen, 1, 0, 1, 2);

  const std::array<const char*, 7> titel = {"",     "Linksbündig", "zentriert", "rechtbündig",
                                            "oben", "zentriert",   "unten"};
  auto* horizontal = new QGroupBox(QStringLiteral("Horizontale Ausrichtung"), w);
  auto* vertikal = new QGroupBox(QStringLiteral("Vertikale Ausrichtung"), w);
  auto* hl = new QVBoxLayout(horizontal);
  auto* vl = new QVBoxLayout(vertikal);
  for (int i = 1; i <= 6; ++i) {
    QGroupBox* gruppe = i <= 3 ? horizontal : vertikal;
    optAus_[i] = new QRadioButton(QString::fromUtf8(titel[i]), gruppe);
    (i <= 3 ? hl : vl)->addWidget(optAus_[i]);
    connect(optAus_[i], &QRadioButton::clicked, this, [this, i] { OptAus_Click(i); });
  }
  g->addWidget(horizontal, 2, 0);
  g->addWidget(vertikal, 2, 1);
  g->setRowStretch(3, 1);

  connect(sliderAngle_, &QSlider::valueChanged, this, &frmSchrift::SliderAngle_Change);
  connect(maskEdBoxAngle_, &QLineEdit::textEdited, this, [this] { MaskEdBoxAngle_Change(); });
  connect(sliderSpace_, &QSlider::valueChanged, this, &frmSchrift::SliderSpace_Change);
  connect(maskEdBoxSpace_, &QLineEdit::textEdited, this, [this] { MaskEdBoxSpace_Change(); });
  return w;
}

// --- Loading and showing --------------------------------------------------------------------

void frmSchrift::Form_Load() {
  geladen_ = true;
  schriftboxenFuellen(s_, combo1_, combo2_, combo3_);

  // The sample frame fills the sample picture.
  ClassRahmen& r = *s_.MusterRahmen;
  r.x = 0;
  r.y = 0;
  r.Breite = zahlen::int32Begrenzt(muster_[1]->Width() / s_.TwipsProEinheit);
  r.Hoehe = zahlen::int32Begrenzt(muster_[1]->Height() / s_.TwipsProEinheit);
}

void frmSchrift::zeigen() {
  if (!s_.hatSchrift(s_.AktuelleSchrift)) return;
  // The font table is complete once the main window has loaded; a dialog built before
  // that fills its font box at its first showing.
  if (!geladen_ || combo1_->count() == 0) Form_Load();
  Form_Activate();
  vorneZeigen();
}

void frmSchrift::Form_Activate() {
  aktivierungBeginnen();

  const ClassSchrift& e = s_.schrift(s_.AktuelleSchrift);
  ClassSchrift& m = *s_.MusterSchrift;
  m = mitEigenerLage(e, m);
  m.Textstring = QStringLiteral("Muster");
  farbe_->binden({&m.Color1, &m.Color2, &m.ColorCircle}, &umgebung_);
  schatten_->binden(
      {&m.ShadowAngle, &m.ShadowDeep, &m.ShadowType, &m.ShadowColor1, &m.ShadowColor2}, &umgebung_);

  // The controls take the working copy's values; where setting a control runs its handler,
  // the handler writes the value the control shows back into the copy.
  zeichnenAufgeschoben_ = true;

  maskEdBoxAngle_->setText(QString::number(m.Angle));
  MaskEdBoxAngle_Change();

  const int h = m.AusrichtungH == 0 ? 1 : m.AusrichtungH == 1 ? 2 : 3;
  const int v = m.AusrichtungV == 0 ? 4 : m.AusrichtungV == 1 ? 5 : 6;
  optAus_[h]->setChecked(true);
  OptAus_Click(h);
  optAus_[v]->setChecked(true);
  OptAus_Click(v);

  combo2_->setCurrentIndex(m.Bold && m.Italic ? 3 : m.Bold ? 1 : m.Italic ? 2 : 0);
  Combo2_Click();

  // A face that is not installed keeps its name: the box shows it without selecting an
  // item, and only a face the user picks replaces it.
  const int name = combo1_->findText(m.fontname, Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo1_->setPlaceholderText(m.fontname);
  combo1_->setCurrentIndex(name);
  if (name >= 0) Combo1_Click();

  // Sizes are compared as numbers, so that the item "12" is found for the size 12.
  const std::optional<double> groesse = varianteZahl(m.FontSize);
  const int eintrag = groesse ? groessenEintrag(*combo3_, *groesse) : -1;
  if (eintrag >= 0) {
    combo3_->setCurrentIndex(eintrag);
    Combo3_Click(eintrag);
  } else {
    const QString text = groesse ? zahlen::schreibePunkt(*groesse) : varianteText(m.FontSize);
    combo3_->setCurrentIndex(-1);
    combo3_->setEditText(text);
    Combo3_Change(text);
  }

  check1_->setChecked(m.Sichtbar);
  check4_->setChecked(m.Strike);
  check3_->setChecked(m.Underline);

  farbe_->laden();
  schatten_->laden();

  maskEdBoxSpace_->setText(QString::number(m.CharSpace));
  MaskEdBoxSpace_Change();

  schrifttext_->setText(e.Textstring);
  schrifttext_->setCursorPosition(0);

  zeichnenAufgeschoben_ = false;
  MusterZeichnen();
}

// --- Sample -------------------------------------------------------------------------------

void frmSchrift::MusterZeichnen() {
  if (zeichnenAufgeschoben_) return;
  const int k = sichtbareSeite();
  if (k < 1 || k > 4) return;
  SchriftZeichnen(s_, *muster_[k], *s_.MusterSchrift, *s_.MusterRahmen);
  anzeige_[k]->update();
}

void frmSchrift::TabStripSchrift_Click(int) { MusterZeichnen(); }

// --- Handlers -------------------------------------------------------------------------------

void frmSchrift::Check_Click(int i) {
  ClassSchrift& m = *s_.MusterSchrift;
  switch (i) {
    case 1:
      // Visibility does not show in the sample, which draws hidden texts too.
      m.Sichtbar = check1_->isChecked();
      return;
    case 3:
      m.Underline = check3_->isChecked();
      break;
    case 4:
      m.Strike = check4_->isChecked();
      break;
    default:
      return;
  }
  MusterZeichnen();
}

void frmSchrift::Combo1_Click() {
  s_.MusterSchrift->fontname = combo1_->currentText();
  MusterZeichnen();
}

void frmSchrift::Combo2_Click() {
  stilSetzen(*s_.MusterSchrift, combo2_->currentText());
  MusterZeichnen();
}

void frmSchrift::Combo3_Click(int index) {
  if (index < 0 || index >= combo3_->count()) return;
  s_.MusterSchrift->FontSize = zahlen::Val(combo3_->itemText(index));
  MusterZeichnen();
}

void frmSchrift::Combo3_Change(const QString& text) {
  s_.MusterSchrift->FontSize = std::max(zahlen::Val(text), kleinsteGroesse);
  MusterZeichnen();
}

void frmSchrift::SliderAngle_Change(int wert) {
  ClassSchrift& m = *s_.MusterSchrift;
  if (wert == m.Angle) return;
  m.Angle = static_cast<int16_t>(wert);
  maskEdBoxAngle_->setText(QString::number(m.Angle));
  MusterZeichnen();
}

void frmSchrift::MaskEdBoxAngle_Change() {
  ClassSchrift& m = *s_.MusterSchrift;
  if (zahlen::Val(maskEdBoxAngle_->text()) > 360) maskEdBoxAngle_->setText(QStringLiteral("0"));
  m.Angle = zahlen::int16Begrenzt(zahlen::Val(maskEdBoxAngle_->text()));
  {
    const QSignalBlocker sperre(sliderAngle_);
    sliderAngle_->setValue(m.Angle);
  }
  MusterZeichnen();
}

void frmSchrift::SliderSpace_Change(int wert) {
  ClassSchrift& m = *s_.MusterSchrift;
  m.CharSpace = static_cast<int16_t>(wert);
  maskEdBoxSpace_->setText(QString::number(m.CharSpace));
  MusterZeichnen();
}

void frmSchrift::MaskEdBoxSpace_Change() {
  ClassSchrift& m = *s_.MusterSchrift;
  const double wert = zahlen::Val(maskEdBoxSpace_->text());
  if (wert > sliderSpace_->maximum())
    maskEdBoxSpace_->setText(QString::number(sliderSpace_->maximum()));
  if (wert < sliderSpace_->minimum())
    maskEdBoxSpace_->setText(QString::number(sliderSpace_->minimum()));
  m.CharSpace = zahlen::int16Begrenzt(zahlen::Val(maskEdBoxSpace_->text()));
  {
    const QSignalBlocker sperre(sliderSpace_);
    sliderSpace_->setValue(m.CharSpace);
  }
  MusterZeichnen();
}

void frmSchrift::OptAus_Click(int i) {
  // The sample centres the text whatever its alignment; nothing to redraw.
  if (i >= 1 && i <= 3) s_.MusterSchrift->AusrichtungH = static_cast<int16_t>(i - 1);
  if (i >= 4 && i <= 6) s_.MusterSchrift->AusrichtungV = static_cast<int16_t>(i - 4);
}

void frmSchrift::CommandOK_Click() {
  hide();
  const int nr = s_.AktuelleSchrift;
  if (!s_.hatSchrift(nr)) {
    s_.Mustermodus = 0;
    return;
  }
  ClassSchrift& e = s_.schrift(nr);
  ClassSchrift neu = mitEigenerLage(*s_.MusterSchrift, e);
  neu.Textstring = schrifttext_->text();
  // A rotated text turns about its centre and is always centred in its frame.
  if (neu.Angle > 0) {
    neu.AusrichtungH = 1;
    neu.AusrichtungV = 1;
  }
  e = neu;

  if (nr <= AnzahlFeldtexte) s_.fenster->setzeText1(nr, schrifttext_->text());
  s_.Mustermodus = 0;
  // An inserted text left without a text is removed (after asking).
  if (e.Textstring.isEmpty() && nr > AnzahlFeldtexte) RahmenLoeschen(s_);
  s_.fenster->MarkierungZeigen();
  SeiteZeichnen(s_);
}

void frmSchrift::CommandAbbruch_Click() {
  hide();
  s_.Mustermodus = 0;
  // A newly inserted text frame that never received a text is removed (after asking).
  const int nr = s_.AktuelleSchrift;
  if (s_.hatSchrift(nr) && nr > AnzahlFeldtexte && s_.schrift(nr).Textstring.isEmpty())
    RahmenLoeschen(s_);
}
