#include <emscripten.h>

#include <cstdlib>

#include "terminal/line_discipline.h"
#include "terminal/terminal.h"

namespace {

// The page's side (web/terminal.js): the bytes typed into the terminal on the
// page, and what the program shows there. A read waits without blocking the
// browser: the program is suspended until the page has bytes for it, or
// until `waitMs` milliseconds passed (-1 then; negative `waitMs`: no limit).
// JavaScript inside, which clang-format would take for C++.
// clang-format off
EM_ASYNC_JS(int, pageRead, (char* buffer, int size, int waitMs), {
  const bytes = await Module.tavroTyped(size, waitMs);
  if (bytes === null) return -1;
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

EM_JS(void, pageWrite, (const char* text, int size), {
  Module.tavroShow(HEAPU8.slice(text, text + size));
});
// clang-format on

// The page's keyboard and screen as raw bytes; the line discipline below
// gives them a terminal's line mode.
class PageKeyboard : public Device {
 public:
  long read(char* buffer, std::size_t size, int waitMs) override {
    return pageRead(buffer, static_cast<int>(size), waitMs);
  }
  bool ready() override { return false; }
  void write(std::string_view text) override {
    pageWrite(text.data(), static_cast<int>(text.size()));
  }
};

PageKeyboard gKeyboard;
LineDiscipline gTyped(gKeyboard);

// What a shell reports for a program ended by Ctrl-C: 128 + SIGINT.
constexpr int kInterruptedStatus = 130;

}  // namespace

// The page is always a terminal, and there is no mode to give back.
Terminal::Terminal() : isTerminal_(true) {}

Terminal::~Terminal() = default;

long Terminal::read(char* buffer, std::size_t size, int waitMs) {
  const long count = gTyped.read(buffer, size, waitMs);
  if (gTyped.interrupted()) std::exit(kInterruptedStatus);  // as SIGINT ends it
  return count;
}

bool Terminal::ready() { return gTyped.ready(); }

void Terminal::write(std::string_view text) { gTyped.write(text); }

void Terminal::beginKeyRead() { gTyped.beginKeyRead(); }

void Terminal::endKeyRead() { gTyped.endKeyRead(); }

void writeStandardOutput(std::string_view text, bool /*utf8*/) { gKeyboard.write(text); }

void writeStandardError(std::string_view text) { gKeyboard.write(text); }
