// The data control of the address panel: one table of an SQLite database, a current record,
// fields bound to line edits, navigation, adding, deleting and finding records.
// Records are in table order (rowid). The record count is exact.
//
// Bound fields: when the control moves to another record, edits made in bound line edits are
// stored into the record they belong to first, then the edits show the new record. An empty
// field reads as "".
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QLineEdit;

class Datensteuerung : public QObject {
  Q_OBJECT
 public:
  explicit Datensteuerung(QObject* eltern = nullptr);
  ~Datensteuerung() override;

  // Opens the database file and the table (record source). False, with a German message in
  // fehler(), when the file or the table is missing or cannot be read; the control then
  // holds no records and every operation does nothing.
  bool oeffnen(const QString& datenbankPfad, const QString& tabelle = QStringLiteral("Adressen"));
  bool offen() const;
  QString fehler() const;

  // The field names of the table, in table order.
  QStringList felder() const;

  // Binds a line edit to a field of the current record.
  void bindeFeld(QLineEdit* feld, const QString& feldname);

  // Exact number of records in the table (counting a new record once it is stored).
  int RecordCount() const;
  // 0-based position of the current record in table order; -1 when there is none.
  int AbsolutePosition() const;
  bool BOF() const;
  bool EOF() const;

  // Navigation; each first stores pending edits of the bound fields.
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrevious();
  void Move(int anzahl);  // forward by anzahl records from the current one

  // Starts a new, empty record: the bound fields show it; it is stored by Update or by the
  // next move. False with fehler() when the database refuses.
  bool AddNew();
  // Stores the bound fields into the current record (a new record is inserted).
  bool Update();
  // Deletes the current record. The control is then on no record until moved.
  bool Delete();

  // Finds the first / next record (after the current one) whose field equals the value,
  // ignoring letter case (umlauts included). On a match it becomes the current record and
  // true is returned; without a match the current record stays.
  bool FindFirst(const QString& feldname, const QString& wert);
  bool FindNext(const QString& feldname, const QString& wert);

  // The value of a field of the current record ("" when empty or there is no record).
  QString wert(const QString& feldname) const;
  void setzeWert(const QString& feldname, const QString& wert);

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
};
