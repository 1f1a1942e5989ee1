#pragma once

#include <span>
#include <string>
#include <vector>

// What the command line asks for. Without arguments the program runs its
// session with the example case; a case file (or --case with a link's
// fragment) starts it with that case. --check checks case files without the
// menu. --help (-h), --version (-V) and --template answer on standard output
// and end it; a bad option is refused on standard error.
struct Options {
  enum class Format { kText, kJson, kCsv, kCsvDe };

  bool runSession = true;  // the menu on the terminal
  bool check = false;      // --check: each case file checked, no menu
  // When neither: the answer, and the exit status.
  int status = 0;
  std::string output;  // for standard output
  std::string errors;  // for standard error

  std::vector<std::string> files;  // the case file the session starts with,
                                   // or --check's case files
  bool hasCaseText = false;        // --case TEXT: the session's case
  std::string caseText;            // a link, or its fragment
  bool derivation = false;         // --check: the way to every result too
  std::string series;              // --check: a table of sizes; "" for none
  Format format = Format::kText;   // --check: text, json, csv or csv-de
};

// How the platform's programs are called: on Windows "/?" asks for the help.
struct OptionConventions {
  bool slashHelp = false;
};

// Reads the arguments after the program name. A bad argument (an unknown
// option, one that lacks its value, options that do not go together) is
// refused with status 2, even after one that answers; otherwise the first
// of --help (or /? by `conventions`), --version and --template answers.
Options readOptions(std::span<const char* const> args,
                    OptionConventions conventions = {});
