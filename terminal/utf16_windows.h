#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Windows speaks UTF-16; the program speaks UTF-8. Shared by the Windows
// files of terminal/.

// `text` (UTF-8) as UTF-16, for the system's wide functions.
std::wstring toWide(std::string_view text);

// `text` (UTF-16) as UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(std::wstring_view text);

// Windows's own words for the error code `error`, in the user's language,
// as UTF-8 without the line end: "Das System kann die angegebene Datei
// nicht finden."; "Fehler N" when it has none.
std::string systemMessage(DWORD error);
