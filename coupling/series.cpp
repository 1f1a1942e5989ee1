#include "coupling/series.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "coupling/text.h"

const std::array<double CouplingData::*, 6> kSizeFields = {
    &CouplingData::TKN,  &CouplingData::TKmax, &CouplingData::TKW,
    &CouplingData::Cdyn, &CouplingData::psi,   &CouplingData::PKW,
};
const std::array<const char*, 6> kSizeNames = {"TKN",  "TKmax", "TKW",
                                               "Cdyn", "psi",   "PKW"};

const char* const kExampleSeries =
    "Baugröße (erfundene Werte);TKN [Nm];TKmax [Nm];TKW [Nm];Cdyn [Nm/rad];psi;PKW [W]\n"
    "B1;60;120;16;600;0,8;4\n"
    "B2;100;200;26;1000;0,8;6\n"
    "B3;160;320;42;1650;0,8;9\n"
    "B4;265;530;69;2689;0,8;12\n"
    "B5;420;840;110;4400;0,8;18\n"
    "B6;650;1300;170;7000;0,8;26\n"
    "B7;1.000;2.000;260;11.000;0,8;36\n"
    "B8;1.600;3.200;420;18.000;0,8;50\n";

namespace {

bool isBlankLine(std::string_view line) { return trim(line).empty(); }

// The fields of one line; a field in double quotes may hold the separator,
// and "" in it stands for one quote.
std::vector<std::string> splitFields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (k + 1 < line.size() && line[k + 1] == '"') {
        field += '"';
        ++k;
      } else {
        quoted = false;
      }
    } else if (c == '"' && trim(field).empty()) {
      field.clear();
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back(trim(field));
      field.clear();
    } else {
      field += c;
    }
  }
  fields.emplace_back(trim(field));
  return fields;
}

// How a cell reads as a catalogue value.
enum class Value { kRead, kNotANumber, kNotFinite, kNotPositive };

// Reads `text` as a catalogue value as a person writes it: a sign, digits
// with one decimal mark, an optional exponent ("2,5e3"). In a table with a
// decimal comma, points may separate groups of three digits ("1.250,5");
// elsewhere the point is the mark. `shift` moves the decimal point that many
// places to the right before the text is read (3 for a kilo unit), so that
// "1,005" kNm is 1005 Nm exactly. No blanks, no "inf", "nan" or hexadecimal.
Value readValue(std::string_view text, bool decimalComma, int shift, double& value) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t k = 0;
  std::string number;  // the value as strtod reads it: "-1250.5e3"
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) number += text[k++];
  const auto named = [&](std::string_view word) {
    if (text.size() - k < word.size()) return false;
    for (std::size_t w = 0; w < word.size(); ++w) {
      if (std::tolower(static_cast<unsigned char>(text[k + w])) != word[w]) return false;
    }
    return true;
  };
  if (named("inf") || named("nan")) return Value::kNotFinite;

  // The whole part: with a decimal comma, points between groups of three.
  const char mark = decimalComma ? ',' : '.';
  const std::size_t whole = k;
  std::size_t group = 0;
  std::size_t digits = 0;
  bool grouped = false;
  for (; k < text.size() && text[k] != mark; ++k) {
    if (digit(text[k])) {
      number += text[k];
      ++group;
      ++digits;
    } else if (decimalComma && text[k] == '.' && group >= 1 && group <= 3 &&
               (grouped ? group == 3 : text[whole] != '0')) {
      grouped = true;
      group = 0;
    } else {
      break;
    }
  }
  if (grouped && group != 3) return Value::kNotANumber;
  if (k < text.size() && text[k] == mark) {
    number += '.';
    for (++k; k < text.size() && digit(text[k]); ++k, ++digits) number += text[k];
  }
  if (digits == 0) return Value::kNotANumber;

  // The exponent, with the shift added; one too long to matter stays long.
  long exponent = 0;
  if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    ++k;
    const bool negative = k < text.size() && text[k] == '-';
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
    const std::size_t first = k;
    for (; k < text.size() && digit(text[k]); ++k) {
      if (exponent < 100000) exponent = exponent * 10 + (text[k] - '0');
    }
    if (k == first) return Value::kNotANumber;
    if (negative) exponent = -exponent;
  }
  if (k != text.size()) return Value::kNotANumber;
  number += 'e' + std::to_string(exponent + shift);

  const double read = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(read)) return Value::kNotFinite;
  if (!(read > 0)) return Value::kNotPositive;
  value = read;
  return Value::kRead;
}

// True when `cell` looks like a value, in either way of writing numbers.
bool holdsNumber(std::string_view cell) {
  double ignored = 0;
  return readValue(cell, false, 0, ignored) != Value::kNotANumber ||
         readValue(cell, true, 0, ignored) != Value::kNotANumber;
}

// How a header names a column: one of the six, and its unit.
struct Column {
  int value = -1;  // index into kSizeNames, or -1 for another column
  int shift = 0;   // decimal places to the program's units: 3 for a kilo unit
  bool knownUnit = true;
};

Column headerColumn(std::string_view cell) {
  Column column;
  const std::size_t open = std::min(cell.find_first_of("[("), cell.size());
  const std::string_view name = trim(cell.substr(0, open));
  std::string_view unit;
  if (open < cell.size()) {
    const std::size_t close = cell.find_first_of("])", open);
    unit = trim(cell.substr(
        open + 1, (close == std::string_view::npos ? cell.size() : close) - open - 1));
  }
  const auto same = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (std::tolower(static_cast<unsigned char>(a[k])) !=
          std::tolower(static_cast<unsigned char>(b[k])))
        return false;
    }
    return true;
  };
  for (int k = 0; k < 6; ++k) {
    if (same(name, kSizeNames[static_cast<std::size_t>(k)])) column.value = k;
  }
  if (column.value < 0 || unit.empty()) return column;
  // The units a maker's table may use for the column.
  const char* base = column.value <= 2   ? "Nm"
                     : column.value == 3 ? "Nm/rad"
                     : column.value == 5 ? "W"
                                         : "-";
  if (same(unit, base) || (column.value == 3 && same(unit, "Nm/r"))) return column;
  if (column.value != 4 && unit.size() > 1 && (unit[0] == 'k' || unit[0] == 'K') &&
      same(unit.substr(1), base)) {
    column.shift = 3;
    return column;
  }
  column.knownUnit = false;
  return column;
}

}  // namespace

SeriesReader::SeriesReader(std::string_view bytes) : text_(decodeText(bytes)) {
  if (std::string what = unmarkedUtf16(bytes); !what.empty()) {
    series_.ignored.push_back({1, what});
    stage_ = Stage::kDone;
    return;
  }
  for (std::string_view rest = text_; !rest.empty();) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    lines_.push_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  while (next_ < lines_.size() && isBlankLine(lines_[next_])) ++next_;
  if (next_ == lines_.size()) {
    stage_ = Stage::kDone;
    return;
  }
  const std::string_view head = lines_[next_];
  separator_ = head.find('\t') != std::string_view::npos  ? '\t'
               : head.find(';') != std::string_view::npos ? ';'
                                                          : ',';

  // The first line is a header when it names one of the six columns, or
  // when none of the cells where a size has its values holds a number. A
  // size with a typo or a notes column is a size, read or named as such.
  const std::vector<std::string> cells = splitFields(head, separator_);
  bool names = false;
  bool numbers = false;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    names = names || headerColumn(cells[k]).value >= 0;
    numbers = numbers || (k >= 1 && k <= 6 && holdsNumber(cells[k]));
  }
  if (names || !numbers) {
    readHeader(cells, static_cast<int>(next_) + 1);
    ++next_;
  }
}

void SeriesReader::readHeader(const std::vector<std::string>& cells, int line) {
  // Which column holds what: by the header's names, or in dialog d's order.
  std::array<int, 6> found = {-1, -1, -1, -1, -1, -1};
  std::array<int, 6> shift = {0, 0, 0, 0, 0, 0};
  int other = -1;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const Column column = headerColumn(cells[k]);
    if (column.value < 0) {
      if (other < 0) other = static_cast<int>(k);
      continue;
    }
    const auto v = static_cast<std::size_t>(column.value);
    if (found[v] >= 0) continue;
    if (!column.knownUnit) {
      series_.ignored.push_back({line, std::string("die Einheit von ") + kSizeNames[v] +
                                           " ist unbekannt; gelesen wird nichts"});
      stage_ = Stage::kDone;
      return;
    }
    found[v] = static_cast<int>(k);
    shift[v] = column.shift;
  }
  bool all = true;
  for (const int place : found) all = all && place >= 0;
  if (!all) {
    series_.header = Series::Header::kInOrder;
    return;
  }
  for (std::size_t v = 0; v < 6; ++v) at_[v] = static_cast<std::size_t>(found[v]);
  shift_ = shift;
  // No name column: the sizes are named by their lines.
  nameAt_ = other < 0 ? SIZE_MAX : static_cast<std::size_t>(other);
  series_.header = Series::Header::kByName;
}

bool SeriesReader::read(std::size_t lines) {
  // First the rows are split, and a decimal comma in any value means the
  // whole table is written so; then each row is read.
  for (; lines > 0 && stage_ == Stage::kSplit; --lines) {
    while (next_ < lines_.size() && isBlankLine(lines_[next_])) ++next_;
    if (next_ == lines_.size()) {
      stage_ = Stage::kValues;
      break;
    }
    if (rows_.size() == kMostSizes) {
      // Beyond the first kMostSizes rows nothing is read; one entry says so.
      std::size_t more = 0;
      for (std::size_t k = next_ + 1; k < lines_.size(); ++k)
        more += !isBlankLine(lines_[k]);
      cut_ = {static_cast<int>(next_) + 1,
              "diese und " + std::to_string(more) +
                  " weitere Zeilen nicht gelesen: mehr als " +
                  std::to_string(kMostSizes) + " Baugrößen"};
      stage_ = Stage::kValues;
      break;
    }
    rows_.emplace_back(static_cast<int>(next_) + 1,
                       splitFields(lines_[next_], separator_));
    for (const std::size_t column : at_) {
      const auto& cells = rows_.back().second;
      if (column < cells.size() && cells[column].find(',') != std::string::npos)
        series_.decimalComma = true;
    }
    ++next_;
  }
  if (stage_ == Stage::kValues && row_ == 0) {
    needed_ = nameAt_ == SIZE_MAX ? 0 : nameAt_ + 1;
    for (const std::size_t column : at_) needed_ = std::max(needed_, column + 1);
  }
  for (; lines > 0 && stage_ == Stage::kValues && row_ < rows_.size(); --lines, ++row_)
    readRow(rows_[row_].first, rows_[row_].second);
  if (stage_ == Stage::kValues && row_ == rows_.size()) {
    if (!cut_.reason.empty()) series_.ignored.push_back(cut_);
    rows_.clear();
    stage_ = Stage::kDone;
  }
  return stage_ == Stage::kDone;
}

void SeriesReader::readRow(int line, const std::vector<std::string>& cells) {
  if (cells.size() < needed_) {
    series_.ignored.push_back({line, "zu wenige Spalten (" +
                                         std::to_string(cells.size()) + " statt " +
                                         std::to_string(needed_) + ")"});
    return;
  }
  CouplingSize size;
  size.name = nameAt_ < cells.size() ? cells[nameAt_] : "";
  if (size.name.empty()) size.name = "Zeile " + std::to_string(line);
  Value read = Value::kRead;
  std::size_t v = 0;
  for (; v < 6 && read == Value::kRead; ++v)
    read = readValue(cells[at_[v]], series_.decimalComma, shift_[v], size.values[v]);
  if (read == Value::kRead) {
    series_.sizes.push_back(size);
    return;
  }
  constexpr const char* kWhy[] = {"", " ist keine Zahl", " ist keine endliche Zahl",
                                  " ist nicht positiv"};
  series_.ignored.push_back(
      {line, std::string(kSizeNames[v - 1]) + kWhy[static_cast<int>(read)]});
}

Series readSeries(std::string_view bytes) {
  SeriesReader reader(bytes);
  while (!reader.read(SIZE_MAX)) {
  }
  return reader.series();
}

CouplingData withSize(const CouplingData& data, const CouplingSize& size) {
  CouplingData sized = data;
  for (std::size_t v = 0; v < 6; ++v) sized.*kSizeFields[v] = size.values[v];
  return sized;
}
