#include "check/din740.h"

#include <cmath>
#include <cstdio>

#include "check/din740_formulas.h"

namespace {

// Keeps the value of quantity `q` in its place in the results; one kept
// nowhere is not computed here.
template <typename Q>
void compute(const Q& q, const CouplingData& data, CheckResults& r) {
  if (q.result != nullptr) r.*q.result = q.formula(formula::Context{data, r});
}

}  // namespace

void computeStageOne(const CouplingData& data, CheckResults& r) {
  din740::eachOfStageOne([&](const auto& q) { compute(q, data, r); });
}

void computeStageTwo(const CouplingData& data, CheckResults& r) {
  din740::eachOfStageTwo([&](const auto& q) { compute(q, data, r); });
}

CheckResults checkCoupling(const CouplingData& data) {
  CheckResults results{};
  computeStageOne(data, results);
  computeStageTwo(data, results);
  return results;
}

std::array<CheckOutcome, std::size(kChecks)> checkOutcomes(const CouplingData& data,
                                                           const CheckResults& results) {
  std::array<CheckOutcome, std::size(kChecks)> outcomes{};
  for (std::size_t k = 0; k < std::size(kChecks); ++k) {
    const double value = results.*kChecks[k].value;
    const double limit = data.*kChecks[k].limit;
    outcomes[k] = {value, limit, isOkay(value, limit)};
  }
  return outcomes;
}

bool isOkay(double value, double limit) { return value <= limit; }

std::string shareText(const CheckOutcome& outcome) {
  const double share = outcome.value / outcome.limit * 100;
  if (!(outcome.limit > 0) || !std::isfinite(share)) return "–";
  // The fewest decimals whose rounding stays on the verdict's side of 100.
  const auto side = [](double x) { return x < 100 ? -1 : x > 100 ? 1 : 0; };
  double shown = share;
  int decimals = 0;
  for (; decimals <= 2; ++decimals) {
    const double scale = std::pow(10.0, decimals);
    shown = std::round(share * scale) / scale;
    if (side(shown) == side(share)) break;
  }
  if (decimals > 2) {
    decimals = 2;
    shown = (share < 100 ? std::floor(share * 100) : std::ceil(share * 100)) / 100;
  }
  // A small negative share rounds to minus zero, which would print "-0".
  if (shown == 0) shown = 0;
  char text[400];  // the widest finite share, 309 digits, and more
  std::snprintf(text, sizeof text, "%.*f %%", decimals, shown);
  std::string out = text;
  if (const std::size_t point = out.find('.'); point != std::string::npos)
    out[point] = ',';
  return out;
}
