// The records of a Windows metafile rewritten for libwmf's player, so that it plays them as
// Windows programs do. Part of the helper qxmetadatei: plain C++, neither Qt nor libwmf.
//
// Where the player differs:
// - SaveDC gives the new state the defaults for text alignment, colours, background mode,
//   fill mode and raster operation instead of the values in force; they are set again
//   after every SaveDC.
// - RestoreDC always goes back one level, whatever its argument, and fails the whole file
//   when there is none left; it is repeated as often as its argument asks, and one without
//   a saved state is left out.
// - A state keeps pointers into the object table. An object that is deleted while a state
//   still holds it (LibreOffice writes this at every shape: save, select new pen and brush,
//   delete the old ones, restore) frees its slot for the next object, and the restored
//   state draws with whatever was created there. Windows keeps such an object alive; here
//   its slot is kept until no state holds it, and the indexes are renumbered to match.
// - The renderer draws the two diagonal hatches the wrong way round; a hatched brush's
//   diagonal is turned the other way, so that it comes out as Windows draws it.
// - A placeable metafile is drawn at the scale its header gives; a SetMapMode in it (Inkscape
//   writes MM_ANISOTROPIC) would switch that scale to the player's 1024-unit viewport, which
//   Windows programs do not do, since they set the mapping themselves. Such records are
//   left out.
// - A bare metafile that sets a window in MM_ANISOTROPIC or MM_ISOTROPIC (or in no mapping
//   mode, as the metafiles of RTF and Word documents do, whose container sets it) is drawn
//   by the player into a square viewport of 1024 points; here the window is drawn at one
//   device unit a logical unit, and the window is the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace metadatei {

struct Aufbereitet {
  std::vector<unsigned char> daten;  // empty: the file's records do not fit its header
  // A bare metafile whose window is the picture: its size in logical units.
  bool fensterIstBild = false;
  int fensterBreite = 0;
  int fensterHoehe = 0;
};

Aufbereitet aufbereiten(const std::vector<unsigned char>& datei);

}  // namespace metadatei
