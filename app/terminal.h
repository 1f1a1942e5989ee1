#pragma once

#include "app/device.h"

// The process's standard input and output. When standard input is a
// terminal, each key read runs in non-canonical, no-echo mode and the
// terminal is back in its own mode right after; number reads see it as it
// was found, so typing is echoed and can be corrected. The attributes found
// at start are given back on every way out: the destructor, and the fatal
// signals (INT, TERM, HUP, QUIT, PIPE), whose default action then runs. Ctrl-Z in
// a key read returns the terminal to line mode while the program is stopped.
// When standard input is not a terminal nothing is switched and reads just
// wait for bytes. Only one Terminal may exist at a time.
class Terminal : public Device {
 public:
  Terminal();
  ~Terminal() override;
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  long read(char* buffer, std::size_t size, int waitMs) override;
  void write(std::string_view text) override;
  void beginKeyRead() override;
  void endKeyRead() override;

 private:
  bool isTerminal_;  // standard input is a terminal
};
