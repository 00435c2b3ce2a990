#include "platform/druckerdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drucksteuerung.h"

Druckerliste rechnerDrucker() {
  return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

Druckerdialog::Druckerdialog(const Druckerliste& liste, const QString& drucker, const QString& pdf,
                             QWidget* eltern)
    : QDialog(eltern) {
  setWindowTitle(QStringLiteral("Drucker auswählen"));
  Auswahl = new QComboBox(this);
  Auswahl->setObjectName(QStringLiteral("Auswahl"));
  for (const QString& name : liste.namen) {
    Auswahl->addItem(name == liste.standard ? QStringLiteral("%1 (Standard)").arg(name) : name,
                     name);
  }
  // The PDF entry is the last one and has no queue name.
  Auswahl->addItem(QStringLiteral("PDF-Datei"), QString());
  Datei = new QLineEdit(QDir::toNativeSeparators(pdf), this);
  Datei->setObjectName(QStringLiteral("Datei"));
  Datei->setMinimumWidth(320);
  Durchsuchen = new QPushButton(QStringLiteral("Durchsuchen …"), this);
  Hinweis = new QLabel(this);
  Hinweis->setStyleSheet(QStringLiteral("color: #b00000"));
  Hinweis->setWordWrap(true);
  Hinweis->hide();

  auto* dateiZeile = new QHBoxLayout;
  dateiZeile->addWidget(Datei, 1);
  dateiZeile->addWidget(Durchsuchen);
  auto* felder = new QFormLayout;
  felder->addRow(QStringLiteral("Drucker:"), Auswahl);
  felder->addRow(QStringLiteral("Datei:"), dateiZeile);
  auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Ok = knoepfe->button(QDialogButtonBox::Ok);
  knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(felder);
  layout->addWidget(Hinweis);
  layout->addWidget(knoepfe);

  int start = Auswahl->count() - 1;
  if (pdf.isEmpty()) {
    const int gewaehlt = static_cast<int>(liste.namen.indexOf(drucker));
    const int standard = static_cast<int>(liste.namen.indexOf(liste.standard));
    if (gewaehlt >= 0) {
      start = gewaehlt;
    } else if (standard >= 0) {
      start = standard;
    } else if (!liste.namen.isEmpty()) {
      start = 0;
    }
  }
  Auswahl->setCurrentIndex(start);
  auswahlGeaendert();

  connect(Auswahl, &QComboBox::currentIndexChanged, this, &Druckerdialog::auswahlGeaendert);
  connect(Durchsuchen, &QPushButton::clicked, this, &Druckerdialog::dateiSuchen);
  connect(Datei, &QLineEdit::textEdited, Hinweis, &QLabel::hide);
  connect(knoepfe, &QDialogButtonBox::accepted, this, &Druckerdialog::accept);
  connect(knoepfe, &QDialogButtonBox::rejected, this, &Druckerdialog::reject);
}

bool Druckerdialog::pdfGewaehlt() const { return Auswahl->currentIndex() == Auswahl->count() - 1; }

QString Druckerdialog::drucker() const {
  return pdfGewaehlt() ? QString() : Auswahl->currentData().toString();
}

QString Druckerdialog::pdfDatei() const {
  QString text = QDir::fromNativeSeparators(Datei->text().trimmed());
  if (!pdfGewaehlt() || text.isEmpty()) return QString();
  // "~" is the home folder, as in a shell; a name without any ending is a PDF file's.
  if (text == QLatin1String("~") || text.startsWith(QLatin1String("~/")))
    text = QDir::homePath() + text.mid(1);
  const QFileInfo info(text);
  if (!info.isDir() && !text.endsWith(u'/') && info.suffix().isEmpty())
    text += text.endsWith(u'.') ? QStringLiteral("pdf") : QStringLiteral(".pdf");
  return QFileInfo(text).absoluteFilePath();
}

void Druckerdialog::auswahlGeaendert() {
  Datei->setEnabled(pdfGewaehlt());
  Durchsuchen->setEnabled(pdfGewaehlt());
  Hinweis->hide();
}

void Druckerdialog::dateiSuchen() {
  const QString name =
      QFileDialog::getSaveFileName(this, QStringLiteral("PDF-Datei wählen"), Datei->text(),
                                   QStringLiteral("PDF-Dateien (*.pdf);;Alle Dateien (*)"), nullptr,
                                   QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return;
  Auswahl->setCurrentIndex(Auswahl->count() - 1);
  Datei->setText(QDir::toNativeSeparators(name));
  Hinweis->hide();
}

void Druckerdialog::accept() {
  QString fehler;
  if (pdfGewaehlt()) {
    const QFileInfo datei(pdfDatei());
    if (pdfDatei().isEmpty()) {
      fehler = QStringLiteral("Bitte geben Sie den Namen der PDF-Datei an.");
    } else if (datei.isDir()) {
      fehler = QStringLiteral("„%1“ ist ein Ordner. Bitte geben Sie einen Dateinamen an.")
                   .arg(QDir::toNativeSeparators(datei.filePath()));
    } else if (!datei.absoluteDir().exists()) {
      fehler = QStringLiteral("Den Ordner „%1“ gibt es nicht.")
                   .arg(QDir::toNativeSeparators(datei.absolutePath()));
    } else if (!Drucksteuerung::pdfDateiSchreibbar(datei.filePath())) {
      fehler = QStringLiteral(
                   "In den Ordner „%1“ kann keine Datei geschrieben werden. Bitte wählen Sie "
                   "einen anderen Ordner.")
                   .arg(QDir::toNativeSeparators(datei.absolutePath()));
    }
  }
  if (!fehler.isEmpty()) {
    Hinweis->setText(fehler);
    Hinweis->show();
    Datei->setFocus();
    Datei->selectAll();
    return;
  }
  QDialog::accept();
}

bool druckerWaehlen(QWidget* eltern, Drucksteuerung& drucksteuerung) {
  return druckerWaehlenAus(eltern, drucksteuerung, rechnerDrucker());
}

bool druckerWaehlenAus(QWidget* eltern, Drucksteuerung& drucksteuerung, const Druckerliste& liste) {
  Druckerdialog dialog(liste, drucksteuerung.druckerName(), drucksteuerung.pdfDatei(), eltern);
  // The file named before a queue was chosen is offered again for the PDF entry.
  if (drucksteuerung.pdfDatei().isEmpty())
    dialog.Datei->setText(QDir::toNativeSeparators(drucksteuerung.letztePdfDatei()));
  if (dialog.exec() != QDialog::Accepted) return false;
  if (dialog.drucker().isEmpty()) {
    drucksteuerung.setzePdfDatei(dialog.pdfDatei());
  } else {
    drucksteuerung.setzeDrucker(dialog.drucker());
  }
  return true;
}
