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

}  // namespace
