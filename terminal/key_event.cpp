#include "terminal/key_event.h"

#include <algorithm>
#include <string_view>

namespace {

// Virtual key codes and control key bits as <windows.h> defines them.
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kRightAlt = 0x01, kLeftAlt = 0x02, kRightCtrl = 0x04, kLeftCtrl = 0x08;

// The keys without a character, by virtual key code.
constexpr struct {
  unsigned virtualKey;
  const char* bytes;
} kSpecialKeys[] = {
    {0x21, "\033[5~"}, {0x22, "\033[6~"},  // Page Up, Page Down
    {0x23, "\033[F"},  {0x24, "\033[H"},   // End, Home
    {0x25, "\033[D"},  {0x26, "\033[A"},   // Left, Up
    {0x27, "\033[C"},  {0x28, "\033[B"},   // Right, Down
    {0x2D, "\033[2~"}, {0x2E, "\033[3~"},  // Insert, Delete
};
constexpr const char* kFunctionKeys[] = {
    "\033OP",   "\033OQ",   "\033OR",   "\033OS",   "\033[15~", "\033[17~",
    "\033[18~", "\033[19~", "\033[20~", "\033[21~", "\033[23~", "\033[24~",
};

std::size_t copy(std::string_view bytes, char* out) {
  std::copy(bytes.begin(), bytes.end(), out);
  return bytes.size();
}

std::size_t utf8(char32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

}  // namespace

std::size_t keyEventBytes(const KeyEvent& event, char (&out)[kKeyBytesMax]) {
  if (!event.keyDown) return 0;
  // By key code first: some consoles give Esc no character (Wine), and the
  // keys below carry none, or one that is no use (Delete's 0x7F).
  if (event.virtualKey == kVkEscape) return copy("\033", out);
  for (const auto& special : kSpecialKeys) {
    if (special.virtualKey == event.virtualKey) return copy(special.bytes, out);
  }
  if (event.virtualKey >= kVkF1 && event.virtualKey < kVkF1 + 12) {
    return copy(kFunctionKeys[event.virtualKey - kVkF1], out);
  }
  const char32_t c = event.character;
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  const bool alt = (event.controlKeys & (kLeftAlt | kRightAlt)) != 0;
  const bool ctrl = (event.controlKeys & (kLeftCtrl | kRightCtrl)) != 0;
  std::size_t size = 0;
  if (alt && !ctrl) out[size++] = '\033';  // Alt+key; Alt with Ctrl is AltGr
  return size + utf8(c, out + size);
}
