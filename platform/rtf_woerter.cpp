#include "platform/rtf_woerter.h"

#include <algorithm>

namespace rtf {

namespace {

// Destinations whose content is not letter text.
constexpr std::string_view kUebersprungeneZiele =
    "stylesheet info pict object header headerl headerr headerf footer footerl "
    "footerr footerf footnote annotation fldinst xe tc txe rxe bkmkstart bkmkend "
    "listtable listoverridetable revtbl rsidtbl themedata colorschememapping "
    "datastore latentstyles xmlnstbl filetbl generator nonshppict shp do private "
    "userprops docvar pgdsctbl ftnsep ftnsepc aftnsep aftnsepc ftncn aftncn atnid "
    "atnauthor atndate atnicn atnref atntime atrfstart atrfend author operator title "
    "subject keywords comment doccomm company manager category hlinkbase buptim "
    "creatim revtim printim mmathPr template passwordhash protusertbl wgrffmtfilter "
    "fchars lchars blipuid objdata sv sn sp panose falt fname pn pntxta pntxtb "
    "background nesttableprops nonesttables mhtmltag htmltag pgptbl xform";

}  // namespace

const std::unordered_map<std::string_view, Worteintrag>& worttabelle() {
  static const std::unordered_map<std::string_view, Worteintrag> tabelle = [] {
    std::unordered_map<std::string_view, Worteintrag> t = {
        {"par", {Wort::Par}},
        {"sect", {Wort::Sect}},
        {"sectd", {Wort::Sectd}},
        {"sbkpage", {Wort::SbkSeite}},
        {"sbkodd", {Wort::SbkSeite}},
        {"sbkeven", {Wort::SbkSeite}},
        {"sbknone", {Wort::SbkOhne}},
        {"sbkcol", {Wort::SbkOhne}},
        {"page", {Wort::Page}},
        {"column", {Wort::Par}},
        {"pagebb", {Wort::Pagebb}},
        {"row", {Wort::Par}},
        {"nestrow", {Wort::Par}},
        {"line", {Wort::Line}},
        {"tab", {Wort::Tab}},
        {"cell", {Wort::Tab}},
        {"nestcell", {Wort::Tab}},
        {"pard", {Wort::Pard}},
        {"plain", {Wort::Plain}},
        {"b", {Wort::B}},
        {"i", {Wort::I}},
        {"ulnone", {Wort::UlNone}},
        {"strike", {Wort::Strike}},
        {"striked", {Wort::Strike}},
        {"caps", {Wort::Caps}},
        {"scaps", {Wort::Scaps}},
        {"v", {Wort::V}},
        {"fs", {Wort::Fs}},
        {"f", {Wort::F}},
        {"cf", {Wort::Cf}},
        {"super", {Wort::Super}},
        {"sub", {Wort::Sub}},
        {"nosupersub", {Wort::NoSuperSub}},
        {"ql", {Wort::Ql}},
        {"qr", {Wort::Qr}},
        {"qc", {Wort::Qc}},
        {"qj", {Wort::Qj}},
        {"qd", {Wort::Qj}},
        {"li", {Wort::Li}},
        {"ri", {Wort::Ri}},
        {"fi", {Wort::Fi}},
        {"sb", {Wort::Sb}},
        {"sa", {Wort::Sa}},
        {"tx", {Wort::Tx}},
        {"tqr", {Wort::Tqr}},
        {"tqc", {Wort::Tqc}},
        {"tqdec", {Wort::Tqdec}},
        {"uc", {Wort::Uc}},
        {"u", {Wort::U}},
        {"deff", {Wort::Deff}},
        {"ansicpg", {Wort::Ansicpg}},
        {"ansi", {Wort::Ansi}},
        {"mac", {Wort::Mac}},
        {"pc", {Wort::Pc}},
        {"pca", {Wort::Pca}},
        {"deftab", {Wort::Deftab}},
        {"fcharset", {Wort::Fcharset}},
        {"cpg", {Wort::Cpg}},
        {"red", {Wort::Red}},
        {"green", {Wort::Green}},
        {"blue", {Wort::Blue}},
        {"fonttbl", {Wort::Fonttbl}},
        {"colortbl", {Wort::Colortbl}},
        {"upr", {Wort::Upr}},
        {"ud", {Wort::Ud}},
        {"emdash", {Wort::Zeichen, 0x2014}},
        {"endash", {Wort::Zeichen, 0x2013}},
        {"bullet", {Wort::Zeichen, 0x2022}},
        {"lquote", {Wort::Zeichen, 0x2018}},
        {"rquote", {Wort::Zeichen, 0x2019}},
        {"ldblquote", {Wort::Zeichen, 0x201C}},
        {"rdblquote", {Wort::Zeichen, 0x201D}},
        {"emspace", {Wort::Zeichen, 0x2003}},
        {"enspace", {Wort::Zeichen, 0x2002}},
        {"qmspace", {Wort::Zeichen, 0x2005}},
        {"zwj", {Wort::Zeichen, 0x200D}},
        {"zwnj", {Wort::Zeichen, 0x200C}},
        {"zwbo", {Wort::Zeichen, 0x200B}},
        {"ltrmark", {Wort::Zeichen, 0x200E}},
        {"rtlmark", {Wort::Zeichen, 0x200F}},
    };
    // Every kind of underline reads as underlined.
    for (std::string_view ul : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                                "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
      t[ul] = {Wort::Ul};
    }
    // Destinations whose content is not letter text (kUebersprungeneZiele).
    for (std::string_view rest = kUebersprungeneZiele; !rest.empty();) {
      const size_t luecke = std::min(rest.find(' '), rest.size());
      t[rest.substr(0, luecke)] = {Wort::Ueberspringen};
      rest.remove_prefix(std::min(luecke + 1, rest.size()));
    }
    return t;
  }();
  return tabelle;
}

}  // namespace rtf
