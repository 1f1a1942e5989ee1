#include "coupling/series.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/utf8.h"
#include "coupling/text.h"

namespace {

using Values = std::array<double, 6>;

TEST(Series, ReadsWhatSpreadsheetsWrite) {
  const Values example = {265, 530, 69, 2689, 0.8, 12};
  const struct {
    const char* title;
    std::string text;
    std::vector<std::pair<std::string, Values>> sizes;
    std::vector<std::pair<int, std::string>> ignored;
    bool decimalComma;
  } cases[] = {
      {"tabs, as a spreadsheet copies",
       "38\t265\t530\t69\t2689\t0.8\t12\n\n42\t420\t840\t110\t4400\t0.8\t18\n",
       {{"38", example}, {"42", {420, 840, 110, 4400, 0.8, 18}}},
       {},
       false},
      {"semicolons and decimal commas, a point between thousands",
       "GR 38;265;530;69;2689;0,8;12\r\nGR 90;1.250,5;2.501;300;12.000;1;40\r\n",
       {{"GR 38", example}, {"GR 90", {1250.5, 2501, 300, 12000, 1, 40}}},
       {},
       true},
      {"commas between quoted fields",
       "\"GR \"\"38\"\"\",\"265\",530,69,2689,\"0,8\",12\n",
       {{"GR \"38\"", example}},
       {},
       true},
      {"a header in another order, with kilo units",
       "PKW [kW];Cdyn [kNm/rad];Typ;psi;tkw;TKmax (kNm);TKN [Nm];Bemerkung\n"
       "0,012;2,689;B4;0,8;69;0,53;265;x\n",
       {{"B4", example}},
       {},
       true},
      {"lines that cannot be read, a byte-order mark",
       "\xEF\xBB\xBFGröße;TKN;TKmax;TKW;Cdyn;psi;PKW\n38;265;530;69;2689;0,8;12\n39;1;2\n"
       "40;265;viel;69;2689;0,8;12\n41;265;530;69;2689;0.8;12\n",
       {{"38", example}},
       {{3, "zu wenige Spalten (3 statt 7)"},
        {4, "TKmax ist keine Zahl"},
        {5, "psi ist keine Zahl"}},  // a point in a table with decimal commas
       true},
      {"Windows-1252",
       "Gr\xF6\xDF"
       "e 38\xA0\x80;265;530;69;2689;0,8;12\n",
       {{"Größe 38\u00a0€", example}},
       {},
       true},
      {"values no one builds: infinite, not a number, hexadecimal, too large, zero",
       "X1;inf;530;69;2689;0,8;12\nX2;265;NaN;69;2689;0,8;12\nX3;265;530;0x10;2689;0,8;"
       "12\n"
       "X4;265;530;69;1e999;0,8;12\nX5;265;530;69;2689;0;12\nX6;265;530;69;2689;0,8;-12\n"
       "X7;265;530;69;2689;0,8;12\n",
       {{"X7", example}},
       {{1, "TKN ist keine endliche Zahl"},
        {2, "TKmax ist keine endliche Zahl"},
        {3, "TKW ist keine Zahl"},
        {4, "Cdyn ist keine endliche Zahl"},
        {5, "psi ist nicht positiv"},
        {6, "PKW ist nicht positiv"}},
       true},
      {"no header, a notes column: the first line is the smallest size",
       "B1;60;120;16;600;0,8;4;klein\nB4;265;530;69;2689;0,8;12;\n",
       {{"B1", {60, 120, 16, 600, 0.8, 4}}, {"B4", example}},
       {},
       true},
      {"a first line with a typo is a size that is named, not a header",
       "B1;60;12O;16;600;0.8;4\nB4;265;530;69;2689;0.8;12\n",
       {{"B4", example}},
       {{1, "TKmax ist keine Zahl"}},
       false},
      {"a header without data rows", "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n", {}, {}, false},
      {"a header without a name column: sizes named by their lines",
       "TKN;TKmax;TKW;Cdyn;psi;PKW\n265;530;69;2689;0.8;12;extra\n265;530;69;2689;0.8;"
       "12\n",
       {{"Zeile 2", example}, {"Zeile 3", example}},
       {},
       false},
      {"kilo units with three decimals move the point, exactly",
       "Typ;TKN [kNm];TKmax [kNm];TKW;Cdyn [kNm/rad];psi;PKW [kW]\n"
       "A;0,265;0,53;69;2,689;0,8;0,012\nB;1,005;2,01;69;1.000,001;0,8;1\n",
       {{"A", example}, {"B", {1005, 2010, 69, 1000001, 0.8, 1000}}},
       {},
       true},
      {"an unknown unit",
       "TKN [lbft];TKmax;TKW;Cdyn;psi;PKW\n1;2;3;4;5;6\n",
       {},
       {{1, "die Einheit \u201Elbft\u201C von TKN ist unbekannt; gelesen wird nichts"}},
       false},
      {"a header naming five of the six is refused: the sixth could be any",
       "Groesse;TKN [kNm];TKmax [kNm];TKW [kNm];Cdyn [kNm/rad];Daempfung;PKW [W]\n"
       "B4;0,265;0,53;0,069;2,689;0,8;12\n",
       {},
       {{1,
         "die Kopfzeile nennt nicht alle sechs Werte mit Namen, es fehlt psi; gelesen "
         "wird nichts"}},
       false},
      {"a header naming two: both missing named",
       "Groesse;TKmax;TKN;A;B;C;D\nB4;530;265;69;2689;0,8;12\n",
       {},
       {{1,
         "die Kopfzeile nennt nicht alle sechs Werte mit Namen, es fehlen TKW, Cdyn, "
         "psi, PKW; gelesen wird nichts"}},
       false},
      {"own titles: dialog d's order, their units whatever the title, a remark's comma "
       "deciding nothing",
       "Typ;Nennmoment [kNm];Max (kNm);Wechsel;Steife [kNm/rad];D\u00e4mpfung "
       "[-];Verlust\n"
       "Hinweis;Werte lt. Katalog, S. 3\nB4;0.265;0.53;69;2.689;0.8;12\n",
       {{"B4", example}},
       {{2, "zu wenige Spalten (2 statt 7)"}},
       false},
      {"a line of units under the header",
       "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n;[kNm];[kNm];[Nm];[kNm/rad];;[kW]\n"
       "B4;0,265;0,53;69;2,689;0,8;0,012\n",
       {{"B4", example}},
       {},
       true},
      {"a unit that differs between the header and its line",
       "Typ;TKN [Nm];TKmax;TKW;Cdyn;psi;PKW\nEinheit;[kNm];[kNm];[Nm];[kNm/rad];;[kW]\n"
       "B4;0,265;0,53;69;2,689;0,8;0,012\n",
       {},
       {{1, "die Einheit von TKN steht zweimal verschieden da; gelesen wird nichts"}},
       false},
      {"names not UTF-8 as Windows-1252: an overlong form, a surrogate, past U+10FFFF",
       "B\xE0\x80\xBC;265;530;69;2689;0.8;12\nB\xED\xA0\x80;265;530;69;2689;0.8;12\n"
       "B\xF4\x90\x80\x80;265;530;69;2689;0.8;12\n",
       {{"B\u00e0\u20ac\u00bc", example},
        {"B\u00ed\u00a0\u20ac", example},
        {"B\u00f4\u0090\u20ac\u20ac", example}},
       {},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const Series series = readSeries(c.text);
    ASSERT_EQ(series.sizes.size(), c.sizes.size());
    for (std::size_t k = 0; k < c.sizes.size(); ++k) {
      EXPECT_EQ(series.sizes[k].name, c.sizes[k].first);
      EXPECT_EQ(series.sizes[k].values, c.sizes[k].second);
    }
    ASSERT_EQ(series.ignored.size(), c.ignored.size());
    for (std::size_t k = 0; k < c.ignored.size(); ++k) {
      EXPECT_EQ(series.ignored[k].line, c.ignored[k].first);
      EXPECT_EQ(series.ignored[k].reason, c.ignored[k].second);
    }
    EXPECT_EQ(series.decimalComma, c.decimalComma);
  }
}

TEST(Series, SaysWhichTitleWasTakenAsWhichValue) {
  const Series series = readSeries("Typ;Nennmoment [kNm];Max;Wechsel;Steife;\n");
  EXPECT_EQ(series.header, Series::Header::kInOrder);
  EXPECT_EQ(series.columns,
            "Die Kopfzeile nennt keinen der sechs Werte mit Namen; gelesen in der "
            "Reihenfolge von Dialog d: Nennmoment [kNm] \u2192 TKN, Max \u2192 TKmax, "
            "Wechsel \u2192 TKW, Steife \u2192 Cdyn, (leer) \u2192 psi, (keine Spalte) "
            "\u2192 PKW.");
  EXPECT_EQ(readSeries(kExampleSeries).columns, "");
  EXPECT_TRUE(isUtf8("\xEF\xBF\xBD\xF4\x8F\xBF\xBF"));  // U+FFFD, U+10FFFF
}

TEST(Series, ReadsTheFirstTenThousandSizesAndNamesTheRest) {
  std::string text = "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n";
  for (int k = 0; k < 10005; ++k) text += "B;265;530;69;2689;0.8;12\n";
  const Series series = readSeries(text);
  EXPECT_EQ(series.sizes.size(), kMostSizes);
  ASSERT_EQ(series.ignored.size(), 1U);
  EXPECT_EQ(series.ignored[0].line, 10002);
  EXPECT_EQ(series.ignored[0].reason,
            "diese und 4 weitere Zeilen nicht gelesen: mehr als 10000 Baugrößen");
}

TEST(Series, TheExampleHoldsTheExampleCasesCoupling) {
  CouplingData data{};
  resetToDefaults(data);
  const Series series = readSeries(kExampleSeries);
  EXPECT_EQ(series.sizes.size(), 8U);
  EXPECT_TRUE(series.ignored.empty());
  int found = 0;
  for (const CouplingSize& size : series.sizes) {
    const CouplingData sized = withSize(data, size);
    if (sized.TKN == data.TKN && sized.TKmax == data.TKmax && sized.TKW == data.TKW &&
        sized.Cdyn == data.Cdyn && sized.psi == data.psi && sized.PKW == data.PKW)
      ++found;
  }
  EXPECT_EQ(found, 1);
}

}  // namespace
