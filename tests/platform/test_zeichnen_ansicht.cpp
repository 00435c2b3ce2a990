// The widgets around the surfaces: the scrolling viewport with the page view, the print
// preview and the printer dialog, driven as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

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

TEST(Druckerdialog, PdfDateiBleibtGewaehlt) {
  QTemporaryDir ordner;
  const QString pdf = ordner.filePath(QStringLiteral("auswahl.pdf"));
  Drucksteuerung d;
  d.setzePdfDatei(pdf);
  bool gesehen = false;
  QTimer::singleShot(100, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      gesehen = true;
      dialog->accept();
    }
  });
  const bool ok = druckerWaehlen(nullptr, d);
  ASSERT_TRUE(gesehen);
  EXPECT_TRUE(ok);
  EXPECT_EQ(d.pdfDatei(), pdf);

  // Cancelled: nothing changes.
  QTimer::singleShot(100, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  EXPECT_FALSE(druckerWaehlen(nullptr, d));
  EXPECT_EQ(d.pdfDatei(), pdf);
}
