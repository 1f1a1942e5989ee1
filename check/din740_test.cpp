#include "check/din740.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "console/format.h"

namespace {

// A value as the result pages print it.
std::string g(double value) { return formatReal(value); }

CouplingData defaults() {
  CouplingData data{};
  resetToDefaults(data);
  return data;
}

struct Expected {
  double CheckResults::*field;
  const char* name;
  const char* printed;  // "%g" of the value
};

struct Case {
  const char* name;
  std::function<void(CouplingData&)> change;
  std::vector<Expected> expected;
};

#define FIELD(f) &CheckResults::f, #f

TEST(CheckCoupling, ValuesAsPrinted) {
  const Case cases[] = {
      // clang-format off
      {"defaults", [](CouplingData&) {},
       {{FIELD(TLNmax), "190.8"}, {FIELD(TSAmax), "156.436"}, {FIELD(TSLmax), "908.902"},
        {FIELD(TSmax), "228.479"}, {FIELD(fe), "9.88573"}, {FIELD(nR), "296.572"},
        {FIELD(VR), "7.85398"}, {FIELD(Vfi), "0.0410092"}, {FIELD(Sf), "2.23607"},
        {FIELD(fn), "25"}, {FIELD(ferr), "50"}, {FIELD(TWi), "0.994162"},
        {FIELD(TWimax), "2.66762"}, {FIELD(PWi), "0.00735112"}}},
      {"started under load", [](CouplingData& d) { d.startLoaded = 1; },
       {{FIELD(TSAmax), "347.236"}, {FIELD(TSLmax), "908.902"}}},
      {"no drive-side inertia", [](CouplingData& d) { d.JA = 0; },
       {{FIELD(rJ), "0"}, {FIELD(TSAmax), "516.24"}, {FIELD(TSLmax), "190.8"},
        {FIELD(fe), "inf"}, {FIELD(Vfi), "1"}, {FIELD(TSmax), "753.982"}, {FIELD(TWi), "80"},
        {FIELD(TWimax), "214.663"}, {FIELD(PWi), "47.6013"}}},
      {"no load-side inertia", [](CouplingData& d) { d.JL = 0; },
       {{FIELD(rJ), "inf"}, {FIELD(TSA), "0"}, {FIELD(TSLmax), "nan"}, {FIELD(fe), "inf"}}},
      // The frequency factor follows the excitation frequency: 16.7 1/s here.
      {"slow speed", [](CouplingData& d) { d.n = 500; },
       {{FIELD(fn), "8.33333"}, {FIELD(ferr), "16.6667"}, {FIELD(Vfi), "0.54586"},
        {FIELD(Sf), "1.29099"}, {FIELD(TWi), "13.233"}, {FIELD(TWimax), "20.5004"},
        {FIELD(PWi), "0.434142"}}},
      {"load-side excitation",
       [](CouplingData& d) { d.excitationSide = 1; d.startLoaded = 1; d.TLI = 50; },
       {{FIELD(TSmax), "519.239"}, {FIELD(TWi), "1.42911"}, {FIELD(TWimax), "3.8347"},
        {FIELD(PWi), "0.0151904"}}},
      {"load-side excitation without torque", [](CouplingData& d) { d.excitationSide = 1; },
       {{FIELD(TWi), "0"}, {FIELD(TWimax), "0"}, {FIELD(PWi), "0"}}},
      {"order zero", [](CouplingData& d) { d.i = 0; },
       {{FIELD(ferr), "0"}, {FIELD(nR), "inf"}, {FIELD(Vfi), "1"}, {FIELD(Sf), "1"},
        {FIELD(TWi), "24.2424"}, {FIELD(TWimax), "29.0909"}, {FIELD(PWi), "0"}}},
      {"no damping", [](CouplingData& d) { d.psi = 0; }, {{FIELD(VR), "inf"}}},
      // clang-format on
  };
  for (const Case& c : cases) {
    CouplingData data = defaults();
    c.change(data);
    const CheckResults results = checkCoupling(data);
    for (const Expected& e : c.expected) {
      EXPECT_EQ(e.printed, g(results.*e.field)) << c.name << ": " << e.name;
    }
  }
}

TEST(CheckCoupling, StageOneLeavesStageTwoAlone) {
  CheckResults results{};
  results.TWi = 42;
  computeStageOne(defaults(), results);
  EXPECT_EQ(42, results.TWi);
  EXPECT_EQ("190.8", g(results.TLNmax));
}

TEST(CheckCoupling, DampingVerdictUsesTheTemperatureFactor) {
  // PWi below PKW, PWimax = ST * PWi above it.
  CouplingData data = defaults();
  data.PKW = checkCoupling(data).PWi * 1.1;
  const CheckResults results = checkCoupling(data);
  EXPECT_TRUE(isOkay(results.PWi, data.PKW));
  EXPECT_FALSE(isOkay(results.PWimax, data.PKW));
}

TEST(IsOkay, OnlyAValueAtMostItsLimit) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value, limit;
    bool okay;
  } cases[] = {
      {190.8, 265, true}, {530, 530, true}, {908.902, 530, false},
      {nan, 530, false},  {0, nan, false},  {inf, 530, false},
      {-inf, 530, true},  {inf, inf, true}, {-nan, -nan, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.okay, isOkay(c.value, c.limit)) << c.value << " <= " << c.limit;
  }
}

}  // namespace

TEST(ShareText, NeverContradictsTheVerdict) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value, limit;
    const char* text;
  } cases[] = {
      {908.902, 530, "171 %"},
      {100.4, 100, "100,4 %"},
      {99.96, 100, "99,96 %"},
      {100, 100, "100 %"},
      {99.6, 100, "99,6 %"},
      {99.9999, 100, "99,99 %"},
      {100.0001, 100, "100,01 %"},
      {50, 0, "–"},
      {50, -10, "–"},
      {inf, 100, "–"},
      {std::nan(""), 100, "–"},
      {12, 400, "3 %"},
      {-0.4, 100, "0 %"},
      {-0.0, 100, "0 %"},
      {-0.6, 100, "-1 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shareText({c.value, c.limit, isOkay(c.value, c.limit)}), c.text)
        << c.value << " of " << c.limit;
  }
}
