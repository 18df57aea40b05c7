#!/usr/bin/env python3
"""Checks reference perft numbers against the rules references that know the variant.

  atomic      chessops (tools/rules/rules.mjs) and stockfish.js's "go perft"
  giveaway    fairy-stockfish's giveaway
  suicide     fairy-stockfish's antichess, chessops' antichess and stockfish.js's antichess (which
              stockfish.js calls giveaway)
  losers      fairy-stockfish's losers

These are the variants whose rules agree with korvel's (see REFEREE in tools/match.py).

  python3 tools/rules/perftcheck.py [FILE ...] [--npm DIR]

FILE defaults to tools/perft-atomic.txt and tools/perft-antichess.txt, in the format of
tools/perft-positions.txt (variant;fen;depth;expected). Prints every position with each
reference's count and exits with status 1 when the first reference's count differs from the
expected one (the others are second opinions: their differences are shown, not counted); a line
whose expected count is "fairy" has none and is printed with the counts found, ready to be written
down.
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
sys.path.insert(0, TOOLS)
from match import FSF, NODE, REFEREE, RULESCLI, STOCKFISHJS, Proc   # noqa: E402
from perftsuite import read_positions                     # noqa: E402

PERFTTIME = 900   # seconds one count may take
# Per variant: the references as (engine, its name of the variant).
REFERENCES = {"atomic": [("chessops", "atomic"), ("stockfish.js", "atomic")],
              "giveaway": [("fairy-stockfish", REFEREE["giveaway"][1])],
              "suicide": [("fairy-stockfish", REFEREE["suicide"][1]), ("chessops", "antichess"),
                          ("stockfish.js", "giveaway")],
              "losers": [("fairy-stockfish", REFEREE["losers"][1])]}


class UciPerft:
    """A UCI engine that counts with "go perft", kept open for the whole run."""

    def __init__(self, argv, name):
        self.name = name
        self.proc = Proc(argv, name)
        self.proc.send("uci\n")
        self.variant = None

    def count(self, variant, fen, depth):
        """The engine's count of a position in its name of the variant."""
        if variant != self.variant:
            self.proc.send("setoption name UCI_Variant value %s\n" % variant)
            self.variant = variant
        self.proc.send("position fen %s\ngo perft %d\n" % (fen, depth))
        lines = self.proc.waitfor("Nodes searched", PERFTTIME)
        if lines is None:
            raise RuntimeError("%s gave no count" % self.name)
        return int(lines[-1].split(":")[1])

    def close(self):
        self.proc.close()


class ChessopsPerft:
    """chessops through the rules reference's perft command."""

    def __init__(self, npm):
        self.name = "chessops"
        self.npm = npm

    def count(self, variant, fen, depth):
        """chessops' count of a position."""
        done = subprocess.run([NODE, RULESCLI, "perft", "--variant", variant, "--fen", fen, "--depth", str(depth),
                               "--npm", self.npm], capture_output=True, text=True, timeout=PERFTTIME)
        if done.returncode != 0:
            raise RuntimeError("chessops: %s" % done.stderr.strip())
        return int(done.stdout.split()[-1])

    def close(self):
        pass


def main():
    """Checks every position of the files; returns the exit status."""
    parser = argparse.ArgumentParser(description="reference perft numbers against the rules references")
    parser.add_argument("files", nargs="*", default=[os.path.join(TOOLS, "perft-atomic.txt"),
                                                      os.path.join(TOOLS, "perft-antichess.txt")])
    parser.add_argument("--npm", default=os.path.join(os.path.dirname(TOOLS), "build", "npm"))
    args = parser.parse_args()
    engines = {"chessops": ChessopsPerft(args.npm),
               "fairy-stockfish": UciPerft([FSF], "fairy-stockfish"),
               "stockfish.js": UciPerft([NODE, STOCKFISHJS, "--npm", args.npm], "stockfish.js")}
    differences = 0
    try:
        for path in args.files:
            for position in read_positions(path):
                variant, fen, depth, expected = (position[k] for k in ("variant", "fen", "depth", "expected"))
                counts = [(engine, engines[engine].count(name, fen, depth)) for engine, name in REFERENCES[variant]]
                reference = counts[0][1]
                wrong = expected is not None and reference != expected
                others = [engine for engine, count in counts[1:] if count != reference]
                differences += wrong
                print("%s;%s;%d;%s   %s%s%s" % (
                    variant, fen, depth, expected if expected is not None else reference,
                    ", ".join("%s %d" % c for c in counts), "   DIFFERS FROM THE EXPECTED COUNT" if wrong else "",
                    "   (second opinion differs: %s)" % ", ".join(others) if others else ""), flush=True)
    finally:
        for engine in engines.values():
            engine.close()
    print("%d positions differ" % differences)
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
