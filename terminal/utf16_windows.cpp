#include "terminal/utf16_windows.h"

std::wstring toWide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(size), L'\0');  // never more units
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), size);
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

std::string toUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string out(static_cast<std::size_t>(size) * 3, '\0');  // 3 bytes a unit at most
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(),
                                         static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return out;
}

std::string systemMessage(DWORD error) {
  wchar_t reason[512];
  DWORD size = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                              nullptr, error, 0, reason, 512, nullptr);
  while (size > 0 && (reason[size - 1] == L'\n' || reason[size - 1] == L'\r' ||
                      reason[size - 1] == L' ')) {
    --size;
  }
  if (size == 0) return "Fehler " + std::to_string(error);
  return toUtf8({reason, size});
}
