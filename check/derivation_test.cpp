#include "check/derivation.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "check/din740.h"
#include "coupling/fields.h"

namespace {

// Evaluates a step's plain expression as a reader would: + - * / ^,
// parentheses, sqrt(...), pi = 3.14159265, and the symbols it is given.
class Evaluator {
 public:
  Evaluator(const std::string& text, const std::map<std::string, double>& symbols)
      : text_(text), symbols_(symbols) {}
  double whole() {
    const double value = sum();
    skip();
    if (at_ != text_.size()) ADD_FAILURE() << "unread rest: " << text_.substr(at_);
    return value;
  }

 private:
  void skip() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  bool take(char c) {
    skip();
    if (at_ == text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  double sum() {
    double value = product();
    for (;;) {
      if (take('+')) {
        value += product();
      } else if (take('-')) {
        value -= product();
      } else {
        return value;
      }
    }
  }
  double product() {
    double value = power();
    for (;;) {
      if (take('*')) {
        value *= power();
      } else if (take('/')) {
        value /= power();
      } else {
        return value;
      }
    }
  }
  double power() {
    const double base = atom();
    return take('^') ? std::pow(base, atom()) : base;
  }
  double atom() {
    if (take('(')) {
      const double value = sum();
      if (!take(')')) ADD_FAILURE() << "no ) in " << text_;
      return value;
    }
    skip();
    if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
      char* end = nullptr;
      const double value = std::strtod(text_.c_str() + at_, &end);
      at_ = static_cast<std::size_t>(end - text_.c_str());
      return value;
    }
    const std::size_t from = at_;
    while (at_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[at_])))
      ++at_;
    const std::string name = text_.substr(from, at_ - from);
    if (name == "sqrt" && take('(')) {
      const double value = std::sqrt(sum());
      if (!take(')')) ADD_FAILURE() << "no ) in " << text_;
      return value;
    }
    if (name == "pi") return 3.14159265;
    const auto found = symbols_.find(name);
    if (found == symbols_.end())
      ADD_FAILURE() << "unknown symbol '" << name << "' in " << text_;
    return found == symbols_.end() ? NAN : found->second;
  }

  const std::string& text_;
  const std::map<std::string, double>& symbols_;
  std::size_t at_ = 0;
};

// The steps' places in the results (the exciting torque TIK has none).
const std::map<std::string, double CheckResults::*> kKept = {
    {"TLNmax", &CheckResults::TLNmax}, {"rJ", &CheckResults::rJ},
    {"TL0", &CheckResults::TL0},       {"TSA", &CheckResults::TSA},
    {"TSAmax", &CheckResults::TSAmax}, {"TSL", &CheckResults::TSL},
    {"TSLmax", &CheckResults::TSLmax}, {"VR", &CheckResults::VR},
    {"TSi", &CheckResults::TSi},       {"TSmax", &CheckResults::TSmax},
    {"fe", &CheckResults::fe},         {"nR", &CheckResults::nR},
    {"fn", &CheckResults::fn},         {"ferr", &CheckResults::ferr},
    {"psi2", &CheckResults::psi2},     {"Vfi", &CheckResults::Vfi},
    {"Sf", &CheckResults::Sf},         {"TWi", &CheckResults::TWi},
    {"TWimax", &CheckResults::TWimax}, {"PWi", &CheckResults::PWi},
    {"PWimax", &CheckResults::PWimax},
};

// Every step's value is the check's, and its expression, evaluated, gives it.
void expectTheWayToEveryResult(const CouplingData& data) {
  const CheckResults results = checkCoupling(data);
  std::map<std::string, double> symbols;
  for (const Field& f : kFields) symbols[f.name] = fieldValue(data, f);
  const auto steps = derive(data);
  ASSERT_EQ(steps.size(), kKept.size() + 1);
  for (const DerivationStep& s : steps) {
    SCOPED_TRACE(s.symbol + " = " + s.expression);
    if (s.symbol != "TIK") {
      const double kept = results.*kKept.at(s.symbol);
      EXPECT_TRUE(kept == s.value || (std::isnan(kept) && std::isnan(s.value)));
    }
    const double evaluated = Evaluator(s.expression, symbols).whole();
    if (std::isfinite(s.value)) {
      EXPECT_NEAR(evaluated, s.value, 1e-7 * std::abs(s.value) + 1e-300);
    } else {
      EXPECT_TRUE(evaluated == s.value || (std::isnan(evaluated) && std::isnan(s.value)))
          << evaluated;
    }
    symbols[s.symbol] = s.value;
  }
}

TEST(Derivation, EveryBranchAndItsWords) {
  const struct {
    int startLoaded;
    int excitationSide;
    double n;
    const char* tl0;
    const char* tik;
    const char* sf;
  } cases[] = {
      {0, 0, 1500, "Anfahren lastfrei", "Anregung auf der Antriebsseite",
       "ferr = 50 1/s > 10 1/s"},
      {1, 1, 300, "Anfahren mit Last", "Anregung auf der Lastseite",
       "ferr = 10 1/s ≤ 10 1/s"},
      {5, 0, std::nan(""), "Anfahren mit Last", "Anregung auf der Antriebsseite",
       "ferr ist keine Zahl: Wurzelzweig"},
  };
  for (const auto& c : cases) {
    CouplingData data{};
    resetToDefaults(data);
    data.startLoaded = c.startLoaded;
    data.excitationSide = c.excitationSide;
    data.n = c.n;
    expectTheWayToEveryResult(data);
    std::map<std::string, std::string> conditions;
    for (const DerivationStep& s : derive(data)) conditions[s.symbol] = s.condition;
    EXPECT_EQ(conditions["TL0"], c.tl0);
    EXPECT_EQ(conditions["TIK"], c.tik);
    EXPECT_EQ(conditions["Sf"], c.sf);
    EXPECT_EQ(conditions["TSA"], "");
  }
  // The example as the page shows it.
  CouplingData data{};
  resetToDefaults(data);
  const DerivationStep tsa = derive(data)[3];
  EXPECT_EQ(tsa.expression + " = " + tsa.substituted,
            "TAS / (rJ + 1) * SS = 239 / (2.3 + 1) * 1.8");
  const DerivationStep fe = derive(data)[11];
  EXPECT_EQ(fe.expression, "1 / (2 * pi) * sqrt((1 / JA + 1 / JL) * Cdyn)");
}

TEST(Derivation, RandomCases) {
  std::mt19937_64 random(740);
  std::uniform_real_distribution<> any(-10, 3000);
  for (int k = 0; k < 300; ++k) {
    CouplingData data{};
    for (const Field& f : kFields) {
      if (f.real != nullptr) data.*f.real = any(random);
    }
    data.i = static_cast<int>(random() % 5);  // 0 too: an infinite nR
    data.excitationSide = static_cast<int>(random() % 2);
    data.startLoaded = static_cast<int>(random() % 2);
    expectTheWayToEveryResult(data);
  }
}

}  // namespace
