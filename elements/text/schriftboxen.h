// The three font boxes that the text dialog and the main window's toolbar both carry: the
// face, the style ("Standard", "Fett", "Kursiv", "Kursiv Fett") and the size in points.
#pragma once

#include <QString>

#include "core/programmzustand.h"

class QComboBox;

// Fills the boxes afresh: the faces of the font table, the four styles, the sizes 8 to 72 in
// steps of 2. The current items are left to the caller.
void schriftboxenFuellen(const Programmzustand& s, QComboBox* name, QComboBox* stil,
                         QComboBox* groesse);

// Sets Bold and Italic of a text element as an item of the style box names them; any text
// that is none of the first three is "Kursiv Fett".
void stilSetzen(ClassSchrift& t, const QString& stil);

// The item of the size box that holds the size, compared as numbers (the item "12" for the
// size 12); -1 when none does.
int groessenEintrag(const QComboBox& groesse, double punkte);
