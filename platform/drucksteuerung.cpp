#include "platform/drucksteuerung.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTextDocument>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "platform/bildflaeche.h"
#include "platform/rtf_ausgabe.h"
#include "platform/speicher.h"
#include "platform/textdatei.h"
#include "platform/zahlen.h"

namespace {

constexpr double TWIPS_PRO_PIXEL = 1440.0 / Drucksteuerung::AUFLOESUNG;

// One recorded page and the paper it belongs on (twips).
struct Blatt {
  QPicture bild;
  QSizeF groesse;
};

// Paper in twips as a page layout without margins; landscape when wider than high. A PDF
// page is the page's own size; a printer gets the standard paper nearest to it, by whose
// name it knows its media.
QPageLayout seitenlayout(QSizeF twips, bool fuerDrucker) {
  double b = twips.width() > 0 ? twips.width() : 11907;
  double h = twips.height() > 0 ? twips.height() : 16840;
  auto ausrichtung = QPageLayout::Portrait;
  if (b > h) {
    std::swap(b, h);
    ausrichtung = QPageLayout::Landscape;
  }
  const QPageSize groesse(QSizeF(b / 1440.0, h / 1440.0), QPageSize::Inch, QString(),
                          fuerDrucker ? QPageSize::FuzzyMatch : QPageSize::ExactMatch);
  return QPageLayout(groesse, ausrichtung, QMarginsF(0, 0, 0, 0));
}

// Replays a recorded page on a painter whose device has dpi dots per inch. A picture
// scales itself from the default screen resolution it runs in to the device's logical
// resolution; that scale is taken out, so one recorded device pixel becomes
// dpi / AUFLOESUNG device dots.
void abspielen(QPainter& maler, const QPicture& bild, double dpi) {
  const QPaintDevice* geraet = maler.device();
  const double eigenX = bild.logicalDpiX() > 0 ? bild.logicalDpiX() : 96;
  const double eigenY = bild.logicalDpiY() > 0 ? bild.logicalDpiY() : 96;
  const double geraetX = geraet && geraet->logicalDpiX() > 0 ? geraet->logicalDpiX() : eigenX;
  const double geraetY = geraet && geraet->logicalDpiY() > 0 ? geraet->logicalDpiY() : eigenY;
  maler.scale(dpi / Drucksteuerung::AUFLOESUNG * eigenX / geraetX,
              dpi / Drucksteuerung::AUFLOESUNG * eigenY / geraetY);
  maler.drawPicture(0, 0, bild);
}

// Takes the last `anzahl` pages out of a finished PDF file written by QPdfWriter: they are
// blanked out of the page tree's list of kids (written last, before the cross-reference
// table) and its count goes down, in place and at the same length, so that no offset of
// the file changes. The pages' own objects stay in the file, unreferenced. False when the
// page tree is not found as QPdfWriter writes it.
bool letzteSeitenStreichen(QFile& datei, int anzahl, int seiten) {
  if (anzahl <= 0) return true;
  const qint64 laenge = datei.size();
  const qint64 ab = std::max<qint64>(0, laenge - (65536 + 24 * static_cast<qint64>(seiten)));
  if (!datei.seek(ab)) return false;
  QByteArray ende = datei.read(laenge - ab);
  const qsizetype baum = ende.lastIndexOf("/Type /Pages");
  if (baum < 0) return false;
  const qsizetype auf = ende.indexOf('[', baum);
  const qsizetype zu = ende.indexOf(']', auf);
  const qsizetype zahl = ende.indexOf("/Count ", zu);
  if (auf < 0 || zu < 0 || zahl < 0) return false;
  // The kids, one "n 0 R" each, from the end.
  qsizetype stelle = zu;
  for (int i = 0; i < anzahl; ++i) {
    const qsizetype r = ende.lastIndexOf('R', stelle - 1);
    if (r <= auf) return false;
    qsizetype anfang = r;
    while (anfang > auf + 1 && ende[anfang - 1] != '\n' && ende[anfang - 1] != '[') --anfang;
    for (qsizetype k = anfang; k <= r; ++k) ende[k] = ' ';
    stelle = anfang;
  }
  const qsizetype ziffern = zahl + 7;
  qsizetype zEnde = ziffern;
  while (zEnde < ende.size() && std::isdigit(static_cast<unsigned char>(ende[zEnde]))) ++zEnde;
  bool ok = false;
  const int vorher = ende.mid(ziffern, zEnde - ziffern).toInt(&ok);
  if (!ok || vorher < anzahl) return false;
  const QByteArray neu = QByteArray::number(vorher - anzahl).leftJustified(zEnde - ziffern, ' ');
  ende.replace(ziffern, neu.size(), neu);
  return datei.seek(ab) && datei.write(ende) == ende.size();
}

// The file a run writes before it replaces the PDF file `ziel` with it, opened; null when
// it cannot be made, and then `grund`, when given, says why as the system said it.
std::unique_ptr<QTemporaryFile> laufdateiAnlegen(const QFileInfo& ziel, QString* grund = nullptr) {
  if (!ziel.absoluteDir().exists()) return nullptr;
  auto datei = std::make_unique<QTemporaryFile>(
      ziel.absoluteDir().filePath(ziel.fileName() + QStringLiteral(".XXXXXX")));
  if (!datei->open()) {
    if (grund) *grund = textdatei::schreibgrund(*datei);
    return nullptr;
  }
  return datei;
}

// `grund`: why, as the system said it (textdatei::schreibgrund), when it said.
QString druckdateiFehler(const QString& pfad, const QString& grund = QString()) {
  return textdatei::meldung(QStringLiteral("Die Druckdatei „%1“ konnte nicht geschrieben werden.")
                                .arg(QDir::toNativeSeparators(pfad)),
                            grund);
}

// With the reason of the file being written, when it failed.
QString druckdateiFehler(const QString& pfad, const QFileDevice* datei) {
  return druckdateiFehler(pfad, datei && datei->error() != QFileDevice::NoError
                                    ? textdatei::schreibgrund(*datei)
                                    : QString());
}

// The rights a file written in place of `pfad` should have: those of the file already
// there, else read and write for all as far as the user's file-creation mask allows.
QFileDevice::Permissions ausgabeRechte(const QString& pfad) {
  const QFileInfo vorhanden(pfad);
  if (vorhanden.exists()) return vorhanden.permissions();
  const mode_t maske = ::umask(0);
  ::umask(maske);
  QFileDevice::Permissions rechte;
  const std::pair<mode_t, QFileDevice::Permissions> bits[] = {
      {S_IRUSR, QFileDevice::ReadOwner | QFileDevice::ReadUser},
      {S_IWUSR, QFileDevice::WriteOwner | QFileDevice::WriteUser},
      {S_IRGRP, QFileDevice::ReadGroup},
      {S_IWGRP, QFileDevice::WriteGroup},
      {S_IROTH, QFileDevice::ReadOther},
      {S_IWOTH, QFileDevice::WriteOther}};
  for (const auto& [bit, recht] : bits)
    if (!(maske & bit)) rechte |= recht;
  return rechte;
}

}  // namespace

struct Drucksteuerung::Intern {
  // The held document.
  std::vector<std::shared_ptr<Blatt>> seiten;
  QPainter maler;
  std::unique_ptr<Geraetekontext> dc;
  bool offen = false;
  bool direkt = false;  // the started document goes into the run's output
  // A page of a document that goes into the run's output is put on the output only when
  // the first drawing call reaches it (or when it ends empty), so that the paper set after
  // the document was started is the paper of that page.
  bool seiteAusstehend = false;
  bool seitenAngenommen = true;  // every page of the document went onto the output
  int nummer = 0;

  // The print run and its output, chosen when its first document starts and begun with
  // its first page.
  bool lauf = false;
  bool laufZu = false;  // the output failed or pages were taken back: no further pages
  int laufSeiten = 0;
  int verworfen = 0;
  QString laufZiel;  // the PDF file the run replaces; empty for the printer
  std::unique_ptr<QTemporaryFile> laufDatei;
  std::unique_ptr<QPdfWriter> pdfSchreiber;
  QPagedPaintDevice* ausgabe = nullptr;
  QPainter ausgabeMaler;
  QSizeF ausgabePapier;
  double ausgabeMassstab = 1;

  std::unique_ptr<QPrinter> drucker;
  bool pdfGewaehlt = false;  // setzePdfDatei was called (an empty path: the printer)
  QString pdf;
  QString letztePdf;    // the file named before a queue was chosen
  QString druckerName;  // the chosen print queue; empty: the machine's default one
  QString fehler;

  QString schriftname = QStringLiteral("Arial");
  double schriftgroesse = 10;

  // A rich-text output of the run, or of the held document, lay wholly off the paper.
  bool textAusserhalb = false;

  // The letter text as read for the last rich-text output.
  QByteArray briefRtf;
  std::unique_ptr<QTextDocument> brief;

  void ausgabeSchliessen() {
    if (ausgabeMaler.isActive()) ausgabeMaler.end();
    pdfSchreiber.reset();
    laufDatei.reset();
    ausgabe = nullptr;
  }
};

Drucksteuerung::Drucksteuerung() : d_(std::make_unique<Intern>()) {
  d_->dc = std::make_unique<Geraetekontext>(this, AUFLOESUNG, AUFLOESUNG);
  d_->dc->setzeMalerQuelle(
      [this]() -> QPainter* { return ausstehendeSeiteAusgeben() ? &d_->ausgabeMaler : nullptr; });
  schriftWaehlen();
}

Drucksteuerung::~Drucksteuerung() {
  d_->dc->setzeMaler(nullptr);
  if (d_->maler.isActive()) d_->maler.end();
  // An unfinished run leaves the previous file as it was.
  d_->ausgabeSchliessen();
}

HDC Drucksteuerung::hdc() { return d_->dc.get(); }
double Drucksteuerung::twipsProPixelX() const { return TWIPS_PRO_PIXEL; }
double Drucksteuerung::twipsProPixelY() const { return TWIPS_PRO_PIXEL; }

bool Drucksteuerung::direkt() const { return d_->offen && d_->direkt; }

void Drucksteuerung::malerAnfangszustand(QPainter& maler) {
  // Every page starts as a fresh one would, whatever the page before left behind.
  maler.resetTransform();
  maler.scale(d_->ausgabeMassstab, d_->ausgabeMassstab);
  maler.setClipping(false);
  maler.setPen(QPen());
  maler.setBrush(Qt::NoBrush);
  maler.setOpacity(1);
  maler.setRenderHint(QPainter::TextAntialiasing, true);
  d_->dc->setzeMaler(&maler);
}

bool Drucksteuerung::seiteBeginnen() {
  if (direkt()) {
    // The output is chosen now, so that a missing printer or an unwritable file is known
    // when the document starts; the page itself waits for its first drawing call.
    d_->dc->setzeMaler(nullptr);
    d_->seiteAusstehend = ausgabeBereit();
    if (!d_->seiteAusstehend) d_->seitenAngenommen = false;
    return d_->seiteAusstehend;
  }
  auto blatt = std::make_shared<Blatt>();
  d_->seiten.push_back(blatt);
  d_->maler.begin(&blatt->bild);
  d_->maler.setRenderHint(QPainter::TextAntialiasing, true);
  d_->dc->setzeMaler(&d_->maler);
  return true;
}

bool Drucksteuerung::ausstehendeSeiteAusgeben() {
  if (!direkt() || !d_->seiteAusstehend) return false;
  d_->seiteAusstehend = false;
  if (!ausgabeSeite(QSizeF(PaperWidth, PaperHeight))) {
    d_->seitenAngenommen = false;
    return false;
  }
  malerAnfangszustand(d_->ausgabeMaler);
  return true;
}

void Drucksteuerung::seiteBeenden() {
  // A page nothing was drawn on is put out empty, on its paper.
  ausstehendeSeiteAusgeben();
  d_->dc->setzeMaler(nullptr);
  if (direkt() || !d_->maler.isActive()) return;
  d_->maler.end();
  Blatt& blatt = *d_->seiten.back();
  blatt.groesse = QSizeF(PaperWidth, PaperHeight);
  blatt.bild.setBoundingRect(geraeteflaeche());
}

QRect Drucksteuerung::geraeteflaeche() const {
  return QRect(0, 0, std::max(0, zahlen::int32Begrenzt(std::ceil(PaperWidth / TWIPS_PRO_PIXEL))),
               std::max(0, zahlen::int32Begrenzt(std::ceil(PaperHeight / TWIPS_PRO_PIXEL))));
}

bool Drucksteuerung::StartDoc() {
  seiteBeenden();
  d_->offen = true;
  d_->direkt = !Preview && d_->lauf;
  d_->seitenAngenommen = true;
  if (!d_->direkt) {
    d_->seiten.clear();
    ++d_->nummer;
    if (!d_->lauf) d_->textAusserhalb = false;
  }
  CurrentX = 0;
  CurrentY = 0;
  if (d_->direkt) d_->fehler.clear();
  return seiteBeginnen();
}

bool Drucksteuerung::EndDoc() {
  if (!d_->offen) return true;
  seiteBeenden();
  d_->offen = false;
  if (!d_->direkt) ++d_->nummer;
  d_->direkt = false;
  return d_->seitenAngenommen;
}

void Drucksteuerung::NewPage() {
  if (!d_->offen) return;
  seiteBeenden();
  CurrentX = 0;
  CurrentY = 0;
  seiteBeginnen();
}

Satzergebnis Drucksteuerung::setTextRTF(const QByteArray& rtf,
                                        const std::function<void(QTextDocument&)>& vorher) {
  if (!d_->brief || d_->briefRtf != rtf) {
    d_->brief = rtfDokument(rtf);
    d_->brief->setUndoRedoEnabled(true);
    d_->briefRtf = rtf;
  }
  // The changes of `vorher` are made on the letter itself and taken back after the
  // output: a copy of a long letter for every address would take as long as its output,
  // and the windows would stand still meanwhile. A letter left changed by a failure is
  // read again next time.
  QTextDocument& brief = *d_->brief;
  const int schritte = brief.availableUndoSteps();
  Satzergebnis ergebnis;
  try {
    if (vorher) vorher(brief);
    ergebnis = dokumentAusgeben(*this, brief);
  } catch (...) {
    d_->brief.reset();
    throw;
  }
  while (brief.availableUndoSteps() > schritte) brief.undo();
  brief.clearUndoRedoStacks(QTextDocument::RedoStack);
  if (ergebnis == Satzergebnis::Ausserhalb) d_->textAusserhalb = true;
  return ergebnis;
}

bool Drucksteuerung::textAusserhalb() const { return d_->textAusserhalb; }

// --- Print runs ----------------------------------------------------------------------

void Drucksteuerung::LaufBeginnen() {
  if (d_->lauf) return;
  GrosseBloeckeImHeap();
  d_->lauf = true;
  d_->laufZu = false;
  d_->laufSeiten = 0;
  d_->verworfen = 0;
  d_->textAusserhalb = false;
  d_->fehler.clear();
}

bool Drucksteuerung::laufOffen() const { return d_->lauf; }
int Drucksteuerung::laufSeiten() const { return d_->laufSeiten - d_->verworfen; }

void Drucksteuerung::SeitenVerwerfen(int anzahl) {
  if (!d_->lauf) return;
  d_->verworfen = std::clamp(d_->verworfen + anzahl, 0, d_->laufSeiten);
  d_->laufZu = true;
}

bool Drucksteuerung::ausgabeWaehlen() {
  Intern& d = *d_;
  const QString pdf = pdfDatei();
  QPrinter* drucker = nullptr;
  if (pdf.isEmpty()) {
    QPrinter& p = this->drucker();
    const QString name =
        d.druckerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : d.druckerName;
    if (!name.isEmpty() && p.printerName() != name) p.setPrinterName(name);
    // Without a print system the printer is a PDF writer without a file: no output.
    if (name.isEmpty() || p.outputFormat() != QPrinter::NativeFormat || p.printerName() != name ||
        !p.isValid()) {
      d.fehler = name.isEmpty() ? QStringLiteral(
                                      "Kein Drucker verfügbar. Bitte wählen Sie einen Drucker "
                                      "oder eine PDF-Datei.")
                                : QStringLiteral(
                                      "Der Drucker „%1“ ist nicht verfügbar. Bitte wählen Sie "
                                      "einen Drucker oder eine PDF-Datei.")
                                      .arg(name);
      return false;
    }
    drucker = &p;
  }

  if (drucker) {
    drucker->setFullPage(true);
    drucker->setCopyCount(1);
    drucker->setDocName(QStringLiteral("QX Marvolant"));
    d.ausgabe = drucker;
    d.laufZiel.clear();
  } else {
    const QFileInfo info(pdf);
    d.laufZiel = info.absoluteFilePath();
    QString grund;
    std::unique_ptr<QTemporaryFile> datei = laufdateiAnlegen(info, &grund);
    if (!datei) {
      d.fehler = druckdateiFehler(pdf, grund);
      return false;
    }
    d.pdfSchreiber = std::make_unique<QPdfWriter>(datei.get());
    d.pdfSchreiber->setResolution(AUFLOESUNG);
    d.pdfSchreiber->setCreator(QStringLiteral("QX Marvolant"));
    d.pdfSchreiber->setTitle(info.completeBaseName());
    d.laufDatei = std::move(datei);
    d.ausgabe = d.pdfSchreiber.get();
  }
  return true;
}

void Drucksteuerung::papierSetzen(QSizeF papier) {
  Intern& d = *d_;
  const bool drucker = d.laufZiel.isEmpty();
  const QPageLayout lage = seitenlayout(papier, drucker);
  if (drucker) {
    // A printer takes a layout only with margins it can print; the page is printed from
    // the paper's corner whatever they are (full page), so the margins stay its own.
    d.ausgabe->setPageOrientation(lage.orientation());
    d.ausgabe->setPageSize(lage.pageSize());
  } else {
    d.ausgabe->setPageLayout(lage);
  }
  d.ausgabePapier = papier;
}

bool Drucksteuerung::ausgabeOeffnen(QSizeF papier) {
  Intern& d = *d_;
  // The first page's paper is the output's layout when the painter begins.
  papierSetzen(papier);
  if (!d.ausgabeMaler.begin(d.ausgabe)) {
    d.fehler =
        d.laufZiel.isEmpty()
            ? QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(drucker().printerName())
            : druckdateiFehler(d.laufZiel, d.laufDatei.get());
    d.ausgabeSchliessen();
    return false;
  }
  const int dpi = d.ausgabe->logicalDpiX();
  d.ausgabeMassstab = dpi > 0 ? static_cast<double>(dpi) / AUFLOESUNG : 1.0;
  return true;
}

bool Drucksteuerung::ausgabeBereit() {
  Intern& d = *d_;
  if (d.laufZu) {
    if (d.fehler.isEmpty())
      d.fehler = QStringLiteral("Der Drucklauf wurde nach einem Fehler beendet.");
    return false;
  }
  if (d.ausgabe || ausgabeWaehlen()) return true;
  d.laufZu = true;
  return false;
}

bool Drucksteuerung::ausgabeSeite(QSizeF papier) {
  Intern& d = *d_;
  if (!ausgabeBereit()) return false;
  bool ok;
  if (!d.ausgabeMaler.isActive()) {
    ok = ausgabeOeffnen(papier);
  } else {
    if (papier != d.ausgabePapier) papierSetzen(papier);
    ok = d.ausgabe->newPage();
    if (!ok) {
      d.fehler = d.laufZiel.isEmpty()
                     ? QStringLiteral("Der Drucker konnte keine weitere Seite drucken.")
                     : druckdateiFehler(d.laufZiel, d.laufDatei.get());
    }
  }
  if (!ok) {
    d.laufZu = true;
    return false;
  }
  ++d.laufSeiten;
  return true;
}

bool Drucksteuerung::LaufBeenden() {
  Intern& d = *d_;
  if (!d.lauf) return true;
  if (d.offen && d.direkt) EndDoc();
  d.lauf = false;
  // An output that could not be opened was reported with the page that asked for it.
  if (!d.ausgabe || !d.ausgabeMaler.isActive()) {
    d.ausgabeSchliessen();
    return true;
  }
  const int uebrig = d.laufSeiten - d.verworfen;
  // A print job whose every page failed is not sent to the printer.
  if (d.laufZiel.isEmpty() && uebrig <= 0) drucker().abort();
  const bool gemalt = d.ausgabeMaler.end();
  d.pdfSchreiber.reset();
  d.ausgabe = nullptr;
  if (d.laufZiel.isEmpty()) {
    if (gemalt || uebrig <= 0) return true;
    d.fehler =
        QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(drucker().printerName());
    return false;
  }

  const std::unique_ptr<QTemporaryFile> datei = std::move(d.laufDatei);
  bool ok = gemalt && datei->error() == QFileDevice::NoError && uebrig > 0;
  // Should the page tree not be found, the file keeps the failed pages rather than losing
  // the good ones; the user has been told of the failure.
  if (ok && d.verworfen > 0) letzteSeitenStreichen(*datei, d.verworfen, d.laufSeiten);
  ok = ok && datei->flush();
  // Taken before closing, which forgets a failed write once the rest is flushed.
  QString fehler = druckdateiFehler(d.laufZiel, datei.get());
  datei->close();
  // The temporary file is private to its owner; the finished PDF gets the rights of the
  // file it replaces, or those of any new file.
  if (ok && !datei->setPermissions(ausgabeRechte(d.laufZiel))) {
    ok = false;
    fehler = druckdateiFehler(d.laufZiel, datei.get());
  }
  if (ok) {
    if (std::rename(QFile::encodeName(datei->fileName()).constData(),
                    QFile::encodeName(d.laufZiel).constData()) == 0) {
      datei->setAutoRemove(false);
      return true;
    }
    fehler = druckdateiFehler(d.laufZiel, qt_error_string(errno));
  }
  // A run that ended before its first page was kept writes nothing.
  if (uebrig <= 0 && gemalt) return true;
  d.fehler = fehler;
  return false;
}

bool Drucksteuerung::PrintDoc() {
  d_->fehler.clear();
  if (d_->offen) EndDoc();
  if (d_->seiten.empty()) {
    d_->fehler = QStringLiteral("Es ist kein Dokument zum Drucken vorhanden.");
    return false;
  }
  if (d_->lauf) return false;  // not while a run prints
  const int kopien = std::max<int>(1, Copies);
  LaufBeginnen();
  bool ok = true;
  for (size_t i = 0; i < d_->seiten.size() && ok; ++i) {
    const Blatt& blatt = *d_->seiten[i];
    for (int k = 0; k < kopien && ok; ++k) {
      ok = ausgabeSeite(blatt.groesse.isEmpty() ? QSizeF(PaperWidth, PaperHeight) : blatt.groesse);
      if (!ok) break;
      QPainter& maler = d_->ausgabeMaler;
      maler.resetTransform();
      abspielen(maler, blatt.bild, maler.device()->logicalDpiX());
    }
  }
  const QString fehler = d_->fehler;
  if (!ok) SeitenVerwerfen(0);
  const bool beendet = LaufBeenden();
  if (!ok) d_->fehler = fehler;
  return ok && beendet;
}

QString Drucksteuerung::fontname() const { return d_->schriftname; }
void Drucksteuerung::setFontname(const QString& name) {
  d_->schriftname = name;
  schriftWaehlen();
}
double Drucksteuerung::FontSize() const { return d_->schriftgroesse; }
void Drucksteuerung::setFontSize(double punkte) {
  if (!std::isfinite(punkte) || punkte <= 0) return;
  d_->schriftgroesse = std::min(punkte, 2048.0);
  schriftWaehlen();
}

QFont Drucksteuerung::eigeneSchrift() const {
  LogFont lf;
  lf.lfFaceName = d_->schriftname;
  lf.lfHeight =
      -std::max(1, static_cast<int>(zahlen::nint(d_->schriftgroesse * AUFLOESUNG / 72.0)));
  lf.lfWeight = 400;
  return schriftAusLogFont(lf);
}

void Drucksteuerung::schriftWaehlen() { d_->dc->waehleFlaechenschrift(eigeneSchrift()); }

double Drucksteuerung::TextWidth(const QString& text) {
  return zahlen::nint(QFontMetricsF(eigeneSchrift()).horizontalAdvance(text)) * TWIPS_PRO_PIXEL;
}

StiftUndPinsel Drucksteuerung::stiftUndPinsel() const {
  StiftUndPinsel sp;
  sp.stiftFarbe = farbeAusRgb(PenColor);
  const double pixel = std::isfinite(PenWidth) ? PenWidth / TWIPS_PRO_PIXEL : 1;
  sp.stiftBreite = static_cast<int>(std::clamp(zahlen::nint(pixel), 1.0, 10000.0));
  sp.stiftStil = stiftStilAus(PenStyle);
  sp.pinselTransparent = BrushStyle != 0;
  sp.pinselFarbe = farbeAusRgb(BrushColor);
  sp.textFarbe = farbeAusRgb(TextColor);
  return sp;
}

int Drucksteuerung::seitenzahl() const { return static_cast<int>(d_->seiten.size()); }
int Drucksteuerung::dokumentNummer() const { return d_->nummer; }

const QPicture& Drucksteuerung::seite(int index) const {
  static const QPicture leer;
  if (index < 0 || index >= seitenzahl()) return leer;
  return d_->seiten[index]->bild;
}

QSizeF Drucksteuerung::seitengroesse(int index) const {
  if (index < 0 || index >= seitenzahl()) return QSizeF();
  const QSizeF g = d_->seiten[index]->groesse;
  return g.isEmpty() ? QSizeF(PaperWidth, PaperHeight) : g;
}

QImage Drucksteuerung::seiteAlsBild(int index, double dpi) const {
  if (index < 0 || index >= seitenzahl() || !(dpi > 0)) return QImage();
  const QSizeF twips = seitengroesse(index);
  // A page too large for the pixel budget of a surface at this resolution is shown smaller
  // (a thousandth less still, for the pixel that rounding up may add to each side).
  const double massstab =
      Bildflaeche::groessterMassstab(twips.width(), twips.height(), 1440.0 / dpi);
  if (massstab < 1) dpi *= massstab * 0.999;
  const int b = std::max(1, static_cast<int>(std::ceil(twips.width() / 1440.0 * dpi)));
  const int h = std::max(1, static_cast<int>(std::ceil(twips.height() / 1440.0 * dpi)));
  QImage bild(b, h, QImage::Format_RGB32);
  bild.fill(Qt::white);
  QPainter maler(&bild);
  maler.setRenderHint(QPainter::Antialiasing, true);
  maler.setRenderHint(QPainter::SmoothPixmapTransform, true);
  abspielen(maler, d_->seiten[index]->bild, dpi);
  return bild;
}

QPrinter& Drucksteuerung::drucker() {
  if (!d_->drucker) d_->drucker = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *d_->drucker;
}

void Drucksteuerung::setzePdfDatei(const QString& pfad) {
  d_->pdfGewaehlt = true;
  d_->pdf = pfad;
}

void Drucksteuerung::setzeDrucker(const QString& name) {
  if (const QString bisher = pdfDatei(); !bisher.isEmpty()) d_->letztePdf = bisher;
  setzePdfDatei(QString());
  d_->druckerName = name;
}

QString Drucksteuerung::druckerName() const { return d_->druckerName; }

QString Drucksteuerung::letztePdfDatei() const {
  const QString pdf = pdfDatei();
  return pdf.isEmpty() ? d_->letztePdf : pdf;
}

QString Drucksteuerung::pdfDatei() const {
  if (d_->pdfGewaehlt) return d_->pdf;
  return qEnvironmentVariable("QX_DRUCKDATEI");
}

QString Drucksteuerung::fehler() const { return d_->fehler; }

bool Drucksteuerung::pdfDateiSchreibbar(const QString& pfad) {
  return laufdateiAnlegen(QFileInfo(pfad)) != nullptr;
}
