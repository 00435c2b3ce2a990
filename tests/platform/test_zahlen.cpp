#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "platform/zahlen.h"

using namespace zahlen;

namespace {
struct LocaleWechsel {
  explicit LocaleWechsel(QLocale neu) : alt(QLocale()) { QLocale::setDefault(neu); }
  ~LocaleWechsel() { QLocale::setDefault(alt); }
  QLocale alt;
};
}  // namespace

TEST(Zahlen, RundetHalbeZurGeradenZahl) {
  EXPECT_EQ(nint(2.5), 2);
  EXPECT_EQ(nint(3.5), 4);
  EXPECT_EQ(nint(-2.5), -2);
  EXPECT_EQ(nint(-3.5), -4);
  EXPECT_EQ(nint(0.5), 0);
  EXPECT_EQ(nint(1.5), 2);
  EXPECT_EQ(nint(2.4999), 2);
  EXPECT_EQ(nint(-0.6), -1);
}

TEST(Zahlen, GanzzahlumwandlungPrueftBereichUndEndlichkeit) {
  EXPECT_EQ(alsInt16(32767.4), std::optional<int16_t>(32767));
  EXPECT_FALSE(alsInt16(32767.6));
  EXPECT_EQ(alsInt16(-32768.0), std::optional<int16_t>(-32768));
  EXPECT_FALSE(alsInt16(-32769));
  EXPECT_FALSE(alsInt32(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(alsInt32(std::nan("")));
  EXPECT_FALSE(alsInt32(3e9));
  EXPECT_EQ(alsInt32(-2147483648.0), std::optional<int32_t>(INT32_MIN));
  EXPECT_EQ(int16Begrenzt(1e9), 32767);
  EXPECT_EQ(int16Begrenzt(std::nan("")), 0);
  EXPECT_EQ(int32Begrenzt(-1e300), INT32_MIN);
}

TEST(Zahlen, IntUndGanzzahligeDivision) {
  EXPECT_EQ(Int(2.7), 2);
  EXPECT_EQ(Int(-2.1), -3);
  // Operands are rounded (halves to even) before the truncating division.
  EXPECT_EQ(ganzDiv(257, 100), std::optional<double>(2));
  EXPECT_EQ(ganzDiv(9, 2.5), std::optional<double>(4));  // 2.5 rounds to 2
  EXPECT_EQ(ganzDiv(-7, 2), std::optional<double>(-3));
  EXPECT_EQ(ganzDiv(142, 15), std::optional<double>(9));
  EXPECT_EQ(ganzDiv(2.835, 15), std::optional<double>(0));
  EXPECT_FALSE(ganzDiv(5, 0.4));  // divisor rounds to 0
  EXPECT_FALSE(ganzDiv(std::nan(""), 3));
}

TEST(Zahlen, ValLiestDieFuehrendeZahl) {
  EXPECT_EQ(Val(u"7x"), 7);
  EXPECT_EQ(Val(u"x7"), 0);
  EXPECT_DOUBLE_EQ(Val(u".6"), 0.6);
  EXPECT_EQ(Val(u"12,5"), 12);
  EXPECT_DOUBLE_EQ(Val(u"12.7"), 12.7);
  EXPECT_EQ(Val(u"07"), 7);
  EXPECT_EQ(Val(u"7 "), 7);
  EXPECT_EQ(Val(u" 7"), 7);
  EXPECT_EQ(Val(u"0 7"), 7);
  EXPECT_EQ(Val(u"-9"), -9);
  EXPECT_EQ(Val(u"-"), 0);
  EXPECT_EQ(Val(u""), 0);
  EXPECT_EQ(Val(u"1e3"), 1000);
  EXPECT_EQ(Val(u"1e999"), 0);  // not finite: no number
  EXPECT_EQ(Val(u"3.4.5"), 3.4);
}

TEST(Zahlen, LokalLesenUndSchreiben) {
  {
    LocaleWechsel de(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(leseLokal(u"2,5"), std::optional<double>(2.5));
    EXPECT_FALSE(leseLokal(u"2.5x"));
    EXPECT_EQ(schreibeLokal(12.5), QStringLiteral("12,5"));
    EXPECT_EQ(schreibeLokal(12.5f), QStringLiteral("12,5"));
    EXPECT_EQ(schreibeLokal(100000.0), QStringLiteral("100000"));
  }
  {
    LocaleWechsel c(QLocale(QLocale::C));
    EXPECT_EQ(leseLokal(u" 2.5 "), std::optional<double>(2.5));
    EXPECT_FALSE(leseLokal(u""));
    EXPECT_EQ(schreibeLokal(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(schreibeLokal(-3.0), QStringLiteral("-3"));
  }
}

TEST(Zahlen, PunktUndDateizahlenUnabhaengigVomLocale) {
  LocaleWechsel de(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(lesePunkt(u"12.5"), std::optional<double>(12.5));
  EXPECT_FALSE(lesePunkt(u"12,5"));
  EXPECT_EQ(schreibePunkt(12.5), QStringLiteral("12.5"));
  EXPECT_EQ(schreibePunkt(100), QStringLiteral("100"));
  EXPECT_EQ(leseDateiZahl(u"12,5"), std::optional<double>(12.5));
  EXPECT_EQ(leseDateiZahl(u"12.5"), std::optional<double>(12.5));
  EXPECT_EQ(leseDateiZahl(u"-1"), std::optional<double>(-1));
  EXPECT_FALSE(leseDateiZahl(u"1.000,5"));
  EXPECT_FALSE(leseDateiZahl(u"abc"));
  EXPECT_FALSE(leseDateiZahl(u""));
  EXPECT_FALSE(leseDateiZahl(u"1e400"));
}
