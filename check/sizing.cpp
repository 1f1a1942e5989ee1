#include "check/sizing.h"

std::vector<SizeCheck> checkSizes(const CouplingData& data,
                                  const std::vector<CouplingSize>& sizes) {
  std::vector<SizeCheck> out;
  out.reserve(sizes.size());
  for (const CouplingSize& size : sizes) {
    const CouplingData sized = withSize(data, size);
    SizeCheck check{checkOutcomes(sized, checkCoupling(sized)), true};
    for (const CheckOutcome& c : check.checks) check.okay = check.okay && c.okay;
    out.push_back(check);
  }
  return out;
}

std::optional<std::size_t> smallestPassing(const std::vector<SizeCheck>& checks) {
  for (std::size_t k = 0; k < checks.size(); ++k) {
    if (checks[k].okay) return k;
  }
  return std::nullopt;
}
