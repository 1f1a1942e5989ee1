#pragma once

#include <span>
#include <string>

// What the command line asks for. Without arguments the program runs its
// session; --help (-h) and --version (-V) answer on standard output and end
// it; anything else is refused on standard error.
struct Options {
  bool runSession = true;  // no arguments: the menu on the terminal
  int status = 0;          // the exit status when not running the session
  std::string output;      // for standard output
  std::string errors;      // for standard error
};

// Reads the arguments after the program name. The first unknown argument is
// refused (status 2) even after a known one; otherwise the first one acts.
Options readOptions(std::span<const char* const> args);
