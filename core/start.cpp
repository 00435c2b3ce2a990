#include "core/start.h"

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "io/einstellungen.h"
#include "platform/einheiten.h"

namespace {

// The busy pointer from construction until ende() or destruction, whichever comes first.
// A dialog opening meanwhile (message boxes are dialogs) ends it before it is drawn.
class Sanduhr : public QObject {
 public:
  Sanduhr() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~Sanduhr() override { ende(); }
  Sanduhr(const Sanduhr&) = delete;
  Sanduhr& operator=(const Sanduhr&) = delete;

  void ende() {
    if (!aktiv_) return;
    aktiv_ = false;
    QCoreApplication::instance()->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
  }

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override {
    if (ereignis->type() == QEvent::Show && objekt->inherits("QDialog")) ende();
    return false;
  }

 private:
  bool aktiv_ = true;
};

}  // namespace

void NeuerRahmen(Programmzustand& s, int Nr, const QString& Typ, double Nummer) {
  if (Nr > static_cast<int>(s.Rahmenliste.size()) - 1)
    s.Rahmenliste.resize(s.Rahmenliste.size() + 1);
  auto rahmen = std::make_shared<ClassRahmen>();
  rahmen->x = rahmen->y = 50 * Nr + 50;
  rahmen->Breite = 500;
  rahmen->Hoehe = 200;
  rahmen->z = static_cast<int16_t>(Nr);
  rahmen->Objekttyp = Typ;
  rahmen->Objektnummer = Nummer;
  s.Rahmenliste.at(Nr) = rahmen;
  s.AnzahlRahmen += 1;
  rahmen->Sichtbar = true;
}

void NeueSchrift(Programmzustand& s, int Nr) {
  auto t = std::make_shared<ClassSchrift>();
  t->fontname = QStringLiteral("Arial");
  t->FontSize = static_cast<int16_t>(10);
  t->ShadowAngle = 45;
  t->ShadowColor1 = RGB(192, 192, 192);
  t->Sichtbar = true;
  s.Schriften.at(Nr) = t;
}

void NeuesBild(Programmzustand& s, int Nr) {
  auto b = std::make_shared<ClassBild>();
  b->Effekt = QStringLiteral("0");
  s.Bilder.at(Nr) = b;
}

void NeueLinie(Programmzustand& s, int Nr) {
  auto l = std::make_shared<ClassLinie>();
  l->Form = 1;
  l->Staerke = 1;
  l->ShadowAngle = 45;
  l->ShadowColor1 = RGB(192, 192, 192);
  s.Linien.at(Nr) = l;
}

void Main(Programmzustand& s, const QString& startverzeichnis) {
  s.Programmtitel = QStringLiteral("QX Marvolant");
  s.Programmversion = QStringLiteral("7.16");
  s.MarkierFarbe = RGB(192, 255, 192);
  s.NormalFarbe = RGB(192, 192, 192);
  s.Verlaufsstufen = 100;

  // Screen values: twips per pixel from the screen's logical resolution.
  double dpiX = 96, dpiY = 96;
  QSize bildschirm(1024, 768);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    dpiX = screen->logicalDotsPerInchX();
    dpiY = screen->logicalDotsPerInchY();
    bildschirm = screen->size();
  }
  if (!(dpiX > 0)) dpiX = 96;
  if (!(dpiY > 0)) dpiY = 96;
  s.TwipsProPixelX = einheiten::kTwipsProZoll / dpiX;
  s.TwipsProPixelY = einheiten::kTwipsProZoll / dpiY;
  s.BildschirmBreite = bildschirm.width() * s.TwipsProPixelX;
  s.BildschirmHoehe = bildschirm.height() * s.TwipsProPixelY;
  s.TwipsProEinheit = einheiten::kTwipsProEinheit;

  QString ordner = startverzeichnis.isEmpty() ? QDir::currentPath() : startverzeichnis;
  ordner = QDir(ordner).absolutePath();
  if (!ordner.endsWith(QLatin1Char('/'))) ordner += QLatin1Char('/');
  s.Startverzeichnis = ordner;

  s.MusterSchrift = std::make_shared<ClassSchrift>();
  s.MusterBild = std::make_shared<ClassBild>();
  s.MusterSeite = std::make_shared<ClassSeite>();
  s.MusterRahmen = std::make_shared<ClassRahmen>();
  s.MusterLinie = std::make_shared<ClassLinie>();
  s.Seite = std::make_shared<ClassSeite>();

  // Size the lists, keeping what they hold.
  s.Schriften.resize(31);
  s.Bilder.resize(2);
  s.Rahmenliste.resize(32);
  s.Linien.resize(2);
  s.RTFDateien.resize(2);
  s.RTFDateien[1] = QStringLiteral("RTF1.rtf");

  for (int n = 1; n <= 30; ++n) {
    s.Zaehler = n;
    NeuerRahmen(s, n, QStringLiteral("Schrift"), n);
    s.rahmen(n).Data = -1;
  }
  NeuerRahmen(s, 31, QStringLiteral("RTF"), 1);
  s.rahmen(31).Data = -1;
  s.rahmen(31).Sichtbar = true;
  for (int n = 1; n <= 30; ++n) NeueSchrift(s, n);
  s.Bilder[1] = std::make_shared<ClassBild>();
  s.schrift(1).Data = 1;

  s.AktuelleSchrift = 1;
  s.AnzahlSchriften = 30;
  s.AktuellesBild = 0;
  s.AnzahlBilder = 0;
  s.AktuellerRahmen = 1;
  s.Zoom = 100;

  s.Seite->Breite = 2100;
  s.Seite->Hoehe = 2980;

  s.AktuellesRTF = 1;
  s.AnzahlRTF = 1;

  s.RasterAnzeigen = -1;
  s.RasterX = 100;
  s.RasterY = 100;
  s.MagnetX = 100;
  s.MagnetY = 50;
  s.MagnetAn = 0;
  s.AlleRahmenAnzeigen = 0;

  LadeEinstellungen(s);
}

void Programmstart(Programmzustand& s, const std::function<void()>& hauptfensterZeigen,
                   const QString& startverzeichnis) {
  auto sanduhr = std::make_shared<Sanduhr>();
  Main(s, startverzeichnis);
  hauptfensterZeigen();
  // The main window finishes its start from the event loop (the page fitted to the window,
  // the address database opened): the pointer stays busy until the loop has done that.
  QTimer::singleShot(0, QCoreApplication::instance(), [sanduhr] { sanduhr->ende(); });
}
