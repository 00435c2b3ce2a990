#include "core/frmeinfuegen.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "core/start.h"

frmEinfuegen::frmEinfuegen(Programmzustand& s, QWidget* eltern) : QDialog(eltern), s_(s) {
  setObjectName(QStringLiteral("frmEinfuegen"));
  setWindowTitle(QStringLiteral("Einfügen eines neuen Objekts"));
  setWindowModality(Qt::ApplicationModal);
  setAttribute(Qt::WA_DeleteOnClose, false);

  Label1 = new QLabel(QStringLiteral("Was soll eingefügt werden?"), this);
  Button[1] = new QPushButton(QStringLiteral("Einfache Textzeile"), this);
  Button[3] = new QPushButton(QStringLiteral("Bilddatei"), this);
  Button[4] = new QPushButton(QStringLiteral("Linienobjekt"), this);
  Abbruch = new QPushButton(QStringLiteral("Abbruch"), this);
  Abbruch->setObjectName(QStringLiteral("Abbruch"));

  auto* spalte = new QVBoxLayout(this);
  spalte->addWidget(Label1);
  for (int i : {1, 3, 4}) {
    Button[i]->setObjectName(QStringLiteral("Button_%1").arg(i));
    Button[i]->setAutoDefault(false);
    Button[i]->setMinimumHeight(30);
    spalte->addWidget(Button[i]);
    connect(Button[i], &QPushButton::clicked, this, [this, i] { Button_Click(i); });
  }
  spalte->addSpacing(8);
  Abbruch->setAutoDefault(false);
  spalte->addWidget(Abbruch);
  connect(Abbruch, &QPushButton::clicked, this, &frmEinfuegen::Abbruch_Click);

  // The window manager cuts a caption that does not fit the title bar: the chooser is at
  // least as wide as the caption in the title font (bold, as window managers draw it) with
  // room for the icon and the buttons beside it, each about as wide as the bar is high.
  QFont titelschrift = QApplication::font("QMdiSubWindowTitleBar");
  titelschrift.setBold(true);
  const QFontMetrics titel(titelschrift);
  const int leiste = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), titel.height());
  constexpr int knoepfe = 5;  // icon, minimise, maximise, close and the gaps between
  setMinimumWidth(titel.horizontalAdvance(windowTitle()) + knoepfe * leiste);
  resize(std::max(260, minimumWidth()), 200);
}

void frmEinfuegen::zeigen() {
  show();
  raise();
  activateWindow();
}

namespace {

// Makes room for one more element of a kind (a full list grows by one slot), counts it
// and makes it the current one. Returns its index.
template <typename Element>
int platzSchaffen(std::vector<std::shared_ptr<Element>>& liste, int& anzahl, int& aktuell) {
  if (anzahl >= static_cast<int>(liste.size()) - 1) liste.resize(anzahl + 2);
  anzahl += 1;
  aktuell = anzahl;
  return aktuell;
}

}  // namespace

void frmEinfuegen::Button_Click(int index) {
  if (index != 1 && index != 3 && index != 4) return;
  hide();

  int nummer = 0;
  QString typ;
  if (index == 1) {
    typ = QStringLiteral("Schrift");
    nummer = platzSchaffen(s_.Schriften, s_.AnzahlSchriften, s_.AktuelleSchrift);
  } else if (index == 3) {
    typ = QStringLiteral("Bild");
    nummer = platzSchaffen(s_.Bilder, s_.AnzahlBilder, s_.AktuellesBild);
  } else {
    typ = QStringLiteral("Linie");
    nummer = platzSchaffen(s_.Linien, s_.AnzahlLinien, s_.AktuelleLinie);
  }

  // The new frame goes to the end of the frame list and becomes the selected one.
  NeuerRahmen(s_, s_.AnzahlRahmen + 1, typ, nummer);
  s_.AktuellerRahmen = s_.AnzahlRahmen;
  if (index == 1)
    NeueSchrift(s_, nummer);
  else if (index == 3)
    NeuesBild(s_, nummer);
  else
    NeueLinie(s_, nummer);
  ClassRahmen& rahmen = s_.rahmen(s_.AktuellerRahmen);
  rahmen.Objektnummer = static_cast<double>(nummer);
  if (index == 3) rahmen.Proportional = true;

  // Hidden until the user has drawn its rectangle on the page.
  rahmen.Sichtbar = false;
  s_.Einfuegemodus = 1;
  s_.fenster->AuswahlVerbergen();
  s_.fenster->FadenkreuzZeigen(true);
}

void frmEinfuegen::Abbruch_Click() { hide(); }

void frmEinfuegen::reject() { Abbruch_Click(); }
