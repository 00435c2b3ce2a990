#include "ui/frmmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
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
#include "elements/text/schriftboxen.h"
#include "io/dateinamen.h"
#include "io/dokument.h"
#include "io/drucken.h"
#include "io/druckfortschritt.h"
#include "io/frmdrucken.h"
#include "io/frmvorschau.h"
#include "platform/ansichtsfenster.h"
#include "platform/datensteuerung.h"
#include "platform/dialoglage.h"
#include "platform/drucksteuerung.h"
#include "platform/einheiten.h"
#include "platform/richtextbox.h"
#include "platform/zahlen.h"
#include "ui/frminfo.h"
#include "ui/hilfe.h"
#include "ui/seitenansicht.h"
#include "ui/symbole.h"

namespace {

const QString kDokumentFilter = QStringLiteral("QX Marvolant (*.qxm)");

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
  const int panelBreite = bauePanels();
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
  linkeSpalte->setFixedWidth(std::max(panelBreite + 12, toolbar2_->sizeHint().width()));
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

QRectF frmMain::Rahmen() const { return seite_->Rahmen(); }

void frmMain::setzeRahmen(const QRectF& rechteck) { seite_->setzeRahmen(rechteck); }

void frmMain::MarkierungZeigen() {
  // The rectangle lies exactly over the selected frame at the current zoom.
  if (s_.hatRahmen(s_.AktuellerRahmen)) seite_->setzeRahmen(RahmenRechteck(s_, s_.AktuellerRahmen));
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
  const int gefunden = groesse ? groessenEintrag(*combo3_, *groesse) : -1;
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
  if (s_.hatRahmen(s_.AktuellerRahmen)) seite_->setzeRahmen(RahmenRechteck(s_, s_.AktuellerRahmen));

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
  ::schriftboxenFuellen(s_, combo1_, combo2_, combo3_);
  const int times = combo1_->findText(QStringLiteral("Times New Roman"),
                                      Qt::MatchExactly | Qt::MatchCaseSensitive);
  combo1_->setCurrentIndex(times < 0 ? 0 : times);
  combo2_->setCurrentIndex(0);
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
  if (!s_.hatRahmen(s_.AktuellerRahmen)) return;
  ClassRahmen& r = s_.rahmen(s_.AktuellerRahmen);
  r.Verankert = !r.Verankert;
}

void frmMain::verankertMarkieren() {
  const bool verankert =
      s_.hatRahmen(s_.AktuellerRahmen) && s_.rahmen(s_.AktuellerRahmen).Verankert;
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

void frmMain::SeiteEinrichten() { blockierenderDialog(seitendialog_)->zeigen(); }

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

void frmMain::EinfuegenZeigen() { blockierenderDialog(einfuegen_)->zeigen(); }

void frmMain::PositionierenZeigen() {
  // The position dialog leaves the window usable; its OK redraws the page itself.
  if (!position_) position_ = new frmPosition(s_, this);
  position_->zeigen();
}

void frmMain::InfoZeigen() { blockierenderDialog(info_)->zeigen(); }
