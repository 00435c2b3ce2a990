// Windows-1252, the code page of the files and letters written on Windows: the one table
// of its bytes 0x80 to 0x9F, and text to bytes and back. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the
// same number, as Windows maps them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// The character of a byte.
char16_t cp1252ZuUnicode(unsigned char byte);
// The byte of a character; -1 when the code page has none.
int unicodeZuCp1252(char16_t zeichen);

// The text in Windows-1252; empty when it holds a character that code page cannot hold.
std::optional<QByteArray> alsWindows1252(QStringView text);
// Bytes in Windows-1252 as text.
QString ausWindows1252(QByteArrayView bytes);
