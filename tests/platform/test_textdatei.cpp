#include <QDir>
#include <QFileInfo>

#include "gemeinsam/voller_datentraeger.h"
#include "io/dateitest.h"
#include "platform/textdatei.h"

using namespace textdatei;

TEST(Windows1252, ObererBereichWeichtVonLatin1Ab) {
  // The bytes 0x80 to 0x9F carry typographic characters, not control characters.
  const struct {
    unsigned char byte;
    char16_t zeichen;
  } faelle[] = {{0x80, 0x20AC}, {0x84, 0x201E}, {0x85, 0x2026}, {0x8A, 0x0160},
                {0x93, 0x201C}, {0x96, 0x2013}, {0x99, 0x2122}, {0x9F, 0x0178}};
  for (const auto& f : faelle) {
    const char b = static_cast<char>(f.byte);
    EXPECT_EQ(ausWindows1252(QByteArrayView(&b, 1)), QString(QChar(f.zeichen))) << int(f.byte);
    EXPECT_EQ(alsWindows1252(QString(QChar(f.zeichen))), QByteArray(1, b)) << int(f.byte);
  }
  EXPECT_EQ(alsWindows1252(QStringLiteral("Grüße äöüÄÖÜß")),
            QByteArray("Gr\xFC\xDF"
                       "e \xE4\xF6\xFC\xC4\xD6\xDC\xDF"));
}

TEST(Windows1252, JedesByteKommtUnveraendertZurueck) {
  QByteArray alle;
  for (int b = 0; b < 256; ++b) alle.append(static_cast<char>(b));
  const QString text = ausWindows1252(alle);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(alsWindows1252(text), alle);
  // The undefined bytes stand for the control characters of the same number.
  EXPECT_EQ(text.at(0x81), QChar(0x81));
  EXPECT_EQ(text.at(0x9D), QChar(0x9D));
}

TEST(Windows1252, ZeichenAusserhalbDerCodeseiteWerdenErkannt) {
  EXPECT_FALSE(alsWindows1252(QStringLiteral("Łódź")));
  EXPECT_FALSE(alsWindows1252(QString(QChar(0x80))));  // a C1 control the code page lacks
  EXPECT_FALSE(alsWindows1252(QStringLiteral("Smiley \U0001F600")));
  EXPECT_FALSE(alsWindows1252(QStringLiteral("€ und ✓")));
  EXPECT_TRUE(alsWindows1252(QStringLiteral("€ – „Zitat“ … ™")));
}

TEST(Dekodieren, BomUtf8UndWindows1252) {
  // A byte-order mark: UTF-8, the mark dropped.
  EXPECT_EQ(dekodieren("\xEF\xBB\xBFH\xC3\xB6he"), QStringLiteral("Höhe"));
  // Valid UTF-8 with multi-byte sequences and no mark.
  EXPECT_EQ(dekodieren("H\xC3\xB6he"), QStringLiteral("Höhe"));
  // Windows-1252: single high bytes are no valid UTF-8.
  EXPECT_EQ(dekodieren("H\xF6he \x80"), QStringLiteral("Höhe €"));
  // A cut-off UTF-8 sequence is not UTF-8.
  EXPECT_EQ(dekodieren("ab\xC3"), QStringLiteral("abÃ"));
  // UTF-16 after its mark, in either byte order.
  EXPECT_EQ(dekodieren(QByteArray("\xFF\xFEH\0\xF6\0h\0\xAC\x20", 10)), QStringLiteral("Höh€"));
  EXPECT_EQ(dekodieren(QByteArray("\xFE\xFF\0H\0\xF6\0h\x20\xAC", 10)), QStringLiteral("Höh€"));
  // Plain ASCII.
  EXPECT_EQ(dekodieren("QX Datenfile"), QStringLiteral("QX Datenfile"));
  EXPECT_TRUE(dekodieren("").isEmpty());
}

TEST(Zeilen, JedeArtZeilenendeEndetEineZeile) {
  EXPECT_EQ(zeilenTeilen(u"a\r\nb\r\n"), QStringList({"a", "b"}));
  EXPECT_EQ(zeilenTeilen(u"a\nb"), QStringList({"a", "b"}));
  EXPECT_EQ(zeilenTeilen(u"a\r\n\r\nb\n\n"), QStringList({"a", "", "b", ""}));
  EXPECT_EQ(zeilenTeilen(u"\r\n"), QStringList({""}));
  EXPECT_TRUE(zeilenTeilen(u"").isEmpty());
  // CR only, as old Mac editors save.
  EXPECT_EQ(zeilenTeilen(u"a\rb\r\rc\r"), QStringList({"a", "b", "", "c"}));
  // CR CR LF: CR LF converted once more is still one line end.
  EXPECT_EQ(zeilenTeilen(u"a\r\r\nb\r\r\n\r\r\nc"), QStringList({"a", "b", "", "c"}));
}

TEST(Zeilen, ZeilenumbruchImWertWirdZumLeerzeichen) {
  EXPECT_EQ(einzeilig(QStringLiteral("a\r\nb\nc\rd")), QStringLiteral("a b c d"));
  EXPECT_EQ(einzeilig(QStringLiteral("ohne")), QStringLiteral("ohne"));
  EXPECT_EQ(kodieren({QStringLiteral("eins\nzwei"), QStringLiteral("drei")}),
            QByteArray("eins zwei\r\ndrei\r\n"));
}

TEST(Kodieren, Windows1252OderUtf8MitBom) {
  // Everything fits: the classic format, byte for byte.
  EXPECT_EQ(kodieren({QStringLiteral("Straße"), QStringLiteral("€")}), QByteArray("Stra\xDF"
                                                                                  "e\r\n\x80\r\n"));
  // A character the code page cannot hold: the whole file as UTF-8 with a mark.
  const QStringList polnisch = {QStringLiteral("Straße"), QStringLiteral("Łódź")};
  const QByteArray utf8 = kodieren(polnisch);
  EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(zeilenTeilen(dekodieren(utf8)), polnisch);
  // Windows-1252 text whose bytes would read as UTF-8 ("Ã¼" is C3 BC) keeps its
  // characters through UTF-8 with a mark.
  const QStringList taeuschend = {QStringLiteral("Ã¼")};
  const QByteArray b = kodieren(taeuschend);
  EXPECT_TRUE(b.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(zeilenTeilen(dekodieren(b)), taeuschend);
}

TEST(DateiLesenSchreiben, RundlaufUndFehler) {
  QTemporaryDir ordner;
  const QString pfad = ordner.filePath(QStringLiteral("a.txt"));
  const QStringList zeilen = {QStringLiteral("Größe"), QString(), QStringLiteral("Ende")};
  QString fehler;
  ASSERT_TRUE(schreiben(pfad, zeilen, &fehler)) << fehler.toStdString();
  EXPECT_EQ(dateiInhalt(pfad), QByteArray("Gr\xF6\xDF"
                                          "e\r\n\r\nEnde\r\n"));
  const Leseergebnis gelesen = lesen(pfad);
  ASSERT_TRUE(gelesen.ok);
  EXPECT_EQ(gelesen.zeilen, zeilen);

  const Leseergebnis fehlt = lesen(ordner.filePath(QStringLiteral("gibtsnicht.txt")));
  EXPECT_FALSE(fehlt.ok);
  EXPECT_TRUE(fehlt.fehlt);

  const Leseergebnis ordnerLesen = lesen(ordner.path());
  EXPECT_FALSE(ordnerLesen.ok);
  EXPECT_FALSE(ordnerLesen.fehler.isEmpty());

  const Leseergebnis zuGross = lesen(pfad, 5);
  EXPECT_FALSE(zuGross.ok);

  // A target that cannot be written fails with a reason and leaves what is there alone.
  ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("besetzt")));
  EXPECT_FALSE(schreiben(ordner.filePath(QStringLiteral("besetzt")), zeilen, &fehler));
  EXPECT_FALSE(fehler.isEmpty());
  EXPECT_TRUE(QFileInfo(ordner.filePath(QStringLiteral("besetzt"))).isDir());
  EXPECT_FALSE(schreiben(ordner.filePath(QStringLiteral("fehlt/a.txt")), zeilen, &fehler));
  // No temporary files are left behind.
  EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files), QStringList({"a.txt"}));
}

// A file written in pieces on a disk that fills up: the full disk is named as the reason,
// further pieces are refused, and the old file stays, with no other file left.
TEST(DateiLesenSchreiben, VollerDatentraegerWirdGenannt) {
  VOLLER_DATENTRAEGER(voll);
  voll.alteDatei(QStringLiteral("a.txt"), "alt");
  Schreibdatei datei(voll.pfad(QStringLiteral("a.txt")));
  ASSERT_TRUE(datei.oeffnen());
  int stuecke = 0;
  while (stuecke < 64 && datei.write(QByteArray(1000, 'x')) == 1000) ++stuecke;
  EXPECT_FALSE(datei.festschreiben());
  EXPECT_EQ(datei.grund(), QStringLiteral("Der Datenträger ist voll."));
  EXPECT_EQ(datei.write("x"), -1);
  EXPECT_EQ(voll.inhalt(QStringLiteral("a.txt")), "alt");
  EXPECT_EQ(voll.dateien(), QStringList({"a.txt", "fuellung"}));
}
