#include "terminal/command_line.h"

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
  if (argc < 1) return {};
  return {argv + 1, argv + argc};
}

bool takesSlashHelp() { return false; }

std::string expandWildcards(const std::string& argument,
                            std::vector<std::string>& names) {
  names.push_back(argument);
  return "";
}
