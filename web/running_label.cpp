#include "web/running_label.h"

#include <cstddef>

#include "console/number.h"
#include "coupling/case_link.h"

namespace {

std::array<double, 6> sixValues(const CouplingData& data) {
  std::array<double, 6> values{};
  for (std::size_t k = 0; k < values.size(); ++k) values[k] = data.*kSizeFields[k];
  return values;
}

bool sameValues(const std::array<double, 6>& a, const std::array<double, 6>& b) {
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (!sameBits(a[k], b[k])) return false;
  }
  return true;
}

}  // namespace

RunningLabel::RunningLabel(const CaseLabel& start, const CouplingData& data)
    : label_(start), sizeValues_(sixValues(data)) {}

bool RunningLabel::rename(std::string_view text) {
  return readLabelText(text, label_.name);
}

void RunningLabel::offerSize(std::string_view link) {
  CouplingData values{};
  resetToDefaults(values);
  CaseLabel read;
  if (!readCaseLink(link, values, &read).empty() || read.size.empty()) return;
  offered_.size = read.size;
  offeredValues_ = sixValues(values);
}

const CaseLabel& RunningLabel::update(const CouplingData& data) {
  const std::array<double, 6> now = sixValues(data);
  if (!offered_.size.empty() && sameValues(now, offeredValues_)) {
    label_.size = offered_.size;
    sizeValues_ = now;
    offered_.size.clear();
  } else if (!sameValues(now, sizeValues_)) {
    label_.size.clear();
  }
  return label_;
}

std::string sizeLink(const CouplingSize& size) {
  std::string out = "size=" + linkText(size.name);
  for (std::size_t k = 0; k < size.values.size(); ++k)
    out += std::string("&") + kSizeNames[k] + "=" + shortestReal(size.values[k]);
  return out;
}
