#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "coupling/case_file.h"

TEST(Options, EachArgumentAnswersOrIsRefused) {
  const std::string version = std::string("tavro ") + TAVRO_VERSION + "\n";
  const std::string help = readOptions(std::vector<const char*>{"--help"}).output;
  CouplingData example{};
  resetToDefaults(example);
  const struct {
    std::vector<const char*> args;
    bool runSession;
    int status;
    std::string output;
    std::string errors;
  } cases[] = {
      // A plain argument is a case file, even an empty one; it is read later.
      {{"fall.txt"}, true, 0, "", ""},
      {{""}, true, 0, "", ""},
      {{"--template"}, false, 0, writeCaseFile(example), ""},
      {{"--check", "a.txt"}, false, 0, "", ""},
      {{"--derivation", "a.txt"},
       false,
       2,
       "",
       "tavro: --derivation, --series und --format gehen nur mit --check\nHilfe: tavro "
       "--help\n"},
      {{"--check", "--format=csv", "--series", "t.csv", "a.txt"},
       false,
       2,
       "",
       "tavro: --derivation und --series gehen nicht mit --format csv\nHilfe: tavro "
       "--help\n"},
      {{"--check", "--format", "xml", "a.txt"},
       false,
       2,
       "",
       "tavro: unbekanntes Format: xml (text, json oder csv)\nHilfe: tavro --help\n"},
      {{"--check"},
       false,
       2,
       "",
       "tavro: --check verlangt mindestens eine Falldatei\nHilfe: tavro --help\n"},
      {{"--case"},
       false,
       2,
       "",
       "tavro: --case verlangt einen Wert\nHilfe: tavro --help\n"},
      {{"a.txt", "b.txt"},
       false,
       2,
       "",
       "tavro: das Menue startet mit einem Fall: eine Falldatei oder --case\nHilfe: "
       "tavro "
       "--help\n"},
      {{}, true, 0, "", ""},
      {{"--version"}, false, 0, version, ""},
      {{"-V"}, false, 0, version, ""},
      {{"-h"}, false, 0, help, ""},
      {{"--help", "--version"}, false, 0, help, ""},
      {{"--bogus"},
       false,
       2,
       "",
       "tavro: unbekannte Option: --bogus\nHilfe: tavro --help\n"},
      {{"--version", "x"}, false, 0, version, ""},
      {{"--check", "--series", "a.csv", "--series=b.csv", "a.txt"},
       false,
       2,
       "",
       "tavro: --series ist zweimal angegeben\nHilfe: tavro --help\n"},
      {{"--check", "--format=json", "--format", "json", "a.txt"},
       false,
       2,
       "",
       "tavro: --format ist zweimal angegeben\nHilfe: tavro --help\n"},
  };
  for (const auto& c : cases) {
    const Options options = readOptions(c.args);
    const std::string name = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(c.runSession, options.runSession) << name;
    EXPECT_EQ(c.status, options.status) << name;
    EXPECT_EQ(c.output, options.output) << name;
    EXPECT_EQ(c.errors, options.errors) << name;
  }
  EXPECT_NE(std::string::npos, help.find("\n  q  Programm beenden\n"));
  EXPECT_TRUE(help.ends_with("Mehr: man tavro\n"));
}
