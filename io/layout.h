// Layout presets: files in the document format ("Layout1.lay" to "Layout5.lay" in the
// start-up folder) that rearrange the sender frames 1 to 20 and their texts.
#pragma once

#include "core/programmzustand.h"

// Applies the layout file whose path is in Ladeauftrag to frames 1 to 20 (position, size,
// kind and element, visibility, flags, level) and texts 1 to 20 (angle, alignment and the
// stored position fields; wording, font and colours stay). Nothing is created or removed.
// A file that is missing, not in the document format or not sound (including a record for
// frames 1 to 20 that points at an element the document lacks) is refused with a German
// message and changes nothing. Clears Ladeauftrag, shows the marker and redraws either way.
// False when the file was refused.
bool LadeLayout(Programmzustand& s);
