#pragma once

#include <cstddef>
#include <optional>

#include "check/din740.h"
#include "console/json.h"
#include "coupling/coupling_data.h"
#include "coupling/series.h"

// A case, its check and its sizes as JSON values, for the browser page and
// for scripts (tavro --check --format json). Numbers at full precision; a
// number JSON has no word for as {"nonFinite": "NaN"} (console/json.h).

// The results the result pages print, in their order: TLNmax TSAmax TSLmax
// TSmax fe nR VR Vfi Sf TWi TWimax PWi.
struct PrintedResult {
  const char* name;
  double CheckResults::*value;
};
extern const PrintedResult kPrintedResults[12];

// {"TLN": 159, ...}: the twenty fields by their names (coupling/fields.h).
void writeCase(JsonWriter& json, const CouplingData& data);
// {"TLNmax": 190.8, ...}: the twelve printed results.
void writeResults(JsonWriter& json, const CheckResults& results);
// [{value, limit, okay, share (shareText), verdict ("okay!", "nicht okay!"),
// valueName, limitName, note (a line to show with it, or null)}]: the six
// checks in order.
void writeChecks(JsonWriter& json, const CouplingData& data, const CheckResults& results);
// [{title, brief, unit, valueName, limitName}]: what the six checks are called.
void writeCheckNames(JsonWriter& json);
// [{symbol, expression, substituted, value, printed, unit, condition,
// mathml}]: the way to every result (check/derivation.h).
void writeSteps(JsonWriter& json, const CouplingData& data);
// [{name, values, exact, checks: [{value, limit, okay, share}], okay}]: the
// sizes `from` to `to` (not included) of `series` checked for `data`;
// `smallest`, the first passing size of the parts checked before, becomes
// this part's first passing size if it held none.
void writeSizes(JsonWriter& json, const CouplingData& data, const Series& series,
                std::size_t from, std::size_t to, std::optional<std::size_t>& smallest);
