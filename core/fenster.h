// What the program state asks of the main window. Core code reaches windows only through
// this interface; the main window implements it, tests fake it and record what was asked.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

enum class Knoepfe { Ok, OkAbbrechen };
enum class Symbol { Keins, Information, Ausrufezeichen, Warnung };

// The property dialogs that the dispatcher opens by element kind.
enum class Dialog { Schrift, Bild, Linie, Brieftext };

class Fenster {
 public:
  virtual ~Fenster() = default;

  // A message box as the program asked for it, for a window that keeps it to show later or
  // records it.
  struct Meldungseintrag {
    QString text;
    QString titel;
    Knoepfe knoepfe;
    Symbol symbol;
  };

  // A message box. Returns 1 for OK and 2 for cancel. An empty title means the
  // application's title, "Marvolant".
  virtual int Meldung(const QString& text, const QString& titel, Knoepfe knoepfe,
                      Symbol symbol) = 0;

  // A message box with OK, shown once the event now handled is done: for code that must not
  // run the event loop of a message box, such as the page redraw. A window without an event
  // loop of its own shows it at once.
  virtual void MeldungDanach(const QString& text) {
    Meldung(text, QString(), Knoepfe::Ok, Symbol::Ausrufezeichen);
  }

  // Side-panel field Text1(i), i from 1 to 30.
  virtual QString Text1(int i) const = 0;
  virtual void setzeText1(int i, const QString& text) = 0;

  // The selection rectangle frmMain.Rahmen on the page surface, in twips.
  virtual QRectF Rahmen() const = 0;
  virtual void setzeRahmen(const QRectF& rechteck) = 0;

  // Shows the selection marker for the selected frame (handles, properties button, font
  // boxes).
  virtual void MarkierungZeigen() = 0;

  // Sets the scrolling viewport's content size in twips and returns the size it took.
  virtual QSizeF setzeInhaltsgroesse(double breiteTwips, double hoeheTwips) = 0;

  // The page surface was drawn anew: show it.
  virtual void seiteGezeichnet() = 0;

  // Opens a property dialog (modeless) on its first page.
  virtual void DialogZeigen(Dialog dialog) = 0;

  // Shows the print preview with the current page rendered into it (preview switch on),
  // keeping the main window from input until the preview is closed.
  virtual void VorschauZeigen() {}

  // Hides the selection rectangle and its handles (while a new frame waits to be drawn)
  // and sets the page's mouse pointer: the crosshair while inserting, else the arrow.
  virtual void AuswahlVerbergen() {}
  virtual void FadenkreuzZeigen(bool an) { (void)an; }
};

// A window that does nothing: the state's default until a main window is attached. The
// messages of the start (before there is a window) are kept, answered with OK, so that the
// main window can show them once it is up.
class KeinFenster : public Fenster {
 public:
  std::vector<Meldungseintrag> aufgeschoben;

  int Meldung(const QString& text, const QString& titel, Knoepfe knoepfe, Symbol symbol) override {
    aufgeschoben.push_back({text, titel, knoepfe, symbol});
    return 1;
  }
  QString Text1(int) const override { return QString(); }
  void setzeText1(int, const QString&) override {}
  QRectF Rahmen() const override { return rahmen_; }
  void setzeRahmen(const QRectF& r) override { rahmen_ = r; }
  void MarkierungZeigen() override {}
  QSizeF setzeInhaltsgroesse(double b, double h) override { return QSizeF(b, h); }
  void seiteGezeichnet() override {}
  void DialogZeigen(Dialog) override {}

 private:
  QRectF rahmen_;
};
