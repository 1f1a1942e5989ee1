#include "terminal/line_discipline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads until the end of input, as the console does with a 4096-byte
// buffer; each read's bytes followed by "|", then "<end>".
std::string readAll(LineDiscipline& typed) {
  std::string reads;
  char buffer[4096];
  for (long count; (count = typed.read(buffer, sizeof buffer, -1)) > 0;) {
    reads.append(buffer, static_cast<std::size_t>(count)) += '|';
  }
  return reads + "<end>";
}

TEST(LineDiscipline, TypedBytesBecomeEchoAndLines) {
  const std::string nines(5000, '9');
  const std::string kept(4096, '9');
  const struct {
    const char* name;
    std::string typed;
    bool keyMode;
    std::string reads;  // as readAll shows them
    std::string echo;
    bool interrupted;
  } cases[] = {
      {"plain line", "100 1200\r", false, "100 1200\n|<end>", "100 1200\n", false},
      {"LF as CR", "7\n", false, "7\n|<end>", "7\n", false},
      {"lines typed ahead", "1\r2\r", false, "1\n|2\n|<end>", "1\n2\n", false},
      {"Backspace",
       "12x\x7f"
       "3\r",
       false, "123\n|<end>", "12x\b \b3\n", false},
      {"^H over ae", "1\xc3\xa4\b2\r", false, "12\n|<end>", "1\xc3\xa4\b \b2\n", false},
      {"Backspace on empty line", "\x7f\b7\r", false, "7\n|<end>", "7\n", false},
      {"control shown as ^X", "1\x1b\x7f\t2\r", false, "1\t2\n|<end>",
       "1^[\b \b\b \b 2\n", false},
      {"Ctrl-U",
       "12 34\x15"
       "5\r",
       false, "5\n|<end>", "12 34\b \b\b \b\b \b\b \b\b \b5\n", false},
      {"Ctrl-D on empty line",
       "\x04"
       "7\r",
       false, "<end>", "", false},
      {"Ctrl-D after text",
       "12\x04"
       "3\r",
       false, "12|3\n|<end>", "123\n", false},
      {"input ends mid-line", "12", false, "12|<end>", "12", false},
      {"past 4096 bytes", nines + "\r", false, kept + "|\n|<end>", kept + "\n", false},
      {"Ctrl-Z dropped",
       "1\x1a"
       "2\r",
       false, "12\n|<end>", "12\n", false},
      {"Ctrl-C in a line",
       "12\x03"
       "3\r",
       false, "<end>", "12^C", true},
      {"keys one by one", "a1\r\x1a\x04", true, "a|1|\r|\x04|<end>", "", false},
      {"Ctrl-C at a key", "\x03q", true, "<end>", "", true},
  };
  for (const auto& c : cases) {
    ScriptDevice keyboard(c.typed);
    LineDiscipline typed(keyboard);
    if (c.keyMode) typed.beginKeyRead();
    EXPECT_EQ(c.reads, readAll(typed)) << c.name;
    EXPECT_EQ(c.echo, keyboard.output()) << c.name;
    EXPECT_EQ(c.interrupted, typed.interrupted()) << c.name;
  }
}

}  // namespace
