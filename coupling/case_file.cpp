#include "coupling/case_file.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "console/number.h"
#include "coupling/fields.h"
#include "coupling/text.h"

namespace {

constexpr const char* kNoCase = "kein Fall in der Datei: keine Zeile FELD = WERT";
constexpr const char* kNotText = "keine Textdatei: sie enthaelt Nullbytes";
// The bad lines named at most; the rest are counted.
constexpr std::size_t kMostProblems = 10;

// " (darin ...)" naming the first invisible space inside `text`, or "".
std::string invisibleInside(std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (const char* name = invisibleSpaceName(text.substr(k)); name != nullptr)
      return std::string(" (darin ") + name + ")";
  }
  return "";
}

// Reads `text` into the real `field` as strictly as a table's value: a sign,
// digits with a decimal point or comma, an exponent; nothing the eye cannot
// check (no "inf", no hexadecimal), and no number too large for a double or
// so small that it would become 0. Returns why not, or "" when read.
std::string readStrictReal(const Field& field, const std::string& text,
                           CouplingData& data) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::string number;  // as strtod reads it, the comma a point
  std::size_t k = 0;
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) number += text[k++];
  std::size_t digits = 0;
  bool nonZero = false;
  bool mark = false;
  for (; k < text.size(); ++k) {
    if (digit(text[k])) {
      ++digits;
      nonZero = nonZero || text[k] != '0';
      number += text[k];
    } else if ((text[k] == '.' || text[k] == ',') && !mark) {
      mark = true;
      number += '.';
    } else {
      break;
    }
  }
  if (digits > 0 && k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    number += text[k++];
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) number += text[k++];
    const std::size_t first = k;
    for (; k < text.size() && digit(text[k]); ++k) number += text[k];
    if (k == first) digits = 0;
  }
  std::string why = std::string(field.name) + ": \"" + text + "\" ";
  if (digits == 0 || k != text.size()) {
    std::string word(text.substr(text.starts_with('+') || text.starts_with('-') ? 1 : 0));
    for (char& c : word)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "inf" || word == "infinity" || word == "nan")
      return why + "ist keine endliche Zahl";
    return why + "ist keine Zahl" + invisibleInside(text);
  }
  const double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) return why + "ist zu gross fuer eine Zahl des Programms";
  if (value == 0 && nonZero) return why + "ist zu klein, es bliebe 0";
  data.*field.real = value;
  return "";
}

// Why `text` cannot be the value of `field` in a case file, or "" when it
// is read into `data`. `byProgram`: the file looks written by this program.
std::string readValue(const Field& field, const std::string& text, bool byProgram,
                      CouplingData& data) {
  if (readsTwoWays(text)) {
    std::string whole;    // the reading with a point or comma between thousands
    std::string decimal;  // the reading with a decimal mark
    for (const char c : text) {
      if (c != '.' && c != ',') whole += c;
      decimal += c == ',' ? '.' : c;
    }
    // As the program writes it: "1.5", "2", "1.1250".
    const std::string point = shortestReal(std::strtod(decimal.c_str(), nullptr));
    std::string why = std::string(field.name) + ": \"" + text +
                      "\" liest sich zweifach: " + whole + " oder " + point +
                      " schreiben";
    if (byProgram) {
      why += " (schrieb ein frueheres TAVRO die Datei, war der Dezimalpunkt gemeint: " +
             point + ")";
    }
    return why;
  }
  if (field.real != nullptr) return readStrictReal(field, text, data);
  if (readField(field, text, data)) return "";
  return std::string(field.name) + ": \"" + text + "\" ist keine ganze Zahl" +
         invisibleInside(text);
}

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
  // The first line the writer writes: such a file's texts are the writer's.
  const bool byProgram = text.starts_with("# TAVRO:");
  CaseFileReading reading;
  if (std::string what = unmarkedUtf16(bytes); !what.empty()) {
    reading.problems.push_back({0, what});
    return reading;
  }
  // An image or a program chosen by mistake: one sentence, not a line for
  // each of its lines.
  if (text.find('\0') != std::string::npos) {
    reading.problems.push_back({0, kNotText});
    return reading;
  }
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
      reading.problems.push_back(
          {line, "unbekannter Name \"" + name + "\"" + invisibleInside(name)});
      continue;
    }
    int& first = setIn[static_cast<std::size_t>(field - kFields)];
    if (first != 0) {
      reading.problems.push_back(
          {line, name + " steht schon in Zeile " + std::to_string(first)});
      continue;
    }
    first = line;
    if (std::string why = readValue(*field, value, byProgram, read); !why.empty())
      reading.problems.push_back({line, why});
  }
  // A file that sets no field (empty, comments only, a name alone) is no
  // case: taken as the example, a script's check of it would pass.
  if (reading.problems.empty() && setIn == std::array<int, std::size(kFields)>{})
    reading.problems.push_back({0, kNoCase});
  if (reading.problems.size() > kMostProblems) {
    const std::size_t more = reading.problems.size() - kMostProblems;
    reading.problems.resize(kMostProblems);
    // Appended piece by piece: GCC 12 at -O3 takes a literal + a temporary
    // string for an overlapping copy (-Wrestrict), which stops the Windows build.
    std::string counted = "und ";
    counted += std::to_string(more);
    counted +=
        more == 1 ? " weitere Zeile nicht gelesen" : " weitere Zeilen nicht gelesen";
    reading.problems.push_back({0, counted});
  }
  if (!reading.problems.empty()) return reading;
  for (std::size_t k = 0; k < std::size(kFields); ++k) {
    if (setIn[k] == 0) reading.missing.emplace_back(kFields[k].name);
  }
  data = read;
  if (label != nullptr) *label = labelRead;
  return reading;
}

const Field* nonFiniteField(const CouplingData& data) {
  for (const Field& f : kFields) {
    if (f.real != nullptr && !std::isfinite(data.*f.real)) return &f;
  }
  return nullptr;
}
