// The atomic engine's quiescence search: stand pat on the evaluation, then captures with their
// explosions and promotions, and on its first ply also the quiet moves that bring a queen, rook or
// king into contact with the enemy king. Men are moved in a reduced way: a pawn reaching the last
// rank becomes a queen, captures explode, and nothing else of the full make happens.
#include "atomic/atomic.h"

// Markers of every quiescence child: no en-passant capture below the first quiescence ply.
static const int noepsquares[65] = {};

// 1 when the quiet move from -> to (the man already on to) brings a queen next to the enemy king,
// a rook orthogonally next to it, or, while the mover stands worse (standpat below 0), its own king
// next to the enemy king by a step that is not castling.
int contactmove(int from, int to, int captured, int standpat) {
  assert(from >= 1 && from <= 64 && to >= 1 && to <= 64);
  if (captured != EMPTY) return 0;
  int man = board[to];
  int enemyking = iswhite(man) ? BKING : WKING;
  if (man == WQUEEN || man == BQUEEN) return isnextto(to, enemyking, 1);
  if (man == WROOK || man == BROOK) return isnextto(to, enemyking, 0);
  if ((man == WKING || man == BKING) && to != from + 2 && to != from - 2 && standpat < 0)
    return isnextto(to, enemyking, 1);
  return 0;
}

// Searches the position at ply below the main search's last full ply (depth 0 on the first
// quiescence ply, negative below). Returns the score from the side to move, at least the stand-pat
// score or alpha. Polls like the search and unwinds with 0 once stopped. A capture that blows up
// the enemy king, or takes it outright (a king left en prise), wins at once; one that blows up the
// mover's own king or is made by a king is never played.
int atomicquiesce(int alpha, int beta, int depth, int ply, const int *epsquares, int *scratch, uint64_t key,
                  int epflag) {
  assert(alpha < beta && ply >= 2 && ply < MAXPLY && depth <= 0);
  nodes++;
  qnodes++;
  if (ply > maxsearchside) maxsearchside = ply;
  stopcheck();
  if (stopsearch && searchdepth >= 2) return 0;
  if (beta != ATOMICBETA && alpha != ATOMICALPHA) {
    int probe = probehash(key, depth, alpha, beta, ply, 0);
    if (probe != PROBEMISS) return probe;
  }
  int standpat = atomiceval((ply + 1) % 2);
  if (standpat >= beta) return beta;
  int best = standpat > alpha ? standpat : alpha;

  int white = ply % 2;
  int movefrom[MAXQMOVES];
  int moveto[MAXQMOVES];
  int count = 0;
  int blastsave[65];
  if (white) atomicwhitemoves(movefrom, moveto, &count, ply, epsquares);
  else atomicblackmoves(movefrom, moveto, &count, ply, epsquares);
  assert(count < MAXQMOVES);
  int enemyking = white ? BKING : WKING;
  int picking = 1;
  for (int i = 1; i <= count; i++) {
    if (picking) picking = atomicpick(movefrom, moveto, ply, count, i, scratch);
    int from = movefrom[i];
    int to = moveto[i];
    int mover = board[from];
    int promoted = (mover == WPAWN && to >= SQA8) || (mover == BPAWN && to <= SQH1);
    if (promoted) board[from] = white ? WQUEEN : BQUEEN;
    uint64_t childkey = (mover == WROOK || mover == BROOK || mover == WKING || mover == BKING)
                            ? castlerightskey(key, from)
                            : key;
    int captured = board[to];
    board[to] = board[from];
    board[from] = EMPTY;
    lastto[ply] = to;
    int searched = captured != EMPTY || promoted || (depth == 0 && contactmove(from, to, captured, standpat));
    childkey = movekey(childkey, from, to, captured, 0, promoted, epflag, 0);

    int win = 0, illegal = 0;
    int decided = 0;
    int score = 0;
    if (captured != EMPTY) {
      childkey = explode(to, ply, &win, &illegal, blastsave, childkey);
      if (illegal) {
        decided = 1;
        score = ply + (illegal == BLASTKINGCAPTURE ? ATOMICKINGCAPTURE : ATOMICOWNKING);
      } else if (win || captured == enemyking) {
        // The king taken outright counts as blown up: the side that left it en prise has lost.
        win = 1;
        decided = 1;
        score = ATOMICWIN - ply;
      }
      scratch[to]++;
    }
    if (searched && !decided)
      score = -atomicquiesce(-beta, -best, depth - 1, ply + 1, noepsquares, scratch, childkey, 0);

    if (captured != EMPTY) {
      scratch[to]--;
      unexplode(to, blastsave);
    }
    board[from] = board[to];
    board[to] = captured;
    if (promoted) board[from] = mover;

    if (stopsearch) return best;
    if (!searched && !decided) continue;
    if (score > best) best = score;
    if (score >= beta) return beta;
    if (win) break;
  }
  return best;
}
