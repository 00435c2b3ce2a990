#include "elements/musterdialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/klassen.h"
#include "core/programmzustand.h"
#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"
#include "platform/einheiten.h"

Musterdialog::Musterdialog(Programmzustand& s, const QString& titel, QWidget* eltern)
    : QDialog(eltern), s_(s) {
  setWindowTitle(titel);
  setWindowModality(Qt::ApplicationModal);
  farbdialog = [this](int32_t start) { return FarbeWaehlen(start, this); };
  umgebung_.farbdialog = [this](int32_t start) -> std::optional<int32_t> {
    if (!farbdialog) return std::nullopt;
    return farbdialog(start);
  };
  // The samples are drawn at the pixel density of the screen the dialog is on.
  new Pixelverhaeltnisfolger(
      this,
      [this] {
        std::vector<Bildflaeche*> flaechen;
        for (const auto& m : muster_) flaechen.push_back(m.get());
        return flaechen;
      },
      [this] {
        if (umgebung_.neuZeichnen) umgebung_.neuZeichnen();
      });
}

Musterdialog::~Musterdialog() = default;

Farbanzeige* Musterdialog::Shape(int i) const {
  switch (i) {
    case 1:
      return farbe_->Shape1();
    case 2:
      return farbe_->Shape2();
    case 3:
      return schatten_->Shape3();
    case 4:
      return schatten_->Shape4();
    default:
      return nullptr;
  }
}

void Musterdialog::aktivierungBeginnen() {
  {
    const QSignalBlocker sperre(tabStrip_);
    tabStrip_->setCurrentIndex(0);
  }
  s_.Mustermodus = -1;
  umgebung_.markierFarbe = static_cast<int32_t>(s_.MarkierFarbe);
  umgebung_.normalFarbe = static_cast<int32_t>(s_.NormalFarbe);
}

void Musterdialog::vorneZeigen() {
  show();
  raise();
  activateWindow();
}

int Musterdialog::sichtbareSeite() const { return tabStrip_ ? tabStrip_->currentIndex() + 1 : 0; }

QWidget* Musterdialog::seiteMitMuster(int i, QWidget* inhalt) {
  auto* seite = new QWidget;
  auto* spalte = new QVBoxLayout(seite);
  spalte->setContentsMargins(9, 9, 9, 9);
  spalte->addWidget(inhalt, 1);

  muster_[i] = std::make_unique<Bildflaeche>(MusterBreite, MusterHoehe);
  muster_[i]->BackColor = RGB(255, 255, 255);
  muster_[i]->Cls();
  auto* rahmen = new QFrame(seite);
  rahmen->setFrameStyle(QFrame::Box | QFrame::Plain);
  rahmen->setLineWidth(1);
  auto* rl = new QHBoxLayout(rahmen);
  rl->setContentsMargins(1, 1, 1, 1);
  anzeige_[i] = new Flaechenanzeige(muster_[i].get(), rahmen);
  anzeige_[i]->setFixedSize(muster_[i]->pixelgroesse());
  anzeige_[i]->setToolTip(QStringLiteral("Anzeige der Schriftprobe"));
  rl->addWidget(anzeige_[i]);
  auto* unten = new QHBoxLayout;
  unten->addWidget(rahmen);
  unten->addStretch();
  spalte->addLayout(unten);
  frame1_[i] = seite;
  return seite;
}

std::pair<QPushButton*, QPushButton*> Musterdialog::aufbauen(std::initializer_list<Seite> seiten) {
  auto* haupt = new QVBoxLayout(this);
  haupt->setContentsMargins(8, 8, 8, 8);
  tabStrip_ = new QTabWidget(this);
  haupt->addWidget(tabStrip_, 1);
  int i = 0;
  for (const Seite& seite : seiten) {
    ++i;
    tabStrip_->addTab(seiteMitMuster(i, seite.inhalt), QString::fromUtf8(seite.titel));
    tabStrip_->setTabToolTip(i - 1, QString::fromUtf8(seite.tip));
    if (seite.schluessel)
      tabStrip_->tabBar()->setTabData(i - 1, QString::fromUtf8(seite.schluessel));
  }
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch();
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  auto* abbruch = new QPushButton(QStringLiteral("Abbruch"), this);
  ok->setDefault(true);
  abbruch->setAutoDefault(false);
  for (QPushButton* knopf : {ok, abbruch}) {
    knopf->setMinimumWidth(90);
    knoepfe->addWidget(knopf);
  }
  haupt->addLayout(knoepfe);
  resize(static_cast<int>(einheiten::pixelAusTwips(einheiten::kElementdialogBreite)),
         static_cast<int>(einheiten::pixelAusTwips(einheiten::kElementdialogHoehe)));
  return {ok, abbruch};
}
