// How GoogleTest prints Qt texts: as the text in quotes, not as the bytes of the object.
// tests/CMakeLists.txt puts this header in front of every test source, so that every test
// program prints texts the same way.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
