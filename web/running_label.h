#pragma once

#include <array>
#include <string>
#include <string_view>

#include "coupling/case_label.h"
#include "coupling/coupling_data.h"
#include "coupling/series.h"

// The label of the case a run in the page works on, kept across its
// commands: the name the page last handed (its field "Bezeichnung"), and the
// size taken over while the case's six values are that size's.
class RunningLabel {
 public:
  // Starts with the label of the run's link, for its case `data`.
  RunningLabel(const CaseLabel& start, const CouplingData& data);

  // The page's name for the case (readLabelText); false, and the name
  // kept, for a text that is no name.
  bool rename(std::string_view text);

  // A size the page takes over (dialog d typed with its values), as
  // sizeLink gives it. It names the case once a case comes with its six
  // values, until one comes with other values.
  void offerSize(std::string_view link);

  // The label of `data`, the case after a command.
  const CaseLabel& update(const CouplingData& data);

 private:
  CaseLabel label_;
  std::array<double, 6> sizeValues_{};  // the six values while label_.size holds
  CaseLabel offered_;                   // the size offered and not yet taken
  std::array<double, 6> offeredValues_{};
};

// A size as the fragment RunningLabel::offerSize reads: "size=NAME&TKN=...&
// TKmax=...&TKW=...&Cdyn=...&psi=...&PKW=...", each value exact.
std::string sizeLink(const CouplingSize& size);
