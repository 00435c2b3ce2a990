// The address panel's widgets driven like a user: the navigation bar of the data control
// and the search dialog "Datensuche".
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "core/programmzustand.h"
#include "gemeinsam/testfenster.h"
#include "platform/datensteuerung.h"
#include "platform/feldbindung.h"
#include "test_adressen_hilfe.h"
#include "ui/adressen.h"
#include "ui/datensteuerleiste.h"
#include "ui/frmsuchen.h"

using namespace adressentest;

namespace {

struct OberflaecheTest : ::testing::Test {
  QTemporaryDir ordner;
  QString pfad;
  Programmzustand s;
  TestFenster fenster;
  Datensteuerung d;
  QWidget hauptfenster;
  QLineEdit* nachname = nullptr;
  QLineEdit* nummer = nullptr;

  void SetUp() override {
    pfad = ordner.filePath(QStringLiteral("adressen.db"));
    s.fenster = &fenster;
    nachname = new QLineEdit(&hauptfenster);
    nummer = new QLineEdit(&hauptfenster);
  }
  void oeffnen(const QString& sql) {
    sqlAusfuehren(pfad, sql);
    bindeFeld(d, nachname, QStringLiteral("Nachname"));
    bindeDatensatznummer(d, nummer);
    ASSERT_TRUE(AdressenOeffnen(d, s, pfad));
  }
  static void klick(QAbstractButton* k) { QTest::mouseClick(k, Qt::LeftButton); }
  // An option reacts to clicks on its circle and its text, at the left end.
  static void waehlen(QRadioButton* o) {
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
  }
};

}  // namespace

TEST_F(OberflaecheTest, LeisteBewegtUndCaptionFolgt) {
  oeffnen(beispielSql());
  Datensteuerleiste leiste(&d, &hauptfenster);
  hauptfenster.show();
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 1"));
  EXPECT_EQ(leiste.ersterKnopf()->text(), QStringLiteral("|<"));
  EXPECT_EQ(leiste.letzterKnopf()->text(), QStringLiteral(">|"));

  klick(leiste.naechsterKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 1);
  EXPECT_EQ(nachname->text(), QStringLiteral("Müller"));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 2"));

  klick(leiste.letzterKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 11);
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 12"));
  klick(leiste.naechsterKnopf());  // stays on the last record
  EXPECT_EQ(d.AbsolutePosition(), 11);
  EXPECT_EQ(nachname->text(), QStringLiteral("Hoffmann"));

  klick(leiste.vorigerKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 10);
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 11"));
  klick(leiste.ersterKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 0);
  klick(leiste.vorigerKnopf());  // stays on the first record
  EXPECT_EQ(d.AbsolutePosition(), 0);
  EXPECT_EQ(nachname->text(), QStringLiteral("Sommer"));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 1"));

  // Typing, then a click: the edit is stored before the bar moves.
  nachname->setFocus();
  nachname->selectAll();
  QTest::keyClicks(nachname, QStringLiteral("Sommerfeld"));
  klick(leiste.naechsterKnopf());
  EXPECT_EQ(spalte(pfad, "Nachname")[0], QStringLiteral("Sommerfeld"));

  // After "Einfügen" the caption shows the new number; ">" stores the typed record and
  // stays on it, the last one.
  ASSERT_TRUE(AdresseEinfuegen(d, s));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 13"));
  nachname->setText(QStringLiteral("Neu"));
  klick(leiste.naechsterKnopf());
  EXPECT_EQ(d.RecordCount(), 13);
  EXPECT_EQ(d.AbsolutePosition(), 12);
  EXPECT_EQ(nachname->text(), QStringLiteral("Neu"));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 13"));

  // After "Löschen" the bar shows the first record again.
  ASSERT_TRUE(AdresseLoeschen(d, s));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 1"));
}

TEST_F(OberflaecheTest, LeisteMeldetWennEingabenNichtGespeichertWerden) {
  oeffnen(tabelleMit(3) +
          "CREATE TRIGGER nur_lesen BEFORE UPDATE ON Adressen BEGIN "
          "SELECT RAISE(ABORT, 'schreibgeschützt'); END;");
  Datensteuerleiste leiste(&d, &hauptfenster);
  QStringList meldungen;
  leiste.setzeMeldung([&](const QString& text) { meldungen << text; });
  hauptfenster.show();

  nachname->setText(QStringLiteral("Anders"));
  klick(leiste.naechsterKnopf());
  ASSERT_EQ(meldungen.size(), 1);
  EXPECT_TRUE(meldungen[0].contains(QStringLiteral("schreibgeschützt")));
  EXPECT_EQ(d.AbsolutePosition(), 0);
  EXPECT_EQ(nachname->text(), QStringLiteral("Anders"));
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral(" Adresse Nr. 1"));

  // Without the change the bar moves freely again.
  nachname->setText(QStringLiteral("A"));
  klick(leiste.letzterKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 2);
  EXPECT_EQ(meldungen.size(), 1);
}

TEST_F(OberflaecheTest, LeisteOhneDatenbankIstUntaetig) {
  Datensteuerleiste leiste(&d, &hauptfenster);
  d.setCaption(QStringLiteral("  Adressendatenbank"));
  EXPECT_FALSE(AdressenOeffnen(d, s, pfad));
  hauptfenster.show();
  EXPECT_EQ(leiste.captionFeld()->text(), QStringLiteral("  Adressendatenbank"));
  for (QToolButton* k : {leiste.ersterKnopf(), leiste.vorigerKnopf(), leiste.naechsterKnopf(),
                         leiste.letzterKnopf()}) {
    EXPECT_FALSE(k->isEnabled());
    klick(k);
  }
  EXPECT_EQ(d.RecordCount(), 0);

  // Opening a database later enables the bar.
  sqlAusfuehren(pfad, tabelleMit(2));
  ASSERT_TRUE(d.oeffnen(pfad));
  EXPECT_TRUE(leiste.naechsterKnopf()->isEnabled());
  klick(leiste.naechsterKnopf());
  EXPECT_EQ(d.AbsolutePosition(), 1);
}

TEST_F(OberflaecheTest, SuchdialogAufbau) {
  oeffnen(beispielSql());
  frmSuchen dialog(d, s, &hauptfenster);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Datensuche"));
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Suchbegriff"));
  const QStringList erwartet = {"Firma", "Anrede", "Vorname",     "Nachname",    "Straße",
                                "PLZ",   "Ort",    "Sonstiges 1", "Sonstiges 2", "Gruppe"};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(dialog.Option[i]->text(), erwartet[i - 1]);
  EXPECT_TRUE(dialog.Option[1]->isChecked());
  EXPECT_EQ(dialog.gewaehlteOption(), 1);
  EXPECT_EQ(dialog.Command2->text(), QStringLiteral("Suchen"));
  EXPECT_EQ(dialog.Command1->text(), QStringLiteral("Abbruch"));
  // Option1 leads the tab order.
  EXPECT_EQ(dialog.Option[1]->nextInFocusChain(), dialog.Option[2]);
  EXPECT_EQ(dialog.Option[10]->nextInFocusChain(), dialog.Text1);
}

TEST_F(OberflaecheTest, SuchdialogSuchtVerstecktSichUndBehaeltEingaben) {
  oeffnen(beispielSql());
  hauptfenster.show();
  QPointer<frmSuchen> dialog = new frmSuchen(d, s, &hauptfenster);
  QSignalSpy gesucht(dialog.data(), &frmSuchen::gesucht);

  dialog->show();
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(hauptfenster.isEnabled()) << "the main window stays usable";

  QTest::keyClicks(dialog->Text1, QStringLiteral("Berlin"));
  waehlen(dialog->Option[7]);
  ASSERT_TRUE(dialog->Option[7]->isChecked());
  klick(dialog->Command2);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(d.AbsolutePosition(), 1);
  EXPECT_EQ(nachname->text(), QStringLiteral("Müller"));
  ASSERT_EQ(gesucht.count(), 1);
  EXPECT_TRUE(gesucht[0][0].toBool());

  // Shown again: term and option are kept; "Suchen" finds the next one.
  dialog->show();
  EXPECT_EQ(dialog->Text1->text(), QStringLiteral("Berlin"));
  EXPECT_TRUE(dialog->Option[7]->isChecked());
  klick(dialog->Command2);
  EXPECT_EQ(nachname->text(), QStringLiteral("Krüger"));
  dialog->show();
  klick(dialog->Command2);  // no third one
  EXPECT_EQ(nachname->text(), QStringLiteral("Krüger"));
  EXPECT_FALSE(gesucht.last()[0].toBool());

  // "Abbruch", the close button and Escape hide it without searching; it stays alive.
  dialog->show();
  dialog->Text1->setText(QStringLiteral("O'Brien"));
  klick(dialog->Command1);
  EXPECT_FALSE(dialog->isVisible());
  dialog->show();
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  dialog->show();
  QTest::keyClick(dialog->Text1, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  QCoreApplication::processEvents();
  ASSERT_FALSE(dialog.isNull());
  EXPECT_EQ(gesucht.count(), 3);
  EXPECT_EQ(nachname->text(), QStringLiteral("Krüger"));

  // Return in the term field searches: an apostrophe finds its record.
  dialog->show();
  waehlen(dialog->Option[4]);
  QTest::keyClick(dialog->Text1, Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(d.AbsolutePosition(), 2);
  EXPECT_EQ(s.LetzteSuche, QStringLiteral("Nachname = 'O'Brien'"));
  delete dialog.data();
}
