#include "check/derivation.h"

#include <cctype>
#include <cmath>
#include <string_view>

#include "check/din740.h"
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

  // Three pieces, each a math element of its own, so that a narrow line
  // breaks between them: "symbol = formula", "= with values", "= result".
  const Style symbols{false, true};
  const auto piece = [](const std::string& inner) {
    return "<math displaystyle=\"true\"><mrow>" + inner + "</mrow></math>";
  };
  std::string formulaPart;
  formula::writeSymbol(formulaPart, q.symbol, symbols);
  formula::writeOperator(formulaPart, "=", symbols);
  f.write(formulaPart, symbols, c);
  std::string values;
  formula::writeOperator(values, "=", symbols);
  f.write(values, Style{true, true}, c);
  std::string result;
  formula::writeOperator(result, "=", symbols);
  result += "<mn>" + formatReal(s.value) + "</mn>";
  if (!s.unit.empty()) {
    result += "<mspace width=\"0.25em\"></mspace><mi mathvariant=\"normal\">" + s.unit +
              "</mi>";
  }
  s.mathml = {piece(formulaPart), piece(values), piece(result)};
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

namespace {

// A plain expression ("SZ * TSA * ST", "sqrt(ferr / 10)", "psi2") with the
// symbols a textbook uses: whole names only, so that PWi keeps its letters.
std::string textbook(std::string_view plain) {
  std::string out;
  for (std::size_t k = 0; k < plain.size();) {
    const auto letter = [&](std::size_t at) {
      return at < plain.size() &&
             (std::isalnum(static_cast<unsigned char>(plain[at])) != 0);
    };
    if (std::isalpha(static_cast<unsigned char>(plain[k])) != 0) {
      std::size_t end = k;
      while (letter(end)) ++end;
      const std::string_view name = plain.substr(k, end - k);
      out += name == "pi"     ? "π"
             : name == "psi"  ? "ψ"
             : name == "psi2" ? "ψ²"
             : name == "sqrt" ? "√"
                              : std::string(name);
      k = end;
    } else if (plain.substr(k, 3) == " * ") {
      out += " · ";
      k += 3;
    } else if (plain.substr(k, 2) == "^2") {
      out += "²";
      k += 2;
    } else {
      out += plain[k++];
    }
  }
  return out;
}

}  // namespace

std::string derivationText(const CouplingData& data) {
  std::string out;
  for (const DerivationStep& s : derive(data)) {
    if (!s.condition.empty()) out += s.condition + ": ";
    out += textbook(s.symbol) + " = " + textbook(s.expression) + " = " +
           textbook(s.substituted) + " = " + formatReal(s.value);
    if (!s.unit.empty()) out += " " + s.unit;
    out += '\n';
  }
  const CheckResults results = checkCoupling(data);
  const auto outcomes = checkOutcomes(data, results);
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    const CheckOutcome& c = outcomes[k];
    const std::string unit = std::string(" ") + kChecks[k].unit;
    const char* relation = c.okay ? " ≤ "
                           : std::isnan(c.value) || std::isnan(c.limit)
                               ? " nicht vergleichbar mit "
                               : " > ";
    out += kChecks[k].valueName;
    out += " = " + formatReal(c.value) + unit + relation;
    out += kChecks[k].limitName;
    out += " = " + formatReal(c.limit) + unit + " → ";
    out += c.okay ? "okay!\n" : "nicht okay!\n";
  }
  return out;
}
