#include "coupling/case_file.h"

#include <array>
#include <cstddef>

#include "coupling/fields.h"
#include "coupling/text.h"

std::string writeCaseFile(const CouplingData& data) {
  std::string out =
      "# TAVRO: ein Fall einer elastischen Wellenkupplung nach DIN 740.\n"
      "# Je Zeile NAME = WERT; # beginnt einen Kommentar. Ein Feld, das fehlt,\n"
      "# behaelt den Wert des Beispielfalls.\n";
  for (const Field& f : kFields) {
    out += "\n# ";
    out += f.description;
    if (*f.unit != '\0') {
      out += " [";
      out += f.unit;
      out += ']';
    }
    out += '\n';
    out += f.name;
    out += " = ";
    out += exactValue(data, f);
    out += '\n';
  }
  return out;
}

CaseFileReading readCaseFile(std::string_view bytes, CouplingData& data) {
  const std::string text = decodeText(bytes);
  CaseFileReading reading;
  if (std::string what = unmarkedUtf16(bytes); !what.empty()) {
    reading.problems.push_back({1, what});
    return reading;
  }
  CouplingData read = data;
  std::array<int, std::size(kFields)> setIn{};  // the line that set each field
  int line = 0;
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view content = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    ++line;
    content = trim(content.substr(0, std::min(content.find('#'), content.size())));
    if (content.empty()) continue;
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
      reading.problems.push_back({line, "keine Zeile NAME = WERT"});
      continue;
    }
    const std::string name(trim(content.substr(0, equals)));
    const std::string value(trim(content.substr(equals + 1)));
    const Field* field = findField(name);
    if (field == nullptr) {
      reading.problems.push_back({line, "unbekannter Name \"" + name + "\""});
      continue;
    }
    int& first = setIn[static_cast<std::size_t>(field - kFields)];
    if (first != 0) {
      reading.problems.push_back(
          {line, name + " steht schon in Zeile " + std::to_string(first)});
      continue;
    }
    first = line;
    if (!readField(*field, value, read)) {
      std::string what = name;
      what += ": \"";
      what += value;
      what += field->real != nullptr ? "\" ist keine Zahl" : "\" ist keine ganze Zahl";
      reading.problems.push_back({line, what});
    }
  }
  if (!reading.problems.empty()) return reading;
  for (std::size_t k = 0; k < std::size(kFields); ++k) {
    if (setIn[k] == 0) reading.missing.emplace_back(kFields[k].name);
  }
  data = read;
  return reading;
}
