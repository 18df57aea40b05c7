// Where the book and configuration files are found. The folder the engine is started in comes
// first, so a folder of its own files always wins; a file that is not there is looked for in the
// user's own folder (configuration files only) and then in the installed data folder, so that an
// installed engine started from any folder still has its books.
#include "config/config.h"

#include "board/board.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#ifndef KORVEL_DATADIR
#define KORVEL_DATADIR ""                // no data folder compiled in
#endif

constexpr int PATHSIZE = 4096;          // bytes of a folder and a file name joined
constexpr int FOLDERS = 2;              // folders looked in after the start folder

static char foundpath[PATHSIZE];        // the path datafile answered last

// 1 when path names a plain file: a folder, a pipe or a device of that name is not the file.
static int isplainfile(const char *path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// The installed data folder: KORVEL_DATADIR in the environment when it is set (empty switches the
// data folder off, as the tests do), else the folder compiled in. Empty when there is none.
static const char *datafolder() {
  const char *folder = getenv("KORVEL_DATADIR");
  return folder ? folder : KORVEL_DATADIR;
}

// The user's own configuration folder, written into folder: $XDG_CONFIG_HOME/korvel, or
// ~/.config/korvel when that is unset or not an absolute path. Empty without either.
static void userfolder(char *folder, int size) {
  const char *config = getenv("XDG_CONFIG_HOME");
  const char *home = getenv("HOME");
  folder[0] = 0;
  if (config && config[0] == '/') {
    snprintf(folder, size, "%s/korvel", config);
  } else if (home && home[0]) {
    snprintf(folder, size, "%s/.config/korvel", home);
  }
}

// The path to open for the file name of the given kind (BOOKFILE or CONFIGFILE): the name itself
// when the start folder holds it, else the first folder that does (for a configuration file the
// user's folder, then the data folder; for a book the data folder), with a line that says which
// folder it came from. A name with a slash in it is a path the user chose and is taken as it
// stands; so is a name found nowhere, which the reader then finds missing. Null for no name.
const char *datafile(const char *name, int kind) {
  if (!name || !name[0] || strchr(name, '/') || isplainfile(name)) return name;
  char folders[FOLDERS][PATHSIZE];
  folders[0][0] = 0;
  if (kind == CONFIGFILE) userfolder(folders[0], PATHSIZE);
  snprintf(folders[1], PATHSIZE, "%s", datafolder());
  for (int i = 0; i < FOLDERS; i++) {
    if (!folders[i][0]) continue;
    int length = snprintf(foundpath, PATHSIZE, "%s/%s", folders[i], name);
    if (length >= PATHSIZE || !isplainfile(foundpath)) continue;
    output("\n%s found in %s\n", name, folders[i]);
    return foundpath;
  }
  return name;
}
