// The visible bar of the address data control: the buttons |< < > >| around the control's
// caption. The buttons move to the first, previous, next and last record; like the classic
// data control, "<" on the first record and ">" on the last one stay there. The caption
// follows Datensteuerung::captionGeaendert. With a closed control the buttons are disabled.
#pragma once

#include <QWidget>
#include <functional>

class Datensteuerung;
class QLabel;
class QToolButton;

class Datensteuerleiste : public QWidget {
  Q_OBJECT
 public:
  explicit Datensteuerleiste(Datensteuerung* steuerung, QWidget* eltern = nullptr);

  // Called with the reason when a button could not move because pending edits could not be
  // stored (the edits stay in the fields). The main window shows it in a message box.
  void setzeMeldung(std::function<void(const QString&)> meldung);

  QToolButton* ersterKnopf() const { return erster_; }
  QToolButton* vorigerKnopf() const { return voriger_; }
  QToolButton* naechsterKnopf() const { return naechster_; }
  QToolButton* letzterKnopf() const { return letzter_; }
  QLabel* captionFeld() const { return caption_; }

 private:
  void nachBewegung(bool ok);
  void zustandZeigen();

  Datensteuerung* steuerung_;
  std::function<void(const QString&)> meldung_;
  QToolButton* erster_;
  QToolButton* voriger_;
  QToolButton* naechster_;
  QToolButton* letzter_;
  QLabel* caption_;
};
