// The widgets around the surfaces: the scrolling viewport with the page view, the print
// preview and the printer dialog, driven as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <optional>

#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"
#include "platform/druckerdialog.h"
#include "platform/drucksteuerung.h"
#include "platform/gdi.h"
#include "platform/vorschauansicht.h"

namespace {

// A document of the given pages, each with one red box at (1440, 1440)-(2880, 2880).
void dokument(Drucksteuerung& d, int seiten) {
  d.StartDoc();
  for (int i = 0; i < seiten; ++i) {
    if (i > 0) d.NewPage();
    d.BrushStyle = 0;
    d.BrushColor = 0x0000FF;
    d.PenColor = 0x0000FF;
    Rectangle(d.hdc(), 600, 600, 1200, 1200);
  }
  d.EndDoc();
}

bool istRot(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }

}  // namespace

TEST(Ansichtsfenster, InhaltsgroesseInTwipsAufGanzePixel) {
  Ansichtsfenster fenster;
  Bildflaeche seite(3000, 3000);
  seite.Cls();
  seite.Line(150, 150, 450, 450, 0x0000FF, true, true);
  auto* anzeige = new Flaechenanzeige(&seite);
  fenster.setzeInhalt(anzeige);
  fenster.resize(100, 80);
  fenster.show();

  EXPECT_EQ(fenster.setzeInhaltsgroesse(1000, 2000), QSizeF(1005, 1995));
  EXPECT_EQ(anzeige->size(), QSize(67, 133));
  EXPECT_EQ(fenster.inhaltsgroesse(), QSizeF(1005, 1995));
  EXPECT_EQ(fenster.setzeInhaltsgroesse(-15, std::nan("")), QSizeF(0, 0));
  EXPECT_EQ(fenster.setzeInhaltsgroesse(3000, 3000), QSizeF(3000, 3000));
  EXPECT_DOUBLE_EQ(fenster.Width(), 1500);
  EXPECT_DOUBLE_EQ(fenster.Height(), 1200);
  fenster.setWidth(3000);
  EXPECT_EQ(fenster.width(), 200);

  // The content is larger than the view: it scrolls, and the surface's pixels show.
  QApplication::processEvents();
  EXPECT_GT(fenster.verticalScrollBar()->maximum(), 0);
  const QImage bild = anzeige->grab().toImage();
  EXPECT_TRUE(istRot(bild.pixel(20, 20)));
  EXPECT_FALSE(istRot(bild.pixel(40, 40)));
}

TEST(Vorschauansicht, ZeigtSeitenUndFolgtNeuemDokument) {
  Drucksteuerung d;
  dokument(d, 1);
  Vorschauansicht vorschau;
  vorschau.resize(400, 300);
  vorschau.setzeDrucksteuerung(&d);
  vorschau.show();
  ASSERT_EQ(vorschau.seitenzahl(), 1);
  EXPECT_EQ(vorschau.seitenbild(0).size(), QSize(794, 1123));
  const QRect r = vorschau.seitenrechteck(0);
  EXPECT_EQ(r.topLeft(), QPoint(Vorschauansicht::ABSTAND, Vorschauansicht::ABSTAND));
  QImage bild = vorschau.widget()->grab().toImage();
  EXPECT_TRUE(istRot(bild.pixel(r.left() + 120, r.top() + 120)));
  EXPECT_FALSE(istRot(bild.pixel(r.left() + 90, r.top() + 120)));
  EXPECT_FALSE(istRot(bild.pixel(r.left() + 200, r.top() + 120)));

  // Keys change the scale.
  QTest::keyClick(&vorschau, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(vorschau.zoom(), 1.25);
  EXPECT_NEAR(vorschau.seitenbild(0).width(), 992, 1);
  QTest::keyClick(&vorschau, Qt::Key_0);
  EXPECT_DOUBLE_EQ(vorschau.zoom(), 1.0);
  QTest::keyClick(&vorschau, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(vorschau.zoom(), 0.8);
  // Ctrl and the wheel too.
  QWheelEvent rad(QPointF(50, 50), vorschau.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                  Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(vorschau.viewport(), &rad);
  EXPECT_DOUBLE_EQ(vorschau.zoom(), 1.0);

  // A new document in the control shows up when the view paints, pages one below the
  // other.
  dokument(d, 2);
  vorschau.widget()->grab();
  bild = vorschau.widget()->grab().toImage();
  ASSERT_EQ(vorschau.seitenzahl(), 2);
  const QRect r2 = vorschau.seitenrechteck(1);
  EXPECT_EQ(r2.top(), r.bottom() + 1 + Vorschauansicht::ABSTAND);
  EXPECT_TRUE(istRot(bild.pixel(r2.left() + 120, r2.top() + 120)));
  EXPECT_GE(vorschau.widget()->height(), r2.bottom());
}

namespace {

// Runs the printer dialog with two queues of its own, "Buero" the default, and does `was`
// in it once it shows. The result of druckerWaehlenAus, or nothing when no dialog showed.
std::optional<bool> imDialog(Drucksteuerung& d, const std::function<void(Druckerdialog&)>& was,
                             const Druckerliste& liste = {{"Buero", "Keller"}, "Buero"}) {
  bool gesehen = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<Druckerdialog*>(QApplication::activeModalWidget())) {
      gesehen = true;
      was(*dialog);
    }
  });
  const bool ok = druckerWaehlenAus(nullptr, d, liste);
  if (!gesehen) return std::nullopt;
  return ok;
}

void okKlicken(Druckerdialog& dialog) { QTest::mouseClick(dialog.Ok, Qt::LeftButton); }

}  // namespace

TEST(Druckerdialog, PdfDateiBleibtGewaehlt) {
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("auswahl.pdf"));
  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  // OK without a change keeps the named file, though a default queue is there.
  EXPECT_EQ(imDialog(d,
                     [&](Druckerdialog& dialog) {
                       EXPECT_EQ(dialog.Auswahl->currentText(), QStringLiteral("PDF-Datei"));
                       EXPECT_EQ(dialog.Auswahl->itemText(0), QStringLiteral("Buero (Standard)"));
                       EXPECT_TRUE(dialog.Datei->isEnabled());
                       okKlicken(dialog);
                     }),
            true);
  EXPECT_EQ(d.pdfDatei(), pdf);

  // Cancelled: nothing changes.
  EXPECT_EQ(imDialog(d, [](Druckerdialog& dialog) { dialog.reject(); }), false);
  EXPECT_EQ(d.pdfDatei(), pdf);

  // A file named when the program starts stays chosen too.
  qputenv("QX_DRUCKDATEI", QFile::encodeName(pdf));
  Drucksteuerung umgebung;
  EXPECT_EQ(imDialog(umgebung, okKlicken), true);
  qunsetenv("QX_DRUCKDATEI");
  EXPECT_EQ(umgebung.pdfDatei(), pdf);
}

TEST(Druckerdialog, DruckerOderDateiWaehlen) {
  QTemporaryDir ordner;
  Drucksteuerung d;
  d.setzePdfDatei(ordner.filePath(QStringLiteral("a.pdf")));
  // The user leaves the file by choosing a queue; the file's box is locked then.
  EXPECT_EQ(imDialog(d,
                     [](Druckerdialog& dialog) {
                       dialog.Auswahl->setFocus();
                       QTest::keyClick(dialog.Auswahl, Qt::Key_Home);
                       QTest::keyClick(dialog.Auswahl, Qt::Key_Down);
                       EXPECT_FALSE(dialog.Datei->isEnabled());
                       okKlicken(dialog);
                     }),
            true);
  EXPECT_EQ(d.pdfDatei(), QString());
  EXPECT_EQ(d.druckerName(), QStringLiteral("Keller"));

  // The chosen queue comes back; back to a file, that must be named and lie in a folder
  // that exists, or the dialog says so and stays open.
  const QString neu = ordner.filePath(QStringLiteral("neu.pdf"));
  EXPECT_EQ(imDialog(d,
                     [&](Druckerdialog& dialog) {
                       EXPECT_EQ(dialog.drucker(), QStringLiteral("Keller"));
                       dialog.Auswahl->setFocus();
                       QTest::keyClick(dialog.Auswahl, Qt::Key_End);
                       for (const QString& falsch : {QString(), ordner.path(),
                                                     ordner.filePath(QStringLiteral("x/y.pdf"))}) {
                         dialog.Datei->setText(falsch);
                         okKlicken(dialog);
                         EXPECT_TRUE(dialog.isVisible()) << falsch.toStdString();
                         EXPECT_FALSE(dialog.Hinweis->isHidden()) << falsch.toStdString();
                       }
                       dialog.Datei->clear();
                       QTest::keyClicks(dialog.Datei, neu);
                       EXPECT_TRUE(dialog.Hinweis->isHidden());
                       okKlicken(dialog);
                     }),
            true);
  EXPECT_EQ(d.pdfDatei(), neu);

  // Without any queue the file is the only entry; a queue that is gone gives way to the
  // default one.
  Drucksteuerung ohne;
  EXPECT_EQ(imDialog(ohne,
                     [](Druckerdialog& dialog) {
                       EXPECT_EQ(dialog.Auswahl->count(), 1);
                       EXPECT_TRUE(dialog.Datei->isEnabled());
                       dialog.reject();
                     },
                     {}),
            false);
  ohne.setzeDrucker(QStringLiteral("Weg"));
  EXPECT_EQ(imDialog(ohne,
                     [](Druckerdialog& dialog) {
                       EXPECT_EQ(dialog.drucker(), QStringLiteral("Buero"));
                       dialog.reject();
                     }),
            false);
}

TEST(Druckerdialog, EingabeWirdZurPdfDatei) {
  QTemporaryDir ordner;
  const auto datei = [](const QString& eingabe) {
    return Druckerdialog({}, QString(), eingabe).pdfDatei();
  };
  // A name without an ending is a PDF file's; "~" is the home folder.
  EXPECT_EQ(datei(ordner.filePath(QStringLiteral("brief"))),
            ordner.filePath(QStringLiteral("brief.pdf")));
  EXPECT_EQ(datei(ordner.filePath(QStringLiteral("brief.v2"))),
            ordner.filePath(QStringLiteral("brief.v2")));
  EXPECT_EQ(datei(QStringLiteral("~/qx.pdf")), QDir::home().filePath(QStringLiteral("qx.pdf")));
}

TEST(Druckerdialog, OrdnerOhneSchreibrechtWirdGemeldet) {
  // Nobody may make files in /proc, root neither.
  const QString pdf = QStringLiteral("/proc/qx.pdf");
  if (Drucksteuerung::pdfDateiSchreibbar(pdf)) GTEST_SKIP() << "/proc takes files here";
  QTemporaryDir ordner;
  Drucksteuerung d;
  d.setzePdfDatei(ordner.filePath(QStringLiteral("a.pdf")));
  EXPECT_EQ(imDialog(d,
                     [&](Druckerdialog& dialog) {
                       dialog.Datei->setText(pdf);
                       okKlicken(dialog);
                       EXPECT_TRUE(dialog.isVisible());
                       EXPECT_TRUE(dialog.Hinweis->text().contains(QStringLiteral("„/proc“")))
                           << dialog.Hinweis->text().toStdString();
                       dialog.reject();
                     }),
            false);
  EXPECT_EQ(d.pdfDatei(), ordner.filePath(QStringLiteral("a.pdf")));
}

TEST(Druckerdialog, NachDruckerWirdDieFruehereDateiAngeboten) {
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("a.pdf"));
  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  d.setzeDrucker(QStringLiteral("Keller"));
  EXPECT_EQ(imDialog(d,
                     [&](Druckerdialog& dialog) {
                       dialog.Auswahl->setFocus();
                       QTest::keyClick(dialog.Auswahl, Qt::Key_End);
                       EXPECT_EQ(dialog.Datei->text(), pdf);
                       okKlicken(dialog);
                       if (dialog.isVisible()) dialog.reject();
                     }),
            true);
  EXPECT_EQ(d.pdfDatei(), pdf);
}
