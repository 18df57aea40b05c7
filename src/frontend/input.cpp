// Standard input: the blocking reads of the protocol reader and the poll during a search. Input is read
// into one pending buffer that both the protocol reader and the poll during a search draw from, so
// that nothing read is lost: the reader takes complete lines, the poll takes only the lines it
// acts on and leaves the rest, in order, for the reader. Carriage returns are dropped as they are
// read (a CR LF line means what an LF line means), and so is every line too long to be a command,
// so that however long a line is, the input is read on.
#include "frontend/frontend.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

static char pending[PENDINGSIZE];      // bytes read from standard input and not yet handed on
static int pendingcount = 0;           // bytes held in pending
static int pendingscanned = 0;         // leading bytes of pending the poll has examined already
static int inputended = 0;             // 1 once standard input reported its end or an error
static int droppingline = 0;           // 1 while the rest of a line too long to be a command is dropped

// What the poll does with a line.
constexpr int POLLLEFT = 0;            // left for the protocol reader
constexpr int POLLTAKEN = 1;           // acted on and consumed
constexpr int POLLENDS = 2;            // consumed; it ended the game or the program
constexpr int POLLCOMMAND = 3;         // left for the reader, which must carry it out now

static void keepread(int start, int count);
static int fillpending();
static void takepending(char *block, int count);
static int pollline(const char *line, int length);

// Forgets input read but not yet handed on, and the end of input.
void resetinput() {
  pendingcount = 0;
  pendingscanned = 0;
  inputended = 0;
  droppingline = 0;
}

// Takes in the count bytes just read at pending + start (the end of what pending held): carriage
// returns go, the rest of a line being dropped goes up to and including its newline, and a line
// that grows beyond LONGESTLINE characters without its newline is dropped from its start on.
static void keepread(int start, int count) {
  int kept = start;
  for (int i = start; i < start + count; i++) {
    char c = pending[i];
    if (c == '\r') continue;
    if (droppingline) {
      if (c == '\n') droppingline = 0;
      continue;
    }
    pending[kept++] = c;
  }
  pendingcount = kept;
  int linestart = pendingcount;
  while (linestart > 0 && pending[linestart - 1] != '\n') linestart--;
  if (pendingcount - linestart > LONGESTLINE) {
    pendingcount = linestart;
    droppingline = 1;
  }
}

// Reads once from standard input (blocking) into the free part of pending. At the end of input or
// on a read error inputended is raised. Returns the number of bytes added.
static int fillpending() {
  if (inputended || pendingcount >= PENDINGSIZE) return 0;
  for (;;) {
    ssize_t got = read(0, pending + pendingcount, (size_t)(PENDINGSIZE - pendingcount));
    if (got > 0) {
      keepread(pendingcount, (int)got);
      return (int)got;
    }
    if (got < 0 && errno == EINTR) continue;
    inputended = 1;
    return 0;
  }
}

// Moves the first count bytes of pending into block and closes the gap.
static void takepending(char *block, int count) {
  assert(count >= 0 && count <= pendingcount);
  memcpy(block, pending, (size_t)count);
  memmove(pending, pending + count, (size_t)(pendingcount - count));
  pendingcount -= count;
  pendingscanned = pendingscanned > count ? pendingscanned - count : 0;
}

// Fills block (size bytes, which the caller has zeroed) with the next complete lines of input,
// waiting for them if need be. A trailing partial line waits for its newline; a line longer than
// the block is handed on in pieces of the block's size. At the end of input the rest is handed on
// with a newline, and after that the word quit, so that the game ends as on that command.
// Returns the number of bytes placed.
int readblock(char *block, int size) {
  assert(size > 8);
  for (;;) {
    int limit = pendingcount < size ? pendingcount : size;
    int last = -1;
    for (int i = 0; i < limit; i++) {
      if (pending[i] == '\n') last = i;
    }
    if (last >= 0) {
      takepending(block, last + 1);
      return last + 1;
    }
    if (pendingcount >= size) {
      takepending(block, size);
      return size;
    }
    if (inputended) {
      if (pendingcount > 0) {
        int count = pendingcount;
        takepending(block, count);
        block[count] = '\n';
        return count + 1;
      }
      memcpy(block, "quit\n", 5);
      return 5;
    }
    fillpending();
  }
}

// Puts text back in front of the input not yet handed on, so that the next block begins with it.
void unreadinput(const char *text, int count) {
  assert(count >= 0);
  if (count <= 0 || count > PENDINGSIZE - pendingcount) return;
  memmove(pending + count, pending, (size_t)pendingcount);
  memcpy(pending, text, (size_t)count);
  pendingcount += count;
  pendingscanned = 0;
}

// Reads the next line of input into line (at most size - 1 characters, terminated), for the
// console editor. Returns 0 at the end of input.
int readline(char *line, int size) {
  assert(size > 1);
  for (;;) {
    for (int i = 0; i < pendingcount; i++) {
      if (pending[i] == '\n' || i == size - 2) {
        takepending(line, i + 1);
        line[i + 1] = 0;
        return 1;
      }
    }
    if (inputended) {
      if (pendingcount == 0) return 0;
      int count = pendingcount < size - 1 ? pendingcount : size - 1;
      takepending(line, count);
      line[count] = 0;
      return 1;
    }
    fillpending();
  }
}

// Commands that change the game: during a search they end it at once and no move is written for the
// position searched; the line stays for the protocol reader, which carries it out as if it had come
// after the search. So does a chess server's "holding", which follows the move it belongs to: the
// engine searches again with the server's hands, rather than move with hands that may be out of step.
static const char *const gamecommands[] = {"new", "force", "setboard", "undo", "remove", "variant", "white", "black",
                                           "holding"};

// 1 when the line begins, after blanks, with word followed by a blank or the end of the line.
static int startsword(const char *line, int length, const char *word) {
  int i = 0;
  while (i < length && (line[i] == ' ' || line[i] == '\t')) i++;
  int n = (int)strlen(word);
  if (i + n > length || strncmp(line + i, word, (size_t)n) != 0) return 0;
  return i + n == length || line[i + n] == ' ' || line[i + n] == '\t' || line[i + n] == '\n';
}

// Answers "ping N" at once: during an analysis every line before it has been carried out (any other
// line stops the analysis), and the analysis itself is no move the interface waits for.
static void answerping(const char *line, int length) {
  long long n = 0;
  const char *digits = line;
  while (*digits == ' ' || *digits == '\t') digits++;
  digits += 4;
  while (digits < line + length && *digits == ' ') digits++;
  while (digits < line + length && *digits >= '0' && *digits <= '9' && n < PINGMAX) n = n * 10 + (*digits++ - '0');
  writepong(n);
}

// Scans one complete line for the words that matter during a search. Returns POLLTAKEN when the
// line was acted on (it is then consumed), POLLENDS when it ended the game or the program
// (consumed, and the lines after it stay for the reader), POLLCOMMAND when the search must end
// without its move for the reader to carry the line out, POLLLEFT when it is left for the reader.
// A ping during the engine's own search is left for the reader, so that its pong follows the move:
// the move answers input that came before the ping.
// During an analysis every line but post, nopost, ".", "?" and ping ends the search: the analysis
// starts again once the reader has carried it out. "." (asking for a status line) is answered with
// nothing; "?" has no move to hurry.
static int pollline(const char *line, int length) {
  for (const char *word : gamecommands)
    if (startsword(line, length, word)) return POLLCOMMAND;
  if (analyzing && startsword(line, length, ".")) return POLLTAKEN;
  if (analyzing && startsword(line, length, "ping")) {
    answerping(line, length);
    return POLLTAKEN;
  }
  int acted = POLLLEFT;
  for (int i = 0; i < length; i++) {
    if (strncmp(line + i, "post", 4) == 0) {
      postmode = 1;
      acted = POLLTAKEN;
    }
    if (strncmp(line + i, "nopo", 4) == 0) {
      postmode = 0;
      acted = POLLTAKEN;
      i += 3;  // the post inside nopost must not switch it back on
      continue;
    }
    if (strncmp(line + i, "res", 3) == 0 && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      discardmove = 1;
      inputfrom = inputto = INPUTGAMEOVER;
      return POLLENDS;
    }
    if (strncmp(line + i, "draw", 4) == 0) break;
    if (line[i] == '?') {
      if (!analyzing) stopsearch = 1;
      acted = POLLTAKEN;
    }
    if (strncmp(line + i, "quit", 4) == 0) {
      inputfrom = inputto = INPUTGAMEOVER;
      playagain = 0;
      discardmove = 1;
      return POLLENDS;
    }
  }
  if (acted == POLLLEFT && analyzing) return POLLCOMMAND;
  return acted;
}

// Looks at waiting input during a search without ever blocking: a zero-timeout readiness test on
// standard input, then one read of what waits (at most POLLBLOCK bytes). Complete lines are scanned
// for "?" (move now), post, nopost, result, quit and the commands that change the game; the lines
// acted on are consumed, every other line stays for the protocol reader. A command that changes
// the game ends the search without its move and raises commandwaiting, so that the main loop reads
// it next. The end of input stops the search like "?" and ends the engine; so does input piling up
// beyond what pending holds, which the reader then takes in.
void pollinput() {
  if (!inputended && pendingcount < PENDINGSIZE) {
    pollfd waiting;
    waiting.fd = 0;
    waiting.events = POLLIN;
    waiting.revents = 0;
    if (poll(&waiting, 1, 0) > 0 && (waiting.revents & (POLLIN | POLLHUP | POLLERR))) {
      int room = PENDINGSIZE - pendingcount;
      ssize_t got = read(0, pending + pendingcount, (size_t)(room < POLLBLOCK ? room : POLLBLOCK));
      if (got > 0) {
        keepread(pendingcount, (int)got);
      } else if (got == 0 || errno != EINTR) {
        inputended = 1;
      }
    }
  }
  while (pendingscanned < pendingcount) {
    char *start = pending + pendingscanned;
    char *end = (char *)memchr(start, '\n', (size_t)(pendingcount - pendingscanned));
    if (!end) break;
    int length = (int)(end - start) + 1;
    int acted = pollline(start, length);
    if (acted == POLLCOMMAND) {
      commandwaiting = 1;
      discardmove = 1;
      return;
    }
    if (acted == POLLLEFT) {
      pendingscanned += length;
      continue;
    }
    memmove(start, start + length, (size_t)(pendingcount - pendingscanned - length));
    pendingcount -= length;
    if (acted == POLLENDS) return;
  }
  if (pendingcount >= PENDINGSIZE) stopsearch = 1;
  // The end of input: the search stops, its move is still written (a piped script gets its
  // answer), and then the engine ends.
  if (inputended) {
    inputfrom = inputto = INPUTGAMEOVER;
    playagain = 0;
    stopsearch = 1;
  }
}
