#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Options, EachArgumentAnswersOrIsRefused) {
  const std::string version = std::string("tavro ") + TAVRO_VERSION + "\n";
  const std::string help = readOptions(std::vector<const char*>{"--help"}).output;
  const struct {
    std::vector<const char*> args;
    bool runSession;
    int status;
    std::string output;
    std::string errors;
  } cases[] = {
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
      {{"--version", "x"},
       false,
       2,
       "",
       "tavro: unbekannte Option: x\nHilfe: tavro --help\n"},
      {{""}, false, 2, "", "tavro: unbekannte Option: \nHilfe: tavro --help\n"},
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
