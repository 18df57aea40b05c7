// What the full-strength searches of every engine share: the history and counter-move tables of
// quiet moves, the keys of the line searched and of the game for finding repetitions, the
// mate-distance correction of table scores, and the principal variation with drops.
#include "control/control.h"

#include <cmath>
#include <cstring>

constexpr int HISTORYLIMIT = 1 << 20;  // a history value above this halves the whole table
constexpr int FIFTYMOVES = 100;        // half-moves without capture or pawn move that end the game
constexpr int REPEATDISTANCE = 4;      // the fewest half-moves that bring a position back

int historyscore[13][65];
int counterfrom[13][65];
int counterto[13][65];
uint64_t pathkey[MAXPLY];
int pathclock[MAXPLY];
int fullpvfrom[MAXPLY][MAXPLY];
int fullpvto[MAXPLY][MAXPLY];
int fullpvlength[MAXPLY];

// The keys of the game's positions that the line may repeat, each with its distance in
// half-moves before the root; gamekeycount of them.
static uint64_t gamekey[HISTORYSIZE];
static int gamekeydistance[HISTORYSIZE];
static int gamekeycount = 0;

// Clears the history, the counter moves, the line's keys and the game's keys.
void clearfullsearch() {
  memset(historyscore, 0, sizeof historyscore);
  memset(counterfrom, 0, sizeof counterfrom);
  memset(counterto, 0, sizeof counterto);
  memset(pathkey, 0, sizeof pathkey);
  memset(pathclock, 0, sizeof pathclock);
  memset(fullpvlength, 0, sizeof fullpvlength);
  gamekeycount = 0;
}

// The key the engine gives a record of the game, with the record's men, castling values, en
// passant and hands put on the board for the moment. A record made after the engine's move has
// the opponent to move: its key carries the side-to-move key, as the search's keys on even plies.
static uint64_t recordkey(const enginerow *engine, const historyrecord *r) {
  int squares[65];
  int hands[2][HANDSLOTS];
  memcpy(squares, board, sizeof squares);
  memcpy(hands[0], gamewheld, sizeof hands[0]);
  memcpy(hands[1], gamebheld, sizeof hands[1]);
  int *castle[6] = {&wcastleking, &wcastlea, &wcastleh, &bcastleking, &bcastlea, &bcastleh};
  int kept[6];
  for (int i = 0; i < 6; i++) {
    kept[i] = *castle[i];
    *castle[i] = r->castle[i];
  }
  int ep = rootepflag;
  memcpy(board + 1, r->squares + 1, 64 * sizeof(int));
  memcpy(gamewheld, r->wheld, sizeof hands[0]);
  memcpy(gamebheld, r->bheld, sizeof hands[1]);
  rootepflag = r->epsquare != 0;
  uint64_t key = engine->rootkey() ^ (r->enginemove ? zmove : 0);
  rootepflag = ep;
  memcpy(board, squares, sizeof squares);
  memcpy(gamewheld, hands[0], sizeof hands[0]);
  memcpy(gamebheld, hands[1], sizeof hands[1]);
  for (int i = 0; i < 6; i++) *castle[i] = kept[i];
  return key;
}

// Collects the keys of the game's positions since the last capture or pawn move, so that the
// search sees a line that goes back to one of them as a draw. In 3check the records do not keep
// the check counts that the keys hold, so no game position is taken there.
void collectgamekeys(const enginerow *engine) {
  gamekeycount = 0;
  if (threecheckmode) return;
  for (int distance = 1; distance <= fiftycount && distance < historycount; distance++) {
    gamekey[gamekeycount] = recordkey(engine, &gamehistory[historycount - distance]);
    gamekeydistance[gamekeycount] = distance;
    gamekeycount++;
  }
}

// 1 when the position at ply, whose key and half-move count are in pathkey and pathclock, is
// drawn: the fifty moves are over, or it repeats an earlier position of the line or of the game
// with no capture or pawn move in between.
int isdrawnline(int ply) {
  assert(ply >= 1 && ply < MAXPLY);
  int clock = pathclock[ply];
  if (clock >= FIFTYMOVES) return 1;
  uint64_t key = pathkey[ply];
  for (int p = ply - REPEATDISTANCE; p >= 1 && ply - p <= clock; p -= 2)
    if (pathkey[p] == key) return 1;
  for (int i = 0; i < gamekeycount; i++)
    if (gamekeydistance[i] + ply - 1 <= clock && gamekey[i] == key) return 1;
  return 0;
}

// Halves every history value once one grows too large, so that recent cut-offs weigh most.
static void agehistory() {
  for (auto &row : historyscore)
    for (int &value : row) value /= 2;
}

// A quiet move of the man to the square cut off at the depth: its history grows with the depth
// squared, and it becomes the counter move to the previous move (prevman to prevto).
void rewardquiet(int man, int to, int depth, int prevman, int prevto) {
  assert(man >= 1 && man <= 12 && to >= 1 && to <= 64);
  historyscore[man][to] += depth * depth;
  if (historyscore[man][to] > HISTORYLIMIT) agehistory();
  if (prevman >= 1 && prevto >= 1) {
    counterfrom[prevman][prevto] = man;
    counterto[prevman][prevto] = to;
  }
}

// A quiet move searched before the move that cut off loses history by the depth squared.
void punishquiet(int man, int to, int depth) {
  assert(man >= 1 && man <= 12 && to >= 1 && to <= 64);
  historyscore[man][to] -= depth * depth;
  if (historyscore[man][to] < -HISTORYLIMIT) agehistory();
}

// The table keeps a mate as its distance from the stored node, so that the entry holds wherever
// in the tree the position is met again; toentryscore and fromentryscore convert.
int toentryscore(int score, int ply, int winscore) {
  if (score >= winscore - MATEMARGIN) return score + ply;
  if (score <= -(winscore - MATEMARGIN)) return score - ply;
  return score;
}
int fromentryscore(int score, int ply, int winscore) {
  if (score >= winscore - MATEMARGIN) return score - ply;
  if (score <= -(winscore - MATEMARGIN)) return score + ply;
  return score;
}

// The move from -> to becomes the line of ply, followed by the line of its reply.
void fullpvset(int ply, int from, int to) {
  assert(ply >= 1 && ply + 1 < MAXPLY);
  fullpvfrom[ply][ply] = from;
  fullpvto[ply][ply] = to;
  int end = fullpvlength[ply + 1] > ply + 1 ? fullpvlength[ply + 1] : ply + 1;
  for (int j = ply + 1; j < end; j++) {
    fullpvfrom[ply][j] = fullpvfrom[ply + 1][j];
    fullpvto[ply][j] = fullpvto[ply + 1][j];
  }
  fullpvlength[ply] = end;
}

// Writes the root's line, each move followed by a blank, as the protocol writes moves: squares
// turned back when the engine plays Black, a drop as its man's letter, "@" and the square.
void fullpvtext(char *buffer) {
  char *p = buffer;
  int end = fullpvlength[1] < PVMAXLEN + 1 ? fullpvlength[1] : PVMAXLEN + 1;
  for (int j = 1; j < end; j++) {
    int from = fullpvfrom[1][j];
    int to = fullpvto[1][j];
    if (to < 1 || to > 64 || from == 0 || from < -BKING || from > 64) break;
    if (from < 0) {
      *p++ = "PNBRQK"[(-from - 1) % BLACKOFFSET];
      *p++ = '@';
    } else {
      squaretext(color == 0 ? turnsquare(from) : from, p);
      p += 2;
    }
    squaretext(color == 0 ? turnsquare(to) : to, p);
    p += 2;
    *p++ = ' ';
  }
  *p = '\0';
}

// The index of the move of the highest order among entries i..count; among equals the earliest.
int highestorder(const int *order, int i, int count) {
  int best = i;
  for (int j = i + 1; j <= count; j++)
    if (order[j] > order[best]) best = j;
  return best;
}

// Exchanges entries i and j of the three arrays.
void swapmoves(int *movefrom, int *moveto, int *order, int i, int j) {
  if (i == j) return;
  int f = movefrom[i], t = moveto[i], o = order[i];
  movefrom[i] = movefrom[j], moveto[i] = moveto[j], order[i] = order[j];
  movefrom[j] = f, moveto[j] = t, order[j] = o;
}

// Brings the move of the highest order among entries i..count to position i (all three arrays).
void picknext(int *movefrom, int *moveto, int *order, int i, int count) {
  swapmoves(movefrom, moveto, order, i, highestorder(order, i, count));
}

// The entry of every full-strength node at ply: counts it, starts its line empty, keeps its key
// for the repetition test and looks at the clock. Answers 1 when a stopped search must unwind.
int enterfullnode(int ply, uint64_t key) {
  nodes++;
  searchcalls++;
  if (ply > maxsearchside) maxsearchside = ply;
  fullpvlength[ply] = ply;
  pathkey[ply] = key;
  stopcheck();
  return stopsearch && ply > 1;
}

// Before a child is searched: its key, its half-move count (0 after a capture or a pawn move)
// and its line, empty until it finds one.
void enterchild(int ply, uint64_t childkey, int irreversible) {
  assert(ply + 1 < MAXPLY);
  pathkey[ply + 1] = childkey;
  pathclock[ply + 1] = irreversible ? 0 : pathclock[ply] + 1;
  fullpvlength[ply + 1] = ply + 1;
}

// Narrows the window to the scores still possible at ply, between being mated here (lost) and
// winning with the next move (won). Answers 1 when nothing is left of it.
int matewindow(int *alpha, int *beta, int lost, int won) {
  if (*alpha < lost) *alpha = lost;
  if (*beta > won) *beta = won;
  return *alpha >= *beta;
}

// Reads the table for the node: its move goes to *from and *to; when cut is allowed (not on the
// principal variation) and the entry was searched deep enough with a bound that settles the
// window, answers 1 with the entry's score in *score.
int tableanswer(uint64_t key, int depth, int alpha, int beta, int ply, int winscore, int cut, int *from, int *to,
                int *score) {
  const hashentry *entry = findentry(key);
  if (!entry) return 0;
  *from = entry->bestfrom;
  *to = entry->bestto;
  int s = fromentryscore(entry->score, ply, winscore);
  if (!cut || entry->depth < depth) return 0;
  if (entry->bound == BOUNDEXACT || (entry->bound == BOUNDLOWER && s >= beta) ||
      (entry->bound == BOUNDUPPER && s <= alpha)) {
    *score = s;
    return 1;
  }
  return 0;
}

// Stores what the node found: a lower bound when it cut off, exact when it raised alpha, else an
// upper bound; mates as their distance from the node.
void storenode(uint64_t key, int depth, int best, int startalpha, int beta, int ply, int winscore, int from, int to) {
  int bound = best >= beta ? BOUNDLOWER : (best > startalpha ? BOUNDEXACT : BOUNDUPPER);
  storeentry(key, depth, bound, toentryscore(best, ply, winscore), from, to);
}

// How many plies a late quiet move is searched less: about log(depth) * log(moves) / 2.25 plus
// three quarters, one less on the principal variation, and never down to nothing.
int latereduction(int depth, int moves, int pvnode, int newdepth) {
  static int table[LMRLIMIT][LMRLIMIT];
  if (table[LMRLIMIT - 1][LMRLIMIT - 1] == 0)
    for (int d = 1; d < LMRLIMIT; d++)
      for (int m = 1; m < LMRLIMIT; m++) table[d][m] = (int)(0.75 + log((double)d) * log((double)m) / 2.25);
  int r = table[depth < LMRLIMIT ? depth : LMRLIMIT - 1][moves < LMRLIMIT ? moves : LMRLIMIT - 1];
  if (pvnode && r > 0) r--;
  if (r > newdepth - 1) r = newdepth - 1 > 0 ? newdepth - 1 : 0;
  return r;
}

// A quiet move of the man from -> to cut off at ply: the quiet moves searched before it lose
// history, it gains history, becomes the counter move to the previous move (prevman to prevto)
// and the first killer of the ply.
void quietcutoff(int ply, int depth, int from, int to, int man, const int *quietmen, const int *quietto, int quiets,
                 int prevman, int prevto) {
  for (int q = 0; q < quiets; q++) punishquiet(quietmen[q], quietto[q], depth);
  rewardquiet(man, to, depth, prevman, prevto);
  if (killer1from[ply] == from && killer1to[ply] == to) return;
  killer2from[ply] = killer1from[ply], killer2to[ply] = killer1to[ply];
  killer1from[ply] = from, killer1to[ply] = to;
}
