// QX Marvolant: letterheads and form letters.
// The program runs in the folder it was started in: the settings file, the letter text,
// the template, the layout presets and the address database are read from there.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "core/programmzustand.h"
#include "core/start.h"
#include "platform/speicher.h"
#include "ui/frmmain.h"
#include "ui/symbole.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ZeichenThreadsBereithalten();
  QCoreApplication::setOrganizationName(QStringLiteral("QX Marvolant"));
  QCoreApplication::setApplicationName(QStringLiteral("QX Marvolant"));
  QApplication::setWindowIcon(symbol(QStringLiteral("Programm")));

  // Qt's own texts (file dialogs, standard buttons) in German, when the translation is
  // installed.
  QTranslator qtTexte;
  if (qtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexte);

  Programmzustand zustand;
  std::unique_ptr<frmMain> fenster;
  Programmstart(zustand, [&] {
    fenster = std::make_unique<frmMain>(zustand);
    fenster->show();
  });
  return app.exec();
}
