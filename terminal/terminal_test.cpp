// Drives the real program through a pseudo-terminal, as a person at a
// terminal would: keys are typed, the screen is read, the terminal's
// attributes are compared with those it had before the program started.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/batch_test.h"

namespace {

using namespace std::chrono_literals;

// Bytes a terminal sends for the named keys; other characters stand for
// themselves.
std::string keys(std::string_view names) {
  static const struct {
    const char* name;
    const char* bytes;
  } kNames[] = {
      {"<up>", "\033[A"},    {"<down>", "\033[B"},  {"<f1>", "\033OP"},
      {"<f5>", "\033[15~"},  {"<f12>", "\033[24~"}, {"<home>", "\033[H"},
      {"<pgdn>", "\033[6~"}, {"<esc>", "\033"},     {"<a-q>", "\033q"},
      {"<enter>", "\r"},     {"<bs>", "\x7f"},      {"<c-c>", "\x03"},
      {"<c-d>", "\x04"},     {"<c-z>", "\x1a"},     {"<c-\\>", "\x1c"},
  };
  std::string bytes;
  while (!names.empty()) {
    bool named = false;
    for (const auto& k : kNames) {
      if (names.starts_with(k.name)) {
        bytes += k.bytes;
        names.remove_prefix(std::strlen(k.name));
        named = true;
        break;
      }
    }
    if (!named) {
      bytes += names.front();
      names.remove_prefix(1);
    }
  }
  return bytes;
}

// What a terminal shows for program output: LF becomes CR LF.
std::string onScreen(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\n') shown += '\r';
    shown += c;
  }
  return shown;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size())) {
    ++n;
  }
  return n;
}

bool sameAttributes(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 &&
         cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

const std::string kMenuEnd = onScreen("F8 q Exit\n");
const std::string kPager = "weiter mit bel.Taste..";

// The program on a pseudo-terminal, started the way a shell starts a job: a
// small parent holds the session and the program runs in a foreground
// process group of its own, so that Ctrl-Z really stops it. The parent
// passes the program's end on: its exit status or its signal.
class PtyProgram {
 public:
  // `outputFile`: where the program's standard output goes instead of the
  // terminal, if not empty; "-" is a pipe that nobody reads. `ignored`: a
  // signal the program's caller ignores, or 0.
  explicit PtyProgram(const std::string& outputFile = "", int ignored = 0) {
    int go[2];
    EXPECT_EQ(0, pipe(go));
    winsize size{};
    size.ws_row = 40;
    size.ws_col = 100;
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) runJob(go, outputFile, ignored);
    close(go[0]);
    EXPECT_EQ(0, tcgetattr(master_, &found_));
    EXPECT_EQ(1, write(go[1], "g", 1));  // the job may start now
    close(go[1]);
  }

  ~PtyProgram() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      const pid_t job = tcgetpgrp(master_);
      if (job > 0) kill(-job, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(master_);
  }

  void type(std::string_view names) {
    const std::string bytes = keys(names);
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()),
              write(master_, bytes.data(), bytes.size()));
  }

  // Reads the screen until `text` has appeared `times` times in all.
  bool waitFor(const std::string& text, std::size_t times = 1,
               std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (count(screen_, text) < times) {
      if (std::chrono::steady_clock::now() > end) return false;
      readSome(50);
    }
    return true;
  }

  // Reads whatever arrives during `time`.
  void settle(std::chrono::milliseconds time = 150ms) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) readSome(20);
  }

  // Waits for the end of the program: its exit status, or 128 + signal.
  int wait() {
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < end) {
      readSome(10);
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
      }
    }
    return -1;  // still running after 5 s
  }

  bool running() { return waitpid(pid_, nullptr, WNOHANG) == 0; }

  // Closes our side of the terminal, as a closed window does.
  void hangUp() {
    close(master_);
    master_ = -1;
  }

  // Signals the program (the job in the foreground).
  void signal(int sig) { kill(-job(), sig); }
  pid_t job() const { return tcgetpgrp(master_); }

  // The job's state letter from /proc: 'T' when stopped.
  char state() {
    std::ifstream stat("/proc/" + std::to_string(tcgetpgrp(master_)) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t paren = line.rfind(')');
    return paren == std::string::npos || paren + 2 >= line.size() ? '?' : line[paren + 2];
  }

  termios attributes() const {
    termios now{};
    tcgetattr(master_, &now);
    return now;
  }
  // The terminal as the program found it.
  const termios& found() const { return found_; }
  bool inLineMode() const { return sameAttributes(found_, attributes()); }
  const std::string& screen() const { return screen_; }

 private:
  [[noreturn]] static void runJob(int go[2], const std::string& outputFile, int ignored) {
    close(go[1]);
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const pid_t job = fork();
    if (job == 0) {
      char byte;
      while (read(go[0], &byte, 1) < 0 && errno == EINTR) {
      }
      setpgid(0, 0);
      ::signal(SIGTTOU, SIG_IGN);
      tcsetpgrp(STDIN_FILENO, getpid());
      ::signal(SIGTTOU, SIG_DFL);
      if (outputFile == "-") {
        int closed[2];
        if (pipe(closed) == 0) {
          close(closed[0]);
          dup2(closed[1], STDOUT_FILENO);
        }
      } else if (!outputFile.empty()) {
        const int fd = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, STDOUT_FILENO);
        close(fd);
      }
      if (ignored != 0) ::signal(ignored, SIG_IGN);
      execl(TAVRO_PROGRAM, "tavro", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(go[0]);
    for (const int sig : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGTSTP})
      ::signal(sig, SIG_IGN);
    int status = 0;
    while (waitpid(job, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
      ::signal(WTERMSIG(status), SIG_DFL);
      kill(getpid(), WTERMSIG(status));
    }
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 126);
  }

  void readSome(int waitMs) {
    pollfd fd{master_, POLLIN, 0};
    if (poll(&fd, 1, waitMs) <= 0) return;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) {
      screen_.append(buffer, static_cast<std::size_t>(n));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));  // hung up
    }
  }

  pid_t pid_ = -1;      // the holding parent
  int master_ = -1;     // our side of the pseudo-terminal
  termios found_{};     // attributes before the program started
  std::string screen_;  // everything the terminal showed
  bool ended_ = false;  // the holding parent has been reaped
};

TEST(Terminal, KeysAreNotEchoedAndNeedNoEnter) {
  PtyProgram p;
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.type("g");
  ASSERT_TRUE(p.waitFor(kPager));
  EXPECT_NE(std::string::npos, p.screen().find(kMenuEnd + "Ergebnisse 1.Teil\r\n"))
      << p.screen();
  p.type(" ");
  ASSERT_TRUE(p.waitFor(kPager + "\r\nErgebnisse 2.Teil\r\n"));
  p.type("xq");
  EXPECT_EQ(0, p.wait());
  EXPECT_TRUE(p.inLineMode());
}

TEST(Terminal, SpecialKeysAtTheMenuAreOneKey) {
  for (const char* key : {"<up>", "<f5>", "<f1>", "<f12>", "<home>", "<pgdn>", "<a-q>",
                          "<esc>", "<enter>", "\xc3\xa4", "\xc3\x9f", "\xe2\x82\xac"}) {
    PtyProgram p;
    ASSERT_TRUE(p.waitFor(kMenuEnd)) << key;
    p.type(key);
    ASSERT_TRUE(p.waitFor(kMenuEnd, 2)) << key;
    p.settle();  // a key split in two would show a third menu by now
    EXPECT_EQ(2u, count(p.screen(), kMenuEnd)) << key;
    EXPECT_TRUE(p.running()) << key;
    p.type("q");
    EXPECT_EQ(0, p.wait()) << key;
    EXPECT_EQ(std::string::npos, p.screen().find("[A")) << key;  // no echo
  }
}

TEST(Terminal, SpecialKeysAtAPagerTurnOnePage) {
  for (const char* key : {"<down>", "<f5>", "<esc>", "\xc3\xb6"}) {
    PtyProgram p;
    ASSERT_TRUE(p.waitFor(kMenuEnd)) << key;
    p.type("g");
    ASSERT_TRUE(p.waitFor(kPager)) << key;
    p.type(key);
    ASSERT_TRUE(p.waitFor("Ergebnisse 2.Teil")) << key;
    p.settle();
    EXPECT_EQ(0u, count(p.screen(), "Ergebnisse 3.Teil")) << key;
    p.type("xq");
    EXPECT_EQ(0, p.wait()) << key;
  }
}

TEST(Terminal, NumbersAreTypedInLineMode) {
  PtyProgram p;
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.type("a");
  ASSERT_TRUE(p.waitFor("Nennmoment TLN[Nm]= "));
  EXPECT_TRUE(p.inLineMode());
  p.type("100 12x<bs>00<enter>");  // corrected with Backspace
  ASSERT_TRUE(p.waitFor("\r\nOrdnungszahl= "));
  EXPECT_NE(std::string::npos,
            p.screen().find("Nennmoment TLN[Nm]= 100 12x\b \b00\r\n\r\nDrehzahl n "
                            "[1/min]= \r\nOrdnungszahl= "));
  p.type("3<enter>");
  ASSERT_TRUE(p.waitFor(kMenuEnd, 2));
  p.settle();
  EXPECT_EQ(2u, count(p.screen(), kMenuEnd));  // the Enter was no key
  p.type("w");
  ASSERT_TRUE(p.waitFor(kPager));
  EXPECT_NE(std::string::npos,
            p.screen().find("Nennm. TLN= 100 [Nm]\r\nDrehzahl n= 1200 "));
  EXPECT_NE(std::string::npos, p.screen().find("Ordnung  i= 3\r\n"));
  p.type("xq");
  EXPECT_EQ(0, p.wait());
}

TEST(Terminal, GivenBackOnEveryWayOut) {
  const struct {
    const char* name;
    const char* before;  // typed first; then the screen shows `wait`
    const char* wait;
    const char* end;  // typed to end the program, or empty
    int signal;       // sent to end it, or 0
    int status;       // exit status, 128 + signal when killed
  } cases[] = {
      {"q", "", "F8 q Exit", "q", 0, 0},
      {"Ctrl-D at a prompt", "a", "TLN[Nm]= ", "<c-d>", 0, 0},
      {"Ctrl-C at the menu", "", "F8 q Exit", "<c-c>", 0, 128 + SIGINT},
      {"Ctrl-C at a pager", "g", "weiter", "<c-c>", 0, 128 + SIGINT},
      {"Ctrl-C at a prompt", "d", "TKN   [Nm]= ", "<c-c>", 0, 128 + SIGINT},
      {"Ctrl-\\ at the menu", "", "F8 q Exit", "<c-\\>", 0, 128 + SIGQUIT},
      {"SIGTERM at the menu", "", "F8 q Exit", "", SIGTERM, 128 + SIGTERM},
      {"SIGTERM at a pager", "w", "weiter", "", SIGTERM, 128 + SIGTERM},
      {"SIGHUP at the menu", "", "F8 q Exit", "", SIGHUP, 128 + SIGHUP},
      {"SIGQUIT at a pager", "g", "weiter", "", SIGQUIT, 128 + SIGQUIT},
  };
  for (const auto& c : cases) {
    PtyProgram p;
    ASSERT_TRUE(p.waitFor(kMenuEnd)) << c.name;
    p.type(c.before);
    ASSERT_TRUE(p.waitFor(c.wait)) << c.name;
    p.settle(100ms);  // let the program reach its read
    if (c.signal != 0) {
      p.signal(c.signal);
    } else {
      p.type(c.end);
    }
    EXPECT_EQ(c.status, p.wait()) << c.name;
    EXPECT_TRUE(sameAttributes(p.found(), p.attributes())) << c.name;
  }
}

TEST(Terminal, GivenBackWhenTheOutputPipeIsClosed) {
  PtyProgram p("-");
  EXPECT_EQ(128 + SIGPIPE, p.wait());
  EXPECT_TRUE(p.inLineMode());
}

TEST(Terminal, StopAndContinueAtTheMenu) {
  PtyProgram p;
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.settle(100ms);
  EXPECT_FALSE(p.inLineMode());  // waiting for a key
  p.type("<c-z>");
  for (int k = 0; k < 100 && p.state() != 'T'; ++k) p.settle(20ms);
  ASSERT_EQ('T', p.state());
  EXPECT_TRUE(p.inLineMode());  // the shell gets its terminal back
  p.signal(SIGCONT);
  for (int k = 0; k < 100 && p.inLineMode(); ++k) p.settle(20ms);
  EXPECT_FALSE(p.inLineMode());  // single keys again
  p.type("g");
  ASSERT_TRUE(p.waitFor(kPager));
  EXPECT_NE(std::string::npos, p.screen().find(kMenuEnd + "Ergebnisse 1.Teil\r\n"));
  EXPECT_EQ(1u, count(p.screen(), kMenuEnd));  // nothing printed again
  p.type("xq");
  EXPECT_EQ(0, p.wait());
  EXPECT_TRUE(p.inLineMode());
}

TEST(Terminal, HarmlessSignalsDoNotEndAnyRead) {
  PtyProgram p;
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.settle(100ms);
  p.signal(SIGWINCH);  // the window was resized
  p.signal(SIGCONT);
  p.settle();
  EXPECT_TRUE(p.running());
  EXPECT_FALSE(p.inLineMode());
  p.type("a");
  ASSERT_TRUE(p.waitFor("TLN[Nm]= "));
  p.settle(100ms);
  p.signal(SIGCONT);
  p.signal(SIGWINCH);
  p.settle();
  EXPECT_TRUE(p.running());
  p.type("1 2 3<enter>");
  ASSERT_TRUE(p.waitFor(kMenuEnd, 2));
  EXPECT_EQ(1u, count(p.screen(), "Ordnungszahl= "));
  p.type("q");
  EXPECT_EQ(0, p.wait());
  EXPECT_TRUE(p.inLineMode());
}

TEST(Terminal, EverySignalThatEndsTheProgramGivesTheTerminalBack) {
  const int signals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP,     SIGABRT,
                         SIGBUS,  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2,     SIGPIPE,
                         SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ,     SIGVTALRM,
                         SIGPROF, SIGIO,   SIGPWR,    SIGSYS,  SIGRTMIN + 3};
  const struct {
    const char* name;
    const char* keys;   // typed to get there
    const char* shown;  // on the screen once it is there
  } places[] = {{"menu", "", "F8 q Exit"},
                {"pager", "g", "weiter"},
                {"prompt", "d", "TKN   [Nm]= "}};
  for (const auto& place : places) {
    for (const int sig : signals) {
      PtyProgram p;
      const std::string name = std::string(place.name) + " " + strsignal(sig);
      ASSERT_TRUE(p.waitFor(kMenuEnd)) << name;
      p.type(place.keys);
      ASSERT_TRUE(p.waitFor(place.shown)) << name;
      p.settle(30ms);  // let the program reach its read
      p.signal(sig);
      EXPECT_EQ(128 + sig, p.wait()) << name;
      EXPECT_TRUE(p.inLineMode()) << name;
    }
  }
}

TEST(Terminal, AnIgnoredInterruptStaysIgnored) {
  PtyProgram p("", SIGINT);
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.settle(50ms);
  p.type("<c-c>");
  p.settle();
  EXPECT_TRUE(p.running());
  p.type("q");
  EXPECT_EQ(0, p.wait());
  EXPECT_TRUE(p.inLineMode());
}

TEST(Terminal, AHangUpUnderNohupIsTheEndOfInput) {
  PtyProgram p("", SIGHUP);
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.settle(30ms);
  p.hangUp();
  EXPECT_EQ(0, p.wait());
}

TEST(Terminal, ContinueSignalsLeaveANumberPromptInLineMode) {
  // A storm of SIGCONT while the menu hands over to dialog a, twenty times.
  PtyProgram p;
  ASSERT_TRUE(p.waitFor(kMenuEnd));
  p.settle(30ms);
  const pid_t job = p.job();
  std::atomic<bool> done = false;
  std::thread storm([&] {
    while (!done) kill(-job, SIGCONT);
  });
  int lineMode = 0;
  for (int run = 1; run <= 20; ++run) {
    p.type("a");
    if (!p.waitFor("TLN[Nm]= ", run)) break;
    p.settle(20ms);
    lineMode += p.inLineMode();
    p.type("1 2 3<enter>");
    if (!p.waitFor(kMenuEnd, run + 1)) break;
  }
  done = true;
  storm.join();
  EXPECT_EQ(20, lineMode);
  p.type("q");
  EXPECT_EQ(0, p.wait());
}

// How the program's standard streams are broken in a stream test.
enum class In { kScript, kDirectory, kClosed, kLateNonBlocking };
enum class Out { kPipe, kFull, kClosed, kGoneReaderSigpipeIgnored, kSlowNonBlocking };

struct Outcome {
  int status = -1;  // exit status, or 128 + signal
  std::string out;  // standard output
  std::string err;  // standard error
};

void setFlag(int fd, int flag) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | flag); }

// Runs the real program on `input` with its streams set up as named; no
// terminal anywhere. `arg`: its one argument, if any.
Outcome runBroken(const std::string& input, In in, Out out, const char* arg = nullptr) {
  int inPipe[2], outPipe[2], errPipe[2];
  EXPECT_EQ(0, pipe(inPipe));
  EXPECT_EQ(0, pipe(outPipe));
  EXPECT_EQ(0, pipe(errPipe));
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(inPipe[0], STDIN_FILENO);
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    if (in == In::kDirectory) dup2(open("/", O_RDONLY), STDIN_FILENO);
    if (in == In::kClosed) close(STDIN_FILENO);
    if (in == In::kLateNonBlocking) setFlag(STDIN_FILENO, O_NONBLOCK);
    if (out == Out::kFull) dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO);
    if (out == Out::kClosed) close(STDOUT_FILENO);
    if (out == Out::kGoneReaderSigpipeIgnored) ::signal(SIGPIPE, SIG_IGN);
    if (out == Out::kSlowNonBlocking) setFlag(STDOUT_FILENO, O_NONBLOCK);
    for (int fd = 3; fd < 64; ++fd) close(fd);
    execl(TAVRO_PROGRAM, "tavro", arg, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (out == Out::kGoneReaderSigpipeIgnored) close(outPipe[0]);
  if (in == In::kLateNonBlocking) std::this_thread::sleep_for(500ms);
  // A child whose input is not the pipe, or one that ends at its command
  // line, never reads it: a write there could meet a pipe without reader,
  // and SIGPIPE would end this test binary. Such cases give no input.
  if (!input.empty() && (in == In::kScript || in == In::kLateNonBlocking)) {
    EXPECT_EQ(static_cast<ssize_t>(input.size()),
              write(inPipe[1], input.data(), input.size()));
  }
  close(inPipe[1]);
  if (out == Out::kSlowNonBlocking) std::this_thread::sleep_for(300ms);

  Outcome outcome;
  std::vector<pollfd> open{{errPipe[0], POLLIN, 0}};
  if (out != Out::kGoneReaderSigpipeIgnored) open.push_back({outPipe[0], POLLIN, 0});
  while (!open.empty() && poll(open.data(), open.size(), 5000) > 0) {
    for (std::size_t k = 0; k < open.size(); ++k) {
      if (open[k].revents == 0) continue;
      char buffer[4096];
      const ssize_t n =
          read(open[k].fd, buffer, out == Out::kSlowNonBlocking ? 512 : 4096);
      if (n <= 0) {
        close(open[k].fd);
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(k));
        break;
      }
      (open[k].fd == errPipe[0] ? outcome.err : outcome.out).append(buffer, n);
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  outcome.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  return outcome;
}

TEST(Terminal, OutputToAFileWhileTypingAtTheTerminal) {
  char path[] = "/tmp/tavro-out-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    PtyProgram p(path);
    p.settle(300ms);
    p.type("g");
    p.settle();
    p.type(" ");
    p.settle();
    p.type(" ");
    p.settle();
    p.type(" q");
    EXPECT_EQ(0, p.wait());
    EXPECT_EQ("", p.screen());  // nothing echoed
    EXPECT_TRUE(p.inLineMode());
  }
  std::ifstream file(path);
  std::stringstream written;
  written << file.rdbuf();
  unlink(path);

  EXPECT_EQ(runBroken("g   q", In::kScript, Out::kPipe).out, written.str());
}

TEST(Streams, BrokenStreamsAreReportedAndSlowOnesWaitedFor) {
  std::string displays = "g  ";
  for (int k = 0; k < 300; ++k) displays += "w   ";
  displays += "q";
  const struct {
    const char* name;
    std::string input;
    In in;
    Out out;
    int status;
    const char* err;
    const char* arg = nullptr;
  } cases[] = {
      {"output to a full disk", displays, In::kScript, Out::kFull, 1,
       "tavro: Ausgabe fehlgeschlagen: No space left on device\n"},
      {"output closed", displays, In::kScript, Out::kClosed, 1,
       "tavro: Ausgabe fehlgeschlagen: Bad file descriptor\n"},
      {"reader gone, SIGPIPE ignored", displays, In::kScript,
       Out::kGoneReaderSigpipeIgnored, 1, "tavro: Ausgabe fehlgeschlagen: Broken pipe\n"},
      {"input a directory", displays, In::kDirectory, Out::kPipe, 1,
       "tavro: Eingabe fehlgeschlagen: Is a directory\n"},
      {"input closed", displays, In::kClosed, Out::kPipe, 1,
       "tavro: Eingabe fehlgeschlagen: Bad file descriptor\n"},
      {"non-blocking output, slow reader", displays, In::kScript, Out::kSlowNonBlocking,
       0, ""},
      {"non-blocking input, late data", displays, In::kLateNonBlocking, Out::kPipe, 0,
       ""},
      {"--version answers, no session", "", In::kScript, Out::kPipe, 0, "", "--version"},
      {"a case file that is not there (ends before reading)", "", In::kScript, Out::kPipe,
       1, "tavro: /nonexistent/fall.txt: No such file or directory\n",
       "/nonexistent/fall.txt"},
  };
  const Outcome same = runBroken(displays, In::kScript, Out::kPipe);
  ASSERT_EQ(0, same.status);
  for (const auto& c : cases) {
    const Outcome outcome = runBroken(c.input, c.in, c.out, c.arg);
    EXPECT_EQ(c.status, outcome.status) << c.name;
    EXPECT_EQ(c.err, outcome.err) << c.name;
    if (c.status == 0) {
      const std::string expected = c.arg ? "tavro " TAVRO_VERSION "\n" : same.out;
      EXPECT_TRUE(expected == outcome.out) << c.name;
    }
  }
}

TEST(Streams, ACaseFileStartsTheSessionWithItsCase) {
  char path[] = "/tmp/tavro-case-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string text = "TLN = 100  # Nm\r\n";
  ASSERT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
  close(fd);
  const Outcome outcome = runBroken("w   q", In::kScript, Out::kPipe, path);
  unlink(path);
  EXPECT_EQ(0, outcome.status);
  EXPECT_NE(std::string::npos, outcome.out.find("Nennm. TLN= 100 [Nm]\n"));
  EXPECT_EQ(notSetLine(path, "TLN"), outcome.err);
}

}  // namespace
