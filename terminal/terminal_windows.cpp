#include <windows.h>

#include <atomic>
#include <cstring>

#include "terminal/key_event.h"
#include "terminal/terminal.h"
#include "terminal/utf16_windows.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_INPUT
#define ENABLE_VIRTUAL_TERMINAL_INPUT 0x0200
#endif

namespace {

// Shared with the console event handler, which runs in a thread of its own;
// it only reads these once the constructor has set them.
HANDLE gInput;              // standard input
bool gIsConsole;            // standard input is a console
DWORD gFound;               // console input mode found at start
DWORD gKeyMode;             // mode for one key read: no line input, no echo
std::atomic<bool> gEnding;  // a console event ends the program now
bool gInKeyRead;            // between beginKeyRead and endKeyRead
wchar_t gHighSurrogate;     // first half of a character beyond U+FFFF
// The console's output code page while UTF-8 replaces it; 0 when it does not.
std::atomic<UINT> gOutputCodePage;

void restoreConsole() {
  if (gIsConsole) SetConsoleMode(gInput, gFound);
  if (const UINT found = gOutputCodePage.exchange(0); found != 0)
    SetConsoleOutputCP(found);
}

// Ctrl-C, Ctrl-Break, a closed window, logoff and shutdown all end the
// program: the console mode goes back first. Ctrl-C and Ctrl-Break then end
// it with the status Windows gives by default (Wine's default handler would
// report success); the other events go on to the system's own handler.
BOOL WINAPI onConsoleEvent(DWORD event) {
  gEnding = true;
  restoreConsole();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
    ExitProcess(STATUS_CONTROL_C_EXIT);
  return FALSE;
}

// The handler above, once: the session's terminal and the answers to the
// command line (--check, --template) both change the console.
void handleConsoleEvents() {
  static std::atomic<bool> installed;
  if (!installed.exchange(true)) SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

// Writes all of `text` to `handle`; false when a write fails (GetLastError
// tells why).
bool writeAll(HANDLE handle, std::string_view text) {
  while (!text.empty()) {
    DWORD written = 0;
    const DWORD want =
        text.size() < (1u << 30) ? static_cast<DWORD>(text.size()) : (1u << 30);
    if (!WriteFile(handle, text.data(), want, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    text.remove_prefix(written);
  }
  return true;
}

// Writes `text` to the standard handle `which`. A console shows bytes in its
// output code page: with `utf8` it is UTF-8 while they are written and goes
// back as found right after, or on a console event that ends the program.
bool writeStandard(DWORD which, std::string_view text, bool utf8) {
  const UINT found = utf8 ? GetConsoleOutputCP() : 0;
  const bool switched = found != 0 && found != CP_UTF8;
  if (switched) {
    handleConsoleEvents();
    gOutputCodePage = found;
    SetConsoleOutputCP(CP_UTF8);
  }
  const bool written = writeAll(GetStdHandle(which), text);
  const DWORD error = GetLastError();
  if (switched && gOutputCodePage.exchange(0) != 0) SetConsoleOutputCP(found);
  SetLastError(error);
  return written;
}

bool isAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Ends the program after a failed read or write: the console mode back as
// it was found, one line on standard error, exit status 1.
[[noreturn]] void failIo(const char* what) {
  const std::string message =
      std::string("tavro: ") + what + ": " + systemMessage(GetLastError()) + "\n";
  restoreConsole();
  writeStandard(STD_ERROR_HANDLE, message, !isAscii(message));
  ExitProcess(1);
}

// One key from the console: its bytes as a Linux terminal sends them, or
// Device::kTimedOut when `waitMs` passed first (negative: no limit).
long readKeyEvent(char* buffer, std::size_t size, int waitMs) {
  for (;;) {
    if (waitMs >= 0) {
      const DWORD state = WaitForSingleObject(gInput, static_cast<DWORD>(waitMs));
      if (state == WAIT_TIMEOUT) return Device::kTimedOut;
      if (state == WAIT_FAILED) failIo("Eingabe fehlgeschlagen");
    }
    INPUT_RECORD record;
    DWORD count = 0;
    if (!ReadConsoleInputW(gInput, &record, 1, &count)) failIo("Eingabe fehlgeschlagen");
    if (count == 0 || record.EventType != KEY_EVENT) continue;  // mouse, focus, size
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    char32_t character = key.uChar.UnicodeChar;
    if (character >= 0xD800 && character < 0xDC00) {
      if (key.bKeyDown) gHighSurrogate = key.uChar.UnicodeChar;
      continue;
    }
    if (character >= 0xDC00 && character < 0xE000 && gHighSurrogate != 0) {
      character =
          0x10000 + ((char32_t{gHighSurrogate} - 0xD800) << 10) + (character - 0xDC00);
      gHighSurrogate = 0;
    }
    const KeyEvent event{key.bKeyDown != 0, key.wVirtualKeyCode, character,
                         static_cast<unsigned>(key.dwControlKeyState)};
    char bytes[kKeyBytesMax];
    const std::size_t length = keyEventBytes(event, bytes);
    if (length == 0) continue;
    // A key held down may come as one event with a repeat count.
    std::size_t filled = 0;
    for (WORD k = 0; k < key.wRepeatCount && filled + length <= size; ++k) {
      std::memcpy(buffer + filled, bytes, length);
      filled += length;
    }
    return static_cast<long>(filled);
  }
}

// One typed line from the console in its line mode, as UTF-8 with LF line
// ends; 0 when the line begins with Ctrl-Z, the console's end of input.
long readConsoleLine(char* buffer, std::size_t size) {
  wchar_t wide[1024];
  // Each UTF-16 unit takes at most three bytes of UTF-8.
  const DWORD want = static_cast<DWORD>(size / 3 < 1024 ? size / 3 : 1024);
  for (;;) {
    DWORD count = 0;
    if (!ReadConsoleW(gInput, wide, want, &count, nullptr)) {
      if (GetLastError() != ERROR_OPERATION_ABORTED) failIo("Eingabe fehlgeschlagen");
      count = 0;
    }
    if (count == 0) {  // Ctrl-C broke the read off; its handler ends the program
      Sleep(10);
      continue;
    }
    if (wide[0] == 0x1A) return 0;
    DWORD kept = 0;  // CR LF becomes LF
    for (DWORD k = 0; k < count; ++k) {
      if (!(wide[k] == L'\r' && k + 1 < count && wide[k + 1] == L'\n'))
        wide[kept++] = wide[k];
    }
    return WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(kept), buffer,
                               static_cast<int>(size), nullptr, nullptr);
  }
}

}  // namespace

void writeStandardOutput(std::string_view text, bool utf8) {
  if (!writeStandard(STD_OUTPUT_HANDLE, text, utf8)) failIo("Ausgabe fehlgeschlagen");
}

void writeStandardError(std::string_view text) {
  writeStandard(STD_ERROR_HANDLE, text, !isAscii(text));
}

Terminal::Terminal() {
  gInput = GetStdHandle(STD_INPUT_HANDLE);
  isTerminal_ = GetConsoleMode(gInput, &gFound) != 0;
  if (!isTerminal_) return;
  gIsConsole = true;
  // Keep processed input, so Ctrl-C still reaches the handler; key events,
  // not escape sequences, so keys are told apart by their key codes.
  gKeyMode = (gFound & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                                           ENABLE_VIRTUAL_TERMINAL_INPUT)) |
             ENABLE_PROCESSED_INPUT;
  handleConsoleEvents();
}

Terminal::~Terminal() { restoreConsole(); }

long Terminal::read(char* buffer, std::size_t size, int waitMs) {
  if (isTerminal_) {
    return gInKeyRead ? readKeyEvent(buffer, size, waitMs)
                      : readConsoleLine(buffer, size);
  }
  // Pipes and files: raw bytes, no line-end or Ctrl-Z translation. A pipe
  // whose writer closed it reports a broken pipe (or, under Wine, no
  // bytes): the end of input.
  DWORD count = 0;
  const DWORD want = size < (1u << 30) ? static_cast<DWORD>(size) : (1u << 30);
  if (ReadFile(gInput, buffer, want, &count, nullptr)) return static_cast<long>(count);
  const DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
  failIo("Eingabe fehlgeschlagen");
}

bool Terminal::ready() {
  if (isTerminal_) return false;  // a person types: show everything first
  if (GetFileType(gInput) != FILE_TYPE_PIPE) return true;  // files answer at once
  DWORD available = 0;
  if (!PeekNamedPipe(gInput, nullptr, 0, nullptr, &available, nullptr)) return true;
  return available > 0;
}

void Terminal::write(std::string_view text) { writeStandardOutput(text); }

void Terminal::beginKeyRead() {
  if (!isTerminal_ || gEnding) return;
  gInKeyRead = true;
  SetConsoleMode(gInput, gKeyMode);
}

void Terminal::endKeyRead() {
  if (!isTerminal_) return;
  gInKeyRead = false;
  SetConsoleMode(gInput, gFound);
}
