// Reading a whole file through the C library, on POSIX systems and in the
// browser; Windows has file_windows.cpp.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "terminal/terminal.h"

bool readFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = std::strerror(errno != 0 ? errno : ENOENT);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int reason = errno;
  std::fclose(file);
  if (failed) error = std::strerror(reason != 0 ? reason : EIO);
  return !failed;
}
