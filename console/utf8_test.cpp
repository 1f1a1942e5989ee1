#include "console/utf8.h"

#include <gtest/gtest.h>

#include <string>

// Every boundary of well-formed UTF-8, each one byte inside and outside.
TEST(Utf8, TakesTheShortestFormsAndRefusesTheRest) {
  const struct {
    std::string bytes;
    char32_t point;
    std::size_t length;  // 0: refused
  } rows[] = {
      {"", 0, 0},
      {"A", 0x41, 1},
      {std::string(1, '\0'), 0, 1},
      {"\x7F", 0x7F, 1},
      {"\x80", 0, 0},      // a continuation byte first
      {"\xC0\x80", 0, 0},  // U+0000 overlong
      {"\xC1\xBF", 0, 0},  // U+007F overlong
      {"\xC2\x80", 0x80, 2},
      {"\xC3\xA4x", 0xE4, 2},  // ä, then more text
      {"\xC3", 0, 0},          // cut short
      {"\xC3\x41", 0, 0},      // no continuation byte
      {"\xC3\xC0", 0, 0},      // a lead where a continuation byte belongs
      {"\xDF\xBF", 0x7FF, 2},
      {"\xE0\x9F\xBF", 0, 0},  // U+07FF overlong
      {"\xE0\xA0\x80", 0x800, 3},
      {"\xE2\x80\xAF", 0x202F, 3},  // narrow no-break space
      {"\xED\x9F\xBF", 0xD7FF, 3},
      {"\xED\xA0\x80", 0, 0},  // a surrogate
      {"\xEE\x80\x80", 0xE000, 3},
      {"\xEF\xBF\xBD", 0xFFFD, 3},
      {"\xE2\x82", 0, 0},          // cut short
      {"\xE2\x80\x41", 0, 0},      // a bad third byte
      {"\xF0\x8F\xBF\xBF", 0, 0},  // U+FFFF overlong
      {"\xF0\x90\x80\x80", 0x10000, 4},
      {"\xF0\x90\x80", 0, 0},  // cut short
      {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
      {"\xF4\x90\x80\x80", 0, 0},  // past U+10FFFF
      {"\xF5\x80\x80\x80", 0, 0},
      {"\xFF", 0, 0},
  };
  for (const auto& row : rows) {
    const Utf8Character c = firstUtf8Character(row.bytes);
    EXPECT_EQ(c.length, row.length) << row.bytes;
    if (row.length != 0) {
      EXPECT_EQ(c.point, row.point) << row.bytes;
      std::string written;
      appendUtf8(written, c.point);
      EXPECT_EQ(written, row.bytes.substr(0, row.length));
    }
  }
}

TEST(Utf8, AWholeTextIsUtf8WhenEveryCharacterIs) {
  EXPECT_TRUE(isUtf8(""));
  EXPECT_TRUE(isUtf8("Maß für Łódź \xF0\x9F\x94\xA7"));
  EXPECT_FALSE(
      isUtf8("Gr\xF6\xDF"
             "e"));                         // Windows-1252
  EXPECT_FALSE(isUtf8("ok \xE2\x82"));      // cut short at the end
  EXPECT_FALSE(isUtf8("\xED\xB0\x80 ok"));  // a lone low surrogate
}

// Text from a file shown on a terminal: no byte of it may steer the terminal.
TEST(Utf8, SpellsOutControlCharactersButLineEndsAndTabs) {
  const struct {
    std::string text;
    std::string shown;
  } rows[] = {
      {"a\tb\nc\r\nd", "a\tb\nc\r\nd"},
      {"1x\x1b[2J\x1b[H", "1x\\x1b[2J\\x1b[H"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\rfalsch", "\\x0dfalsch"},  // a carriage return alone overwrites the line
      {"\x7f", "\\x7f"},
      {"\xc2\x9b"
       "31m",
       "\\u009b31m"},  // C1's control sequence introducer
      {"Maß \xc2\xa0 \xe2\x82\xac", "Maß \xc2\xa0 \xe2\x82\xac"},
      {"Gr\xf6\xdf"
       "e",
       "Gr\xf6\xdf"
       "e"},  // not UTF-8: bytes as they are
  };
  for (const auto& row : rows)
    EXPECT_EQ(visibleControls(row.text), row.shown) << row.text;
}
