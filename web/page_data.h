#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/din740.h"
#include "coupling/coupling_data.h"

// What the browser page is handed by a run, as JSON texts, and the case a
// run is started with, from a link. Numbers are handed at full precision;
// the strings "NaN", "Infinity" and "-Infinity" stand for the values JSON
// has no words for. "printed" maps each value's name to its text as the
// program prints it, so the page never writes a number differently.
//
// The case's twenty fields go by the names of the display pages, in their
// order: TLN, n, i, JA, JL, excitationSide, startLoaded, TAS, TAI, TLS, TLI,
// TKN, TKmax, TKW, Cdyn, psi, PKW, ST, SS, SZ.

// {"case": {...}, "printed": {...}, "example": true when it is the
// built-in example case}
std::string caseMessage(const CouplingData& data);

// {"version", "case", "results" (TLNmax TSAmax TSLmax TSmax fe nR VR Vfi Sf
// TWi TWimax PWi), "checks" (the six, in order: {value, limit, okay,
// valueName, limitName}), "curve" ([n, TWimax] pairs), "printed" (the case,
// the results and PWimax), "pages" ({"values": the three display pages,
// "results": the three result pages, each as the program prints it)}
std::string checkMessage(const CouplingData& data, const CheckResults& results);

// Reads a link's fragment, "TLN=159&n=1500&...", into `data`, which holds
// the values a field keeps when the link does not set it. %XX escapes are
// decoded. A part with an unknown name, a value that is not a whole number
// (strtod's or, for i, a decimal integer), or a switch other than 0 or 1
// changes nothing and is returned, decoded, in the order found.
std::vector<std::string> readCaseLink(std::string_view fragment, CouplingData& data);

// A JSON array of `texts`: what readCaseLink ignored, for the page to say.
std::string listMessage(const std::vector<std::string>& texts);
