#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "coupling/coupling_data.h"

// A maker's series of coupling sizes, read from a table as a spreadsheet
// copies it or writes it as CSV.

// One size: its name and its six catalogue values in dialog d's order and
// units: TKN, TKmax, TKW [Nm], Cdyn [Nm/rad], psi, PKW [W].
struct CouplingSize {
  std::string name;
  std::array<double, 6> values;
};

// A line of the table that could not be read, and why, in German words.
struct IgnoredLine {
  int line;            // counted from 1, the header and blank lines included
  std::string reason;  // "TKmax ist keine Zahl", "psi ist nicht positiv"
};

struct Series {
  enum class Header {
    kNone,     // the first line is a size
    kByName,   // a header named the six columns
    kInOrder,  // a header named none: the columns are in dialog d's order
    kRefused,  // a header named some, or a unit not known: nothing is read
  };
  std::vector<CouplingSize> sizes;   // in the table's order
  std::vector<IgnoredLine> ignored;  // in the table's order
  bool decimalComma = false;         // numbers were read with a decimal comma
  Header header = Header::kNone;
  // With kInOrder, which title was taken as which value, as a sentence:
  // "Die Kopfzeile nennt keinen ...: Nennmoment [kNm] → TKN, ...". Else "".
  std::string columns;
};

// The coupling fields a size sets, in dialog d's order.
extern const std::array<double CouplingData::*, 6> kSizeFields;
// Their names, as a header may name them: "TKN", "TKmax", ...
extern const std::array<const char*, 6> kSizeNames;

// The most sizes a table is read for; the lines beyond are named as one.
inline constexpr std::size_t kMostSizes = 10000;

// Reads a table (bytes as decodeText, coupling/text.h, takes them). Columns are separated
// by tabs, else by ';', else by ',' (whichever the first line that is not blank holds
// first in that order); a field may stand in double quotes, with "" for a quote inside.
// Blank lines are skipped. The first line is a header when a cell of it names one of the
// six columns, or when none of its cells 1 to 6 holds a number; otherwise it is a size
// like any other. If the header names all six (in any order and case), the columns are
// taken by those names and the first other column is the size's name; if it names none,
// the columns are the name and the six values in dialog d's order, further columns are
// notes, and Series::columns says which title became which value; if it names some, the
// table is refused with the names missing. A unit in brackets after a header cell's title
// (Nm or kNm, Nm/rad or kNm/rad, W or kW; none, "-" or "1" for psi) is its column's,
// whatever the title; a line of units alone under the header ("[kNm]" cells) gives them
// too; kilo values are converted exactly; an unknown unit refuses the table. A value is a
// finite, positive decimal number: with a decimal point, or, in a table where a line of
// six numbers has a decimal comma, with a decimal comma and points that separate
// thousands ("1.250,5"). A line that cannot be read is left out and named with the first
// reason ("TKmax ist keine endliche Zahl").
Series readSeries(std::string_view bytes);

// Reads a table as readSeries does, in parts, so that a long one never
// holds its caller long: readSeries is a SeriesReader read to its end.
class SeriesReader {
 public:
  // Reads the header only: the first line, and a line of units under it.
  explicit SeriesReader(std::string_view bytes);
  // Goes through up to `lines` more lines (each is gone through twice: split,
  // then read); true once the whole table is read.
  bool read(std::size_t lines);
  // What is read so far; the whole series once read() returned true.
  const Series& series() const { return series_; }

 private:
  enum class Stage { kSplit, kValues, kDone };
  void readHeader(const std::vector<std::string>& cells,
                  const std::vector<std::string>& units, int line);
  void readRow(int line, const std::vector<std::string>& cells);

  std::string text_;                     // the table as UTF-8
  std::vector<std::string_view> lines_;  // into text_
  char separator_ = ',';
  std::array<std::size_t, 6> at_ = {1, 2, 3, 4, 5, 6};  // each value's column
  std::array<int, 6> shift_ = {0, 0, 0, 0, 0, 0};       // 3 for a kilo unit
  std::size_t nameAt_ = 0;  // the name's column; SIZE_MAX for none
  std::size_t needed_ = 0;  // cells a row must have
  Stage stage_ = Stage::kSplit;
  std::size_t next_ = 0;                                        // the next line to split
  std::vector<std::pair<int, std::vector<std::string>>> rows_;  // line, cells
  std::size_t row_ = 0;                                         // the next row to read
  IgnoredLine cut_{0, ""};  // the lines beyond kMostSizes rows, if any
  Series series_;
};

// `data` with its six coupling fields set to `size`'s values.
CouplingData withSize(const CouplingData& data, const CouplingSize& size);

// The built-in example series: eight sizes with invented values (no
// maker's), one of them the example case's coupling.
extern const char* const kExampleSeries;
