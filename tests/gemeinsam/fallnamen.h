// Readable names for the cases of a parameterised test. GoogleTest and CTest show them in
// place of the case's number and bytes, so a case keeps its name from build to build and
// `ctest --rerun-failed` finds it again.
#pragma once

#include <QString>
#include <cctype>
#include <string>
#include <string_view>
#include <utility>

// A text as a case name: ASCII letters and digits stay, umlauts and ß are spelt out, a few
// signs become words ("-" minus, "." Punkt, "," Komma, "°" Grad), anything else "_"; an
// empty text is "leer".
inline std::string Fallname(std::string_view text) {
  static constexpr std::pair<char16_t, const char*> kWoerter[] = {
      {u'ä', "ae"}, {u'ö', "oe"},    {u'ü', "ue"},    {u'Ä', "Ae"},    {u'Ö', "Oe"},  {u'Ü', "Ue"},
      {u'ß', "ss"}, {u'-', "minus"}, {u'.', "Punkt"}, {u',', "Komma"}, {u'°', "Grad"}};
  if (text.empty()) return "leer";
  std::string name;
  for (const QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
    const char16_t u = c.unicode();
    if (u < 128 && std::isalnum(u)) {
      name += static_cast<char>(u);
      continue;
    }
    const char* wort = "_";
    for (const auto& [zeichen, ersatz] : kWoerter)
      if (zeichen == u) wort = ersatz;
    name += wort;
  }
  return name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: each case is named Fallname(benennen(p))
// for its parameter p.
template <class Benennen>
auto benannt(Benennen benennen) {
  return [benennen](const auto& info) { return Fallname(benennen(info.param)); };
}
