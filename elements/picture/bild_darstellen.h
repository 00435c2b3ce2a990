// The picture element's display: its file loaded into an imaging control and processed by
// the fixed chain of image effects, and painted into its frame on a surface.
//
// The page is redrawn on every mouse move, so the processed bitmap is kept: a picture whose
// file (found path, size, modification time) and effect settings are unchanged is taken
// from a small cache (least recently used entries go first) instead of being decoded and
// processed again. A file changed on disk is loaded afresh. A picture whose control has
// another target size (Bildsteuerung::setzeZielgroesse), or whose effects changed, is
// processed again, but from the file's decoded bitmap, which a second cache keeps: a file is
// decoded as large as the drawing needs (a photo at a reduced size for the screen) and
// again only for a target larger than that (zooming in, printing), not for each smaller
// zoom or effect setting. A refusal that was not the file's fault (a busy machine) is not
// kept.
#pragma once

#include "core/programmzustand.h"
#include "platform/bildsteuerung.h"
#include "platform/zeichenflaeche.h"

// Loads the element's picture into the control and applies the effects in their fixed
// order: rotation, intensity, contrast, saturation, hue, sharpness, noise, mosaic, shear,
// inversion, grey scale. An empty File leaves the control untouched. A stored Windows path
// ("C:\Briefe\logo.bmp") is looked up as it stands, then by its file name in the
// document's folder and in the start-up folder. A file that is missing or cannot be
// decoded leaves the control without a bitmap.
void BildDarstellen(Programmzustand& s, const ClassBild& bild, Bildsteuerung& steuerung);

// A picture frame of the page: the control is moved out of sight (Left, Top, Width,
// Height 0), the picture is loaded and processed for the frame's printed size at 600 dpi
// (a larger picture is scaled down to that, on screen as on paper), and the bitmap is
// painted stretched into the frame's rectangle on the surface (scale 1 while printing,
// Zoomfaktor otherwise). Draws nothing when File is empty or the picture could not be
// loaded.
void BildMalen(Programmzustand& s, const ClassBild& bild, Bildsteuerung& steuerung,
               Zeichenflaeche& ziel, const ClassRahmen& rahmen);

// How many times a picture was processed (misses of the first cache), and how many times a
// file was decoded (misses of the second); for tests.
int bildLadevorgaenge();
int bildDekodierungen();
// Drops every cached picture; the decoded files too unless auchDekodierte is false.
void bildZwischenspeicherLeeren(bool auchDekodierte = true);
