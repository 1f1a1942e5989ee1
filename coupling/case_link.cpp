#include "coupling/case_link.h"

#include <algorithm>

#include "coupling/fields.h"

namespace {

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

}  // namespace

std::string caseLink(const CouplingData& data) {
  std::string out;
  for (const Field& f : kFields) {
    if (!out.empty()) out += '&';
    // The shortest texts hold only digits, signs, '.', 'e', "inf" and
    // "nan": nothing an address would have to escape.
    out += f.name;
    out += '=';
    out += exactValue(data, f);
  }
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
    const Field* field = findField(decode(part.substr(0, equals)));
    const bool taken = field != nullptr && equals < part.size() &&
                       readField(*field, decode(part.substr(equals + 1)), data);
    if (!taken) ignored.push_back(decode(part));
  }
  return ignored;
}
