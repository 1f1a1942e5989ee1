#pragma once

#include <cstddef>

// One key event of the Windows console (a KEY_EVENT_RECORD), reduced to the
// fields that decide which key it is. Plain values, so the translation
// below builds and is tested on every platform.
struct KeyEvent {
  bool keyDown;          // a press (true) or a release
  unsigned virtualKey;   // the VK_ code
  char32_t character;    // the Unicode character, 0 for none; surrogate
                         // pairs already joined into one code point
  unsigned controlKeys;  // the dwControlKeyState bits (Alt, Ctrl, Shift, ...)
};

// The bytes a Linux terminal (xterm) sends for the same key, so that the
// console decodes keys alike on both platforms: a character as UTF-8, an
// arrow, function or editing key as its escape sequence, Esc alone as Esc,
// Alt with a character as Esc and the character. AltGr (Right Alt with Left
// Ctrl, as Windows reports it) gives a plain character. Releases, lone
// modifier presses and events without a character give nothing. Writes at
// most kKeyBytesMax bytes to `out` and returns their count.
constexpr std::size_t kKeyBytesMax = 8;
std::size_t keyEventBytes(const KeyEvent& event, char (&out)[kKeyBytesMax]);
