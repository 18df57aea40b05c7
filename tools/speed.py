#!/usr/bin/env python3
"""Korvel's speed beside fairy-stockfish's, measured in one run on the same machine:

  - korvel-bench (nodes/s per engine) and `fairy-stockfish bench`, and their ratio;
  - perft nodes/s of korvel-perft and fairy-stockfish on the start position (depth 6) and
    kiwipete (depth 5), unless --no-perft.

  python3 tools/speed.py [--build build] [--no-perft]

The machine may be shared: run it a few times and compare like with like. Exit status 2 when a
binary is missing."""
import argparse
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from perftsuite import Fairy, find_fairy, run_korvel  # noqa: E402

PERFT_POSITIONS = [
    ("start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6),
    ("kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5),
]


def korvel_bench(build):
    """Engine name -> nodes/s from korvel-bench's engine lines."""
    out = subprocess.run([os.path.join(build, "korvel-bench")], capture_output=True, text=True).stdout
    return {m.group(1): int(m.group(2)) for m in re.finditer(r"^Engine (\w+): nodes/second (\d+)$", out, re.M)}


def fairy_bench(fairy):
    """fairy-stockfish's own bench: nodes/s."""
    result = subprocess.run([fairy, "bench"], capture_output=True, text=True)
    found = re.search(r"Nodes/second\s*:\s*(\d+)", result.stdout + result.stderr)
    return int(found.group(1)) if found else None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="folder holding korvel-bench and korvel-perft")
    parser.add_argument("--no-perft", action="store_true", help="only the benches")
    args = parser.parse_args()
    fairy = find_fairy()
    if not fairy or not os.path.exists(os.path.join(args.build, "korvel-bench")):
        print("speed: korvel-bench or fairy-stockfish missing", file=sys.stderr)
        return 2
    engines = korvel_bench(args.build)
    fairynps = fairy_bench(fairy)
    print("fairy-stockfish bench: %s nodes/s" % fairynps)
    for engine, nps in engines.items():
        ratio = "%.3f" % (nps / fairynps) if fairynps else "-"
        print("korvel-bench %-10s %10d nodes/s   korvel/fairy-stockfish %s" % (engine, nps, ratio))
    if args.no_perft:
        return 0
    peer = Fairy(fairy)
    try:
        for name, fen, depth in PERFT_POSITIONS:
            count, seconds = run_korvel(os.path.join(args.build, "korvel-perft"), "normal", fen, depth)
            fcount, fseconds, _ = peer.perft("normal", fen, depth)
            knps = count / seconds if count and seconds else 0
            fnps = fcount / fseconds if fseconds else 0
            print("perft %-8s depth %d: korvel %d nodes %.0f nodes/s, fairy-stockfish %d nodes %.0f nodes/s, "
                  "ratio %.3f" % (name, depth, count or 0, knps, fcount, fnps, knps / fnps if fnps else 0))
    finally:
        peer.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
