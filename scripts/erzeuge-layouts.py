#!/usr/bin/env python3
"""Writes the shipped document files: the new-document template data/neu.lay and the
five letterhead presets data/Layout1.lay .. data/Layout5.lay.

All six are complete document files (31 frames, 30 texts, no pictures, no lines, one
letter-text element), Windows-1252 with CR LF line ends. Frames 1 to 20 carry the
sender's data typed into the "Name" and "Bank" panels, frames 21 to 30 the address of
the current record inside the address window (20..105 mm from the left, 45..85 mm from
the top), frame 31 the letter body. The presets arrange frames 1 to 20 in five styles.

Run from the repository root: python3 scripts/erzeuge-layouts.py
"""
import os

BLAU = 0 + 256 * 51 + 65536 * 102       # RGB(0, 51, 102)
DUNKELGRAU = 64 + 256 * 64 + 65536 * 64
GRAU = 90 + 256 * 90 + 65536 * 90
HELLGRAU = 192 + 256 * 192 + 65536 * 192

# Sender texts 1..20 (the side-panel fields "Name" and "Bank").
ABSENDER = {
    1: "Muster GmbH",
    2: "Max Mustermann",
    3: "Musterstraße 1",
    4: "12345 Musterstadt",
    5: "Telefon 01234 56789-0",
    6: "Mobil 0171 2345678",
    7: "info@muster-gmbh.de",
    8: "Telefax 01234 56789-9",
    9: "Muster GmbH · Musterstraße 1 · 12345 Musterstadt",
    10: "www.muster-gmbh.de",
    11: "Musterbank Musterstadt",
    12: "BLZ 123 456 78",
    13: "Konto 1234 5678 90",
    14: "Sparkasse Musterstadt",
    15: "BIC MUSTDEM1XXX",
    16: "IBAN DE12 3456 7890 1234 5678 90",
    17: "Volksbank Beispielhausen",
    18: "BLZ 987 654 32",
    19: "Konto 98 7654 3210",
    20: "Sitz der Gesellschaft: Musterstadt · Amtsgericht Musterstadt HRB 12345 · "
        "USt-IdNr. DE123456789",
}

# Typography of texts 1..30: font, size, bold, italic, underline, colour.
def schrift(n):
    if n == 1:
        return ("Arial", 20, True, False, False, BLAU)
    if n == 2:
        return ("Arial", 12, False, False, False, DUNKELGRAU)
    if n == 9:
        return ("Arial", 8, False, False, True, GRAU)
    if n <= 10:
        return ("Arial", 10, False, False, False, DUNKELGRAU)
    if n <= 20:
        return ("Arial", 8, False, False, False, GRAU)
    if n == 28:
        return ("Arial", 10, False, False, False, 0)
    if n >= 29:
        return ("Arial", 8, False, False, False, GRAU)
    return ("Arial", 12, False, False, False, 0)


# Frame geometry: number -> (x, y, width, height, AusrichtungH, AusrichtungV, angle)
def feste_rahmen():
    r = {}
    # Address of the current record in the address window.
    r[21] = (250, 560, 750, 50, 0, 1, 0)   # Firma
    r[22] = (250, 610, 750, 50, 0, 1, 0)   # Anrede
    r[23] = (250, 660, 260, 50, 0, 1, 0)   # Vorname
    r[24] = (520, 660, 480, 50, 0, 1, 0)   # Nachname
    r[25] = (250, 710, 750, 50, 0, 1, 0)   # Straße
    r[26] = (250, 760, 130, 50, 0, 1, 0)   # PLZ
    r[27] = (390, 760, 610, 50, 0, 1, 0)   # Ort
    r[28] = (250, 810, 750, 35, 0, 1, 0)   # Sonstiges 1
    r[29] = (1100, 800, 200, 40, 0, 0, 0)  # Sonstiges 2 (never printed)
    r[30] = (1100, 840, 200, 40, 0, 0, 0)  # Kategorie (never printed)
    return r


RUECKSENDEZEILE = (200, 470, 850, 35, 0, 1, 0)


def fusszeile_spalten(ausrichtung):
    """Bank data in three columns, one bank each, and the legal line below."""
    r = {}
    for spalte, x in enumerate((200, 780, 1360)):
        for zeile in range(3):
            r[11 + 3 * spalte + zeile] = (x, 2700 + 35 * zeile, 540, 35, ausrichtung, 1, 0)
    r[20] = (200, 2830, 1700, 35, ausrichtung, 1, 0)
    return r


# Contacts 3 to 8 and 10 (phone, mobile, mail, fax, web) in the order they stand.
KONTAKTE = (3, 4, 5, 6, 7, 8, 10)


def kontaktspalte(firma, name, spalte, hoehen, fuss):
    """A preset with company and name frames of its own, the return line, the contacts in
    one column (x, width, height, alignment) at the given heights, and the bank columns in
    the footer with the given alignment."""
    x, breite, hoehe, ausrichtung = spalte
    r = {1: firma, 2: name, 9: RUECKSENDEZEILE}
    for n, y in zip(KONTAKTE, hoehen):
        r[n] = (x, y, breite, hoehe, ausrichtung, 1, 0)
    r.update(fusszeile_spalten(fuss))
    return r


def vorlage():
    """The template: company and name at the top left, contacts right-aligned at the top
    right, return line over the address window, bank columns in the footer."""
    return kontaktspalte((200, 150, 1000, 100, 0, 1, 0), (200, 260, 1000, 60, 0, 1, 0),
                         (1300, 600, 45, 2), (150, 195, 255, 300, 345, 390, 435), 0)


def layout1():
    """Centred classic: everything on the middle axis; paired lines meet at the middle."""
    r = {
        1: (200, 100, 1700, 100, 1, 1, 0),
        2: (200, 200, 1700, 55, 1, 1, 0),
        9: RUECKSENDEZEILE,
        10: (200, 400, 1700, 45, 1, 1, 0),
    }
    for links, rechts, y in ((3, 4, 265), (5, 8, 310), (6, 7, 355)):
        r[links] = (200, y, 840, 45, 2, 1, 0)
        r[rechts] = (1060, y, 840, 45, 0, 1, 0)
    r.update(fusszeile_spalten(1))
    return r


def layout2():
    """Information block: company and name at the top left, the contacts in a column beside
    the address window."""
    return kontaktspalte((200, 130, 1100, 100, 0, 1, 0), (200, 240, 1100, 55, 0, 1, 0),
                         (1250, 650, 45, 0), (470, 515, 580, 625, 670, 715, 780), 0)


def layout3():
    """Right-aligned block: one column flush with the right margin, footer flush right."""
    return kontaktspalte((900, 100, 1000, 100, 2, 1, 0), (900, 200, 1000, 55, 2, 1, 0),
                         (1200, 700, 40, 2), (270, 310, 360, 400, 440, 480, 530), 2)


def layout4():
    """Vertical name: company and name turned by 90 degrees along the left edge, contacts
    left-aligned at the top right."""
    return kontaktspalte((30, 900, 130, 1700, 1, 1, 90), (140, 900, 60, 1700, 1, 1, 90),
                         (1300, 600, 45, 0), (150, 195, 255, 300, 345, 390, 435), 0)


def layout5():
    """Compact top line: company and name on one line, the contacts in two thin rows below;
    the footer holds one bank per row."""
    r = {
        1: (200, 80, 900, 100, 0, 2, 0),
        2: (1100, 80, 800, 100, 2, 2, 0),
        9: RUECKSENDEZEILE,
    }
    for n, x, a in ((3, 200, 0), (4, 625, 1), (5, 1050, 1), (6, 1475, 2)):
        r[n] = (x, 190, 425, 40, a, 1, 0)
    for n, x, a in ((7, 200, 0), (8, 767, 1), (10, 1333, 2)):
        r[n] = (x, 235, 567, 40, a, 1, 0)
    for bank in range(3):
        for feld, x in enumerate((200, 770, 1340)):
            r[11 + 3 * bank + feld] = (x, 2700 + 35 * bank, 560, 35, 0, 1, 0)
    r[20] = (200, 2830, 1700, 35, 1, 1, 0)
    return r


def flag(b):
    return "-1" if b else "0"


def dokument(absender_rahmen):
    rahmen = dict(feste_rahmen())
    rahmen.update(absender_rahmen)
    assert sorted(rahmen) == list(range(1, 31)), sorted(rahmen)
    z = ["QX Datenfile", "QX Marvolant", "Version 4.00"] + ["Reserve"] * 6
    z += ["Rahmen", "31"]
    for n in range(1, 31):
        x, y, b, h, _, _, _ = rahmen[n]
        # Address frames start visible (an empty field hides its frame when drawn);
        # 28 to 30 start hidden.
        sichtbar = n <= 27
        z += [str(b), str(h), str(n), "Schrift", flag(sichtbar), "0", "0", str(x), str(y), str(n)]
    z += ["1700", "1600", "1", "RTF", "-1", "0", "0", "200", "1000", "31"]
    z += ["Schrift", "30"]
    for n in range(1, 31):
        x, y, b, h, ah, av, winkel = rahmen[n]
        name, groesse, fett, kursiv, unterstrichen, farbe = schrift(n)
        text = ABSENDER.get(n, "")
        # Sonstiges 2 and Kategorie are kept in the address record but never printed.
        element_sichtbar = n < 29
        z += [
            str(winkel), str(ah), str(av), flag(fett), "0", str(farbe), "0", "0",
            "1" if n == 1 else "0", name, str(groesse), str(h), flag(kursiv), "45",
            str(HELLGRAU), "0", "0", "0", "0", "0", text, str(y), flag(unterstrichen),
            str(b), str(x), "0", flag(element_sichtbar),
        ]
    z += ["Bild", "0", "Linie", "0", "RTF", "1", "RTF1.rtf", "-1"]
    return z


def schreiben(pfad, zeilen):
    with open(pfad, "wb") as f:
        f.write("".join(zeile + "\r\n" for zeile in zeilen).encode("cp1252"))


def main():
    ordner = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    schreiben(os.path.join(ordner, "neu.lay"), dokument(vorlage()))
    for nummer, layout in enumerate((layout1, layout2, layout3, layout4, layout5), start=1):
        schreiben(os.path.join(ordner, "Layout%d.lay" % nummer), dokument(layout()))


if __name__ == "__main__":
    main()
