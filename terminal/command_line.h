#pragma once

#include <string>
#include <vector>

// The command line as the platform hands it over; command_line_posix.cpp
// (also the browser's) and command_line_windows.cpp implement it.

// The arguments after the program's name, as UTF-8 on Windows, where they
// come from the UTF-16 command line so that any name Windows can hold
// arrives whole; elsewhere as the system gave them.
std::vector<std::string> commandLineArguments(int argc, char* argv[]);

// True where programs answer "/?" with their help (Windows).
bool takesSlashHelp();

// The names a case file argument stands for, appended to `names`. Windows
// leaves wildcards to the program: "*" and "?" in the last part of the path
// match as the system's file search matches them, files only, sorted by
// name ignoring case. Returns "" when names were added; else why none were:
// "keine Datei passt zu diesem Muster", or the system's reason the search
// failed (a folder that is not there, no access), and then none are added,
// not even those found before the search broke off. Elsewhere the shell
// has expanded them already and `argument` is the one name.
std::string expandWildcards(const std::string& argument, std::vector<std::string>& names);
