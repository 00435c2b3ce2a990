// Helpers of the address tests: databases built from SQL text in a temporary folder and
// read back through a connection of their own.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace adressentest {

// A connection of its own for the duration of one helper call.
class Verbindung {
 public:
  explicit Verbindung(const QString& pfad) {
    static int zaehler = 0;
    name_ = QStringLiteral("adressentest_%1").arg(++zaehler);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(pfad);
    db.open();
  }
  ~Verbindung() {
    {
      QSqlDatabase db = QSqlDatabase::database(name_, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(name_);
  }
  QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

 private:
  QString name_;
};

// Splits SQL text into statements at ";" outside quotes and trigger bodies; "--" comments
// are dropped.
inline QStringList anweisungen(const QString& sql) {
  QStringList liste;
  QString aktuell;
  QChar zitat;
  for (int i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (zitat.isNull() && c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
      while (i < sql.size() && sql[i] != u'\n') ++i;
      continue;
    }
    if (!zitat.isNull()) {
      if (c == zitat) zitat = QChar();
    } else if (c == u'\'' || c == u'"') {
      zitat = c;
    } else if (c == u';') {
      // A trigger body holds statements of its own; the trigger ends with "END;".
      const QString bisher = aktuell.trimmed();
      if (bisher.startsWith(QLatin1String("CREATE TRIGGER"), Qt::CaseInsensitive) &&
          !bisher.endsWith(QLatin1String("END"), Qt::CaseInsensitive)) {
        aktuell += c;
        continue;
      }
      if (!bisher.isEmpty()) liste << bisher;
      aktuell.clear();
      continue;
    }
    aktuell += c;
  }
  if (!aktuell.trimmed().isEmpty()) liste << aktuell.trimmed();
  return liste;
}

// Runs SQL text on the database file (created when missing).
inline void sqlAusfuehren(const QString& pfad, const QString& sql) {
  Verbindung v(pfad);
  QSqlQuery q(v.db());
  for (const QString& a : anweisungen(sql))
    ASSERT_TRUE(q.exec(a)) << q.lastError().text().toStdString() << "\n" << a.toStdString();
}

inline QString beispielSql() {
  QFile datei(QStringLiteral(QX_QUELLE "/data/adressen.sql"));
  if (!datei.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(datei.readAll());
}

inline const char* tabelleAnlegen() {
  return "CREATE TABLE Adressen (Nummer TEXT, Firma TEXT, Anrede TEXT, Vorname TEXT, "
         "Nachname TEXT, \"Straße\" TEXT, PLZ TEXT, Ort TEXT, \"Sonstiges 1\" TEXT, "
         "\"Sonstiges 2\" TEXT, Gruppe TEXT);";
}

// A table of n records: Nummer i, Firma "Firma i", Nachname "A", "B", ...
inline QString tabelleMit(int n) {
  QString sql = QString::fromUtf8(tabelleAnlegen());
  for (int i = 1; i <= n; ++i)
    sql += QStringLiteral(
               "INSERT INTO Adressen (Nummer, Firma, Nachname, Ort) VALUES ('%1', 'Firma %1', "
               "'%2', 'Ort %1');")
               .arg(i)
               .arg(QChar(u'A' + i - 1));
  return sql;
}

// The values of one field in table order ("" for NULL).
inline QStringList spalte(const QString& pfad, const QString& feld) {
  Verbindung v(pfad);
  QSqlQuery q(v.db());
  QStringList werte;
  if (!q.exec(QStringLiteral("SELECT \"%1\" FROM Adressen ORDER BY rowid").arg(feld)))
    return {QStringLiteral("<Fehler: %1>").arg(q.lastError().text())};
  while (q.next()) werte << q.value(0).toString();
  return werte;
}

inline int anzahl(const QString& pfad) { return spalte(pfad, QStringLiteral("Nummer")).size(); }

}  // namespace adressentest
