#include "web/running_label.h"

#include <gtest/gtest.h>

namespace {

TEST(RunningLabel, NamesTheSizeWhileTheCaseHasItsSixValues) {
  CouplingData data{};
  resetToDefaults(data);
  RunningLabel label({"Pumpe", ""}, data);
  EXPECT_FALSE(label.rename("zwei\nZeilen"));
  EXPECT_TRUE(label.rename(" Pumpe P-101 "));

  const CouplingSize b6{"B6 \"neu\"", {650, 1300, 170, 7000, 0.8, 26}};
  label.offerSize(sizeLink(b6));
  EXPECT_EQ(label.update(data).size, "");  // dialog d not yet typed
  for (std::size_t k = 0; k < b6.values.size(); ++k) data.*kSizeFields[k] = b6.values[k];
  EXPECT_EQ(label.update(data).size, "B6 \"neu\"");
  EXPECT_EQ(label.update(data).name, "Pumpe P-101");
  data.TLN = 480;  // the drive is the case's own
  EXPECT_EQ(label.update(data).size, "B6 \"neu\"");
  data.TKW = 171;  // a coupling value of another size
  EXPECT_EQ(label.update(data).size, "");
  data.TKW = 170;  // the size, once forgotten, stays so
  EXPECT_EQ(label.update(data).size, "");
}

}  // namespace
