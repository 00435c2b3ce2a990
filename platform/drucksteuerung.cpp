#include "platform/drucksteuerung.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/zahlen.h"
#include "platform/bildflaeche.h"
#include "platform/rtf_ausgabe.h"

namespace {

QColor farbeAus(int32_t rgb) {
  const auto wert = static_cast<uint32_t>(rgb);
  return QColor(wert & 0xFF, (wert >> 8) & 0xFF, (wert >> 16) & 0xFF);
}

constexpr double TWIPS_PRO_PIXEL = 1440.0 / Drucksteuerung::AUFLOESUNG;

// One recorded page and the paper it belongs on (twips).
struct Blatt {
  QPicture bild;
  QSizeF groesse;
};

// Paper in twips as a page layout without margins; landscape when wider than high.
QPageLayout seitenlayout(QSizeF twips) {
  double b = twips.width() > 0 ? twips.width() : 11907;
  double h = twips.height() > 0 ? twips.height() : 16840;
  auto ausrichtung = QPageLayout::Portrait;
  if (b > h) {
    std::swap(b, h);
    ausrichtung = QPageLayout::Landscape;
  }
  const QPageSize groesse(QSizeF(b / 1440.0, h / 1440.0), QPageSize::Inch);
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

// Replays pages on a printer, each on paper of its own size; the page's twips from the
// top-left corner land at the same place on the paper.
bool seitenAusgeben(QPrinter& drucker, const std::vector<std::shared_ptr<Blatt>>& blaetter) {
  drucker.setFullPage(true);
  drucker.setPageLayout(seitenlayout(blaetter.front()->groesse));
  QPainter maler;
  if (!maler.begin(&drucker)) return false;
  for (size_t i = 0; i < blaetter.size(); ++i) {
    if (i > 0) {
      drucker.setPageLayout(seitenlayout(blaetter[i]->groesse));
      if (!drucker.newPage()) {
        maler.end();
        return false;
      }
    }
    maler.resetTransform();
    abspielen(maler, blaetter[i]->bild, drucker.resolution());
  }
  return maler.end();
}

}  // namespace

struct Drucksteuerung::Intern {
  std::vector<std::shared_ptr<Blatt>> seiten;
  QPainter maler;
  std::unique_ptr<Geraetekontext> dc;
  bool offen = false;
  int nummer = 0;

  std::unique_ptr<QPrinter> drucker;
  bool pdfGewaehlt = false;  // setzePdfDatei was called (an empty path: the printer)
  QString pdf;
  // Pages already written to the PDF file of this run, and that file's path.
  std::vector<std::shared_ptr<Blatt>> gedruckt;
  QString gedrucktPfad;
  QString fehler;

  QString schriftname = QStringLiteral("Arial");
  double schriftgroesse = 10;
};

Drucksteuerung::Drucksteuerung() : d_(std::make_unique<Intern>()) {
  d_->dc = std::make_unique<Geraetekontext>(this, AUFLOESUNG, AUFLOESUNG);
  schriftWaehlen();
}

Drucksteuerung::~Drucksteuerung() {
  if (d_->maler.isActive()) {
    d_->dc->setzeMaler(nullptr);
    d_->maler.end();
  }
}

HDC Drucksteuerung::hdc() { return d_->dc.get(); }
double Drucksteuerung::twipsProPixelX() const { return TWIPS_PRO_PIXEL; }
double Drucksteuerung::twipsProPixelY() const { return TWIPS_PRO_PIXEL; }

void Drucksteuerung::seiteBeginnen() {
  auto blatt = std::make_shared<Blatt>();
  d_->seiten.push_back(blatt);
  d_->maler.begin(&blatt->bild);
  d_->maler.setRenderHint(QPainter::TextAntialiasing, true);
  d_->dc->setzeMaler(&d_->maler);
}

void Drucksteuerung::seiteBeenden() {
  if (!d_->maler.isActive()) return;
  d_->dc->setzeMaler(nullptr);
  d_->maler.end();
  Blatt& blatt = *d_->seiten.back();
  blatt.groesse = QSizeF(PaperWidth, PaperHeight);
  blatt.bild.setBoundingRect(QRect(0, 0, static_cast<int>(std::ceil(PaperWidth / TWIPS_PRO_PIXEL)),
                                   static_cast<int>(std::ceil(PaperHeight / TWIPS_PRO_PIXEL))));
}

void Drucksteuerung::StartDoc() {
  seiteBeenden();
  d_->seiten.clear();
  d_->offen = true;
  ++d_->nummer;
  CurrentX = 0;
  CurrentY = 0;
  seiteBeginnen();
}

void Drucksteuerung::EndDoc() {
  if (!d_->offen) return;
  seiteBeenden();
  d_->offen = false;
  ++d_->nummer;
}

void Drucksteuerung::NewPage() {
  if (!d_->offen) return;
  seiteBeenden();
  CurrentX = 0;
  CurrentY = 0;
  seiteBeginnen();
}

void Drucksteuerung::setTextRTF(const QByteArray& rtf) { rtfAusgeben(*this, rtf); }

bool Drucksteuerung::PrintDoc() {
  d_->fehler.clear();
  if (d_->offen) EndDoc();
  if (d_->seiten.empty()) {
    d_->fehler = QStringLiteral("Es ist kein Dokument zum Drucken vorhanden.");
    return false;
  }
  const int kopien = std::max<int>(1, Copies);
  const QString pdf = pdfDatei();
  if (!pdf.isEmpty()) return druckeInPdf(pdf, kopien);

  QPrinter& p = drucker();
  if (p.outputFormat() == QPrinter::PdfFormat) {
    // Without a print system the printer is a PDF writer; only a named file will do.
    if (!p.outputFileName().isEmpty()) return druckeInPdf(p.outputFileName(), kopien);
  } else if (p.printerName().isEmpty()) {
    const QString standard = QPrinterInfo::defaultPrinterName();
    if (!standard.isEmpty()) p.setPrinterName(standard);
  }
  if (p.outputFormat() != QPrinter::NativeFormat || p.printerName().isEmpty() || !p.isValid()) {
    d_->fehler = QStringLiteral(
        "Kein Drucker verfügbar. Bitte wählen Sie einen Drucker oder eine PDF-Datei.");
    return false;
  }
  p.setCopyCount(kopien);
  p.setDocName(QStringLiteral("QX Marvolant"));
  if (!seitenAusgeben(p, d_->seiten)) {
    d_->fehler = QStringLiteral("Der Drucker „%1“ konnte nicht drucken.").arg(p.printerName());
    return false;
  }
  return true;
}

bool Drucksteuerung::druckeInPdf(const QString& pfad, int kopien) {
  const QFileInfo info(pfad);
  const QString ziel = info.absoluteFilePath();
  if (ziel != d_->gedrucktPfad) {
    d_->gedruckt.clear();
    d_->gedrucktPfad = ziel;
  }
  std::vector<std::shared_ptr<Blatt>> alle = d_->gedruckt;
  for (int k = 0; k < kopien; ++k) alle.insert(alle.end(), d_->seiten.begin(), d_->seiten.end());

  const QString meldung =
      QStringLiteral("Die Druckdatei „%1“ konnte nicht geschrieben werden.").arg(pfad);
  // The whole file is written anew beside the old one and then put in its place, so the
  // file is complete after every job and a failed job leaves the previous one intact.
  QTemporaryFile neu(info.absoluteDir().filePath(info.fileName() + QStringLiteral(".XXXXXX")));
  if (!info.absoluteDir().exists() || !neu.open()) {
    d_->fehler = meldung;
    return false;
  }
  neu.close();
  QPrinter p(QPrinter::HighResolution);
  p.setOutputFormat(QPrinter::PdfFormat);
  p.setOutputFileName(neu.fileName());
  p.setResolution(AUFLOESUNG);
  p.setCreator(QStringLiteral("QX Marvolant"));
  p.setDocName(info.completeBaseName());
  const bool ok = seitenAusgeben(p, alle) && QFileInfo(neu.fileName()).size() > 0;
  if (!ok || std::rename(QFile::encodeName(neu.fileName()).constData(),
                         QFile::encodeName(ziel).constData()) != 0) {
    d_->fehler = meldung;
    return false;
  }
  neu.setAutoRemove(false);
  d_->gedruckt = std::move(alle);
  return true;
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
  sp.stiftFarbe = farbeAus(PenColor);
  const double pixel = std::isfinite(PenWidth) ? PenWidth / TWIPS_PRO_PIXEL : 1;
  sp.stiftBreite = static_cast<int>(std::clamp(zahlen::nint(pixel), 1.0, 10000.0));
  sp.stiftStil = stiftStilAus(PenStyle);
  sp.pinselTransparent = BrushStyle != 0;
  sp.pinselFarbe = farbeAus(BrushColor);
  sp.textFarbe = farbeAus(TextColor);
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

QString Drucksteuerung::pdfDatei() const {
  if (d_->pdfGewaehlt) return d_->pdf;
  return qEnvironmentVariable("QX_DRUCKDATEI");
}

QString Drucksteuerung::fehler() const { return d_->fehler; }
