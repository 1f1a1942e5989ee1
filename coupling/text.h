#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from a file as people's editors and spreadsheets write it, as UTF-8:
// a UTF-8 byte-order mark dropped; UTF-16 with its byte-order mark (what
// Windows PowerShell 5.1's > writes) converted, a lone surrogate and a last
// odd byte (a file cut short) as U+FFFD, so that the line shows as bad;
// other text that is not UTF-8 taken as Windows-1252 (as programs on German
// Windows write it).
std::string decodeText(std::string_view bytes);

// When `bytes` look like UTF-16 without its byte-order mark (NUL bytes, all
// in every other place, as Latin letters have them in UTF-16), which
// decodeText cannot tell from other text: the German sentence (ASCII) that
// says so and what to do; otherwise "".
std::string unmarkedUtf16(std::string_view bytes);

// `bytes` as UTF-8 as decodeText takes text without a byte-order mark: as
// they are when they are UTF-8, else as Windows-1252 (a file name as Latin-1).
std::string asUtf8(std::string_view bytes);

// The length of the space the eye cannot tell from a blank, or cannot see
// at all, at the start of `text` (UTF-8): a no-break space U+00A0, a narrow
// one U+202F, a figure space U+2007, a zero-width space U+200B, a byte-order
// mark U+FEFF; 0 when there is none.
std::size_t invisibleSpace(std::string_view text);

// What a message calls the invisible space at the start of `text`
// ("ein geschuetztes Leerzeichen (U+00A0)", ASCII German), or null when
// invisibleSpace finds none.
const char* invisibleSpaceName(std::string_view text);

// `s` without the blanks, tabs and invisible spaces (invisibleSpace) around
// it, and without a line's CR (a Windows line end).
std::string_view trim(std::string_view s);
