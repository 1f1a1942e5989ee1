#include "console/format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

TEST(Format, RealsAsPercentG) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {190.8, "190.8"},
      {2.23607e0, "2.23607"},
      {0.00735112, "0.00735112"},
      {2689, "2689"},
      {123456.7, "123457"},
      {1234567, "1.23457e+06"},
      {0.0001, "0.0001"},
      {0.00001234, "1.234e-05"},
      {-0.0, "-0"},
      {1e300, "1e+300"},
      {5e-324, "4.94066e-324"},
      {nan, "nan"},
      {-nan, "nan"},
      {std::copysign(nan, -1.0), "nan"},
      {inf, "inf"},
      {-inf, "-inf"},
  };
  for (const auto& c : cases) {
    std::string out;
    appendValue(out, "TSLmax= %g [Nm]\n", c.value);
    EXPECT_EQ(std::string("TSLmax= ") + c.text + " [Nm]\n", out) << c.text;
  }
}

TEST(Format, EveryRealAsTheExactConversion) {
  // Short decimals, their neighbours one unit in the last place away, and
  // random bit patterns, against the standard's exact "%g".
  std::mt19937_64 random(740);
  constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
  for (int n = 0; n < 100000; ++n) {
    const double decimal = static_cast<double>(random() % 10000000) /
                           kPowers[random() % 11] * (n % 2 ? -1 : 1);
    double bits = 0;
    const std::uint64_t pattern = random();
    std::memcpy(&bits, &pattern, sizeof bits);
    for (const double v :
         {decimal, std::nextafter(decimal, 0.0), std::nextafter(decimal, 1e300), bits}) {
      char exact[64];
      *std::to_chars(exact, exact + 63, v, std::chars_format::general, 6).ptr = '\0';
      if (std::isnan(v)) std::strcpy(exact, "nan");
      ASSERT_EQ(exact, formatReal(v)) << n;
    }
  }
}

TEST(Format, Integers) {
  std::string out;
  appendValue(out, "Ordnung  i= %d\n", INT_MIN);
  appendValue(out, "%d|", 0);
  appendValue(out, "%d", INT_MAX);
  EXPECT_EQ("Ordnung  i= -2147483648\n0|2147483647", out);
}

}  // namespace
