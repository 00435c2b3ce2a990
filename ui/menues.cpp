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
  // A command of the menus; a checkable one shows a switch.
  struct Befehl {
    std::function<void()> ausfuehren;
    bool abhakbar = false;
  };
  // One item of a menu: caption, control name, command, and the member that keeps the item;
  // an item without a caption is a separator.
  struct Punkt {
    const char* text = nullptr;
    const char* name = nullptr;
    Befehl befehl;
    QAction** merken = nullptr;
  };
  auto eintragen = [this](QMenu* menue, std::initializer_list<Punkt> punkte) {
    for (const Punkt& p : punkte) {
      if (!p.text) {
        menue->addSeparator();
        continue;
      }
      QAction* a = menuePunkt(menue, QString::fromUtf8(p.text), QString::fromUtf8(p.name),
                              p.befehl.abhakbar);
      connect(a, &QAction::triggered, this, p.befehl.ausfuehren);
      if (p.merken) *p.merken = a;
    }
  };
  QMenuBar* leiste = menuBar();
  auto neuesMenue = [leiste](const QString& text, const QString& name) {
    QMenu* menue = leiste->addMenu(text);
    menue->setObjectName(name);
    return menue;
  };
  // The switch of a view flag: turns the flag over and ticks its item while the flag is on;
  // a flag that shows on the page redraws it.
  auto schalter = [this](double& flag, QAction* const& punkt, bool neuZeichnen) {
    return Befehl{[this, &flag, &punkt, neuZeichnen] {
                    flag = umschalten(flag);
                    punkt->setChecked(flag != 0);
                    if (neuZeichnen) SeiteZeichnen(s_);
                  },
                  true};
  };

  QMenu* datei = neuesMenue(QStringLiteral("&Datei"), QStringLiteral("mnuFile"));
  eintragen(datei, {{"&Neu", "mnuFileNew", {[this] {
                       s_.Ladeauftrag = QStringLiteral("neu");
                       LadeDokument(s_);
                     }}},
                    {"Ö&ffnen...", "mnuFileOpen", {[this] { mnuFileOpen_Click(); }}},
                    {"S&chließen", "mnuFileClose", {[this] { close(); }}},
                    {},
                    {"&Speichern", "mnuFileSave", {[this] { mnuFileSave_Click(); }}},
                    {"Speichern &unter...", "mnuFileSaveAs", {[this] { mnuFileSaveAs_Click(); }}},
                    {"als Bild speichern", "mnuBildSpeichern", {[this] {
                       mnuBildSpeichern_Click(s_, bildDialog);
                     }}},
                    {"in Word exportieren", "mnuWord", {[this] { word_->mnuWord_Click(); }}},
                    {},
                    {"Seite &einrichten...", "mnuFilePageSetup", {[this] { SeiteEinrichten(); }}},
                    {"Seitenvorschau", "mnuFilePrintPreview", {[this] { VorschauZeigen(); }}},
                    {"Dru&cken...", "mnuFilePrint", {[this] { DruckdialogZeigen(); }}}});
  // Three recent-file entries that the program never fills.
  for (int i = 1; i <= 3; ++i)
    menuePunkt(datei, QString(), QStringLiteral("mnuFileMRU_%1").arg(i))->setVisible(false);
  eintragen(datei, {{}, {"&Beenden", "mnuFileExit", {[this] { close(); }}}});

  eintragen(neuesMenue(QStringLiteral("&Bearbeiten"), QStringLiteral("mnuEdit")),
            {{"Brief", "mnuBrief", {[this] { BriefZeigen(); }}},
             {"Raster", "mnuRaster", {[this] { SeiteEinrichten(); }}}});

  QMenu* ansicht = neuesMenue(QStringLiteral("&Ansicht"), QStringLiteral("mnuView"));
  eintragen(ansicht,
            {{"Raster", "mnuGitterlinienansicht",
              schalter(s_.RasterAnzeigen, mnuGitterlinienansicht_, true), &mnuGitterlinienansicht_},
             {"Hilfsbereiche", "mnuHilfsbereiche",
              schalter(s_.HilfsbereicheAnzeigen, mnuHilfsbereiche_, true), &mnuHilfsbereiche_},
             {},
             {"&Seitenbreite", "mnuViewSeitenbreite", {[this] { Seitenbreite(); }}},
             {"&ganze Seite", "mnuViewganze_Seite", {[this] { GanzeSeite(); }}},
             {}});
  for (int prozent : {50, 100, 150, 200}) {
    QAction* a = menuePunkt(ansicht, QStringLiteral("%1 %").arg(prozent),
                            QStringLiteral("mnuViewProzent%1").arg(prozent));
    connect(a, &QAction::triggered, this, [this, prozent] { ZoomSetzen(prozent); });
  }

  // The frame commands. The "&Rahmen" menu and the frame popup of the page (right click)
  // list them in their own order and captions; the items of one command run the same code.
  const Befehl mmGenau{[this] {
                         s_.MmGenau = umschalten(s_.MmGenau);
                         mmummgenau_->setChecked(s_.MmGenau == 0);
                       },
                       true};
  const Befehl verankern{[this] {
                           verankernUmschalten();
                           verankertMarkieren();
                         },
                         true};
  const Befehl eigenschaft{[this] { EigenschaftenZeigen(s_); }};
  const Befehl einfuegen{[this] { EinfuegenZeigen(); }};
  const Befehl loeschen{[this] { RahmenLoeschen(s_); }};
  const Befehl positionieren{[this] { PositionierenZeigen(); }};
  const Befehl ganzVorne{[this] { RahmenGanzVorne(s_); }};
  const Befehl ganzHinten{[this] { RahmenGanzHinten(s_); }};
  const Befehl einsVor{[this] { RahmenEinsVor(s_); }};
  const Befehl einsZurueck{[this] { RahmenEinsZurueck(s_); }};

  QMenu* rahmen = neuesMenue(QStringLiteral("&Rahmen"), QStringLiteral("mnuRahmen"));
  eintragen(rahmen,
            {{"Alle anzeigen", "mnuRahmensichtbar",
              schalter(s_.AlleRahmenAnzeigen, mnuRahmensichtbar_, true), &mnuRahmensichtbar_},
             {"1/10 mm genau", "mmummgenau", mmGenau, &mmummgenau_},
             {"Rastermagnet", "mnuRahmenMagnet", schalter(s_.MagnetAn, mnuRahmenMagnet_, false),
              &mnuRahmenMagnet_},
             {},
             {"Einfügen", "mnuRahmenEinfuegen", einfuegen},
             {"Löschen", "mnuRahmenLoeschen", loeschen},
             {"Positionieren", "mnuRahmenPositionieren", positionieren},
             {"verankern", "mnuverankert", verankern, &mnuverankert_},
             {},
             {"ganz nach vorne", "mnuRahmenvorne", ganzVorne},
             {"ganz nach hinten", "mnuRahmenhinten", ganzHinten},
             {"eins nach vorne", "mnuRahmeneinsvorn", einsVor},
             {"eins nach hinten", "mnuRahmeneinshinten", einsZurueck}});
  connect(rahmen, &QMenu::aboutToShow, this, &frmMain::verankertMarkieren);

  eintragen(neuesMenue(QStringLiteral("&Hilfe"), QStringLiteral("mnuHelp")),
            {{"&Inhalt", "mnuHelpContents", {[this] { hilfeZeigen(); }}},
             {},
             {"Zur QX-Homepage", "mnuHelpQX", {[this] { hilfe_->mnuHelpQX_Click(); }}},
             {"Mail an den Autor", "mnuHelpHotline", {[this] { hilfe_->mnuHelpHotline_Click(); }}},
             {"Programm aktualisieren", "mnuupdate", {[this] { hilfe_->mnuupdate_Click(); }}},
             {},
             {"Info", "mnuInfo", {[this] { InfoZeigen(); }}}});

  // The frame popup of the page (right click).
  popSchrift_ = new QMenu(this);
  popSchrift_->setObjectName(QStringLiteral("PopSchrift"));
  eintragen(popSchrift_, {{"Eigenschaft", "Eigenschaft", eigenschaft},
                          {"Positionieren", "Positionieren", positionieren},
                          {"Verankern", "mnuVerankern", verankern, &mnuVerankern_},
                          {"Löschen", "Loeschen", loeschen},
                          {},
                          {"ganz nach vorne", "popganzvorn", ganzVorne},
                          {"ganz nach hinten", "popganzhinten", ganzHinten},
                          {"eins nach vorne", "popeinsvor", einsVor},
                          {"eins nach hinten", "popeinshinten", einsZurueck}});
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
