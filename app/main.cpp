#include <string>
#include <vector>

#include "app/batch.h"
#include "app/options.h"
#include "app/session.h"
#include "terminal/command_line.h"
#include "terminal/terminal.h"

namespace {

InputFile inputFile(const std::string& name) {
  InputFile file;
  file.name = name;
  file.read = readFileBytes(name, file.bytes, file.error);
  return file;
}

// The case files a --check argument names: on Windows a wildcard pattern
// stands for the files it matches; one that matches none, or whose search
// failed, is named as a file that cannot be read.
void addCaseFiles(const std::string& argument, std::vector<InputFile>& cases) {
  std::vector<std::string> names;
  const std::string why = expandWildcards(argument, names);
  if (!why.empty()) {
    InputFile none;
    none.name = argument;
    none.error = why;
    cases.push_back(none);
  }
  for (const std::string& name : names) cases.push_back(inputFile(name));
}

}  // namespace

int main(int argc, char* argv[]) {
  // The command line is answered before the terminal is taken.
  const std::vector<std::string> arguments = commandLineArguments(argc, argv);
  std::vector<const char*> args;  // the arguments after the program's name
  args.reserve(arguments.size());
  for (const std::string& argument : arguments) args.push_back(argument.c_str());
  const Options options = readOptions(args, {takesSlashHelp()});
  if (options.check) {
    std::vector<InputFile> cases;
    for (const std::string& argument : options.files) addCaseFiles(argument, cases);
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
