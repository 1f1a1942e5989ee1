#include "check/sizing.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "check/din740.h"

namespace {

TEST(Sizing, TheFirstSizeThatPassesAllSix) {
  CouplingData data{};
  resetToDefaults(data);
  const CouplingSize tooSmall{"klein", {100, 200, 26, 1000, 0.8, 6}};
  const CouplingSize example{"Beispiel",
                             {265, 530, 69, 2689, 0.8, 12}};  // TSLmax 908.9 > 530
  const CouplingSize big{"groß", {650, 1300, 170, 7000, 0.8, 26}};
  const CouplingSize bigger{"größer", {1000, 2000, 260, 11000, 0.8, 36}};
  const CouplingSize undefined{"ohne Dämpfung", {1000, 2000, 260, 0, 0, 36}};
  const CouplingSize zero{"null", {0, 0, 0, 0, 0, 0}};
  const struct {
    const char* title;
    std::vector<CouplingSize> sizes;
    std::optional<std::size_t> smallest;
  } cases[] = {
      {"a series with fitting sizes", {tooSmall, example, big, bigger}, 2},
      {"none passes", {tooSmall, example}, std::nullopt},
      {"one that cannot be computed does not pass", {undefined, bigger}, 1},
      {"zero limits do not pass", {zero, bigger}, 1},
      {"no sizes", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const std::vector<SizeCheck> checks = checkSizes(data, c.sizes);
    ASSERT_EQ(checks.size(), c.sizes.size());
    EXPECT_EQ(smallestPassing(checks), c.smallest);
    // Each size's checks are the program's own check of the case with it.
    for (std::size_t k = 0; k < checks.size(); ++k) {
      const CouplingData sized = withSize(data, c.sizes[k]);
      const CheckResults results = checkCoupling(sized);
      for (std::size_t r = 0; r < 6; ++r) {
        const double value = results.*kChecks[r].value;
        const SizeCheck& s = checks[k];
        EXPECT_TRUE(s.checks[r].value == value ||
                    (value != value && s.checks[r].value != s.checks[r].value));
        EXPECT_EQ(s.checks[r].limit, sized.*kChecks[r].limit);
      }
    }
  }
  EXPECT_FALSE(checkSizes(data, {undefined})[0].okay);
  // A share of a zero limit is not written as a number.
  const std::vector<SizeCheck> zeroChecks = checkSizes(data, {zero});
  for (const CheckOutcome& c : zeroChecks[0].checks) EXPECT_EQ(shareText(c), "–");
}

}  // namespace
