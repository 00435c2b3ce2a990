#include "platform/drucksteuerung.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "platform/bildflaeche.h"
#include "platform/einheiten.h"
#include "platform/rtf_ausgabe.h"
#include "platform/speicher.h"
#include "platform/textdatei.h"
#include "platform/zahlen.h"

namespace {

constexpr double TWIPS_PRO_PIXEL = einheiten::kTwipsProZoll / Drucksteuerung::AUFLOESUNG;

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
  const QPageSize groesse(QSizeF(b / einheiten::kTwipsProZoll, h / einheiten::kTwipsProZoll),
                          QPageSize::Inch, QString(),
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

// Between the PDF writer and its file: passes the bytes on until it is told to hold them.
// QPdfWriter writes the page tree and the cross-reference table when it ends; held, the
// page tree can still lose the pages a run took back before it reaches the file.
class PdfAusgabe : public QIODevice {
 public:
  explicit PdfAusgabe(QIODevice& datei) : datei_(datei) { open(QIODevice::WriteOnly); }
  bool isSequential() const override { return true; }
  void halten() { halten_ = true; }
  QByteArray& gehalten() { return gehalten_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* daten, qint64 laenge) override {
    if (!halten_) return datei_.write(daten, laenge);
    gehalten_.append(daten, laenge);
    return laenge;
  }

 private:
  QIODevice& datei_;
  bool halten_ = false;
  QByteArray gehalten_;
};

// Takes the last `anzahl` pages out of the end of a PDF file as QPdfWriter writes it: they
// are blanked out of the page tree's list of kids and its count goes down, in place and at
// the same length, so that no offset of the file changes. The pages' own objects stay in
// the file, unreferenced. False when the page tree is not found as QPdfWriter writes it.
bool letzteSeitenStreichen(QByteArray& ende, int anzahl) {
  if (anzahl <= 0) return true;
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
  return true;
}

// The paper of a page layout as messages name it, width by height as the page lies:
// „A5 (148 × 210 mm)“, a paper of no standard size by its size alone.
QString papiername(const QPageLayout& lage) {
  const QRectF mm = lage.fullRect(QPageLayout::Millimeter);
  const QString masse =
      QStringLiteral("%1 × %2 mm").arg(qRound(mm.width())).arg(qRound(mm.height()));
  if (lage.pageSize().id() == QPageSize::Custom) return masse;
  return QStringLiteral("%1 (%2)").arg(lage.pageSize().name(), masse);
}

// `grund`: why, as textdatei::Schreibdatei says it, when it says.
QString druckdateiFehler(const QString& pfad, const QString& grund) {
  return textdatei::meldung(QStringLiteral("Die Druckdatei „%1“ konnte nicht geschrieben werden.")
                                .arg(QDir::toNativeSeparators(pfad)),
                            grund);
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
  std::unique_ptr<textdatei::Schreibdatei> laufDatei;
  std::unique_ptr<PdfAusgabe> pdfAusgabe;
  std::unique_ptr<QPdfWriter> pdfSchreiber;
  QPagedPaintDevice* ausgabe = nullptr;
  QPrinter* laufDrucker = nullptr;  // the output when it is a printer
  QPainter ausgabeMaler;
  QSizeF ausgabePapier;
  double ausgabeMassstab = 1;

  std::unique_ptr<QPrinter> drucker;
  bool pdfGewaehlt = false;  // setzePdfDatei was called (an empty path: the printer)
  QString pdf;
  QString letztePdf;    // the file named before a queue was chosen
  QString druckerName;  // the chosen print queue; empty: the machine's default one
  QString fehler;

  // A rich-text output of the run, or of the held document, lay wholly off the paper.
  bool textAusserhalb = false;

  // The letter text as read for the last rich-text output.
  QByteArray briefRtf;
  std::unique_ptr<QTextDocument> brief;

  void ausgabeSchliessen() {
    if (ausgabeMaler.isActive()) ausgabeMaler.end();
    pdfSchreiber.reset();
    pdfAusgabe.reset();
    laufDatei.reset();
    ausgabe = nullptr;
    laufDrucker = nullptr;
  }
};

Drucksteuerung::Drucksteuerung() : d_(std::make_unique<Intern>()) {
  d_->dc = std::make_unique<Geraetekontext>(this, AUFLOESUNG, AUFLOESUNG);
  // The first drawing on a page of a print run puts the page on the output.
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

QPrinter* Drucksteuerung::laufdrucker() {
  QPrinter& p = drucker();
  const QString name =
      d_->druckerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : d_->druckerName;
  if (!name.isEmpty() && p.printerName() != name) p.setPrinterName(name);
  // Without a print system the printer is a PDF writer without a file: no output.
  if (!name.isEmpty() && p.outputFormat() == QPrinter::NativeFormat && p.printerName() == name &&
      p.isValid())
    return &p;
  d_->fehler = name.isEmpty() ? QStringLiteral(
                                    "Kein Drucker verfügbar. Bitte wählen Sie einen Drucker "
                                    "oder eine PDF-Datei.")
                              : QStringLiteral(
                                    "Der Drucker „%1“ ist nicht verfügbar. Bitte wählen Sie "
                                    "einen Drucker oder eine PDF-Datei.")
                                    .arg(name);
  return nullptr;
}

bool Drucksteuerung::ausgabeWaehlen() {
  Intern& d = *d_;
  const QString pdf = pdfDatei();
  if (pdf.isEmpty()) {
    QPrinter* drucker = laufdrucker();
    if (!drucker) return false;
    drucker->setFullPage(true);
    drucker->setCopyCount(1);
    drucker->setDocName(QStringLiteral("QX Marvolant"));
    d.ausgabe = d.laufDrucker = drucker;
    d.laufZiel.clear();
  } else {
    const QFileInfo info(pdf);
    d.laufZiel = info.absoluteFilePath();
    auto datei = std::make_unique<textdatei::Schreibdatei>(d.laufZiel);
    if (!datei->oeffnen()) {
      d.fehler = druckdateiFehler(pdf, datei->grund());
      return false;
    }
    d.laufDatei = std::move(datei);
    d.pdfAusgabe = std::make_unique<PdfAusgabe>(*d.laufDatei);
    d.pdfSchreiber = std::make_unique<QPdfWriter>(d.pdfAusgabe.get());
    d.pdfSchreiber->setResolution(AUFLOESUNG);
    d.pdfSchreiber->setCreator(QStringLiteral("QX Marvolant"));
    d.pdfSchreiber->setTitle(info.completeBaseName());
    d.ausgabe = d.pdfSchreiber.get();
  }
  return true;
}

bool Drucksteuerung::papierSetzen(QSizeF papier) {
  Intern& d = *d_;
  const QPageLayout lage = seitenlayout(papier, d.laufDrucker != nullptr);
  if (d.laufDrucker) {
    // A printer takes a layout only with margins it can print; the page is printed from
    // the paper's corner whatever they are (full page), so the margins stay its own. A
    // printer without this paper refuses it, and the page is not printed on another.
    if (!d.laufDrucker->setPageOrientation(lage.orientation()) ||
        !d.laufDrucker->setPageSize(lage.pageSize())) {
      d.fehler = QStringLiteral(
                     "Der Drucker „%1“ kann nicht auf Papier „%2“ drucken. Bitte wählen Sie "
                     "einen anderen Drucker oder eine PDF-Datei.")
                     .arg(d.laufDrucker->printerName(), papiername(lage));
      return false;
    }
  } else {
    d.ausgabe->setPageLayout(lage);
  }
  d.ausgabePapier = papier;
  return true;
}

bool Drucksteuerung::ausgabeOeffnen(QSizeF papier) {
  Intern& d = *d_;
  // The first page's paper is the output's layout when the painter begins.
  if (!papierSetzen(papier)) {
    d.ausgabeSchliessen();
    return false;
  }
  if (!d.ausgabeMaler.begin(d.ausgabe)) {
    d.fehler = d.laufDrucker ? QStringLiteral("Der Drucker „%1“ konnte nicht drucken.")
                                   .arg(d.laufDrucker->printerName())
                             : druckdateiFehler(d.laufZiel, d.laufDatei->grund());
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
    ok = papier == d.ausgabePapier || papierSetzen(papier);
    if (ok && !d.ausgabe->newPage()) {
      ok = false;
      d.fehler = d.laufDrucker ? QStringLiteral("Der Drucker konnte keine weitere Seite drucken.")
                               : druckdateiFehler(d.laufZiel, d.laufDatei->grund());
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
  QPrinter* const drucker = std::exchange(d.laufDrucker, nullptr);
  // A print job whose every page failed is not sent to the printer.
  if (drucker && uebrig <= 0) drucker->abort();
  // What the PDF writer writes at its end is held until the pages taken back are out.
  if (d.pdfAusgabe) d.pdfAusgabe->halten();
  const bool gemalt = d.ausgabeMaler.end();
  d.pdfSchreiber.reset();
  d.ausgabe = nullptr;
  if (drucker) {
    if (gemalt || uebrig <= 0) return true;
    d.fehler = QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(drucker->printerName());
    return false;
  }

  const std::unique_ptr<PdfAusgabe> ausgabe = std::move(d.pdfAusgabe);
  const std::unique_ptr<textdatei::Schreibdatei> datei = std::move(d.laufDatei);
  // A run that ended before its first page was kept writes nothing: the file stays as it was.
  if (uebrig <= 0 && gemalt) return true;
  if (gemalt && uebrig > 0) {
    // Should the page tree not be found, the file keeps the failed pages rather than
    // losing the good ones; the user has been told of the failure.
    QByteArray& ende = ausgabe->gehalten();
    letzteSeitenStreichen(ende, d.verworfen);
    if (datei->write(ende) == ende.size() && datei->festschreiben()) return true;
  }
  d.fehler = druckdateiFehler(d.laufZiel, datei->grund());
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

QFont Drucksteuerung::eigeneSchrift() const {
  LogFont lf;
  lf.lfFaceName = schriftname_;
  lf.lfHeight = -std::max(1, static_cast<int>(zahlen::nint(schriftgroesse_ * AUFLOESUNG / 72.0)));
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
      Bildflaeche::groessterMassstab(twips.width(), twips.height(), einheiten::kTwipsProZoll / dpi);
  if (massstab < 1) dpi *= massstab * 0.999;
  const int b =
      std::max(1, static_cast<int>(std::ceil(twips.width() / einheiten::kTwipsProZoll * dpi)));
  const int h =
      std::max(1, static_cast<int>(std::ceil(twips.height() / einheiten::kTwipsProZoll * dpi)));
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
  return textdatei::Schreibdatei(QFileInfo(pfad).absoluteFilePath()).oeffnen();
}
