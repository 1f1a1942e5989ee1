#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "terminal/terminal.h"

namespace {

// Shared with the signal handlers, which may run at any moment; they only
// read these once the constructor has set them.
termios gFound;                     // attributes found at start
termios gKeyMode;                   // attributes for one key read
volatile sig_atomic_t gInKeyRead;   // a key read runs in gKeyMode now
volatile sig_atomic_t gIsTerminal;  // standard input is a terminal

// The signals whose default action does not end the process (it ignores,
// stops or continues it) and those that cannot be caught. Every other signal
// the platform has ends the program, so it must give the terminal back first.
constexpr int kNotEnding[] = {SIGCHLD, SIGCONT, SIGURG,  SIGWINCH, SIGTSTP,
                              SIGTTIN, SIGTTOU, SIGKILL, SIGSTOP};

bool endsTheProcess(int signal) {
  for (const int other : kNotEnding) {
    if (signal == other) return false;
  }
  return true;
}

// Installs `handler` unless the signal was ignored when the program
// started: a caller that ignores it (nohup, trap '') keeps it ignored.
void setHandler(int signal, void (*handler)(int)) {
  struct sigaction old {};
  if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: reads see EINTR and retry
  sigaction(signal, &action, nullptr);
}

void restoreTerminal() {
  if (gIsTerminal) tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
}

// Gives the terminal back and lets the signal's default action end the
// process, so the shell learns what happened. The signal is blocked while
// the handler runs; it is delivered again as soon as the handler returns
// (and a fault such as SIGSEGV recurs at once).
void onFatalSignal(int signal) {
  const int savedErrno = errno;
  restoreTerminal();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);
  errno = savedErrno;
}

// Ctrl-Z: line mode while stopped, key mode again after fg if a key read
// still runs.
void onStop(int /*signal*/) {
  const int savedErrno = errno;
  restoreTerminal();
  signal(SIGTSTP, SIG_DFL);
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

// Waits until `fd` is ready for `events` or `waitMs` passed (negative:
// no limit); false when the time passed first.
bool waitFor(int fd, short events, int waitMs) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int ready = poll(&p, 1, waitMs);
    if (ready >= 0) return ready > 0;
    if (errno != EINTR && errno != EAGAIN) return true;  // the read or write tells
  }
}

// Ends the program after a failed read or write: the terminal back as it
// was found, one line on standard error, exit status 1.
[[noreturn]] void failIo(const char* what) {
  const char* reason = std::strerror(errno);
  restoreTerminal();
  for (const char* part : {"tavro: ", what, ": ", reason, "\n"}) {
    if (::write(STDERR_FILENO, part, std::strlen(part)) < 0) break;
  }
  std::_Exit(1);
}

// Writes all of `text` to `fd`, waiting while a non-blocking one is full;
// false when a write fails (errno tells why).
bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = ::write(fd, text.data(), text.size());
    if (count > 0) {
      text.remove_prefix(static_cast<std::size_t>(count));
    } else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      waitFor(fd, POLLOUT, -1);  // a full non-blocking pipe
    } else if (count == 0 || errno != EINTR) {
      if (count == 0) errno = EIO;
      return false;
    }
  }
  return true;
}

}  // namespace

void writeStandardOutput(std::string_view text, bool /*utf8*/) {
  if (!writeAll(STDOUT_FILENO, text)) failIo("Ausgabe fehlgeschlagen");
}

void writeStandardError(std::string_view text) { writeAll(STDERR_FILENO, text); }

Terminal::Terminal() : isTerminal_(tcgetattr(STDIN_FILENO, &gFound) == 0) {
  if (!isTerminal_) return;
  gKeyMode = gFound;
  // Keep ISIG so Ctrl-C still interrupts, and output processing as it is.
  gKeyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  gKeyMode.c_cc[VMIN] = 1;
  gKeyMode.c_cc[VTIME] = 0;
  gIsTerminal = 1;
  for (int signal = 1; signal < NSIG; ++signal) {
    if (endsTheProcess(signal)) setHandler(signal, onFatalSignal);
  }
  setHandler(SIGTSTP, onStop);
  setHandler(SIGCONT, onContinue);
}

Terminal::~Terminal() { restoreTerminal(); }

long Terminal::read(char* buffer, std::size_t size, int waitMs) {
  // A non-terminal may always wait: there the bytes alone decide.
  if (isTerminal_ && waitMs >= 0 && !waitFor(STDIN_FILENO, POLLIN, waitMs)) {
    return kTimedOut;
  }
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, buffer, size);
    if (count >= 0) return count;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      waitFor(STDIN_FILENO, POLLIN, -1);  // a non-blocking input: wait for it
    } else if (isTerminal_ && errno == EIO) {
      return 0;  // the terminal hung up: the end of input
    } else if (errno != EINTR) {
      failIo("Eingabe fehlgeschlagen");
    }
  }
}

bool Terminal::ready() { return waitFor(STDIN_FILENO, POLLIN, 0); }

void Terminal::write(std::string_view text) { writeStandardOutput(text); }

void Terminal::beginKeyRead() {
  if (!isTerminal_) return;
  gInKeyRead = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &gKeyMode);
}

void Terminal::endKeyRead() {
  if (!isTerminal_) return;
  // The flag goes first: a SIGCONT from here on leaves the line mode alone,
  // and one that came before is undone by the line below.
  gInKeyRead = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &gFound);
}
