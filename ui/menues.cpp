// The main window's menus, toolbars and status bar, and the font boxes that act on the
// current text element.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/dialogauswahl.h"
#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "elements/text/schriftboxen.h"
#include "io/dokument.h"
#include "platform/zahlen.h"
#include "ui/frmmain.h"
#include "ui/hilfe.h"
#include "ui/symbole.h"

namespace {

QAction* menuePunkt(QMenu* menue, const QString& text, const QString& name, bool abhakbar = false) {
  QAction* a = menue->addAction(text);
  a->setObjectName(name);
  a->setCheckable(abhakbar);
  return a;
}

}  // namespace

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
  // A typed size is taken as typed: "7" stays 7, not a listed size that starts with 7.
  combo3_->setCompleter(nullptr);
  combo3_->setMinimumContentsLength(4);
  combo3_->setToolTip(QStringLiteral("Schriftgröße"));
  toolbar3_->addWidget(combo1_);
  toolbar3_->addWidget(combo2_);
  toolbar3_->addWidget(combo3_);

  // The font boxes act on the current text element, on the user's choice only.
  connect(combo1_, &QComboBox::activated, this, [this](int index) {
    if (!s_.hatSchrift(s_.AktuelleSchrift)) return;
    s_.schrift(s_.AktuelleSchrift).fontname = combo1_->itemText(index);
    SeiteZeichnen(s_);
  });
  connect(combo2_, &QComboBox::activated, this, [this](int index) {
    if (!s_.hatSchrift(s_.AktuelleSchrift)) return;
    stilSetzen(s_.schrift(s_.AktuelleSchrift), combo2_->itemText(index));
    SeiteZeichnen(s_);
  });
  connect(combo3_, &QComboBox::activated, this, [this](int index) {
    if (!s_.hatSchrift(s_.AktuelleSchrift)) return;
    s_.schrift(s_.AktuelleSchrift).FontSize = zahlen::Val(combo3_->itemText(index));
    SeiteZeichnen(s_);
  });
  connect(combo3_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!s_.hatSchrift(s_.AktuelleSchrift)) return;
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
