#include "console/number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(Number, ShortestTextThatReadsBack) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {220.8336, "220.8336"},
      {265.0004, "265.0004"},
      {1.0 / 3, "0.3333333333333333"},
      {-0.0, "-0"},
      {1e308, "1e+308"},
      {100, "100"},
      {1200, "1200"},
      {123456789012.0, "123456789012"},
      {1e-05, "1e-05"},
      {1.5e-7, "1.5e-07"},
      {5e-324, "5e-324"},
      {0.1 + 0.2, "0.30000000000000004"},
      {2689, "2689"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {-std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(shortestReal(c.value), c.text) << c.text;
}

TEST(Number, ReadsWithTheProgramsRules) {
  const struct {
    const char* text;
    double real;  // what readReal stores (-1: nothing)
    std::size_t realEnd;
    int integer;  // what readInteger stores (-1: nothing)
    std::size_t integerEnd;
  } cases[] = {
      {"1,5 2", 1.5, 3, 1, 1},
      {"2,5e3", 2500, 5, 2, 1},
      {"1.5,5", 1.5, 3, 1, 1},  // only the first comma is a point
      {"-7x", -7, 2, -7, 2},
      {"abc", -1, 0, -1, 0},
      {"99999999999", 99999999999.0, 11, -1, 0},  // no int holds it
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    double real = -1;
    EXPECT_EQ(readReal(text.data(), real) - text.data(), static_cast<long>(c.realEnd))
        << c.text;
    EXPECT_EQ(real, c.real) << c.text;
    EXPECT_EQ(text, c.text);  // the comma is back
    int integer = -1;
    EXPECT_EQ(readInteger(text.c_str(), integer) - text.c_str(),
              static_cast<long>(c.integerEnd))
        << c.text;
    EXPECT_EQ(integer, c.integer) << c.text;
  }
}

}  // namespace
