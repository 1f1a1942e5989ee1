#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "coupling/coupling_data.h"
#include "coupling/fields.h"

// A case as a text file that people keep, send and edit: one "NAME = VALUE"
// a line with the twenty fields' names as in a link (TLN, n, i, JA, ...,
// excitationSide, startLoaded, ...), "#" to the end of the line a comment,
// blank lines skipped. Read as coupling/text.h decodes a file (UTF-8 with
// or without its byte-order mark, UTF-16 with one, Windows-1252), with
// Windows line ends too, and the spaces the eye cannot see trimmed around
// names and values.

// The case as a file: a comment line for each field with its German
// description and unit, then the value in the shortest text that reads back
// to it bit for bit and one way only (shortestReal: "1.1250"). A value that
// is not finite is written "inf", "-inf" or "nan", which readCaseFile
// refuses: such a case is not saved (nonFiniteField).
std::string writeCaseFile(const CouplingData& data);

// The first real field of `data` (in kFields' order) whose value is not
// finite, or null.
const Field* nonFiniteField(const CouplingData& data);

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
// keeps when the file leaves it out. A real is a sign, digits with a decimal
// point or comma, and an exponent, finite and not so small that it would
// become 0 (no "inf", no hexadecimal); an integer, a switch too, any 32-bit
// one. A value that reads two ways ("1.500": 1500 or 1.5, readsTwoWays) is
// refused with both readings, and when the file looks written by the
// program (its first line), with what an earlier one meant: the point. A
// file with an unknown name, a name twice, such a value or a line that is no
// "NAME = VALUE" is not loaded at all: `data` is left alone and every such
// line is named, with an invisible space in it said.
CaseFileReading readCaseFile(std::string_view bytes, CouplingData& data);
