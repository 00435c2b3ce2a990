// The data control of the address panel: one table of an SQLite database, a current record,
// bound fields, navigation, adding, deleting and finding records.
// Records are in table order (rowid). The record count is exact.
//
// Bound fields: when the control moves to another record, edits made in bound fields are
// stored into the record they belong to first, then the fields show the new record. An empty
// field reads as "". A field is written back only when it holds another text than the
// control put there, so a move never stores a value the field could not show unchanged.
// The window's line edits are bound through platform/feldbindung.h.
//
// Positions: besides the records there are the places before the first record (BOF) and after
// the last one (EOF); MovePrevious on the first record reaches BOF, MoveNext on the last one
// EOF. There the bound fields are empty and there is no current record. An empty table is at
// BOF and EOF at once. After Delete the control is on no record until it is moved; MoveNext
// then reaches the record that followed the deleted one.
//
// Storing never loses an edit: when pending edits cannot be stored, the move is not made, the
// edits stay in the fields, the function returns false and fehler() says why. A record that
// cannot be read is reported the same way; the control then stays where it was.
//
// Failures are told in German: what failed, why (a locked, read-only, damaged or foreign
// file), and the database's own text as a detail. The queries of the moves are prepared once
// per open database.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

// A field the user edits, as the data control sees it: a text it sets and reads back.
// The control forgets a bound field when the field is destroyed.
class GebundenesFeld : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  virtual QString text() const = 0;
  virtual void setText(const QString& text) = 0;
};

class Datensteuerung : public QObject {
  Q_OBJECT
 public:
  explicit Datensteuerung(QObject* eltern = nullptr);
  ~Datensteuerung() override;

  // Opens the database file and the table (record source). False, with a German message in
  // fehler(), when the file or the table is missing or cannot be read, or when the table
  // lacks one of the noetigeFelder (the message names the missing ones); the control then
  // holds no records and every operation does nothing. The file is never created.
  // On success the first record is current. Emits datensatzGewechselt either way.
  bool oeffnen(const QString& datenbankPfad, const QString& tabelle = QStringLiteral("Adressen"),
               const QStringList& noetigeFelder = {});
  bool offen() const;
  // The message of the last failure (German; a database error carries its description).
  QString fehler() const;

  // The field names of the table, in table order.
  QStringList felder() const;

  // Binds a field to a field of the current record (field names ignore letter case).
  // The field shows it at once when the control is open. The same record field may be bound
  // to several fields; the first one holds the edits. A field bound again follows the new
  // record field only.
  void bindeFeld(GebundenesFeld* feld, const QString& feldname);

  // Exact number of records in the table (counting a new record once it is stored).
  int RecordCount() const;
  // 0-based position of the current record in table order; -1 when there is none
  // (also for a new record not stored yet).
  int AbsolutePosition() const;
  bool BOF() const;
  // After the last record. (Not "EOF": that is a macro of the C library.)
  bool Eof() const;
  // True while a new record from AddNew is shown and not stored yet.
  bool neuerDatensatz() const;

  // Navigation; each first stores pending edits of the bound fields. False when the control
  // is closed or the edits could not be stored (the control then stays where it was).
  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();
  bool Move(int anzahl);  // forward by anzahl records from the current one (back if < 0)

  // Starts a new, empty record: the bound fields show it; it is stored by Update or by the
  // next move (a move stores it only when one of its fields is non-empty); it then follows
  // the last record. False with fehler() when the database refuses.
  bool AddNew();
  // Stores the bound fields into the current record (a new record is inserted and stays
  // current). Without a current record, text typed into the bound fields is stored as a new
  // record, so that it is not lost. True when there was nothing to store.
  bool Update();
  // Deletes the current record (a new record not stored yet is dropped). The control is then
  // on no record until moved; pending edits of the deleted record are dropped with it.
  bool Delete();

  // Sets the field of every record to its 1-based position in table order (as text), in one
  // statement. Pending edits are stored first; the current record shows its new number.
  bool Nummerieren(const QString& feldname);

  // Finds the first / next record (after the current one) whose field equals the value,
  // ignoring letter case (umlauts included). On a match it becomes the current record and
  // true is returned; without a match the current record stays and fehler() is empty (false
  // with fehler() is a database error). The value is compared in the program, never put
  // into SQL text.
  bool FindFirst(const QString& feldname, const QString& wert);
  bool FindNext(const QString& feldname, const QString& wert);

  // The value of a field of the current record ("" when empty or there is no record).
  // For a bound field this is the text of its edit, pending edits included.
  QString wert(const QString& feldname) const;
  // Sets a field of the current record (and its bound edit); stored like an edit.
  void setzeWert(const QString& feldname, const QString& wert);

  // A transaction around several changes (all or none are kept). Rollback reloads the
  // current record from the database.
  bool BeginTrans();
  bool CommitTrans();
  void Rollback();

  // Caption shown in the navigation bar.
  QString Caption() const;
  void setCaption(const QString& text);

 signals:
  // The current record changed (the bound fields show it now).
  void datensatzGewechselt();
  void captionGeaendert(const QString& text);

 private:
  struct Intern;
  std::unique_ptr<Intern> d_;

  bool speichern(bool ausdruecklich);
  int feldMitGespeichertenEingaben(const QString& feldname);
  bool suchen(const QString& feldname, const QString& wert, bool weiter);
  bool gehe(int abfrage, const QVariantList& werte, int sonst);
  bool angekommen(bool ok);
  void geheZuStelle(int lage);
  void zeigen();
};
