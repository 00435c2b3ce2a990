// Drawing through the device context on a picture surface: GDI's pixel rules for
// rectangles, polygons, ellipses, pens, text and clip regions.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/bildflaeche.h"
#include "platform/gdi.h"

namespace {

constexpr int32_t SCHWARZ = 0;
constexpr int32_t WEISS = 0xFFFFFF;
constexpr int32_t ROT = 0x0000FF;
constexpr int32_t GRUEN = 0x00FF00;
constexpr int32_t BLAU = 0xFF0000;

QRgb rgb(int32_t farbe) { return qRgb(farbe & 0xFF, (farbe >> 8) & 0xFF, (farbe >> 16) & 0xFF); }

// A white surface of b x h pixels at 15 twips per pixel.
struct Flaeche {
  explicit Flaeche(int b = 100, int h = 100) : f(b * 15.0, h * 15.0) { f.Cls(); }
  QRgb at(int x, int y) { return f.bild().pixel(x, y) & 0xFFFFFF; }
  bool ist(int x, int y, int32_t farbe) { return at(x, y) == (rgb(farbe) & 0xFFFFFF); }
  // Bounding box of the pixels that are not white.
  QRect tinte() {
    const QImage& b = f.bild();
    QRect r;
    for (int y = 0; y < b.height(); ++y)
      for (int x = 0; x < b.width(); ++x)
        if ((b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) r |= QRect(x, y, 1, 1);
    return r;
  }
  Bildflaeche f;
};

HFONT schrift(int hoehe, int drehung = 0, const char* name = "Liberation Sans") {
  LogFont lf;
  lf.lfHeight = hoehe;
  lf.lfEscapement = lf.lfOrientation = drehung;
  lf.lfWeight = 400;
  lf.lfFaceName = QString::fromLatin1(name);
  return CreateFontIndirectA(lf);
}

}  // namespace

TEST(Geraetekontext, RechteckLaesstRechteUndUntereKanteAus) {
  Flaeche t;
  t.f.ForeColor = SCHWARZ;
  t.f.FillStyle = 0;
  t.f.FillColor = ROT;
  ASSERT_TRUE(Rectangle(t.f.hdc(), 10, 10, 20, 15));
  EXPECT_TRUE(t.ist(10, 10, SCHWARZ));
  EXPECT_TRUE(t.ist(19, 14, SCHWARZ));
  EXPECT_TRUE(t.ist(19, 12, SCHWARZ));
  EXPECT_TRUE(t.ist(15, 12, ROT));
  EXPECT_TRUE(t.ist(11, 11, ROT));
  EXPECT_TRUE(t.ist(20, 12, WEISS));
  EXPECT_TRUE(t.ist(15, 15, WEISS));
  EXPECT_EQ(t.tinte(), QRect(10, 10, 10, 5));

  // Corners given the other way round draw the same box; a bar of no height is one
  // pixel high.
  Flaeche u;
  u.f.FillStyle = 0;
  Rectangle(u.f.hdc(), 20, 15, 10, 10);
  EXPECT_EQ(u.tinte(), QRect(10, 10, 10, 5));
  Flaeche v;
  Rectangle(v.f.hdc(), 10, 30, 40, 30);
  EXPECT_EQ(v.tinte(), QRect(10, 30, 30, 1));

  // Transparent brush: only the outline.
  Flaeche w;
  w.f.FillStyle = 1;
  Rectangle(w.f.hdc(), 10, 10, 20, 20);
  EXPECT_TRUE(w.ist(10, 15, SCHWARZ));
  EXPECT_TRUE(w.ist(15, 15, WEISS));
}

TEST(Geraetekontext, PolygoneGefuelltUndUmrandet) {
  const POINT dreieck[] = {{10, 10}, {40, 10}, {10, 40}};
  Flaeche t;
  t.f.ForeColor = SCHWARZ;
  t.f.FillStyle = 0;
  t.f.FillColor = BLAU;
  ASSERT_TRUE(Polygon(t.f.hdc(), dreieck, 3));
  EXPECT_TRUE(t.ist(10, 10, SCHWARZ));
  EXPECT_TRUE(t.ist(40, 10, SCHWARZ));
  EXPECT_TRUE(t.ist(10, 40, SCHWARZ));
  EXPECT_TRUE(t.ist(25, 10, SCHWARZ));
  EXPECT_TRUE(t.ist(15, 15, BLAU));
  EXPECT_TRUE(t.ist(30, 30, WEISS));
  EXPECT_TRUE(t.ist(41, 10, WEISS));

  Flaeche u;
  u.f.ForeColor = ROT;
  u.f.FillStyle = 1;
  Polygon(u.f.hdc(), dreieck, 3);
  EXPECT_TRUE(u.ist(25, 10, ROT));
  EXPECT_TRUE(u.ist(10, 25, ROT));
  EXPECT_TRUE(u.ist(15, 15, WEISS));

  // Alternate filling: the inner square of a self-overlapping outline stays empty.
  const POINT doppelt[] = {{10, 60}, {50, 60}, {50, 90}, {30, 90},
                           {30, 70}, {40, 70}, {40, 80}, {10, 80}};
  Flaeche v;
  v.f.FillStyle = 0;
  v.f.FillColor = GRUEN;
  v.f.ForeColor = GRUEN;
  Polygon(v.f.hdc(), doppelt, 8);
  EXPECT_TRUE(v.ist(20, 70, GRUEN));
  EXPECT_TRUE(v.ist(45, 85, GRUEN));
  EXPECT_TRUE(v.ist(35, 75, WEISS));

  // Fewer than two points draw nothing.
  EXPECT_FALSE(Polygon(v.f.hdc(), dreieck, 1));
}

TEST(Geraetekontext, ZweiPunktPolygonIstLinieInStiftbreite) {
  const POINT linie[] = {{10, 50}, {60, 50}};
  Flaeche t;
  t.f.DrawWidth = 3;
  t.f.ForeColor = SCHWARZ;
  ASSERT_TRUE(Polygon(t.f.hdc(), linie, 2));
  for (int y : {49, 50, 51}) EXPECT_TRUE(t.ist(35, y, SCHWARZ)) << y;
  EXPECT_TRUE(t.ist(35, 48, WEISS));
  EXPECT_TRUE(t.ist(35, 52, WEISS));
  // Round ends reach past the end points by half the width.
  EXPECT_TRUE(t.ist(9, 50, SCHWARZ));
  EXPECT_TRUE(t.ist(61, 50, SCHWARZ));
  EXPECT_TRUE(t.ist(7, 50, WEISS));
  EXPECT_TRUE(t.ist(63, 50, WEISS));
  EXPECT_TRUE(t.ist(8, 48, WEISS));  // round, not square

  // Width 0 and 1 give one pixel, both end points included; a vertical line for a frame
  // of no width.
  for (int breite : {0, 1}) {
    Flaeche u;
    u.f.DrawWidth = static_cast<int16_t>(breite);
    const POINT senkrecht[] = {{20, 10}, {20, 30}};
    Polygon(u.f.hdc(), senkrecht, 2);
    EXPECT_EQ(u.tinte(), QRect(20, 10, 1, 21)) << breite;
  }
}

TEST(Geraetekontext, Ellipse) {
  Flaeche t;
  t.f.ForeColor = SCHWARZ;
  t.f.FillStyle = 0;
  t.f.FillColor = GRUEN;
  ASSERT_TRUE(Ellipse(t.f.hdc(), 10, 10, 51, 31));
  EXPECT_EQ(t.tinte(), QRect(10, 10, 41, 21));
  EXPECT_TRUE(t.ist(30, 20, GRUEN));
  EXPECT_TRUE(t.ist(10, 20, SCHWARZ));
  EXPECT_TRUE(t.ist(50, 20, SCHWARZ));
  EXPECT_TRUE(t.ist(30, 10, SCHWARZ));
  EXPECT_TRUE(t.ist(30, 30, SCHWARZ));
  EXPECT_TRUE(t.ist(11, 11, WEISS));
  EXPECT_TRUE(t.ist(49, 29, WEISS));
}

TEST(Geraetekontext, ClipRegionBegrenztZeichnen) {
  const int vorher = lebendeGdiObjekte();
  Flaeche t;
  t.f.FillStyle = 0;
  t.f.FillColor = ROT;
  t.f.ForeColor = ROT;
  HDC dc = t.f.hdc();
  HRGN links = CreateRectRgn(0, 0, 50, 100);
  EXPECT_EQ(lebendeGdiObjekte(), vorher + 1);
  EXPECT_NE(SelectClipRgn(dc, links), 0);
  EXPECT_TRUE(DeleteObject(links));  // the context keeps its own copy
  EXPECT_TRUE(dc->hatClip());
  Rectangle(dc, 10, 10, 90, 20);
  EXPECT_TRUE(t.ist(49, 15, ROT));
  EXPECT_TRUE(t.ist(50, 15, WEISS));
  EXPECT_TRUE(t.ist(10, 15, ROT));

  // A triangular region.
  const POINT ecken[] = {{0, 30}, {60, 30}, {0, 90}};
  HRGN dreieck = CreatePolygonRgn(ecken, 3, ALTERNATE);
  SelectClipRgn(dc, dreieck);
  Rectangle(dc, 0, 30, 60, 90);
  EXPECT_TRUE(t.ist(5, 35, ROT));
  EXPECT_TRUE(t.ist(50, 80, WEISS));

  // No region: drawing reaches everywhere again, and the context says so.
  EXPECT_NE(SelectClipRgn(dc, 0), 0);
  EXPECT_FALSE(dc->hatClip());
  EXPECT_TRUE(dc->clip().isEmpty());
  Rectangle(dc, 10, 92, 90, 95);
  EXPECT_TRUE(t.ist(80, 93, ROT));
  EXPECT_TRUE(DeleteObject(dreieck));
  EXPECT_FALSE(DeleteObject(dreieck));
  EXPECT_EQ(lebendeGdiObjekte(), vorher);

  // A region also clips the surface's own lines and text.
  HRGN leer = CreateRectRgn(0, 0, 1, 1);
  SelectClipRgn(dc, leer);
  Flaeche u;
  SelectClipRgn(u.f.hdc(), leer);
  u.f.Line(0, 600, 1500, 600, SCHWARZ);
  u.f.Line(150, 150, 600, 600, SCHWARZ, true, true);
  u.f.CurrentX = 150;
  u.f.Print(QStringLiteral("Hallo"));
  EXPECT_TRUE(u.tinte().isEmpty());
  DeleteObject(leer);
}

TEST(Geraetekontext, SchriftWaehlenUndLoeschen) {
  Flaeche t;
  HDC dc = t.f.hdc();
  const int vorher = lebendeGdiObjekte();
  HFONT s = schrift(-40, 450);
  EXPECT_EQ(lebendeGdiObjekte(), vorher + 1);
  const HFONT alt = SelectObject(dc, s);
  EXPECT_NE(alt, 0u);
  EXPECT_EQ(dc->schrift().pixelSize(), 40);
  EXPECT_EQ(dc->drehung(), 450);
  EXPECT_EQ(SelectObject(dc, alt), s);
  EXPECT_EQ(dc->drehung(), 0);
  EXPECT_TRUE(DeleteObject(s));
  EXPECT_FALSE(DeleteObject(alt));  // the surface's own font is not the caller's
  EXPECT_EQ(lebendeGdiObjekte(), vorher);
  EXPECT_EQ(SelectObject(dc, s), 0u);  // a deleted handle selects nothing

  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  Bildflaeche grob(1000, 1000, 30);
  EXPECT_EQ(GetDeviceCaps(grob.hdc(), LOGPIXELSY), 48);
}

TEST(Geraetekontext, SchrifthoeheNachGdiRegel) {
  LogFont lf;
  lf.lfFaceName = QStringLiteral("Liberation Serif");
  lf.lfHeight = -30;
  lf.lfWeight = 800;
  lf.lfItalic = 255;
  lf.lfUnderline = 255;
  QFont f = schriftAusLogFont(lf);
  EXPECT_EQ(f.pixelSize(), 30);
  EXPECT_TRUE(f.bold());
  EXPECT_TRUE(f.italic());
  EXPECT_TRUE(f.underline());
  EXPECT_FALSE(f.strikeOut());
  EXPECT_FALSE(f.kerning());
  // A positive height is the cell height: ascent and descent together.
  lf.lfHeight = 60;
  lf.lfWeight = 400;
  f = schriftAusLogFont(lf);
  const QFontMetricsF m(f);
  EXPECT_NEAR(m.ascent() + m.descent(), 60, 1.5);
  EXPECT_FALSE(f.bold());
  // A face that does not exist still gives a usable font.
  lf.lfFaceName = QStringLiteral("Gibt es nicht 123");
  lf.lfHeight = -20;
  EXPECT_GT(QFontMetricsF(schriftAusLogFont(lf)).horizontalAdvance("abc"), 10);
}

TEST(Geraetekontext, ZeichenabstandWirktBeimSchreibenNichtBeimMessen) {
  const QString text = QStringLiteral("HHHH");
  Flaeche ohne(200, 60);
  Flaeche mit(200, 60);
  HFONT s1 = schrift(-24);
  HFONT s2 = schrift(-24);
  HFONT alt1 = SelectObject(ohne.f.hdc(), s1);
  HFONT alt2 = SelectObject(mit.f.hdc(), s2);
  SIZE a, b;
  GetTextExtentPoint32A(ohne.f.hdc(), text, 4, &a);
  EXPECT_EQ(SetTextCharacterExtra(mit.f.hdc(), 5), 0);
  GetTextExtentPoint32A(mit.f.hdc(), text, 4, &b);
  EXPECT_EQ(a.cx, b.cx);
  EXPECT_GT(a.cx, 40);
  EXPECT_NEAR(a.cy, 24 * 1.15, 4);
  // Only the given number of characters counts.
  SIZE zwei;
  GetTextExtentPoint32A(ohne.f.hdc(), text, 2, &zwei);
  EXPECT_NEAR(zwei.cx * 2, a.cx, 1);

  ASSERT_TRUE(TextOutA(ohne.f.hdc(), 10, 10, text, 4));
  ASSERT_TRUE(TextOutA(mit.f.hdc(), 10, 10, text, 4));
  const QRect r1 = ohne.tinte();
  const QRect r2 = mit.tinte();
  EXPECT_EQ(r1.left(), r2.left());
  EXPECT_EQ(r1.top(), r2.top());
  // Every character moves by the extra, so the last one starts 3 x 5 pixels later and
  // the text's advance grows by 4 x 5.
  EXPECT_EQ(r2.right() - r1.right(), 15);
  // The reference point is the top of the cell: the capital's top lies below it by the
  // internal leading, well inside the cell.
  EXPECT_GE(r1.top(), 10);
  EXPECT_LT(r1.top(), 10 + 8);
  EXPECT_LE(r1.bottom(), 10 + a.cy);

  EXPECT_EQ(SetTextCharacterExtra(mit.f.hdc(), 0), 5);
  SelectObject(ohne.f.hdc(), alt1);
  SelectObject(mit.f.hdc(), alt2);
  DeleteObject(s1);
  DeleteObject(s2);
}

TEST(Geraetekontext, GedrehterTextLaeuftVomBezugspunktNachOben) {
  Flaeche t(120, 160);
  t.f.ForeColor = SCHWARZ;
  HDC dc = t.f.hdc();
  HFONT s = schrift(-20, 900);
  HFONT alt = SelectObject(dc, s);
  SIZE g;
  GetTextExtentPoint32A(dc, QStringLiteral("HHHHH"), 5, &g);
  TextOutA(dc, 40, 130, QStringLiteral("HHHHH"), 5);
  const QRect r = t.tinte();
  ASSERT_FALSE(r.isEmpty());
  // Turned counter-clockwise about (40, 130): the cell's top edge now runs upwards along
  // x = 40, the text's width upwards from y = 130, its height to the right.
  EXPECT_GE(r.left(), 40);
  EXPECT_LE(r.right(), 40 + g.cy);
  EXPECT_LE(r.bottom(), 130);
  EXPECT_GE(r.top(), 130 - g.cx - 1);
  EXPECT_GT(r.height(), g.cx * 8 / 10);
  EXPECT_LT(r.width(), g.cy);
  SelectObject(dc, alt);
  DeleteObject(s);

  // 180 degrees: the text hangs upside down to the left of the point.
  Flaeche u(120, 80);
  HFONT k = schrift(-20, 1800);
  alt = SelectObject(u.f.hdc(), k);
  TextOutA(u.f.hdc(), 100, 50, QStringLiteral("HHHHH"), 5);
  const QRect q = u.tinte();
  EXPECT_LE(q.right(), 100);
  EXPECT_GE(q.left(), 100 - g.cx - 1);
  EXPECT_LE(q.bottom(), 50);
  EXPECT_GE(q.top(), 50 - g.cy);
  SelectObject(u.f.hdc(), alt);
  DeleteObject(k);
}

TEST(Geraetekontext, TextkopienHabenDieKantenEinerKopie) {
  // Copies at one point cover like one copy, straight and turned; where copies at two
  // points overlap, the later one shows.
  auto tinte = [](const QImage& b) {
    double summe = 0;
    for (int y = 0; y < b.height(); ++y)
      for (int x = 0; x < b.width(); ++x)
        summe += 765 - qRed(b.pixel(x, y)) - qGreen(b.pixel(x, y)) - qBlue(b.pixel(x, y));
    return summe;
  };
  const QString text = QStringLiteral("Wasser & Öl");
  for (int drehung : {0, 300}) {
    Flaeche eine(300, 200), viele(300, 200);
    const HFONT s = schrift(-40, drehung);
    const HGDIOBJ alt1 = SelectObject(eine.f.hdc(), s);
    const HGDIOBJ alt2 = SelectObject(viele.f.hdc(), s);
    eine.f.ForeColor = ROT;
    TextOutA(eine.f.hdc(), 20, 100, text, static_cast<int>(text.size()));
    viele.f.hdc()->schreibeTextKopien(text, std::vector<Textkopie>(100, {{20, 100}, Qt::red}));
    EXPECT_EQ(viele.tinte(), eine.tinte()) << drehung;
    EXPECT_NEAR(tinte(viele.f.bild()), tinte(eine.f.bild()), tinte(eine.f.bild()) / 200);
    SelectObject(eine.f.hdc(), alt1);
    SelectObject(viele.f.hdc(), alt2);
    DeleteObject(s);
  }
  Flaeche zwei(100, 60);
  const HFONT s = schrift(-40);
  const HGDIOBJ alt = SelectObject(zwei.f.hdc(), s);
  zwei.f.hdc()->schreibeTextKopien(QStringLiteral("I"), {{{10, 5}, Qt::blue}, {{13, 5}, Qt::red}});
  const QRect r = zwei.tinte();
  EXPECT_TRUE(zwei.ist(r.left() + 1, r.center().y(), BLAU));
  EXPECT_TRUE(zwei.ist(r.right() - 1, r.center().y(), ROT));
  SelectObject(zwei.f.hdc(), alt);
  DeleteObject(s);
}

TEST(Geraetekontext, TextkopienAmRandWieAufGrosserFlaeche) {
  // Copies that reach past the surface or past the clip region leave inside it exactly the
  // pixels that a surface large enough for all of them shows there; copies far off the
  // surface are passed over.
  const QString text = QStringLiteral("Schatten");
  const HFONT s = schrift(-260, 150);
  auto zeichne = [&](Flaeche& f, QPoint versatz, HRGN clip) {
    std::vector<Textkopie> kopien = {{{-(1 << 30), 5}, Qt::black}};
    for (int i = 1; i <= 100; ++i)
      kopien.push_back(
          {QPoint(-500 + 5 * i, -100 + 3 * i) + versatz, QColor::fromHsv(3 * i, 255, 200)});
    kopien.push_back({{1 << 30, 1 << 30}, Qt::black});
    const HGDIOBJ alt = SelectObject(f.f.hdc(), s);
    SelectClipRgn(f.f.hdc(), clip);
    f.f.hdc()->schreibeTextKopien(text, kopien);
    SelectClipRgn(f.f.hdc(), 0);
    SelectObject(f.f.hdc(), alt);
  };
  const QPoint versatz(900, 700);
  Flaeche gross(2400, 1500), klein(500, 300), geclipt(500, 300);
  zeichne(gross, versatz, 0);
  zeichne(klein, {}, 0);
  const QRect innen(40, 30, 380, 220);
  const HRGN region =
      CreateRectRgn(innen.left(), innen.top(), innen.right() + 1, innen.bottom() + 1);
  zeichne(geclipt, {}, region);
  DeleteObject(region);
  DeleteObject(s);

  const QImage ausschnitt = gross.f.bild().copy(QRect(versatz, klein.f.bild().size()));
  ASSERT_TRUE(klein.tinte().isValid());
  EXPECT_EQ(klein.f.bild(), ausschnitt);
  QImage erwartet(ausschnitt.size(), ausschnitt.format());
  erwartet.fill(Qt::white);
  QPainter(&erwartet).drawImage(innen.topLeft(), ausschnitt.copy(innen));
  EXPECT_EQ(geclipt.f.bild(), erwartet);
}
