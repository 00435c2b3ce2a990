// Line edits bound to the fields of the data control's current record. The control sets
// their texts with QLineEdit::setText, so a window that reacts to textEdited sees only the
// user's typing; textChanged fires for both. A bound edit takes texts of any length.
#pragma once

class Datensteuerung;
class QLineEdit;
class QString;

// Binds a line edit to a field of the current record (field names ignore letter case).
// The edit shows the field at once when the control is open. A destroyed edit is
// forgotten. The same field may be bound to several edits; the first one holds the edits.
void bindeFeld(Datensteuerung& daten, QLineEdit* feld, const QString& feldname);
