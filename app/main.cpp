#include <span>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/options.h"
#include "app/session.h"
#include "terminal/terminal.h"

namespace {

InputFile inputFile(const std::string& name) {
  InputFile file;
  file.name = name;
  file.read = readFileBytes(name, file.bytes, file.error);
  return file;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The command line is answered before the terminal is taken.
  std::span<const char* const> args;  // the arguments after the program's name
  if (argc > 1) args = {argv + 1, static_cast<std::size_t>(argc - 1)};
  const Options options = readOptions(args);
  if (options.check) {
    std::vector<InputFile> cases;
    for (const std::string& name : options.files) cases.push_back(inputFile(name));
    const InputFile series =
        options.series.empty() ? InputFile{} : inputFile(options.series);
    const BatchRun run =
        runChecks(options, cases, options.series.empty() ? nullptr : &series);
    // Each file's output written out before its errors, file by file.
    for (const BatchRun::Part& part : run.parts) {
      writeStandardOutput(part.output, true);
      writeStandardError(part.errors);
    }
    return run.status;
  }
  if (!options.runSession) {
    writeStandardOutput(options.output, true);
    writeStandardError(options.errors);
    return options.status;
  }

  CouplingData start{};
  resetToDefaults(start);
  LoadedCase loaded{true, 0, ""};
  if (!options.files.empty()) loaded = loadCase(inputFile(options.files[0]), start);
  if (options.hasCaseText) loaded = loadLink(options.caseText, start);
  writeStandardError(loaded.errors);
  if (!loaded.loaded) return loaded.status;

  Terminal terminal;
  runSession(terminal, start, nullptr);
  return 0;
}
