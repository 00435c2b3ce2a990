#include "platform/codepages.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include "platform/windows1252.h"

namespace codepages {

namespace {

// Qt's converter for a Windows code page number. Mac code pages that Qt has no converter
// of its own for are read by the encoding they extend (Mac Japanese is Shift_JIS with a
// few more characters) or, for the Latin ones, as Mac Roman, whose ASCII half and most
// letters they share. An invalid decoder when Qt knows none.
QStringDecoder dekodierer(int codepage) {
  struct Name {
    int codepage;
    const char* name;
  };
  static constexpr Name kNamen[] = {
      {65001, "UTF-8"},          {10000, "macintosh"},      {10001, "Shift_JIS"},
      {10002, "Big5"},           {10003, "EUC-KR"},         {10006, "x-mac-greek"},
      {10007, "x-mac-cyrillic"}, {10008, "GB2312"},         {10029, "x-mac-centraleurroman"},
      {10081, "x-mac-turkish"},  {10017, "x-mac-cyrillic"}, {20127, "US-ASCII"},
      {28591, "ISO-8859-1"},     {20866, "KOI8-R"},         {21866, "KOI8-U"},
      {50220, "ISO-2022-JP"},    {51932, "EUC-JP"},         {51949, "EUC-KR"},
      {54936, "GB18030"},
  };
  for (const Name& n : kNamen) {
    if (n.codepage == codepage) return QStringDecoder(n.name);
  }
  const QByteArray nummer = QByteArray::number(codepage);
  for (const char* vorsatz : {"windows-", "IBM", "cp"}) {
    QStringDecoder d((vorsatz + nummer).constData());
    if (d.isValid()) return d;
  }
  if (codepage >= 10000 && codepage < 10100) return QStringDecoder("macintosh");
  return QStringDecoder();
}

// The characters of the Symbol font (character set 2) from 0x20 on, as Unicode: its bytes
// are Greek letters and mathematical signs, also where other fonts have ASCII ("a" is
// alpha). 0 where Unicode has no character of its own; such a byte is read as in 1252.
constexpr char16_t kSymbolschrift[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,  // 20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,  // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 38
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,  // 48
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,  // 58
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,  // 68
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x0000,  // 78
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 80
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 88
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 90
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 98
    0x0000, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // A0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // B0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x0000, 0x0000, 0x21B5,  // B8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // C0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // C8
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // D0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // D8
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x0000, 0x0000,  // E0
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // E8
    0x0000, 0x232A, 0x222B, 0x2320, 0x0000, 0x2321, 0x0000, 0x0000,  // F0
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // F8
};

}  // namespace

int zuZeichensatz(int zeichensatz) {
  switch (zeichensatz) {
    case 0:
    case 2:
      return 1252;
    case 77:
      return 10000;
    case 78:
      return 10001;
    case 79:
      return 10003;
    case 80:
      return 10008;
    case 81:
      return 10002;
    case 83:
      return 10005;
    case 84:
      return 10004;
    case 85:
      return 10006;
    case 86:
      return 10081;
    case 87:
      return 10021;
    case 88:
      return 10029;
    case 89:
      return 10007;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 254:
      return 437;
    case 255:
      return 850;
    default:
      return 0;
  }
}

QString dekodieren(const QByteArray& bytes, int codepage) {
  if (codepage == 1252 || codepage <= 0) return ausWindows1252(bytes);
  QStringDecoder d = dekodierer(codepage);
  if (!d.isValid()) return ausWindows1252(bytes);
  return d.decode(bytes);
}

QString dekodieren(const QByteArray& bytes, bool utf8, int codepage) {
  if (!utf8) return dekodieren(bytes, codepage);
  QStringDecoder dekodierer(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = dekodierer.decode(bytes);
  return dekodierer.hasError() ? dekodieren(bytes, codepage) : text;
}

char16_t ausSymbolschrift(char16_t zeichen) {
  const char16_t byte = zeichen >= 0xF000 && zeichen <= 0xF0FF ? zeichen - 0xF000 : zeichen;
  if (byte < 0x20 || byte > 0xFF || kSymbolschrift[byte - 0x20] == 0) return zeichen;
  return kSymbolschrift[byte - 0x20];
}

Quelle quelle(const QByteArray& daten) {
  const auto umwandeln = [&](QStringDecoder::Encoding kodierung, qsizetype marke) {
    QStringDecoder dekodierer(kodierung);
    const QString text = dekodierer.decode(QByteArrayView(daten).sliced(marke));
    return Quelle{text.toUtf8(), true};
  };
  if (daten.startsWith("\xEF\xBB\xBF")) return {daten.mid(3), true};
  if (daten.startsWith(QByteArrayView("\xFF\xFE\0\0", 4))) {
    return umwandeln(QStringDecoder::Utf32LE, 4);
  }
  if (daten.startsWith(QByteArrayView("\0\0\xFE\xFF", 4))) {
    return umwandeln(QStringDecoder::Utf32BE, 4);
  }
  if (daten.startsWith("\xFF\xFE")) return umwandeln(QStringDecoder::Utf16LE, 2);
  if (daten.startsWith("\xFE\xFF")) return umwandeln(QStringDecoder::Utf16BE, 2);
  if (daten.startsWith(QByteArrayView("{\0\\\0", 4))) return umwandeln(QStringDecoder::Utf16LE, 0);
  if (daten.startsWith(QByteArrayView("\0{\0\\", 4))) return umwandeln(QStringDecoder::Utf16BE, 0);
  return {daten, false};
}

}  // namespace codepages
