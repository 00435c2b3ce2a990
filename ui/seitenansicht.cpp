#include "ui/seitenansicht.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/auswahl.h"
#include "core/dialogauswahl.h"
#include "core/programmzustand.h"
#include "core/rahmenfolge.h"
#include "core/seite_zeichnen.h"
#include "platform/ansichtsfenster.h"
#include "platform/bildflaeche.h"
#include "platform/einheiten.h"
#include "platform/zahlen.h"

namespace {

// Size of a handle in twips.
constexpr double kZiehpunktTwips = 100;

const QColor kRahmenFarbe(0, 0, 160);
const QColor kZiehpunktFarbe(0, 0, 0);

// Which edges a handle moves (handles numbered clockwise from the top-left corner).
bool bewegtLinks(int i) { return i == 1 || i == 7 || i == 8; }
bool bewegtRechts(int i) { return i == 3 || i == 4 || i == 5; }
bool bewegtOben(int i) { return i == 1 || i == 2 || i == 3; }
bool bewegtUnten(int i) { return i == 5 || i == 6 || i == 7; }

// One axis of a frame resized by a handle: at the press the frame ran from `anfang` to
// `ende` (left to right, top to bottom) and the mouse stood at `mausStart`; the mouse is now
// at `maus`, and the page reaches to `seite` on screen.
struct Ziehachse {
  double anfang, ende, mausStart, maus, seite;
};

// Follows the mouse with the near edge (left, top) or the far edge of the frame on one axis.
// The near edge stays on the page and more than 100 twips before the far edge (110 when
// pushed up against it); the far edge keeps the frame 100 twips long at least, and on the
// page. `pos` and `laenge` are the frame's position and length on that axis.
void kanteZiehen(const Ziehachse& a, bool nah, bool fern, double& pos, double& laenge) {
  if (nah) {
    pos = a.anfang + a.maus - a.mausStart;
    if (pos > a.ende - 100) pos = a.ende - 110;
    if (pos < 0) pos = 0;
    laenge = a.ende - pos;
  } else if (fern) {
    laenge = (a.ende - a.anfang) + a.maus - a.mausStart;
    if (laenge < 100) laenge = 100;
    if (pos + laenge > a.seite) laenge = a.seite - pos;
  }
}

// A new frame drawn narrower or lower than 1 mm (a click without dragging) takes one
// magnet spacing in that direction when the magnet is on, 10 mm otherwise, so that it
// can be seen and picked. Lengths of the rectangle are twips at the current zoom.
QRectF mitMindestgroesse(const Programmzustand& s, QRectF r) {
  const double twipsProEinheit = s.Zoom / 100.0 * s.TwipsProEinheit;
  if (!(twipsProEinheit > 0)) return r;
  auto vorgabe = [&](double abstand) {
    const bool magnet = s.MagnetAn == -1 && zahlen::nint(abstand) >= 1;
    return (magnet ? abstand : 100.0) * twipsProEinheit;
  };
  if (zahlen::nint(r.width() / twipsProEinheit) < 10) r.setWidth(vorgabe(s.MagnetX));
  if (zahlen::nint(r.height() / twipsProEinheit) < 10) r.setHeight(vorgabe(s.MagnetY));
  return r;
}

}  // namespace

// --- Ziehpunkt --------------------------------------------------------------------------

Ziehpunkt::Ziehpunkt(int index, Seitenansicht* seite)
    : QWidget(seite), index_(index), seite_(seite) {
  setObjectName(QStringLiteral("Ziehpunkt%1").arg(index));
  setAttribute(Qt::WA_OpaquePaintEvent);
  switch (index) {
    case 1:
    case 5:
      setCursor(Qt::SizeFDiagCursor);
      break;
    case 3:
    case 7:
      setCursor(Qt::SizeBDiagCursor);
      break;
    case 2:
    case 6:
      setCursor(Qt::SizeVerCursor);
      break;
    default:
      setCursor(Qt::SizeHorCursor);
      break;
  }
  const int pixelX =
      std::max(1, static_cast<int>(std::lround(kZiehpunktTwips / seite->twipsProPixelX())));
  const int pixelY =
      std::max(1, static_cast<int>(std::lround(kZiehpunktTwips / seite->twipsProPixelY())));
  setFixedSize(pixelX, pixelY);
}

void Ziehpunkt::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kZiehpunktFarbe);
}

void Ziehpunkt::mousePressEvent(QMouseEvent* e) {
  // The Delete key then acts on the page.
  seite_->setFocus(Qt::MouseFocusReason);
  const QPointF p = e->position();
  seite_->Ziehpunkt_MouseDown(index_, e->button(), p.x() * seite_->twipsProPixelX(),
                              p.y() * seite_->twipsProPixelY());
  e->accept();
}

void Ziehpunkt::mouseMoveEvent(QMouseEvent* e) {
  const QPointF p = seite_->begrenzt(this, e->position());
  seite_->Ziehpunkt_MouseMove(index_, e->buttons(), p.x() * seite_->twipsProPixelX(),
                              p.y() * seite_->twipsProPixelY());
  e->accept();
}

void Ziehpunkt::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF p = seite_->begrenzt(this, e->position());
  seite_->Ziehpunkt_MouseUp(index_, e->button(), p.x() * seite_->twipsProPixelX(),
                            p.y() * seite_->twipsProPixelY());
  e->accept();
}

// --- Seitenansicht ----------------------------------------------------------------------

Seitenansicht::Seitenansicht(Programmzustand& s, QWidget* eltern) : QWidget(eltern), s_(s) {
  setObjectName(QStringLiteral("PictureSeite"));
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (int i = 1; i <= 8; ++i) {
    ziehpunkte_[i] = new Ziehpunkt(i, this);
    ziehpunkte_[i]->hide();
  }
  // The page is drawn at the pixel density of the screen it is shown on; while a print or an
  // export uses the redraw, the timer draws it once they are done.
  new Pixelverhaeltnisfolger(
      this, [this] { return std::vector<Bildflaeche*>{s_.PictureSeite.get()}; },
      [this] {
        if (s_.Druckmodus == 0 && s_.Exportmodus == 0) {
          SeiteZeichnen(s_);
        } else {
          s_.TextGeaendert = -1;
        }
      });
}

double Seitenansicht::twipsProPixelX() const {
  const double t = s_.PictureSeite ? s_.PictureSeite->twipsProPixelX() : einheiten::kTwipsProPixel;
  return t > 0 ? t : einheiten::kTwipsProPixel;
}

double Seitenansicht::twipsProPixelY() const {
  const double t = s_.PictureSeite ? s_.PictureSeite->twipsProPixelY() : einheiten::kTwipsProPixel;
  return t > 0 ? t : einheiten::kTwipsProPixel;
}

QString Seitenansicht::zentimeterText(double twips, double zoom) {
  const double faktor = zoom / 100.0;
  double zehntel = 0;
  if (faktor > 0 && std::isfinite(twips)) zehntel = einheiten::einheitenAusTwips(twips / faktor);
  // The rectangle came from whole tenths of a millimetre times the zoom: allow for the
  // last bit of rounding so that 25 mm reads 2.5 and not 2.49 at every zoom.
  const double ganz = std::floor(zehntel + 1e-6);
  return zahlen::schreibeLokal(ganz / 100.0);
}

void Seitenansicht::setzeRahmen(const QRectF& rechteck) {
  if (rechteck == rahmen_) return;
  rahmen_ = rechteck;
  update();
}

void Seitenansicht::setzeRahmenSichtbar(bool sichtbar) {
  if (sichtbar == rahmenSichtbar_) return;
  rahmenSichtbar_ = sichtbar;
  update();
}

void Seitenansicht::setzeZiehpunkt(int i, const QPointF& linksOben, bool sichtbar) {
  Ziehpunkt* z = ziehpunkte_.at(i);
  z->move(static_cast<int>(std::lround(linksOben.x() / twipsProPixelX())),
          static_cast<int>(std::lround(linksOben.y() / twipsProPixelY())));
  z->setVisible(sichtbar);
}

QPointF Seitenansicht::begrenzt(const QWidget* w, const QPointF& lokal) const {
  if (!begrenzt_ || !sichtbereich_) return lokal;
  const QPointF ecke = sichtbereich_->mapToGlobal(QPointF(0, 0));
  const QSize groesse = sichtbereich_->size();
  if (groesse.isEmpty()) return lokal;
  // One handle's width of slack around the viewport, so that a handle can still be pulled
  // onto the page's edge when the page starts at the viewport's edge.
  const double randX = kZiehpunktTwips / twipsProPixelX();
  const double randY = kZiehpunktTwips / twipsProPixelY();
  QPointF global = w->mapToGlobal(lokal);
  global.setX(std::clamp(global.x(), ecke.x() - randX, ecke.x() + groesse.width() - 1 + randX));
  global.setY(std::clamp(global.y(), ecke.y() - randY, ecke.y() + groesse.height() - 1 + randY));
  return w->mapFromGlobal(global);
}

QRect Seitenansicht::pixelRechteck(const QRectF& t) const {
  const double tx = twipsProPixelX();
  const double ty = twipsProPixelY();
  const int x0 = static_cast<int>(std::lround(t.left() / tx));
  const int y0 = static_cast<int>(std::lround(t.top() / ty));
  const int x1 = static_cast<int>(std::lround((t.left() + t.width()) / tx));
  const int y1 = static_cast<int>(std::lround((t.top() + t.height()) / ty));
  return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)).normalized();
}

void Seitenansicht::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (s_.PictureSeite) p.drawImage(QPoint(0, 0), s_.PictureSeite->bild());
  if (rahmenSichtbar_ && (rahmen_.width() != 0 || rahmen_.height() != 0)) {
    // An outline one pixel wide along the inside of the rectangle.
    const QRect r = pixelRechteck(rahmen_);
    p.setPen(QPen(kRahmenFarbe, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (r.width() <= 1 || r.height() <= 1) p.drawLine(r.topLeft(), r.bottomRight());
  }
}

bool Seitenansicht::rechteckVerankert() const {
  const int c = s_.AktuellerRahmen;
  if (c < 1 || c >= static_cast<int>(s_.Rahmenliste.size()) || !s_.Rahmenliste[c]) return false;
  return s_.Rahmenliste[c]->Verankert;
}

// --- Page mouse handlers ----------------------------------------------------------------

void Seitenansicht::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  CursorBegrenzen();
  const QPointF p = begrenzt(this, e->position());
  PictureSeite_MouseDown(e->button(), p.x() * twipsProPixelX(), p.y() * twipsProPixelY());
  e->accept();
}

void Seitenansicht::mouseMoveEvent(QMouseEvent* e) {
  const QPointF p = begrenzt(this, e->position());
  PictureSeite_MouseMove(e->buttons(), p.x() * twipsProPixelX(), p.y() * twipsProPixelY());
  e->accept();
}

void Seitenansicht::mouseReleaseEvent(QMouseEvent* e) {
  const QPointF p = begrenzt(this, e->position());
  PictureSeite_MouseUp(e->button(), e->globalPosition().toPoint(), p.x() * twipsProPixelX(),
                       p.y() * twipsProPixelY());
  e->accept();
}

void Seitenansicht::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete) {
    RahmenLoeschen(s_);
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

void Seitenansicht::PictureSeite_MouseDown(Qt::MouseButton Button, double X, double Y) {
  CursorBegrenzen();
  // Only the left button draws, moves or selects; the right one opens the popup on release.
  if (Button == Qt::RightButton) return;
  klickOffen_ = true;
  if (Button != Qt::LeftButton) return;

  if (s_.Einfuegemodus == 1) {
    // A prepared element: its frame is drawn from here to the right and downwards.
    setzeRahmenSichtbar(true);
    setzeRahmen(QRectF(X, Y, 0, 0));
    s_.Einfuegemodus = 2;
    startMerken(X, Y);
    return;
  }

  if (rechteckVerankert()) return;
  s_.Ziehmodus = 0;
  s_.MausAltX = X;
  s_.MausAltY = Y;
  const QRectF& r = rahmen_;
  if (r.left() <= X && X <= r.left() + r.width() && r.top() <= Y && Y <= r.top() + r.height()) {
    setCursor(Qt::SizeAllCursor);
    s_.Ziehmodus = 1;
    for (int i = 1; i <= 8; ++i) ziehpunkte_[i]->hide();
  }
}

void Seitenansicht::PictureSeite_MouseMove(Qt::MouseButtons Buttons, double X, double Y) {
  if (Buttons & Qt::LeftButton) {
    if (s_.Ziehmodus == 1) {
      QRectF r = rahmen_;
      r.moveLeft(r.left() + X - s_.MausAltX);
      r.moveTop(r.top() + Y - s_.MausAltY);
      setzeRahmen(r);
      s_.MausAltX = X;
      s_.MausAltY = Y;
      emit statusText(2, QStringLiteral("x = ") + zentimeterText(r.left(), s_.Zoom));
      emit statusText(3, QStringLiteral("y = ") + zentimeterText(r.top(), s_.Zoom));
    } else if (s_.Einfuegemodus == 2) {
      double breite = (s_.StartRechts - s_.StartLinks) + X - s_.MausStartX;
      if (breite < 100) breite = 100;
      double hoehe = (s_.StartUnten - s_.StartOben) + Y - s_.MausStartY;
      if (hoehe < 100) hoehe = 100;
      setzeRahmen(QRectF(rahmen_.left(), rahmen_.top(), breite, hoehe));
      emit statusText(2, QStringLiteral("x = ") + zentimeterText(X, s_.Zoom));
      emit statusText(3, QStringLiteral("y = ") + zentimeterText(Y, s_.Zoom));
    }
  }
  emit statusText(1, QStringLiteral("Aktuelle Datei: ") + s_.AktuelleDatei);
}

void Seitenansicht::PictureSeite_MouseUp(Qt::MouseButton Button, const QPoint& global, double X,
                                         double Y) {
  CursorFreigeben();
  if (Button == Qt::RightButton) {
    if (s_.Ziehmodus == 1 || s_.Einfuegemodus == 2) {
      // Every button-up ends a drag; the left button's own release is then no click.
      ziehenBeenden();
      klickOffen_ = false;
      return;
    }
    emit kontextmenue(global);
    return;
  }
  if (s_.Ziehmodus == 0 && s_.Einfuegemodus == 0 && klickOffen_) RahmenTreffer(s_, X, Y);
  klickOffen_ = false;
  ziehenBeenden();
}

void Seitenansicht::ziehenBeenden() {
  if (s_.Einfuegemodus == 2) {
    setzeRahmen(mitMindestgroesse(s_, rahmen_));
    ZiehenUebernehmen(s_);
    s_.fenster->MarkierungZeigen();
    s_.Einfuegemodus = 0;
    s_.Ziehmodus = 0;
    unsetCursor();
    EigenschaftenZeigen(s_);
    return;
  }
  if (s_.Ziehmodus == 1) {
    s_.Ziehmodus = 0;
    unsetCursor();
    ZiehenUebernehmen(s_);
    s_.fenster->MarkierungZeigen();
    SeiteZeichnen(s_);
    return;
  }
  s_.Ziehmodus = 0;
  unsetCursor();
}

// --- Handle mouse handlers --------------------------------------------------------------

void Seitenansicht::groesseMelden() {
  emit statusText(2, QStringLiteral("Breite = ") + zentimeterText(rahmen_.width(), s_.Zoom));
  emit statusText(3, QStringLiteral("Höhe = ") + zentimeterText(rahmen_.height(), s_.Zoom));
}

void Seitenansicht::startMerken(double X, double Y) {
  s_.MausStartX = X;
  s_.StartLinks = rahmen_.left();
  s_.StartRechts = s_.StartLinks + rahmen_.width();
  s_.MausStartY = Y;
  s_.StartOben = rahmen_.top();
  s_.StartUnten = s_.StartOben + rahmen_.height();
}

void Seitenansicht::Ziehpunkt_MouseDown(int Index, Qt::MouseButton, double X, double Y) {
  // Any button resizes. The ratio a proportional frame keeps; a frame without height has none.
  const double hoehe = rahmen_.height();
  s_.VersatzX = hoehe != 0 ? rahmen_.width() / hoehe : 0;
  CursorBegrenzen();
  ziehpunktGedrueckt_ = true;
  if (rechteckVerankert()) return;
  s_.Ziehmodus = Index;
  startMerken(X, Y);
  groesseMelden();
}

void Seitenansicht::Ziehpunkt_MouseMove(int Index, Qt::MouseButtons Buttons, double X, double Y) {
  if (!ziehpunktGedrueckt_ || s_.Ziehmodus != Index || Buttons == Qt::NoButton) return;
  const int i = Index;
  // The page edge on screen at the current zoom.
  const double faktor = s_.Zoom / 100.0;
  const double seitenBreite =
      s_.Seite ? einheiten::twipsAusEinheiten(s_.Seite->Breite) * faktor : 0;
  const double seitenHoehe = s_.Seite ? einheiten::twipsAusEinheiten(s_.Seite->Hoehe) * faktor : 0;

  double links = rahmen_.left();
  double oben = rahmen_.top();
  double breite = rahmen_.width();
  double hoehe = rahmen_.height();
  kanteZiehen({s_.StartLinks, s_.StartRechts, s_.MausStartX, X, seitenBreite}, bewegtLinks(i),
              bewegtRechts(i), links, breite);
  kanteZiehen({s_.StartOben, s_.StartUnten, s_.MausStartY, Y, seitenHoehe}, bewegtOben(i),
              bewegtUnten(i), oben, hoehe);
  setzeRahmen(QRectF(links, oben, breite, hoehe));
  groesseMelden();
}

void Seitenansicht::Ziehpunkt_MouseUp(int, Qt::MouseButton, double, double) {
  // A release whose press did not start here changes nothing.
  if (!ziehpunktGedrueckt_) return;
  ziehpunktGedrueckt_ = false;
  CursorFreigeben();
  s_.Ziehmodus = 0;
  const int c = s_.AktuellerRahmen;
  const bool proportional = c >= 1 && c < static_cast<int>(s_.Rahmenliste.size()) &&
                            s_.Rahmenliste[c] && s_.Rahmenliste[c]->Proportional;
  if (proportional && std::isfinite(s_.VersatzX) && s_.VersatzX > 0) {
    // The ratio from the button-down, restored from the new width.
    QRectF r = rahmen_;
    r.setHeight(r.width() / s_.VersatzX);
    setzeRahmen(r);
  }
  ZiehenUebernehmen(s_);
  s_.fenster->MarkierungZeigen();
  SeiteZeichnen(s_);
}
