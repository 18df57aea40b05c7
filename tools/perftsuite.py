#!/usr/bin/env python3
"""Perft suite: runs korvel-perft on the positions of tools/perft-positions.txt and compares the
counts with the expected numbers (published ones for normal chess, fairy-stockfish's for the
variants). fairy-stockfish runs the same positions in the same run for a speed comparison.

  python3 tools/perftsuite.py            quick: only the lines expecting at most --quicklimit nodes
  python3 tools/perftsuite.py --deep     every line (tens of millions of nodes per position)

Exit status 1 when any count differs from the expected one (or from fairy-stockfish's), 2 on
bad usage or a missing binary. The column kv/fs is Korvel's speed divided by fairy-stockfish's
(above 1: Korvel counts faster). Both times are those of the count alone, without start-up.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FAIRY_NAMES = ["/usr/games/fairy-stockfish", "fairy-stockfish"]
STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
QUICK_LIMIT = 300000


def read_positions(path):
    """Lines variant;fen;depth;expected. '#' starts a comment; 'startpos' stands for the starting
    position; an expected count of 'fairy' is taken from fairy-stockfish in the same run."""
    positions = []
    with open(path) as handle:
        for number, line in enumerate(handle, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            parts = [part.strip() for part in line.split(";")]
            if len(parts) != 4:
                sys.exit("%s:%d: expected variant;fen;depth;expected" % (path, number))
            variant, fen, depth, expected = parts
            positions.append({
                "variant": variant,
                "fen": STARTFEN if fen == "startpos" else fen,
                "depth": int(depth),
                "expected": None if expected == "fairy" else int(expected),
                "line": number,
            })
    return positions


def run_korvel(binary, variant, fen, depth, divide=False):
    """Runs korvel-perft; returns (count, seconds) or (None, message), or the divide table
    with the seconds."""
    command = [binary, "--variant", variant, "--fen", fen, "--depth", str(depth)]
    if divide:
        command.append("--divide")
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True)
    seconds = time.monotonic() - start
    if result.returncode != 0:
        return None, result.stderr.strip() or "exit status %d" % result.returncode
    lines = result.stdout.strip().splitlines()
    # The tool reports the time of the count itself, without its start-up.
    for line in result.stderr.splitlines():
        if line.startswith("time ") and line.split()[1].isdigit():
            seconds = int(line.split()[1]) / 1000.0
    if divide:
        return parse_divide(lines), seconds
    return int(lines[-1]), seconds


def parse_divide(lines):
    """Root move -> count from lines "move: count"."""
    table = {}
    for line in lines:
        if ":" in line:
            move, count = line.split(":", 1)
            if count.strip().isdigit():
                table[move.strip()] = int(count)
    return table


class Fairy:
    """One fairy-stockfish process kept open for the whole run."""

    def __init__(self, path):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.variant = None
        self.send("uci")
        self.wait_for("uciok")

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def wait_for(self, prefix):
        lines = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("fairy-stockfish ended unexpectedly")
            line = line.strip()
            lines.append(line)
            if line.startswith(prefix):
                return lines

    def perft(self, variant, fen, depth):
        """Returns (count, seconds, divide table)."""
        fairy_variant = "chess" if variant in ("normal", "wildcastle") else variant
        if fairy_variant != self.variant:
            self.send("setoption name UCI_Variant value " + fairy_variant)
            self.variant = fairy_variant
        self.send("position fen " + fen)
        self.send("isready")
        self.wait_for("readyok")
        start = time.monotonic()
        self.send("go perft %d" % depth)
        lines = self.wait_for("Nodes searched")
        seconds = time.monotonic() - start
        return int(lines[-1].split(":")[1]), seconds, parse_divide(lines[:-1])

    def close(self):
        try:
            self.send("quit")
            self.process.wait(timeout=5)
        except Exception:
            self.process.kill()


def find_fairy():
    for name in FAIRY_NAMES:
        found = shutil.which(name)
        if found:
            return found
    return None


def rate(nodes, seconds):
    return nodes / seconds if seconds > 0 else 0.0


def show_divide_difference(binary, fairy, position):
    """Prints the root moves whose counts differ from fairy-stockfish's, to help bisect a fault."""
    ours, _ = run_korvel(binary, position["variant"], position["fen"], position["depth"], divide=True)
    if ours is None:
        return
    _, _, theirs = fairy.perft(position["variant"], position["fen"], position["depth"])
    for move in sorted(set(ours) | set(theirs)):
        if ours.get(move) != theirs.get(move):
            print("    %-8s korvel %-12s fairy-stockfish %s" % (move, ours.get(move, "-"), theirs.get(move, "-")))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--deep", action="store_true", help="run every line, not only the small ones")
    parser.add_argument("--binary", default=os.path.join(ROOT, "build", "korvel-perft"), help="korvel-perft to test")
    parser.add_argument("--positions", default=os.path.join(HERE, "perft-positions.txt"))
    parser.add_argument("--quicklimit", type=int, default=QUICK_LIMIT,
                        help="quick mode runs the lines expecting at most this many nodes")
    parser.add_argument("--no-fairy", action="store_true", help="do not run fairy-stockfish")
    args = parser.parse_args()

    if not os.access(args.binary, os.X_OK):
        print("perftsuite: no korvel-perft at %s (build it first)" % args.binary, file=sys.stderr)
        return 2
    positions = read_positions(args.positions)
    fairy_path = None if args.no_fairy else find_fairy()
    fairy = Fairy(fairy_path) if fairy_path else None
    if not fairy and not args.no_fairy:
        print("perftsuite: fairy-stockfish not found; comparing with recorded numbers only")

    header = "%-10s %-62s %2s %12s %12s %8s %11s %8s %11s %6s" % (
        "variant", "fen", "d", "korvel", "expected", "time", "nodes/s", "fs time", "fs nodes/s", "kv/fs")
    print(header)
    failures = 0
    total_ours = total_ours_time = total_fairy = total_fairy_time = 0.0
    for position in positions:
        if not args.deep and (position["expected"] is None or position["expected"] > args.quicklimit):
            continue
        count, seconds = run_korvel(args.binary, position["variant"], position["fen"], position["depth"])
        expected = position["expected"]
        fairy_text = "%8s %11s %6s" % ("-", "-", "-")
        fairy_count = None
        if fairy:
            fairy_count, fairy_seconds, _ = fairy.perft(position["variant"], position["fen"], position["depth"])
            if expected is None:
                expected = fairy_count
            if count is not None:
                ratio = "-"
                if seconds > 0 and fairy_seconds > 0 and fairy_count:
                    ratio = "%.2f" % (rate(count, seconds) / rate(fairy_count, fairy_seconds))
                fairy_text = "%8.2f %11.0f %6s" % (fairy_seconds, rate(fairy_count, fairy_seconds), ratio)
                total_fairy += fairy_count
                total_fairy_time += fairy_seconds
        fen_text = position["fen"] if len(position["fen"]) <= 62 else position["fen"][:59] + "..."
        if count is None:
            print("%-10s %-62s %2d  ERROR: %s" % (position["variant"], fen_text, position["depth"], seconds))
            failures += 1
            continue
        total_ours += count
        total_ours_time += seconds
        status = ""
        if expected is None:
            status = "  (no expected count: fairy-stockfish missing)"
        elif count != expected:
            status = "  MISMATCH"
            failures += 1
        if fairy_count is not None and position["expected"] is not None and fairy_count != position["expected"]:
            status += "  (fairy-stockfish counts %d)" % fairy_count
        speed = "%11.0f" % rate(count, seconds) if seconds > 0 else "%11s" % "-"
        print("%-10s %-62s %2d %12d %12s %8.2f %s %s%s" % (
            position["variant"], fen_text, position["depth"], count, expected if expected is not None else "?",
            seconds, speed, fairy_text, status))
        if "MISMATCH" in status and fairy:
            show_divide_difference(args.binary, fairy, position)
    if total_ours_time > 0:
        line = "total: korvel %d nodes in %.2f s, %.0f nodes/s" % (total_ours, total_ours_time,
                                                                    rate(total_ours, total_ours_time))
        if total_fairy_time > 0:
            line += "; fairy-stockfish %d nodes in %.2f s, %.0f nodes/s; korvel/fairy-stockfish speed %.2f" % (
                total_fairy, total_fairy_time, rate(total_fairy, total_fairy_time),
                rate(total_ours, total_ours_time) / rate(total_fairy, total_fairy_time))
        print(line)
    if fairy:
        fairy.close()
    print("perft: %s" % ("all counts match" if failures == 0 else "%d mismatch(es)" % failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
