#include "check/curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "console/format.h"

namespace {

struct Point {
  double n;
  const char* TWimax;  // as "%g" prints it, computed by hand
};

struct Case {
  const char* name;
  std::function<void(CouplingData&)> change;
  std::vector<Point> points;  // none: no curve
};

TEST(AlternatingTorqueCurve, SpeedsAndValues) {
  // Example case: exciting torque at the coupling 80 / 3.3 = 24.2424 Nm,
  // d = psi^2 / (4 pi^2) = 0.0162114, fe = 9.88573 1/s.
  const Case cases[] = {
      {"example: standstill, half speed, operating point and the resonance peak",
       [](CouplingData&) {},
       {{0, "29.0909"},        // Vfi = 1, Sf = 1: 1.2 * 24.2424
        {750, "8.59173"},      // ferr = 25: Vfi = 0.295327, Sf = 1.58114
        {1500, "2.66762"},     // the value of result page 3
        {296.572, "230.324"},  // ferr = fe: Vfi = sqrt((1 + d) / d) = 7.91741
        {3000, "0.915232"}}},  // ferr = 100: Vfi = 0.00995, Sf = 3.16228
      {"standing still", [](CouplingData& d) { d.n = 0; }, {}},
      {"no excitation order", [](CouplingData& d) { d.i = 0; }, {}},
      {"no drive-side mass, nR infinite", [](CouplingData& d) { d.JA = 0; }, {}},
      {"negative order, nR below 0", [](CouplingData& d) { d.i = -2; }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CouplingData data{};
    resetToDefaults(data);
    c.change(data);
    const std::vector<CurvePoint> curve = alternatingTorqueCurve(data);
    if (c.points.empty()) {
      EXPECT_TRUE(curve.empty());
      continue;
    }
    ASSERT_GE(curve.size(), 200U);
    EXPECT_TRUE(std::is_sorted(curve.begin(), curve.end(),
                               [](CurvePoint a, CurvePoint b) { return a.n <= b.n; }));
    EXPECT_EQ(curve.back().n, 2 * data.n);
    for (const Point& p : c.points) {
      const auto at = std::find_if(curve.begin(), curve.end(), [&](CurvePoint q) {
        return formatReal(q.n) == formatReal(p.n);
      });
      ASSERT_NE(at, curve.end()) << p.n;
      EXPECT_EQ(formatReal(at->TWimax), p.TWimax) << p.n;
    }
    // The drawn peak is the top of the curve.
    const auto top =
        std::max_element(curve.begin(), curve.end(),
                         [](CurvePoint a, CurvePoint b) { return a.TWimax < b.TWimax; });
    EXPECT_EQ(formatReal(top->n), "296.572");
  }
}

}  // namespace
