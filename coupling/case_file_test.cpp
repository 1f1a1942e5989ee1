#include "coupling/case_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "console/number.h"
#include "coupling/fields.h"

namespace {

const char* const kNoCase = "kein Fall in der Datei: keine Zeile FELD = WERT";

// The names of all twenty fields but `set`'s.
std::vector<std::string> allBut(const std::vector<std::string>& set) {
  std::vector<std::string> names;
  for (const Field& f : kFields) {
    if (std::find(set.begin(), set.end(), f.name) == set.end())
      names.emplace_back(f.name);
  }
  return names;
}

// `text` as UTF-16 after its byte-order mark, little- or big-endian.
std::string utf16(std::u16string_view text, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    out += little ? low : high;
    out += little ? high : low;
  }
  return out;
}

TEST(CaseFile, LoadsWhatPeopleWriteAndRefusesEveryBadLine) {
  const struct {
    const char* title;
    std::string text;
    std::vector<std::pair<int, std::string>> problems;
    std::vector<std::string> missing;  // when loaded
    double TLN, psi;                   // when loaded
    int i;
  } cases[] = {
      {"comments, blanks, a decimal comma, every field but two",
       "# Pumpe\n\nTLN = 480   # Nm\nn=1480\ni = 2\nJA = 2,3\nJL = 1\nexcitationSide = "
       "0\n"
       "startLoaded = 5\nTAS = 239\nTAI = 12\nTLS = 477\nTLI = 13\nTKN = 265\nTKmax = "
       "530\n"
       "TKW = 69\nCdyn = 2689\nPKW = 12\nST = 1.2\nSS = 1.8\n",
       {},
       {"psi", "SZ"},
       480,
       0.8,
       2},
      {"a byte-order mark and Windows line ends",
       "\xEF\xBB\xBFTLN = 100\r\npsi = 0,5\r\ni = -3\r\n",
       {},
       allBut({"TLN", "psi", "i"}),
       100,
       0.5,
       -3},
      {"UTF-16 as PowerShell writes it",
       std::string("\xFF\xFE"
                   "T\0L\0N\0=\0"
                   "7\0\r\0\n\0",
                   14),
       {},
       allBut({"TLN"}),
       7,
       0.8,
       2},
      {"UTF-16, big-endian",
       utf16(u"TLN = 8\r\ni = 4 # Gr\u00f6\u00dfe\r\n", false),
       {},
       allBut({"TLN", "i"}),
       8,
       0.8,
       4},
      // Half a unit at the end shows as U+FFFD: the line is named, not cut.
      {"UTF-16 of odd length",
       utf16(u"TLN = 9\ni = 4", true) + "5",
       {{2, "i: \"4\uFFFD\" ist keine ganze Zahl"}},
       {},
       159,
       0.8,
       2},
      {"Windows-1252, a character that differs from Latin-1 in a name",
       "# K\xFChlpumpe \x80\nTLN = 100\nn\x96 = 5\n",
       {{3, "unbekannter Name \"n\u2013\""}},
       {},
       159,
       0.8,
       2},
      {"a last line without a line end",
       "TLN = 100\npsi = 0,5",
       {},
       allBut({"TLN", "psi"}),
       100,
       0.5,
       2},
      // No case at all is refused: a script's check of it would pass.
      {"an empty file", "", {{0, kNoCase}}, {}, 159, 0.8, 2},
      {"only comments and blanks",
       "# nur ein Kommentar\n\n \t\r\n",
       {{0, kNoCase}},
       {},
       159,
       0.8,
       2},
      {"only a name and a size",
       "Bezeichnung = Pumpe\nBaugröße = B6\n",
       {{0, kNoCase}},
       {},
       159,
       0.8,
       2},
      {"an order too big for an integer",
       "i = 99999999999\n",
       {{1, "i: \"99999999999\" ist keine ganze Zahl"}},
       {},
       159,
       0.8,
       2},
      {"every kind of bad line, each named",
       "TLN = 1\nfoo = 2\nTLN = 3\nn = schnell\ni = 1.5\nJA 2\nJL = \n",
       {{2, "unbekannter Name \"foo\""},
        {3, "TLN steht schon in Zeile 1"},
        {4, "n: \"schnell\" ist keine Zahl"},
        {5, "i: \"1.5\" ist keine ganze Zahl"},
        {6, "keine Zeile NAME = WERT"},
        {7, "JL: \"\" ist keine Zahl"}},
       {},
       159,
       0.8,
       2},
      {"invisible spaces around a name or a value are trimmed",
       "\xC2\xA0TLN\xC2\xA0= 100\xE2\x80\xAF\n\xEF\xBB\xBFpsi = 0,5\n",
       {},
       allBut({"TLN", "psi"}),
       100,
       0.5,
       2},
      {"values a table refuses too, and what reads two ways",
       "n = 1.500\nTLN = -1,500\nTAS = inf\nTLI = 0x1p-3\nTLS = 1e999\nJA = 1e-400\n"
       "JL = 1\xC2\xA0"
       "000\ni = 2.000\nTAI = 1.125\nST = 1.5000\nSS = 0.500\nSZ = 0e-400\n",
       {{1, "n: \"1.500\" liest sich zweifach: 1500 oder 1.5 schreiben"},
        {2, "TLN: \"-1,500\" liest sich zweifach: -1500 oder -1.5 schreiben"},
        {3, "TAS: \"inf\" ist keine endliche Zahl"},
        {4, "TLI: \"0x1p-3\" ist keine Zahl"},
        {5, "TLS: \"1e999\" ist zu gross fuer eine Zahl des Programms"},
        {6, "JA: \"1e-400\" ist zu klein, es bliebe 0"},
        {7,
         "JL: \"1\xC2\xA0"
         "000\" ist keine Zahl (darin ein geschuetztes Leerzeichen "
         "(U+00A0))"},
        {8, "i: \"2.000\" liest sich zweifach: 2000 oder 2 schreiben"},
        {9, "TAI: \"1.125\" liest sich zweifach: 1125 oder 1.1250 schreiben"}},
       {},
       159,
       0.8,
       2},
      {"a file the program wrote, with what an earlier one meant",
       "# TAVRO: ein Fall\nn = 1.500\n",
       {{2,
         "n: \"1.500\" liest sich zweifach: 1500 oder 1.5 schreiben (schrieb ein "
         "frueheres TAVRO die Datei, war der Dezimalpunkt gemeint: 1.5)"}},
       {},
       159,
       0.8,
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    CouplingData data{};
    resetToDefaults(data);
    const CaseFileReading reading = readCaseFile(c.text, data);
    ASSERT_EQ(reading.problems.size(), c.problems.size());
    for (std::size_t k = 0; k < c.problems.size(); ++k) {
      EXPECT_EQ(reading.problems[k].line, c.problems[k].first);
      EXPECT_EQ(reading.problems[k].what, c.problems[k].second);
    }
    if (c.problems.empty()) {
      EXPECT_EQ(reading.missing, c.missing);
    }
    EXPECT_EQ(data.TLN, c.TLN);  // a file not loaded changes nothing
    EXPECT_EQ(data.psi, c.psi);
    EXPECT_EQ(data.i, c.i);
  }
}

// A file that is no case file at all is refused in a sentence or two, not
// with a line for each of its lines.
TEST(CaseFile, NamesTenBadLinesAtMostAndRefusesBinaryFilesAtOnce) {
  std::string manyBad;
  for (int k = 0; k < 12; ++k) manyBad += "kein Feld\n";
  const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\nTLN = 1\n", 24);
  for (const auto& [text, named, last] :
       {std::tuple{manyBad, 11U, std::string("und 2 weitere Zeilen nicht gelesen")},
        std::tuple{manyBad.substr(10), 11U,
                   std::string("und 1 weitere Zeile nicht gelesen")},
        std::tuple{png, 1U, std::string("keine Textdatei: sie enthaelt Nullbytes")}}) {
    CouplingData data{};
    resetToDefaults(data);
    const CaseFileReading reading = readCaseFile(text, data);
    ASSERT_EQ(reading.problems.size(), named);
    EXPECT_EQ(reading.problems.back().line, 0);
    EXPECT_EQ(reading.problems.back().what, last);
    EXPECT_EQ(data.TLN, 159);
  }
}

TEST(CaseFile, GivesBackAnyFiniteCaseBitForBit) {
  // Values whose plain texts the reader would refuse or read otherwise come
  // first ("1.125" reads two ways, 1e-400 is no double); then random ones.
  const double kTricky[] = {1.125,
                            -265.125,
                            1500,
                            10000,
                            0.0001,
                            1e-5,
                            1e15,
                            1e-310,
                            5e-324,
                            -0.0,
                            1.7976931348623157e308,
                            999.5};
  std::mt19937_64 random(740);
  for (int round = 0; round < 500; ++round) {
    CouplingData data{};
    std::size_t tricky = 0;
    for (const Field& f : kFields) {
      if (f.real != nullptr) {
        double value = round == 0 && tricky < std::size(kTricky)
                           ? kTricky[tricky++]
                           : std::bit_cast<double>(random());
        while (!std::isfinite(value)) value = std::bit_cast<double>(random());
        data.*f.real = value;
      } else {
        data.*f.integer = std::bit_cast<int>(static_cast<std::uint32_t>(random()));
      }
    }
    EXPECT_EQ(nonFiniteField(data), nullptr);
    CouplingData back{};
    resetToDefaults(back);
    const CaseFileReading reading = readCaseFile(writeCaseFile(data), back);
    ASSERT_TRUE(reading.problems.empty()) << reading.problems[0].what;
    EXPECT_TRUE(reading.missing.empty());
    for (const Field& f : kFields) {
      if (f.real == nullptr) {
        EXPECT_EQ(back.*f.integer, data.*f.integer);
      } else {
        EXPECT_TRUE(sameBits(back.*f.real, data.*f.real))
            << f.name << " " << data.*f.real;
      }
    }
  }
  CouplingData data{};
  resetToDefaults(data);
  data.TAI = std::numeric_limits<double>::infinity();
  data.TLS = std::nan("");
  EXPECT_EQ(nonFiniteField(data), findField("TAI"));  // the first, which is not saved
}

}  // namespace

namespace {

TEST(CaseFile, ExplainsEveryFieldAndItsTemplateReadsBack) {
  for (const Field& f : kFields) {
    SCOPED_TRACE(f.name);
    EXPECT_GT(std::string(f.explanation).size(), 30U);
  }
  CouplingData example{};
  resetToDefaults(example);
  const std::string text = writeCaseFile(example);
  EXPECT_NE(text.find("\nBezeichnung =\nBaugröße =\n"), std::string::npos);
  EXPECT_NE(text.find("# Anlauffaktor\n# Wie oft der Antrieb je Stunde anläuft:"),
            std::string::npos);
  CouplingData back{};  // nothing like the example, so every field must be read
  CaseLabel label{"alt", "alt"};
  const CaseFileReading reading = readCaseFile(text, back, &label);
  EXPECT_TRUE(reading.problems.empty());
  EXPECT_TRUE(reading.missing.empty());
  EXPECT_TRUE(sameCase(back, example));
  EXPECT_EQ(label.name, "");
  EXPECT_EQ(label.size, "");
}

TEST(CaseFile, KeepsAnyNameAndSizeAsTheyAre) {
  CouplingData data{};
  resetToDefaults(data);
  data.TKN = 650;
  for (const CaseLabel& label : {
           CaseLabel{"Pumpe P-101, Motor 90 kW", "B6"},
           CaseLabel{"\"Zitat\" = Wert # kein Kommentar", "GR 28/38 \"A\" # 2"},
           CaseLabel{std::string(200, 'x'), ""},
           CaseLabel{"Rührwerk Größe ½ – 東京", "Baugröße 7"},
           CaseLabel{"#", "="},
       }) {
    SCOPED_TRACE(label.name);
    const std::string text = writeCaseFile(data, label);
    CouplingData back{};
    resetToDefaults(back);
    CaseLabel read;
    const CaseFileReading reading = readCaseFile(text, back, &read);
    ASSERT_TRUE(reading.problems.empty()) << reading.problems[0].what;
    EXPECT_TRUE(sameCase(back, data));
    EXPECT_EQ(read.name, label.name);
    EXPECT_EQ(read.size, label.size);
  }
}

TEST(CaseFile, ReadsTheLabelLinesOrNamesWhatIsWrongWithThem) {
  const struct {
    std::string text;
    std::string problem;  // "" for loaded
    CaseLabel label;
  } cases[] = {
      {"TLN = 100\n", "", {"", ""}},  // an older file
      {"Bezeichnung = P #1 = 2\r\nBaugroesse =   B4  \r\nTLN = 1\r\n",
       "",
       {"P #1 = 2", "B4"}},
      {"  # Bezeichnung = P\nBaugröße=B4 # x\nTLN = 1\n", "", {"", "B4 # x"}},
      {"Bezeichnung = a\nBezeichnung = b\n", "2: Bezeichnung steht schon in Zeile 1", {}},
      {"Baugröße = a\nBaugroesse = b\n", "2: Baugroesse steht schon in Zeile 1", {}},
      {"Bezeichnung = a\fb\n", "1: Bezeichnung: Steuerzeichen im Text", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CouplingData data{};
    resetToDefaults(data);
    CaseLabel label{"alt", "alt"};
    const CaseFileReading reading = readCaseFile(c.text, data, &label);
    if (c.problem.empty()) {
      EXPECT_TRUE(reading.problems.empty());
      EXPECT_EQ(label.name, c.label.name);
      EXPECT_EQ(label.size, c.label.size);
    } else {
      ASSERT_EQ(reading.problems.size(), 1U);
      EXPECT_EQ(
          std::to_string(reading.problems[0].line) + ": " + reading.problems[0].what,
          c.problem);
      EXPECT_EQ(label.name, "alt");
    }
  }
}

}  // namespace
