#include "web/page_data.h"

#include <cmath>
#include <cstdio>

#include "check/curve.h"
#include "check/derivation.h"
#include "check/result_pages.h"
#include "check/sizing.h"
#include "console/console.h"
#include "console/format.h"
#include "console/number.h"
#include "coupling/display.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "web/case_link.h"

namespace {

// The results the page is handed, in the order of the result pages.
struct Result {
  const char* name;
  double CheckResults::*value;
};

constexpr Result kResults[] = {
    {"TLNmax", &CheckResults::TLNmax}, {"TSAmax", &CheckResults::TSAmax},
    {"TSLmax", &CheckResults::TSLmax}, {"TSmax", &CheckResults::TSmax},
    {"fe", &CheckResults::fe},         {"nR", &CheckResults::nR},
    {"VR", &CheckResults::VR},         {"Vfi", &CheckResults::Vfi},
    {"Sf", &CheckResults::Sf},         {"TWi", &CheckResults::TWi},
    {"TWimax", &CheckResults::TWimax}, {"PWi", &CheckResults::PWi},
};

void appendString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

// A number; one JSON has no word for as an object no string can be taken
// for: {"nonFinite": "NaN"}, "Infinity" or "-Infinity".
void appendNumber(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "{\"nonFinite\":\"NaN\"}";
  } else if (std::isinf(value)) {
    out += value > 0 ? "{\"nonFinite\":\"Infinity\"}" : "{\"nonFinite\":\"-Infinity\"}";
  } else {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    out += text;
  }
}

// Starts a member: a comma unless it is the first of its object or array.
void appendKey(std::string& out, std::string_view key) {
  if (out.back() != '{' && out.back() != '[') out += ',';
  appendString(out, key);
  out += ':';
}

// The members value, limit and okay of one check, for an open object.
void appendOutcome(std::string& out, const CheckOutcome& c) {
  appendKey(out, "value");
  appendNumber(out, c.value);
  appendKey(out, "limit");
  appendNumber(out, c.limit);
  appendKey(out, "okay");
  out += c.okay ? "true" : "false";
}

void appendCase(std::string& out, const CouplingData& data) {
  out += '{';
  for (const Field& f : kFields) {
    appendKey(out, f.name);
    if (f.real != nullptr) {
      appendNumber(out, data.*f.real);
    } else {
      out += std::to_string(data.*f.integer);
    }
  }
  out += '}';
}

// The printed text of every field, for the members of an open object.
void appendPrintedCase(std::string& out, const CouplingData& data) {
  for (const Field& f : kFields) {
    appendKey(out, f.name);
    appendString(out, printedValue(data, f));
  }
}

bool isExample(const CouplingData& data) {
  CouplingData example{};
  resetToDefaults(example);
  return sameCase(data, example);
}

// Catches the pages a command prints: each read of a key ends a page, and
// every key is the space bar, so the command shows all of its pages.
class PageCapture : public Device {
 public:
  long read(char* buffer, std::size_t size, int /*waitMs*/) override {
    if (size == 0) return 0;
    buffer[0] = ' ';
    pages_.emplace_back();
    return 1;
  }
  bool ready() override { return false; }  // so all output is written before a read
  void write(std::string_view text) override { pages_.back().append(text); }

  // The pages without the pager's prompt (the unended last line of a page)
  // and without the line end the pager prints after the key.
  std::vector<std::string> pages() const {
    std::vector<std::string> result;
    for (std::string_view page : pages_) {
      if (!page.empty() && page.front() == '\n') page.remove_prefix(1);
      page = page.substr(0, page.rfind('\n') + 1);
      if (!page.empty()) result.emplace_back(page);
    }
    return result;
  }

 private:
  std::vector<std::string> pages_{1};
};

// The pages `command` prints when it is run on a console of its own.
template <typename Command>
std::vector<std::string> pagesOf(Command command) {
  PageCapture capture;
  Console console(capture);
  command(console);
  console.flush();
  return capture.pages();
}

}  // namespace

std::string caseMessage(const CouplingData& data) {
  std::string out = "{";
  appendKey(out, "case");
  appendCase(out, data);
  appendKey(out, "printed");
  out += '{';
  appendPrintedCase(out, data);
  out += '}';
  appendKey(out, "link");
  appendString(out, caseLink(data));
  appendKey(out, "example");
  out += isExample(data) ? "true" : "false";
  out += '}';
  return out;
}

std::string checkMessage(const CouplingData& data, const CheckResults& results) {
  std::string out = "{";
  appendKey(out, "version");
  appendString(out, TAVRO_VERSION);
  appendKey(out, "case");
  appendCase(out, data);

  appendKey(out, "results");
  out += '{';
  for (const Result& r : kResults) {
    appendKey(out, r.name);
    appendNumber(out, results.*r.value);
  }
  out += '}';

  appendKey(out, "checks");
  out += '[';
  const auto outcomes = checkOutcomes(data, results);
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    if (out.back() != '[') out += ',';
    out += "{";
    appendOutcome(out, outcomes[k]);
    appendKey(out, "valueName");
    appendString(out, kChecks[k].valueName);
    appendKey(out, "limitName");
    appendString(out, kChecks[k].limitName);
    out += '}';
  }
  out += ']';

  appendKey(out, "curve");
  out += '[';
  for (const CurvePoint& p : alternatingTorqueCurve(data)) {
    if (out.back() != '[') out += ',';
    out += '[';
    appendNumber(out, p.n);
    out += ',';
    appendNumber(out, p.TWimax);
    out += ']';
  }
  out += ']';

  appendKey(out, "steps");
  out += '[';
  for (const DerivationStep& step : derive(data)) {
    if (out.back() != '[') out += ',';
    out += '{';
    appendKey(out, "symbol");
    appendString(out, step.symbol);
    appendKey(out, "expression");
    appendString(out, step.expression);
    appendKey(out, "substituted");
    appendString(out, step.substituted);
    appendKey(out, "value");
    appendNumber(out, step.value);
    appendKey(out, "printed");
    appendString(out, formatReal(step.value));
    appendKey(out, "unit");
    appendString(out, step.unit);
    appendKey(out, "condition");
    appendString(out, step.condition);
    appendKey(out, "mathml");
    appendString(out, step.mathml);
    out += '}';
  }
  out += ']';

  appendKey(out, "printed");
  out += '{';
  appendPrintedCase(out, data);
  for (const Result& r : kResults) {
    appendKey(out, r.name);
    appendString(out, formatReal(results.*r.value));
  }
  appendKey(out, "PWimax");
  appendString(out, formatReal(results.PWimax));
  out += '}';

  appendKey(out, "pages");
  out += '{';
  appendKey(out, "values");
  out += listMessage(pagesOf([&](Console& c) { showCurrentValues(c, data); }));
  appendKey(out, "results");
  CheckResults scratch{};  // the command's own results; the same as `results`
  out += listMessage(pagesOf([&](Console& c) { computeCommand(c, data, scratch); }));
  out += "}}";
  return out;
}

std::string waitMessage(Wait what, const Field* field, const CouplingData& now,
                        const CouplingData& before) {
  constexpr const char* kWaits[] = {"menu", "key", "page", "number"};
  std::string out = "{";
  appendKey(out, "wait");
  appendString(out, kWaits[static_cast<int>(what)]);
  appendKey(out, "prompt");
  if (what != Wait::kNumber || field == nullptr) {
    out += "null}";
    return out;
  }
  out += '{';
  appendKey(out, "field");
  appendString(out, field->name);
  appendKey(out, "value");
  appendNumber(out, fieldValue(now, *field));
  appendKey(out, "printed");
  appendString(out, printedValue(now, *field));
  appendKey(out, "description");
  appendString(out, field->description);
  appendKey(out, "unit");
  appendString(out, field->unit);
  appendKey(out, "switch");
  out += field->isSwitch ? "true" : "false";
  appendKey(out, "keep");
  appendString(out, exactValue(before, *field));
  out += "}}";
  return out;
}

std::string seriesMessage(const CouplingData& data, std::string_view table) {
  const Series series = readSeries(table);
  const std::vector<SizeCheck> checks = checkSizes(data, series.sizes);
  constexpr const char* kHeaders[] = {"none", "byName", "inOrder"};
  std::string out = "{";
  appendKey(out, "decimalComma");
  out += series.decimalComma ? "true" : "false";
  appendKey(out, "header");
  appendString(out, kHeaders[static_cast<int>(series.header)]);
  appendKey(out, "fields");
  out += '[';
  for (const char* name : kSizeNames) {
    if (out.back() != '[') out += ',';
    appendString(out, name);
  }
  out += ']';
  appendKey(out, "sizes");
  out += '[';
  for (std::size_t k = 0; k < series.sizes.size(); ++k) {
    if (out.back() != '[') out += ',';
    out += '{';
    appendKey(out, "name");
    appendString(out, series.sizes[k].name);
    appendKey(out, "values");
    out += '[';
    for (const double value : series.sizes[k].values) {
      if (out.back() != '[') out += ',';
      appendNumber(out, value);
    }
    out += ']';
    appendKey(out, "exact");
    out += '[';
    for (const double value : series.sizes[k].values) {
      if (out.back() != '[') out += ',';
      appendString(out, shortestReal(value));
    }
    out += ']';
    appendKey(out, "checks");
    out += '[';
    for (const CheckOutcome& c : checks[k].checks) {
      if (out.back() != '[') out += ',';
      out += '{';
      appendOutcome(out, c);
      out += '}';
    }
    out += ']';
    appendKey(out, "okay");
    out += checks[k].okay ? "true" : "false";
    out += '}';
  }
  out += ']';
  appendKey(out, "smallest");
  const std::optional<std::size_t> smallest = smallestPassing(checks);
  out += smallest ? std::to_string(*smallest) : "null";
  appendKey(out, "ignored");
  out += '[';
  for (const IgnoredLine& line : series.ignored) {
    if (out.back() != '[') out += ',';
    out += '{';
    appendKey(out, "line");
    out += std::to_string(line.line);
    appendKey(out, "reason");
    appendString(out, line.reason);
    out += '}';
  }
  out += "]}";
  return out;
}

std::string listMessage(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (const std::string& text : texts) {
    if (out.back() != '[') out += ',';
    appendString(out, text);
  }
  out += ']';
  return out;
}
