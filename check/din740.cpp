#include "check/din740.h"

#include "check/din740_formulas.h"

namespace {

// Keeps the value of quantity `q` in its place in the results.
template <typename Q>
void compute(const Q& q, const CouplingData& data, CheckResults& r) {
  r.*q.result = q.formula(formula::Context{data, r});
}

}  // namespace

void computeStageOne(const CouplingData& data, CheckResults& r) {
  using namespace din740;  // NOLINT(google-build-using-namespace): the formulas
  compute(kTLNmax, data, r);
  compute(kRJ, data, r);
  compute(kTL0, data, r);
  compute(kTSA, data, r);
  compute(kTSAmax, data, r);
  compute(kTSL, data, r);
  compute(kTSLmax, data, r);
}

void computeStageTwo(const CouplingData& data, CheckResults& r) {
  using namespace din740;  // NOLINT(google-build-using-namespace): the formulas
  compute(kVR, data, r);
  compute(kTSi, data, r);
  compute(kTSmax, data, r);
  compute(kFe, data, r);
  compute(kNR, data, r);
  compute(kFn, data, r);
  compute(kFerr, data, r);
  compute(kPsi2, data, r);
  compute(kVfi, data, r);
  compute(kSf, data, r);
  compute(kTWi, data, r);
  compute(kTWimax, data, r);
  compute(kPWi, data, r);
  compute(kPWimax, data, r);
}

CheckResults checkCoupling(const CouplingData& data) {
  CheckResults results{};
  computeStageOne(data, results);
  computeStageTwo(data, results);
  return results;
}

bool isOkay(double value, double limit) { return value <= limit; }
