#include "check/check_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1))
    ++found;
  return found;
}

// The resonance check says when the drive never runs through its resonance
// as it starts, and only then; its verdict stays as computed.
TEST(CheckJson, TheResonanceCheckSaysWhenNrIsAboveTheSpeed) {
  struct Case {
    double n;
    int i;
    std::size_t notes;
  };
  const Case cases[] = {{1500, 2, 0}, {100, 2, 1}, {-5, 2, 1}, {100, 0, 0}, {NAN, 2, 0}};
  for (const Case& c : cases) {
    CouplingData data{};
    resetToDefaults(data);
    data.n = c.n;
    data.i = c.i;
    const CheckResults results = checkCoupling(data);
    JsonWriter json;
    writeChecks(json, data, results);
    const std::string text = json.text();
    EXPECT_EQ(
        count(text,
              "\"note\":\"nR > n: die Resonanz wird beim Anfahren nicht durchfahren.\""),
        c.notes)
        << c.n << " " << c.i << " nR=" << results.nR;
    EXPECT_EQ(count(text, "\"note\":"), 6u);
  }
}

}  // namespace
