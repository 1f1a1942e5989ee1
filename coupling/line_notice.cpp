#include "coupling/line_notice.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "coupling/fields.h"

namespace {

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// `text` without blanks at either end, cut after 24 bytes (at a character's
// start) with an ellipsis.
std::string quoted(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  std::string shown(text);
  if (shown.size() > 24) {
    std::size_t cut = 24;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    shown = shown.substr(0, cut) + "…";
  }
  return "„" + shown + "“";
}

// "48 Nm": the value as printed, with a decimal comma (no unit has a point).
std::string valueOf(const Field& field, const CouplingData& data) {
  std::string value = printedWithUnit(data, field);
  std::replace(value.begin(), value.end(), '.', ',');
  return value;
}

// The length of the number at `text` when it may be meant with a thousands
// point (one to three digits without a leading zero, a point and exactly
// three digits), else 0.
std::size_t thousandsPoint(std::string_view text) {
  std::size_t k = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
  const std::size_t first = k;
  while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])) != 0) ++k;
  const std::size_t digits = k - first;
  if (digits < 1 || digits > 3 || text[first] == '0' || k >= text.size() ||
      text[k] != '.')
    return 0;
  std::size_t after = k + 1;
  while (after < text.size() &&
         std::isdigit(static_cast<unsigned char>(text[after])) != 0)
    ++after;
  return after - k - 1 == 3 ? after : 0;
}

}  // namespace

std::string lineNotice(const LineReading& reading, const CouplingData& data) {
  const std::string_view line = reading.line;
  const auto blankFrom = [&](std::size_t from) {
    return std::all_of(
        line.begin() + static_cast<std::ptrdiff_t>(std::min(from, line.size())),
        line.end(), isBlank);
  };
  const bool asTyped =
      reading.takes.size() == 1 && reading.takes[0].end > reading.takes[0].begin &&
      blankFrom(reading.rest) && thousandsPoint(line.substr(reading.takes[0].begin)) == 0;
  if (reading.takes.empty() || asTyped) return "";

  std::string notice = quoted(line) + ": ";
  std::string also;  // the numbers after the first that the line gave
  bool first = true;
  const auto part = [&](const std::string& text) {
    if (!also.empty()) {
      notice += "aus derselben Zeile auch " + also + "; ";
      also.clear();
    }
    notice += text + "; ";
  };
  for (const LineReading::Take& take : reading.takes) {
    const Field* field = fieldAt(data, take.field);
    if (field == nullptr) continue;
    const std::size_t grouped = thousandsPoint(line.substr(take.begin));
    if (take.end == take.begin) {
      part((first ? "keine Zahl" : quoted(line.substr(take.begin)) + " ist keine Zahl") +
           ", " + fieldLabel(*field) + " bleibt " + valueOf(*field, data));
    } else if (grouped > 0) {
      std::string without(line.substr(take.begin, grouped));
      without.erase(without.find('.'), 1);
      part(fieldLabel(*field) + " = " + valueOf(*field, data) +
           " gelesen – Tausenderpunkte liest das Programm nicht, " + without +
           " ohne Punkt");
    } else if (first) {
      part(fieldLabel(*field) + " = " + valueOf(*field, data) + " gelesen");
    } else {
      also +=
          (also.empty() ? "" : ", ") + fieldLabel(*field) + " = " + valueOf(*field, data);
    }
    first = false;
  }
  if (!also.empty()) notice += "aus derselben Zeile auch " + also + "; ";
  if (!blankFrom(reading.rest)) {
    notice += quoted(line.substr(reading.rest)) + " nimmt die nächste Zahleneingabe; ";
  }
  notice.resize(notice.size() - 2);
  return notice + ".";
}
