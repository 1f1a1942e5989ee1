#pragma once

#include <string>

#include "check/din740.h"
#include "coupling/case_label.h"
#include "coupling/coupling_data.h"

// Cases and their checks as CSV, a header and a row per case, for scripts
// (tavro --check --format csv) and for spreadsheets (--format csv-de).
// Columns: file, the case's name and the size taken over (coupling/case_label.h),
// the twenty fields (coupling/fields.h), the twelve printed
// results (check/check_json.h), PWimax (the damping check's value), then
// "okay " and each check's value name with "okay" or "nicht okay". Lines end
// in CR LF; a field holding the separator, a quote or a line end stands in
// quotes, with "" for a quote inside.

struct CsvStyle {
  char separator;      // between fields
  char decimalMark;    // in every number
  bool byteOrderMark;  // the header begins with UTF-8's
  // A text cell beginning with = + - or @ gets a ' before it, so that a
  // spreadsheet shows a name such as "=HYPERLINK(...)" and runs no formula.
  bool guardFormulas;
};

// RFC 4180, as scripts read it: commas and decimal points.
inline constexpr CsvStyle kCsvForScripts{',', '.', false, false};
// As a spreadsheet set up for German opens it by double click, every number
// in a cell of its own: semicolons and decimal commas; the byte-order mark
// tells it the names are UTF-8.
inline constexpr CsvStyle kCsvGerman{';', ',', true, true};

std::string csvHeader(const CsvStyle& style);

// The row of the case `data`, named by `label`, read from `file` (UTF-8)
// whose check gave `results`; numbers as console/number.h's shortestReal writes them,
// with the style's decimal mark ("nan" and "inf" as they are).
std::string csvRow(const CsvStyle& style, const std::string& file, const CaseLabel& label,
                   const CouplingData& data, const CheckResults& results);
