#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "coupling/case_label.h"
#include "coupling/coupling_data.h"

// A case as the fragment of the page's address, "TLN=159&n=1500&...": each
// of the twenty fields by its name, in the display pages' order; then, when
// the case has them, its label as "name=..." and "size=...", percent-encoded
// (every byte but the letters, digits and "-._~" as %XX).

// `text` as a link's part holds it: every byte but the letters, digits and
// "-._~" as %XX.
std::string linkText(std::string_view text);

// The fragment of `data`: every value in the shortest text that reads back
// to it exactly, so the link gives back the very case, bit for bit.
std::string caseLink(const CouplingData& data, const CaseLabel& label = {});

// Reads a link's fragment into `data`, which holds the values a field keeps
// when the link does not set it. %XX escapes are decoded. A part with an
// unknown name, a value that is not one whole number of its field's kind
// (read with the program's rules, a decimal comma included; the order and
// the switches take any 32-bit integer) changes nothing and is returned, decoded, in the
// order found. Links that carry printed ("%g") values read as they always did.
// "name" and "size" go into `label` (read as readLabelText reads them, else
// returned as ignored, as written in the link); without a `label` they are
// passed over.
std::vector<std::string> readCaseLink(std::string_view fragment, CouplingData& data,
                                      CaseLabel* label = nullptr);
