#include "web/page_data.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "check/curve.h"
#include "check/result_pages.h"
#include "console/console.h"
#include "console/format.h"
#include "coupling/display.h"

namespace {

// A field of the case by its display name: a real, an integer, or a 0/1
// switch.
struct Field {
  const char* name;
  double CouplingData::*real;
  int CouplingData::*integer;
  bool isSwitch;
};

constexpr Field real(const char* name, double CouplingData::*f) {
  return {name, f, nullptr, false};
}
constexpr Field integer(const char* name, int CouplingData::*f) {
  return {name, nullptr, f, false};
}
constexpr Field choice(const char* name, int CouplingData::*f) {
  return {name, nullptr, f, true};
}

constexpr Field kFields[] = {
    real("TLN", &CouplingData::TLN),
    real("n", &CouplingData::n),
    integer("i", &CouplingData::i),
    real("JA", &CouplingData::JA),
    real("JL", &CouplingData::JL),
    choice("excitationSide", &CouplingData::excitationSide),
    choice("startLoaded", &CouplingData::startLoaded),
    real("TAS", &CouplingData::TAS),
    real("TAI", &CouplingData::TAI),
    real("TLS", &CouplingData::TLS),
    real("TLI", &CouplingData::TLI),
    real("TKN", &CouplingData::TKN),
    real("TKmax", &CouplingData::TKmax),
    real("TKW", &CouplingData::TKW),
    real("Cdyn", &CouplingData::Cdyn),
    real("psi", &CouplingData::psi),
    real("PKW", &CouplingData::PKW),
    real("ST", &CouplingData::ST),
    real("SS", &CouplingData::SS),
    real("SZ", &CouplingData::SZ),
};

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

void appendNumber(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "\"NaN\"";
  } else if (std::isinf(value)) {
    out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
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
    appendString(out, f.real != nullptr ? formatReal(data.*f.real)
                                        : std::to_string(data.*f.integer));
  }
}

bool isExample(const CouplingData& data) {
  CouplingData example{};
  resetToDefaults(example);
  for (const Field& f : kFields) {
    if (f.real != nullptr ? data.*f.real != example.*f.real
                          : data.*f.integer != example.*f.integer) {
      return false;
    }
  }
  return true;
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

// The value of a hex digit, or -1.
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes %XX escapes; a % without two hex digits stands for itself.
std::string decode(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '%' && k + 2 < text.size() && hexDigit(text[k + 1]) >= 0 &&
        hexDigit(text[k + 2]) >= 0) {
      out += static_cast<char>(hexDigit(text[k + 1]) * 16 + hexDigit(text[k + 2]));
      k += 2;
    } else {
      out += text[k];
    }
  }
  return out;
}

// Stores `value` into the field when it is a whole number of its kind.
bool store(const Field& f, const std::string& value, CouplingData& data) {
  if (value.empty() || std::isspace(static_cast<unsigned char>(value.front())) != 0)
    return false;
  char* end = nullptr;
  errno = 0;
  if (f.real != nullptr) {
    const double number = std::strtod(value.c_str(), &end);
    if (*end != '\0') return false;
    data.*f.real = number;
    return true;
  }
  const long number = std::strtol(value.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  if (f.isSwitch && number != 0 && number != 1) return false;
  data.*f.integer = static_cast<int>(number);
  return true;
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
  for (const CheckRule& rule : kChecks) {
    if (out.back() != '[') out += ',';
    const double value = results.*rule.value;
    const double limit = data.*rule.limit;
    out += "{";
    appendKey(out, "value");
    appendNumber(out, value);
    appendKey(out, "limit");
    appendNumber(out, limit);
    appendKey(out, "okay");
    out += isOkay(value, limit) ? "true" : "false";
    appendKey(out, "valueName");
    appendString(out, rule.valueName);
    appendKey(out, "limitName");
    appendString(out, rule.limitName);
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

std::vector<std::string> readCaseLink(std::string_view fragment, CouplingData& data) {
  std::vector<std::string> ignored;
  while (!fragment.empty()) {
    const std::size_t end = std::min(fragment.find('&'), fragment.size());
    const std::string_view part = fragment.substr(0, end);
    fragment.remove_prefix(std::min(end + 1, fragment.size()));
    if (part.empty()) continue;
    const std::size_t equals = std::min(part.find('='), part.size());
    const std::string name = decode(part.substr(0, equals));
    const std::string value = decode(part.substr(std::min(equals + 1, part.size())));
    bool taken = false;
    for (const Field& f : kFields) {
      if (name == f.name) taken = equals < part.size() && store(f, value, data);
    }
    if (!taken) ignored.push_back(decode(part));
  }
  return ignored;
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
