// The relative-weights files: korvel.rc for the atomic engine (its reader also reads the absolute
// file and lists the atomic weights in force) and korvel2.rc for the regular engine. A setting line
// changes its settings in steps of ten per cent.
#include "config/config.h"
#include "config/configfile.h"

#include "board/board.h"

constexpr char PAWNADVANCEKEY = 'x';    // the key that steps both pawn tables
constexpr int SETTINGLINE = 5;          // characters of a setting line: letter, any, sign, any, digit
constexpr int SIGNAT = 2;               // where the sign stands in a setting line
constexpr int STEPAT = 4;               // where the step's digit stands
constexpr int STEPSPERWHOLE = 10;       // a step is a tenth of the value
static const char regularrcname[] = "korvel2.rc";

static const keyset regularkeys = {regularvalue, PIECEKEYS, nullptr, 0};

// What the atomic listing ends with: what each weight does.
static const char atomichelp[] =
    "\nx increases or decreases agressiveness of pawn advances. It can only be changed in the korvel.rc file, not rc2."
    "\ny or passedbonus = passed bonus, points for getting a passed pawn."
    "\nz or castlebonus = castle bonus. points for castling.  "
    "If korvel knows it should castle it will develop better is the theory by moving pieces out of the catle path."
    "\nh or checklevel = at what depth check extensions are turned on. Set it high they never come on. "
    "You can start check extensions at depth 1 at the minimum. "
    "I.e. search one extra depth for root moves that put the king in check. "
    "If you increase h it will not extend for check tell it reaches that level which gives more general depth."
    "\ni or rookingbonus = connected rook king bonus."
    "\nj kingkingbonus = connected king king bonus ( for losing side )"
    "\nk or randombonus = randombonus ( korvel has this but random is not on without the rand program artgument.  "
    "+9 more random, -9 less, or set a value in the korvel.rc2 file."
    "\nl or bishopkingbonus = connected bishop king bonus. Points for getting bishop adjacent to the king."
    "\nm or queencheckbonus = value of queen putting king in check."
    "\na or kingpawnpenalty = penalty for losing the pawn in kings file its own or the opponents"
    "\no or sidekingpawnpenalty = penalty for losing pawn in file next to king ( right left , its own or opponents)"
    "\n\n";

// v changed by step tenths of itself, truncated toward zero (135 and 3 give 175, 135 and -3 give 95),
// held within the weight range.
static int stepvalue(int v, int step) {
  return holdweight((long long)v + (long long)v * step / STEPSPERWHOLE);
}

// The step of a setting line: its digit 1..9, negative after a '-' sign; 0 when the line has no
// valid step (a zero or no digit), which changes nothing.
static int linestep(const char *line) {
  int digit = line[STEPAT] >= '1' && line[STEPAT] <= '9' ? line[STEPAT] - '0' : 0;
  return line[SIGNAT] == '-' ? -digit : digit;
}

// Steps every square of a pair of pawn tables: White's by step, Black's (zero or below) by the
// opposite step, so that a positive step makes pawns of both colours press forward harder.
static void steppawntables(int *whitetable, int *blacktable, int step) {
  for (int sq = 1; sq <= 64; sq++) {
    whitetable[sq] = stepvalue(whitetable[sq], step);
    blacktable[sq] = stepvalue(blacktable[sq], -step);
  }
}

// Reads the relative file name, if it is there, applying its setting lines one after the other to
// the settings of keys and, for the key x, to the two pawn tables. A line that is not exactly five
// characters long is no setting line; it is passed over and reading goes on with the next line.
// Answers 1 when a line with the key x was read, even one with an invalid step.
static int readrelativefile(const char *name, const keyset *keys, int *whitetable, int *blacktable) {
  FILE *file = openconfigfile(datafile(name, CONFIGFILE));
  if (!file) return 0;
  int pawnadvance = 0;
  char line[RELATIVEKEEP + 1];
  int length;
  while ((length = readconfigline(file, line, RELATIVEKEEP)) >= 0) {
    if (length != SETTINGLINE) continue;
    int step = linestep(line);
    if (line[0] == PAWNADVANCEKEY) {
      pawnadvance = 1;
      if (step) steppawntables(whitetable, blacktable, step);
      continue;
    }
    int *targets[MAXTARGETS];
    int count = step ? findkey(keys, line, 1, targets) : 0;
    for (int i = 0; i < count; i++) *targets[i] = stepvalue(*targets[i], step);
  }
  fclose(file);
  return pawnadvance;
}

// Lists the atomic weights in force and what each of them does.
static void printatomiclisting(int pawnadvance) {
  output("\nIn the korvel.rc2 file you can use the letter and below it the value ");
  output("or you can use the name of the bonus such as 'h' or 'checklevel' both work\n");
  output("\np or pawn is %d", piecevalue[WPAWN]);
  output("\nn or knight is %d", piecevalue[WKNIGHT]);
  output("\nb or bishop is %d", piecevalue[WBISHOP]);
  output("\nr or rook is %d", piecevalue[WROOK]);
  output("\nq or queen is %d", piecevalue[WQUEEN]);
  output("\ny or passedbonus is %d", passedbonus);
  output("\nz or casltebonus is %d", castlebonus);
  output("\nh or checklevel is %d", checklevel);
  output("\ni or rookkingbonus is %d", rookkingbonus);
  output("\nj or kingkingbonus is %d", kingkingbonus);
  output("\nk or randombonus is %d", randombonus);
  output("\nl or bishopkingbonus is %d", bishopkingbonus);
  output("\nm or queencheckbonus is %d", queencheckbonus);
  output("\na or kingpawnpenalty is %d", kingpawnpenalty);
  output("\no or sidekingpawnpentalty is %d", sidekingpawnpenalty);
  printclamped();
  output("\n\n");
  if (pawnadvance) output("\n\npawn advance modified\n");
  output("%s", atomichelp);
}

// Reads the atomic engine's relative file (named by rcname), then its absolute file, and lists the
// atomic weights in force, whether or not either file was there.
void readrc() {
  int pawnadvance = readrelativefile(rcname, &atomicrelativekeys, wpawnadvance, bpawnadvance);
  readrc2();
  printatomiclisting(pawnadvance);
}

// Reads the regular engine's relative file and lists its material values, whether or not the
// file was there.
void readregularrc() {
  output("\n\n\n\n\n korvel regular values, be sure to type quit, "
         "to close the program as that frees the hash tables memory. \n\n\n");
  int pawnadvance = readrelativefile(regularrcname, &regularkeys, pawntable, bpawntable);
  output("korvel regular material values: p %d n %d b %d r %d q %d\n", regularvalue[WPAWN], regularvalue[WKNIGHT],
         regularvalue[WBISHOP], regularvalue[WROOK], regularvalue[WQUEEN]);
  if (pawnadvance) output("korvel regular pawn advance modified\n");
  printclamped();
  output("\nbe sure to type quit to close the program as that frees the hash memory.  "
         "if opened with winboard then winboard will send quit.");
}
