#include "elements/farbwahl.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "core/klassen.h"
#include "platform/zahlen.h"

// --- Colours ------------------------------------------------------------------------------

int32_t rgbAusFarbe(const QColor& farbe) { return RGB(farbe.red(), farbe.green(), farbe.blue()); }

std::optional<int32_t> FarbeWaehlen(int32_t start, QWidget* eltern) {
  const QColor gewaehlt =
      QColorDialog::getColor(farbeAusRgb(start), eltern, QStringLiteral("Farbe wählen"));
  if (!gewaehlt.isValid()) return std::nullopt;
  return rgbAusFarbe(gewaehlt);
}

QValidator* dreiZiffern(QObject* eltern) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), eltern);
}

QValidator* kleineZahlMitVorzeichen(QObject* eltern) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,2}")), eltern);
}

// --- Farbpalette --------------------------------------------------------------------------

const std::array<int32_t, Farbpalette::Anzahl>& Farbpalette::Farben() {
  static const std::array<int32_t, Anzahl> farben = {
      RGB(0, 0, 0),       RGB(64, 64, 64),    RGB(128, 128, 128),
      RGB(192, 192, 192), RGB(224, 224, 224), RGB(255, 255, 255),  //
      RGB(64, 0, 0),      RGB(128, 0, 0),     RGB(192, 0, 0),
      RGB(255, 0, 0),     RGB(255, 128, 128), RGB(255, 192, 192),  //
      RGB(128, 64, 64),   RGB(128, 64, 0),    RGB(192, 64, 0),
      RGB(255, 128, 0),   RGB(255, 192, 128), RGB(255, 224, 192),  //
      RGB(64, 64, 0),     RGB(128, 128, 0),   RGB(192, 192, 0),
      RGB(255, 255, 0),   RGB(255, 255, 128), RGB(255, 255, 192),  //
      RGB(0, 64, 0),      RGB(0, 128, 0),     RGB(0, 192, 0),
      RGB(0, 255, 0),     RGB(128, 255, 128), RGB(192, 255, 192),  //
      RGB(0, 64, 64),     RGB(0, 128, 128),   RGB(0, 192, 192),
      RGB(0, 255, 255),   RGB(128, 255, 255), RGB(192, 255, 255),  //
      RGB(0, 0, 64),      RGB(0, 0, 128),     RGB(0, 0, 192),
      RGB(0, 0, 255),     RGB(128, 128, 255), RGB(192, 192, 255),  //
      RGB(64, 0, 64),     RGB(128, 0, 128),   RGB(192, 0, 192),
      RGB(255, 0, 255),   RGB(255, 128, 255), RGB(255, 192, 255),
  };
  return farben;
}

Farbpalette::Farbpalette(QWidget* eltern) : QWidget(eltern) {
  setFixedSize(sizeHint());
  setCursor(Qt::PointingHandCursor);
}

int32_t Farbpalette::farbe(int i) const { return Farben().at(i); }

QRect Farbpalette::feldRechteck(int i) const {
  const int zeile = i / Spalten;
  const int spalte = i % Spalten;
  return QRect(spalte * Abstand, zeile * Abstand, Feld, Feld);
}

int Farbpalette::feldBei(const QPoint& punkt) const {
  if (punkt.x() < 0 || punkt.y() < 0) return -1;
  // Neighbouring swatches share their border line; the later one owns it.
  const int spalte = std::min(punkt.x() / Abstand, Spalten - 1);
  const int zeile = std::min(punkt.y() / Abstand, Zeilen - 1);
  const int i = zeile * Spalten + spalte;
  return feldRechteck(i).contains(punkt) ? i : -1;
}

QSize Farbpalette::sizeHint() const {
  return QSize((Spalten - 1) * Abstand + Feld, (Zeilen - 1) * Abstand + Feld);
}

void Farbpalette::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  maler.setPen(QColor(96, 96, 96));
  for (int i = 0; i < Anzahl; ++i) {
    const QRect r = feldRechteck(i);
    maler.fillRect(r, farbeAusRgb(farbe(i)));
    maler.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void Farbpalette::mousePressEvent(QMouseEvent* ereignis) {
  gedrueckt_ = ereignis->button() == Qt::LeftButton ? feldBei(ereignis->position().toPoint()) : -1;
}

void Farbpalette::mouseReleaseEvent(QMouseEvent* ereignis) {
  const int i = feldBei(ereignis->position().toPoint());
  const bool klick = ereignis->button() == Qt::LeftButton && i >= 0 && i == gedrueckt_;
  gedrueckt_ = -1;
  if (klick) emit farbeGewaehlt(farbe(i));
}

// --- Farbanzeige --------------------------------------------------------------------------

Farbanzeige::Farbanzeige(QWidget* eltern) : QWidget(eltern) { setFixedSize(25, 17); }

void Farbanzeige::setzeFarbe(int32_t rgb) {
  if (farbe_ == rgb) return;
  farbe_ = rgb;
  update();
}

void Farbanzeige::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  maler.fillRect(rect(), farbeAusRgb(farbe_));
  maler.setPen(Qt::black);
  maler.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- Markierfeld --------------------------------------------------------------------------

Markierfeld::Markierfeld(Symbol symbol, QWidget* eltern)
    : Klickfeld(eltern), symbol_(std::move(symbol)) {}

void Markierfeld::setzeHintergrund(int32_t rgb) {
  if (hintergrund_ == rgb) return;
  hintergrund_ = rgb;
  update();
}

void Markierfeld::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  maler.fillRect(rect(), farbeAusRgb(hintergrund_));
  maler.setPen(QColor(96, 96, 96));
  maler.drawRect(rect().adjusted(0, 0, -1, -1));
  if (symbol_) {
    maler.save();
    symbol_(maler, rect().adjusted(1, 1, -1, -1));
    maler.restore();
  }
}

void Klickfeld::mousePressEvent(QMouseEvent* ereignis) {
  gedrueckt_ = ereignis->button() == Qt::LeftButton;
}

void Klickfeld::mouseReleaseEvent(QMouseEvent* ereignis) {
  const bool klick = gedrueckt_ && ereignis->button() == Qt::LeftButton &&
                     rect().contains(ereignis->position().toPoint());
  gedrueckt_ = false;
  if (klick) emit geklickt();
}

// --- Richtungswahl ------------------------------------------------------------------------

namespace {

// Grid cell (column, row) of each direction box.
constexpr std::array<QPoint, 9> zellen = {QPoint(1, 1), QPoint(1, 0), QPoint(2, 0),
                                          QPoint(2, 1), QPoint(2, 2), QPoint(1, 2),
                                          QPoint(0, 2), QPoint(0, 1), QPoint(0, 0)};

// An arrow from the centre of the box toward the direction.
Markierfeld::Symbol pfeil(int grad) {
  return [grad](QPainter& maler, const QRect& f) {
    maler.setRenderHint(QPainter::Antialiasing);
    const double bogen = grad * M_PI / 180.0;
    const QPointF mitte = QRectF(f).center();
    const double laenge = std::min(f.width(), f.height()) / 2.0 - 1.5;
    const QPointF richtung(std::cos(bogen), -std::sin(bogen));
    const QPointF spitze = mitte + richtung * laenge;
    const QPointF ende = mitte - richtung * (laenge * 0.6);
    maler.setPen(QPen(Qt::black, 1.2));
    maler.drawLine(ende, spitze);
    const QPointF quer(-richtung.y(), richtung.x());
    QPainterPath kopf;
    kopf.moveTo(spitze);
    kopf.lineTo(spitze - richtung * 4 + quer * 2.5);
    kopf.lineTo(spitze - richtung * 4 - quer * 2.5);
    kopf.closeSubpath();
    maler.fillPath(kopf, Qt::black);
  };
}

// A block shadow: one grey copy of a square behind it; a graded shadow: copies fading from
// the far end to the square.
Markierfeld::Symbol schattentyp(bool verlauf) {
  return [verlauf](QPainter& maler, const QRect& f) {
    const int seite = std::min(f.width(), f.height()) - 10;
    const QRect figur(f.left() + (f.width() - seite) / 2 - 3, f.top() + 3, seite, seite);
    if (verlauf) {
      constexpr int stufen = 6;
      for (int i = stufen; i >= 1; --i) {
        const int grau = 64 + (192 - 64) * (stufen - i) / stufen;
        maler.fillRect(figur.translated(i, i), QColor(grau, grau, grau));
      }
    } else {
      maler.fillRect(figur.translated(5, 5), QColor(128, 128, 128));
    }
    maler.fillRect(figur, Qt::white);
    maler.setPen(Qt::black);
    maler.drawRect(figur.adjusted(0, 0, -1, -1));
  };
}

// The centre of the ring: a small cross.
void zentrumSymbol(QPainter& maler, const QRect& f) {
  const QPoint m = f.center();
  maler.setPen(QColor(64, 64, 64));
  maler.drawLine(m.x() - 3, m.y(), m.x() + 3, m.y());
  maler.drawLine(m.x(), m.y() - 3, m.x(), m.y() + 3);
}

}  // namespace

int Richtungswahl::Winkel(int k) {
  static constexpr std::array<int, 9> winkel = {0, 90, 45, 0, 315, 270, 225, 180, 135};
  return (k >= 1 && k <= 8) ? winkel[k] : 0;
}

int Richtungswahl::Sektor(double winkel) {
  if (winkel < 45) return 3;
  if (winkel < 90) return 2;
  if (winkel < 135) return 1;
  if (winkel < 180) return 8;
  if (winkel < 225) return 7;
  if (winkel < 270) return 6;
  if (winkel < 315) return 5;
  if (winkel < 360) return 4;
  return 0;
}

Richtungswahl::Richtungswahl(const QString& zentrumTip, QWidget* eltern) : QWidget(eltern) {
  setFixedSize(2 * Abstand + Feld, 2 * Abstand + Feld);
  for (int k = 1; k <= 8; ++k) {
    auto* f = new Markierfeld(pfeil(Winkel(k)), this);
    f->setGeometry(zellen[k].x() * Abstand, zellen[k].y() * Abstand, Feld, Feld);
    f->setToolTip(QStringLiteral("%1°").arg(Winkel(k)));
    connect(f, &Markierfeld::geklickt, this, [this, k] { emit geklickt(k); });
    felder_[k] = f;
  }
  if (!zentrumTip.isEmpty()) {
    zentrum_ = new Markierfeld(zentrumSymbol, this);
    zentrum_->setGeometry(Abstand, Abstand, Feld, Feld);
    zentrum_->setToolTip(zentrumTip);
  }
}

void Richtungswahl::alleFaerben(int32_t rgb) {
  for (int k = 1; k <= 8; ++k) felder_[k]->setzeHintergrund(rgb);
}

// --- Farbgruppe ---------------------------------------------------------------------------

Farbgruppe::Farbgruppe(const QString& titel, const QString& tip, QWidget* eltern)
    : QWidget(eltern),
      palette_(new Farbpalette(this)),
      mehr_(new QPushButton(QStringLiteral("Mehr..."), this)),
      anzeige_(new Farbanzeige(this)) {
  auto* spalte = new QVBoxLayout(this);
  spalte->setContentsMargins(0, 0, 0, 0);
  spalte->setSpacing(4);
  auto* beschriftung = new QLabel(titel, this);
  spalte->addWidget(beschriftung);
  spalte->addWidget(palette_);
  if (!tip.isEmpty()) palette_->setToolTip(tip);
  auto* zeile = new QHBoxLayout;
  zeile->setSpacing(6);
  zeile->addWidget(anzeige_);
  mehr_->setAutoDefault(false);
  mehr_->setFixedWidth(palette_->width() - anzeige_->width() - zeile->spacing());
  zeile->addWidget(mehr_);
  zeile->addStretch();
  spalte->addLayout(zeile);
  spalte->addStretch();
}

// --- Farbseite ----------------------------------------------------------------------------

template <class Seite>
void Farbseite::verbinden(Farbgruppe* gruppe, void (Seite::*farbe)(int32_t),
                          void (Seite::*mehr)()) {
  connect(gruppe->palette(), &Farbpalette::farbeGewaehlt, static_cast<Seite*>(this), farbe);
  connect(gruppe->mehr(), &QPushButton::clicked, static_cast<Seite*>(this), mehr);
}

void Farbseite::zeichnen() {
  if (u_ && u_->neuZeichnen) u_->neuZeichnen();
}

void Farbseite::farbeSetzen(int32_t* farbe, int32_t neu, Farbanzeige* anzeige) {
  *farbe = neu;
  zeichnen();
  anzeige->setzeFarbe(*farbe);
}

bool Farbseite::farbeWaehlen(int32_t* farbe, Farbanzeige* anzeige,
                             const std::function<void()>& gewaehlt) {
  if (!farbe || !u_ || !u_->farbdialog) return false;
  if (const auto neu = u_->farbdialog(*farbe)) {
    if (gewaehlt) gewaehlt();
    *farbe = *neu;
    zeichnen();
  }
  anzeige->setzeFarbe(*farbe);
  return true;
}

// --- Farbbedienung ------------------------------------------------------------------------

Farbbedienung::Farbbedienung(const Texte& texte, QWidget* eltern)
    : Farbseite(eltern),
      texte_(texte),
      gruppe1_(new Farbgruppe(texte.titel1, QString(), this)),
      gruppe2_(new Farbgruppe(texte.titel2, QString(), this)),
      verlaufSpalte_(new QVBoxLayout) {
  auto* zeile = new QHBoxLayout(this);
  zeile->setContentsMargins(0, 0, 0, 0);
  zeile->setSpacing(16);

  auto* verlauf = new QGroupBox(QStringLiteral("Farbverlauf"), this);
  verlauf->setLayout(verlaufSpalte_);
  const std::array<QString, 4> titel = {QString(), QStringLiteral("kein Farbverlauf"),
                                        QStringLiteral("Farbverlauf links/rechts"),
                                        QStringLiteral("Farbverlauf oben/unten")};
  for (int i = 1; i <= 3; ++i) {
    optVerlauf_[i] = new QRadioButton(titel[i], verlauf);
    verlaufSpalte_->addWidget(optVerlauf_[i]);
    connect(optVerlauf_[i], &QRadioButton::clicked, this, [this, i] { OptVerlauf_Click(i); });
  }
  verlaufSpalte_->addStretch();

  zeile->addWidget(gruppe1_, 0, Qt::AlignTop);
  zeile->addWidget(gruppe2_, 0, Qt::AlignTop);
  zeile->addWidget(verlauf, 1, Qt::AlignTop);

  verbinden(gruppe1_, &Farbbedienung::Schriftfarbe_Click, &Farbbedienung::ComMehr1_Click);
  verbinden(gruppe2_, &Farbbedienung::Farbverlauf_Click, &Farbbedienung::ComMehr2_Click);
}

void Farbbedienung::binden(const Werte& werte, const Dialogumgebung* umgebung) {
  w_ = werte;
  u_ = umgebung;
}

void Farbbedienung::laden() {
  if (!w_.Color1) return;
  Shape1()->setzeFarbe(*w_.Color1);
  Shape2()->setzeFarbe(*w_.Color2);
  const int i = *w_.ColorCircle == 0 ? 1 : *w_.ColorCircle == 1 ? 2 : 3;
  {
    const QSignalBlocker sperre(optVerlauf_[i]);
    optVerlauf_[i]->setChecked(true);
  }
  OptVerlauf_Click(i);
}

void Farbbedienung::OptVerlauf_Click(int i) {
  if (!w_.ColorCircle) return;
  *w_.ColorCircle = static_cast<int16_t>(i - 1);
  zeichnen();
}

void Farbbedienung::Schriftfarbe_Click(int32_t farbe) {
  if (!w_.Color1) return;
  farbeSetzen(w_.Color1, farbe, Shape1());
}

void Farbbedienung::Farbverlauf_Click(int32_t farbe) {
  if (!w_.Color2) return;
  // A gradient colour is chosen to be seen: without a gradient, switch one on.
  if (optVerlauf_[1]->isChecked()) {
    optVerlauf_[2]->setChecked(true);
    OptVerlauf_Click(2);
  }
  farbeSetzen(w_.Color2, farbe, Shape2());
}

void Farbbedienung::ComMehr1_Click() { farbeWaehlen(w_.Color1, Shape1()); }

void Farbbedienung::ComMehr2_Click() {
  if (!farbeWaehlen(w_.Color2, Shape2())) return;
  if (texte_.mehr2SchaltetVerlaufEin && optVerlauf_[1]->isChecked()) {
    optVerlauf_[2]->setChecked(true);
    OptVerlauf_Click(2);
  }
}

// --- Schattenbedienung --------------------------------------------------------------------

Schattenbedienung::Schattenbedienung(const Texte& texte, QWidget* eltern)
    : Farbseite(eltern),
      texte_(texte),
      richtung_(new Richtungswahl(texte.zentrumTip, this)),
      textSchattRich_(new QLineEdit(this)),
      sliderSchatten_(new QSlider(Qt::Horizontal, this)),
      gruppe1_(new Farbgruppe(QStringLiteral("Schattenfarbe"),
                              QStringLiteral("Einstellen der Schattenfarbe"), this)),
      gruppe2_(new Farbgruppe(
          QStringLiteral("Farbverlauf"),
          QStringLiteral("Einstellen der zweiten Schattenfarbe für den Schattenfarbüberlauf"),
          this)) {
  auto* zeile = new QHBoxLayout(this);
  zeile->setContentsMargins(0, 0, 0, 0);
  zeile->setSpacing(16);
  auto* links = new QGridLayout;
  links->setSpacing(8);
  zeile->addLayout(links);

  // Direction: the ring of boxes and the angle in degrees.
  auto* richtungsrahmen = new QGroupBox(QStringLiteral("Schattenrichtung"), this);
  auto* rl = new QHBoxLayout(richtungsrahmen);
  rl->addWidget(richtung_);
  auto* winkelspalte = new QVBoxLayout;
  textSchattRich_->setValidator(dreiZiffern(textSchattRich_));
  textSchattRich_->setMaxLength(3);
  textSchattRich_->setFixedWidth(40);
  textSchattRich_->setToolTip(QStringLiteral("Schattenwinkel in Grad (0-360)"));
  auto* winkelzeile = new QHBoxLayout;
  winkelzeile->addWidget(textSchattRich_);
  winkelzeile->addWidget(new QLabel(QStringLiteral("Grad"), richtungsrahmen));
  winkelspalte->addStretch();
  winkelspalte->addLayout(winkelzeile);
  winkelspalte->addStretch();
  rl->addLayout(winkelspalte);
  links->addWidget(richtungsrahmen, 0, 0);

  // Type: block shadow or graded shadow.
  auto* typrahmen = new QGroupBox(QStringLiteral("Schattentyp"), this);
  auto* tl = new QHBoxLayout(typrahmen);
  const std::array<QString, 3> typTip = {QString(), QStringLiteral("einfacher Blockschatten"),
                                         QStringLiteral("Farbüberlaufender Schatten")};
  for (int k = 1; k <= 2; ++k) {
    typ_[k] = new Markierfeld(schattentyp(k == 2), typrahmen);
    typ_[k]->setFixedSize(37, 33);
    typ_[k]->setToolTip(typTip[k]);
    tl->addWidget(typ_[k]);
    connect(typ_[k], &Markierfeld::geklickt, this, [this, k] { PicSchattTyp_Click(k); });
  }
  tl->addStretch();
  links->addWidget(typrahmen, 0, 1);

  // Length.
  auto* staerkerahmen = new QGroupBox(QStringLiteral("Schattenstärke"), this);
  auto* sl = new QHBoxLayout(staerkerahmen);
  sliderSchatten_->setRange(0, 100);
  sliderSchatten_->setPageStep(10);
  sliderSchatten_->setTickPosition(QSlider::TicksBelow);
  sliderSchatten_->setTickInterval(10);
  sliderSchatten_->setToolTip(texte.staerkeTip);
  sl->addWidget(new QLabel(QStringLiteral("0"), staerkerahmen));
  sl->addWidget(sliderSchatten_, 1);
  sl->addWidget(new QLabel(texte.staerkeEnde, staerkerahmen));
  links->addWidget(staerkerahmen, 1, 0, 1, 2);
  links->setRowStretch(2, 1);

  zeile->addWidget(gruppe1_, 0, Qt::AlignTop);
  zeile->addWidget(gruppe2_, 0, Qt::AlignTop);
  zeile->addStretch();

  connect(richtung_, &Richtungswahl::geklickt, this, &Schattenbedienung::PicSchattRich_Click);
  connect(textSchattRich_, &QLineEdit::textEdited, this, &Schattenbedienung::TextSchattRich_Change);
  connect(sliderSchatten_, &QSlider::valueChanged, this, &Schattenbedienung::SliderSchatten_Change);
  verbinden(gruppe1_, &Schattenbedienung::PicSchattFarb1_Click,
            &Schattenbedienung::CommandMehr1_Click);
  verbinden(gruppe2_, &Schattenbedienung::PicSchattFarb2_Click,
            &Schattenbedienung::CommandMehr2_Click);
}

void Schattenbedienung::binden(const Werte& werte, const Dialogumgebung* umgebung) {
  w_ = werte;
  u_ = umgebung;
}

void Schattenbedienung::typMarkieren(int k) {
  if (!u_) return;
  typ_[1]->setzeHintergrund(u_->normalFarbe);
  typ_[2]->setzeHintergrund(u_->normalFarbe);
  typ_[k]->setzeHintergrund(u_->markierFarbe);
}

void Schattenbedienung::laden() {
  if (!w_.ShadowAngle) return;
  // Type 1 is the block shadow; every other value draws the graded one.
  typMarkieren(*w_.ShadowType == 1 ? 1 : 2);
  textSchattRich_->setText(QString::number(*w_.ShadowAngle));
  TextSchattRich_Change();
  {
    const QSignalBlocker sperre(sliderSchatten_);
    sliderSchatten_->setValue(*w_.ShadowDeep);
  }
  SliderSchatten_Change(sliderSchatten_->value());
  Shape3()->setzeFarbe(*w_.ShadowColor1);
  Shape4()->setzeFarbe(*w_.ShadowColor2);
}

void Schattenbedienung::PicSchattRich_Click(int k) {
  if (!w_.ShadowAngle || !u_ || k < 1 || k > 8) return;
  richtung_->alleFaerben(u_->normalFarbe);
  richtung_->feld(k)->setzeHintergrund(u_->markierFarbe);
  textSchattRich_->setText(QString::number(Richtungswahl::Winkel(k)));
  TextSchattRich_Change();
}

void Schattenbedienung::TextSchattRich_Change() {
  if (!w_.ShadowAngle || !u_) return;
  if (zahlen::Val(textSchattRich_->text()) > 359) textSchattRich_->setText(QStringLiteral("0"));
  richtung_->alleFaerben(u_->normalFarbe);
  *w_.ShadowAngle = zahlen::int16Begrenzt(zahlen::Val(textSchattRich_->text()));
  zeichnen();
  if (const int k = Richtungswahl::Sektor(*w_.ShadowAngle))
    richtung_->feld(k)->setzeHintergrund(u_->markierFarbe);
}

void Schattenbedienung::SliderSchatten_Change(int wert) {
  if (!w_.ShadowDeep) return;
  *w_.ShadowDeep = static_cast<int16_t>(wert);
  zeichnen();
}

void Schattenbedienung::PicSchattTyp_Click(int k) {
  if (!w_.ShadowType || k < 1 || k > 2) return;
  typMarkieren(k);
  *w_.ShadowType = static_cast<int16_t>(k);
  zeichnen();
}

void Schattenbedienung::laengeSichern() {
  // A shadow colour is chosen to be seen: a shadow without length gets one.
  if (*w_.ShadowDeep != 0) return;
  *w_.ShadowDeep = Anfangslaenge;
  const QSignalBlocker sperre(sliderSchatten_);
  sliderSchatten_->setValue(Anfangslaenge);
}

void Schattenbedienung::PicSchattFarb1_Click(int32_t farbe) {
  if (!w_.ShadowColor1) return;
  laengeSichern();
  farbeSetzen(w_.ShadowColor1, farbe, Shape3());
}

void Schattenbedienung::PicSchattFarb2_Click(int32_t farbe) {
  if (!w_.ShadowColor2) return;
  laengeSichern();
  // The second colour only shows in a graded shadow.
  typMarkieren(2);
  *w_.ShadowType = 2;
  farbeSetzen(w_.ShadowColor2, farbe, Shape4());
}

void Schattenbedienung::CommandMehr1_Click() { farbeWaehlen(w_.ShadowColor1, Shape3()); }

void Schattenbedienung::CommandMehr2_Click() {
  // The second colour only shows in a graded shadow.
  farbeWaehlen(w_.ShadowColor2, Shape4(), [this] {
    if (!texte_.mehr2WaehltVerlauf) return;
    typMarkieren(2);
    *w_.ShadowType = 2;
  });
}
