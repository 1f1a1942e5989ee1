#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/din740.h"
#include "console/console.h"
#include "coupling/case_label.h"
#include "coupling/coupling_data.h"
#include "coupling/fields.h"
#include "coupling/series.h"

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
// (coupling/case_link.h), "example": true when it is the built-in example case without a
// label, "file": the case as a case file (coupling/case_file.h), or null when a
// value is not finite, "notSaved": null, or then why it is not saved, naming
// the field ("Fall nicht gespeichert: TLS hält inf, ..."), "drive": the case
// without the coupling's six values, in words ("TLN 159 Nm, n 1500 1/min, ..."),
// "name" and "size": its label ("" for none; the link and the file carry it
// too), "fileName": the name "Fall speichern" gives its file (caseFileName),
// "heading": the lines "Bezeichnung: ...\n" and "Baugröße: ...\n" (each only
// when set; "" for neither) for the head of the report and of the saved
// session}
std::string caseMessage(const CouplingData& data, const CaseLabel& label = {});

// The case of the link's fragment `link` (read over the example case, its
// label included) named `name`, the text of the page's field: its
// caseMessage with "refused": null, or, when `name` is no name
// (readLabelText: a line break, a control character), with the link's own
// name and "refused": a German sentence saying why.
std::string namedCaseMessage(std::string_view link, std::string_view name);

// {"version", "case", "results" (TLNmax TSAmax TSLmax TSmax fe nR VR Vfi Sf
// TWi TWimax PWi), "names" (what the six checks are called, in order:
// {title, brief, unit, valueName, limitName}), "checks" (the six, in order:
// {value, limit, okay, share (check/din740.h's shareText), valueName,
// limitName}), "curve" ([n, TWimax] pairs), "steps" (the way to
// every result, check/derivation.h: {symbol, expression, substituted, value,
// printed, unit, condition, mathml}), "printed" (the case,
// the results and PWimax), "pages" ({"values": the three display pages,
// "results": the three result pages, each as the program prints it)}
std::string checkMessage(const CouplingData& data, const CheckResults& results);

// What the program waits for: {"wait": "menu", "key", "page" or "number",
// "prompt": null, or at a number prompt {"field" (its name), "value" and
// "printed" (what it holds now in `now`), "description", "explanation"
// (what the value means and where it comes from), "unit", "switch"
// (true for a 0/1 field), "keep"
// (the shortest exact text of what it held in `before`, the case when the
// dialog began)}, "notice": what to say of the last line typed at a prompt
// (coupling/line_notice.h), or null when it was read as typed}.
std::string waitMessage(Wait what, const Field* field, const CouplingData& now,
                        const CouplingData& before, const std::string& notice);

// How a series was read, before any size is checked: {"decimalComma",
// "header" ("none", "byName", "inOrder", "refused"), "columns" (with
// "inOrder", which title became which value: Series::columns; else ""),
// "fields" (the six fields a size
// sets, by name), "names" (the six checks, as in checkMessage), "count" (the
// sizes read), "ignored": [{"line", "reason"}]}.
std::string seriesHeadMessage(const Series& series);

// The sizes `from` to `to` (not included) of `series` checked for `data`:
// [{"name", "values" (the six, in dialog d's order), "exact" (their
// shortest exact texts), "checks" (the six {value, limit, okay, share}),
// "okay"}]. `smallest`, the first passing size of the parts checked before,
// becomes this part's first passing size if it held none.
std::string sizesMessage(const CouplingData& data, const Series& series, std::size_t from,
                         std::size_t to, std::optional<std::size_t>& smallest);

// A whole table (as readSeries takes it) checked at once: {"head" (as
// seriesHeadMessage), "sizes" (as sizesMessage), "smallest" (the index of the
// first size that passes, or null)}.
std::string seriesMessage(const CouplingData& data, std::string_view table);

// A JSON array of `texts`, such as what readCaseLink ignored, for the page to say.
std::string listMessage(const std::vector<std::string>& texts);
