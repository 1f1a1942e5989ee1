#include "app/terminal.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// Shared with the signal handlers, which may run at any moment; they only
// read these once the constructor has set them.
termios gFound;                    // attributes found at start
termios gKeyMode;                  // attributes for one key read
volatile sig_atomic_t gInKeyRead;  // a key read runs in gKeyMode now

// Signals whose default action ends the program. SIGPIPE belongs here
// because output is written while a key read has the terminal in key mode.
constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void setHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: reads see EINTR and retry
  sigaction(signal, &action, nullptr);
}

// Gives the terminal back and lets the signal's default action end the
// process, so the shell learns what happened. The signal is blocked while
// the handler runs; it is delivered again as soon as the handler returns.
void onFatalSignal(int signal) {
  const int savedErrno = errno;
  tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
  setHandler(signal, SIG_DFL);
  raise(signal);
  errno = savedErrno;
}

// Ctrl-Z: line mode while stopped, key mode again after fg.
void onStop(int /*signal*/) {
  const int savedErrno = errno;
  if (gInKeyRead) tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
  setHandler(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);  // stops here until SIGCONT
  setHandler(SIGTSTP, onStop);
  if (gInKeyRead) tcsetattr(STDIN_FILENO, TCSANOW, &gKeyMode);
  errno = savedErrno;
}

// Continued after a stop the program did not see (SIGSTOP): key mode again.
void onContinue(int /*signal*/) {
  const int savedErrno = errno;
  if (gInKeyRead) tcsetattr(STDIN_FILENO, TCSANOW, &gKeyMode);
  errno = savedErrno;
}

}  // namespace

Terminal::Terminal() : isTerminal_(tcgetattr(STDIN_FILENO, &gFound) == 0) {
  if (!isTerminal_) return;
  gKeyMode = gFound;
  // Keep ISIG so Ctrl-C still interrupts, and output processing as it is.
  gKeyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  gKeyMode.c_cc[VMIN] = 1;
  gKeyMode.c_cc[VTIME] = 0;
  for (const int signal : kFatalSignals) setHandler(signal, onFatalSignal);
  setHandler(SIGTSTP, onStop);
  setHandler(SIGCONT, onContinue);
}

Terminal::~Terminal() {
  if (isTerminal_) tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
}

long Terminal::read(char* buffer, std::size_t size, int waitMs) {
  for (;;) {
    if (isTerminal_ && waitMs >= 0) {
      pollfd input{STDIN_FILENO, POLLIN, 0};
      const int ready = poll(&input, 1, waitMs);
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) return kTimedOut;
    }
    const ssize_t count = ::read(STDIN_FILENO, buffer, size);
    if (count >= 0) return count;
    if (errno != EINTR) return 0;  // a read error ends the input like EOF
  }
}

void Terminal::write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = ::write(STDOUT_FILENO, text.data(), text.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;  // nowhere to write to: the output is lost
    text.remove_prefix(static_cast<std::size_t>(count));
  }
}

void Terminal::beginKeyRead() {
  if (!isTerminal_) return;
  gInKeyRead = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &gKeyMode);
}

void Terminal::endKeyRead() {
  if (!isTerminal_) return;
  tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
  gInKeyRead = 0;
}
