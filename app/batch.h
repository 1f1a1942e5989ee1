#pragma once

#include <string>
#include <vector>

#include "app/options.h"
#include "coupling/case_label.h"
#include "coupling/coupling_data.h"

// Checking case files without the menu (tavro --check), for scripts: pure,
// on the files' bytes as the caller read them.

// A file named on the command line: its bytes, or why they could not be read.
struct InputFile {
  std::string name;   // as given
  bool read = false;  // false: `error` says why
  std::string bytes;
  std::string error;  // the system's reason: "No such file or directory"
};

// What a run of checks writes, and its exit status.
struct BatchRun {
  std::string output;  // for standard output
  std::string errors;  // for standard error, a line per problem
  // The same texts file by file, in order (the series first, then each case
  // file): what its check writes to standard output, then what is said of it
  // on standard error, so that on a terminal each error stands by its file.
  struct Part {
    std::string output;
    std::string errors;
  };
  std::vector<Part> parts;
  int status = 0;  // 1 input error, else 2 a case file not loaded or a series
                   // giving no size, else 3 a check not okay (or no size
                   // passes), else 0
};

// Checks each case of `cases` as `options` asks (format, derivation); with
// `series` (read when options.series is set) each size of it too. A case
// file that cannot be read or loaded is named on standard error and left
// out; the others are still checked. A series that cannot be read, or gives
// no size ("keine Baugröße gelesen: " and why), checks nothing. File names
// that are not UTF-8 are written as Windows-1252 text (coupling/text.h).
BatchRun runChecks(const Options& options, const std::vector<InputFile>& cases,
                   const InputFile* series);

// The case of a case file for the session, with what to say on standard
// error: the file's bad lines (then `loaded` is false), or the fields it
// left out. The file's label goes into `label` when there is one (a name
// left out is no field left out).
struct LoadedCase {
  bool loaded = false;
  int status = 0;  // when not loaded: 1 not readable, 2 not a case
  std::string errors;
};
LoadedCase loadCase(const InputFile& file, CouplingData& data,
                    CaseLabel* label = nullptr);

// The case of a link, or of its fragment (the part after "#"), for the
// session; refused like a file when a part of it is bad.
LoadedCase loadLink(const std::string& link, CouplingData& data,
                    CaseLabel* label = nullptr);
