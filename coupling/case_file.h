#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "coupling/case_label.h"
#include "coupling/coupling_data.h"
#include "coupling/fields.h"

// A case as a text file that people keep, send and edit: one "NAME = VALUE"
// a line with the twenty fields' names as in a link (TLN, n, i, JA, ...,
// excitationSide, startLoaded, ...), "#" to the end of the line a comment,
// blank lines skipped. Two more lines may name the case (coupling/case_label.h):
// "Bezeichnung = TEXT" and "Baugröße = TEXT" ("Baugroesse" reads the same),
// whose text runs to the line's end, a "#" included, without the blanks
// around it; a file without them loads as before. Read as coupling/text.h
// decodes a file (UTF-8 with or without its byte-order mark, UTF-16 with
// one, Windows-1252), with Windows line ends too, and the spaces the eye
// cannot see trimmed around names and values.

// The case as a file: its label's two lines (empty texts for none), then for
// each field comment lines with its German description, unit and
// explanation, then the value in the shortest text that reads back to it bit
// for bit and one way only (shortestReal: "1.1250"). A value that is not
// finite is written "inf", "-inf" or "nan", which readCaseFile refuses: such
// a case is not saved (nonFiniteField). The label's texts are as
// readLabelText gives them.
std::string writeCaseFile(const CouplingData& data, const CaseLabel& label = {});

// The first real field of `data` (in kFields' order) whose value is not
// finite, or null.
const Field* nonFiniteField(const CouplingData& data);

// A line that keeps a file from being loaded.
struct CaseFileProblem {
  int line;          // counted from 1; 0: the file as a whole
  std::string what;  // German, ASCII: "unbekannter Name \"foo\""
};

struct CaseFileReading {
  std::vector<CaseFileProblem> problems;  // in the file's order; none: loaded
  std::vector<std::string> missing;       // fields the file leaves out, in order
                                          // (never the label's lines)
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
// line is named, with an invisible space in it said. The label's lines, or
// "" for a line the file leaves out, go into `label` when the file is loaded
// and there is one.
CaseFileReading readCaseFile(std::string_view bytes, CouplingData& data,
                             CaseLabel* label = nullptr);
