#include "check/din740.h"

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
