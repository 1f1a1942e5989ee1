#include "check/derivation.h"

#include "check/din740_formulas.h"
#include "console/format.h"

namespace {

using formula::Context;
using formula::Style;

// Which case of a choice applied, if the formula is one.
template <typename E>
void describe(std::string& out, const E& e, const Context& c) {
  if constexpr (requires { e.describe(out, c); }) e.describe(out, c);
}

// One step of `q`, written every way the page needs.
template <typename Q>
DerivationStep step(const Q& q, const Context& c) {
  DerivationStep s;
  s.symbol = q.symbol;
  s.unit = q.unit;
  s.value = q.formula(c);
  // A named quantity is written by what it stands for.
  const auto& f = [&]() -> const auto& {
    if constexpr (requires { q.formula.expression; }) {
      return q.formula.expression;
    } else {
      return q.formula;
    }
  }
  ();
  f.write(s.expression, Style{false, false}, c);
  f.write(s.substituted, Style{true, false}, c);
  describe(s.condition, f, c);

  const Style symbols{false, true};
  std::string& m = s.mathml;
  m = "<math><mrow>";
  formula::writeSymbol(m, q.symbol, symbols);
  formula::writeOperator(m, "=", symbols);
  f.write(m, symbols, c);
  formula::writeOperator(m, "=", symbols);
  f.write(m, Style{true, true}, c);
  formula::writeOperator(m, "=", symbols);
  m += "<mn>" + formatReal(s.value) + "</mn>";
  if (!s.unit.empty()) {
    m += "<mspace width=\"0.25em\"></mspace><mi mathvariant=\"normal\">" + s.unit +
         "</mi>";
  }
  m += "</mrow></math>";
  return s;
}

}  // namespace

std::vector<DerivationStep> derive(const CouplingData& data) {
  const CheckResults results = checkCoupling(data);
  const Context c{data, results};
  std::vector<DerivationStep> steps;
  const auto add = [&](const auto& q) { steps.push_back(step(q, c)); };
  din740::eachOfStageOne(add);
  din740::eachOfStageTwo(add);
  return steps;
}
