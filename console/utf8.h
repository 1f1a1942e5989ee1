#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as the program reads and writes it: well-formed only, so that every
// reader (JSON strings, case names, case files) takes and refuses the same
// bytes.

// One character: its code point and the bytes it takes.
struct Utf8Character {
  char32_t point = 0;
  std::size_t length = 0;  // 0: no well-formed character starts here
};

// The character `text` starts with. Length 0 for an empty text and where
// the first bytes are no well-formed UTF-8: a byte that starts no
// character, a sequence cut short, an overlong form, a surrogate, a code
// point past U+10FFFF.
Utf8Character firstUtf8Character(std::string_view text);

// True when all of `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

// Appends the code point `c` (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// `text` with its control characters but line ends ("\n", "\r\n") and tabs
// spelt out: C0 and DEL as "\x1b", C1 (U+0080 to U+009F) as "\u009b". Text
// read from a file (a value, a name, a file's own name) then cannot move the
// cursor, clear the screen or retitle the terminal it is shown on.
std::string visibleControls(std::string_view text);
