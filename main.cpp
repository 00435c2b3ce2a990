// QX Marvolant: letterheads and form letters.
#include <QApplication>

#include "core/programmzustand.h"
#include "core/start.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Programmzustand zustand;
  Main(zustand);
  return 0;
}
