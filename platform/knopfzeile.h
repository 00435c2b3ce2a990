// The row of a dialog's two closing buttons ("Ok" and "Abbruch", or the like) at its bottom
// right.
#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

// One closing button: the member that keeps it, its caption and its object name.
struct Knopf {
  QPushButton** ziel;
  QString text;
  const char* name;
};

// Makes both buttons as children of the dialog and lays them out right-aligned in a row. The
// first is the default button, which answers Enter; the second never is.
QHBoxLayout* knopfzeile(QWidget* dialog, const Knopf& ja, const Knopf& nein);
