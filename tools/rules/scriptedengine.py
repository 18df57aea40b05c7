#!/usr/bin/env python3
"""An xboard engine that writes what its command line tells it to, for checking the match runner's
fault detection: each argument is the answer to the next "go" or move it receives in a game, with
"|" between the lines of one answer and "_" for a blank (such as "move_a1a8|1-0|1/2-1/2_(Stalemate)"),
since the runner splits a command line on blanks. "new" starts the list again; other commands are
read and ignored."""

import re
import sys

MOVE = re.compile(r"^[a-h][1-8][a-h][1-8][qrbnk]?$")


def main():
    answers = sys.argv[1:]
    given = 0
    for line in sys.stdin:
        word = line.strip()
        if word == "protover 2":
            print('feature myname="scripted" setboard=1 variants="normal" done=1')
        elif word == "new":
            given = 0
        elif word == "quit":
            break
        elif word == "go" or MOVE.match(word):
            if given < len(answers):
                print("\n".join(answers[given].replace("_", " ").split("|")))
                given += 1
        sys.stdout.flush()


if __name__ == "__main__":
    main()
