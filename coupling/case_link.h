#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "coupling/coupling_data.h"

// A case as the fragment of the page's address, "TLN=159&n=1500&...": each
// of the twenty fields by its name, in the display pages' order.

// The fragment of `data`: every value in the shortest text that reads back
// to it exactly, so the link gives back the very case, bit for bit.
std::string caseLink(const CouplingData& data);

// Reads a link's fragment into `data`, which holds the values a field keeps
// when the link does not set it. %XX escapes are decoded. A part with an
// unknown name, a value that is not one whole number of its field's kind
// (read with the program's rules, a decimal comma included; the order and
// the switches take any 32-bit integer) changes nothing and is returned, decoded, in the
// order found. Links that carry printed ("%g") values read as they always did.
std::vector<std::string> readCaseLink(std::string_view fragment, CouplingData& data);
