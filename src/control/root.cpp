// Root move choice, thinking output and the text of the principal variation, shared by the
// regular and atomic searches.
#include "control/control.h"

#include "config/config.h"

#include <cstring>

// Brings the best moves of the earlier iterations to the front of the root list, oldest first,
// so that the latest iteration's best ends up first and the earlier ones behind it.
void rootorder(int *movefrom, int *moveto, int count) {
  assert(count >= 0 && count < MAXMOVES);
  int last = iterations < MAXITERATIONS ? iterations : MAXITERATIONS - 1;
  for (int k = 1; k <= last; k++) {
    if (count >= 1 && movefrom[1] == iterfrom[k] && moveto[1] == iterto[k]) continue;
    for (int j = 2; j <= count; j++) {
      if (movefrom[j] != iterfrom[k] || moveto[j] != iterto[k]) continue;
      for (int m = j; m > 1; m--) {
        movefrom[m] = movefrom[m - 1];
        moveto[m] = moveto[m - 1];
      }
      movefrom[1] = iterfrom[k];
      moveto[1] = iterto[k];
      break;
    }
  }
}

// Writes a square as file letter and rank digit and returns the position after it. A stale entry
// outside the board still prints as two characters.
static char *putsquare(char *p, int sq) {
  static const char files[9] = "habcdefg";
  *p++ = files[((sq % 8) + 8) % 8];
  *p++ = (char)('1' + (sq - 1) / 8);
  return p;
}

// Square as the protocol sees it: the board is held turned when the engine plays Black.
static int protocolsquare(int sq) { return color == 0 ? turnsquare(sq) : sq; }

// Copies the move just found best at ply, followed by the line of its reply, into this ply's row
// of the principal variation; a 0 square ends a line shorter than the iteration.
void updatepv(int ply, int from, int to) {
  if (ply > PVMAXLEN) return;
  pvfrom[ply][ply] = protocolsquare(from);
  pvto[ply][ply] = protocolsquare(to);
  int last = searchdepth < PVMAXLEN ? searchdepth : PVMAXLEN;
  int j = ply + 1;
  for (; j <= last && pvfrom[ply + 1][j] != 0; j++) {
    pvfrom[ply][j] = pvfrom[ply + 1][j];
    pvto[ply][j] = pvto[ply + 1][j];
  }
  if (j <= PVMAXLEN) pvfrom[ply][j] = pvto[ply][j] = 0;  // the line ends here
}

// Writes the principal variation of the root, at most 19 moves and up to its first empty entry,
// each followed by a blank, and a newline; only a newline before the first iteration.
void pvtext(char *buffer, int iteration) {
  char *p = buffer;
  int last = iteration < PVMAXLEN ? iteration : PVMAXLEN;
  for (int j = 1; j <= last && pvfrom[1][j] != 0; j++) {
    p = putsquare(p, pvfrom[1][j]);
    p = putsquare(p, pvto[1][j]);
    *p++ = ' ';
  }
  *p++ = '\n';
  *p = '\0';
}

// Nodes per second since thinking began, 0 when no time has passed. Counted in 64 bits, so that
// long searches do not wrap.
static int nodespersecond() {
  unsigned elapsed = gettickcount() - thinkstart;
  if (elapsed == 0) return 0;
  return (int)((unsigned long long)nodes * 1000ULL / elapsed);
}

// The thinking line, and the principal variation for the ICS when asked for.
static void postline(int depth, int score, const char *pv) {
  if (!postmode) return;
  output("\n%d %d 0 0 %s", depth, score, pv);
  if (mainline) output("\ntellics mainline %s", pv);
}

// Keeps root moves 1..count of the iteration with their scores: the moves a root choice compared,
// from which the engine pass takes the best legal one should the choice itself not be legal.
void keepchoice(int count, const int *movefrom, const int *moveto, int iteration) {
  if (count < 1) return;
  assert(count < MAXMOVES && iteration >= 1 && iteration < MAXITERATIONSROOT);
  for (int i = 1; i <= count; i++) {
    choicefrom[i] = movefrom[i];
    choiceto[i] = moveto[i];
    choicescore[i] = rootscore[iteration][i];
  }
  choicecount = count;
}

// Chooses the root move from this iteration's scores: the first of the highest, among all moves,
// or after a stop among the moves searched to the end (with none, the previous iteration's score
// and the first move, which root ordering made the previous best). Sets finfrom/finto, prints the
// whisper (last iteration or stop) and the thinking line, and returns the root score.
int rootresult(int count, const int *movefrom, const int *moveto, int stopped, int stoppoint, int iteration) {
  assert(count >= 1 && count < MAXMOVES);
  assert(iteration >= 1 && iteration < MAXITERATIONSROOT);
  char pv[PVTEXTSIZE] = "";
  if (!crazymode) pvtext(pv, iteration);
  int nps = nodespersecond();
  int chosen = 1;
  int score = rootscore[iteration][1];
  if (!stopped) {
    for (int i = 2; i <= count; i++) {
      if (rootscore[iteration][i] > score) {
        score = rootscore[iteration][i];
        chosen = i;
      }
    }
    if (iteration == depthcap - 1) {
      if (whisperline)
        output("\ntellics whisper depth: %d evaluate: %d nps: %d, maxsearchside is %d topc=%d topp=%d %s\n", iteration,
               score, nps, maxsearchside, topc, topp, pv);
      else
        output("\ntellics whisper depth: %d evaluate: %d nps: %d, maxsearchside is %d topc=%d topp=%d\n", iteration,
               score, nps, maxsearchside, topc, topp);
    }
    keepchoice(count, movefrom, moveto, iteration);
    postline(iteration, score, pv);
  } else {
    // A stop seen after the last move leaves every move complete.
    if (stoppoint == 0) stoppoint = count + 1;
    keepchoice(stoppoint - 1, movefrom, moveto, iteration);
    if (stoppoint == 1) {
      score = lastrootscore;
    } else {
      for (int i = 2; i <= stoppoint - 1; i++) {
        if (rootscore[iteration][i] > score) {
          score = rootscore[iteration][i];
          chosen = i;
        }
      }
    }
    if (stoppoint > 1) {
      if (whisperline)
        output("\ntellics whisper depth: %d + %d/%d moves evaluate: %d nps: %d maxsearchside: %d topc=%d, topp=%d %s\n",
               iteration - 1, stoppoint - 1, rootmovecount, score, nps, maxsearchside, topc, topp, pv);
      else
        output("\ntellics whisper depth: %d + %d/%d moves evaluate: %d nps: %d maxsearchside: %d topc=%d, topp=%d\n",
               iteration - 1, stoppoint - 1, rootmovecount, score, nps, maxsearchside, topc, topp);
    } else {
      if (whisperline)
        output("\ntellics whisper depth: %d evaluate: %d nps: %d, maxsearchside is %d topc=%d, topp=%d %s\n",
               iteration - 1, score, nps, maxsearchside, topc, topp, pv);
      else
        output("\ntellics whisper depth: %d evaluate: %d nps: %d, maxsearchside is %d topc=%d, topp=%d\n",
               iteration - 1, score, nps, maxsearchside, topc, topp);
    }
    postline(iteration - 1, score, pv);
  }
  finfrom = movefrom[chosen];
  finto = moveto[chosen];
  lastrootscore = score;
  return score;
}
