#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "coupling/coupling_data.h"

// A case as a text file that people keep, send and edit: one "NAME = VALUE"
// a line with the twenty fields' names as in a link (TLN, n, i, JA, ...,
// excitationSide, startLoaded, ...), "#" to the end of the line a comment,
// blank lines skipped. Read as coupling/text.h decodes a file (UTF-8 with
// or without its byte-order mark, UTF-16 with one, Windows-1252), with
// Windows line ends too; values with the program's rules (a decimal comma
// is read like a point; the order and the switches take any 32-bit integer).

// The case as a file: a comment line for each field with its German
// description and unit, then the value in the shortest text that reads back
// to it bit for bit ("nan" for every NaN).
std::string writeCaseFile(const CouplingData& data);

// A line that keeps a file from being loaded.
struct CaseFileProblem {
  int line;          // counted from 1
  std::string what;  // German, ASCII: "unbekannter Name \"foo\""
};

struct CaseFileReading {
  std::vector<CaseFileProblem> problems;  // in the file's order; none: loaded
  std::vector<std::string> missing;       // fields the file leaves out, in order
};

// Reads the case file `bytes` into `data`, which holds the values a field
// keeps when the file leaves it out. A file with an unknown name, a name
// twice, a value that is not a whole number of its field's kind or a line
// that is no "NAME = VALUE" is not loaded at all: `data` is left alone and
// every such line is named.
CaseFileReading readCaseFile(std::string_view bytes, CouplingData& data);
