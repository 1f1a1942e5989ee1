#include "check/check_csv.h"

#include <string_view>

#include "check/check_json.h"
#include "console/number.h"
#include "coupling/fields.h"

namespace {

std::string csvField(const CsvStyle& style, std::string text) {
  if (style.guardFormulas && !text.empty() &&
      std::string_view("=+-@").find(text[0]) != std::string_view::npos)
    text.insert(0, 1, '\'');
  const char special[] = {style.separator, '"', '\r', '\n', '\0'};
  if (text.find_first_of(special) == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// A number's text with the style's decimal mark.
std::string number(const CsvStyle& style, std::string text) {
  for (char& c : text) {
    if (c == '.') c = style.decimalMark;
  }
  return text;
}

}  // namespace

std::string csvHeader(const CsvStyle& style) {
  std::string out = style.byteOrderMark ? "\xEF\xBB\xBF"
                                          "file"
                                        : "file";
  const auto column = [&](const std::string& name) { out += style.separator + name; };
  column("name");
  column("size");
  for (const Field& f : kFields) column(f.name);
  for (const PrintedResult& r : kPrintedResults) column(r.name);
  column("PWimax");
  for (const CheckRule& rule : kChecks) column(std::string("okay ") + rule.valueName);
  return out + "\r\n";
}

std::string csvRow(const CsvStyle& style, const std::string& file, const CaseLabel& label,
                   const CouplingData& data, const CheckResults& results) {
  std::string out = csvField(style, file);
  const auto column = [&](const std::string& text) { out += style.separator + text; };
  column(csvField(style, label.name));
  column(csvField(style, label.size));
  for (const Field& f : kFields) column(number(style, exactValue(data, f)));
  for (const PrintedResult& r : kPrintedResults)
    column(number(style, shortestReal(results.*r.value)));
  column(number(style, shortestReal(results.PWimax)));
  for (const CheckOutcome& c : checkOutcomes(data, results))
    column(c.okay ? "okay" : "nicht okay");
  return out + "\r\n";
}
