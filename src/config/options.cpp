// The command-line options: each word of the command line is put through every test below, in
// order; a word that passes a test sets its setting and confirms it with a line of its own. Words
// that pass no test are ignored without a word. Options are case-sensitive.
#include "config/config.h"
#include "config/configfile.h"

#include "board/board.h"

#include <cstring>

constexpr int OPTIONMAXLENGTH = 199;    // longest word a prefix option takes
constexpr int BOOKMOVESMINLENGTH = 5;   // "mbm-" and at least one character
constexpr int NAMEMINLENGTH = 6;        // a name prefix and at least three characters
constexpr int DEPTHWORDLENGTH = 5;      // "mxA-3"
constexpr int DEPTHPREFIXLENGTH = 4;    // "mxA-"
constexpr char SPACEMARK = '#';         // stands for a space in a file name on the command line
constexpr int MINFIXEDTIME = 250;       // shortest per-game budget in milliseconds
constexpr int MAXFIXEDTIME = 60000;     // longest per-game budget in milliseconds
static const char bookmovesprefix[] = "mbm-";
static const int hashfactors[] = {1, 2, 4, 8, 16, 32};

// A prefix followed by a file name for one of the name buffers.
struct nameoption {
  const char *prefix;
  char **name;
  const char *message;                  // with the new name
};
static const nameoption nameoptions[] = {
    {"aw-", &atomicbookwhite, "atomicBookWhite.txt is now %s\n"},
    {"ab-", &atomicbookblack, "atomicBookBlack.txt is now %s\n"},
    {"rc-", &rcname, "korvel.rc is now %s\n"},
    {"r2-", &rc2name, "korvel.rc2 is now %s\n"},
};

// A whole word that turns a switch on.
struct switchoption {
  const char *word;
  int *flag;
  const char *message;
};
static const switchoption switchoptions[] = {
    {"fics", &ficsrules, "fics rules\n"},
    {"crazybook", &crazybook, "will use crazy books\n"},
    {"nocheckmove", &nocheckmove, "wont play random moves on move 1 in threechecks\n"},
    {"noblitzmove", &noblitzmove, "wont play random moves on move 1 in regular chess\n"},
    {"norc", &norc, "norc on\n"},
    {"rand", &randomize, "moves will be randomized\n"},
    {"mainline", &mainline, "main line will be sent to ics\n"},
    {"whisperline", &whisperline, "main line will be part of the whisper\n"},
    {"full", &fullmode, "full strength search on\n"},
};

// A depth cap: the prefix and one level digit from firstlevel to lastlevel. The cap stored is the
// level plus one, since deepening stops before the depth that equals the cap.
struct depthoption {
  const char *prefix;
  int *cap;
  int firstlevel;
  int lastlevel;
  const char *label;                    // the letter after "max depth" in the message
};
static const depthoption depthoptions[] = {
    {"mxL-", &maxdepthL, 1, 5, "L"},
    {"mxS-", &maxdepthS, 1, 5, "S"},
    {"mxC-", &maxdepthC, 1, 5, "C"},
    {"mxA-", &maxdepthA, 1, 5, "A"},
    {"mxT-", &maxdepthT, 1, 4, "T"},
    {"mxO-", &maxdepth, 1, 3, ""},
    {"mx0-", &maxdepth, 4, 4, ""},      // the fourth level of normal chess is spelled with a zero
};

// 1 when word begins with prefix and is minlength to OPTIONMAXLENGTH characters long.
static int hasprefix(const char *word, const char *prefix, int minlength) {
  int length = (int)strnlen(word, OPTIONMAXLENGTH + 1);
  return length >= minlength && length <= OPTIONMAXLENGTH && strncmp(word, prefix, strlen(prefix)) == 0;
}

// Copies text into a name buffer with each '#' turned into a space. A buffer that could not be
// allocated stays as it is.
static void copyname(char *name, const char *text) {
  if (!name) return;
  int i = 0;
  for (; text[i] && i < FILENAMESIZE - 1; i++) name[i] = text[i] == SPACEMARK ? ' ' : text[i];
  name[i] = 0;
}

// The name as the confirmation shows it: every byte that is not a printable character (a control
// byte, a newline, a byte of a character beyond ASCII) as '?', so that a word of the command line
// never writes a line of its own to the interface. The name itself keeps its bytes.
static void shownname(const char *name, char *shown) {
  int i = 0;
  for (; name[i] && i < FILENAMESIZE - 1; i++) shown[i] = name[i] >= ' ' && name[i] <= '~' ? name[i] : '?';
  shown[i] = 0;
}

// "mbm-N": the atomic book is read while the game ply is at most N (0 when N has no digits).
static void readbookmoves(const char *word) {
  if (!hasprefix(word, bookmovesprefix, BOOKMOVESMINLENGTH)) return;
  maxbookmoves = leadingnumber(word + strlen(bookmovesprefix));
  output("maxbookmoves is now %d\n", maxbookmoves);
}

// "aw-", "ab-", "rc-", "r2-" followed by a file name.
static void readnames(const char *word) {
  for (const nameoption &option : nameoptions) {
    if (!hasprefix(word, option.prefix, NAMEMINLENGTH)) continue;
    copyname(*option.name, word + strlen(option.prefix));
    char shown[FILENAMESIZE] = "";
    if (*option.name) shownname(*option.name, shown);
    output(option.message, shown);
  }
}

// The whole-word switches.
static void readswitches(const char *word) {
  for (const switchoption &option : switchoptions) {
    if (strcmp(word, option.word) != 0) continue;
    *option.flag = 1;
    output("%s", option.message);
  }
}

// The whole-word depth caps.
static void readdepthcaps(const char *word) {
  if (strnlen(word, DEPTHWORDLENGTH + 1) != DEPTHWORDLENGTH) return;
  int level = word[DEPTHPREFIXLENGTH] - '0';
  for (const depthoption &option : depthoptions) {
    if (strncmp(word, option.prefix, DEPTHPREFIXLENGTH) != 0) continue;
    if (level < option.firstlevel || level > option.lastlevel) continue;
    *option.cap = level + 1;
    output("max depth%s is level %d\n", option.label, level);
  }
}

// A number: a table size factor (1, 2, 4, 8, 16 or 32) and, independently, a per-game thinking
// budget in milliseconds (250 to 60000). Other numbers change nothing; neither confirms.
static void readnumber(const char *word) {
  int value = leadingnumber(word);
  if (value == 0) return;
  for (int factor : hashfactors) {
    if (value == factor) hashfactor = value;
  }
  if (value >= MINFIXEDTIME && value <= MAXFIXEDTIME) fixedtime = fixedtimeleft = value;
}

// Reads the options among the arguments after the program's name, first to last; a later word
// overrides an earlier one that sets the same setting.
void readoptions(int argc, const char *const *argv) {
  output("\n");
  for (int i = 1; i < argc; i++) {
    const char *word = argv[i];
    readbookmoves(word);
    readnames(word);
    readswitches(word);
    readdepthcaps(word);
    readnumber(word);
  }
}

// The interface's engine option, "Full strength=1" or "Full strength=0" (the rest of the line after
// "option "): switches the full-strength search on or off. The table is cleared when the mode
// changes, so that neither search meets entries the other wrote. Other options are ignored.
void setengineoption(const char *text) {
  size_t length = strlen(FULLOPTIONNAME);
  if (strncmp(text, FULLOPTIONNAME, length) != 0 || text[length] != '=') return;
  int value = text[length + 1] == '1';
  if (value != fullmode) cleartable();
  fullmode = value;
}
