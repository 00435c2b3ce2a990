#include "ui/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/auswahl.h"
#include "core/dialogauswahl.h"
#include "core/frmeinfuegen.h"
#include "core/frmposition.h"
#include "core/frmseite.h"
#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "elements/picture/frmbild.h"
#include "elements/shape/frmlinie.h"
#include "elements/text/frmrtf.h"
#include "elements/text/frmschrift.h"
#include "elements/text/schriftarten.h"
#include "io/dateinamen.h"
#include "io/dokument.h"
#include "io/drucken.h"
#include "io/druckfortschritt.h"
#include "io/frmdrucken.h"
#include "io/frmvorschau.h"
#include "io/layout.h"
#include "platform/ansichtsfenster.h"
#include "platform/datensteuerung.h"
#include "platform/dialoglage.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/feldbindung.h"
#include "platform/richtextbox.h"
#include "platform/zahlen.h"
#include "ui/adressen.h"
#include "ui/datensteuerleiste.h"
#include "ui/frminfo.h"
#include "ui/frmsuchen.h"
#include "ui/hilfe.h"
#include "ui/seitenansicht.h"
#include "ui/symbole.h"

namespace {

const QString kDokumentFilter = QStringLiteral("QX Marvolant (*.qxm)");

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

QAction* menuePunkt(QMenu* menue, const QString& text, const QString& name, bool abhakbar = false) {
  QAction* a = menue->addAction(text);
  a->setObjectName(name);
  a->setCheckable(abhakbar);
  return a;
}

bool gueltigerRahmen(const Programmzustand& s, int i) {
  return i >= 1 && i <= s.AnzahlRahmen && i < static_cast<int>(s.Rahmenliste.size()) &&
         s.Rahmenliste[i];
}

bool gueltigeSchrift(const Programmzustand& s, int i) {
  return i >= 1 && i <= s.AnzahlSchriften && i < static_cast<int>(s.Schriften.size()) &&
         s.Schriften[i];
}

}  // namespace

frmMain::frmMain(Programmzustand& s, QWidget* eltern) : QMainWindow(eltern), s_(s) {
  setObjectName(QStringLiteral("frmMain"));
  s_.fenster = this;
  setWindowIcon(symbol(QStringLiteral("Programm")));
  // Every dialog of the program reopens where it was closed.
  new Dialoglage(this);

  programmEnde = [] { QCoreApplication::quit(); };
  dateiDialog = [this](const QString& titel, const QString& filter, bool speichern) {
    return standardDateiDialog(titel, filter, speichern);
  };
  bildDialog = speicherdialog(this);
  hilfe_ = new Hilfe(s_, this);
  word_ = std::make_unique<WordExport>(s_);

  auto* zentrum = new QWidget(this);
  auto* reihe = new QHBoxLayout(zentrum);
  reihe->setContentsMargins(4, 4, 4, 4);
  reihe->setSpacing(6);

  auto* linkeSpalte = new QWidget(zentrum);
  auto* spalte = new QVBoxLayout(linkeSpalte);
  spalte->setContentsMargins(0, 0, 0, 0);
  spalte->setSpacing(4);
  toolbar2_ = new QToolBar(QStringLiteral("Toolbar2"), linkeSpalte);
  toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
  toolbar2_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar2_->setIconSize(QSize(22, 22));
  spalte->addWidget(toolbar2_);
  bauePanels();
  auto* panelRollbereich = new QScrollArea(linkeSpalte);
  panelRollbereich->setWidget(frame1_);
  panelRollbereich->setWidgetResizable(true);
  panelRollbereich->setFrameShape(QFrame::NoFrame);
  panelRollbereich->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  spalte->addWidget(panelRollbereich, 1);
  reihe->addWidget(linkeSpalte);

  vsview_ = new Ansichtsfenster(zentrum);
  vsview_->setObjectName(QStringLiteral("VSView"));
  seite_ = new Seitenansicht(s_);
  vsview_->setzeInhalt(seite_);
  seite_->setzeSichtbereich(vsview_->viewport());
  reihe->addWidget(vsview_, 1);
  setCentralWidget(zentrum);

  connect(seite_, &Seitenansicht::statusText, this, [this](int panel, const QString& text) {
    if (panel >= 1 && panel <= 4) status_[panel]->setText(text);
  });
  connect(seite_, &Seitenansicht::kontextmenue, this, &frmMain::kontextmenueZeigen);

  baueToolbars();
  linkeSpalte->setFixedWidth(std::max(kPanelBreite + 12, toolbar2_->sizeHint().width()));
  baueMenues();
  baueStatusleiste();

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(300);
  connect(timer1_, &QTimer::timeout, this, &frmMain::Timer1_Timer);
  timer1_->start();

  // The window keeps the size the side panels and the toolbars need; it opens centred on
  // the screen.
  setMinimumSize(800, 600);
  if (QScreen* bildschirm = QGuiApplication::primaryScreen()) {
    const QRect g = bildschirm->geometry();
    move(g.x() + g.width() / 2 - 400, g.y() + g.height() / 2 - 300);
  }
  resize(800, 600);
}

frmMain::~frmMain() {
  if (s_.fenster == this) s_.fenster = &s_.keinFenster;
}

// --- Building the controls ---------------------------------------------------------------

void frmMain::bauePanels() {
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
}

void frmMain::baueToolbars() {
  toolbar1_ = addToolBar(QStringLiteral("Toolbar1"));
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar1_->setIconSize(QSize(24, 24));
  toolbar1_->setMovable(false);
  struct Knopf {
    const char* schluessel;
    const char* tipp;
  };
  const Knopf knoepfe[] = {{"Neu", "Alle Eingaben werden gelöscht"},
                           {"Öffnen", ""},
                           {"Speichern", ""},
                           {"Vorschau", ""},
                           {"Drucken", ""},
                           {"Hilfe", ""},
                           {"Eigenschaft", "Einstellen des Objektes"},
                           {"Einfügen", "Einfügen eines neuen Rahmen"}};
  for (const Knopf& k : knoepfe) {
    const QString schluessel = QString::fromUtf8(k.schluessel);
    QAction* a = toolbar1_->addAction(schluessel);
    a->setObjectName(schluessel);
    a->setIcon(
        symbol(schluessel == QLatin1String("Eigenschaft") ? QStringLiteral("Text") : schluessel));
    a->setToolTip(*k.tipp ? QString::fromUtf8(k.tipp) : schluessel);
    if (schluessel == QLatin1String("Eigenschaft")) eigenschaft_ = a;
    connect(a, &QAction::triggered, this, [this, schluessel] { Toolbar1_ButtonClick(schluessel); });
  }

  // The panel switch above the side panels.
  const char* const panels[] = {"Name", "Bank", "Layout", "Adresse", "Brief"};
  for (int i = 1; i <= 5; ++i) {
    const QString text = QString::fromUtf8(panels[i - 1]);
    QAction* a = toolbar2_->addAction(symbol(text), text);
    a->setObjectName(QStringLiteral("Toolbar2_%1").arg(i));
    connect(a, &QAction::triggered, this, [this, i] { Toolbar2_ButtonClick(i); });
  }

  addToolBarBreak();
  toolbar3_ = addToolBar(QStringLiteral("Toolbar3"));
  toolbar3_->setObjectName(QStringLiteral("Toolbar3"));
  toolbar3_->setMovable(false);
  combo1_ = new QComboBox(toolbar3_);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setMinimumContentsLength(18);
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo1_->setToolTip(QStringLiteral("Schriftart"));
  combo2_ = new QComboBox(toolbar3_);
  combo2_->setObjectName(QStringLiteral("Combo2"));
  combo2_->setToolTip(QStringLiteral("Schriftstil"));
  combo3_ = new QComboBox(toolbar3_);
  combo3_->setObjectName(QStringLiteral("Combo3"));
  combo3_->setEditable(true);
  combo3_->setInsertPolicy(QComboBox::NoInsert);
  combo3_->setMinimumContentsLength(4);
  combo3_->setToolTip(QStringLiteral("Schriftgröße"));
  toolbar3_->addWidget(combo1_);
  toolbar3_->addWidget(combo2_);
  toolbar3_->addWidget(combo3_);

  // The font boxes act on the current text element, on the user's choice only.
  connect(combo1_, &QComboBox::activated, this, [this](int index) {
    if (!gueltigeSchrift(s_, s_.AktuelleSchrift)) return;
    s_.schrift(s_.AktuelleSchrift).fontname = combo1_->itemText(index);
    SeiteZeichnen(s_);
  });
  connect(combo2_, &QComboBox::activated, this, [this](int index) {
    if (!gueltigeSchrift(s_, s_.AktuelleSchrift)) return;
    ClassSchrift& t = s_.schrift(s_.AktuelleSchrift);
    const QString stil = combo2_->itemText(index);
    if (stil == QLatin1String("Fett")) {
      t.Bold = true;
      t.Italic = false;
    } else if (stil == QLatin1String("Standard")) {
      t.Bold = false;
      t.Italic = false;
    } else if (stil == QLatin1String("Kursiv")) {
      t.Bold = false;
      t.Italic = true;
    } else {
      t.Bold = true;
      t.Italic = true;
    }
    SeiteZeichnen(s_);
  });
  connect(combo3_, &QComboBox::activated, this, [this](int index) {
    if (!gueltigeSchrift(s_, s_.AktuelleSchrift)) return;
    s_.schrift(s_.AktuelleSchrift).FontSize = zahlen::Val(combo3_->itemText(index));
    SeiteZeichnen(s_);
  });
  connect(combo3_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!gueltigeSchrift(s_, s_.AktuelleSchrift)) return;
    double groesse = zahlen::Val(text);
    if (groesse < 6) groesse = 6;
    s_.schrift(s_.AktuelleSchrift).FontSize = groesse;
    SeiteZeichnen(s_);
  });
}

void frmMain::baueMenues() {
  QMenuBar* leiste = menuBar();

  QMenu* datei = leiste->addMenu(QStringLiteral("&Datei"));
  datei->setObjectName(QStringLiteral("mnuFile"));
  QAction* neu = menuePunkt(datei, QStringLiteral("&Neu"), QStringLiteral("mnuFileNew"));
  QAction* oeffnen = menuePunkt(datei, QStringLiteral("Ö&ffnen..."), QStringLiteral("mnuFileOpen"));
  QAction* schliessen =
      menuePunkt(datei, QStringLiteral("S&chließen"), QStringLiteral("mnuFileClose"));
  datei->addSeparator();
  QAction* speichern =
      menuePunkt(datei, QStringLiteral("&Speichern"), QStringLiteral("mnuFileSave"));
  QAction* speichernUnter =
      menuePunkt(datei, QStringLiteral("Speichern &unter..."), QStringLiteral("mnuFileSaveAs"));
  QAction* alsBild =
      menuePunkt(datei, QStringLiteral("als Bild speichern"), QStringLiteral("mnuBildSpeichern"));
  QAction* word =
      menuePunkt(datei, QStringLiteral("in Word exportieren"), QStringLiteral("mnuWord"));
  datei->addSeparator();
  QAction* seiteEinrichten =
      menuePunkt(datei, QStringLiteral("Seite &einrichten..."), QStringLiteral("mnuFilePageSetup"));
  QAction* vorschau =
      menuePunkt(datei, QStringLiteral("Seitenvorschau"), QStringLiteral("mnuFilePrintPreview"));
  connect(vorschau, &QAction::triggered, this, &frmMain::VorschauZeigen);
  QAction* drucken =
      menuePunkt(datei, QStringLiteral("Dru&cken..."), QStringLiteral("mnuFilePrint"));
  // Three recent-file entries that the program never fills.
  for (int i = 1; i <= 3; ++i)
    menuePunkt(datei, QString(), QStringLiteral("mnuFileMRU_%1").arg(i))->setVisible(false);
  datei->addSeparator();
  QAction* beenden = menuePunkt(datei, QStringLiteral("&Beenden"), QStringLiteral("mnuFileExit"));
  connect(neu, &QAction::triggered, this, [this] {
    s_.Ladeauftrag = QStringLiteral("neu");
    LadeDokument(s_);
  });
  connect(oeffnen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
  connect(speichern, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
  connect(speichernUnter, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
  connect(alsBild, &QAction::triggered, this, [this] { mnuBildSpeichern_Click(s_, bildDialog); });
  connect(word, &QAction::triggered, this, [this] { word_->mnuWord_Click(); });
  connect(seiteEinrichten, &QAction::triggered, this, &frmMain::SeiteEinrichten);
  connect(drucken, &QAction::triggered, this, &frmMain::DruckdialogZeigen);
  connect(schliessen, &QAction::triggered, this, &QWidget::close);
  connect(beenden, &QAction::triggered, this, &QWidget::close);

  QMenu* bearbeiten = leiste->addMenu(QStringLiteral("&Bearbeiten"));
  bearbeiten->setObjectName(QStringLiteral("mnuEdit"));
  connect(menuePunkt(bearbeiten, QStringLiteral("Brief"), QStringLiteral("mnuBrief")),
          &QAction::triggered, this, &frmMain::BriefZeigen);
  connect(menuePunkt(bearbeiten, QStringLiteral("Raster"), QStringLiteral("mnuRaster")),
          &QAction::triggered, this, &frmMain::SeiteEinrichten);

  QMenu* ansicht = leiste->addMenu(QStringLiteral("&Ansicht"));
  ansicht->setObjectName(QStringLiteral("mnuView"));
  mnuGitterlinienansicht_ =
      menuePunkt(ansicht, QStringLiteral("Raster"), QStringLiteral("mnuGitterlinienansicht"), true);
  mnuHilfsbereiche_ = menuePunkt(ansicht, QStringLiteral("Hilfsbereiche"),
                                 QStringLiteral("mnuHilfsbereiche"), true);
  ansicht->addSeparator();
  QAction* seitenbreite =
      menuePunkt(ansicht, QStringLiteral("&Seitenbreite"), QStringLiteral("mnuViewSeitenbreite"));
  QAction* ganzeSeite =
      menuePunkt(ansicht, QStringLiteral("&ganze Seite"), QStringLiteral("mnuViewganze_Seite"));
  ansicht->addSeparator();
  for (int prozent : {50, 100, 150, 200}) {
    QAction* a = menuePunkt(ansicht, QStringLiteral("%1 %").arg(prozent),
                            QStringLiteral("mnuViewProzent%1").arg(prozent));
    connect(a, &QAction::triggered, this, [this, prozent] { ZoomSetzen(prozent); });
  }
  connect(mnuGitterlinienansicht_, &QAction::triggered, this, [this] {
    s_.RasterAnzeigen = umschalten(s_.RasterAnzeigen);
    mnuGitterlinienansicht_->setChecked(s_.RasterAnzeigen != 0);
    SeiteZeichnen(s_);
  });
  connect(mnuHilfsbereiche_, &QAction::triggered, this, [this] {
    s_.HilfsbereicheAnzeigen = umschalten(s_.HilfsbereicheAnzeigen);
    mnuHilfsbereiche_->setChecked(s_.HilfsbereicheAnzeigen != 0);
    SeiteZeichnen(s_);
  });
  connect(seitenbreite, &QAction::triggered, this, &frmMain::Seitenbreite);
  connect(ganzeSeite, &QAction::triggered, this, &frmMain::GanzeSeite);

  // The frame commands. The "&Rahmen" menu and the frame popup of the page (right click)
  // list them in their own order and captions; the items of one command run the same code.
  struct Befehl {
    std::function<void()> ausfuehren;
    bool abhakbar = false;
  };
  auto abhakbar = [](std::function<void()> ausfuehren) {
    return Befehl{std::move(ausfuehren), true};
  };
  const Befehl alleAnzeigen = abhakbar([this] {
    s_.AlleRahmenAnzeigen = umschalten(s_.AlleRahmenAnzeigen);
    mnuRahmensichtbar_->setChecked(s_.AlleRahmenAnzeigen != 0);
    SeiteZeichnen(s_);
  });
  const Befehl mmGenau = abhakbar([this] {
    s_.MmGenau = umschalten(s_.MmGenau);
    mmummgenau_->setChecked(s_.MmGenau == 0);
  });
  const Befehl magnet = abhakbar([this] {
    s_.MagnetAn = umschalten(s_.MagnetAn);
    mnuRahmenMagnet_->setChecked(s_.MagnetAn != 0);
  });
  const Befehl verankern = abhakbar([this] {
    verankernUmschalten();
    verankertMarkieren();
  });
  const Befehl eigenschaft{[this] { EigenschaftenZeigen(s_); }};
  const Befehl einfuegen{[this] { EinfuegenZeigen(); }};
  const Befehl loeschen{[this] { RahmenLoeschen(s_); }};
  const Befehl positionieren{[this] { PositionierenZeigen(); }};
  const Befehl ganzVorne{[this] { RahmenGanzVorne(s_); }};
  const Befehl ganzHinten{[this] { RahmenGanzHinten(s_); }};
  const Befehl einsVor{[this] { RahmenEinsVor(s_); }};
  const Befehl einsZurueck{[this] { RahmenEinsZurueck(s_); }};

  // One item of a menu: caption, control name, command, and the member that keeps the item;
  // an item without a caption is a separator.
  struct Punkt {
    const char* text = nullptr;
    const char* name = nullptr;
    const Befehl* befehl = nullptr;
    QAction** merken = nullptr;
  };
  auto eintragen = [this](QMenu* menue, std::initializer_list<Punkt> punkte) {
    for (const Punkt& p : punkte) {
      if (!p.text) {
        menue->addSeparator();
        continue;
      }
      QAction* a = menuePunkt(menue, QString::fromUtf8(p.text), QString::fromUtf8(p.name),
                              p.befehl->abhakbar);
      connect(a, &QAction::triggered, this, p.befehl->ausfuehren);
      if (p.merken) *p.merken = a;
    }
  };

  QMenu* rahmen = leiste->addMenu(QStringLiteral("&Rahmen"));
  rahmen->setObjectName(QStringLiteral("mnuRahmen"));
  eintragen(rahmen, {{"Alle anzeigen", "mnuRahmensichtbar", &alleAnzeigen, &mnuRahmensichtbar_},
                     {"1/10 mm genau", "mmummgenau", &mmGenau, &mmummgenau_},
                     {"Rastermagnet", "mnuRahmenMagnet", &magnet, &mnuRahmenMagnet_},
                     {},
                     {"Einfügen", "mnuRahmenEinfuegen", &einfuegen},
                     {"Löschen", "mnuRahmenLoeschen", &loeschen},
                     {"Positionieren", "mnuRahmenPositionieren", &positionieren},
                     {"verankern", "mnuverankert", &verankern, &mnuverankert_},
                     {},
                     {"ganz nach vorne", "mnuRahmenvorne", &ganzVorne},
                     {"ganz nach hinten", "mnuRahmenhinten", &ganzHinten},
                     {"eins nach vorne", "mnuRahmeneinsvorn", &einsVor},
                     {"eins nach hinten", "mnuRahmeneinshinten", &einsZurueck}});
  connect(rahmen, &QMenu::aboutToShow, this, &frmMain::verankertMarkieren);

  QMenu* hilfe = leiste->addMenu(QStringLiteral("&Hilfe"));
  hilfe->setObjectName(QStringLiteral("mnuHelp"));
  connect(menuePunkt(hilfe, QStringLiteral("&Inhalt"), QStringLiteral("mnuHelpContents")),
          &QAction::triggered, this, &frmMain::hilfeZeigen);
  hilfe->addSeparator();
  connect(menuePunkt(hilfe, QStringLiteral("Zur QX-Homepage"), QStringLiteral("mnuHelpQX")),
          &QAction::triggered, hilfe_, &Hilfe::mnuHelpQX_Click);
  connect(menuePunkt(hilfe, QStringLiteral("Mail an den Autor"), QStringLiteral("mnuHelpHotline")),
          &QAction::triggered, hilfe_, &Hilfe::mnuHelpHotline_Click);
  connect(menuePunkt(hilfe, QStringLiteral("Programm aktualisieren"), QStringLiteral("mnuupdate")),
          &QAction::triggered, hilfe_, &Hilfe::mnuupdate_Click);
  hilfe->addSeparator();
  connect(menuePunkt(hilfe, QStringLiteral("Info"), QStringLiteral("mnuInfo")), &QAction::triggered,
          this, &frmMain::InfoZeigen);

  // The frame popup of the page (right click).
  popSchrift_ = new QMenu(this);
  popSchrift_->setObjectName(QStringLiteral("PopSchrift"));
  eintragen(popSchrift_, {{"Eigenschaft", "Eigenschaft", &eigenschaft},
                          {"Positionieren", "Positionieren", &positionieren},
                          {"Verankern", "mnuVerankern", &verankern, &mnuVerankern_},
                          {"Löschen", "Loeschen", &loeschen},
                          {},
                          {"ganz nach vorne", "popganzvorn", &ganzVorne},
                          {"ganz nach hinten", "popganzhinten", &ganzHinten},
                          {"eins nach vorne", "popeinsvor", &einsVor},
                          {"eins nach hinten", "popeinshinten", &einsZurueck}});
}

void frmMain::baueStatusleiste() {
  QStatusBar* leiste = statusBar();
  leiste->setObjectName(QStringLiteral("StatusBar"));
  for (int i = 1; i <= 4; ++i) {
    auto* panel = new QLabel(leiste);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumWidth(i == 1 ? 200 : 110);
    leiste->addWidget(panel, i == 1 ? 1 : 0);
    status_[i] = panel;
  }
  status_[1]->setText(QStringLiteral("Status"));
}

// --- Fenster -----------------------------------------------------------------------------

int frmMain::Meldung(const QString& text, const QString& titel, Knoepfe knoepfe, Symbol symbol) {
  const QString ueberschrift = titel.isEmpty() ? QStringLiteral("Marvolant") : titel;
  if (meldungsAntwort) return meldungsAntwort(text, ueberschrift, knoepfe, symbol);
  QMessageBox box(this);
  box.setWindowTitle(ueberschrift);
  box.setText(text);
  switch (symbol) {
    case Symbol::Keins:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case Symbol::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case Symbol::Ausrufezeichen:
      box.setIcon(QMessageBox::Warning);
      break;
    case Symbol::Warnung:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  if (knoepfe == Knoepfe::OkAbbrechen) {
    QPushButton* abbrechen = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setEscapeButton(abbrechen);
  } else {
    box.setEscapeButton(ok);
  }
  box.exec();
  return box.clickedButton() == ok ? 1 : 2;
}

void frmMain::MeldungDanach(const QString& text) {
  QTimer::singleShot(
      0, this, [this, text] { Meldung(text, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen); });
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

QRectF frmMain::Rahmen() const { return seite_->Rahmen(); }

void frmMain::setzeRahmen(const QRectF& rechteck) { seite_->setzeRahmen(rechteck); }

void frmMain::MarkierungZeigen() {
  // The rectangle lies exactly over the selected frame at the current zoom.
  if (gueltigerRahmen(s_, s_.AktuellerRahmen))
    seite_->setzeRahmen(RahmenRechteck(s_, s_.AktuellerRahmen));
  const Markierung m = MarkierungBerechnen(s_, seite_->Rahmen());
  seite_->setzeRahmen(m.rechteck);
  for (int i = 1; i <= 8; ++i) seite_->setzeZiehpunkt(i, m.ziehpunkt[i], m.ziehpunktSichtbar[i]);

  if (!m.knopfBild.isEmpty()) {
    eigenschaft_->setIcon(symbol(m.knopfBild));
    eigenschaft_->setText(m.knopfText);
  }
  combo1_->setEnabled(m.schriftboxenAktiv);
  combo2_->setEnabled(m.schriftboxenAktiv);
  combo3_->setEnabled(m.schriftboxenAktiv);
  if (!m.schriftboxenAktiv || combo1_->count() == 0) return;

  const QSignalBlocker sperre1(combo1_);
  const QSignalBlocker sperre2(combo2_);
  const QSignalBlocker sperre3(combo3_);
  const QSignalBlocker sperre3Text(combo3_->lineEdit());
  combo2_->setCurrentIndex(m.stilIndex);
  int name = combo1_->findText(m.schriftname, Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo1_->setCurrentIndex(name < 0 ? 0 : name);

  // Sizes are compared as numbers, so the item "12" matches the size 12.
  std::optional<double> groesse = zahlen::leseLokal(m.schriftgroesse);
  if (!groesse) groesse = zahlen::lesePunkt(m.schriftgroesse);
  int gefunden = -1;
  if (groesse) {
    for (int i = 0; i < combo3_->count(); ++i) {
      if (zahlen::Val(combo3_->itemText(i)) == *groesse) {
        gefunden = i;
        break;
      }
    }
  }
  if (gefunden >= 0) {
    combo3_->setCurrentIndex(gefunden);
  } else {
    combo3_->setCurrentIndex(-1);
    combo3_->setEditText(m.schriftgroesse);
  }
}

QSizeF frmMain::setzeInhaltsgroesse(double breiteTwips, double hoeheTwips) {
  return vsview_->setzeInhaltsgroesse(breiteTwips, hoeheTwips);
}

void frmMain::seiteGezeichnet() {
  ++gezeichnet_;
  seite_->update();
}

void frmMain::VorschauZeigen() {
  if (!vorschau_) {
    vorschau_ = new frmVorschau(s_, this);
    vorschau_->setObjectName(QStringLiteral("frmVorschau"));
    connect(vorschau_, &frmVorschau::geschlossen, this, [this] { SeiteZeichnen(s_); });
  }
  // The page goes into the print control and is held there for the preview window.
  s_.VSPrinter1->Preview = true;
  {
    Druckfortschritt fortschritt(*s_.VSPrinter1, this,
                                 QStringLiteral("Die Seitenvorschau wird vorbereitet …"));
    if (!DruckeSeite(s_) || fortschritt.abgebrochen()) return;
  }
  mittigPlatzieren(vorschau_);
  vorschau_->zeigen();
}

void frmMain::AuswahlVerbergen() {
  seite_->setzeRahmenSichtbar(false);
  for (int i = 1; i <= 8; ++i) seite_->ziehpunkt(i)->hide();
}

void frmMain::FadenkreuzZeigen(bool an) {
  seite_->setCursor(an ? Qt::CrossCursor : Qt::ArrowCursor);
}

void frmMain::DialogZeigen(Dialog dialog) {
  // Each dialog opens on its first page for the current element of its kind.
  switch (dialog) {
    case Dialog::Schrift:
      blockierenderDialog(schrift_)->zeigen();
      break;
    case Dialog::Bild:
      blockierenderDialog(bild_)->zeigen();
      break;
    case Dialog::Linie:
      blockierenderDialog(linie_)->zeigen();
      break;
    case Dialog::Brieftext:
      briefeditorZeigen();
      break;
  }
}

QString frmMain::statusText(int panel) const {
  if (panel < 1 || panel > 4) return QString();
  return status_[panel]->text();
}

// --- Load, activate, close ---------------------------------------------------------------

void frmMain::Form_Load() {
  if (geladen_) return;
  geladen_ = true;

  // Font table.
  SchriftartenErmitteln(s_);

  // The letter editor holds the letter text for the whole run; it needs the font table.
  briefeditor_ = new frmRTF(s_, this);
  nachSchliessenZeichnen(briefeditor_);
  briefeditor_->BriefLaden();

  // Selection rectangle over the selected frame.
  if (gueltigerRahmen(s_, s_.AktuellerRahmen))
    seite_->setzeRahmen(RahmenRechteck(s_, s_.AktuellerRahmen));

  setWindowTitle(s_.Programmtitel + QStringLiteral(" - Version ") + s_.Programmversion);
  data1_->setCaption(QStringLiteral(" Adresse Nr. 1"));
  frame1_->setCurrentIndex(0);

  // Menu check marks from the view flags read from the settings file.
  mnuRahmensichtbar_->setChecked(s_.AlleRahmenAnzeigen == -1);
  mnuRahmenMagnet_->setChecked(s_.MagnetAn == -1);
  mmummgenau_->setChecked(s_.MmGenau == 0);
  mnuGitterlinienansicht_->setChecked(s_.RasterAnzeigen != 0);
  mnuHilfsbereiche_->setChecked(s_.HilfsbereicheAnzeigen != 0);

  // The zoom is fitted to the page width once the window has been laid out (showEvent).

  schriftboxenFuellen();

  s_.Ladeauftrag = QStringLiteral("neu");
  LadeDokument(s_);

  eigenschaft_->setIcon(symbol(QStringLiteral("Text")));
  eigenschaft_->setText(QStringLiteral("Schriftart"));

  // The first field of the "Name" panel has the focus when the window opens.
  text1_[1]->setFocus();
}

void frmMain::schriftboxenFuellen() {
  const QSignalBlocker sperre1(combo1_);
  const QSignalBlocker sperre2(combo2_);
  const QSignalBlocker sperre3(combo3_);
  combo1_->clear();
  combo1_->addItems(SchriftartenListe(s_));
  const int times = combo1_->findText(QStringLiteral("Times New Roman"),
                                      Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo1_->setCurrentIndex(times < 0 ? 0 : times);

  combo2_->clear();
  combo2_->addItems({QStringLiteral("Standard"), QStringLiteral("Fett"), QStringLiteral("Kursiv"),
                     QStringLiteral("Kursiv Fett")});
  combo2_->setCurrentIndex(0);

  combo3_->clear();
  for (int groesse = 8; groesse <= 72; groesse += 2) combo3_->addItem(QString::number(groesse));
  combo3_->setCurrentIndex(2);
}

RichTextBox* frmMain::Brieftext() const { return briefeditor_ ? briefeditor_->RTF() : nullptr; }

void frmMain::showEvent(QShowEvent* ereignis) {
  Form_Load();
  QMainWindow::showEvent(ereignis);
  if (gezeigt_) return;
  gezeigt_ = true;
  // After the window has been laid out: the viewport has its final size.
  QTimer::singleShot(0, this, &frmMain::nachErstemZeigen);
}

void frmMain::nachErstemZeigen() {
  Seitenbreite();
  // What the start had to tell before there was a window (an unreadable settings file),
  // over the page drawn.
  for (const auto& m : std::exchange(s_.keinFenster.aufgeschoben, {}))
    Meldung(m.text, m.titel, m.knoepfe, m.symbol);
  adressenOeffnen();
}

void frmMain::adressenOeffnen() {
  // A missing database is reported once the window shows; the program runs on without.
  AdressenOeffnen(*data1_, s_, dateiImOrdner(s_.Startverzeichnis, QString(AdressdatenbankName)));
}

void frmMain::datensatzGewechselt() {
  // The address fields show another record: their text elements follow on the next tick.
  for (int i = 21; i <= 30; ++i) {
    if (gueltigeSchrift(s_, i)) s_.schrift(i).Textstring = text1_[i]->text();
    if (!text1_[i]->hasFocus()) text1_[i]->setCursorPosition(0);
  }
  s_.TextGeaendert = -1;
}

bool frmMain::event(QEvent* ereignis) {
  if (ereignis->type() == QEvent::WindowActivate) Form_Activate();
  return QMainWindow::event(ereignis);
}

void frmMain::Form_Activate() {
  // Back from a dialog (or another program): the page may have changed meanwhile.
  if (gezeigt_ && !beendet_) SeiteZeichnen(s_);
}

void frmMain::closeEvent(QCloseEvent* ereignis) {
  if (beendet_) {
    ereignis->accept();
    return;
  }
  beendet_ = true;
  timer1_->stop();

  // Every other window closes with the main window.
  const auto fenster = QApplication::topLevelWidgets();
  for (QWidget* w : fenster)
    if (w != this && w->isVisible()) w->close();

  // The address being edited is stored.
  if (data1_->offen()) data1_->Update();

  // The window's place for the next session, unless it is minimized. A store that cannot
  // be written does not keep the program from ending.
  if (!isMinimized()) {
    const QRect r = frameGeometry();
    const double tx = s_.TwipsProPixelX > 0 ? s_.TwipsProPixelX : einheiten::kTwipsProPixel;
    const double ty = s_.TwipsProPixelY > 0 ? s_.TwipsProPixelY : einheiten::kTwipsProPixel;
    QSettings einstellungen;
    einstellungen.beginGroup(QStringLiteral("Settings"));
    einstellungen.setValue(QStringLiteral("MainLeft"), QString::number(std::lround(r.x() * tx)));
    einstellungen.setValue(QStringLiteral("MainTop"), QString::number(std::lround(r.y() * ty)));
    einstellungen.setValue(QStringLiteral("MainWidth"),
                           QString::number(std::lround(r.width() * tx)));
    einstellungen.setValue(QStringLiteral("MainHeight"),
                           QString::number(std::lround(r.height() * ty)));
    einstellungen.endGroup();
    einstellungen.sync();
  }

  ProgrammBeenden(s_);
  ereignis->accept();
  if (programmEnde) programmEnde();
}

// --- Side panels -------------------------------------------------------------------------

bool frmMain::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::Hide && objekt->property("seiteNachSchliessen").toBool()) {
    // A dialog that kept the window from input has closed: the page shows what it changed.
    // Deferred, so that the dialog's own closing steps are done first.
    QTimer::singleShot(0, this, [this] {
      if (!beendet_) SeiteZeichnen(s_);
    });
  } else if (ereignis->type() == QEvent::FocusIn) {
    const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
    // Focus that comes back with the window or from a menu is no new choice of field.
    if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason) {
      for (int i = 1; i <= 30; ++i) {
        if (objekt == text1_[i]) {
          Text1_GotFocus(i);
          break;
        }
      }
    }
  }
  return QMainWindow::eventFilter(objekt, ereignis);
}

void frmMain::Text1_Change(int i) {
  if (gueltigeSchrift(s_, i)) s_.schrift(i).Textstring = text1_[i]->text();
  if (gueltigeSchrift(s_, s_.AktuelleSchrift))
    TextRahmenSichtbar(s_, s_.schrift(s_.AktuelleSchrift).Textstring);
  s_.TextGeaendert = -1;
}

void frmMain::Text1_GotFocus(int i) {
  // Field i feeds text i in frame i of the fixed part of the document.
  if (!gueltigerRahmen(s_, i) || !gueltigeSchrift(s_, i)) return;
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

// --- Zoom --------------------------------------------------------------------------------

double frmMain::seitenbreiteZoom() const {
  // The width the page may take: the viewport less its frame and the vertical scroll bar
  // that a page taller than the view brings.
  const int pixel = vsview_->width() - 2 * vsview_->frameWidth() -
                    vsview_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vsview_);
  const double twips = einheiten::twipsAusPixel(pixel);
  if (!s_.Seite || s_.Seite->Breite <= 0) return 0;
  return zahlen::Int(twips / einheiten::twipsAusEinheiten(s_.Seite->Breite) * 100) - 1;
}

void frmMain::ZoomSetzen(double prozent) {
  // A zoom the page view cannot show leaves the view as it is.
  if (!std::isfinite(prozent) || prozent < 10 || prozent > 1000) return;
  s_.Zoom = prozent;
  ZoomAnwenden(s_);
}

// A fitted zoom stays within what the page view shows: a page too wide for the view even at
// the smallest zoom (a long banner) is shown at that zoom with scroll bars.
void frmMain::Seitenbreite() { ZoomSetzen(std::clamp(seitenbreiteZoom(), 10.0, 1000.0)); }

void frmMain::GanzeSeite() {
  const double breite = seitenbreiteZoom();
  const int pixel = vsview_->height() - 2 * vsview_->frameWidth();
  const double twips = einheiten::twipsAusPixel(pixel);
  const double hoehe =
      (s_.Seite && s_.Seite->Hoehe > 0)
          ? zahlen::Int(twips / einheiten::twipsAusEinheiten(s_.Seite->Hoehe) * 100) - 1
          : 0;
  ZoomSetzen(std::clamp(std::min(breite, hoehe), 10.0, 1000.0));
}

// --- Frames ------------------------------------------------------------------------------

double frmMain::umschalten(double flag) {
  return static_cast<double>(~zahlen::int32Begrenzt(flag));
}

void frmMain::verankernUmschalten() {
  if (!gueltigerRahmen(s_, s_.AktuellerRahmen)) return;
  ClassRahmen& r = s_.rahmen(s_.AktuellerRahmen);
  r.Verankert = !r.Verankert;
}

void frmMain::verankertMarkieren() {
  const bool verankert =
      gueltigerRahmen(s_, s_.AktuellerRahmen) && s_.rahmen(s_.AktuellerRahmen).Verankert;
  mnuverankert_->setChecked(verankert);
  mnuVerankern_->setChecked(verankert);
}

void frmMain::kontextmenueZeigen(const QPoint& global) {
  verankertMarkieren();
  popSchrift_->popup(global);
}

// --- Commands ----------------------------------------------------------------------------

void frmMain::nachSchliessenZeichnen(QWidget* dialog) {
  dialog->setProperty("seiteNachSchliessen", true);
  dialog->installEventFilter(this);
}

void frmMain::Toolbar1_ButtonClick(const QString& schluessel) {
  if (schluessel == QStringLiteral("Neu")) {
    s_.Ladeauftrag = QStringLiteral("neu");
    LadeDokument(s_);
  } else if (schluessel == QStringLiteral("Öffnen")) {
    mnuFileOpen_Click();
  } else if (schluessel == QStringLiteral("Speichern")) {
    mnuFileSave_Click();
  } else if (schluessel == QStringLiteral("Vorschau")) {
    VorschauZeigen();
  } else if (schluessel == QStringLiteral("Drucken")) {
    DirektDrucken();
  } else if (schluessel == QStringLiteral("Hilfe")) {
    hilfeZeigen();
  } else if (schluessel == QStringLiteral("Eigenschaft")) {
    EigenschaftenZeigen(s_);
  } else if (schluessel == QStringLiteral("Einfügen")) {
    EinfuegenZeigen();
  }
}

void frmMain::Toolbar2_ButtonClick(int index) {
  if (index >= 1 && index <= 4) PanelZeigen(index);
  if (index == 3) {
    // The layout snapshot: the document as it is now, so that "Zurücksetzen" can undo
    // every preset tried from here on.
    if (!schnappschussOrdner_) {
      schnappschussOrdner_ = std::make_unique<QTemporaryDir>(
          QDir(temporaererOrdner()).filePath(QStringLiteral("qxmarvolant-XXXXXX")));
    }
    schnappschussGespeichert_ = false;
    if (!schnappschussOrdner_->isValid()) {
      Meldung(QStringLiteral("Für „Zurücksetzen“ kann kein Zwischenstand angelegt werden: %1")
                  .arg(schnappschussOrdner_->errorString()),
              QStringLiteral("Warnung!"), Knoepfe::Ok, Symbol::Ausrufezeichen);
      return;
    }
    const QString vorher = s_.AktuelleDatei;
    s_.AktuelleDatei = Schnappschussdatei();
    schnappschussGespeichert_ = SpeichereDokument(s_);
    s_.AktuelleDatei = vorher;
  } else if (index == 5) {
    BriefZeigen();
  }
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

QString frmMain::standardDateiDialog(const QString& titel, const QString& filter, bool speichern) {
  QString ordner = QDir::currentPath();
  if (!s_.AktuelleDatei.isEmpty()) {
    const QFileInfo datei(s_.AktuelleDatei);
    if (datei.absoluteDir().exists()) ordner = datei.absolutePath();
  }
  QFileDialog dialog(this, titel, ordner, filter);
  dialog.setObjectName(QStringLiteral("dlgCommonDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (speichern) dialog.setDefaultSuffix(QStringLiteral("qxm"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void frmMain::mnuFileOpen_Click() {
  const QString name = dateiDialog(QStringLiteral("Öffnen"), kDokumentFilter, false);
  if (name.isEmpty()) return;
  // The document takes the file's name only when the file has loaded; a missing or refused
  // file is reported and changes nothing.
  DokumentOeffnen(s_, name);
}

void frmMain::mnuFileSave_Click() {
  // The template's untitled name is no file of the user's: it would overwrite whatever
  // "neu.qxm" lies in the current folder.
  const bool unbenannt = s_.AktuelleDatei.isEmpty() ||
                         QFileInfo(s_.AktuelleDatei).absoluteFilePath() ==
                             QFileInfo(dokumentdatei::unbenannterPfad()).absoluteFilePath();
  if (!unbenannt && QFileInfo(s_.AktuelleDatei).isFile()) {
    SpeichereDokument(s_);
    return;
  }
  speichernUnter();
}

void frmMain::mnuFileSaveAs_Click() { speichernUnter(); }

void frmMain::speichernUnter() {
  const QString name = dateiDialog(QStringLiteral("speichern"), kDokumentFilter, true);
  if (name.isEmpty()) return;
  const QString vorher = s_.AktuelleDatei;
  s_.AktuelleDatei = QFileInfo(name).absoluteFilePath();
  // A file that could not be written is no name of the document.
  if (!SpeichereDokument(s_)) s_.AktuelleDatei = vorher;
}

void frmMain::BriefZeigen() {
  s_.AktuellesRTF = 1;
  briefeditorZeigen();
}

void frmMain::hilfeZeigen() {
  hilfe_->mnuHelpContents_Click();
  if (hilfe_->fenster()) mittigPlatzieren(hilfe_->fenster());
}

void frmMain::briefeditorZeigen() {
  if (!briefeditor_) return;
  mittigPlatzieren(briefeditor_);
  briefeditor_->zeigen();
}

void frmMain::mittigPlatzieren(QWidget* fenster) {
  // Only before the first showing: afterwards the window stays where the user put it.
  if (fenster->property("platziert").toBool()) return;
  fenster->setProperty("platziert", true);
  QPoint links = frameGeometry().center() - QPoint(fenster->width() / 2, fenster->height() / 2);
  if (QScreen* bildschirm = screen()) {
    const QRect frei = bildschirm->availableGeometry();
    links.setX(
        std::clamp(links.x(), frei.left(), std::max(frei.left(), frei.right() - fenster->width())));
    links.setY(
        std::clamp(links.y(), frei.top(), std::max(frei.top(), frei.bottom() - fenster->height())));
  }
  fenster->move(links);
}

void frmMain::SeiteEinrichten() {
  blockierenderDialog(seitendialog_)->zeigen();
}

void frmMain::DruckdialogZeigen() {
  const bool neu = !drucken_;
  blockierenderDialog(drucken_);
  if (neu) drucken_->setzeDatensteuerung(data1_.get());
  drucken_->zeigen();
}

void frmMain::DirektDrucken() {
  // Address edits typed into the side panel belong to the record printed now.
  if (data1_->offen() && !data1_->Update()) {
    Meldung(data1_->fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return;
  }
  s_.VSPrinter1->Preview = false;
  Druckfortschritt fortschritt(*s_.VSPrinter1, this, QStringLiteral("Der Brief wird gedruckt …"));
  DruckeSeite(s_);
}

void frmMain::EinfuegenZeigen() {
  blockierenderDialog(einfuegen_)->zeigen();
}

void frmMain::PositionierenZeigen() {
  // The position dialog leaves the window usable; its OK redraws the page itself.
  if (!position_) position_ = new frmPosition(s_, this);
  position_->zeigen();
}

void frmMain::InfoZeigen() {
  blockierenderDialog(info_)->zeigen();
}
