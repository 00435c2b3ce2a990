#include "platform/windows1252.h"

#include <array>

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The undefined bytes map to the control character of
// the same number.
constexpr std::array<char16_t, 32> kObererBereich = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char16_t cp1252ZuUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kObererBereich[byte - 0x80];
  return byte;
}

int unicodeZuCp1252(char16_t zeichen) {
  if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF)) return zeichen;
  for (std::size_t i = 0; i < kObererBereich.size(); ++i)
    if (kObererBereich[i] == zeichen) return static_cast<int>(0x80 + i);
  return -1;
}

std::optional<QByteArray> alsWindows1252(QStringView text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (QChar c : text) {
    const int b = unicodeZuCp1252(c.unicode());
    if (b < 0) return std::nullopt;
    bytes.append(static_cast<char>(b));
  }
  return bytes;
}

QString ausWindows1252(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  for (char b : bytes) text.append(QChar(cp1252ZuUnicode(static_cast<unsigned char>(b))));
  return text;
}
