// The main window's side panels: the sender fields ("Name", "Bank"), the layout presets with
// the reset to the last snapshot, and the address record with its data control and search.
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "core/dialogauswahl.h"
#include "core/programmzustand.h"
#include "core/seite_zeichnen.h"
#include "io/dateinamen.h"
#include "io/dokument.h"
#include "io/layout.h"
#include "platform/datensteuerung.h"
#include "platform/feldbindung.h"
#include "ui/adressen.h"
#include "ui/datensteuerleiste.h"
#include "ui/frmmain.h"
#include "ui/frmsuchen.h"
#include "ui/symbole.h"

namespace {

// Side-panel geometry in pixels: rows 480 twips apart, labels left of the fields.
constexpr int kZeilenAbstand = 28;
constexpr int kZeilenOben = 8;
constexpr int kFeldLinks = 76;
constexpr int kFeldBreite = 190;
constexpr int kFeldHoehe = 22;
constexpr int kPanelBreite = kFeldLinks + kFeldBreite + 8;

struct Feldbeschriftung {
  int feld;
  const char* text;
};

// Captions of the side-panel fields, panel by panel.
constexpr Feldbeschriftung kNamePanel[] = {
    {1, "Firma"}, {2, "Name"},   {3, "Straße"}, {4, "PLZ-Ort"},   {5, "Telefon"},
    {6, "Mobil"}, {7, "E-Mail"}, {8, "Fax"},    {9, "Sonstiges"}, {10, "Sonstiges"}};
constexpr Feldbeschriftung kBankPanel[] = {
    {11, "Bank"},    {12, "BLZ"},    {13, "Konto"}, {14, "Bank 2"},  {15, "BLZ 2"},
    {16, "Konto 2"}, {17, "Bank 3"}, {18, "BLZ 3"}, {19, "Konto 3"}, {20, "..."}};
constexpr Feldbeschriftung kAdressePanel[] = {
    {21, "Firma"}, {22, "Anrede"}, {23, "Vorname"}, {24, "Nachname"}, {25, "Straße"},
    {26, "PLZ"},   {27, "Ort"},    {28, "..."},     {29, "..."},      {30, "Kategorie"}};

// The database field bound to side-panel field 21 + i.
const char* const kAdressfelder[] = {"Firma", "Anrede", "Vorname",     "Nachname",    "Straße",
                                     "PLZ",   "Ort",    "Sonstiges 1", "Sonstiges 2", "Gruppe"};

}  // namespace

int frmMain::bauePanels() {
  frame1_ = new QStackedWidget;
  frame1_->setObjectName(QStringLiteral("Frame1"));

  auto feldReihe = [this](QWidget* panel, const Feldbeschriftung& b, int zeile) {
    auto* beschriftung = new QLabel(QString::fromUtf8(b.text), panel);
    beschriftung->setGeometry(0, kZeilenOben + kZeilenAbstand * zeile, kFeldLinks - 4, kFeldHoehe);
    beschriftung->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* feld = new QLineEdit(panel);
    feld->setObjectName(QStringLiteral("Text1_%1").arg(b.feld));
    feld->setGeometry(kFeldLinks, kZeilenOben + kZeilenAbstand * zeile, kFeldBreite, kFeldHoehe);
    beschriftung->setBuddy(feld);
    text1_[b.feld] = feld;
    const int i = b.feld;
    connect(feld, &QLineEdit::textEdited, this, [this, i] { Text1_Change(i); });
    feld->installEventFilter(this);
  };
  auto neuesPanel = [this](const QString& name, int hoehe) {
    auto* panel = new QWidget;
    panel->setObjectName(name);
    panel->setProperty("noetig", QSize(kPanelBreite, hoehe));
    frame1_->addWidget(panel);
    return panel;
  };
  const int feldHoehe = kZeilenOben + kZeilenAbstand * 10;

  QWidget* name = neuesPanel(QStringLiteral("Frame1_1"), feldHoehe);
  for (int k = 0; k < 10; ++k) feldReihe(name, kNamePanel[k], k);
  QWidget* bank = neuesPanel(QStringLiteral("Frame1_2"), feldHoehe);
  for (int k = 0; k < 10; ++k) feldReihe(bank, kBankPanel[k], k);

  // "Layout": five preset buttons and the reset of the snapshot.
  QWidget* layout = neuesPanel(QStringLiteral("Frame1_3"), 220);
  auto* raster = new QGridLayout(layout);
  raster->setContentsMargins(0, kZeilenOben, 0, 0);
  for (int n = 1; n <= 5; ++n) {
    auto* knopf = new QPushButton(layout);
    knopf->setObjectName(QStringLiteral("Command4_%1").arg(n));
    knopf->setIcon(symbol(QStringLiteral("Layout%1").arg(n)));
    knopf->setIconSize(QSize(40, 40));
    knopf->setMinimumSize(64, 56);
    knopf->setToolTip(QStringLiteral("Layout %1").arg(n));
    raster->addWidget(knopf, (n - 1) / 3, (n - 1) % 3);
    connect(knopf, &QPushButton::clicked, this, [this, n] { Command4_Click(n); });
    command4_[n] = knopf;
  }
  cmdzuruecksetzen_ = new QPushButton(QStringLiteral("Zurücksetzen"), layout);
  cmdzuruecksetzen_->setObjectName(QStringLiteral("cmdzuruecksetzen"));
  raster->addWidget(cmdzuruecksetzen_, 2, 0, 1, 3);
  connect(cmdzuruecksetzen_, &QPushButton::clicked, this, &frmMain::cmdzuruecksetzen_Click);
  raster->setRowStretch(3, 1);

  // "Adresse": the bound fields, the data control, the record number and the buttons.
  QWidget* adresse = neuesPanel(QStringLiteral("Frame1_4"), feldHoehe + 90);
  for (int k = 0; k < 10; ++k) feldReihe(adresse, kAdressePanel[k], k);
  data1_ = std::make_unique<Datensteuerung>();
  data1_->setCaption(QStringLiteral("  Adressendatenbank"));
  data1Leiste_ = new Datensteuerleiste(data1_.get(), adresse);
  data1Leiste_->setObjectName(QStringLiteral("Data1"));
  data1Leiste_->setGeometry(0, feldHoehe, kPanelBreite - 8, 26);
  data1Leiste_->setzeMeldung(
      [this](const QString& text) { Meldung(text, QString(), Knoepfe::Ok, Symbol::Keins); });
  for (int k = 0; k < 10; ++k)
    bindeFeld(*data1_, text1_[21 + k], QString::fromUtf8(kAdressfelder[k]));

  auto* nummerText = new QLabel(QStringLiteral("Nr."), adresse);
  nummerText->setGeometry(0, feldHoehe + 30, kFeldLinks - 4, kFeldHoehe);
  textDatensatznummer_ = new QLineEdit(adresse);
  textDatensatznummer_->setObjectName(QStringLiteral("TextDatensatznummer"));
  textDatensatznummer_->setGeometry(kFeldLinks, feldHoehe + 30, 60, kFeldHoehe);
  nummerText->setBuddy(textDatensatznummer_);
  bindeDatensatznummer(*data1_, textDatensatznummer_);

  cmdadd_ = new QPushButton(QStringLiteral("Einfügen"), adresse);
  cmdadd_->setObjectName(QStringLiteral("cmdadd"));
  cmddelete_ = new QPushButton(QStringLiteral("Löschen"), adresse);
  cmddelete_->setObjectName(QStringLiteral("cmddelete"));
  command1_ = new QPushButton(QStringLiteral(" Suchen"), adresse);
  command1_->setObjectName(QStringLiteral("Command1"));
  const int knopfBreite = (kPanelBreite - 8 - 8) / 3;
  cmdadd_->setGeometry(0, feldHoehe + 60, knopfBreite, 28);
  cmddelete_->setGeometry(knopfBreite + 4, feldHoehe + 60, knopfBreite, 28);
  command1_->setGeometry(2 * (knopfBreite + 4), feldHoehe + 60, knopfBreite, 28);
  connect(cmdadd_, &QPushButton::clicked, this, [this] { AdresseEinfuegen(*data1_, s_); });
  connect(cmddelete_, &QPushButton::clicked, this, [this] { AdresseLoeschen(*data1_, s_); });
  connect(command1_, &QPushButton::clicked, this, &frmMain::Command1_Click);
  connect(data1_.get(), &Datensteuerung::datensatzGewechselt, this, &frmMain::datensatzGewechselt);

  // The stack takes the size of the panel shown, not that of the largest one.
  connect(frame1_, &QStackedWidget::currentChanged, this, [this](int aktuell) {
    for (int i = 0; i < frame1_->count(); ++i) {
      QWidget* panel = frame1_->widget(i);
      panel->setMinimumSize(i == aktuell ? panel->property("noetig").toSize() : QSize(0, 0));
    }
  });
  frame1_->setCurrentIndex(1);
  frame1_->setCurrentIndex(0);
  return kPanelBreite;
}

QString frmMain::Text1(int i) const {
  if (i < 1 || i > 30) return QString();
  return text1_[i]->text();
}

void frmMain::setzeText1(int i, const QString& text) {
  if (i < 1 || i > 30) return;
  // Set by the program: no change handler runs.
  const QSignalBlocker sperre(text1_[i]);
  text1_[i]->setText(text);
  text1_[i]->setCursorPosition(0);
}

void frmMain::adressenOeffnen() {
  // A missing database is reported once the window shows; the program runs on without.
  AdressenOeffnen(*data1_, s_, dateiImOrdner(s_.Startverzeichnis, QString(AdressdatenbankName)));
}

void frmMain::datensatzGewechselt() {
  // The address fields show another record: their text elements follow on the next tick.
  for (int i = 21; i <= 30; ++i) {
    if (s_.hatSchrift(i)) s_.schrift(i).Textstring = text1_[i]->text();
    if (!text1_[i]->hasFocus()) text1_[i]->setCursorPosition(0);
  }
  s_.TextGeaendert = -1;
}

void frmMain::Text1_Change(int i) {
  if (s_.hatSchrift(i)) s_.schrift(i).Textstring = text1_[i]->text();
  if (s_.hatSchrift(s_.AktuelleSchrift))
    TextRahmenSichtbar(s_, s_.schrift(s_.AktuelleSchrift).Textstring);
  s_.TextGeaendert = -1;
}

void frmMain::Text1_GotFocus(int i) {
  // Field i feeds text i in frame i of the fixed part of the document.
  if (!s_.hatRahmen(i) || !s_.hatSchrift(i)) return;
  s_.AktuelleSchrift = i;
  s_.AktuellerRahmen = i;
  MarkierungZeigen();
  SeiteZeichnen(s_);
}

void frmMain::Timer1_Timer() {
  if (s_.TextGeaendert == -1) {
    s_.TextGeaendert = 0;
    SeiteZeichnen(s_);
  }
}

void frmMain::PanelZeigen(int index) {
  if (index < 1 || index > 4) return;
  frame1_->setCurrentIndex(index - 1);
  switch (index) {
    case 1:
      feldFokussieren(1);
      break;
    case 2:
      feldFokussieren(11);
      break;
    case 4:
      feldFokussieren(21);
      break;
    default:
      break;
  }
}

void frmMain::feldFokussieren(int i) {
  QLineEdit* feld = text1_[i];
  if (feld->hasFocus()) return;
  feld->setFocus(Qt::OtherFocusReason);
  // In a window that is not active the field gets the focus only when the window does, and
  // that focus does not count as choosing the field: choose it now.
  if (!feld->hasFocus()) Text1_GotFocus(i);
}

void frmMain::Command1_Click() {
  // The search dialog is made on first use and kept (hidden) with its option and term.
  if (!suchen_) {
    suchen_ = new frmSuchen(*data1_, s_, this);
    suchen_->setObjectName(QStringLiteral("frmSuchen"));
  }
  suchen_->show();
  suchen_->raise();
  suchen_->activateWindow();
}

void frmMain::Command4_Click(int index) {
  s_.Ladeauftrag = dateiImOrdner(s_.Startverzeichnis, QStringLiteral("Layout%1.lay").arg(index));
  LadeLayout(s_);
}

QString frmMain::Schnappschussdatei() const {
  if (!schnappschussOrdner_ || !schnappschussOrdner_->isValid()) return QString();
  return schnappschussOrdner_->filePath(QStringLiteral("test.qxm"));
}

void frmMain::cmdzuruecksetzen_Click() {
  if (!schnappschussGespeichert_ || !QFileInfo(Schnappschussdatei()).isFile()) {
    Meldung(QStringLiteral("Es gibt noch keinen Stand, auf den zurückgesetzt werden kann."),
            QString(), Knoepfe::Ok, Symbol::Information);
    return;
  }
  // The snapshot is loaded in place of the document, which keeps its own name.
  const QString vorher = s_.AktuelleDatei;
  s_.AktuelleDatei = Schnappschussdatei();
  s_.Ladeauftrag.clear();
  LadeDokument(s_);
  SeiteZeichnen(s_);
  s_.AktuelleDatei = vorher;
}
