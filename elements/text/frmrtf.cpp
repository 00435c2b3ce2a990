#include "elements/text/frmrtf.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/seite_zeichnen.h"
#include "elements/text/schriftarten.h"
#include "io/dateinamen.h"
#include "platform/richtextbox.h"
#include "platform/zahlen.h"

namespace {

const QString kFilter = QStringLiteral("RTF-File (*.rtf)");
const QString kTimes = QStringLiteral("Times New Roman");

// What the merge-field chooser offers, in its order; item i >= 1 inserts field i + 20.
const QStringList kFelder = {
    QStringLiteral("Datum"),       QStringLiteral("Firma"),    QStringLiteral("Anrede"),
    QStringLiteral("Vorname"),     QStringLiteral("Nachname"), QStringLiteral("Straße"),
    QStringLiteral("PLZ"),         QStringLiteral("Ort"),      QStringLiteral("Sonstiges 1"),
    QStringLiteral("Sonstiges 2"), QStringLiteral("Kategorie")};

struct Knopf {
  const char* schluessel;
  const char* beschriftung;
  const char* tipp;
};

// The toolbar buttons: key, caption, tool tip.
const Knopf kKnoepfe[] = {
    {"Laden", "Import", "Importieren einer RTF Datei"},
    {"Speichern", "Export", "Speichern einer RTF-Datei"},
    {"neu", "Neu", "Löscht den aktuellen Brief"},
    {"Kopieren", "Kopieren", "Markierten Text ins Clipboard kopieren"},
    {"Einfügen", "Einfügen", ""},
    {"Fett", "Fett", "Fettschrift aktivieren"},
    {"Kursiv", "Kursiv", "Kursivschrift aktivieren"},
    {"Unterstrich", "Unterstr.", "Den Text unterstreichen"},
    {"Links", "Links", "Den Text linksbündig darstellen"},
    {"Rechts", "Rechts", "Den Text rechtsbündig darstellen"},
    {"Zentriert", "Zentriert", "Den Text zentriert darstellen"},
};

// --- Toolbar pictures, drawn at 20 x 20 ------------------------------------------------

const QColor kTinte(40, 40, 60);
const QColor kBlau(40, 90, 170);
const QColor kGrau(140, 140, 150);

void blatt(QPainter& p, const QRectF& r) {
  const qreal k = r.width() * 0.3;
  QPolygonF umriss;
  umriss << r.topLeft() << QPointF(r.right() - k, r.top()) << QPointF(r.right(), r.top() + k)
         << r.bottomRight() << r.bottomLeft();
  p.setPen(QPen(kTinte, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(umriss);
}

void textzeilen(QPainter& p, qreal links, qreal oben, qreal breite, int anzahl) {
  p.setPen(QPen(kGrau, 1.2));
  for (int i = 0; i < anzahl; ++i) {
    const qreal y = oben + 3 * i;
    p.drawLine(QPointF(links, y), QPointF(links + (i == anzahl - 1 ? breite * 0.6 : breite), y));
  }
}

void pfeil(QPainter& p, QPointF von, QPointF nach) {
  p.setPen(QPen(kBlau, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(von, nach);
  const QPointF r = nach - von;
  const qreal laenge = std::hypot(r.x(), r.y());
  const QPointF e(r.x() / laenge, r.y() / laenge);
  const QPointF n(-e.y(), e.x());
  p.setBrush(kBlau);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF() << nach + e * 1.5 << nach - e * 3.5 + n * 3.5
                            << nach - e * 3.5 - n * 3.5);
}

void buchstabe(QPainter& p, const QString& zeichen, bool fett, bool kursiv, bool linie) {
  QFont f(QStringLiteral("Liberation Serif"));
  f.setPixelSize(16);
  f.setBold(fett);
  f.setItalic(kursiv);
  f.setUnderline(linie);
  p.setFont(f);
  p.setPen(kTinte);
  p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, zeichen);
}

void ausrichtung(QPainter& p, int art) {
  p.setPen(QPen(kTinte, 1.5));
  const int breiten[] = {16, 10, 14, 8};
  for (int i = 0; i < 4; ++i) {
    const qreal b = breiten[i];
    const qreal links = art == 0 ? 2 : art == 1 ? 18 - b : 10 - b / 2;
    const qreal y = 4.5 + 4 * i;
    p.drawLine(QPointF(links, y), QPointF(links + b, y));
  }
}

void zeichnen(QPainter& p, const QString& schluessel) {
  if (schluessel == u"Laden") {
    blatt(p, QRectF(7, 2, 11, 15));
    textzeilen(p, 9, 8, 6, 3);
    pfeil(p, QPointF(1, 6), QPointF(8, 13));
  } else if (schluessel == u"Speichern") {
    blatt(p, QRectF(2, 2, 11, 15));
    textzeilen(p, 4, 8, 6, 3);
    pfeil(p, QPointF(10, 10), QPointF(18, 17));
  } else if (schluessel == u"neu") {
    blatt(p, QRectF(4, 2, 12, 16));
  } else if (schluessel == u"Kopieren") {
    blatt(p, QRectF(2, 2, 10, 12));
    blatt(p, QRectF(8, 6, 10, 12));
    textzeilen(p, 10, 11, 6, 2);
  } else if (schluessel == u"Einfügen") {
    p.setPen(QPen(kTinte, 1));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(2.5, 3.5, 12, 15), 1.5, 1.5);
    p.setBrush(kGrau);
    p.drawRect(QRectF(5.5, 2, 6, 3));
    blatt(p, QRectF(9, 8, 9, 11));
  } else if (schluessel == u"Fett") {
    buchstabe(p, QStringLiteral("F"), true, false, false);
  } else if (schluessel == u"Kursiv") {
    buchstabe(p, QStringLiteral("K"), false, true, false);
  } else if (schluessel == u"Unterstrich") {
    buchstabe(p, QStringLiteral("U"), false, false, true);
  } else if (schluessel == u"Links") {
    ausrichtung(p, 0);
  } else if (schluessel == u"Rechts") {
    ausrichtung(p, 1);
  } else if (schluessel == u"Zentriert") {
    ausrichtung(p, 2);
  }
}

QIcon knopfbild(const QString& schluessel) {
  QIcon icon;
  for (int faktor : {1, 2}) {
    QPixmap bild(20 * faktor, 20 * faktor);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(faktor, faktor);
    zeichnen(p, schluessel);
    p.end();
    icon.addPixmap(bild);
  }
  return icon;
}

// Selects an item and shows its text, also when typing had changed the text.
void auswaehlen(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  box->setEditText(box->itemText(index));
}

QComboBox* eingabeliste(QWidget* eltern, const QString& name) {
  auto* box = new QComboBox(eltern);
  box->setObjectName(name);
  box->setEditable(true);
  // Typed text is taken as it stands: no completion, nothing added to the list.
  box->setCompleter(nullptr);
  box->setInsertPolicy(QComboBox::NoInsert);
  return box;
}

}  // namespace

// --- BrieffarbFeld ------------------------------------------------------------------------

BrieffarbFeld::BrieffarbFeld(QWidget* eltern) : Klickfeld(eltern) {
  setCursor(Qt::PointingHandCursor);
  setFixedSize(sizeHint());
}

void BrieffarbFeld::setzeFarbe(const QColor& farbe) {
  if (!farbe.isValid() || farbe == farbe_) return;
  farbe_ = farbe;
  update();
}

void BrieffarbFeld::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), farbe_);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- frmRTF -----------------------------------------------------------------------------

frmRTF::frmRTF(Programmzustand& s, QWidget* eltern) : QWidget(eltern, Qt::Window), s_(s) {
  setObjectName(QStringLiteral("frmRTF"));
  setWindowTitle(QStringLiteral("Brieftext"));
  setWindowModality(Qt::ApplicationModal);
  dateiWaehlen = [this](const QString& titel, const QString& filter, bool speichern) {
    return standardDateiWaehlen(titel, filter, speichern);
  };
  farbeWaehlen = [this](const QColor& start) {
    return QColorDialog::getColor(start, this, QStringLiteral("Farbe wählen"));
  };
  bauen();
  Form_Load();
}

void frmRTF::bauen() {
  auto* spalte = new QVBoxLayout(this);
  spalte->setContentsMargins(8, 4, 8, 8);
  spalte->setSpacing(6);

  toolbar1_ = new QToolBar(this);
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar1_->setIconSize(QSize(20, 20));
  auto* ausrichtungen = new QActionGroup(this);
  ausrichtungen->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (const Knopf& k : kKnoepfe) {
    const QString schluessel = QString::fromUtf8(k.schluessel);
    if (schluessel == u"Kopieren" || schluessel == u"Fett" || schluessel == u"Links") {
      toolbar1_->addSeparator();
    }
    QAction* a = toolbar1_->addAction(knopfbild(schluessel), QString::fromUtf8(k.beschriftung));
    a->setObjectName(schluessel);
    a->setToolTip(QString::fromUtf8(k.tipp));
    if (schluessel == u"Fett" || schluessel == u"Kursiv" || schluessel == u"Unterstrich") {
      a->setCheckable(true);
    } else if (schluessel == u"Links" || schluessel == u"Rechts" || schluessel == u"Zentriert") {
      // One of the three is always pressed: the alignment of the selection.
      a->setCheckable(true);
      ausrichtungen->addAction(a);
    }
    // triggered comes from the user only; setting the pressed state from code is silent.
    connect(a, &QAction::triggered, this, [this, schluessel] { Toolbar1_ButtonClick(schluessel); });
    aktionen_[schluessel] = a;
    if (QWidget* w = toolbar1_->widgetForAction(a)) w->setObjectName(schluessel);
  }
  aktionen_.at(QStringLiteral("Links"))->setChecked(true);
  spalte->addWidget(toolbar1_);

  auto* reihe = new QHBoxLayout;
  reihe->setSpacing(6);
  combo1_ = eingabeliste(this, QStringLiteral("Combo1"));
  combo1_->setMinimumWidth(200);
  combo1_->setMaxVisibleItems(20);
  combo2_ = eingabeliste(this, QStringLiteral("Combo2"));
  combo2_->setFixedWidth(64);
  combo2_->setMaxVisibleItems(20);
  picFarbe_ = new BrieffarbFeld(this);
  picFarbe_->setObjectName(QStringLiteral("PicFarbe"));
  combo3_ = new QComboBox(this);
  combo3_->setObjectName(QStringLiteral("Combo3"));
  combo3_->setToolTip(QStringLiteral("Einfügen von Datum oder Serienbriefadressendaten"));
  combo3_->setMinimumWidth(140);
  reihe->addWidget(combo1_);
  reihe->addWidget(combo2_);
  reihe->addWidget(picFarbe_);
  reihe->addStretch(1);
  reihe->addWidget(combo3_);
  spalte->addLayout(reihe);

  rtf_ = new RichTextBox(this);
  rtf_->setObjectName(QStringLiteral("RTF"));
  spalte->addWidget(rtf_, 1);

  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  buttOk_ = new QPushButton(QStringLiteral("OK"), this);
  buttOk_->setObjectName(QStringLiteral("ButtOk"));
  buttAbbruch_ = new QPushButton(QStringLiteral("Abbruch"), this);
  buttAbbruch_->setObjectName(QStringLiteral("ButtAbbruch"));
  for (QPushButton* b : {buttOk_, buttAbbruch_}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    knoepfe->addWidget(b);
  }
  spalte->addLayout(knoepfe);

  // Typing runs the Change handlers at every keystroke; picking from a list runs Click.
  connect(combo1_->lineEdit(), &QLineEdit::textEdited, this, &frmRTF::Combo1_Change);
  connect(combo1_, &QComboBox::activated, this, &frmRTF::Combo1_Click);
  connect(combo2_->lineEdit(), &QLineEdit::textEdited, this, &frmRTF::Combo2_Change);
  connect(combo2_, &QComboBox::activated, this, &frmRTF::Combo2_Click);
  connect(combo3_, &QComboBox::activated, this, &frmRTF::Combo3_Click);
  connect(picFarbe_, &BrieffarbFeld::geklickt, this, &frmRTF::PicFarbe_Click);
  connect(rtf_, &RichTextBox::SelChange, this, &frmRTF::RTF_SelChange);
  connect(buttOk_, &QPushButton::clicked, this, &frmRTF::ButtOk_Click);
  connect(buttAbbruch_, &QPushButton::clicked, this, &frmRTF::ButtAbbruch_Click);

  resize(700, 560);
}

void frmRTF::Form_Load() {
  const QSignalBlocker b1(combo1_);
  const QSignalBlocker b2(combo2_);
  const QSignalBlocker b3(combo3_);
  combo1_->clear();
  combo1_->addItems(SchriftartenListe(s_));
  combo2_->clear();
  for (int groesse = 8; groesse <= 72; groesse += 2) combo2_->addItem(QString::number(groesse));
  combo3_->clear();
  combo3_->addItems(kFelder);
}

QAction* frmRTF::aktion(const QString& schluessel) const {
  const auto it = aktionen_.find(schluessel);
  return it == aktionen_.end() ? nullptr : it->second;
}

QToolButton* frmRTF::knopf(const QString& schluessel) const {
  QAction* a = aktion(schluessel);
  return a ? qobject_cast<QToolButton*>(toolbar1_->widgetForAction(a)) : nullptr;
}

// --- Files ------------------------------------------------------------------------------

QString frmRTF::briefdatei(int element) const {
  QString name;
  if (element >= 1 && element < static_cast<int>(s_.RTFDateien.size()))
    name = s_.RTFDateien[static_cast<size_t>(element)].trimmed();
  // An element without a file name still gets a file of its own rather than none.
  if (name.isEmpty()) name = QStringLiteral("RTF%1.rtf").arg(std::max(element, 1));

  static const QRegularExpression laufwerk(QStringLiteral("^[A-Za-z]:"));
  const bool windowspfad = name.contains(QLatin1Char('\\')) || laufwerk.match(name).hasMatch();
  if (!windowspfad && QDir::isRelativePath(name)) return dateiImOrdner(s_.Startverzeichnis, name);

  const QString gefunden = gespeichertenPfadFinden(name, {s_.Startverzeichnis});
  if (!gefunden.isEmpty()) return gefunden;
  // Not there: an absolute path of this system whose folder exists is created as named;
  // anything else goes into the start-up folder under its file name.
  if (!windowspfad && QFileInfo(QFileInfo(name).absolutePath()).isDir()) return name;
  QString pfad = name;
  pfad.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return dateiImOrdner(s_.Startverzeichnis, QFileInfo(pfad).fileName());
}

void frmRTF::briefdateiLaden(int element, bool imEditor) {
  const QString pfad = briefdatei(element);
  unlesbar_.clear();
  const QFileInfo info(pfad);
  // A missing letter file gives an empty letter.
  if (!info.exists() && !info.isSymLink()) {
    rtf_->setText(QString());
    return;
  }
  // Only a regular file is read: a folder, a device or a pipe is never opened.
  QString grund;
  if (info.isDir()) {
    grund = QStringLiteral("„%1“ ist ein Ordner, keine Datei.").arg(pfad);
  } else if (!info.isFile()) {
    grund = QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(pfad);
  } else if (rtf_->LoadFile(pfad)) {
    return;
  } else {
    grund = rtf_->fehler();
  }
  // A file that is there but could not be read starts an empty letter and is never
  // overwritten by it (ButtOk_Click).
  rtf_->setText(QString());
  unlesbar_ = pfad;
  // In the editor the user learns what OK will do; at start-up, that the letter prints
  // without its text until the file can be read.
  const QString folge = imEditor ? QStringLiteral(
                                       "Der Editor zeigt einen leeren Brief. „OK“ "
                                       "überschreibt die Datei nicht.")
                                 : QStringLiteral(
                                       "Bis die Datei gelesen werden kann, wird der "
                                       "Brief ohne Brieftext gedruckt.");
  s_.fenster->Meldung(
      QStringLiteral("Der Brieftext kann nicht gelesen werden.\n%1\n\n%2").arg(grund, folge),
      QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
}

void frmRTF::BriefLaden() {
  briefdateiLaden(1, false);
  s_.BrieftextRTF = QString::fromLatin1(rtf_->TextRTF());
}

QString frmRTF::standardDateiWaehlen(const QString& titel, const QString& filter, bool speichern) {
  QFileDialog dialog(this, titel, s_.Startverzeichnis, filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (speichern) dialog.setDefaultSuffix(QStringLiteral("rtf"));
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

// --- Opening and closing ----------------------------------------------------------------

void frmRTF::zeigen() {
  Form_Activate();
  show();
  raise();
  activateWindow();
  rtf_->setFocus();
}

void frmRTF::Form_Activate() {
  if (combo1_->count() == 0) Form_Load();  // the font table was filled after construction
  {
    // Resetting the boxes inserts and applies nothing: the letter is reloaded below.
    const QSignalBlocker b1(combo1_);
    const QSignalBlocker b2(combo2_);
    const QSignalBlocker b3(combo3_);
    combo3_->setCurrentIndex(0);
    const int times = combo1_->findText(kTimes, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (combo1_->count() > 0) auswaehlen(combo1_, times < 0 ? 0 : times);
    const int zwoelf = combo2_->findText(QStringLiteral("12"), Qt::MatchExactly);
    if (zwoelf >= 0) {
      auswaehlen(combo2_, zwoelf);
    } else {
      combo2_->setEditText(QStringLiteral("12"));
    }
  }
  briefdateiLaden(s_.AktuellesRTF, true);
  // What is typed at the start comes out in Times New Roman 12.
  rtf_->setSelFontName(kTimes);
  rtf_->setSelFontSize(12);
  RTF_SelChange();
}

void frmRTF::ButtOk_Click() {
  const QString pfad = briefdatei(s_.AktuellesRTF);
  if (!unlesbar_.isEmpty() && (QFileInfo::exists(unlesbar_) || QFileInfo(unlesbar_).isSymLink())) {
    // What the file holds was never shown: saving over it would lose it unseen.
    s_.fenster->Meldung(
        QStringLiteral("Der Brieftext wurde nicht gespeichert: die Datei „%1“ konnte nicht "
                       "gelesen werden und wird nicht überschrieben.\nSpeichern Sie den Brief "
                       "mit „Export“ unter einem anderen Namen oder verlassen Sie den Editor "
                       "mit „Abbruch“.")
            .arg(unlesbar_),
        QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return;
  }
  if (!rtf_->SaveFile(pfad)) {
    // The editor stays open with the letter as it is, so nothing is lost.
    s_.fenster->Meldung(
        QStringLiteral("Der Brieftext wurde nicht gespeichert.\n%1").arg(rtf_->fehler()), QString(),
        Knoepfe::Ok, Symbol::Ausrufezeichen);
    return;
  }
  unlesbar_.clear();
  s_.BrieftextRTF = QString::fromLatin1(rtf_->TextRTF());
  hide();
  SeiteZeichnen(s_);
  s_.fenster->VorschauZeigen();
}

void frmRTF::ButtAbbruch_Click() {
  // The box keeps the edits until the letter is next loaded; nothing is stored.
  hide();
  SeiteZeichnen(s_);
}

void frmRTF::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  if (isVisible()) ButtAbbruch_Click();
}

// --- Font, size, colour and merge fields --------------------------------------------------

void frmRTF::Combo1_Change(const QString& text) { rtf_->setSelFontName(text); }

void frmRTF::Combo1_Click() {
  if (rtf_->isVisible()) rtf_->setFocus();
  rtf_->setSelFontName(combo1_->currentText());
}

void frmRTF::Combo2_Change(const QString& text) {
  // A text without a positive number applies no size; the box keeps what was typed.
  rtf_->setSelFontSize(zahlen::Val(text));
}

void frmRTF::Combo2_Click() {
  if (rtf_->isVisible()) rtf_->setFocus();
  rtf_->setSelFontSize(zahlen::Val(combo2_->currentText()));
}

void frmRTF::Combo3_Click(int index) {
  if (index < 0 || index >= kFelder.size()) return;
  rtf_->setSelText(index == 0 ? QStringLiteral("#Datum")
                              : QStringLiteral("#Feld%1").arg(index + 20));
}

void frmRTF::PicFarbe_Click() {
  const QColor farbe = farbeWaehlen ? farbeWaehlen(picFarbe_->farbe()) : QColor();
  if (!farbe.isValid()) return;  // cancelled: the colour stays
  picFarbe_->setzeFarbe(farbe);
  rtf_->setSelColor(picFarbe_->farbe());
}

// --- Toolbar ----------------------------------------------------------------------------

void frmRTF::Toolbar1_ButtonClick(const QString& schluessel) {
  if (schluessel == u"Laden") {
    const QString pfad =
        dateiWaehlen ? dateiWaehlen(QStringLiteral("RTF Datei laden"), kFilter, false) : QString();
    if (pfad.isEmpty()) return;
    // The element keeps its own file: OK saves the imported letter under that name.
    if (!rtf_->LoadFile(pfad))
      s_.fenster->Meldung(rtf_->fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  } else if (schluessel == u"Speichern") {
    const QString pfad = dateiWaehlen
                             ? dateiWaehlen(QStringLiteral("RTF Datei speichern"), kFilter, true)
                             : QString();
    if (pfad.isEmpty()) return;
    if (!rtf_->SaveFile(pfad))
      s_.fenster->Meldung(rtf_->fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  } else if (schluessel == u"neu") {
    rtf_->setText(QStringLiteral(" "));
  } else if (schluessel == u"Kopieren") {
    // The selection as rich text, with its plain text beside it for other programs.
    auto* daten = new QMimeData;
    daten->setData(QStringLiteral("text/rtf"), rtf_->SelRTF());
    daten->setText(rtf_->SelText());
    QGuiApplication::clipboard()->setMimeData(daten);
  } else if (schluessel == u"Einfügen") {
    rtf_->einfuegen();
  } else if (schluessel == u"Fett") {
    rtf_->setSelBold(aktion(schluessel)->isChecked());
  } else if (schluessel == u"Kursiv") {
    rtf_->setSelItalic(aktion(schluessel)->isChecked());
  } else if (schluessel == u"Unterstrich") {
    rtf_->setSelUnderline(aktion(schluessel)->isChecked());
  } else if (schluessel == u"Links") {
    rtf_->setSelAlignment(0);
  } else if (schluessel == u"Rechts") {
    rtf_->setSelAlignment(1);
  } else if (schluessel == u"Zentriert") {
    rtf_->setSelAlignment(2);
  }
}

// --- Selection mirrored into the controls -------------------------------------------------

void frmRTF::RTF_SelChange() {
  // Only the pressed states and texts change here; no handler of the controls runs.
  const auto gesetzt = [](std::optional<bool> wert) { return wert.value_or(false); };
  aktion(QStringLiteral("Fett"))->setChecked(gesetzt(rtf_->SelBold()));
  aktion(QStringLiteral("Kursiv"))->setChecked(gesetzt(rtf_->SelItalic()));
  aktion(QStringLiteral("Unterstrich"))->setChecked(gesetzt(rtf_->SelUnderline()));

  const std::optional<double> groesse = rtf_->SelFontSize();
  const std::optional<QString> name = rtf_->SelFontName();
  if (groesse && name) {
    const QSignalBlocker b1(combo1_);
    const QSignalBlocker b2(combo2_);
    const int eintrag = combo1_->findText(*name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (eintrag >= 0) auswaehlen(combo1_, eintrag);  // an unlisted face leaves the box
    if (*groesse > 0) {
      const QString text = QString::number(*groesse);
      const int g = combo2_->findText(text, Qt::MatchExactly);
      if (g >= 0) {
        auswaehlen(combo2_, g);
      } else {
        combo2_->setEditText(text);
      }
    }
  }

  const int ausrichtung = rtf_->SelAlignment().value_or(0);
  const QString gedrueckt = ausrichtung == 0   ? QStringLiteral("Links")
                            : ausrichtung == 1 ? QStringLiteral("Rechts")
                                               : QStringLiteral("Zentriert");
  aktion(gedrueckt)->setChecked(true);  // the group releases the other two

  if (const std::optional<QColor> farbe = rtf_->SelColor()) picFarbe_->setzeFarbe(*farbe);
}
