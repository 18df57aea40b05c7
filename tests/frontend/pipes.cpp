// Child processes on pipes for the end-to-end tests: every read waits with a time limit, so a hung
// engine fails its test instead of hanging it.
#include "pipes.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long nowms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

// Starts argv[0] with the given arguments on two fresh pipes. Returns 1 on success.
int startchild(childproc *child, const std::vector<std::string> &argv) {
  signal(SIGPIPE, SIG_IGN);
  int tochild[2];
  int fromchild[2];
  if (pipe(tochild) != 0 || pipe(fromchild) != 0) return 0;
  pid_t pid = fork();
  if (pid < 0) return 0;
  if (pid == 0) {
    dup2(tochild[0], 0);
    dup2(fromchild[1], 1);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2);
    close(tochild[0]);
    close(tochild[1]);
    close(fromchild[0]);
    close(fromchild[1]);
    std::vector<char *> args;
    for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(tochild[0]);
  close(fromchild[1]);
  child->pid = pid;
  child->in = tochild[1];
  child->out = fromchild[0];
  child->text.clear();
  child->exited = 0;
  return 1;
}

// Writes text to the child's standard input in one write.
void sendtext(childproc *child, const std::string &text) {
  if (child->in < 0) return;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(child->in, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += (size_t)n;
  }
}

// Closes the child's standard input: the end of input.
void closeinput(childproc *child) {
  if (child->in >= 0) close(child->in);
  child->in = -1;
}

// Waits up to timeoutms for output and appends what arrives. Returns the bytes read, 0 on time-out,
// -1 when the child closed its output.
int readsome(childproc *child, int timeoutms) {
  if (child->out < 0) return -1;
  pollfd p;
  p.fd = child->out;
  p.events = POLLIN;
  p.revents = 0;
  int ready = poll(&p, 1, timeoutms);
  if (ready <= 0) return 0;
  char buffer[4096];
  ssize_t n = read(child->out, buffer, sizeof buffer);
  if (n <= 0) {
    close(child->out);
    child->out = -1;
    return -1;
  }
  child->text.append(buffer, (size_t)n);
  return (int)n;
}

// Waits until wanted appears in the output at or after from. Returns 1 and its position in found.
int waitfortext(childproc *child, const std::string &wanted, size_t from, int timeoutms, size_t *found) {
  long long end = nowms() + timeoutms;
  for (;;) {
    size_t at = child->text.find(wanted, from);
    if (at != std::string::npos) {
      if (found) *found = at;
      return 1;
    }
    long long left = end - nowms();
    if (left <= 0) return 0;
    if (readsome(child, (int)std::min<long long>(left, 200)) < 0) {
      at = child->text.find(wanted, from);
      if (at != std::string::npos && found) *found = at;
      return at != std::string::npos;
    }
  }
}

// Waits up to timeoutms for the child to exit, reading its output meanwhile. Returns 1 when it did.
int waitforexit(childproc *child, int timeoutms) {
  long long end = nowms() + timeoutms;
  while (!child->exited) {
    pid_t done = waitpid(child->pid, &child->status, WNOHANG);
    if (done == child->pid) {
      child->exited = 1;
      break;
    }
    if (nowms() >= end) return 0;
    if (child->out >= 0) {
      readsome(child, 50);
    } else {
      usleep(20000);
    }
  }
  while (child->out >= 0 && readsome(child, 0) > 0) {
  }
  return 1;
}

// Ends the child if it still runs and closes the pipes.
void stopchild(childproc *child) {
  closeinput(child);
  if (child->pid > 0 && !child->exited) {
    if (!waitforexit(child, 2000)) {
      kill(child->pid, SIGKILL);
      waitpid(child->pid, &child->status, 0);
      child->exited = 1;
    }
  }
  if (child->out >= 0) close(child->out);
  child->out = -1;
}

// The engine built beside the tests.
std::string korvelpath() { return std::string(KORVEL_BINARY_DIR) + "/korvel"; }

// Starts the engine and sends the opening of the protocol as xboard does.
int startkorvel(childproc *child) {
  if (!startchild(child, {korvelpath()})) return 0;
  sendtext(child, "xboard\nprotover 2\n");
  return 1;
}

// The next move line ("move X") at or after cursor; the cursor moves past it. Empty on time-out.
std::string nextmove(childproc *child, size_t *cursor, int timeoutms) {
  size_t at = 0;
  if (!waitfortext(child, "\nmove ", *cursor, timeoutms, &at)) return "";
  size_t end = 0;
  if (!waitfortext(child, "\n", at + 6, timeoutms, &end)) return "";
  *cursor = end;
  return child->text.substr(at + 6, end - at - 6);
}

// Starts fairy-stockfish as referee for a variant. Returns 0 when it is not installed.
int startreferee(childproc *child, const std::string &variant) {
  if (access("/usr/games/fairy-stockfish", X_OK) != 0) return 0;
  if (!startchild(child, {"/usr/games/fairy-stockfish"})) return 0;
  sendtext(child, "uci\nsetoption name UCI_Variant value " + variant + "\nisready\n");
  size_t at = 0;
  return waitfortext(child, "readyok", 0, 10000, &at);
}

// The legal moves of the position fen (empty: the starting position) after moves.
std::vector<std::string> legalmoves(childproc *referee, const std::string &fen, const std::vector<std::string> &moves) {
  std::string command = fen.empty() ? "position startpos" : "position fen " + fen;
  if (!moves.empty()) {
    command += " moves";
    for (const std::string &m : moves) command += " " + m;
  }
  size_t from = referee->text.size();
  sendtext(referee, command + "\ngo perft 1\n");
  size_t end = 0;
  std::vector<std::string> result;
  if (!waitfortext(referee, "Nodes searched", from, 10000, &end)) return result;
  std::string part = referee->text.substr(from, end - from);
  size_t pos = 0;
  while (pos < part.size()) {
    size_t eol = part.find('\n', pos);
    if (eol == std::string::npos) eol = part.size();
    std::string line = part.substr(pos, eol - pos);
    size_t colon = line.find(": ");
    int move = colon == 4 || colon == 5;
    // A move is a board move such as e7e8q or a drop such as P@e4; other lines of the referee are not.
    if (move && line[1] == '@') {
      move = line[0] >= 'A' && line[0] <= 'Z' && line[2] >= 'a' && line[2] <= 'h';
    } else if (move) {
      move = line[0] >= 'a' && line[0] <= 'h' && line[1] >= '1' && line[1] <= '8' && line[2] >= 'a' && line[2] <= 'h';
    }
    if (move) result.push_back(line.substr(0, colon));
    pos = eol + 1;
  }
  return result;
}

// 1 when move is legal in the position.
int islegal(childproc *referee, const std::string &fen, const std::vector<std::string> &moves, const std::string &move) {
  std::vector<std::string> legal = legalmoves(referee, fen, moves);
  return std::find(legal.begin(), legal.end(), move) != legal.end();
}
