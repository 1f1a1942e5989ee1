#pragma once

#include "check/din740.h"
#include "check/formula.h"

// The formulas of the check, each written once: computeStageOne and
// computeStageTwo evaluate them, and the way to the result (derivation.h)
// writes them. Each quantity in the order the check computes it.
namespace din740 {

using namespace formula;  // NOLINT(google-build-using-namespace): the notation

// The constants of the original calculation, kept to the digits it used so
// that the printed values match it: pi squared is its own constant.
inline constexpr Number pi{{}, 3.14159265, "pi"};
inline constexpr Number piSquared{{}, 9.8696044, "pi^2"};

// The case's fields, by the names of the display pages.
inline constexpr Real TLN{{}, "TLN", &CouplingData::TLN};
inline constexpr Real n{{}, "n", &CouplingData::n};
inline constexpr Integer i{{}, "i", &CouplingData::i};
inline constexpr Real JA{{}, "JA", &CouplingData::JA};
inline constexpr Real JL{{}, "JL", &CouplingData::JL};
inline constexpr Integer excitationSide{
    {}, "excitationSide", &CouplingData::excitationSide};
inline constexpr Integer startLoaded{{}, "startLoaded", &CouplingData::startLoaded};
inline constexpr Real TAS{{}, "TAS", &CouplingData::TAS};
inline constexpr Real TAI{{}, "TAI", &CouplingData::TAI};
inline constexpr Real TLS{{}, "TLS", &CouplingData::TLS};
inline constexpr Real TLI{{}, "TLI", &CouplingData::TLI};
inline constexpr Real Cdyn{{}, "Cdyn", &CouplingData::Cdyn};
inline constexpr Real psi{{}, "psi", &CouplingData::psi};
inline constexpr Real ST{{}, "ST", &CouplingData::ST};
inline constexpr Real SS{{}, "SS", &CouplingData::SS};
inline constexpr Real SZ{{}, "SZ", &CouplingData::SZ};

// A quantity of the check: its symbol, unit, where it is kept (null for one
// that is not kept) and its formula.
template <Expression E>
struct Quantity {
  const char* symbol;
  const char* unit;  // "Nm", "1/min", "1/s", "W"; "" for a ratio or factor
  double CheckResults::*result;
  E formula;
};
template <Expression E>
constexpr Quantity<E> quantity(const char* symbol, const char* unit,
                               double CheckResults::*result, E formula) {
  return {symbol, unit, result, formula};
}
// A quantity as a term of later formulas.
template <typename E>
constexpr Result term(const Quantity<E>& q) {
  return {{}, q.symbol, q.result, q.unit};
}

// Stage one: nominal torque and torque shocks.
inline constexpr auto kTLNmax = quantity("TLNmax", "Nm", &CheckResults::TLNmax, ST* TLN);
inline constexpr auto kRJ = quantity("rJ", "", &CheckResults::rJ, JA / JL);
inline constexpr Result rJ = term(kRJ);
inline constexpr auto kTL0 =
    quantity("TL0", "Nm", &CheckResults::TL0,
             choose(startLoaded == 0, "Anfahren lastfrei", 0, "Anfahren mit Last", TLN));
inline constexpr Result TL0 = term(kTL0);
inline constexpr auto kTSA =
    quantity("TSA", "Nm", &CheckResults::TSA, TAS / (rJ + 1) * SS);
inline constexpr auto kTSAmax =
    quantity("TSAmax", "Nm", &CheckResults::TSAmax, SZ* term(kTSA) * ST + ST * TL0);
inline constexpr auto kTSL =
    quantity("TSL", "Nm", &CheckResults::TSL, rJ* TLS / (rJ + 1) * SS);
inline constexpr auto kTSLmax =
    quantity("TSLmax", "Nm", &CheckResults::TSLmax, SZ* term(kTSL) * ST + ST * TLN);

// Stage two: resonance, alternating torque and damping power. The share of
// the exciting torque on the excited side that reaches the coupling: drive
// side JL / (JA + JL), load side JA / (JA + JL).
inline constexpr auto kTIK =
    quantity("TIK", "Nm", nullptr,
             named("TIK", choose(excitationSide == 0, "Anregung auf der Antriebsseite",
                                 TAI / (rJ + 1), "Anregung auf der Lastseite",
                                 rJ* TLI / (rJ + 1))));
inline constexpr auto TIK = kTIK.formula;
inline constexpr auto kVR = quantity("VR", "", &CheckResults::VR, 2 * pi / psi);
inline constexpr Result VR = term(kVR);
inline constexpr auto kTSi = quantity("TSi", "Nm", &CheckResults::TSi, TIK* VR);
inline constexpr auto kTSmax =
    quantity("TSmax", "Nm", &CheckResults::TSmax, SZ* term(kTSi) * ST + ST * TL0);
// The two masses joined by the coupling's stiffness.
inline constexpr auto kFe = quantity("fe", "1/s", &CheckResults::fe,
                                     1 / (2 * pi) * sqrt((1 / JA + 1 / JL) * Cdyn));
inline constexpr Result fe = term(kFe);
inline constexpr auto kNR = quantity("nR", "1/min", &CheckResults::nR, 60 * (fe / i));
inline constexpr auto kFn = quantity("fn", "1/s", &CheckResults::fn, n / 60);
inline constexpr auto kFerr = quantity("ferr", "1/s", &CheckResults::ferr, term(kFn) * i);
inline constexpr Result ferr = term(kFerr);
inline constexpr auto kPsi2 = quantity("psi2", "", &CheckResults::psi2, psi* psi);
inline constexpr Result psi2 = term(kPsi2);
inline constexpr auto kVfi =
    quantity("Vfi", "", &CheckResults::Vfi,
             sqrt((1 + psi2 / (4 * piSquared)) /
                  (square(1 - ferr * ferr / (fe * fe)) + psi2 / (4 * piSquared))));
// The frequency factor belongs to the frequency of the alternating load,
// which is the excitation frequency, not the rotational one.
inline constexpr auto kSf =
    quantity("Sf", "", &CheckResults::Sf,
             choose(ferr <= 10, nullptr, 1, "Wurzelzweig", sqrt(ferr / 10)));
// Continuous alternating torque and the damping power it turns into heat.
inline constexpr auto kTWi = quantity("TWi", "Nm", &CheckResults::TWi, TIK* term(kVfi));
inline constexpr Result TWi = term(kTWi);
inline constexpr auto kTWimax =
    quantity("TWimax", "Nm", &CheckResults::TWimax, ST* TWi* term(kSf));
inline constexpr auto kPWi =
    quantity("PWi", "W", &CheckResults::PWi, TWi* pi* TWi* ferr / (Cdyn * VR));
inline constexpr auto kPWimax =
    quantity("PWimax", "W", &CheckResults::PWimax, ST* term(kPWi));

// The quantities of each stage in the order the check computes them, each
// handed to `visit`: the one place that order is written, for the check and
// for the way to its results. Stage two begins with TIK, which is kept
// nowhere but shown where it is first used.
template <typename Visit>
void eachOfStageOne(Visit visit) {
  visit(kTLNmax);
  visit(kRJ);
  visit(kTL0);
  visit(kTSA);
  visit(kTSAmax);
  visit(kTSL);
  visit(kTSLmax);
}

template <typename Visit>
void eachOfStageTwo(Visit visit) {
  visit(kTIK);
  visit(kVR);
  visit(kTSi);
  visit(kTSmax);
  visit(kFe);
  visit(kNR);
  visit(kFn);
  visit(kFerr);
  visit(kPsi2);
  visit(kVfi);
  visit(kSf);
  visit(kTWi);
  visit(kTWimax);
  visit(kPWi);
  visit(kPWimax);
}

}  // namespace din740
