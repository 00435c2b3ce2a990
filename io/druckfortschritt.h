// The progress window of printing: "Drucken" with a text, a bar and "Abbruch", modal for
// the whole program. While a Druckfortschritt lives it is the print control's
// Zwischendurch, so that a long letter text keeps the windows alive: the window events
// are processed at each further page of the letter, and once the letter has run for a
// second without the window, the window shows with the text it was given. "Abbruch"
// stops the letter after the page being printed.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

class Drucksteuerung;
class QProgressDialog;
class QWidget;

class Druckfortschritt {
 public:
  Druckfortschritt(Drucksteuerung& drucker, QWidget* eltern, QString text);
  ~Druckfortschritt();
  Druckfortschritt(const Druckfortschritt&) = delete;
  Druckfortschritt& operator=(const Druckfortschritt&) = delete;

  // Shows the window (at once, when it is not shown yet) with `text` at `wert` of `bis`.
  void zeigen(const QString& text, int wert, int bis);
  // Processes the window events; false once "Abbruch" was pressed.
  bool weiter();
  bool abgebrochen() const;

 private:
  bool zwischendurch();

  Drucksteuerung& drucker_;
  QWidget* eltern_;
  QString text_;
  QElapsedTimer uhr_;
  std::function<bool()> vorher_;
  std::unique_ptr<QProgressDialog> fenster_;
};
