// A small device context in the manner of the Windows GDI, drawn through QPainter.
// The renderers call these functions by the names they have on Windows, with the same
// arguments and the same pixel results: fonts from a logical-font record, text output at
// a top-left reference point (rotated fonts turn counter-clockwise about it), character
// extra, clip regions, Rectangle / Polygon / Ellipse with the pen and brush of the surface.
//
// Pixel rules kept from GDI: drawing is aliased; Rectangle and Ellipse exclude their right
// and bottom edge; polygons fill in alternate mode; pen widths are pixels; wide pens have
// round caps and joins. Coordinates and widths are the surface's logical pixels: on a
// high-density image (devicePixelRatio above 1) the painter scales them, and a one-pixel
// pen is one logical pixel wide.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class Zeichenflaeche;

// Logical font record (the fields a LOGFONT holds).
struct LogFont {
  int32_t lfHeight = 0;  // device pixels; negative: character height, positive: cell height
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
  int32_t lfOrientation = 0;  // tenths of a degree
  int32_t lfWeight = 0;       // 400 normal, 700 bold, 800 extra bold
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  QString lfFaceName;  // up to the first NUL; not limited to 31 characters
};

// Character-set numbers of the logical font record.
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t SYMBOL_CHARSET = 2;

// Pitch bits of the logical font's pitch-and-family byte.
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;

// Text metrics of a face (the fields of a NEWTEXTMETRIC that carry meaning here).
struct TextMetrik {
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;
};

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
};

struct SIZE {
  int32_t cx = 0;
  int32_t cy = 0;
};

class Geraetekontext;
using HDC = Geraetekontext*;
// Handle of a font or a region; 0 is no object. Handles are unique for the run.
using HGDIOBJ = std::uintptr_t;
using HFONT = HGDIOBJ;
using HRGN = HGDIOBJ;

constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int ALTERNATE = 1;

// Kinds of region the clip and region calls return (0: an error).
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Modes of CombineRgn.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// One copy of a text for Geraetekontext::schreibeTextKopien: its point (the top-left
// reference point, as for TextOutA; it is drawn at the nearest whole device pixel, so that
// a denser image places the copies more finely) and its colour.
struct Textkopie {
  QPointF punkt;
  QColor farbe;
};

// A colour value red + 256 * green + 65536 * blue (the top byte is ignored) as a QColor.
QColor farbeAusRgb(int32_t rgb);

// Pen, brush and text colour of the surface that owns a device context, as the surface's
// named properties describe them at the moment of drawing.
struct StiftUndPinsel {
  QColor stiftFarbe = Qt::black;
  int stiftBreite = 1;  // pixels of the surface; 0 draws one pixel
  Qt::PenStyle stiftStil = Qt::SolidLine;
  bool pinselTransparent = true;
  QColor pinselFarbe = Qt::black;
  QColor textFarbe = Qt::black;
};

// The Qt pen style of a classic line style number: 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 none; other numbers solid.
Qt::PenStyle stiftStilAus(int stil);

// The device context of one surface. The surface creates it and keeps it for its life;
// it hands out a pointer as its `hdc`.
class Geraetekontext {
 public:
  Geraetekontext(Zeichenflaeche* besitzer, int dpiX, int dpiY);
  ~Geraetekontext();
  Geraetekontext(const Geraetekontext&) = delete;
  Geraetekontext& operator=(const Geraetekontext&) = delete;

  // The painter the calls draw with; the surface begins it on its paint device and ends
  // it before it resizes, saves or shows the device. While no painter is active, the
  // drawing calls do nothing and return false.
  void setzeMaler(QPainter* maler);
  // Begins a drawing: the active painter, or when there is none, the one the painter
  // source begins (a picture surface that ended its painter to hand out its image begins it
  // again; the print control puts its pending page on the printer or into the PDF file).
  // nullptr when the surface cannot draw now. Every drawing call begins so.
  QPainter* zeichnenBeginnen();
  // Asked for a painter when a drawing begins and finds none active. May return nullptr.
  void setzeMalerQuelle(std::function<QPainter*()> quelle);

  int dpiX() const { return dpiX_; }
  int dpiY() const { return dpiY_; }

  // The font selected now (a Qt font built from the logical font), its escapement in
  // tenths of a degree and the character extra in device pixels.
  const QFont& schrift() const { return schrift_; }
  int drehung() const { return drehung_; }
  int zeichenExtra() const { return extra_; }
  // Selects a font given by the surface itself (its fontname/FontSize properties), as a
  // surface does when such a property changes. Returns nothing; the previous GDI font is
  // replaced.
  void waehleFlaechenschrift(const QFont& schrift);

  // Width in device pixels of a text in the selected font, without character extra.
  int textBreite(const QString& text) const;
  // Draws a text at a device point (top-left reference point, rotation of the selected
  // font, character extra, the surface's text colour or the text brush, transparent
  // background).
  void schreibeText(double x, double y, const QString& text);
  // A brush that fills the text instead of the surface's text colour (a colour gradient),
  // given in device pixels of the surface; none: the text colour again.
  void setzeTextpinsel(std::optional<QBrush> pinsel) { textpinsel_ = std::move(pinsel); }
  // Draws copies of a text in the selected font, later copies over earlier ones, as one
  // shape: each pixel takes the coverage of the copy that covers it most and that copy's
  // colour (the later one of equals), so that the edges come out as those of one copy.
  // Antialiased copies drawn over each other would thicken every edge they share.
  // The work and the memory are those of the part that shows (the owner's surface, inside
  // the clip region); copies wholly outside it cost nothing. When memory for the shape
  // cannot be had, the copies are left out.
  void schreibeTextKopien(const QString& text, const std::vector<Textkopie>& kopien);

  // The GDI calls, by their Windows names (as friends, they reach the state).
  friend HGDIOBJ SelectObject(HDC dc, HGDIOBJ objekt);
  friend int SelectClipRgn(HDC dc, HRGN region);
  friend int GetDeviceCaps(HDC dc, int index);
  friend bool GetTextExtentPoint32A(HDC dc, const QString& text, int anzahl, SIZE* groesse);
  friend int SetTextCharacterExtra(HDC dc, int extra);
  friend bool TextOutA(HDC dc, int x, int y, const QString& text, int anzahl);
  friend bool Rectangle(HDC dc, int links, int oben, int rechts, int unten);
  friend bool Polygon(HDC dc, const POINT* punkte, int anzahl);
  friend bool Ellipse(HDC dc, int links, int oben, int rechts, int unten);

  // The clip region selected now (empty optional: none).
  bool hatClip() const { return hatClip_; }
  const QRegion& clip() const { return clip_; }

  // Device pixels per logical pixel of the device the active painter draws on (1 without
  // one). The calls take logical pixels; a one-pixel pen, a bar and a text copy keep their
  // size in them.
  double verhaeltnis() const;

 private:
  // Pen (and brush, or none) from the owner's properties, aliased drawing, the clip region.
  // False when no painter is active.
  bool malerVorbereiten(bool mitPinsel);
  void stiftUndPinselSetzen(bool mitPinsel);
  // The selected font with the character extra, as text is drawn.
  QFont zeichenschrift() const;
  // From the text's own coordinates (reference point at 0, 0) to the device point (x, y):
  // the selected font's rotation about the reference point.
  QTransform textlage(double x, double y) const;
  Zeichenflaeche* besitzer_;
  HFONT flaechenSchrift_ = 0;  // handle of the surface's own font, owned by this context
  int dpiX_;
  int dpiY_;
  QPainter* maler_ = nullptr;
  std::function<QPainter*()> malerQuelle_;
  QFont schrift_;
  HFONT gewaehlteSchrift_ = 0;
  int drehung_ = 0;
  int extra_ = 0;
  bool hatClip_ = false;
  QRegion clip_;
  std::optional<QBrush> textpinsel_;
};

HFONT CreateFontIndirectA(const LogFont& lf);
HRGN CreateRectRgn(int links, int oben, int rechts, int unten);
HRGN CreatePolygonRgn(const POINT* punkte, int anzahl, int fuellmodus);
bool DeleteObject(HGDIOBJ objekt);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ objekt);
int SelectClipRgn(HDC dc, HRGN region);
// Sets the region `ziel` to a combination of `a` and `b` (RGN_COPY: `a`); returns the kind
// of the result, 0 when a handle is no region.
int CombineRgn(HRGN ziel, HRGN a, HRGN b, int modus);
int GetDeviceCaps(HDC dc, int index);
bool GetTextExtentPoint32A(HDC dc, const QString& text, int anzahl, SIZE* groesse);
int SetTextCharacterExtra(HDC dc, int extra);
bool TextOutA(HDC dc, int x, int y, const QString& text, int anzahl);
bool Rectangle(HDC dc, int links, int oben, int rechts, int unten);
bool Polygon(HDC dc, const POINT* punkte, int anzahl);
bool Ellipse(HDC dc, int links, int oben, int rechts, int unten);

// The Qt font a logical font stands for (pixel size from lfHeight, weight, emphasis,
// kerning off). Exposed for tests and for the surfaces' own fonts.
QFont schriftAusLogFont(const LogFont& lf);
// Number of GDI objects alive (fonts and regions); for tests that look for leaks.
int lebendeGdiObjekte();
