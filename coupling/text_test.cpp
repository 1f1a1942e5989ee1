#include "coupling/text.h"

#include <gtest/gtest.h>

#include <string>

#include "coupling/case_file.h"
#include "coupling/series.h"

namespace {

// `ascii` as UTF-16, little- or big-endian, without a byte-order mark.
std::string utf16(const std::string& ascii, bool little) {
  std::string out;
  for (const char c : ascii) {
    out += little ? c : '\0';
    out += little ? '\0' : c;
  }
  return out;
}

TEST(Text, UnmarkedUtf16IsNamedInOneSentence) {
  const struct {
    const char* title;
    std::string bytes;
    const char* order;  // "LE", "BE", or nullptr: not taken for UTF-16
  } cases[] = {
      {"little-endian", utf16("TLN = 100\r\nn = 1200\r\n", true), "LE"},
      {"big-endian", utf16("TLN = 100\n", false), "BE"},
      {"cut off after an odd byte", utf16("TLN = 1\n", true) + "#", "LE"},
      {"with its byte-order mark", "\xFF\xFE" + utf16("TLN = 1\n", true), nullptr},
      {"UTF-8", "TLN = 100\nn = 1200\n", nullptr},
      {"empty", "", nullptr},
      {"NULs in both places: not text at all", std::string("TL\0\0N = 1\n", 10), nullptr},
      {"one stray NUL in a long file", std::string(200, 'x') + std::string("\0", 1) + "y",
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string what = unmarkedUtf16(c.bytes);
    if (c.order == nullptr) {
      EXPECT_EQ(what, "");
    } else {
      EXPECT_EQ(what, std::string("die Datei ist wohl UTF-16 ") + c.order +
                          " ohne Byte-Order-Mark; gelesen wird nichts, bitte als UTF-8 "
                          "speichern");
    }
  }
}

TEST(Text, UnmarkedUtf16CaseFileAndTableGiveOneLineEach) {
  CouplingData example{};
  resetToDefaults(example);
  CouplingData data = example;
  const std::string file = utf16(writeCaseFile(example), true);
  const CaseFileReading reading = readCaseFile(file, data);
  ASSERT_EQ(reading.problems.size(), 1u);
  EXPECT_EQ(reading.problems[0].line, 0);  // the file as a whole
  EXPECT_EQ(reading.problems[0].what, unmarkedUtf16(file));
  EXPECT_EQ(data.TLN, example.TLN);

  const Series series = readSeries(
      utf16("Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\nB4;265;530;69;2689;0,8;12\n", false));
  EXPECT_TRUE(series.sizes.empty());
  ASSERT_EQ(series.ignored.size(), 1u);
  EXPECT_EQ(series.ignored[0].line, 1);
}

}  // namespace
