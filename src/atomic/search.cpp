// The atomic engine's main search: alpha-beta over the pseudo-legal moves with the explosion of
// every capture. Blowing up the opponent's king wins, blowing up one's own king or capturing with a
// king loses, and a king left en prise is taken on the next ply, which wins for the side that takes
// it. Checks are extended from checklevel on; one ply of depth left hands over to quiescence.
#include "atomic/atomic.h"

#include "config/config.h"

// Makes the move at ply with the full bookkeeping of the searches and its explosion, and returns
// the child's key. The en-passant pawn's key leaves the key too, so that the kept key always equals
// the key of the position computed from scratch.
uint64_t makeatomic(int ply, atomicmove *m, moveundo *undo, int *childep, int *blastsave, uint64_t key, int epflag,
                    int *childepflag) {
  int mover = board[m->from];
  if (mover == WROOK || mover == BROOK || mover == WKING || mover == BKING) key = castlerightskey(key, m->from);
  makemove(ply, m->from, m->to, 0, childep, undo, nullptr, nullptr, nullptr, nullptr);
  lastto[ply] = m->to;
  m->captured = undo->captured;
  *childepflag = doublestepbeside(m->from, m->to);
  key = movekey(key, m->from, m->to, m->captured, 0, undo->promoted, epflag, *childepflag);
  if (undo->epcapture) key ^= zpiece[13 * (ply % 2 == 1 ? m->to - 8 : m->to + 8) + (ply % 2 == 1 ? BPAWN : WPAWN)];
  m->exploded = m->captured != EMPTY || undo->epcapture;
  m->decided = m->illegal = 0;
  if (m->exploded) {
    int win = 0;
    key = explode(m->to, ply, &win, &m->illegal, blastsave, key);
    if (m->illegal) {
      m->decided = 1;
      m->score = ply + (m->illegal == BLASTKINGCAPTURE ? ATOMICKINGCAPTURE : ATOMICOWNKING);
    } else if (win) {
      m->decided = 1;
      m->score = ATOMICWIN - ply;
    }
  }
  return key;
}

// Takes back a move made by makeatomic: the explosion first, then the move.
void unmakeatomic(int ply, atomicmove *m, moveundo *undo, int *childep, const int *blastsave) {
  if (m->exploded) unexplode(m->to, blastsave);
  unmakemove(ply, childep, undo, nullptr, nullptr, nullptr, nullptr);
}

// Keeps a quiet move that raised alpha as the first killer of the ply, the old first as the second.
static void keepkiller(int ply, int from, int to) {
  if (killer1from[ply] == from && killer1to[ply] == to) return;
  killer2from[ply] = killer1from[ply];
  killer2to[ply] = killer1to[ply];
  killer1from[ply] = from;
  killer1to[ply] = to;
}

// The score of a root move after its search: a repetition of a position the engine's own move
// produced is a draw, taking the opponent's king wins outright, and among moves that lose at once
// a king step onto an attacked square is a little worse.
static int rootmovescore(atomicmove *m) {
  int score = m->score;
  if (repeatsgame(nullptr, nullptr)) score = 0;
  if (m->kingtaken && !m->illegal) score = ATOMICROOTKINGTAKEN;
  if (score == ATOMICOPPWINSNEXT && board[m->to] == WKING && isattacked(m->to)) score--;
  return score;
}

// Searches the position with depth plies left at ply (White codes on odd plies). At ply 1 it
// scores every root move into rootscore and returns the root choice (finfrom/finto set); deeper
// it returns the best score, alpha when nothing improved on it. extended: the move that led here
// was already extended for check; epflag: it allows an en-passant capture (for the key). Polls the
// clock and input every pollinterval nodes from iteration 2 on and unwinds with 0 once stopped.
int atomicsearch(int alpha, int beta, int depth, int ply, int *epsquares, int *scratch, uint64_t key, int extended,
                 int epflag) {
  assert(alpha < beta && depth >= 1 && ply >= 1 && ply < MAXPLY);
  stopcheck();
  if (stopsearch && searchdepth >= 2 && ply > 1) return 0;
  nodes++;
  searchcalls++;
  if (ply > maxsearchside) maxsearchside = ply;
  if (ply > 1 && beta != ATOMICBETA && alpha != ATOMICALPHA) {
    int probe = probehash(key, depth, alpha, beta, ply, 1);
    if (probe != PROBEMISS) return probe;
  }

  int white = ply % 2;
  int movefrom[MAXQMOVES];
  int moveto[MAXQMOVES];
  int count = 0;
  stalemateflag = 0;
  if (white) atomicwhitemoves(movefrom, moveto, &count, ply, epsquares);
  else atomicblackmoves(movefrom, moveto, &count, ply, epsquares);
  assert(count < MAXQMOVES);
  // A stalemated side draws; at the root the moves are still scored, so that a move is chosen.
  if (stalemateflag && ply > 1) {
    stalemateflag = 0;
    return 0;
  }
  stalemateflag = 0;
  if (ply == 1) rootmovecount = count;
  int oppking = opponentking(ply);
  int oppkingcode = white ? BKING : WKING;

  int childep[65] = {};
  int blastsave[65];
  int stoppoint = 0;
  int picking = 1;
  for (int i = 1; i <= count; i++) {
    if (ply == 1) {
      if (i == 1) rootorder(movefrom, moveto, count);
    } else if (picking) {
      picking = atomicpick(movefrom, moveto, ply, count, i, scratch);
    }
    atomicmove m = {movefrom[i], moveto[i], 0, 0, 0, 0, 0, alpha};
    if (ply == 1 && board[m.from] == WKING && board[m.to] != EMPTY) {
      rootscore[depth][i] = ATOMICKINGCAPTUREROOT;  // a king never captures
      continue;
    }
    moveundo undo;
    int childepflag = 0;
    uint64_t childkey = makeatomic(ply, &m, &undo, childep, blastsave, key, epflag, &childepflag);
    m.kingtaken = m.captured == oppkingcode && m.to == oppking;
    int checks = oppking > 0 ? isattacked(oppking) : 0;

    if (ply < PVMAXLEN) pvfrom[ply + 1][ply + 1] = pvto[ply + 1][ply + 1] = 0;
    if (!stopsearch && !m.kingtaken && !m.decided) {
      if (ply >= checklevel && checks && !extended)
        m.score = -atomicsearch(-beta, -alpha, depth, ply + 1, childep, scratch, childkey, 1, childepflag);
      else if (depth > 1)
        m.score = -atomicsearch(-beta, -alpha, depth - 1, ply + 1, childep, scratch, childkey, 0, childepflag);
      else
        m.score = -atomicquiesce(-beta, -alpha, 0, ply + 1, childep, scratch, childkey, childepflag);
    }
    if (ply == 1) {
      m.score = rootmovescore(&m);
      if (stopsearch && stoppoint == 0) stoppoint = i;
      rootscore[depth][i] = m.score;
    }
    if (m.captured != EMPTY) scratch[m.to]--;
    unmakeatomic(ply, &m, &undo, childep, blastsave);

    if (m.score > alpha && m.captured == EMPTY) keepkiller(ply, m.from, m.to);
    int wincut = !stopsearch && ply > 1 && !m.illegal && (m.kingtaken || (m.decided && m.score == ATOMICWIN - ply));
    if (wincut) m.score = ATOMICWIN - ply;
    if (m.score > alpha && !stopsearch) {
      alpha = m.score;
      updatepv(ply, m.from, m.to);
    }
    if (m.score >= beta && !stopsearch && ply > 1) return beta;
    if (wincut) break;
    if (stopsearch) {
      if (stoppoint == 0) stoppoint = i;
      break;
    }
  }

  if (ply > 1) return alpha;
  if (count == 0) {
    // No move at all: the root list still needs an entry for the root choice.
    movefrom[1] = moveto[1] = SQE1;
    count = 1;
    rootscore[depth][1] = 0;
  }
  return rootresult(count, movefrom, moveto, stopsearch, stoppoint, depth);
}
