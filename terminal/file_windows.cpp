// Reading a whole file on Windows through the wide API, so a name in any
// script opens (the C library would take it in the ANSI code page); a path
// may have backslashes or the \\?\ prefix.
#include <windows.h>

#include "terminal/terminal.h"
#include "terminal/utf16_windows.h"

bool readFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  const HANDLE file =
      CreateFileW(toWide(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = systemMessage(GetLastError());
    return false;
  }
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool failed = false;
  while (!(failed = !ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
    bytes.append(buffer, got);
  if (failed) error = systemMessage(GetLastError());
  CloseHandle(file);
  return !failed;
}
