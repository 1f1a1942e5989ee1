#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "coupling/case_file.h"

// A row names only the fields it expects set; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Every field of `o`, so that a row compares them all.
auto fieldsOf(const Options& o) {
  return std::tie(o.runSession, o.check, o.status, o.output, o.errors, o.files,
                  o.hasCaseText, o.caseText, o.derivation, o.series, o.format);
}

// A command line refused for `why`: nothing else is kept from it.
Options refusal(const std::string& why) {
  return {.runSession = false,
          .status = 2,
          .errors = "tavro: " + why + "\nHilfe: tavro --help\n"};
}

// A command line answered on standard output: nothing else is kept from it.
Options answer(const std::string& output) {
  return {.runSession = false, .output = output};
}

TEST(Options, EachArgumentAnswersOrIsRefused) {
  using enum Options::Format;
  const std::string version = std::string("tavro ") + TAVRO_VERSION + "\n";
  const std::string help = readOptions(std::vector<const char*>{"--help"}).output;
  CouplingData example{};
  resetToDefaults(example);
  const struct {
    std::vector<const char*> args;
    Options expected;
  } cases[] = {
      {{}, {}},
      // A plain argument is a case file, even an empty one; it is read later.
      {{"fall.txt"}, {.files = {"fall.txt"}}},
      {{""}, {.files = {""}}},
      {{"-"}, {.files = {"-"}}},
      // After "--" every argument is a file, one that looks like an option too.
      {{"--", "--help"}, {.files = {"--help"}}},
      {{"--check", "--", "-a.txt", "--format"},
       {.runSession = false, .check = true, .files = {"-a.txt", "--format"}}},
      {{"--case", "https://h/tavro.html#TLN=100"},
       {.hasCaseText = true, .caseText = "https://h/tavro.html#TLN=100"}},
      // --name=value splits at the first "=" only.
      {{"--case=TLN=1&n=2"}, {.hasCaseText = true, .caseText = "TLN=1&n=2"}},
      {{"--case="}, {.hasCaseText = true}},
      {{"--check", "a.txt"}, {.runSession = false, .check = true, .files = {"a.txt"}}},
      {{"a.txt", "--check", "--derivation", "--series", "t.csv", "--format", "json",
        "b.txt"},
       {.runSession = false,
        .check = true,
        .files = {"a.txt", "b.txt"},
        .derivation = true,
        .series = "t.csv",
        .format = kJson}},
      {{"--check", "--format=csv", "a.txt"},
       {.runSession = false, .check = true, .files = {"a.txt"}, .format = kCsv}},
      {{"--check", "--format", "text", "--series=t.csv", "a.txt"},
       {.runSession = false,
        .check = true,
        .files = {"a.txt"},
        .series = "t.csv",
        .format = kText}},

      // The first of --help, --version and --template answers.
      {{"--template"}, answer(writeCaseFile(example))},
      {{"--version"}, answer(version)},
      {{"-V"}, answer(version)},
      {{"-h"}, answer(help)},
      {{"--help", "--version"}, answer(help)},
      {{"--version", "--template"}, answer(version)},
      {{"--version", "x"}, answer(version)},
      {{"--check", "a.txt", "--template"}, answer(writeCaseFile(example))},

      // Every refusal, even after an option that answers.
      {{"--bogus"}, refusal("unbekannte Option: --bogus")},
      {{"-x", "a.txt"}, refusal("unbekannte Option: -x")},
      {{"--help", "--bogus"}, refusal("unbekannte Option: --bogus")},
      {{"--case"}, refusal("--case verlangt einen Wert")},
      {{"--check", "a.txt", "--series"}, refusal("--series verlangt einen Wert")},
      {{"--check", "a.txt", "--format"}, refusal("--format verlangt einen Wert")},
      {{"--check=yes", "a.txt"}, refusal("--check nimmt keinen Wert")},
      {{"--help=1"}, refusal("--help nimmt keinen Wert")},
      {{"--check", "--derivation=", "a.txt"}, refusal("--derivation nimmt keinen Wert")},
      {{"--check", "--series=", "a.txt"}, refusal("--series verlangt eine Tabelle")},
      {{"--check", "--series", "", "a.txt"}, refusal("--series verlangt eine Tabelle")},
      {{"--check", "--format", "xml", "a.txt"},
       refusal("unbekanntes Format: xml (text, json, csv oder csv-de)")},
      {{"--check", "--format", "JSON", "a.txt"},
       refusal("unbekanntes Format: JSON (text, json, csv oder csv-de)")},
      {{"--derivation", "a.txt"},
       refusal("--derivation, --series und --format gehen nur mit --check")},
      {{"--series", "t.csv", "a.txt"},
       refusal("--derivation, --series und --format gehen nur mit --check")},
      {{"--format", "text", "a.txt"},
       refusal("--derivation, --series und --format gehen nur mit --check")},
      {{"--check"}, refusal("--check verlangt mindestens eine Falldatei")},
      {{"--check", "--"}, refusal("--check verlangt mindestens eine Falldatei")},
      {{"--check", "--case", "TLN=1", "a.txt"}, refusal("--case geht nicht mit --check")},
      {{"--check", "--format=csv", "--series", "t.csv", "a.txt"},
       refusal("--derivation und --series gehen nicht mit --format csv")},
      {{"--check", "--derivation", "--format=csv", "a.txt"},
       refusal("--derivation und --series gehen nicht mit --format csv")},
      {{"a.txt", "b.txt"},
       refusal("das Menue startet mit einem Fall: eine Falldatei oder --case")},
      {{"a.txt", "--case", "TLN=1"},
       refusal("das Menue startet mit einem Fall: eine Falldatei oder --case")},
      {{"--check", "--series", "a.csv", "--series=b.csv", "a.txt"},
       refusal("--series ist zweimal angegeben")},
      {{"--check", "--format=json", "--format", "json", "a.txt"},
       refusal("--format ist zweimal angegeben")},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const char* arg : c.args) line += std::string(" ") + arg;
    SCOPED_TRACE("tavro" + line);
    EXPECT_EQ(fieldsOf(readOptions(c.args)), fieldsOf(c.expected));
  }
  EXPECT_NE(std::string::npos, help.find("\n  q  Programm beenden\n"));
  EXPECT_TRUE(help.ends_with("Mehr: man tavro\n"));
}

TEST(Options, EachPlatformsConventions) {
  using enum Options::Format;
  const std::string help = readOptions(std::vector<const char*>{"--help"}).output;
  const OptionConventions posix;
  const OptionConventions windows{.slashHelp = true};
  const struct {
    std::vector<const char*> args;
    OptionConventions conventions;
    Options expected;
  } cases[] = {
      {{"/?"}, windows, answer(help)},
      {{"/?"}, posix, {.files = {"/?"}}},  // a path there
      {{"--", "/?"}, windows, {.files = {"/?"}}},
      {{"fall.txt", "/?"}, windows, answer(help)},
      {{"/?", "--bogus"}, windows, refusal("unbekannte Option: --bogus")},
      {{"--check", "--format=csv-de", "a.txt"},
       posix,
       {.runSession = false, .check = true, .files = {"a.txt"}, .format = kCsvDe}},
      {{"--check", "--format", "csv-de", "--derivation", "a.txt"},
       windows,
       refusal("--derivation und --series gehen nicht mit --format csv-de")},
      {{"--check", "--format", "csv-de", "--series", "t.csv", "a.txt"},
       posix,
       refusal("--derivation und --series gehen nicht mit --format csv-de")},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const char* arg : c.args) line += std::string(" ") + arg;
    SCOPED_TRACE("tavro" + line + (c.conventions.slashHelp ? " (Windows)" : ""));
    EXPECT_EQ(fieldsOf(readOptions(c.args, c.conventions)), fieldsOf(c.expected));
  }
}

}  // namespace
