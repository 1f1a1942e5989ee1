#include "coupling/case_link.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "console/number.h"
#include "coupling/fields.h"

namespace {

// A case whose every real is `pick`'s and whose integers, the switches too,
// are any int (a dialog left at its question can leave a switch at 5).
template <typename Pick>
CouplingData randomCase(std::mt19937_64& random, Pick pick) {
  CouplingData data{};
  for (const Field& f : kFields) {
    if (f.real != nullptr) {
      data.*f.real = pick(random);
    } else {
      const auto bits = static_cast<std::uint32_t>(random());
      data.*f.integer = std::bit_cast<int>(bits);
    }
  }
  return data;
}

// True when every field matches, a NaN by being a NaN.
bool sameValues(const CouplingData& a, const CouplingData& b) {
  for (const Field& f : kFields) {
    if (f.real != nullptr && std::isnan(a.*f.real) && std::isnan(b.*f.real)) continue;
    if (f.real != nullptr ? !sameBits(a.*f.real, b.*f.real)
                          : a.*f.integer != b.*f.integer) {
      return false;
    }
  }
  return true;
}

// Values at the edges of what a double holds.
constexpr double kSpecial[] = {-0.0,
                               0.0,
                               5e-324,
                               2.2250738585072009e-308,  // the largest subnormal
                               1e308,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               220.8336,
                               265.0004};

TEST(CaseLink, GivesBackTheCaseBitForBit) {
  const struct {
    const char* kind;
    double (*pick)(std::mt19937_64&);
  } kinds[] = {
      {"any bits", [](std::mt19937_64& r) { return std::bit_cast<double>(r()); }},
      {"engineering values",
       [](std::mt19937_64& r) { return std::uniform_real_distribution<>(-1e4, 1e4)(r); }},
      {"special values",
       [](std::mt19937_64& r) { return kSpecial[r() % std::size(kSpecial)]; }},
  };
  std::mt19937_64 random(740);
  for (const auto& kind : kinds) {
    for (int k = 0; k < 300; ++k) {
      const CouplingData data = randomCase(random, kind.pick);
      const std::string link = caseLink(data);
      CouplingData back{};
      resetToDefaults(back);
      EXPECT_TRUE(readCaseLink(link, back).empty()) << link;
      EXPECT_TRUE(sameValues(back, data)) << kind.kind << ": " << link;
    }
  }
}

TEST(CaseLink, NamesWhatItIgnoresAsItsText) {
  const struct {
    const char* fragment;
    std::vector<std::string> ignored;
  } cases[] = {
      {"NaN", {"NaN"}},
      {"constructor&__proto__&toString=1", {"constructor", "__proto__", "toString=1"}},
      {"TLN=1e2&n=abc&foo=1&startLoaded=2&i=1.5&JA&excitationSide=2147483648",
       {"n=abc", "foo=1", "i=1.5", "JA", "excitationSide=2147483648"}},
      {"TLN=%20100&n=12%2C5&i=99999999999&TKN=", {"TLN= 100", "i=99999999999", "TKN="}},
      {"&&psi=0,8&%zz=1", {"%zz=1"}},
  };
  for (const auto& c : cases) {
    CouplingData data{};
    resetToDefaults(data);
    EXPECT_EQ(readCaseLink(c.fragment, data), c.ignored) << c.fragment;
  }
  // What was read, with the program's rules: a point, a decimal comma, %XX.
  CouplingData data{};
  resetToDefaults(data);
  readCaseLink("TLN=1e2&n=12%2C5&psi=0,8&TLI=-0", data);
  EXPECT_EQ(data.TLN, 100);
  EXPECT_EQ(data.n, 12.5);
  EXPECT_EQ(data.psi, 0.8);
  EXPECT_TRUE(std::signbit(data.TLI));
}

TEST(CaseLink, CarriesTheLabelPercentEncodedAfterTheFields) {
  CouplingData data{};
  resetToDefaults(data);
  EXPECT_EQ(caseLink(data, {}), caseLink(data));
  EXPECT_TRUE(caseLink(data, {"Pumpe P-101, Motor 90 kW", "Größe 7"})
                  .ends_with("&SZ=1&name=Pumpe%20P-101%2C%20Motor%2090%20kW"
                             "&size=Gr%C3%B6%C3%9Fe%207"));
  for (const CaseLabel& label : {CaseLabel{"a&b=c#d%20 \"e\" +", ""},
                                 CaseLabel{std::string(200, 'z'), "東京 ½"}}) {
    CaseLabel back;
    CouplingData read{};
    EXPECT_TRUE(readCaseLink(caseLink(data, label), read, &back).empty());
    EXPECT_TRUE(sameCase(read, data));
    EXPECT_EQ(back.name, label.name);
    EXPECT_EQ(back.size, label.size);
  }
  // A name that is no name is named as ignored; without a label the two
  // parts are passed over.
  CaseLabel back;
  EXPECT_EQ(readCaseLink("name=a%0Ab&size=B4", data, &back),
            std::vector<std::string>{"name=a%0Ab"});
  EXPECT_EQ(back.name, "");
  EXPECT_EQ(back.size, "B4");
  EXPECT_TRUE(readCaseLink("name=P&size=B4", data).empty());
}

}  // namespace
