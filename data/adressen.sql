-- Sample address records of QX Marvolant.
-- Builds the table "Adressen" of the address database:  sqlite3 adressen.db < adressen.sql
-- Running it on a database that already holds addresses changes nothing.

CREATE TABLE IF NOT EXISTS "Adressen" (
  "Nummer" TEXT,
  "Firma" TEXT,
  "Anrede" TEXT,
  "Vorname" TEXT,
  "Nachname" TEXT,
  "Straße" TEXT,
  "PLZ" TEXT,
  "Ort" TEXT,
  "Sonstiges 1" TEXT,
  "Sonstiges 2" TEXT,
  "Gruppe" TEXT
);

INSERT INTO "Adressen"
  ("Nummer", "Firma", "Anrede", "Vorname", "Nachname", "Straße", "PLZ", "Ort",
   "Sonstiges 1", "Sonstiges 2", "Gruppe")
SELECT * FROM (VALUES
  ('1', 'Bäckerei Sommer GmbH', 'Herr', 'Jürgen', 'Sommer', 'Hauptstraße 12', '80331', 'München',
   'Tel. 089 2345678', NULL, 'Kunde'),
  ('2', 'Müller & Söhne KG', 'Frau', 'Petra', 'Müller', 'Lindenallee 5', '10115', 'Berlin',
   'Einkauf', 'Tel. 030 4455667', 'Lieferant'),
  ('3', NULL, 'Herr', 'Patrick', 'O''Brien', 'Kastanienweg 3', '50667', 'Köln',
   NULL, NULL, 'Privat'),
  ('4', 'Schreinerei Weiß', 'Herr', 'Klaus', 'Weiß', 'Gartenstraße 44', '70173', 'Stuttgart',
   'Werkstatt', NULL, 'Kunde'),
  ('5', 'Druckhaus Nord GmbH', 'Frau', 'Anke', 'Jansen', 'Hafenstraße 9', '20095', 'Hamburg',
   'Vertrieb', 'Fax 040 998877', 'Lieferant'),
  ('6', NULL, 'Frau', 'Sabine', 'Krüger', 'Schönhauser Allee 80', '10439', 'Berlin',
   NULL, NULL, 'Privat'),
  ('7', 'Elektro Öztürk', 'Herr', 'Mehmet', 'Öztürk', 'Bahnhofstraße 21', '60311',
   'Frankfurt am Main', 'Werkstatt', NULL, 'Kunde'),
  ('8', 'Papierwaren Groß AG', 'Frau', 'Heike', 'Groß', 'Industriestraße 2', '04109', 'Leipzig',
   'Buchhaltung', NULL, 'Lieferant'),
  ('9', NULL, 'Herr', 'Thomas', 'Schäfer', 'Am Mühlbach 7', '01067', 'Dresden',
   NULL, NULL, 'Privat'),
  ('10', 'Steuerbüro Lang', 'Frau Dr.', 'Claudia', 'Lang', 'Marktplatz 1', '90403', 'Nürnberg',
   'Kanzlei', NULL, 'Kunde'),
  ('11', 'Autohaus Brenner', 'Herr', 'Stefan', 'Brenner', 'Ringstraße 15', '28195', 'Bremen',
   'Einkauf', NULL, 'Kunde'),
  ('12', NULL, 'Frau', 'Ursula', 'Hoffmann', 'Rosenweg 4', '53111', 'Bonn',
   NULL, NULL, 'Privat')
)
WHERE NOT EXISTS (SELECT 1 FROM "Adressen");
