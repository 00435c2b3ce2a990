#include "ui/export.h"

#include <zip.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "core/seite_zeichnen.h"
#include "platform/bildflaeche.h"
#include "platform/einheiten.h"
#include "platform/textdatei.h"

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
               Bildflaeche::groessterMassstab(einheiten::twipsAusEinheiten(s.Seite->Breite),
                                              einheiten::twipsAusEinheiten(s.Seite->Hoehe),
                                              s.Lead2->twipsProPixelX()));
  s.Lead2->Cls();
  s.Exportmodus = -1;
  bool ok = true;
  try {
    SeiteZeichnen(s);
  } catch (const std::exception& e) {
    ok = false;
    if (fehler) *fehler = Seitenfehler(e);
  }
  s.Exportmodus = 0;
  s.Exportzoom = zurueck.zoom;
  // With the frame outlines switched on the redraw also drew them onto the page view, at the
  // export scale; draw the view again at its own zoom.
  if (s.AlleRahmenAnzeigen != 0) SeiteZeichnen(s);
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
// system the same result comes from writing that document ourselves and letting the desktop
// open it with its word processor. It is written as an OpenDocument text *template* (a zip
// package, as LibreOffice and other word processors read it): a template opens as a new,
// untitled document, so the user's letter is saved under a name of the user's choosing and
// never into our file. The document holds what the automation would have built: page margins
// 0 for the picture, which is anchored to the page at its top-left corner with the page's size
// and runs behind the text; text margins 2 cm, 4 cm, 2 cm, 2 cm; 14 empty paragraphs and
// "Texteingabe".

namespace {
const QString nsOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString nsStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString nsText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString nsDraw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString nsFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString nsSvg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString nsXlink = QStringLiteral("http://www.w3.org/1999/xlink");
const QString nsMeta = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0");
const QString nsManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
const QString odfVersion = QStringLiteral("1.3");
const QString vorlagentyp = QStringLiteral("application/vnd.oasis.opendocument.text-template");
const QString bildpfad = QStringLiteral("Pictures/seite.png");

// The documents of the export: "QXMarvolant-20261208-221130.ott", with "-2", "-3", ... before
// the extension when two exports fall into the same second.
const QRegularExpression exportname(QStringLiteral(R"(^QXMarvolant-\d{8}-\d{6}(-\d+)?\.ott$)"));

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

// An attribute of an element: its namespace, name and value.
struct Attribut {
  const QString& ns;
  const char* name;
  QString wert;
};

// Writes the attributes of the element just opened, in their order.
void attribute(QXmlStreamWriter& x, std::initializer_list<Attribut> liste) {
  for (const Attribut& a : liste) x.writeAttribute(a.ns, QLatin1String(a.name), a.wert);
}

// An XML part of the document: the declaration, the root element with every namespace the
// parts use and the format's version, and in it what schreiben writes.
QByteArray xmlTeil(const QString& wurzel, const std::function<void(QXmlStreamWriter&)>& schreiben) {
  QByteArray daten;
  QXmlStreamWriter x(&daten);
  x.setAutoFormatting(true);
  x.setAutoFormattingIndent(1);
  x.writeStartDocument();
  const std::pair<const QString&, const char*> namensraeume[] = {
      {nsOffice, "office"}, {nsStyle, "style"}, {nsText, "text"},   {nsDraw, "draw"},
      {nsFo, "fo"},         {nsSvg, "svg"},     {nsXlink, "xlink"}, {nsMeta, "meta"}};
  for (const auto& [ns, praefix] : namensraeume) x.writeNamespace(ns, QLatin1String(praefix));
  x.writeStartElement(nsOffice, wurzel);
  x.writeAttribute(nsOffice, QStringLiteral("version"), odfVersion);
  schreiben(x);
  x.writeEndDocument();
  return daten;
}

// Opens a style of the given name and family.
void beginneStil(QXmlStreamWriter& x, const QString& name, const QString& familie) {
  x.writeStartElement(nsStyle, QStringLiteral("style"));
  x.writeAttribute(nsStyle, QStringLiteral("name"), name);
  x.writeAttribute(nsStyle, QStringLiteral("family"), familie);
}

// content.xml: the picture's frame and the paragraphs.
QByteArray inhalt(double breite, double hoehe) {
  return xmlTeil(QStringLiteral("document-content"), [&](QXmlStreamWriter& x) {
    x.writeStartElement(nsOffice, QStringLiteral("automatic-styles"));
    // The picture: placed from the page's own top-left corner (margins play no part), running
    // through the text in the background.
    beginneStil(x, QStringLiteral("fr1"), QStringLiteral("graphic"));
    x.writeStartElement(nsStyle, QStringLiteral("graphic-properties"));
    attribute(x, {{nsStyle, "wrap", QStringLiteral("run-through")},
                  {nsStyle, "run-through", QStringLiteral("background")},
                  {nsStyle, "vertical-pos", QStringLiteral("from-top")},
                  {nsStyle, "vertical-rel", QStringLiteral("page")},
                  {nsStyle, "horizontal-pos", QStringLiteral("from-left")},
                  {nsStyle, "horizontal-rel", QStringLiteral("page")}});
    for (const char* rand :
         {"margin-left", "margin-right", "margin-top", "margin-bottom", "padding"})
      x.writeAttribute(nsFo, QLatin1String(rand), QStringLiteral("0mm"));
    x.writeAttribute(nsFo, QStringLiteral("border"), QStringLiteral("none"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();  // automatic-styles

    x.writeStartElement(nsOffice, QStringLiteral("body"));
    x.writeStartElement(nsOffice, QStringLiteral("text"));
    x.writeStartElement(nsDraw, QStringLiteral("frame"));
    attribute(x, {{nsDraw, "style-name", QStringLiteral("fr1")},
                  {nsDraw, "name", QStringLiteral("Briefkopf")},
                  {nsText, "anchor-type", QStringLiteral("page")},
                  {nsText, "anchor-page-number", QStringLiteral("1")},
                  {nsSvg, "x", QStringLiteral("0mm")},
                  {nsSvg, "y", QStringLiteral("0mm")},
                  {nsSvg, "width", mm(breite)},
                  {nsSvg, "height", mm(hoehe)},
                  {nsDraw, "z-index", QStringLiteral("0")}});
    x.writeEmptyElement(nsDraw, QStringLiteral("image"));
    attribute(x, {{nsXlink, "href", bildpfad},
                  {nsXlink, "type", QStringLiteral("simple")},
                  {nsXlink, "show", QStringLiteral("embed")},
                  {nsXlink, "actuate", QStringLiteral("onLoad")},
                  {nsDraw, "mime-type", QStringLiteral("image/png")}});
    x.writeEndElement();  // frame
    // The letter's text starts below the letterhead: 14 empty paragraphs, then the prompt.
    for (int i = 0; i < 14; ++i) {
      x.writeEmptyElement(nsText, QStringLiteral("p"));
      x.writeAttribute(nsText, QStringLiteral("style-name"), QStringLiteral("Standard"));
    }
    x.writeStartElement(nsText, QStringLiteral("p"));
    x.writeAttribute(nsText, QStringLiteral("style-name"), QStringLiteral("Standard"));
    x.writeCharacters(QStringLiteral("Texteingabe"));
  });
}

// styles.xml: the paragraph style and the page.
QByteArray stile(double breite, double hoehe) {
  return xmlTeil(QStringLiteral("document-styles"), [&](QXmlStreamWriter& x) {
    x.writeStartElement(nsOffice, QStringLiteral("styles"));
    beginneStil(x, QStringLiteral("Standard"), QStringLiteral("paragraph"));
    x.writeAttribute(nsStyle, QStringLiteral("class"), QStringLiteral("text"));
    x.writeEndElement();  // style
    x.writeEndElement();  // styles

    // The page: the document page's size, the text area inside 2 cm / 4 cm / 2 cm / 2 cm.
    x.writeStartElement(nsOffice, QStringLiteral("automatic-styles"));
    x.writeStartElement(nsStyle, QStringLiteral("page-layout"));
    x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("pm1"));
    x.writeEmptyElement(nsStyle, QStringLiteral("page-layout-properties"));
    attribute(x, {{nsFo, "page-width", mm(breite)},
                  {nsFo, "page-height", mm(hoehe)},
                  {nsStyle, "print-orientation",
                   breite > hoehe ? QStringLiteral("landscape") : QStringLiteral("portrait")},
                  {nsFo, "margin-left", QStringLiteral("2cm")},
                  {nsFo, "margin-top", QStringLiteral("4cm")},
                  {nsFo, "margin-right", QStringLiteral("2cm")},
                  {nsFo, "margin-bottom", QStringLiteral("2cm")}});
    x.writeEndElement();  // page-layout
    x.writeEndElement();  // automatic-styles

    x.writeStartElement(nsOffice, QStringLiteral("master-styles"));
    x.writeEmptyElement(nsStyle, QStringLiteral("master-page"));
    x.writeAttribute(nsStyle, QStringLiteral("name"), QStringLiteral("Standard"));
    x.writeAttribute(nsStyle, QStringLiteral("page-layout-name"), QStringLiteral("pm1"));
  });
}

// meta.xml: who wrote the document and when.
QByteArray metadaten() {
  return xmlTeil(QStringLiteral("document-meta"), [](QXmlStreamWriter& x) {
    x.writeStartElement(nsOffice, QStringLiteral("meta"));
    x.writeTextElement(nsMeta, QStringLiteral("generator"), QCoreApplication::applicationName());
    x.writeTextElement(nsMeta, QStringLiteral("creation-date"),
                       QDateTime::currentDateTime().toString(Qt::ISODate));
  });
}

// One file of the package: its path, media type, content and whether it is compressed.
struct Eintrag {
  QString name;
  QString typ;
  QByteArray daten;
  bool packen;
};

// META-INF/manifest.xml: the package's type and every file in it but the mimetype file.
QByteArray manifest(const std::vector<Eintrag>& eintraege) {
  QByteArray daten;
  QXmlStreamWriter x(&daten);
  x.setAutoFormatting(true);
  x.setAutoFormattingIndent(1);
  x.writeStartDocument();
  x.writeNamespace(nsManifest, QStringLiteral("manifest"));
  x.writeStartElement(nsManifest, QStringLiteral("manifest"));
  x.writeAttribute(nsManifest, QStringLiteral("version"), odfVersion);
  auto eintrag = [&](const QString& pfad, const QString& typ) {
    x.writeEmptyElement(nsManifest, QStringLiteral("file-entry"));
    x.writeAttribute(nsManifest, QStringLiteral("full-path"), pfad);
    if (pfad == QLatin1String("/"))
      x.writeAttribute(nsManifest, QStringLiteral("version"), odfVersion);
    x.writeAttribute(nsManifest, QStringLiteral("media-type"), typ);
  };
  eintrag(QStringLiteral("/"), vorlagentyp);
  for (const Eintrag& e : eintraege)
    if (e.name != QLatin1String("mimetype")) eintrag(e.name, e.typ);
  x.writeEndDocument();
  return daten;
}

// The entries as the bytes of a zip archive, in the given order; empty when libzip failed.
QByteArray zipArchiv(const std::vector<Eintrag>& eintraege) {
  using Quelle = std::unique_ptr<zip_source_t, decltype(&zip_source_free)>;
  using Archiv = std::unique_ptr<zip_t, decltype(&zip_discard)>;
  zip_error_t fehler;
  zip_error_init(&fehler);
  // The archive is built in a memory buffer that outlives it, so that its bytes can be read
  // after it is closed.
  Quelle puffer(zip_source_buffer_create(nullptr, 0, 0, &fehler), &zip_source_free);
  zip_error_fini(&fehler);
  if (!puffer) return QByteArray();
  Archiv archiv(zip_open_from_source(puffer.get(), ZIP_TRUNCATE, nullptr), &zip_discard);
  if (!archiv) return QByteArray();
  zip_source_keep(puffer.get());  // the archive takes a reference of its own
  for (const Eintrag& e : eintraege) {
    Quelle quelle(zip_source_buffer(archiv.get(), e.daten.constData(),
                                    static_cast<zip_uint64_t>(e.daten.size()), 0),
                  &zip_source_free);
    if (!quelle) return QByteArray();
    const zip_int64_t nr = zip_file_add(archiv.get(), e.name.toUtf8().constData(), quelle.get(), 0);
    if (nr < 0) return QByteArray();
    quelle.release();  // now the archive's
    if (zip_set_file_compression(archiv.get(), static_cast<zip_uint64_t>(nr),
                                 e.packen ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) < 0)
      return QByteArray();
  }
  if (zip_close(archiv.get()) < 0) return QByteArray();
  archiv.release();  // closed and freed

  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(puffer.get(), &st) < 0 || !(st.valid & ZIP_STAT_SIZE) ||
      zip_source_open(puffer.get()) < 0)
    return QByteArray();
  QByteArray bytes(static_cast<qsizetype>(st.size), Qt::Uninitialized);
  const zip_int64_t gelesen =
      zip_source_read(puffer.get(), bytes.data(), static_cast<zip_uint64_t>(bytes.size()));
  zip_source_close(puffer.get());
  return gelesen == bytes.size() ? bytes : QByteArray();
}
}  // namespace

bool schreibeTextvorlage(const QString& pfad, const QImage& seite, double breite, double hoehe,
                         QString* fehler) {
  auto scheitern = [fehler](const QString& grund) {
    if (fehler) *fehler = grund;
    return false;
  };
  const QByteArray png = alsPng(seite);
  if (png.isEmpty())
    return scheitern(QStringLiteral("Das Bild der Seite konnte nicht erzeugt werden."));

  // "mimetype" first and uncompressed: programs recognise the package by its first bytes.
  // The picture is compressed already.
  std::vector<Eintrag> eintraege = {
      {QStringLiteral("mimetype"), QString(), vorlagentyp.toLatin1(), false},
      {QStringLiteral("content.xml"), QStringLiteral("text/xml"), inhalt(breite, hoehe), true},
      {QStringLiteral("styles.xml"), QStringLiteral("text/xml"), stile(breite, hoehe), true},
      {QStringLiteral("meta.xml"), QStringLiteral("text/xml"), metadaten(), true},
      {bildpfad, QStringLiteral("image/png"), png, false},
  };
  // The manifest, listing the others, goes before the picture.
  eintraege.insert(eintraege.end() - 1, {QStringLiteral("META-INF/manifest.xml"),
                                         QStringLiteral("text/xml"), manifest(eintraege), true});
  const QByteArray archiv = zipArchiv(eintraege);

  QString grund;
  if (!archiv.isEmpty() && textdatei::bytesSchreiben(pfad, archiv, &grund)) return true;
  return scheitern(
      textdatei::meldung(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.")
                             .arg(QFileInfo(pfad).fileName()),
                         grund));
}

QString exportordner() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
      .filePath(QStringLiteral("Export"));
}

void entferneAlteExporte(const QString& ordner, const QDateTime& jetzt) {
  const QDateTime grenze = jetzt.addDays(-7);
  const QFileInfoList dateien = QDir(ordner).entryInfoList(QDir::Files | QDir::Hidden);
  for (const QFileInfo& f : dateien)
    if (exportname.match(f.fileName()).hasMatch() && f.lastModified() < grenze)
      QFile::remove(f.filePath());
}

namespace {
// False when the desktop knows no application for files of the type. The desktop opener
// (xdg-open) reports success once it has started, and without an application it tries web
// browsers in the background, so the user would never learn that the document did not open:
// xdg-mime is asked first. True when it cannot be asked, leaving it to the opener.
bool anwendungFuer(const QString& typ) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return true;
  QProcess frage;
  frage.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), typ});
  if (!frage.waitForFinished(5000) || frage.exitStatus() != QProcess::NormalExit ||
      frage.exitCode() != 0)
    return true;
  return !frage.readAllStandardOutput().trimmed().isEmpty();
}
}  // namespace

WordExport::WordExport(Programmzustand& s, const QString& ordner) : s_(s), ordner_(ordner) {
  oeffnen = [](const QUrl& adresse) {
    return anwendungFuer(vorlagentyp) && QDesktopServices::openUrl(adresse);
  };
  entferneAlteExporte(ordner_);
}

bool WordExport::fehler(const QString& grund) {
  s_.fenster->Meldung(QStringLiteral("Keine Wordverbindung möglich:  ") + grund, QString(),
                      Knoepfe::Ok, Symbol::Ausrufezeichen);
  return false;
}

bool WordExport::mnuWord_Click() {
  QString grund;
  if (!SeiteExportieren(s_, &grund)) return fehler(grund);

  const QString ordnername = QDir::toNativeSeparators(ordner_);
  if (!QDir().mkpath(ordner_))
    return fehler(QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.").arg(ordnername));
  // A name of its own for every export, taken by creating the file: an earlier document may
  // still be open in the word processor, and another run of the program may export too.
  const QString stamm = QStringLiteral("QXMarvolant-") +
                        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString pfad;
  for (int n = 1; pfad.isEmpty() && n <= 100; ++n) {
    const QString name =
        n == 1 ? stamm + QStringLiteral(".ott") : QStringLiteral("%1-%2.ott").arg(stamm).arg(n);
    QFile neu(QDir(ordner_).filePath(name));
    if (neu.open(QIODevice::WriteOnly | QIODevice::NewOnly)) pfad = neu.fileName();
  }
  if (pfad.isEmpty())
    return fehler(
        QStringLiteral("Im Ordner „%1“ kann kein Dokument angelegt werden.").arg(ordnername));

  QImage bild = s_.Lead2->bild();
  // The picture's resolution makes its physical size the page's, for programs that look at it.
  if (s_.Seite->Breite > 0 && s_.Seite->Hoehe > 0) {
    bild.setDotsPerMeterX(
        static_cast<int>(std::lround(bild.width() / (s_.Seite->Breite / 10000.0))));
    bild.setDotsPerMeterY(
        static_cast<int>(std::lround(bild.height() / (s_.Seite->Hoehe / 10000.0))));
  }
  if (!schreibeTextvorlage(pfad, bild, s_.Seite->Breite, s_.Seite->Hoehe, &grund)) {
    QFile::remove(pfad);
    return fehler(grund);
  }
  // The template is complete: when nothing on the desktop opens it, it stays for the user to
  // open by hand (it goes with the old exports after a week).
  if (!oeffnen || !oeffnen(QUrl::fromLocalFile(pfad)))
    return fehler(
        QStringLiteral("Kein Textverarbeitungsprogramm konnte das Dokument öffnen. Die "
                       "Vorlage ist unter „%1“ gespeichert und kann von Hand geöffnet werden.")
            .arg(QDir::toNativeSeparators(pfad)));
  letzteDatei_ = pfad;
  return true;
}
