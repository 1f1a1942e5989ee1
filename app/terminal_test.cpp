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

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/device.h"
#include "app/session.h"

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
  // terminal, if not empty; "-" is a pipe that nobody reads.
  explicit PtyProgram(const std::string& outputFile = "") {
    int go[2];
    EXPECT_EQ(0, pipe(go));
    winsize size{};
    size.ws_row = 40;
    size.ws_col = 100;
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) runJob(go, outputFile);
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

  // Signals the program (the job in the foreground).
  void signal(int sig) { kill(-tcgetpgrp(master_), sig); }

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
  [[noreturn]] static void runJob(int go[2], const std::string& outputFile) {
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

  ScriptDevice same("g   q");
  runSession(same);
  EXPECT_EQ(same.output(), written.str());
}

}  // namespace
