#!/usr/bin/env python3
"""Checks that the match runner (tools/match.py) sees the faults of a game's end: it plays
tools/rules/scriptedengine.py in korvel's place against fairy-stockfish at full strength from two
mate-in-one positions, once with each answer below, and passes when the runner reports exactly the
expected faults (and none for the right answers). Exits 0 when all is well, 1 otherwise."""

import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
MATCH = os.path.join(os.path.dirname(HERE), "match.py")
ENGINE = os.path.join(HERE, "scriptedengine.py")
WHITEMATES = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1"   # the scripted side mates with a1a8
BLACKMATES = "r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1"      # the peer mates the scripted side with a8a1

# (position, the scripted side's answers, the faults the runner must report)
CASES = [
    (WHITEMATES, "move_a1a8|1-0", []),
    (WHITEMATES, "move_a1a8|1-0|1/2-1/2_(Stalemate)",
     ["wrong result claim 1/2-1/2 (Stalemate) after 1 plies", "double result: 1-0 then 1/2-1/2 (Stalemate)"]),
    (BLACKMATES, "0-1", []),
    (BLACKMATES, "move_g1f1", ["move g1f1 written after the game's end (mate)"]),
    (BLACKMATES, "0-1|move_g1f1", ["move g1f1 written after the game's end (mate)"]),
    (BLACKMATES, "1-0", ["wrong result claim 1-0 after 1 plies"]),
]


def faults(fen, answers):
    """The korvel faults the runner reports for one game of the scripted side."""
    run = subprocess.run([sys.executable, MATCH, "--korvel", ENGINE, "--korvel-args", answers, "--skill", "20",
                          "--fen", fen, "--games", "1", "--tc", "5+0", "--variants", "normal"],
                         capture_output=True, text=True, timeout=60)
    found = re.search(r"korvel faults: (.*); peer faults:", run.stdout)
    return (found.group(1).split("; ") if found and found.group(1) != "none" else []), run.returncode


def main():
    bad = 0
    for fen, answers, expected in CASES:
        got, status = faults(fen, answers)
        ok = got == expected and status == (1 if expected else 0)
        bad += not ok
        print("%s %s: %s" % ("ok  " if ok else "FAIL", answers, "; ".join(got) or "no fault"))
    print("runner check: %d of %d cases wrong" % (bad, len(CASES)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
