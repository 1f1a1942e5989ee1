#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <algorithm>

#include "terminal/command_line.h"
#include "terminal/utf16_windows.h"

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {  // out of memory: the C library's reading, in the ANSI code page
    if (argc < 1) return {};
    return {argv + 1, argv + argc};
  }
  std::vector<std::string> args;
  for (int k = 1; k < count; ++k) args.push_back(toUtf8(wide[k]));
  LocalFree(wide);
  return args;
}

bool takesSlashHelp() { return true; }

std::string expandWildcards(const std::string& argument,
                            std::vector<std::string>& names) {
  const std::string noMatch = "keine Datei passt zu diesem Muster";
  const std::size_t part = argument.find_last_of("\\/:") + 1;  // npos + 1 is 0
  if (argument.find_first_of("*?", part) == std::string::npos) {
    names.push_back(argument);
    return "";
  }
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(toWide(argument).c_str(), FindExInfoBasic,
                                         &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    return why == ERROR_FILE_NOT_FOUND ? noMatch : systemMessage(why);
  }
  std::vector<std::wstring> matches;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      matches.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  // A search that broke off would check a part of the files as if it were
  // all of them.
  const DWORD ended = GetLastError();
  FindClose(search);
  if (ended != ERROR_NO_MORE_FILES) return systemMessage(ended);
  // Ignoring case as the file system does; names that differ only in case
  // (a case-sensitive folder) in a fixed order all the same.
  std::sort(matches.begin(), matches.end(),
            [](const std::wstring& a, const std::wstring& b) {
              const int order = CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE);
              return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
            });
  for (const std::wstring& name : matches)
    names.push_back(argument.substr(0, part) + toUtf8(name));
  return matches.empty() ? noMatch : "";
}
