// A visitor of a std::variant made of one handler per alternative:
//   std::visit(Ueberladen{[](int i) { ... }, [](const QString& t) { ... }}, wert);
#pragma once

template <class... F>
struct Ueberladen : F... {
  using F::operator()...;
};
