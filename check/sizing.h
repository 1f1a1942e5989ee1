#pragma once

#include <array>
#include <optional>
#include <vector>

#include "check/din740.h"
#include "coupling/coupling_data.h"
#include "coupling/series.h"

// Choosing the size: the case checked with each size of a series.

// A size and its six checks, in the result pages' order.
struct SizeCheck {
  std::array<CheckOutcome, 6> checks;
  bool okay;  // all six okay; never for a size whose check cannot be computed
};

// The check of `data` with each size's six coupling values in place of its
// own, in the series' order.
std::vector<SizeCheck> checkSizes(const CouplingData& data,
                                  const std::vector<CouplingSize>& sizes);

// The first size that passes all six checks: in a series listed from small
// to large, the smallest that fits. None when no size passes.
std::optional<std::size_t> smallestPassing(const std::vector<SizeCheck>& checks);
