#pragma once

#include <string>
#include <vector>

#include "coupling/coupling_data.h"

// The way to every result of the check: each quantity in the order the
// check computes it, with its formula, the formula with the case's values
// in it, and its value. Built only when asked for; the check itself writes
// no text.
struct DerivationStep {
  std::string symbol;       // "TSA"; the CheckResults name where it has one
  std::string unit;         // "Nm", "1/min", "1/s", "W"; "" for ratios and factors
  std::string expression;   // over the case's fields and earlier symbols, with
                            // + - * / ^, parentheses, sqrt(...) and pi:
                            // "TAS / (rJ + 1) * SS"; a condition's branch that applied
  std::string substituted;  // the same with each symbol's printed value:
                            // "239 / (2.3 + 1) * 1.8"
  std::string condition;    // which case applied, in words; "" for none
  std::vector<std::string> mathml;  // the line as three MathML Core math
                                    // elements: "symbol = formula", "= with
                                    // values", "= result unit"
  double value;                     // the result, as the check computes it
};

// Every step of the check of `data`: TLNmax, rJ, TL0, TSA, TSAmax, TSL,
// TSLmax, then TIK (the exciting torque at the coupling), VR, TSi, TSmax,
// fe, nR, fn, ferr, psi2, Vfi, Sf, TWi, TWimax, PWi, PWimax.
std::vector<DerivationStep> derive(const CouplingData& data);

// The way to every result as plain UTF-8 text, a line a step, with the
// symbols as a textbook writes them (·, √, ², π, ψ): "[condition: ]symbol =
// formula = with values = result unit"; then the six checks as comparisons,
// "TSLmax = 908.902 Nm > TKmax = 530 Nm → nicht okay!".
std::string derivationText(const CouplingData& data);
