#include "check/din740.h"

#include <cmath>

namespace {

// The constants of the original calculation, kept to the digits it used so
// that the printed values match it: pi squared is its own constant.
constexpr double kPi = 3.14159265;
constexpr double kPiSquared = 9.8696044;

// Share of the exciting torque on the excited side that reaches the
// coupling; drive side: JL / (JA + JL), load side: JA / (JA + JL).
double excitingTorqueAtCoupling(const CouplingData& data, double rJ) {
  if (data.excitationSide == 0) return data.TAI / (rJ + 1);
  return (rJ * data.TLI) / (rJ + 1);
}

}  // namespace

void computeStageOne(const CouplingData& data, CheckResults& r) {
  r.TLNmax = data.ST * data.TLN;
  r.rJ = data.JA / data.JL;
  r.TL0 = data.startLoaded == 0 ? 0 : data.TLN;
  r.TSA = data.TAS / (r.rJ + 1) * data.SS;
  r.TSAmax = data.SZ * r.TSA * data.ST + data.ST * r.TL0;
  r.TSL = (r.rJ * data.TLS) / (r.rJ + 1) * data.SS;
  r.TSLmax = data.SZ * r.TSL * data.ST + data.ST * data.TLN;
}

void computeStageTwo(const CouplingData& data, CheckResults& r) {
  const double exciting = excitingTorqueAtCoupling(data, r.rJ);

  // Resonance: the two masses joined by the coupling's stiffness.
  r.VR = 2 * kPi / data.psi;
  r.TSi = exciting * r.VR;
  r.TSmax = data.SZ * r.TSi * data.ST + data.ST * r.TL0;
  r.fe = (1 / (2 * kPi)) * std::sqrt((1 / data.JA + 1 / data.JL) * data.Cdyn);
  r.nR = 60 * (r.fe / static_cast<double>(data.i));
  r.fn = data.n / 60;
  r.ferr = r.fn * data.i;
  r.psi2 = data.psi * data.psi;
  const double d = r.psi2 / (4 * kPiSquared);
  r.Vfi = std::sqrt((1 + d) / (std::pow(1 - (r.ferr * r.ferr) / (r.fe * r.fe), 2) + d));

  // The frequency factor belongs to the frequency of the alternating load,
  // which is the excitation frequency, not the rotational one.
  r.Sf = r.ferr <= 10 ? 1 : std::sqrt(r.ferr / 10);

  // Continuous alternating torque and the damping power it turns into heat.
  r.TWi = exciting * r.Vfi;
  r.TWimax = data.ST * r.TWi * r.Sf;
  r.PWi = (r.TWi * kPi * r.TWi * r.ferr) / (data.Cdyn * r.VR);
  r.PWimax = data.ST * r.PWi;
}

CheckResults checkCoupling(const CouplingData& data) {
  CheckResults results{};
  computeStageOne(data, results);
  computeStageTwo(data, results);
  return results;
}

bool isOkay(double value, double limit) { return value <= limit; }
