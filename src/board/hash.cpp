// Position keys: the random tables, the key from scratch, the incremental update; and the
// transposition table with its probe.
#include "board/board.h"

#include <cstring>

uint64_t zpiece[13 * 65];
uint64_t zhand[17 * 13];
uint64_t zmove;
uint64_t zatomic[5];
uint64_t zcastle[8];
uint64_t zcheck[5];
hashentry *transtable = nullptr;
long long hashentries = 0;
int tablestate = TABLECLEAR;
int hashcuts = 0;

static unsigned long keystate = 1;

// One draw of the key tables' own generator: 0..32767. The keys keep this sequence so that a given
// seed always draws the same tables.
static int keystep() {
  keystate = keystate * 1103515245ul + 12345ul;
  return (int)((keystate / 65536ul) % 32768ul);
}

// A key value: the product of two draws, below 2^31, so the high half is 0.
static uint64_t keydraw() {
  uint64_t a = (uint64_t)keystep();
  uint64_t b = (uint64_t)keystep();
  return a * b;
}

// Draws every key table in its fixed order from the seed, and seeds the play generator with it.
void initkeys(unsigned seed) {
  keystate = seed;
  seedrandom(seed);
  memset(zpiece, 0, sizeof zpiece);
  memset(zhand, 0, sizeof zhand);
  for (int sq = 1; sq <= 64; sq++)
    for (int code = 1; code <= 12; code++) zpiece[13 * sq + code] = keydraw();
  for (int code = 1; code <= 12; code++)
    for (int k = 1; k <= 16; k++) zhand[17 * code + k] = keydraw();
  zmove = keydraw();
  for (int i = 1; i <= 4; i++) zatomic[i] = keydraw();
  for (int i = 1; i <= 7; i++) zcastle[i] = keydraw();
  for (int i = 1; i <= 4; i++) zcheck[i] = keydraw();
}

// Key of the castling rights and the 3check counters of the current position.
static uint64_t rightskey() {
  uint64_t key = 0;
  if (wcastlea > 0) key ^= zcastle[1];
  if (wcastleh > 0) key ^= zcastle[2];
  if (bcastlea > 0) key ^= zcastle[3];
  if (bcastleh > 0) key ^= zcastle[4];
  if (threecheckmode) {
    if (topc >= 1) key ^= zcheck[1];
    if (topc >= 2) key ^= zcheck[2];
    if (topp >= 1) key ^= zcheck[3];
    if (topp >= 2) key ^= zcheck[4];
  }
  return key;
}

// Key of the current board, castling rights and 3check counters computed from scratch; epflag = 1
// when an en-passant capture is possible. The side to move is not part of it.
uint64_t rootkey(int epflag) {
  uint64_t key = 0;
  for (int s = 1; s <= 64; s++)
    if (board[s] > 0) key ^= zpiece[13 * s + board[s]];
  key ^= rightskey();
  if (epflag == 1) key ^= zcastle[ZEP];
  return key;
}

// Key of the men of one hand: the n-th man of code c adds zhand[17 * c + n].
static uint64_t handkey(const int *hand) {
  uint64_t key = 0;
  int seen[13] = {0};
  for (int i = 1; i < HANDSLOTS; i++) {
    int code = hand[i];
    if (code < 1 || code > 12) continue;
    seen[code]++;
    if (seen[code] <= 16) key ^= zhand[17 * code + seen[code]];
  }
  return key;
}

// The root key of a crazyhouse position: rootkey with both hands.
uint64_t rootkeycrazy(int epflag, const int *whitehand, const int *blackhand) {
  return rootkey(epflag) ^ handkey(blackhand) ^ handkey(whitehand);
}

// Number of men of the given code in a hand.
static int handcount(const int *hand, int code) {
  int n = 0;
#pragma GCC unroll HANDSLOTS
  for (int i = 1; i < HANDSLOTS; i++) n += hand[i] == code;
  return n;
}

// The key changes of a board move (steps shared by updatekey and updatekeycrazy), called after
// the move was made: the mover stands on to.
static uint64_t boardmovekey(uint64_t key, int from, int to, int captured, int promoted, int epcapture) {
  int mover = board[to];
  if (!promoted) {
    key ^= zpiece[13 * from + mover] ^ zpiece[13 * to + mover];
  } else {
    int pawn = iswhite(mover) ? WPAWN : BPAWN;  // the antichess family promotes to any man
    key ^= zpiece[13 * from + pawn] ^ zpiece[13 * to + mover];
  }
  key ^= zmove;
  if (epcapture == 1) {
    if (mover == WPAWN) key ^= zpiece[13 * (to - 8) + BPAWN];
    if (mover == BPAWN) key ^= zpiece[13 * (to + 8) + WPAWN];
  }
  if (mover == WKING && to == from - 2) key ^= zpiece[13 * SQA1 + WROOK] ^ zpiece[13 * (to + 1) + WROOK];
  if (mover == WKING && to == from + 2) key ^= zpiece[13 * SQH1 + WROOK] ^ zpiece[13 * (to - 1) + WROOK];
  if (mover == BKING && to == from - 2) key ^= zpiece[13 * SQA8 + BROOK] ^ zpiece[13 * (to + 1) + BROOK];
  if (mover == BKING && to == from + 2) key ^= zpiece[13 * SQH8 + BROOK] ^ zpiece[13 * (to - 1) + BROOK];
  if (captured > 0) key ^= zpiece[13 * to + captured];
  return key;
}

// The key changes that close every board move: rights lost, the 3check counter, en passant.
static uint64_t closingkey(uint64_t key, int arightlost, int hrightlost, int epbefore, int epafter, int checkindex) {
  if (arightlost == 1 || arightlost == 3) key ^= zcastle[arightlost];
  if (hrightlost == 2 || hrightlost == 4) key ^= zcastle[hrightlost];
  if (threecheckmode && checkindex >= 1 && checkindex <= 4) key ^= zcheck[checkindex];
  if (epbefore == 1) key ^= zcastle[ZEP];
  if (epafter == 1) key ^= zcastle[ZEP];
  return key;
}

// The key after a move that has just been made on the board. arightlost is 1 (white) or 3
// (black) when the move cleared an a-side right, hrightlost 2 or 4 for an h-side right;
// checkindex names the 3check counter the move raised (0 for none).
uint64_t updatekey(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                   int hrightlost, int epbefore, int epafter, int epcapture, int checkindex) {
  assert(isnull == 1 || (to >= 1 && to <= 64 && from >= -BKING && from <= 64 && from != 0));
  assert(captured >= EMPTY && captured <= BKING && checkindex >= 0 && checkindex <= 4);
  if (isnull == 1) return epbefore == 1 ? key ^ zmove ^ zcastle[ZEP] : key ^ zmove;
  if (from < 0) {
    key ^= zpiece[13 * to - from] ^ zmove;
    return epbefore == 1 ? key ^ zcastle[ZEP] : key;
  }
  key = boardmovekey(key, from, to, captured, promoted, epcapture);
  return closingkey(key, arightlost, hrightlost, epbefore, epafter, checkindex);
}

// updatekey for crazyhouse, with the hands as they are after the move: a drop takes the n-th man
// of its code out of the hand, a capture puts the captured man (a pawn when it was pawn-born,
// pawnbornsquare > 0) into the captor's hand as its newest man of that code.
uint64_t updatekeycrazy(uint64_t key, int from, int to, int captured, int isnull, int promoted, int arightlost,
                        int hrightlost, int epbefore, int epafter, int epcapture, int checkindex, const int *whitehand,
                        const int *blackhand, int pawnbornsquare) {
  if (isnull == 1) return updatekey(key, from, to, captured, 1, 0, 0, 0, epbefore, 0, 0, 0);
  if (from < 0) {
    int code = -from;
    int n = handcount(iswhite(code) ? whitehand : blackhand, code) + 1;
    if (n <= 16) key ^= zhand[17 * code + n];
    return updatekey(key, from, to, 0, 0, 0, 0, 0, epbefore, 0, 0, 0);
  }
  key = updatekey(key, from, to, captured, 0, promoted, arightlost, hrightlost, epbefore, epafter, epcapture,
                  checkindex);
  bool white = iswhite(board[to]);
  const int *hand = white ? whitehand : blackhand;
  int gained = 0;
  if (epcapture == 1)
    gained = white ? WPAWN : BPAWN;
  else if (captured > 0 && captured != WKING && captured != BKING)
    gained = pawnbornsquare > 0 ? (white ? WPAWN : BPAWN) : (white ? captured - BLACKOFFSET : captured + BLACKOFFSET);
  if (gained) {
    int n = handcount(hand, gained);
    if (n >= 1 && n <= 16) key ^= zhand[17 * gained + n];
  }
  return key;
}

// The key after a move that makemove has just made, from its undo record: the rights it cleared,
// its capture, promotion and en passant, with the hands in crazyhouse. epbefore and epafter say
// whether en passant was possible before and is possible after it; checkindex names the 3check
// counter it raised (0 for none).
uint64_t keyaftermove(uint64_t key, const moveundo *undo, int epbefore, int epafter, int checkindex,
                      const int *wheld, const int *bheld) {
  int arightlost = undo->wrightlost_a ? 1 : (undo->brightlost_a ? 3 : 0);
  int hrightlost = undo->wrightlost_h ? 2 : (undo->brightlost_h ? 4 : 0);
  if (crazymode)
    return updatekeycrazy(key, undo->from, undo->to, undo->captured, 0, undo->promoted, arightlost, hrightlost,
                          epbefore, epafter, undo->epcapture, checkindex, wheld, bheld, undo->pawnbornsquare);
  return updatekey(key, undo->from, undo->to, undo->captured, 0, undo->promoted, arightlost, hrightlost, epbefore,
                   epafter, undo->epcapture, checkindex);
}

// Allocates the table of HASHBASEENTRIES * factor entries, cleared; answers 0 when the memory could
// not be had (the table is then absent and every probe misses). The memory comes zeroed and
// unbacked: it costs nothing while nothing is written to it.
int allocatetable(int factor) {
  freetable();
  long long entries = (long long)HASHBASEENTRIES * (factor > 0 ? factor : 1);
  transtable = (hashentry *)allocatepages((size_t)entries * sizeof(hashentry));
  if (!transtable) return 0;
  hashentries = entries;
  tablestate = TABLECLEAR;
  return 1;
}

// Releases the table.
void freetable() {
  freepages(transtable, (size_t)hashentries * sizeof(hashentry));
  transtable = nullptr;
  hashentries = 0;
  tablestate = TABLECLEAR;
}

// Clears every entry whole; a table that is already clear is left untouched.
void cleartable() {
  if (tablestate == TABLECLEAR) return;
  memset(transtable, 0, (size_t)hashentries * sizeof(hashentry));
  tablestate = TABLECLEAR;
}

// Clears the stored key of every entry; the rest of each entry stays. Nothing to do while no
// entry holds a key.
void clearhashkeys() {
  if (tablestate != TABLEWRITTEN) return;
  for (long long i = 0; i < hashentries; i++) {
    transtable[i].keylo = 0;
    transtable[i].keyhi = 0;
  }
  tablestate = TABLEKEYSCLEAR;
}

// Clears the key, the best move and the depth of every entry (a new game); bound and score stay.
// Nothing to do while the table is wholly clear.
void clearhashentries() {
  if (tablestate == TABLECLEAR) return;
  for (long long i = 0; i < hashentries; i++) {
    transtable[i].keylo = 0;
    transtable[i].keyhi = 0;
    transtable[i].bestto = 0;
    transtable[i].bestfrom = 0;
    transtable[i].depth = 0;
  }
  tablestate = TABLEKEYSCLEAR;
}

// Probes the table for key at a node with the given remaining depth and window. Answers the score
// that ends the node, or PROBEMISS. The main search (mainsearch = 1) also needs a stored depth of
// at least the remaining depth.
int probehash(uint64_t key, int depth, int alpha, int beta, int ply, int mainsearch) {
  assert(ply >= 1 && ply < MAXPLY && alpha < beta);
  if (tablestate != TABLEWRITTEN) return PROBEMISS;  // no entry holds a key: nothing can match
  const hashentry &entry = transtable[key % (uint64_t)hashentries];
  if (entry.keylo != (uint32_t)key || entry.keyhi != ~(uint32_t)(key >> 32)) return PROBEMISS;
  if (mainsearch && entry.depth < depth) return PROBEMISS;
  int s = entry.score;
  if (entry.bound == BOUNDLOWER && s >= beta) {
    hashcuts++;
    return beta;
  }
  if (entry.bound == BOUNDUPPER && alpha >= s) return alpha;
  if (entry.bound == BOUNDMATE) return KINGSCORE - ply;
  if (entry.bound == BOUNDEXACT) {
    if (s < alpha) return alpha;
    if (s > alpha && s <= beta) return s;
    if (s > beta) return beta;
  }
  return PROBEMISS;
}

int tableage = 0;

// The entry that holds key, or null when its slot holds another position or the table is absent.
const hashentry *findentry(uint64_t key) {
  if (tablestate != TABLEWRITTEN || !transtable) return nullptr;
  const hashentry *entry = &transtable[key % (uint64_t)hashentries];
  if (entry->keylo != (uint32_t)key || entry->keyhi != ~(uint32_t)(key >> 32)) return nullptr;
  return entry;
}

// Writes what a full-strength node found into key's slot. An entry of the current search for
// another position stays while it was searched more than two plies deeper; a store for the same
// position without a move keeps the move it had. A cleared entry (high word 0) is always free.
void storeentry(uint64_t key, int depth, int bound, int score, int from, int to) {
  if (!transtable) return;
  hashentry *entry = &transtable[key % (uint64_t)hashentries];
  int same = entry->keylo == (uint32_t)key && entry->keyhi == ~(uint32_t)(key >> 32);
  if (!same && entry->keyhi != 0 && entry->unused == tableage && entry->depth > depth + 2) return;
  if (!same || from != 0 || to != 0) {
    entry->bestfrom = from;
    entry->bestto = to;
  }
  entry->keylo = (uint32_t)key;
  entry->keyhi = ~(uint32_t)(key >> 32);
  entry->bound = bound;
  entry->depth = depth;
  entry->score = score;
  entry->unused = tableage;
  tablestate = TABLEWRITTEN;
}
