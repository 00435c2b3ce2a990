// Shared set-up of the file tests: a fresh program state started in an empty temporary
// folder, with a test window that records messages, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "core/programmzustand.h"
#include "core/start.h"
#include "gemeinsam/testfenster.h"

inline QByteArray dateiInhalt(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

inline void dateiSchreiben(const QString& pfad, const QByteArray& inhalt) {
  QFile f(pfad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(inhalt), inhalt.size());
}

// Lines joined with CR LF after each line, as the program writes them.
inline QByteArray crlf(const QList<QByteArray>& zeilen) {
  QByteArray b;
  for (const QByteArray& z : zeilen) b += z + "\r\n";
  return b;
}

// The folder of the shipped data files.
inline QString datenordner() { return QStringLiteral(QX_QUELLE "/data/"); }

struct DateiTest : ::testing::Test {
  QTemporaryDir ordner;
  TestFenster fenster;
  Programmzustand s;

  void SetUp() override {
    ASSERT_TRUE(ordner.isValid());
    s.fenster = &fenster;
    Main(s, ordner.path());
  }
  QString pfad(const QString& name) const { return ordner.filePath(name); }
};

// Sets a default locale for the lifetime of the object.
struct LocaleWechsel {
  explicit LocaleWechsel(const QLocale& l) { QLocale::setDefault(l); }
  ~LocaleWechsel() { QLocale::setDefault(QLocale(QLocale::C)); }
};
