// The address panel's procedures: opening the address database, the record-number caption,
// adding ("Einfügen"), deleting with renumbering ("Löschen") and the search of "Datensuche".
// They work on the data control and the program state only; the main window calls them from
// its buttons and learns of record changes from Datensteuerung::datensatzGewechselt.
// Every procedure first stores pending edits of the bound fields, so no address edit is lost;
// when that fails, it shows the reason (s.fenster->Meldung) and changes nothing.
#pragma once

#include <QString>
#include <QStringList>

class Datensteuerung;
class QLineEdit;
struct Programmzustand;

// File name of the address database in the start-up folder.
inline constexpr QLatin1String AdressdatenbankName("adressen.db");

// The fields the table "Adressen" must have: "Nummer" and the ten address fields.
QStringList Adressfelder();

// Opens the table "Adressen" of the address database. An empty path means "adressen.db" in
// the start-up folder. A missing or unreadable file, a missing table or one that lacks
// fields of Adressfelder() is reported in one message box; the control then holds no
// records. Returns whether the control is open.
bool AdressenOeffnen(Datensteuerung& d, Programmzustand& s, const QString& pfad = QString());

// The data control's caption for a record-number text: " Adresse Nr. " & nummer.
QString DatensatznummerCaption(const QString& nummer);
// TextDatensatznummer_Change: the caption follows the record-number field.
void TextDatensatznummer_Change(Datensteuerung& d, const QString& nummer);
// Binds the record-number field to "Nummer" and lets the caption follow its text.
void bindeDatensatznummer(Datensteuerung& d, QLineEdit* feld);

// "Einfügen": a new, empty record whose "Nummer" is the record count + 1. A database error
// is shown with its description. Returns whether the new record was started.
bool AdresseEinfuegen(Datensteuerung& d, Programmzustand& s);

// "Löschen": with at least 2 records, deletes the current one, numbers the remaining records
// 1..n in table order and shows the first. With fewer records nothing happens. Deleting and
// renumbering are one transaction: on a database error (shown) nothing is deleted.
bool AdresseLoeschen(Datensteuerung& d, Programmzustand& s);

// The field searched by option 1..10 of "Datensuche" ("Firma" .. "Gruppe"); "" otherwise.
QString Suchfeld(int option);
// The search criterion: Firma = 'term', [Sonstiges 1] = 'term' for names with a blank.
// "" for an option outside 1..10.
QString Suchkriterium(int option, const QString& begriff);

// The search: builds the criterion in s.Textzeile; when it equals s.LetzteSuche the next
// match after the current record is found, otherwise the first one in the table; the match
// becomes current. Without a match the current record stays. s.LetzteSuche = criterion.
// The term is compared in the program, ignoring letter case, never put into SQL text.
// Returns whether a record was found.
bool AdresseSuchen(Datensteuerung& d, Programmzustand& s, int option, const QString& begriff);

// Starts a new record when one of the side-panel fields 21..30 is non-empty.
bool AdresseAnfuegenWennGefuellt(Datensteuerung& d, Programmzustand& s);
// Deletes the current record when there are at least 2, and moves to the next one, or to
// the first when the end was reached (no renumbering).
bool AdresseEntfernen(Datensteuerung& d, Programmzustand& s);
