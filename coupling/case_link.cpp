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

std::string linkText(std::string_view text) {
  constexpr const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                       c == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string caseLink(const CouplingData& data, const CaseLabel& label) {
  std::string out;
  for (const Field& f : kFields) {
    if (!out.empty()) out += '&';
    // The shortest texts hold only digits, signs, '.', 'e', "inf" and
    // "nan": nothing an address would have to escape.
    out += f.name;
    out += '=';
    out += exactValue(data, f);
  }
  if (!label.name.empty()) out += "&name=" + linkText(label.name);
  if (!label.size.empty()) out += "&size=" + linkText(label.size);
  return out;
}

std::vector<std::string> readCaseLink(std::string_view fragment, CouplingData& data,
                                      CaseLabel* label) {
  std::vector<std::string> ignored;
  while (!fragment.empty()) {
    const std::size_t end = std::min(fragment.find('&'), fragment.size());
    const std::string_view part = fragment.substr(0, end);
    fragment.remove_prefix(std::min(end + 1, fragment.size()));
    if (part.empty()) continue;
    const std::size_t equals = std::min(part.find('='), part.size());
    const std::string name = decode(part.substr(0, equals));
    if ((name == "name" || name == "size") && equals < part.size()) {
      std::string text;
      if (!readLabelText(decode(part.substr(equals + 1)), text)) {
        ignored.emplace_back(part);  // as written: decoded, it may break a line
      } else if (label != nullptr) {
        (name == "name" ? label->name : label->size) = text;
      }
      continue;
    }
    const Field* field = findField(name);
    const bool taken = field != nullptr && equals < part.size() &&
                       readField(*field, decode(part.substr(equals + 1)), data);
    if (!taken) ignored.push_back(decode(part));
  }
  return ignored;
}
