// The control words of rich text (RTF) that the reader understands, and what each means.
#pragma once

#include <string_view>
#include <unordered_map>

namespace rtf {

enum class Wort {
  Unbekannt,
  Par,
  Page,
  Pagebb,
  Sect,
  Sectd,
  SbkSeite,
  SbkOhne,
  Line,
  Tab,
  Pard,
  Plain,
  B,
  I,
  Ul,
  UlNone,
  Strike,
  Caps,
  Scaps,
  V,
  Fs,
  F,
  Cf,
  Super,
  Sub,
  NoSuperSub,
  Ql,
  Qr,
  Qc,
  Qj,
  Li,
  Ri,
  Fi,
  Sb,
  Sa,
  Tx,
  Tqr,
  Tqc,
  Tqdec,
  Uc,
  U,
  Deff,
  Ansicpg,
  Ansi,
  Mac,
  Pc,
  Pca,
  Deftab,
  Fcharset,
  Cpg,
  Red,
  Green,
  Blue,
  Fonttbl,
  Colortbl,
  Upr,
  Ud,
  Ueberspringen,
  Zeichen
};

struct Worteintrag {
  Wort wort;
  char16_t zeichen = 0;
};

// Every control word the reader knows: emphasis, fonts, paragraphs, tables of fonts and
// colours, the characters some words stand for, and the destinations it skips. A word not
// in the table is skipped.
const std::unordered_map<std::string_view, Worteintrag>& worttabelle();

}  // namespace rtf
