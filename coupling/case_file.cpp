#include "coupling/case_file.h"

#include <array>
#include <cstddef>

#include "coupling/fields.h"
#include "coupling/text.h"

namespace {

// The label's lines by their names, as written; the second name of the
// size reads the same (for editors and keyboards without umlauts).
constexpr const char* kNameLine = "Bezeichnung";
constexpr const char* kSizeLine = "Baugröße";
constexpr const char* kSizeLineAscii = "Baugroesse";

// `text` as comment lines "# ..." of at most about 76 characters, broken
// between words.
std::string commentLines(std::string_view text) {
  constexpr std::size_t kWidth = 74;
  std::string out;
  std::size_t column = 0;  // characters in the line begun
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    std::size_t length = 0;
    for (const char c : word) length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (column > 0 && column + 1 + length > kWidth) {
      out += '\n';
      column = 0;
    }
    out += column == 0 ? "# " : " ";
    out += word;
    column += (column == 0 ? 0 : 1) + length;
  }
  return out + '\n';
}

// "NAME = TEXT", or "NAME =" for an empty text.
std::string labelLine(const char* name, const std::string& text) {
  return std::string(name) + (text.empty() ? " =" : " = " + text) + '\n';
}

}  // namespace

std::string writeCaseFile(const CouplingData& data, const CaseLabel& label) {
  std::string out =
      "# TAVRO: ein Fall einer elastischen Wellenkupplung nach DIN 740.\n"
      "# Je Zeile NAME = WERT; # beginnt einen Kommentar. Ein Feld, das fehlt,\n"
      "# behaelt den Wert des Beispielfalls.\n"
      "\n"
      "# Was der Fall ist, in freiem Text bis zum Zeilenende (auch ein # gehoert\n"
      "# dazu), und die Baugroesse einer Reihe, deren sechs Kupplungs-Kennwerte\n"
      "# er uebernommen hat; leer, wenn es keine gibt.\n";
  out += labelLine(kNameLine, label.name);
  out += labelLine(kSizeLine, label.size);
  for (const Field& f : kFields) {
    out += "\n# ";
    out += f.description;
    if (*f.unit != '\0') {
      out += " [";
      out += f.unit;
      out += ']';
    }
    out += '\n';
    out += commentLines(f.explanation);
    out += f.name;
    out += " = ";
    out += exactValue(data, f);
    out += '\n';
  }
  return out;
}

CaseFileReading readCaseFile(std::string_view bytes, CouplingData& data,
                             CaseLabel* label) {
  const std::string text = decodeText(bytes);
  CaseFileReading reading;
  CouplingData read = data;
  CaseLabel labelRead;
  std::array<int, std::size(kFields)> setIn{};  // the line that set each field
  std::array<int, 2> labelIn{};                 // the lines of the name and the size
  int line = 0;
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view content = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    ++line;
    // The label's text runs to the line's end; a comment line is no label.
    if (const std::size_t equals = content.find('=');
        equals != std::string_view::npos && !trim(content).starts_with('#')) {
      const std::string_view name = trim(content.substr(0, equals));
      const bool isName = name == kNameLine;
      if (isName || name == kSizeLine || name == kSizeLineAscii) {
        int& first = labelIn[isName ? 0 : 1];
        const std::string shown = isName ? kNameLine : kSizeLineAscii;  // ASCII
        if (first != 0) {
          reading.problems.push_back(
              {line, shown + " steht schon in Zeile " + std::to_string(first)});
          continue;
        }
        first = line;
        if (!readLabelText(trim(content.substr(equals + 1)),
                           isName ? labelRead.name : labelRead.size))
          reading.problems.push_back({line, shown + ": Steuerzeichen im Text"});
        continue;
      }
    }
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
  if (label != nullptr) *label = labelRead;
  return reading;
}
