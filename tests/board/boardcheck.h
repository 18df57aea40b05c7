// Helpers shared by the board-core tests: a copy of every global a move touches, a from-scratch
// check of the incrementally kept state, a small deterministic random generator and random games.
#ifndef KORVEL_TESTS_BOARDCHECK_H
#define KORVEL_TESTS_BOARDCHECK_H

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"
#include "perft.h"
#include "frontend/frontend.h"
#include "regular/regular.h"

// Every global that a make/unmake pair must give back.
struct boardsnapshot {
  int squares[65];
  int castle[6];
  int kings[2];
  int castled[2];
  int checks[2];
  int wheld[HANDSLOTS];
  int bheld[HANDSLOTS];
  std::vector<int> wpieces;  // the pawn-born lists as sets: the slot of an entry carries no meaning
  std::vector<int> bpieces;
};

// The entries of a pawn-born list, sorted, zeros left out.
inline std::vector<int> pawnbornset(const int *pieces) {
  std::vector<int> set;
  for (int i = 1; i < PAWNBORNSLOTS; i++)
    if (pieces[i]) set.push_back(pieces[i]);
  std::sort(set.begin(), set.end());
  return set;
}

inline boardsnapshot takesnapshot() {
  boardsnapshot s;
  memcpy(s.squares, board, sizeof s.squares);
  int castle[6] = {wcastleking, wcastlea, wcastleh, bcastleking, bcastlea, bcastleh};
  memcpy(s.castle, castle, sizeof castle);
  s.kings[0] = ownkingsq;
  s.kings[1] = oppkingsq;
  s.castled[0] = wcastled;
  s.castled[1] = bcastled;
  s.checks[0] = topc;
  s.checks[1] = topp;
  memcpy(s.wheld, gamewheld, sizeof s.wheld);
  memcpy(s.bheld, gamebheld, sizeof s.bheld);
  s.wpieces = pawnbornset(gamewpieces);
  s.bpieces = pawnbornset(gamebpieces);
  return s;
}

// Names the first difference between two snapshots, or "" when they agree.
inline std::string snapshotdifference(const boardsnapshot &a, const boardsnapshot &b) {
  for (int sq = 0; sq <= 64; sq++)
    if (a.squares[sq] != b.squares[sq])
      return "square " + std::to_string(sq) + ": " + std::to_string(a.squares[sq]) + " vs " +
             std::to_string(b.squares[sq]);
  const char *castlenames[6] = {"wcastleking", "wcastlea", "wcastleh", "bcastleking", "bcastlea", "bcastleh"};
  for (int i = 0; i < 6; i++)
    if (a.castle[i] != b.castle[i]) return std::string(castlenames[i]);
  if (a.kings[0] != b.kings[0]) return "ownkingsq";
  if (a.kings[1] != b.kings[1]) return "oppkingsq";
  if (a.castled[0] != b.castled[0]) return "wcastled";
  if (a.castled[1] != b.castled[1]) return "bcastled";
  if (a.checks[0] != b.checks[0] || a.checks[1] != b.checks[1]) return "check counters";
  if (memcmp(a.wheld, b.wheld, sizeof a.wheld) != 0) return "wheld";
  if (memcmp(a.bheld, b.bheld, sizeof a.bheld) != 0) return "bheld";
  if (a.wpieces != b.wpieces) return "wpieces";
  if (a.bpieces != b.bpieces) return "bpieces";
  return "";
}

// Recomputes from scratch what is kept incrementally: the king squares, and in crazyhouse that the
// pawn-born lists name distinct squares of their own side's men, every pawn among them. Answers
// "" or what is wrong.
inline std::string consistencyproblem() {
  for (int sq = 1; sq <= 64; sq++) {
    if (board[sq] == WKING && ownkingsq != sq) return "ownkingsq " + std::to_string(ownkingsq) + " but king on " + std::to_string(sq);
    if (board[sq] == BKING && oppkingsq != sq) return "oppkingsq " + std::to_string(oppkingsq) + " but king on " + std::to_string(sq);
  }
  if (!crazymode) return "";
  std::vector<int> white = pawnbornset(gamewpieces);
  std::vector<int> black = pawnbornset(gamebpieces);
  if (std::adjacent_find(white.begin(), white.end()) != white.end()) return "duplicate wpieces entry";
  if (std::adjacent_find(black.begin(), black.end()) != black.end()) return "duplicate bpieces entry";
  for (int sq : white)
    if (!iswhite(board[sq])) return "wpieces entry " + std::to_string(sq) + " on no white man";
  for (int sq : black)
    if (!isblack(board[sq])) return "bpieces entry " + std::to_string(sq) + " on no black man";
  for (int sq = 1; sq <= 64; sq++) {
    if (board[sq] == WPAWN && !std::binary_search(white.begin(), white.end(), sq)) return "white pawn missing from wpieces";
    if (board[sq] == BPAWN && !std::binary_search(black.begin(), black.end(), sq)) return "black pawn missing from bpieces";
  }
  for (int i = 1; i < HANDSLOTS; i++) {
    if (gamewheld[i] && (gamewheld[i] < WPAWN || gamewheld[i] > WQUEEN)) return "bad code in wheld";
    if (gamebheld[i] && (gamebheld[i] < BPAWN || gamebheld[i] > BQUEEN)) return "bad code in bheld";
  }
  return "";
}

// A small deterministic generator for the random games, independent of the engine's own.
struct testrandom {
  unsigned long long state;
};

inline int randombelow(testrandom *r, int n) {
  r->state = r->state * 6364136223846793005ull + 1442695040888963407ull;
  return (int)((r->state >> 33) % (unsigned long long)n);
}

// The legal moves of the side to move at ply in the current position (drops included).
inline int legalmoves(int ply, const int *epsquares, int *legalfrom, int *legalto) {
  int movefrom[MAXMOVES];
  int moveto[MAXMOVES];
  int childep[65] = {};
  int count = 0;
  int legal = 0;
  perftgenerate(movefrom, moveto, &count, ply, epsquares);
  for (int i = 1; i <= count; i++) {
    perftundo undo;
    if (perftmake(ply, movefrom[i], moveto[i], childep, &undo)) {
      legal++;
      legalfrom[legal] = movefrom[i];
      legalto[legal] = moveto[i];
    }
    perftunmake(ply, childep, &undo);
  }
  return legal;
}

#endif
