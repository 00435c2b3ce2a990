// The main window started for a test: a start-up folder of its own (copies of the shipped
// data files and the address database), a settings store of its own, message boxes answered
// and recorded, the end of the program counted instead of quitting.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "core/auswahl.h"
#include "core/programmzustand.h"
#include "core/start.h"
#include "platform/datensteuerung.h"
#include "ui/frmmain.h"
#include "ui/seitenansicht.h"

namespace hauptfenstertest {

struct Meldungseintrag {
  QString text;
  QString titel;
  Knoepfe knoepfe;
};

inline bool warteBis(const std::function<bool()>& bedingung, int ms = 2000) {
  QElapsedTimer uhr;
  uhr.start();
  while (!bedingung()) {
    if (uhr.elapsed() > ms) return false;
    QTest::qWait(10);
  }
  return true;
}

class Hauptfenster : public ::testing::Test {
 protected:
  QTemporaryDir ordner;              // the start-up folder
  QTemporaryDir einstellungsordner;  // the per-user settings store
  std::unique_ptr<Programmzustand> s;
  std::unique_ptr<frmMain> w;
  std::vector<Meldungseintrag> meldungen;
  int antwort = 1;
  int beendet = 0;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    QCoreApplication::setOrganizationName(QStringLiteral("QXTest"));
    QCoreApplication::setApplicationName(QStringLiteral("test_hauptfenster"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, einstellungsordner.path());

    const QDir daten(QStringLiteral(QX_QUELLE "/data"));
    for (const QString& name : daten.entryList(QDir::Files)) {
      if (name.endsWith(QLatin1String(".sql"))) continue;
      ASSERT_TRUE(QFile::copy(daten.filePath(name), ordner.filePath(name)));
    }
    QProcess sqlite;
    sqlite.setStandardInputFile(daten.filePath(QStringLiteral("adressen.sql")));
    sqlite.start(QStringLiteral("sqlite3"), {ordner.filePath(QStringLiteral("adressen.db"))});
    ASSERT_TRUE(sqlite.waitForFinished(10000));
    ASSERT_EQ(sqlite.exitCode(), 0);
  }

  void TearDown() override {
    w.reset();
    s.reset();
  }

  // Starts the program in the folder: Main, then the main window, large enough that the
  // whole page shows at 100 %.
  void starten(QSize groesse = QSize(1400, 1300)) {
    s = std::make_unique<Programmzustand>();
    Main(*s, ordner.path());
    w = std::make_unique<frmMain>(*s);
    w->meldungsAntwort = [this](const QString& text, const QString& titel, Knoepfe k, Symbol) {
      meldungen.push_back({text, titel, k});
      return antwort;
    };
    w->programmEnde = [this] { ++beendet; };
    w->resize(groesse);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // The zoom is fitted and the database opened once the window is laid out.
    ASSERT_TRUE(warteBis([&] { return w->Data1()->offen() || !meldungen.empty(); }));
    QTest::qWait(20);
  }

  Seitenansicht* seite() const { return w->PictureSeite(); }

  // The pixel of the page surface at a point given in units at the current zoom.
  QPoint pixel(double x, double y) const {
    const double f = s->Zoom / 100.0 * 5.67 / 15.0;
    return QPoint(static_cast<int>(std::lround(x * f)), static_cast<int>(std::lround(y * f)));
  }

  // Hides every frame of the template, so that clicks meet only the frames of the test.
  void vorlageAusblenden() {
    for (int i = 1; i <= 31; ++i) s->rahmen(i).Sichtbar = false;
    for (int i = 21; i <= 30; ++i) w->setzeText1(i, QString());
  }

  // Adds a line frame and selects it; returns its number.
  int neuerRahmen(int32_t x, int32_t y, int32_t breite, int32_t hoehe) {
    const int l = s->AnzahlLinien + 1;
    if (static_cast<int>(s->Linien.size()) <= l) s->Linien.resize(l + 1);
    NeueLinie(*s, l);
    s->AnzahlLinien = l;
    const int n = s->AnzahlRahmen + 1;
    NeuerRahmen(*s, n, QStringLiteral("Linie"), l);
    ClassRahmen& r = s->rahmen(n);
    r.x = x;
    r.y = y;
    r.Breite = breite;
    r.Hoehe = hoehe;
    waehle(n);
    return n;
  }

  void waehle(int n) {
    s->AktuellerRahmen = n;
    AktuellesElementSetzen(*s);
    w->MarkierungZeigen();
  }

  void zoom(double prozent) {
    w->ZoomSetzen(prozent);
    ASSERT_EQ(s->Zoom, prozent);
  }

  // A drag with the left button on a widget, in pixels.
  static void ziehen(QWidget* ziel, QPoint von, QPoint nach,
                     Qt::MouseButton knopf = Qt::LeftButton) {
    QTest::mousePress(ziel, knopf, {}, von);
    QTest::mouseMove(ziel, von + (nach - von) / 2);
    QTest::mouseMove(ziel, nach);
    QTest::mouseRelease(ziel, knopf, {}, nach);
  }

  // A drag of handle i by a number of pixels.
  void ziehpunktZiehen(int i, QPoint weg) {
    Ziehpunkt* z = seite()->ziehpunkt(i);
    ASSERT_TRUE(z->isVisible()) << "handle " << i;
    const QPoint mitte(z->width() / 2, z->height() / 2);
    ziehen(z, mitte, mitte + weg);
  }

  QAction* aktion(const QString& name) const {
    QAction* a = w->findChild<QAction*>(name);
    EXPECT_TRUE(a) << name.toStdString();
    return a;
  }

  bool gemeldet(const QString& teil) const {
    for (const auto& m : meldungen)
      if (m.text.contains(teil)) return true;
    return false;
  }
};

}  // namespace hauptfenstertest
