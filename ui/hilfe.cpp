#include "ui/hilfe.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

QString UpdateSeite(const QString& version) {
  const qsizetype punkt = version.indexOf(QLatin1Char('.'));
  const QString ohnePunkt = punkt < 0 ? version : version.left(punkt) + version.mid(punkt + 1);
  return ohnePunkt + QStringLiteral(".htm");
}

// --- Help window -------------------------------------------------------------------------

Hilfefenster::Hilfefenster(const QString& titel, QWidget* eltern) : QWidget(eltern, Qt::Window) {
  setWindowTitle(titel);
  setObjectName(QStringLiteral("Hilfefenster"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("Hilfetext"));
  // Links are followed here: pages of the help in the window, everything else outside.
  browser_->setOpenLinks(false);
  zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
  vor_ = new QPushButton(QStringLiteral("Vor"), this);
  inhalt_ = new QPushButton(QStringLiteral("Inhalt"), this);
  zurueck_->setEnabled(false);
  vor_->setEnabled(false);

  auto* leiste = new QHBoxLayout;
  leiste->addWidget(inhalt_);
  leiste->addWidget(zurueck_);
  leiste->addWidget(vor_);
  leiste->addStretch(1);
  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(leiste);
  spalte->addWidget(browser_, 1);

  connect(browser_, &QTextBrowser::anchorClicked, this, &Hilfefenster::verweisFolgen);
  connect(browser_, &QTextBrowser::backwardAvailable, zurueck_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, vor_, &QPushButton::setEnabled);
  connect(zurueck_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(vor_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(inhalt_, &QPushButton::clicked, this, [this] {
    if (!startseite_.isEmpty()) browser_->setSource(QUrl::fromLocalFile(startseite_));
  });
  // Escape closes the window, as it closes the dialogs, wherever the focus is in it.
  auto* schliessen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(schliessen, &QShortcut::activated, this, &QWidget::close);
  resize(640, 600);
}

void Hilfefenster::seiteZeigen(const QString& datei) {
  startseite_ = datei;
  browser_->setSource(QUrl::fromLocalFile(datei));
}

void Hilfefenster::verweisFolgen(const QUrl& verweis) {
  const QUrl ziel = browser_->source().resolved(verweis);
  if (ziel.isLocalFile()) {
    browser_->setSource(ziel);
  } else if (aussenOeffnen) {
    aussenOeffnen(ziel);
  }
}

// --- Help ----------------------------------------------------------------------------------

namespace {
// A subfolder of a folder, its name compared ignoring letter case.
QString unterordner(const QString& ordner, const QString& name) {
  const QDir dir(ordner);
  if (dir.exists(name)) return dir.filePath(name);
  for (const QString& eintrag : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (eintrag.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(eintrag);
  }
  return QString();
}
}  // namespace

Hilfe::Hilfe(Programmzustand& s, QWidget* hauptfenster)
    : QObject(hauptfenster), s_(s), hauptfenster_(hauptfenster) {
  const QString programmordner = QCoreApplication::applicationDirPath();
  suchorte << unterordner(s.Startverzeichnis, QStringLiteral("hilfe"))
           << QDir(programmordner).filePath(QStringLiteral("data/hilfe"))
           << QDir(programmordner).filePath(QStringLiteral("../data/hilfe"));
#ifdef QX_HILFE_QUELLE
  suchorte << QStringLiteral(QX_HILFE_QUELLE);
#endif
  oeffnen = [](const QUrl& adresse) { return QDesktopServices::openUrl(adresse); };
}

QString Hilfe::Hilfedatei() const {
  for (const QString& ordner : suchorte) {
    if (ordner.isEmpty()) continue;
    for (const QString& name : QDir(ordner).entryList(QDir::Files)) {
      if (name.compare(QLatin1String("index.html"), Qt::CaseInsensitive) == 0)
        return QFileInfo(QDir(ordner).filePath(name)).absoluteFilePath();
    }
  }
  return QString();
}

void Hilfe::mnuHelpContents_Click() {
  const QString datei = Hilfedatei();
  if (datei.isEmpty()) {
    s_.fenster->Meldung(QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser "
                                       "Anwendung ist keine Hilfedatei zugeordnet."),
                        QString(), Knoepfe::Ok, Symbol::Information);
    return;
  }
  if (!fenster_) {
    fenster_ = new Hilfefenster(s_.Programmtitel + QStringLiteral(" - Hilfe"), hauptfenster_);
    fenster_->aussenOeffnen = [this](const QUrl& adresse) { adresseOeffnen(adresse); };
  }
  fenster_->seiteZeigen(datei);
  fenster_->show();
  fenster_->raise();
  fenster_->activateWindow();
}

void Hilfe::mnuHelpQX_Click() { adresseOeffnen(QUrl(hilfe::Homepage)); }

void Hilfe::mnuHelpHotline_Click() { adresseOeffnen(QUrl(hilfe::Mailadresse)); }

QUrl Hilfe::Updateadresse() const {
  return QUrl(hilfe::Updateordner + UpdateSeite(s_.Programmversion));
}

void Hilfe::mnuupdate_Click() { adresseOeffnen(Updateadresse()); }

void Hilfe::adresseOeffnen(const QUrl& adresse) {
  if (oeffnen && oeffnen(adresse)) return;
  s_.fenster->Meldung(
      QStringLiteral("„%1“ konnte nicht geöffnet werden: Es ist kein Programm dafür eingerichtet.")
          .arg(adresse.toString()),
      QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
}
