#include <span>

#include "app/options.h"
#include "app/session.h"
#include "terminal/terminal.h"

int main(int argc, char* argv[]) {
  // The command line is answered before the terminal is taken.
  std::span<const char* const> args;  // the arguments after the program's name
  if (argc > 1) args = {argv + 1, static_cast<std::size_t>(argc - 1)};
  const Options options = readOptions(args);
  if (!options.runSession) {
    writeStandardOutput(options.output);
    writeStandardError(options.errors);
    return options.status;
  }
  Terminal terminal;
  runSession(terminal);
  return 0;
}
