#include "io/frmdrucken.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "io/drucken.h"
#include "io/druckfortschritt.h"
#include "platform/datensteuerung.h"
#include "platform/druckerdialog.h"
#include "platform/drucksteuerung.h"
#include "platform/zahlen.h"

namespace {
const QString keineAdressen = QStringLiteral("Es sind keine Adressen vorhanden.");
}

frmDrucken::frmDrucken(Programmzustand& s, QWidget* eltern) : ModalerDialog(eltern), s_(s) {
  setWindowTitle(QStringLiteral("Drucken"));
  setObjectName(QStringLiteral("frmDrucken"));

  kategorieDesDatensatzes = [this] { return s_.fenster->Text1(30); };
  druckerDialog = druckerWaehlen;

  // Each child is named as the member that holds it.
  auto benannt = [](auto* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
  };

  Frame1 = benannt(new QGroupBox(QStringLiteral("Einstellungen"), this), "Frame1");
  Label1 = benannt(new QLabel(QStringLiteral("Wieviele Kopien"), Frame1), "Label1");
  Text1 = benannt(new QLineEdit(QStringLiteral("1"), Frame1), "Text1");
  Text1->setMaximumWidth(60);
  Label1->setBuddy(Text1);
  auto* einstellungen = new QHBoxLayout(Frame1);
  einstellungen->addWidget(Label1);
  einstellungen->addWidget(Text1);
  einstellungen->addStretch(1);

  Frame2 = benannt(new QGroupBox(QStringLiteral("Seriendruck"), this), "Frame2");
  Option1 = benannt(new QRadioButton(QStringLiteral("Aktive Adresse drucken"), Frame2), "Option1");
  Option2 = benannt(new QRadioButton(QStringLiteral("Adressenbereich drucken"), Frame2), "Option2");
  Label4 = benannt(new QLabel(QStringLiteral("von"), Frame2), "Label4");
  Text2 = benannt(new QLineEdit(QStringLiteral("1"), Frame2), "Text2");
  Label3 = benannt(new QLabel(QStringLiteral("bis"), Frame2), "Label3");
  Text3 = benannt(new QLineEdit(QStringLiteral("2"), Frame2), "Text3");
  Option3 =
      benannt(new QRadioButton(QStringLiteral("Nur eine Kategorie drucken"), Frame2), "Option3");
  Label2 = benannt(new QLabel(QStringLiteral("Kategorie"), Frame2), "Label2");
  Text4 = benannt(new QLineEdit(Frame2), "Text4");
  Option4 = benannt(new QRadioButton(QStringLiteral("Alle Adressen drucken"), Frame2), "Option4");
  Option1->setChecked(true);
  Label4->setBuddy(Text2);
  Label3->setBuddy(Text3);
  Label2->setBuddy(Text4);
  Text2->setMaximumWidth(60);
  Text3->setMaximumWidth(60);

  auto* seriendruck = new QGridLayout(Frame2);
  seriendruck->setColumnMinimumWidth(0, 18);
  seriendruck->addWidget(Option1, 0, 0, 1, 5);
  seriendruck->addWidget(Option2, 1, 0, 1, 5);
  seriendruck->addWidget(Label4, 2, 1);
  seriendruck->addWidget(Text2, 2, 2);
  seriendruck->addWidget(Label3, 2, 3);
  seriendruck->addWidget(Text3, 2, 4);
  seriendruck->addWidget(Option3, 3, 0, 1, 5);
  seriendruck->addWidget(Label2, 4, 1);
  seriendruck->addWidget(Text4, 4, 2, 1, 3);
  seriendruck->addWidget(Option4, 5, 0, 1, 5);
  seriendruck->setColumnStretch(5, 1);

  CommandEinstellen =
      benannt(new QPushButton(QStringLiteral("Drucker wählen"), this), "CommandEinstellen");
  CommandDrucken = benannt(new QPushButton(QStringLiteral("Drucken"), this), "CommandDrucken");
  CommandAbbruch = benannt(new QPushButton(QStringLiteral("Abbruch"), this), "CommandAbbruch");
  CommandDrucken->setDefault(true);
  CommandEinstellen->setAutoDefault(false);
  CommandAbbruch->setAutoDefault(false);

  auto* knoepfe = new QVBoxLayout;
  knoepfe->addWidget(CommandEinstellen);
  knoepfe->addStretch(1);
  knoepfe->addWidget(CommandDrucken);
  knoepfe->addWidget(CommandAbbruch);
  auto* links = new QVBoxLayout;
  links->addWidget(Frame1);
  links->addWidget(Frame2);
  auto* ganz = new QHBoxLayout(this);
  ganz->addLayout(links, 1);
  ganz->addLayout(knoepfe);

  connect(CommandDrucken, &QPushButton::clicked, this, &frmDrucken::CommandDrucken_Click);
  connect(CommandAbbruch, &QPushButton::clicked, this, &frmDrucken::CommandAbbruch_Click);
  connect(CommandEinstellen, &QPushButton::clicked, this, &frmDrucken::CommandEinstellen_Click);
}

frmDrucken::~frmDrucken() = default;

void frmDrucken::setzeDatensteuerung(Datensteuerung* daten) { daten_ = daten; }

void frmDrucken::zeigen() {
  show();
  raise();
  activateWindow();
  Text1->setFocus();
}

void frmDrucken::CommandEinstellen_Click() {
  if (druckerDialog) druckerDialog(this, *s_.VSPrinter1);
}

void frmDrucken::CommandAbbruch_Click() { schliessen(); }

void frmDrucken::CommandDrucken_Click() {
  // Address edits still pending in the side panel belong to the records printed now.
  if (daten_ && daten_->offen() && !daten_->Update()) {
    s_.fenster->Meldung(daten_->fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    return;
  }

  double c = zahlen::Val(Text1->text());
  if (c < 1) c = 1;
  const std::optional<int16_t> kopien = zahlen::alsInt16(c);
  if (!kopien) {
    s_.fenster->Meldung(QStringLiteral("Es können höchstens 32767 Kopien gedruckt werden."),
                        QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
    Text1->setFocus();
    Text1->selectAll();
    return;
  }

  // One run, one output: every page of the run goes into it, and a PDF file is complete
  // when the run ends, however it ends.
  Drucksteuerung& d = *s_.VSPrinter1;
  d.Copies = *kopien;
  d.Preview = false;
  d.LaufBeginnen();
  fortschritt_ = std::make_unique<Druckfortschritt>(d, this, QStringLiteral("Seite 1 von 1"));
  druckeAuswahl();
  const bool fertig = d.LaufBeenden();
  fortschritt_.reset();
  if (!fertig) {
    s_.fenster->Meldung(d.fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  } else if (d.textAusserhalb()) {
    s_.fenster->Meldung(BrieftextAusserhalb(false), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  }
  schliessen();
  d.Copies = 1;
}

bool frmDrucken::weiter(int adresse, int adressen, int seite) {
  if (adressen < 2) return true;
  // Events, "Abbruch" included, are handled before every page, so a cancel ends the run
  // after the page being printed; the text and the bar show at most some 200 steps of a
  // long run, as repainting them for every page would cost more than the page. The
  // category of a record is known only when it is reached, so a category run counts the
  // addresses it walks through besides the pages.
  const int schritt = std::max(1, adressen / 200);
  if ((adresse - 1) % schritt == 0 || adresse == adressen) {
    fortschritt_->zeigen(
        Option3->isChecked()
            ? QStringLiteral("Seite %1 (Adresse %2 von %3)").arg(seite).arg(adresse).arg(adressen)
            : QStringLiteral("Seite %1 von %2").arg(seite).arg(adressen),
        adresse - 1, adressen);
  }
  return fortschritt_->weiter();
}

void frmDrucken::druckeAuswahl() {
  if (Option1->isChecked()) {
    DruckeSeite(s_);
    return;
  }
  const int n = daten_ && daten_->offen() ? daten_->RecordCount() : 0;
  if (n < 1) {
    // Nothing to move to: a run over the addresses prints nothing.
    s_.fenster->Meldung(keineAdressen, QString(), Knoepfe::Ok, Symbol::Information);
    return;
  }
  if (Option2->isChecked())
    druckeBereich(n);
  else if (Option3->isChecked())
    druckeKategorie(n);
  else if (Option4->isChecked())
    druckeAlle(n);
}

bool frmDrucken::bewegt(bool ok) {
  if (!ok) s_.fenster->Meldung(daten_->fehler(), QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  return ok;
}

// Each run stops at the first page that could not be printed: DruckeSeite has told the user
// why, and the same failure would only repeat for every further address. It also stops
// when "Abbruch" of the progress window was pressed, after the page being printed.

bool frmDrucken::druckeBereich(int n) {
  double von = zahlen::Val(Text2->text());
  double bis = zahlen::Val(Text3->text());
  if (von < 1) von = 1;
  if (von > n) von = n;
  if (bis < von) bis = von;
  if (bis > n) bis = n;
  if (!bewegt(daten_->MoveFirst())) return false;
  if (!bewegt(daten_->Move(zahlen::int32Begrenzt(von - 1)))) return false;
  const int adressen = static_cast<int>(bis - von) + 1;
  for (double i = von; i <= bis; i += 1) {
    const int k = static_cast<int>(i - von) + 1;
    if (!weiter(k, adressen, k) || !DruckeSeite(s_)) return false;
    if (i < bis && !bewegt(daten_->MoveNext())) return false;
  }
  return true;
}

bool frmDrucken::druckeKategorie(int n) {
  if (!bewegt(daten_->MoveFirst())) return false;
  const QString kategorie = Text4->text();
  int seite = 1;
  for (int i = 1; i <= n; ++i) {
    if (!weiter(i, n, seite)) return false;
    if (kategorieDesDatensatzes() == kategorie) {
      if (!DruckeSeite(s_)) return false;
      ++seite;
    }
    if (i < n && !bewegt(daten_->MoveNext())) return false;
  }
  return true;
}

bool frmDrucken::druckeAlle(int n) {
  if (!bewegt(daten_->MoveFirst())) return false;
  for (int i = 1; i <= n; ++i) {
    if (!weiter(i, n, i) || !DruckeSeite(s_)) return false;
    if (i < n && !bewegt(daten_->MoveNext())) return false;
  }
  return true;
}
