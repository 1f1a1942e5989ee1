#include "check/curve.h"

#include <algorithm>
#include <cmath>

#include "check/din740.h"

namespace {

// Steps between 0 and the top speed: fine enough to draw a resonance peak
// of the usual damping (psi 0.4 to 1.2) as a peak.
constexpr int kSteps = 400;

}  // namespace

std::vector<CurvePoint> alternatingTorqueCurve(const CouplingData& data) {
  const double nR = checkCoupling(data).nR;
  const double top = 2 * std::max(data.n, nR);
  if (!(data.n > 0) || !(nR > 0) || !std::isfinite(top)) return {};

  std::vector<double> speeds;
  speeds.reserve(kSteps + 3);
  for (int k = 0; k <= kSteps; ++k) speeds.push_back(top * k / kSteps);
  speeds.push_back(data.n);
  speeds.push_back(nR);
  std::sort(speeds.begin(), speeds.end());
  speeds.erase(std::unique(speeds.begin(), speeds.end()), speeds.end());

  std::vector<CurvePoint> curve;
  curve.reserve(speeds.size());
  CouplingData atSpeed = data;
  for (const double speed : speeds) {
    atSpeed.n = speed;
    curve.push_back({speed, checkCoupling(atSpeed).TWimax});
  }
  return curve;
}
