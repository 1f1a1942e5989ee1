#pragma once

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

// `s` without the blanks and tabs around it, and without a line's CR (a
// Windows line end).
std::string_view trim(std::string_view s);
