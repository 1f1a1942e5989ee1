#include "coupling/case_label.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CaseLabel, TakesOneLineOfTextWithoutTheBlanksAroundIt) {
  const struct {
    std::string text;
    bool taken;
    std::string name;
  } cases[] = {
      {"  Pumpe P-101, Motor 90 kW\t", true, "Pumpe P-101, Motor 90 kW"},
      {"Größe \"A\" = 2 # ½ – 東京 😀", true, "Größe \"A\" = 2 # ½ – 東京 😀"},
      {"a\tb", true, "a\tb"},
      {"", true, ""},
      {"zwei\nZeilen", false, "alt"},
      {"Ende\r", false, "alt"},
      {"a\x7f", false, "alt"},
      {"a\u2028b", false, "alt"},      // a line separator is a line break too
      {"\xC3\x28", false, "alt"},      // no UTF-8
      {"\xED\xA0\x80", false, "alt"},  // a surrogate
      {"\xC0\xAF", false, "alt"},      // an overlong "/"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string name = "alt";
    EXPECT_EQ(readLabelText(c.text, name), c.taken);
    EXPECT_EQ(name, c.name);
  }
}

TEST(CaseLabel, NamesTheSavedFileInCharactersEveryFileSystemTakes) {
  const struct {
    std::string name, file;
  } cases[] = {
      {"Pumpe P-101, Motor 90 kW", "tavro-pumpe-p-101-motor-90-kw.txt"},
      {"Rührwerk Größe Ä/Ö/Ü – Straße", "tavro-ruehrwerk-groesse-ae-oe-ue-strasse.txt"},
      {"Café Señor Øre", "tavro-cafe-senor-ore.txt"},
      {"  ..CON..  ", "tavro-con.txt"},
      {"東京 ☺", "tavro-fall.txt"},
      {"", "tavro-fall.txt"},
      {"\xFF\xFEx", "tavro-x.txt"},
      {std::string(70, 'a') + " b", "tavro-" + std::string(60, 'a') + ".txt"},
      {"aaaa " + std::string(70, 'b'), "tavro-aaaa.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(caseFileName(c.name), c.file);
  }
}

}  // namespace
