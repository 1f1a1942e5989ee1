#include "console/console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Runs reads on `input` and describes what each gave: 'r' reads a real, 'i'
// an integer (both into a field that starts at 7), 'k' a key. A key is shown
// as its character when printable, else as its code in hex.
std::string reads(std::string_view input, const char* ops) {
  ScriptDevice device(input);
  Console console(device);
  std::string result;
  for (const char* op = ops; *op; ++op) {
    char text[64];
    bool more = true;
    if (*op == 'r') {
      double field = 7;
      more = console.readNumber("", field);
      std::snprintf(text, sizeof text, "%g", field);
    } else if (*op == 'i') {
      int field = 7;
      more = console.readNumber("", field);
      std::snprintf(text, sizeof text, "%d", field);
    } else {
      const int code = console.readKey();
      more = code != key::kEndOfInput;
      if (code > ' ' && code < 0x7F) {
        std::snprintf(text, sizeof text, "%c", code);
      } else {
        std::snprintf(text, sizeof text, "<%x>", static_cast<unsigned>(code));
      }
    }
    if (!result.empty()) result += ' ';
    result += more ? text : "EOF";
  }
  return result;
}

TEST(ConsoleKeys, OneKeyPerPress) {
  const struct {
    const char* input;
    const char* keys;
  } cases[] = {
      {"aQ", "a Q EOF"},
      {"\n ", "<a> <20> EOF"},
      {"\033[A", "<100> EOF"},                          // arrow up
      {"\033[15~x", "<100> x EOF"},                     // F5
      {"\033[1;5C\033OP", "<100> <100> EOF"},           // Ctrl+right, F1
      {"\033q", "<271> EOF"},                           // Alt+q
      {"\033", "<1b> EOF"},                             // lone Esc
      {"\033\033", "<21b> EOF"},                        // Alt+Esc
      {"\033O", "<24f> EOF"},                           // Alt+O
      {"\033[", "<100> EOF"},                           // cut short by the end
      {"\033[1\001", "<100> <1> EOF"},                  // a control byte ends it
      {"\xc3\xa4\xc3\x9f", "<10000e4> <10000df> EOF"},  // ae, sharp s
      {"\xe2\x82\xac", "<10020ac> EOF"},                // euro sign
      {"\xf0\x9f\x98\x80", "<101f600> EOF"},
      {"\xc3q", "<100fffd> q EOF"},       // cut short: q stays a key
      {"\x80\xff", "<80> <ff> EOF"},      // stray bytes
      {"\033\xc3\xa4", "<10002e4> EOF"},  // Alt+ae
      {"", "EOF EOF"},
  };
  for (const auto& c : cases) {
    const std::string_view keys(c.keys);
    const std::string ops(std::count(keys.begin(), keys.end(), ' ') + 1, 'k');
    EXPECT_EQ(c.keys, reads(c.input, ops.c_str())) << "input: " << c.input;
  }
}

TEST(ConsoleNumbers, InputModel) {
  const struct {
    std::string input;
    const char* ops;
    const char* expected;
  } cases[] = {
      {"100 1200\n", "rr", "100 1200"},
      {"100\nq", "rk", "100 q"},            // the Enter stays in the line
      {"1 q\nz", "rk", "1 z"},              // keys never come from the line
      {"2.5\n", "ir", "2 0.5"},             // an integer stops at the point
      {"\n\n  42\n", "r", "42"},            // empty lines are skipped
      {"42\r\n43\r\nq", "rrk", "42 43 q"},  // CR is white space
      {"\t\v\f7.5e1\n", "r", "75"},
      {"abc 5\n6\n", "rr", "7 6"},     // garbage drops the line
      {"- 3\n4\n", "rr", "7 4"},       // a lone sign
      {"1,5 0,8\n", "rr", "1.5 0.8"},  // a comma is a decimal point
      {"2,5e3 ,5\n", "rr", "2500 0.5"},
      {"1.5 2,5\n", "rr", "1.5 2.5"},
      {"2,5\n", "ir", "2 0.5"},      // an integer stops at a comma
      {"1,5,5\n", "rr", "1.5 0.5"},  // the first comma of what is left
      {std::string(4095, ' ') + "12\n3\n", "rr", "1 3"},  // a line keeps 4096 bytes
      {std::string(4096, '7') + "\n", "r", "inf"},
      {"1e\n", "rr", "1 7"},                // the e stays and is dropped
      {"99999999999 1\n2\n", "ii", "7 2"},  // too big for 32 bits
      {"-2147483648 2147483647\n", "ii", "-2147483648 2147483647"},
      {"2147483648 -2147483649\n5\n", "ii", "7 5"},
      {"99999999999999999999999\n", "i", "7"},
      {"0x1A\n", "ir", "0 7"},  // base 10 only
      {"0x1A\n", "r", "26"},    // as strtod reads it
      {"1e999 -1e999\n", "rr", "inf -inf"},
      {"inf nan\n", "rr", "inf nan"},
      {std::string("1\0 2\n3\n", 7), "rrr", "1 7 3"},  // NUL is no number
      {"\xc3\xa4 1\n2\n", "rr", "7 2"},
      {"", "r", "EOF"},
      {" \n \r\n", "r", "EOF"},
      {"5", "rr", "5 EOF"},
      {"5", "rk", "5 EOF"},
      {"x\n", "ii", "7 EOF"},  // dropped text is not read again
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, reads(c.input, c.ops)) << "input: " << c.input;
  }
}

TEST(ConsoleNumbers, HugeLinesTakeLinearTime) {
  // Megabytes at one prompt: read once, dropped once, never scanned again.
  const std::string digits(4 << 20, '9');
  EXPECT_EQ("7 3", reads(digits + "\n3\n", "ii"));
  EXPECT_EQ("inf 3", reads(digits + "\n3\n", "rr"));
  EXPECT_EQ("7 3", reads(std::string(4 << 20, 'z') + "\n3\n", "rr"));
  EXPECT_EQ("3", reads(std::string(4 << 20, ' ') + "\n3\n", "r"));
}

TEST(ConsoleOutput, PromptsLongTextsAndLineEnds) {
  ScriptDevice device("");
  Console console(device);
  const std::string longText(3000, 'L');
  console.print(longText);
  console.print("|%d|", 42);
  console.print("%g", 0.00735112);
  double field = 1;
  EXPECT_FALSE(console.readNumber("\nTKN   [Nm]= ", field));
  EXPECT_TRUE(console.inputEnded());
  console.finishLine();
  console.finishLine();  // the line is finished already
  EXPECT_EQ(longText + "|42|0.00735112\nTKN   [Nm]= \n", device.output());
}

TEST(ConsolePager, GoesOnForAnyKeyButX) {
  const struct {
    const char* input;
    bool goesOn;
    const char* output;
  } cases[] = {
      {" ", true, "weiter mit bel.Taste..\n"},
      {"X", true, "weiter mit bel.Taste..\n"},
      {"\033[B", true, "weiter mit bel.Taste..\n"},
      {"x", false, "weiter mit bel.Taste.."},
      {"", false, "weiter mit bel.Taste.."},
  };
  for (const auto& c : cases) {
    ScriptDevice device(c.input);
    Console console(device);
    EXPECT_EQ(c.goesOn, console.pager()) << c.input;
    console.flush();
    EXPECT_EQ(c.output, device.output()) << c.input;
  }
}

}  // namespace
