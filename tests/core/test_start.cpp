#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "core/programmzustand.h"
#include "core/start.h"

namespace {
// The start document in an empty start-up folder (no settings file).
struct StartTest : ::testing::Test {
  QTemporaryDir ordner;
  Programmzustand s;
  void SetUp() override { Main(s, ordner.path()); }
};
}  // namespace

TEST_F(StartTest, StartdokumentHat31RahmenUnd30Texte) {
  EXPECT_EQ(s.AnzahlRahmen, 31);
  EXPECT_EQ(s.AnzahlSchriften, 30);
  EXPECT_EQ(s.AnzahlBilder, 0);
  EXPECT_EQ(s.AnzahlLinien, 0);
  EXPECT_EQ(s.AnzahlRTF, 1);
  EXPECT_EQ(s.Seite->Breite, 2100);
  EXPECT_EQ(s.Seite->Hoehe, 2980);
  for (int n = 1; n <= 30; ++n) {
    const ClassRahmen& r = s.rahmen(n);
    EXPECT_EQ(r.x, 50 * n + 50);
    EXPECT_EQ(r.y, 50 * n + 50);
    EXPECT_EQ(r.Breite, 500);
    EXPECT_EQ(r.Hoehe, 200);
    EXPECT_EQ(r.z, n);
    EXPECT_EQ(r.Objekttyp, QStringLiteral("Schrift"));
    EXPECT_EQ(r.nummer(), n);
    EXPECT_EQ(r.Data, -1);
    EXPECT_TRUE(r.Sichtbar);
    EXPECT_FALSE(r.Proportional);
    EXPECT_FALSE(r.Verankert);
  }
  const ClassRahmen& brief = s.rahmen(31);
  EXPECT_EQ(brief.x, 1600);
  EXPECT_EQ(brief.y, 1600);
  EXPECT_EQ(brief.z, 31);
  EXPECT_EQ(brief.Objekttyp, QStringLiteral("RTF"));
  // Stored by the factory as a floating-point number.
  ASSERT_TRUE(std::holds_alternative<double>(brief.Objektnummer));
  EXPECT_EQ(std::get<double>(brief.Objektnummer), 1.0);
  EXPECT_EQ(s.RTFDateien[1], QStringLiteral("RTF1.rtf"));
  EXPECT_EQ(s.schrift(1).Data, 1);
  EXPECT_EQ(s.schrift(2).Data, 0);
  // A bare picture element in slot 1 although there are no pictures.
  ASSERT_TRUE(s.Bilder[1]);
  EXPECT_EQ(s.Bilder[1]->Effekt, QString());
  EXPECT_FALSE(s.Linien[1]);
}

TEST_F(StartTest, AnsichtUndKonstanten) {
  EXPECT_EQ(s.Zoom, 100);
  EXPECT_EQ(s.RasterAnzeigen, -1);
  EXPECT_EQ(s.RasterX, 100);
  EXPECT_EQ(s.RasterY, 100);
  // After the settings were read the magnet follows the grid.
  EXPECT_EQ(s.MagnetX, 100);
  EXPECT_EQ(s.MagnetY, 100);
  EXPECT_EQ(s.MagnetAn, 0);
  EXPECT_EQ(s.TwipsProEinheit, 5.67);
  EXPECT_EQ(s.Verlaufsstufen, 100);
  EXPECT_EQ(s.TwipsProPixelX, 15);
  EXPECT_EQ(s.Programmtitel, QStringLiteral("QX Marvolant"));
  EXPECT_EQ(s.Programmversion, QStringLiteral("7.16"));
  EXPECT_TRUE(s.Startverzeichnis.endsWith(QLatin1Char('/')));
  EXPECT_EQ(s.AktuelleSchrift, 1);
  EXPECT_EQ(s.AktuellerRahmen, 1);
  EXPECT_EQ(s.AktuellesRTF, 1);
}

TEST_F(StartTest, NeueElementeTragenIhreVorgaben) {
  const ClassSchrift& t = s.schrift(7);
  EXPECT_EQ(t.fontname, QStringLiteral("Arial"));
  ASSERT_TRUE(std::holds_alternative<int16_t>(t.FontSize));
  EXPECT_EQ(std::get<int16_t>(t.FontSize), 10);
  EXPECT_EQ(t.ShadowAngle, 45);
  EXPECT_EQ(t.ShadowColor1, RGB(192, 192, 192));
  EXPECT_TRUE(t.Sichtbar);
  EXPECT_EQ(t.Textstring, QString());

  s.Bilder.resize(3);
  NeuesBild(s, 2);
  EXPECT_EQ(s.bild(2).Effekt, QStringLiteral("0"));
  EXPECT_EQ(s.bild(2).File, QString());

  s.Linien.resize(3);
  NeueLinie(s, 2);
  EXPECT_EQ(s.linie(2).Form, 1);
  EXPECT_EQ(s.linie(2).Staerke, 1);
  EXPECT_EQ(s.linie(2).ShadowAngle, 45);
  EXPECT_EQ(s.linie(2).ShadowColor1, RGB(192, 192, 192));
  EXPECT_FALSE(s.linie(2).Fuellung);
}

TEST_F(StartTest, NeuerRahmenWaechstUmEinenPlatzOderErsetzt) {
  const size_t vorher = s.Rahmenliste.size();  // upper bound 31
  NeuerRahmen(s, 32, QStringLiteral("Linie"), 1);
  EXPECT_EQ(s.Rahmenliste.size(), vorher + 1);
  EXPECT_EQ(s.AnzahlRahmen, 32);
  EXPECT_EQ(s.rahmen(32).x, 1650);
  EXPECT_EQ(s.rahmen(32).z, 32);
  // Inside the bounds it replaces the slot and still counts.
  NeuerRahmen(s, 5, QStringLiteral("Bild"), 1);
  EXPECT_EQ(s.Rahmenliste.size(), vorher + 1);
  EXPECT_EQ(s.AnzahlRahmen, 33);
  EXPECT_EQ(s.rahmen(5).Objekttyp, QStringLiteral("Bild"));
}

namespace {
bool sanduhr() {
  const QCursor* zeiger = QGuiApplication::overrideCursor();
  return zeiger && zeiger->shape() == Qt::WaitCursor;
}
}  // namespace

// The busy pointer covers the whole start, ends with it on every path, and is never shown
// over a message.
TEST(Programmstart, SanduhrWaehrendDesStartsNieUeberEinerMeldung) {
  QTemporaryDir ordner;
  Programmzustand s;
  bool waehrendDesStarts = false;
  Programmstart(
      s, [&] { waehrendDesStarts = sanduhr() && s.AnzahlRahmen == 31; }, ordner.path());
  EXPECT_TRUE(waehrendDesStarts);
  EXPECT_TRUE(sanduhr());  // until the event loop has run the window's remaining work
  QTest::qWait(0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  bool ueberDerMeldung = true;
  Programmzustand s2;
  Programmstart(
      s2,
      [&] {
        QMessageBox meldung(QMessageBox::Warning, QStringLiteral("Marvolant"), QStringLiteral("?"));
        QTimer::singleShot(0, &meldung, [&] {
          ueberDerMeldung = QGuiApplication::overrideCursor() != nullptr;
          meldung.accept();
        });
        meldung.exec();
      },
      ordner.path());
  EXPECT_FALSE(ueberDerMeldung);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  QTest::qWait(0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  Programmzustand s3;
  EXPECT_THROW(Programmstart(
                   s3, [] { throw std::runtime_error("Start gescheitert"); }, ordner.path()),
               std::runtime_error);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
