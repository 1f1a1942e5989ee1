#include <span>

#include "app/options.h"
#include "app/session.h"
#include "terminal/terminal.h"

int main(int argc, char* argv[]) {
  // The command line is answered before the terminal is taken.
  const std::size_t count = argc > 1 ? static_cast<std::size_t>(argc - 1) : 0;
  const Options options = readOptions(std::span<const char* const>(argv + 1, count));
  if (!options.runSession) {
    writeStandardOutput(options.output);
    writeStandardError(options.errors);
    return options.status;
  }
  Terminal terminal;
  runSession(terminal);
  return 0;
}
