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

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(a[k])) !=
        std::tolower(static_cast<unsigned char>(b[k])))
      return false;
  }
  return true;
}

// A header cell: its title and the unit in brackets after it, if any
// ("TKN [kNm]", "Cdyn (Nm/rad)").
struct HeaderCell {
  std::string_view title;
  std::string_view unit;
};

HeaderCell headerCell(std::string_view cell) {
  const std::size_t open = std::min(cell.find_first_of("[("), cell.size());
  HeaderCell parsed{trim(cell.substr(0, open)), {}};
  if (open < cell.size()) {
    const std::size_t close = cell.find_first_of("])", open);
    parsed.unit = trim(cell.substr(
        open + 1, (close == std::string_view::npos ? cell.size() : close) - open - 1));
  }
  return parsed;
}

// The value a header's title names: an index into kSizeNames, or -1.
int namedValue(std::string_view title) {
  for (int k = 0; k < 6; ++k) {
    if (sameLetters(title, kSizeNames[static_cast<std::size_t>(k)])) return k;
  }
  return -1;
}

// The decimal places from `unit` to the program's unit of value `v`: 0, 3
// for a kilo unit; -1 for a unit the reader does not know.
int unitShift(int v, std::string_view unit) {
  if (v == 4)
    return unit.empty() || unit == "-" || unit == "\u2013" || unit == "1" ? 0 : -1;
  if (unit.empty()) return 0;
  // The units a maker's table may use for the column.
  const std::vector<std::string_view> bases =
      v <= 2   ? std::vector<std::string_view>{"Nm"}
      : v == 3 ? std::vector<std::string_view>{"Nm/rad", "Nm/r"}
               : std::vector<std::string_view>{"W"};
  for (const std::string_view base : bases) {
    if (sameLetters(unit, base)) return 0;
    if (unit.size() > 1 && (unit[0] == 'k' || unit[0] == 'K') &&
        sameLetters(unit.substr(1), base))
      return 3;
  }
  return -1;
}

// True when `cells` are units alone, "[kNm]" or empty, as a second header
// line gives them; the first may be a word ("Einheit").
bool isUnitsLine(const std::vector<std::string>& cells) {
  bool any = false;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const std::string& cell = cells[k];
    if (cell.empty() || (k == 0 && !holdsNumber(cell))) continue;
    if ((cell.front() != '[' && cell.front() != '(') ||
        (cell.back() != ']' && cell.back() != ')'))
      return false;
    any = true;
  }
  return any;
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
    names = names || namedValue(headerCell(cells[k]).title) >= 0;
    numbers = numbers || (k >= 1 && k <= 6 && holdsNumber(cells[k]));
  }
  if (!names && numbers) return;
  const int line = static_cast<int>(next_) + 1;
  // A line of units alone under the header gives the columns' units.
  std::vector<std::string> units;
  for (++next_; next_ < lines_.size() && isBlankLine(lines_[next_]);) ++next_;
  if (next_ < lines_.size()) {
    std::vector<std::string> below = splitFields(lines_[next_], separator_);
    if (isUnitsLine(below)) {
      units = std::move(below);
      ++next_;
    }
  }
  readHeader(cells, units, line);
}

void SeriesReader::readHeader(const std::vector<std::string>& cells,
                              const std::vector<std::string>& units, int line) {
  // Which column holds what: all six by the header's names, or none by name
  // and all in dialog d's order. A header naming some cannot be trusted
  // with the others: a column called otherwise may be any of them.
  std::array<int, 6> found = {-1, -1, -1, -1, -1, -1};
  int other = -1;
  int named = 0;
  for (std::size_t k = 0; k < cells.size(); ++k) {
    const int v = namedValue(headerCell(cells[k]).title);
    if (v < 0) {
      if (other < 0) other = static_cast<int>(k);
    } else if (found[static_cast<std::size_t>(v)] < 0) {
      found[static_cast<std::size_t>(v)] = static_cast<int>(k);
      ++named;
    }
  }
  const auto refuse = [&](const std::string& why) {
    series_.ignored.push_back({line, why + "; gelesen wird nichts"});
    series_.header = Series::Header::kRefused;
    series_.columns.clear();
    stage_ = Stage::kDone;
  };
  if (named > 0 && named < 6) {
    std::string missing;
    for (std::size_t v = 0; v < 6; ++v) {
      if (found[v] >= 0) continue;
      missing += (missing.empty() ? "" : ", ") + std::string(kSizeNames[v]);
    }
    refuse("die Kopfzeile nennt nicht alle sechs Werte mit Namen, es " +
           std::string(6 - named == 1 ? "fehlt " : "fehlen ") + missing);
    return;
  }
  if (named == 6) {
    for (std::size_t v = 0; v < 6; ++v) at_[v] = static_cast<std::size_t>(found[v]);
    // No name column: the sizes are named by their lines.
    nameAt_ = other < 0 ? SIZE_MAX : static_cast<std::size_t>(other);
    series_.header = Series::Header::kByName;
  } else {
    series_.header = Series::Header::kInOrder;
    series_.columns =
        "Die Kopfzeile nennt keinen der sechs Werte mit Namen; gelesen in der "
        "Reihenfolge von Dialog d: ";
    for (std::size_t v = 0; v < 6; ++v) {
      const std::size_t k = at_[v];
      series_.columns += (v == 0 ? "" : ", ") +
                         (k >= cells.size()  ? std::string("(keine Spalte)")
                          : cells[k].empty() ? std::string("(leer)")
                                             : cells[k]) +
                         " \u2192 " + kSizeNames[v];
    }
    series_.columns += '.';
  }
  // Each value's unit: in its header cell, whatever the title, or in the
  // line of units; where both give one, the same.
  for (std::size_t v = 0; v < 6; ++v) {
    const std::size_t k = at_[v];
    const std::string_view inHeader = k < cells.size() ? headerCell(cells[k]).unit : "";
    const std::string_view below = k < units.size() ? headerCell(units[k]).unit : "";
    const int value = static_cast<int>(v);
    if (!inHeader.empty() && !below.empty() &&
        unitShift(value, inHeader) != unitShift(value, below)) {
      refuse(std::string("die Einheit von ") + kSizeNames[v] +
             " steht zweimal verschieden da");
      return;
    }
    const std::string_view unit = below.empty() ? inHeader : below;
    shift_[v] = unitShift(value, unit);
    if (shift_[v] < 0) {
      refuse("die Einheit \u201E" + std::string(unit) + "\u201C von " + kSizeNames[v] +
             " ist unbekannt");
      return;
    }
  }
}

bool SeriesReader::read(std::size_t lines) {
  // First the rows are split, and a decimal comma in any row of six numbers
  // means the whole table is written so; then each row is read.
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
    // Only a row of six numbers tells how the table writes them: a remark
    // ("Werte lt. Katalog, S. 3") may hold a comma in any sense.
    const auto& cells = rows_.back().second;
    bool numbers = true;
    bool comma = false;
    for (const std::size_t column : at_) {
      numbers = numbers && column < cells.size() && holdsNumber(cells[column]);
      comma = comma || (numbers && cells[column].find(',') != std::string::npos);
    }
    if (numbers && comma) series_.decimalComma = true;
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
