#include "terminal/key_event.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned kShift = 0x10, kLeftAlt = 0x02, kAltGr = 0x01 | 0x08, kNumLock = 0x20;

TEST(KeyEvent, AsALinuxTerminalSendsIt) {
  const struct {
    const char* name;
    KeyEvent event;
    std::string bytes;
  } cases[] = {
      {"g", {true, 'G', U'g', 0}, "g"},
      {"Shift+G", {true, 'G', U'G', kShift}, "G"},
      {"digit, Num Lock on", {true, '7', U'7', kNumLock}, "7"},
      {"Space", {true, 0x20, U' ', 0}, " "},
      {"Enter", {true, 0x0D, U'\r', 0}, "\r"},
      {"Backspace", {true, 0x08, 0x08, 0}, "\b"},
      {"a umlaut", {true, 0xDE, U'\u00e4', 0}, "\xc3\xa4"},
      {"sharp s", {true, 0xDB, U'\u00df', 0}, "\xc3\x9f"},
      {"euro sign by AltGr", {true, 'E', U'\u20ac', kAltGr}, "\xe2\x82\xac"},
      {"@ by AltGr", {true, 'Q', U'@', kAltGr}, "@"},
      {"{ by AltGr", {true, '7', U'{', kAltGr}, "{"},
      {"backslash by AltGr", {true, 0xDB, U'\\', kAltGr}, "\\"},
      {"beyond the BMP", {true, 0, U'\U0001F600', 0}, "\xf0\x9f\x98\x80"},
      {"Esc with no character", {true, 0x1B, 0, 0}, "\033"},
      {"Esc with its character", {true, 0x1B, 0x1B, 0}, "\033"},
      {"Alt+q", {true, 'Q', U'q', kLeftAlt}, "\033q"},
      {"Alt+a umlaut", {true, 0xDE, U'\u00e4', kLeftAlt}, "\033\xc3\xa4"},
      {"Up", {true, 0x26, 0, 0}, "\033[A"},
      {"Down", {true, 0x28, 0, 0}, "\033[B"},
      {"Right", {true, 0x27, 0, 0}, "\033[C"},
      {"Left", {true, 0x25, 0, 0}, "\033[D"},
      {"Home", {true, 0x24, 0, 0}, "\033[H"},
      {"End", {true, 0x23, 0, 0}, "\033[F"},
      {"Page Up", {true, 0x21, 0, 0}, "\033[5~"},
      {"Page Down", {true, 0x22, 0, 0}, "\033[6~"},
      {"Insert", {true, 0x2D, 0, 0}, "\033[2~"},
      {"Delete", {true, 0x2E, 0x7F, 0}, "\033[3~"},
      {"F1", {true, 0x70, 0, 0}, "\033OP"},
      {"F4", {true, 0x73, 0, 0}, "\033OS"},
      {"F5", {true, 0x74, 0, 0}, "\033[15~"},
      {"F10", {true, 0x79, 0, 0}, "\033[21~"},
      {"F11", {true, 0x7A, 0, 0}, "\033[23~"},
      {"F12", {true, 0x7B, 0, 0}, "\033[24~"},
      {"release of g", {false, 'G', U'g', 0}, ""},
      {"release of Up", {false, 0x26, 0, 0}, ""},
      {"Shift alone", {true, 0x10, 0, kShift}, ""},
      {"Ctrl alone", {true, 0x11, 0, 0x08}, ""},
      {"Alt alone", {true, 0x12, 0, kLeftAlt}, ""},
      {"Windows key", {true, 0x5B, 0, 0}, ""},
      {"lone surrogate", {true, 0, 0xD83D, 0}, ""},
  };
  for (const auto& c : cases) {
    char out[kKeyBytesMax];
    const std::size_t size = keyEventBytes(c.event, out);
    EXPECT_EQ(c.bytes, std::string(out, size)) << c.name;
  }
}

}  // namespace
