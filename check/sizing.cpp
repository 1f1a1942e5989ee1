#include "check/sizing.h"

#include "check/din740.h"

std::vector<SizeCheck> checkSizes(const CouplingData& data,
                                  const std::vector<CouplingSize>& sizes) {
  std::vector<SizeCheck> out;
  out.reserve(sizes.size());
  for (const CouplingSize& size : sizes) {
    const CouplingData sized = withSize(data, size);
    const CheckResults results = checkCoupling(sized);
    SizeCheck check{};
    check.okay = true;
    for (std::size_t k = 0; k < std::size(kChecks); ++k) {
      const CheckRule& rule = kChecks[k];
      const double value = results.*rule.value;
      const double limit = sized.*rule.limit;
      check.checks[k] = {value, limit, isOkay(value, limit)};
      check.okay = check.okay && check.checks[k].okay;
    }
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
