#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

#include "platform/datensteuerung.h"
#include "platform/feldbindung.h"
#include "ui/test_adressen_hilfe.h"

// An edit bound again follows the new field only; once destroyed, the control forgets it.
TEST(Feldbindung, NeuGebundenFolgtDemNeuenFeldZerstoertWirdVergessen) {
  QTemporaryDir ordner;
  const QString pfad = ordner.filePath(QStringLiteral("adressen.db"));
  adressentest::sqlAusfuehren(pfad, QStringLiteral("CREATE TABLE Adressen (Name TEXT, Ort TEXT);"
                                                   "INSERT INTO Adressen VALUES ('Meier', 'Bonn');"
                                                   "INSERT INTO Adressen VALUES ('Kurz', 'Ulm');"));
  Datensteuerung d;
  ASSERT_TRUE(d.oeffnen(pfad));
  auto feld = std::make_unique<QLineEdit>();
  bindeFeld(d, feld.get(), QStringLiteral("Name"));
  bindeFeld(d, feld.get(), QStringLiteral("ort"));
  EXPECT_EQ(feld->text(), QStringLiteral("Bonn"));

  feld->setText(QStringLiteral("Köln"));
  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(feld->text(), QStringLiteral("Ulm"));
  ASSERT_TRUE(d.MoveFirst());
  EXPECT_EQ(d.wert(QStringLiteral("Name")), QStringLiteral("Meier"));
  EXPECT_EQ(d.wert(QStringLiteral("Ort")), QStringLiteral("Köln"));

  feld.reset();
  ASSERT_TRUE(d.MoveNext());
  EXPECT_EQ(d.wert(QStringLiteral("Ort")), QStringLiteral("Ulm"));
}
