#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/din740.h"
#include "console/console.h"
#include "coupling/coupling_data.h"
#include "coupling/fields.h"

// What the browser page is handed by a run, as JSON texts. Numbers are
// handed at full precision; the objects {"nonFinite": "NaN"} ("Infinity",
// "-Infinity") stand for the values JSON has no words for, so no string is
// ever taken for a number. "printed" maps each value's name to its text as
// the program prints it, so the page never writes a number differently.
//
// The case's twenty fields go by the names of the display pages, in their
// order: TLN, n, i, JA, JL, excitationSide, startLoaded, TAS, TAI, TLS, TLI,
// TKN, TKmax, TKW, Cdyn, psi, PKW, ST, SS, SZ.

// {"case": {...}, "printed": {...}, "link": the case as a link's fragment
// (web/case_link.h), "example": true when it is the built-in example case}
std::string caseMessage(const CouplingData& data);

// {"version", "case", "results" (TLNmax TSAmax TSLmax TSmax fe nR VR Vfi Sf
// TWi TWimax PWi), "checks" (the six, in order: {value, limit, okay,
// valueName, limitName}), "curve" ([n, TWimax] pairs), "steps" (the way to
// every result, check/derivation.h: {symbol, expression, substituted, value,
// printed, unit, condition, mathml}), "printed" (the case,
// the results and PWimax), "pages" ({"values": the three display pages,
// "results": the three result pages, each as the program prints it)}
std::string checkMessage(const CouplingData& data, const CheckResults& results);

// What the program waits for: {"wait": "menu", "key", "page" or "number",
// "prompt": null, or at a number prompt {"field" (its name), "value" and
// "printed" (what it holds now in `now`), "description", "unit", "switch"
// (true for a 0/1 field), "keep"
// (the shortest exact text of what it held in `before`, the case when the
// dialog began)}}.
std::string waitMessage(Wait what, const Field* field, const CouplingData& now,
                        const CouplingData& before);

// The case `data` checked with each size of the series in `table` (as
// readSeries takes it): {"decimalComma", "header" ("none", "byName",
// "inOrder"), "fields" (the six fields a size sets, by name), "sizes":
// [{"name", "values" (the six, in dialog d's order), "exact" (their shortest
// exact texts), "checks" (the six {value, limit, okay}), "okay"}],
// "smallest" (the index of the first size that passes, or null), "ignored":
// [{"line", "reason"}]}.
std::string seriesMessage(const CouplingData& data, std::string_view table);

// A JSON array of `texts`, such as what readCaseLink ignored, for the page to say.
std::string listMessage(const std::vector<std::string>& texts);
