#include "elements/picture/frmbild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStorageInfo>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "elements/picture/bild_darstellen.h"
#include "elements/picture/bildvorschau.h"
#include "io/dateinamen.h"
#include "platform/bildsteuerung.h"
#include "platform/einheiten.h"
#include "platform/zahlen.h"

namespace {

// The file list's pattern, matched ignoring letter case ("LOGO.JPG" from a camera is a
// picture too); ".jpeg" is the other usual ending of a JPEG file.
const QString kDateimuster = QStringLiteral("*.bmp;*.cmp;*.jpg;*.jpeg;*.pcx;*.wmf");

const char* const kSlider1Text[10] = {"Helligkeit",
                                      "Kontrast",
                                      "Farbverschiebung",
                                      "Farbintensität",
                                      "Schärfe",
                                      "Zusätzliche Pixel",
                                      "Mosaik",
                                      "leer",
                                      "leer",
                                      "leer"};

// Mount points that hold no user files.
bool systembereich(const QString& pfad) {
  static const char* const kOrdner[] = {"/proc", "/sys", "/dev", "/snap"};
  for (const char* ordner : kOrdner) {
    const QString o = QString::fromLatin1(ordner);
    if (pfad == o || pfad.startsWith(o + QLatin1Char('/'))) return true;
  }
  // /run holds runtime data; removable media appear below /run/media.
  if (pfad == QLatin1String("/run")) return true;
  if (pfad.startsWith(QLatin1String("/run/")) && !pfad.startsWith(QLatin1String("/run/media/")))
    return true;
  return false;
}

// A folder and a name joined by exactly one "/".
QString pfadVerbinden(const QString& ordner, const QString& name) {
  if (ordner.endsWith(QLatin1Char('/'))) return ordner + name;
  return ordner + QLatin1Char('/') + name;
}

// Whether `pfad` lies in `wurzel` (or is it).
bool liegtIn(const QString& pfad, const QString& wurzel) {
  if (wurzel == QLatin1String("/")) return pfad.startsWith(QLatin1Char('/'));
  return pfad == wurzel || pfad.startsWith(wurzel + QLatin1Char('/'));
}

// Marks the dialog's own setting of its controls for the duration of a scope.
class AusCode {
 public:
  explicit AusCode(bool& merker) : merker_(merker), alt_(merker) { merker_ = true; }
  ~AusCode() { merker_ = alt_; }
  AusCode(const AusCode&) = delete;
  AusCode& operator=(const AusCode&) = delete;

 private:
  bool& merker_;
  bool alt_;
};

// The picture file the page would show: the stored path as it stands, else its name in
// the document's folder or the start-up folder (as the page redraw finds it). Empty when
// there is none.
QString dateiFinden(const Programmzustand& s, const QString& datei) {
  QStringList ordner;
  if (!s.AktuelleDatei.isEmpty()) ordner << QFileInfo(s.AktuelleDatei).absolutePath();
  ordner << s.Startverzeichnis;
  return gespeichertenPfadFinden(datei, ordner);
}

bool dateiVorhanden(const Programmzustand& s, const QString& datei) {
  return !dateiFinden(s, datei).isEmpty();
}

int16_t int16Wert(int v) { return zahlen::int16Begrenzt(v); }

}  // namespace

// --- Construction ------------------------------------------------------------------------

frmBild::frmBild(Programmzustand& s, QWidget* eltern) : QDialog(eltern), s_(s) {
  // The previews are a few hundred pixels wide: their pictures are loaded and changed at
  // about a megapixel, so that effects on a big photo answer at once.
  for (int k = 1; k <= 3; ++k) {
    Lead1[k] = std::make_unique<Bildsteuerung>();
    Lead1[k]->setzeZielgroesse(QSize(1024, 1024));
  }
  aufbauen();
}

frmBild::~frmBild() = default;

int frmBild::sliderFaktor(int index) {
  switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      return 10;
    case 6:
      return 1;
    default:
      return 0;
  }
}

QLabel* frmBild::wertAnzeige(QSlider* schieber) {
  auto* wert = new QLabel;
  wert->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  wert->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0000")));
  const auto zeigen = [wert](int v) { wert->setNum(v); };
  // The value while dragging, and the value taken.
  connect(schieber, &QSlider::sliderMoved, wert, zeigen);
  connect(schieber, &QSlider::valueChanged, wert, zeigen);
  wert->setNum(schieber->value());
  return wert;
}

QSlider* frmBild::neuerSchieber(int von, int bis) {
  auto* schieber = new QSlider(Qt::Horizontal);
  schieber->setRange(von, bis);
  schieber->setSingleStep(1);
  schieber->setPageStep(10);
  // Processing a large photo takes a while: a drag acts when the slider is released,
  // keys, clicks on the groove and the wheel act at once.
  schieber->setTracking(false);
  return schieber;
}

void frmBild::aufbauen() {
  setWindowTitle(QStringLiteral("Bilder und Grafiken"));
  setSizeGripEnabled(false);

  TabStripSchrift = new QTabWidget;
  Frame1[1] = seiteBilddatei();
  Frame1[2] = seiteKorrekturen();
  Frame1[3] = seiteEffekte();
  TabStripSchrift->addTab(Frame1[1], QStringLiteral("Bilddatei"));
  TabStripSchrift->addTab(Frame1[2], QStringLiteral("Korrekturen."));
  TabStripSchrift->addTab(Frame1[3], QStringLiteral("Effekte"));
  TabStripSchrift->setTabToolTip(0, QStringLiteral("Bestimmen der Bilddatei"));
  TabStripSchrift->setTabToolTip(1,
                                 QStringLiteral("Einstellen von Helligkeit, Kontrast und Farben"));
  TabStripSchrift->setTabToolTip(2, QStringLiteral("Drehen des Bildes"));
  connect(TabStripSchrift, &QTabWidget::currentChanged, this, [this] {
    if (!setztAusCode_) TabStrip_Click();
  });

  Command3 = new QPushButton(QStringLiteral("Ok"));
  Command1 = new QPushButton(QStringLiteral("Abbruch"));
  // Enter in the rotation box must not close the dialog.
  Command3->setAutoDefault(false);
  Command1->setAutoDefault(false);
  connect(Command3, &QPushButton::clicked, this, &frmBild::Command3_Click);
  connect(Command1, &QPushButton::clicked, this, &frmBild::Command1_Click);

  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  knoepfe->addWidget(Command3);
  knoepfe->addWidget(Command1);

  auto* haupt = new QVBoxLayout(this);
  haupt->setContentsMargins(9, 9, 9, 9);
  haupt->addWidget(TabStripSchrift, 1);
  haupt->addLayout(knoepfe);

  for (int k = 1; k <= 3; ++k) Vorschau[k]->setzeSteuerung(Lead1[k].get());
}

QWidget* frmBild::seiteBilddatei() {
  auto* seite = new QWidget;
  Drive1 = new QComboBox;
  Drive1->setToolTip(QStringLiteral("Laufwerk"));
  ordnerAnzeige_ = new QLabel;
  ordnerAnzeige_->setMinimumWidth(10);
  ordnerAnzeige_->setTextFormat(Qt::PlainText);
  Dir1 = new QListWidget;
  File1 = new QListWidget;
  LabelFormate = new QLabel(QStringLiteral("Unterstützte Formate: *.bmp, *.jpg, *.wmf, *.pcx"));
  Vorschau[1] = new Bildvorschau;

  connect(Drive1, &QComboBox::activated, this, [this](int) { Drive1_Change(); });
  connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* eintrag) {
    const QString ziel = eintrag->data(Qt::UserRole).toString();
    if (ordnerAnzeigen(ziel)) Dir1_Change();
  });
  // A file is chosen by selecting it (click or keys). The focus entering the list makes
  // its first entry current without selecting it: that chooses nothing.
  connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
    if (!setztAusCode_ && !File1->selectedItems().isEmpty()) File1_Click();
  });
  // The element's own file is only marked at opening; a click on it chooses it.
  connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* eintrag) {
    if (nurMarkiert_ && eintrag == File1->currentItem()) File1_Click();
  });

  auto* raster = new QGridLayout(seite);
  raster->addWidget(Drive1, 0, 0);
  raster->addWidget(ordnerAnzeige_, 1, 0);
  raster->addWidget(Dir1, 2, 0);
  raster->addWidget(File1, 0, 1, 3, 1);
  raster->addWidget(Vorschau[1], 0, 2, 3, 1);
  raster->addWidget(LabelFormate, 3, 0, 1, 3);
  raster->setColumnStretch(0, 3);
  raster->setColumnStretch(1, 3);
  raster->setColumnStretch(2, 4);
  return seite;
}

QWidget* frmBild::seiteKorrekturen() {
  auto* seite = new QWidget;
  auto* korrekturen = new QGroupBox(QStringLiteral("Bildkorrekturen"));
  auto* raster = new QGridLayout(korrekturen);
  for (int i = 0; i <= 4; ++i) {
    const int grenze = i == 2 ? 360 : 100;
    Slider1[i] = neuerSchieber(-grenze, grenze);
    raster->addWidget(new QLabel(QString::fromUtf8(kSlider1Text[i])), i, 0);
    raster->addWidget(Slider1[i], i, 1);
    raster->addWidget(wertAnzeige(Slider1[i]), i, 2);
    connect(Slider1[i], &QSlider::valueChanged, this, [this, i] {
      if (!setztAusCode_) Slider1_Change(i);
    });
  }

  auto* farben = new QGroupBox(QStringLiteral("Farben"));
  Check2 = new QCheckBox(QStringLiteral("Invertiert"));
  Check1 = new QCheckBox(QStringLiteral("Graustufen"));
  auto* farbzeile = new QHBoxLayout(farben);
  farbzeile->addWidget(Check2);
  farbzeile->addWidget(Check1);
  farbzeile->addStretch(1);
  connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
  connect(Check2, &QCheckBox::clicked, this, [this] { Check2_Click(); });

  auto* links = new QVBoxLayout;
  links->addWidget(korrekturen);
  links->addWidget(farben);
  links->addStretch(1);

  Vorschau[2] = new Bildvorschau;
  auto* zeile = new QHBoxLayout(seite);
  zeile->addLayout(links, 3);
  zeile->addWidget(Vorschau[2], 2);
  return seite;
}

QWidget* frmBild::seiteEffekte() {
  auto* seite = new QWidget;
  auto* winkel = new QGroupBox(QStringLiteral("Winkel"));
  Text1 = new QLineEdit(QStringLiteral("0"));
  Text1->setMaxLength(12);
  Text1->setFixedWidth(Text1->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12);
  Slider2 = neuerSchieber(0, 359);
  Slider3 = neuerSchieber(-45, 45);
  auto* winkelRaster = new QGridLayout(winkel);
  winkelRaster->addWidget(new QLabel(QStringLiteral("Drehen")), 0, 0);
  winkelRaster->addWidget(Text1, 0, 1);
  winkelRaster->addWidget(Slider2, 0, 2);
  winkelRaster->addWidget(new QLabel(QStringLiteral("Trapez")), 1, 0);
  winkelRaster->addWidget(Slider3, 1, 2);
  winkelRaster->addWidget(wertAnzeige(Slider3), 1, 3);
  connect(Text1, &QLineEdit::textEdited, this, [this] { Text1_Change(); });

  auto* effekte = new QGroupBox(QStringLiteral("Bildeffekte"));
  auto* raster = new QGridLayout(effekte);
  for (int i = 5; i <= 9; ++i) {
    Slider1[i] = neuerSchieber(0, 100);
    raster->addWidget(new QLabel(QString::fromUtf8(kSlider1Text[i])), i - 5, 0);
    raster->addWidget(Slider1[i], i - 5, 1);
    raster->addWidget(wertAnzeige(Slider1[i]), i - 5, 2);
    connect(Slider1[i], &QSlider::valueChanged, this, [this, i] {
      if (!setztAusCode_) Slider1_Change(i);
    });
  }

  auto* links = new QVBoxLayout;
  links->addWidget(winkel);
  links->addWidget(effekte);
  links->addStretch(1);

  Vorschau[3] = new Bildvorschau;
  auto* zeile = new QHBoxLayout(seite);
  zeile->addLayout(links, 3);
  zeile->addWidget(Vorschau[3], 2);

  connect(Slider2, &QSlider::valueChanged, this, [this] {
    if (!setztAusCode_) Slider2_Change();
  });
  connect(Slider3, &QSlider::valueChanged, this, [this] {
    if (!setztAusCode_) Slider3_Change();
  });
  return seite;
}

// --- Opening -----------------------------------------------------------------------------

void frmBild::zeigen() {
  if (s_.AktuellesBild < 1 || s_.AktuellesBild > s_.AnzahlBilder ||
      s_.AktuellesBild >= static_cast<int>(s_.Bilder.size()) || !s_.Bilder[s_.AktuellesBild])
    return;
  // The dialog was closed at its last use: its controls start afresh.
  steuerelementeZuruecksetzen();
  Form_Load();
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  Form_Activate();
}

void frmBild::Form_Load() {
  resize(static_cast<int>(einheiten::pixelAusTwips(einheiten::kElementdialogBreite)),
         static_cast<int>(einheiten::pixelAusTwips(einheiten::kElementdialogHoehe)));
}

void frmBild::steuerelementeZuruecksetzen() {
  AusCode ausCode(setztAusCode_);
  TabStripSchrift->setCurrentIndex(0);
  for (QSlider* schieber : Slider1) schieber->setValue(0);
  Slider2->setValue(0);
  Slider3->setValue(0);
  Text1->setText(QStringLiteral("0"));
  Check1->setChecked(false);
  Check2->setChecked(false);
  for (int k = 1; k <= 3; ++k) {
    Lead1[k]->leeren();
    Vorschau[k]->setzeHinweis(QString());
    Vorschau[k]->update();
  }
  laufwerkeFuellen();
  if (!ordnerAnzeigen(QDir::currentPath())) ordnerAnzeigen(QDir::homePath());
}

void frmBild::Form_Activate() {
  // "Abbruch" puts the frame back as it is now: choosing a file changes its height at once.
  rahmenBeimOeffnen_.reset();
  if (s_.AktuellerRahmen >= 1 && s_.AktuellerRahmen <= s_.AnzahlRahmen) {
    rahmenBeimOeffnen_ = s_.Rahmenliste[s_.AktuellerRahmen];
    hoeheBeimOeffnen_ = rahmenBeimOeffnen_->Hoehe;
  }

  // 1. The first page.
  {
    AusCode ausCode(setztAusCode_);
    TabStripSchrift->setCurrentIndex(0);
  }

  // 2. The element into the working copy. An element without a file keeps the file fields
  // of the copy: a new picture is offered the file chosen last.
  const ClassBild& e = s_.bild(s_.AktuellesBild);
  ClassBild& m = *s_.MusterBild;
  ClassBild kopie = e;
  if (e.File.isEmpty()) {
    kopie.File = m.File;
    kopie.File_Dir = m.File_Dir;
    kopie.File_Path = m.File_Path;
    kopie.File_Name = m.File_Name;
  }
  m = kopie;

  // 3. Sliders and the rotation box. Setting them is not a move by the user.
  {
    AusCode ausCode(setztAusCode_);
    const double felder[7] = {double(m.Helligkeit),       double(m.Kontrast),
                              double(m.Farbverschiebung), double(m.Farbintensitaet),
                              double(m.Schaerfe),         double(m.EffektPixel),
                              double(m.EffektMosaik)};
    for (int i = 0; i <= 6; ++i)
      Slider1[i]->setValue(zahlen::int32Begrenzt(felder[i] / sliderFaktor(i)));
    Slider2->setValue(zahlen::int32Begrenzt(m.Rotate / 100.0));
    Slider3->setValue(zahlen::int32Begrenzt(m.EffektTrapez / 100.0));
  }
  // The box shows the rotation with its fraction of a degree, so that the rule of the
  // box stores back the same value and opening never cuts a rotation such as 12.5.
  const QString drehtext = zahlen::schreibePunkt(m.Rotate / 100.0);
  if (drehtext != Text1->text()) {
    Text1->setText(drehtext);
    Text1_Change();
  }

  // 4. The element's file in the file list of the current folder. A file of that name
  // there is chosen (as by a click, taken only on "Ok") when the element's own file is
  // missing; when it is the element's own file it is only marked; a different file of the
  // same name is left alone, so that "Ok" keeps the element's picture.
  if (!e.File_Name.isEmpty()) {
    dateienAnzeigen(dirPfad_);
    const auto treffer = File1->findItems(e.File_Name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!treffer.isEmpty()) {
      const QString eigene = dateiFinden(s_, e.File);
      const QString hier = pfadVerbinden(dirPfad_, e.File_Name);
      if (eigene.isEmpty()) {
        {
          AusCode ausCode(setztAusCode_);
          File1->setCurrentItem(treffer.front());
        }
        File1_Click();
      } else if (QFileInfo(eigene).canonicalFilePath() == QFileInfo(hier).canonicalFilePath()) {
        AusCode ausCode(setztAusCode_);
        File1->setCurrentItem(treffer.front());
        nurMarkiert_ = true;
      }
    }
  }

  // 5. The check boxes.
  Check1->setChecked(m.Gray);
  Check2->setChecked(m.Invert);

  // 6. The preview.
  if (!e.File_Name.isEmpty()) BildVorschau();
}

// --- Preview -----------------------------------------------------------------------------

int frmBild::seitenIndex() const { return std::clamp(TabStripSchrift->currentIndex() + 1, 1, 3); }

void frmBild::BildVorschau() {
  const int k = seitenIndex();
  const ClassBild& m = *s_.MusterBild;
  BildDarstellen(s_, m, *Lead1[k]);
  QString hinweis;
  if (!m.File.isEmpty() && !Lead1[k]->hatBitmap()) {
    const QString grund = Lead1[k]->fehlergrund();
    if (!dateiVorhanden(s_, m.File))
      hinweis = QStringLiteral("Die Bilddatei wurde nicht gefunden.");
    else if (grund.isEmpty())
      hinweis = QStringLiteral("Die Bilddatei kann nicht gelesen werden.");
    else
      hinweis = QStringLiteral("Die Bilddatei „%1“ kann nicht gelesen werden. %2")
                    .arg(QFileInfo(dateiFinden(s_, m.File)).fileName(), grund);
  }
  Vorschau[k]->setzeHinweis(hinweis);
  Vorschau[k]->update();
}

// --- File browser ------------------------------------------------------------------------

void frmBild::File1_Click() {
  const QListWidgetItem* eintrag = File1->currentItem();
  if (!eintrag) return;
  nurMarkiert_ = false;
  ClassBild& m = *s_.MusterBild;
  m.File_Dir = Drive1->currentText();
  m.File_Path = dirPfad_;
  m.File_Name = eintrag->text();
  m.File = pfadVerbinden(dirPfad_, m.File_Name);
  BildVorschau();

  // The frame takes the proportions of the processed picture at once. A picture that could
  // not be loaded, or has no width, leaves the height as it is.
  const Bildsteuerung& lead = *Lead1[seitenIndex()];
  if (!lead.hatBitmap() || lead.BitmapWidth() <= 0) return;
  if (s_.AktuellerRahmen < 1 || s_.AktuellerRahmen > s_.AnzahlRahmen) return;
  ClassRahmen& r = s_.rahmen(s_.AktuellerRahmen);
  const double hoehe =
      zahlen::nint(double(r.Breite) * lead.BitmapHeight() / double(lead.BitmapWidth()));
  if (const auto neu = zahlen::alsInt32(hoehe)) r.Hoehe = *neu;
}

void frmBild::Dir1_Change() { dateienAnzeigen(dirPfad_); }

void frmBild::Drive1_Change() {
  const QString laufwerk = Drive1->currentText();
  if (laufwerk.isEmpty()) return;
  if (ordnerAnzeigen(laufwerk)) Dir1_Change();
}

void frmBild::laufwerkeFuellen() {
  QStringList pfade{QStringLiteral("/")};
  for (const QStorageInfo& laufwerk : QStorageInfo::mountedVolumes()) {
    if (!laufwerk.isValid() || !laufwerk.isReady()) continue;
    const QString wurzel = laufwerk.rootPath();
    // Bind mounts of single files and system areas are no places for pictures.
    if (systembereich(wurzel) || !QFileInfo(wurzel).isDir()) continue;
    pfade << wurzel;
  }
  pfade << QDir::homePath();
  pfade.removeDuplicates();
  std::sort(pfade.begin(), pfade.end());
  AusCode ausCode(setztAusCode_);
  Drive1->clear();
  Drive1->addItems(pfade);
}

void frmBild::laufwerkWaehlen(const QString& pfad) {
  // The entry that holds the folder most closely.
  int beste = -1;
  int laenge = -1;
  for (int i = 0; i < Drive1->count(); ++i) {
    const QString wurzel = Drive1->itemText(i);
    if (liegtIn(pfad, wurzel) && wurzel.size() > laenge) {
      beste = i;
      laenge = int(wurzel.size());
    }
  }
  if (beste < 0) return;
  AusCode ausCode(setztAusCode_);
  Drive1->setCurrentIndex(beste);
}

bool frmBild::ordnerAnzeigen(const QString& pfad) {
  const QFileInfo info(pfad);
  if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
    s_.fenster->Meldung(QStringLiteral("Der Ordner „%1“ kann nicht geöffnet werden.")
                            .arg(QDir::toNativeSeparators(pfad)),
                        QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return false;
  }
  const QDir ordner(info.absoluteFilePath());
  dirPfad_ = QDir::cleanPath(ordner.absolutePath());
  ordnerAnzeige_->setText(dirPfad_);
  ordnerAnzeige_->setToolTip(dirPfad_);

  AusCode ausCode(setztAusCode_);
  Dir1->clear();
  QDir oben(dirPfad_);
  if (oben.cdUp() && QDir::cleanPath(oben.absolutePath()) != dirPfad_) {
    auto* hoch = new QListWidgetItem(QStringLiteral(".."), Dir1);
    hoch->setData(Qt::UserRole, QDir::cleanPath(oben.absolutePath()));
  }
  const QStringList unterordner =
      ordner.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : unterordner) {
    auto* eintrag = new QListWidgetItem(name, Dir1);
    eintrag->setData(Qt::UserRole, pfadVerbinden(dirPfad_, name));
  }
  laufwerkWaehlen(dirPfad_);
  dateienAnzeigen(dirPfad_);
  return true;
}

void frmBild::dateienAnzeigen(const QString& pfad) {
  filePfad_ = pfad;
  QDir ordner(pfad);
  // Name filters ignore letter case unless asked otherwise: "X.BMP" is listed too.
  ordner.setNameFilters(kDateimuster.split(QLatin1Char(';')));
  ordner.setFilter(QDir::Files);
  ordner.setSorting(QDir::Name | QDir::IgnoreCase);
  AusCode ausCode(setztAusCode_);
  File1->clear();
  File1->addItems(ordner.entryList());
  nurMarkiert_ = false;
}

// --- Corrections and effects -------------------------------------------------------------

void frmBild::Slider1_Change(int index) {
  ClassBild& m = *s_.MusterBild;
  const int wert = Slider1[index]->value() * sliderFaktor(index);
  switch (index) {
    case 0:
      m.Helligkeit = int16Wert(wert);
      break;
    case 1:
      m.Kontrast = int16Wert(wert);
      break;
    case 2:
      m.Farbverschiebung = int16Wert(wert);
      break;
    case 3:
      m.Farbintensitaet = wert;
      break;
    case 4:
      m.Schaerfe = int16Wert(wert);
      break;
    case 5:
      m.EffektPixel = wert;
      break;
    case 6:
      m.EffektMosaik = wert;
      break;
    default:
      break;  // "leer": no field
  }
  BildVorschau();
}

void frmBild::Slider2_Change() {
  s_.MusterBild->Rotate = Slider2->value() * 100;
  Text1->setText(QString::number(Slider2->value()));
  BildVorschau();
}

void frmBild::Slider3_Change() {
  s_.MusterBild->EffektTrapez = int16Wert(Slider3->value() * 100);
  BildVorschau();
}

void frmBild::Text1_Change() {
  ClassBild& m = *s_.MusterBild;
  const double grad = zahlen::Val(Text1->text());
  if (!(grad >= 0 && grad <= 360)) {
    Text1->setText(QStringLiteral("0"));
    m.Rotate = 0;
  } else {
    m.Rotate = zahlen::int32Begrenzt(grad * 100);
  }
  {
    AusCode ausCode(setztAusCode_);
    Slider2->setValue(m.Rotate / 100);
  }
  BildVorschau();
}

void frmBild::Check1_Click() {
  s_.MusterBild->Gray = Check1->isChecked();
  BildVorschau();
}

void frmBild::Check2_Click() {
  s_.MusterBild->Invert = Check2->isChecked();
  BildVorschau();
}

void frmBild::TabStrip_Click() { BildVorschau(); }

// --- Closing -----------------------------------------------------------------------------

void frmBild::schliessen() {
  hide();
  setWindowModality(Qt::NonModal);
}

void frmBild::Command3_Click() {
  if (!isVisible()) return;
  schliessen();
  if (s_.AktuellesBild >= 1 && s_.AktuellesBild < static_cast<int>(s_.Bilder.size()) &&
      s_.Bilder[s_.AktuellesBild]) {
    ClassBild& e = s_.bild(s_.AktuellesBild);
    e = *s_.MusterBild;
    const bool rahmenGueltig = s_.AktuellerRahmen >= 1 && s_.AktuellerRahmen <= s_.AnzahlRahmen;
    if (dateiVorhanden(s_, e.File)) {
      if (rahmenGueltig && s_.rahmen(s_.AktuellerRahmen).Proportional)
        s_.fenster->MarkierungZeigen();
    } else if (rahmenGueltig) {
      // A picture frame without a picture: delete it after asking. A decision left over
      // from an earlier call must not skip the question.
      s_.Antwort = 0;
      RahmenLoeschen(s_);
    }
  }
  SeiteZeichnen(s_);
  if (geschlossen) geschlossen();
}

void frmBild::Command1_Click() {
  if (!isVisible()) return;
  schliessen();
  const auto rahmen = std::exchange(rahmenBeimOeffnen_, nullptr);
  const bool elementGueltig = s_.AktuellesBild >= 1 &&
                              s_.AktuellesBild < static_cast<int>(s_.Bilder.size()) &&
                              s_.Bilder[s_.AktuellesBild];
  if (elementGueltig && s_.bild(s_.AktuellesBild).File.isEmpty()) {
    // A new picture that never got a file disappears without a question.
    if (s_.AktuellerRahmen >= 1 && s_.AktuellerRahmen <= s_.AnzahlRahmen) {
      s_.Antwort = 9999;
      RahmenLoeschen(s_);
      if (s_.Antwort == 9999) s_.Antwort = 0;
    }
  } else if (rahmen) {
    // Everything else stays as it was, even when the element's file is missing now.
    rahmen->Hoehe = hoeheBeimOeffnen_;
  }
  if (geschlossen) geschlossen();
}

void frmBild::reject() { Command1_Click(); }
