#include "console/number.h"

#include <gtest/gtest.h>

#include <limits>

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
      {1e-05, "0.00001"},
      {-0.0001, "-0.0001"},
      {10000, "10000"},
      {1e14 + 0.5, "100000000000000.5"},
      {1e15, "1e+15"},
      {9.99e-6, "9.99e-06"},
      {1.5e-7, "1.5e-07"},
      {1.125, "1.1250"},  // not "1.125", which reads as 1125 too
      {-265.5, "-265.5"},
      {100.125, "100.1250"},
      {1000.125, "1000.125"},
      {5e-324, "5e-324"},
      {0.1 + 0.2, "0.30000000000000004"},
      {2689, "2689"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {-std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(shortestReal(c.value), c.text) << c.text;
}

TEST(Number, TextsThatReadTwoWays) {
  for (const char* text : {"1.500", "1,500", "-12.125", "+999,000"})
    EXPECT_TRUE(readsTwoWays(text)) << text;
  for (const char* text : {"0.500", "1.5", "1.5000", "1500.125", "1.500e3", "1.50x", ""})
    EXPECT_FALSE(readsTwoWays(text)) << text;
}

}  // namespace
