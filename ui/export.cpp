#include "ui/export.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "core/seite_zeichnen.h"
#include "io/dateinamen.h"
#include "platform/bildflaeche.h"

DateinamenWahl speicherdialog(QWidget* eltern) {
  return [eltern](const QString& titel, const QString& vorschlag, const QString& filter) {
    QFileDialog dialog(eltern, titel);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QFileInfo(vorschlag).suffix());
    dialog.selectFile(vorschlag);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
  };
}

double wirksamerExportzoom(double exportzoom) {
  return exportzoom >= 1 && exportzoom <= 10 ? exportzoom : 2;
}

bool SeiteExportieren(Programmzustand& s, QString* fehler) {
  // Export mode and the export zoom are put back however the redraw ends.
  struct Zurueck {
    Programmzustand& s;
    double zoom;
    ~Zurueck() {
      s.Exportmodus = 0;
      s.Exportzoom = zoom;
    }
  } zurueck{s, s.Exportzoom};

  // A scale at which the picture would exceed the surface's pixel budget is lowered to fit.
  s.Exportzoom =
      std::min(wirksamerExportzoom(s.Exportzoom),
               Bildflaeche::groessterMassstab(s.Seite->Breite * 5.67, s.Seite->Hoehe * 5.67,
                                              s.Lead2->twipsProPixelX()));
  s.Lead2->Cls();
  s.Exportmodus = -1;
  bool ok = true;
  try {
    SeiteZeichnen(s);
  } catch (const std::exception& e) {
    ok = false;
    if (fehler)
      *fehler = QStringLiteral("Die Seite konnte nicht gezeichnet werden: %1")
                    .arg(QString::fromLocal8Bit(e.what()));
  }
  s.Exportmodus = 0;
  s.Exportzoom = zurueck.zoom;
  // With the frame outlines switched on the redraw also drew them onto the page view, at the
  // export scale; draw the view again at its own zoom.
  if (s.AlleRahmenAnzeigen != 0) {
    try {
      SeiteZeichnen(s);
    } catch (const std::exception&) {
    }
  }
  return ok;
}

bool mnuBildSpeichern_Click(Programmzustand& s, const DateinamenWahl& dateiname) {
  const QString pfad =
      dateiname(QStringLiteral("Bild speichern"), QStringLiteral("QXMarvolant.bmp"),
                QStringLiteral("BMP-Bilddatei (*.bmp)"));
  if (pfad.isEmpty()) return false;
  QString fehler;
  if (!SeiteExportieren(s, &fehler) || !s.Lead2->speichereBmp(pfad, &fehler)) {
    s.fenster->Meldung(fehler, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Word-processor export.
//
// The page is handed to a word processor as a new document whose page is covered by the
// letterhead picture, with the text area below it for the user to type the letter. Driving a
// running word processor through its automation interface is a Windows-only affair; on this
// system the same result comes from writing that document ourselves, as a flat OpenDocument
// text (one XML file that LibreOffice and other word processors open), and letting the
// desktop open it with its word processor. The document holds what the automation would have
// built: page margins 0 for the picture, which is anchored to the page at its top-left
// corner with the page's size and runs behind the text; text margins 2 cm, 4 cm, 2 cm, 2 cm;
// 14 empty paragraphs and "Texteingabe".

namespace {
const QString nsOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString nsStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString nsText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString nsDraw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString nsFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString nsSvg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString nsXlink = QStringLiteral("http://www.w3.org/1999/xlink");

// A length in tenths of a millimetre as an ODF length in millimetres.
QString mm(double zehntel) {
  return QString::number(zehntel / 10.0, 'f', 1) + QStringLiteral("mm");
}

QByteArray alsPng(const QImage& bild) {
  QByteArray daten;
  QBuffer puffer(&daten);
  puffer.open(QIODevice::WriteOnly);
  if (!bild.save(&puffer, "PNG")) return QByteArray();
  return daten;
}
}  // namespace

bool schreibeTextdokument(const QString& pfad, const QImage& seite, double breite, double hoehe,
                          QString* fehler) {
  const QString name = QFileInfo(pfad).fileName();
  const QByteArray png = alsPng(seite);
  if (png.isEmpty()) {
    if (fehler) *fehler = QStringLiteral("Das Bild der Seite konnte nicht erzeugt werden.");
    return false;
  }

  QSaveFile datei(pfad);
  if (!datei.open(QIODevice::WriteOnly)) {
    if (fehler) *fehler = QStringLiteral("Die Datei „%1“ konnte nicht angelegt werden.").arg(name);
    return false;
  }
  QXmlStreamWriter x(&datei);
  x.setAutoFormatting(true);
  x.setAutoFormattingIndent(1);
  x.writeStartDocument();
  x.writeNamespace(nsOffice, QStringLiteral("office"));
  x.writeNamespace(nsStyle, QStringLiteral("style"));
  x.writeNamespace(nsText, QStringLiteral("text"));
  x.writeNamespace(nsDraw, QStringLiteral("draw"));
  x.writeNamespace(nsFo, QStringLiteral("fo"));
  x.writeNamespace(nsSvg, QStringLiteral("svg"));
  x.writeNamespace(nsXlink, QStringLiteral("xlink"));
  x.writeStartElement(nsOffice, QStringLiteral("document"));
  x.writeAttribute(nsOffice, QStringLiteral("version"), QStringLiteral("1.3"));
  x.writeAttribute(nsOffice, QStringLiteral("mimetype"),
                   QStringLiteral("application/vnd.oasis.opendocument.text"));

  x.writeStartElement(nsOffice, QStringLiteral("styles"));
  x.writeStartElement(nsStyle, QStringLiteral("style"));
  x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("Standard"));
  x.writeAttribute(nsStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
  x.writeAttribute(nsStyle, QStringLiteral("class"), QStringLiteral("text"));
  x.writeEndElement();
  x.writeEndElement();  // styles

  x.writeStartElement(nsOffice, QStringLiteral("automatic-styles"));
  // The picture: placed from the page's own top-left corner (margins play no part), running
  // through the text in the background.
  x.writeStartElement(nsStyle, QStringLiteral("style"));
  x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("fr1"));
  x.writeAttribute(nsStyle, QStringLiteral("family"), QStringLiteral("graphic"));
  x.writeStartElement(nsStyle, QStringLiteral("graphic-properties"));
  x.writeAttribute(nsStyle, QStringLiteral("wrap"), QStringLiteral("run-through"));
  x.writeAttribute(nsStyle, QStringLiteral("run-through"), QStringLiteral("background"));
  x.writeAttribute(nsStyle, QStringLiteral("vertical-pos"), QStringLiteral("from-top"));
  x.writeAttribute(nsStyle, QStringLiteral("vertical-rel"), QStringLiteral("page"));
  x.writeAttribute(nsStyle, QStringLiteral("horizontal-pos"), QStringLiteral("from-left"));
  x.writeAttribute(nsStyle, QStringLiteral("horizontal-rel"), QStringLiteral("page"));
  for (const char* rand : {"margin-left", "margin-right", "margin-top", "margin-bottom", "padding"})
    x.writeAttribute(nsFo, QLatin1String(rand), QStringLiteral("0mm"));
  x.writeAttribute(nsFo, QStringLiteral("border"), QStringLiteral("none"));
  x.writeEndElement();
  x.writeEndElement();
  // The page: the document page's size, the text area inside 2 cm / 4 cm / 2 cm / 2 cm.
  x.writeStartElement(nsStyle, QStringLiteral("page-layout"));
  x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("pm1"));
  x.writeStartElement(nsStyle, QStringLiteral("page-layout-properties"));
  x.writeAttribute(nsFo, QStringLiteral("page-width"), mm(breite));
  x.writeAttribute(nsFo, QStringLiteral("page-height"), mm(hoehe));
  x.writeAttribute(nsStyle, QStringLiteral("print-orientation"),
                   breite > hoehe ? QStringLiteral("landscape") : QStringLiteral("portrait"));
  x.writeAttribute(nsFo, QStringLiteral("margin-left"), QStringLiteral("2cm"));
  x.writeAttribute(nsFo, QStringLiteral("margin-top"), QStringLiteral("4cm"));
  x.writeAttribute(nsFo, QStringLiteral("margin-right"), QStringLiteral("2cm"));
  x.writeAttribute(nsFo, QStringLiteral("margin-bottom"), QStringLiteral("2cm"));
  x.writeEndElement();
  x.writeEndElement();
  x.writeEndElement();  // automatic-styles

  x.writeStartElement(nsOffice, QStringLiteral("master-styles"));
  x.writeStartElement(nsStyle, QStringLiteral("master-page"));
  x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("Standard"));
  x.writeAttribute(nsStyle, QStringLiteral("page-layout-name"), QStringLiteral("pm1"));
  x.writeEndElement();
  x.writeEndElement();

  x.writeStartElement(nsOffice, QStringLiteral("body"));
  x.writeStartElement(nsOffice, QStringLiteral("text"));
  x.writeStartElement(nsDraw, QStringLiteral("frame"));
  x.writeAttribute(nsDraw, QStringLiteral("style-name"), QStringLiteral("fr1"));
  x.writeAttribute(nsDraw, QStringLiteral("name"), QStringLiteral("Briefkopf"));
  x.writeAttribute(nsText, QStringLiteral("anchor-type"), QStringLiteral("page"));
  x.writeAttribute(nsText, QStringLiteral("anchor-page-number"), QStringLiteral("1"));
  x.writeAttribute(nsSvg, QStringLiteral("x"), QStringLiteral("0mm"));
  x.writeAttribute(nsSvg, QStringLiteral("y"), QStringLiteral("0mm"));
  x.writeAttribute(nsSvg, QStringLiteral("width"), mm(breite));
  x.writeAttribute(nsSvg, QStringLiteral("height"), mm(hoehe));
  x.writeAttribute(nsDraw, QStringLiteral("z-index"), QStringLiteral("0"));
  x.writeStartElement(nsDraw, QStringLiteral("image"));
  x.writeAttribute(nsDraw, QStringLiteral("mime-type"), QStringLiteral("image/png"));
  x.writeStartElement(nsOffice, QStringLiteral("binary-data"));
  x.writeCharacters(QString::fromLatin1(png.toBase64()));
  x.writeEndElement();
  x.writeEndElement();  // image
  x.writeEndElement();  // frame
  // The letter's text starts below the letterhead: 14 empty paragraphs, then the prompt.
  for (int i = 0; i < 14; ++i) {
    x.writeEmptyElement(nsText, QStringLiteral("p"));
    x.writeAttribute(nsText, QStringLiteral("style-name"), QStringLiteral("Standard"));
  }
  x.writeStartElement(nsText, QStringLiteral("p"));
  x.writeAttribute(nsText, QStringLiteral("style-name"), QStringLiteral("Standard"));
  x.writeCharacters(QStringLiteral("Texteingabe"));
  x.writeEndElement();
  x.writeEndElement();  // text
  x.writeEndElement();  // body
  x.writeEndElement();  // document
  x.writeEndDocument();

  if (x.hasError() || !datei.commit()) {
    if (fehler)
      *fehler = QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.").arg(name);
    return false;
  }
  return true;
}

WordExport::WordExport(Programmzustand& s) : s_(s) {
  oeffnen = [](const QUrl& adresse) { return QDesktopServices::openUrl(adresse); };
}

WordExport::~WordExport() = default;

QString WordExport::ordner() const { return ordner_ ? ordner_->path() : QString(); }

bool WordExport::fehler(const QString& grund) {
  s_.fenster->Meldung(QStringLiteral("Keine Wordverbindung möglich:  ") + grund, QString(),
                      Knoepfe::Ok, Symbol::Ausrufezeichen);
  return false;
}

bool WordExport::mnuWord_Click() {
  QString grund;
  if (!SeiteExportieren(s_, &grund)) return fehler(grund);

  if (!ordner_ || !ordner_->isValid()) {
    ordner_ = std::make_unique<QTemporaryDir>(
        QDir(temporaererOrdner()).filePath(QStringLiteral("qxmarvolant-XXXXXX")));
    if (!ordner_->isValid()) {
      ordner_.reset();
      return fehler(QStringLiteral("Der temporäre Ordner konnte nicht angelegt werden."));
    }
  }
  // A new name for every export: an earlier document may still be open in the word processor.
  const QString pfad =
      QDir(ordner_->path()).filePath(QStringLiteral("QXMarvolant-%1.fodt").arg(++nummer_));

  QImage bild = s_.Lead2->bild();
  // The picture's resolution makes its physical size the page's, for programs that look at it.
  if (s_.Seite->Breite > 0 && s_.Seite->Hoehe > 0) {
    bild.setDotsPerMeterX(
        static_cast<int>(std::lround(bild.width() / (s_.Seite->Breite / 10000.0))));
    bild.setDotsPerMeterY(
        static_cast<int>(std::lround(bild.height() / (s_.Seite->Hoehe / 10000.0))));
  }
  if (!schreibeTextdokument(pfad, bild, s_.Seite->Breite, s_.Seite->Hoehe, &grund)) {
    QFile::remove(pfad);
    return fehler(grund);
  }
  if (!oeffnen || !oeffnen(QUrl::fromLocalFile(pfad))) {
    QFile::remove(pfad);
    return fehler(QStringLiteral("Kein Textverarbeitungsprogramm konnte das Dokument öffnen."));
  }
  letzteDatei_ = pfad;
  return true;
}
