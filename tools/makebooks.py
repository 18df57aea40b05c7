#!/usr/bin/env python3
"""Writes the opening books of books/ from the hand-written lines of tools/bookseeds.txt.

    python3 tools/makebooks.py [--out books] [--only FILE,...] [--depth-scale X]

Every seed line is extended move by move with the best moves of an analysing engine at a fixed
depth (fairy-stockfish in normal chess, 3check, crazyhouse, giveaway/antichess and losers;
stockfish.js in atomic, whose moves chessops checks), branching into the engine's next-best moves
(those within a margin of the best) at the first plies after the seed, on the side the book answers
for. One thread and a fixed depth make every run give the same files (stockfish.js's analysis
is also cut at three seconds, which a few atomic positions reach). The weighted atomic books
repeat a line as often as its weight: fixed weights for White's first move, the engine's ranking of
the replies for the second and third plies.

A book line can only hold plain moves, so a line ends before a drop or a promotion; twokings lines
keep away from the squares where the two set-ups differ (c1, c8, f1, f8) and from king moves, and
are checked with korvel-tool in both set-ups. At the end korvel-bookcheck replays every file with
the engine's own generators; the script fails when it finds an illegal move.

Needs build/korvel-tool and build/korvel-bookcheck (make build) and, for atomic, build/npm
(scripts/setup.sh).
"""

import argparse
import json
import os
import queue
import shutil
import subprocess
import sys
import threading

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEEDS = os.path.join(ROOT, "tools", "bookseeds.txt")
FAIRY = shutil.which("fairy-stockfish") or "/usr/games/fairy-stockfish"
MATE = 100000
STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

# Twokings as korvel sets it up playing White and playing Black.
TWOKINGSFENS = ["rnkqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNKQKBNR w - - 0 1",
                "rnbqkknr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w - - 0 1"]
CASTLINGMOVES = {"e1g1", "e1c1", "e8g8", "e8c8"}

# One book: its file, the engine and variant that extend it, its seed section, how long its lines
# grow, which side branches ("white", "black" or "both"), into how many moves, for how many plies
# after the seed, within which margin (centipawns), at which depth, and the legality checks.
BOOKS = [
    # file, engine, variant, section, plies, side, width, branchplies, margin, depth
    ("bigbook.txt", "fairy", "chess", "normal", 16, "both", 2, 3, 40, 10),
    ("openbk.txt", "fairy", "chess", "normal", 14, "both", 1, 0, 0, 11),
    ("threebook.txt", "fairy", "3check", "3check", 12, "both", 2, 3, 80, 9),
    ("threeBookWhite.txt", "fairy", "3check", "3checkwhite", 12, "black", 3, 4, 100, 9),
    ("threeBookBlack.txt", "fairy", "3check", "3checkblack", 12, "white", 3, 4, 100, 9),
    ("kingsBookWhite.txt", "fairy", "twokings", "twokingswhite", 10, "black", 3, 4, 80, 9),
    ("kingsBookBlack.txt", "fairy", "twokings", "twokingsblack", 10, "white", 3, 4, 80, 9),
    ("suicideBookWhite.txt", "fairy", "antichess", "suicidewhite", 10, "black", 3, 4, 150, 9),
    ("suicideBookBlack.txt", "fairy", "antichess", "suicideblack", 10, "white", 3, 4, 150, 9),
    ("losersWhite.txt", "fairy", "losers", "loserswhite", 10, "black", 3, 4, 150, 9),
    ("losersBlack.txt", "fairy", "losers", "losersblack", 10, "white", 3, 4, 150, 9),
    ("korvelCrazyWhite.txt", "fairy", "crazyhouse", "crazywhite", 12, "black", 3, 4, 100, 9),
    ("korvelCrazyBlack.txt", "fairy", "crazyhouse", "crazyblack", 12, "white", 3, 4, 100, 9),
    ("atomicBookWhite.txt", "sfjs", "atomic", "atomicwhite", 12, "black", 3, 4, 150, 10),
    ("atomicBookBlack.txt", "sfjs", "atomic", "atomicblack", 12, "white", 3, 4, 150, 10),
]
# The weighted atomic books: the first move with the weights of its seed section, the replies with
# weights 3, 2, 1 by the engine's ranking.
WEIGHTED = [("atomicFirstMove.txt", "atomicfirst", 1), ("atomicSecondMove.txt", "atomicfirst", 2),
            ("atomicThirdMove.txt", "atomicthird", 3)]
# The variants each book's lines must be legal in, by the rules references.
REFEREES = {"antichess": ["giveaway", "antichess"], "losers": ["losers"], "chess": ["chess"],
            "3check": ["3check"], "crazyhouse": ["crazyhouse"], "twokings": ["chess"], "atomic": ["atomic"]}


# One thread and a small table for fairy-stockfish; stockfish.js hangs on either option and runs
# one thread with a small table anyway.
FAIRYOPTIONS = ["Threads value 1", "Hash value 16"]


class Uci:
    """A UCI engine on pipes: analyses a line from the starting position at a fixed depth. An
    analysis that gives no best move within the patience (seconds, None for no limit) restarts the
    engine and counts as one without moves, so that the line ends there."""

    def __init__(self, command, variant, multipv, options=FAIRYOPTIONS, cap="", patience=None):
        self.command, self.variant, self.multipv, self.options = command, variant, multipv, options
        self.cache = {}
        self.cap = cap
        self.patience = patience
        self.start()

    def start(self):
        self.process = subprocess.Popen(self.command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                        bufsize=1, cwd=ROOT)
        self.lines = queue.Queue()
        threading.Thread(target=self.read, args=(self.process.stdout, self.lines), daemon=True).start()
        self.send("uci")
        self.wait("uciok")
        for option in self.options:
            self.send("setoption name " + option)
        if self.variant != "chess":
            self.send("setoption name UCI_Variant value %s" % self.variant)
        self.send("setoption name MultiPV value %d" % self.multipv)

    @staticmethod
    def read(stdout, lines):
        for line in stdout:
            lines.put(line)
        lines.put(None)

    def send(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()

    def wait(self, word, patience=None):
        lines = []
        while True:
            line = self.lines.get(timeout=patience)
            if line is None:
                raise RuntimeError("the engine stopped")
            lines.append(line.strip())
            if line.startswith(word):
                return lines

    def ranked(self, moves, depth):
        """The engine's (move, score) list for one line, or None when it ran out of patience."""
        self.send("ucinewgame")
        self.send("isready")
        self.wait("readyok", self.patience)
        self.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
        self.send("go depth %d%s" % (depth, self.cap))
        try:
            answer = self.wait("bestmove", self.patience)
        except queue.Empty:
            print("makebooks: no answer within %d s after %s; the line ends there" % (self.patience, " ".join(moves)),
                  file=sys.stderr, flush=True)
            self.process.kill()
            self.process.wait()
            self.start()
            return None
        ranked = {}
        for line in answer:
            words = line.split()
            if words[:1] != ["info"] or "pv" not in words or "multipv" not in words or "score" not in words:
                continue
            rank = int(words[words.index("multipv") + 1])
            kind, value = words[words.index("score") + 1], int(words[words.index("score") + 2])
            score = value if kind == "cp" else (MATE - abs(value)) * (1 if value > 0 else -1)
            ranked[rank] = (words[words.index("pv") + 1], score)
        return [ranked[r] for r in sorted(ranked)]

    def analyse(self, moves, depth):
        """The engine's moves at the given depth, best first, as (move, score for the side to move)."""
        key = (tuple(moves), depth)
        if key not in self.cache:
            self.cache[key] = self.ranked(moves, depth) or []
        return self.cache[key]

    def close(self):
        self.send("quit")
        self.process.wait(timeout=10)


class Referees:
    """Legal moves of a line by the rules references: fairy-stockfish's perft 1, chessops in atomic."""

    def __init__(self):
        self.fairy = {}
        self.chessops = None

    def legal(self, variant, moves):
        if variant == "atomic":
            if self.chessops is None:
                self.chessops = subprocess.Popen(["node", os.path.join(ROOT, "tools", "rules", "rules.mjs"), "referee"],
                                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
            request = {"variant": "atomic", "fen": STARTFEN, "moves": moves[:-1]}
            self.chessops.stdin.write(json.dumps(request) + "\n")
            self.chessops.stdin.flush()
            answer = json.loads(self.chessops.stdout.readline())
            return "legal" in answer and answer["over"] is None and moves[-1] in answer["legal"]
        if variant not in self.fairy:
            self.fairy[variant] = Uci([FAIRY], variant, 1)
        engine = self.fairy[variant]
        engine.send("position startpos" + (" moves " + " ".join(moves[:-1]) if len(moves) > 1 else ""))
        engine.send("go perft 1")
        found = [line.split(":")[0] for line in engine.wait("Nodes searched") if ":" in line]
        return moves[-1] in found

    def close(self):
        for engine in self.fairy.values():
            engine.close()
        if self.chessops:
            self.chessops.stdin.close()
            self.chessops.wait(timeout=10)


def korvellegal(moves):
    """A twokings line is legal in both of korvel's set-ups, by korvel-tool."""
    tool = os.path.join(ROOT, "build", "korvel-tool")
    for fen in TWOKINGSFENS:
        run = subprocess.run([tool, "--variant", "twokings", "--fen", fen, "--moves", " ".join(moves)],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if run.returncode != 0:
            return False
    return True


def readseeds():
    """The seed sections: {name: [(weight, [moves])]}; '#' starts a comment."""
    sections, current = {}, None
    with open(SEEDS) as text:
        for line in text:
            line = line.split("#")[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], [])
                continue
            words = line.split()
            weight = int(words.pop(0)) if words[0].isdigit() else 1
            current.append((weight, words))
    return sections


def writable(variant, line, move):
    """A move a book line can hold: four characters, no drop, no promotion; no castling in the
    antichess family; no move on c1, c8, f1, f8 and no king move in twokings."""
    if len(move) != 4 or "@" in move:
        return False
    if variant in ("antichess", "losers") and move in CASTLINGMOVES:
        return False
    if variant == "twokings":
        if move[:2] in ("c1", "c8", "f1", "f8", "e1", "e8") or move[2:] in ("c1", "c8", "f1", "f8"):
            return False
        return korvellegal(line + [move])
    return True


def grow(analyser, referees, variant, seed, book):
    """Every line grown from one seed, in the order found."""
    _, _, _, _, plies, side, width, branchplies, margin, depth = book
    lines = []

    def extend(line):
        if len(line) >= plies:
            lines.append(line)
            return
        moves = [(m, s) for m, s in analyser.analyse(line, depth) if writable(variant, line, m)]
        if not moves:
            lines.append(line)
            return
        mover = "white" if len(line) % 2 == 0 else "black"
        take = 1
        if len(line) < len(seed) + branchplies and side in ("both", mover):
            take = width
        best = moves[0][1]
        for move, score in moves[:take]:
            if score < best - margin:
                break
            if all(referees.legal(v, line + [move]) for v in REFEREES[variant]):
                extend(line + [move])

    for i in range(1, len(seed) + 1):
        if not all(referees.legal(v, seed[:i]) for v in REFEREES[variant]):
            raise SystemExit("makebooks: seed %s is not legal in %s" % (" ".join(seed), variant))
    extend(list(seed))
    return lines


# stockfish.js never answers in a position whose king is blown up, and can search some others past
# its own movetime: its analysis stops at three seconds and is given up after ten (the line then
# ends there), which only such positions reach (a search cut by the clock may differ by machine).
SFJSCAP = " movetime 3000"
SFJSPATIENCE = 10


def analysingengine(name, variant, multipv):
    if name == "sfjs":
        return Uci(enginecommand(name), variant, multipv, [], SFJSCAP, SFJSPATIENCE)
    return Uci(enginecommand(name), variant, multipv)


def enginecommand(name):
    if name == "sfjs":
        return ["node", os.path.join(ROOT, "tools", "rules", "stockfishjs.mjs")]
    return [FAIRY]


def header(name, how):
    return ("# %s: korvel's opening book, written by tools/makebooks.py (%s).\n"
            "# One line per row, the moves from the initial position run together; '$' ends the book.\n"
            % (name, how))


def writebook(outdir, name, lines, how):
    path = os.path.join(outdir, name)
    with open(path, "w") as out:
        if name == "openbk.txt":
            # The text before the first point is never read as a line; a point starts each line.
            out.write("korvel small opening book written by tools/makebooks\n")
            for line in lines:
                out.write(". " + " ".join(line) + "\n")
        else:
            out.write(header(name, how))
            for line in lines:
                out.write("".join(line) + "\n")
            out.write("$\n")
    print("%-22s %4d lines" % (name, len(lines)), flush=True)


def makebook(book, seeds, referees, outdir, scale):
    name, enginename, variant, section = book[:4]
    depth = max(4, int(book[9] * scale))
    book = book[:9] + (depth,)
    analysing = "chess" if variant == "twokings" else variant
    analyser = analysingengine(enginename, analysing, max(book[6], 6 if variant == "twokings" else 3))
    lines, seen = [], set()
    for _, seed in seeds[section]:
        for line in grow(analyser, referees, variant, seed, book):
            if tuple(line) not in seen:
                seen.add(tuple(line))
                lines.append(line)
    analyser.close()
    how = "%s lines of %s analysis at depth %d" % (variant, enginename, depth)
    writebook(outdir, name, lines, how)


def makeweighted(name, seeds, section, plies, referees, outdir, scale):
    """The first-move book repeats its seeds by weight; the reply books write each reply of the
    engine's best three (within 150 centipawns of the best) 3, 2 and 1 times."""
    lines = []
    if plies == 1:
        for weight, seed in seeds[section]:
            lines += [seed[:1]] * weight
    else:
        depth = max(4, int(10 * scale))
        analyser = analysingengine("sfjs", "atomic", 3)
        starts = [seed[:plies - 1] for _, seed in seeds[section] if len(seed) >= plies - 1]
        for start in starts:
            moves = analyser.analyse(start, depth)
            best = moves[0][1] if moves else 0
            for rank, (move, score) in enumerate(moves):
                if len(move) == 4 and score >= best - 150 and referees.legal("atomic", start + [move]):
                    lines += [start + [move]] * (3 - rank)
        analyser.close()
    writebook(outdir, name, lines, "atomic, weighted by repetition")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=os.path.join(ROOT, "books"))
    parser.add_argument("--only", default="", help="comma-separated file names to write")
    parser.add_argument("--depth-scale", type=float, default=1.0, help="scale every depth (quick trial runs)")
    args = parser.parse_args()
    only = set(filter(None, args.only.split(",")))
    seeds = readseeds()
    os.makedirs(args.out, exist_ok=True)
    referees = Referees()
    for book in BOOKS:
        if not only or book[0] in only:
            makebook(book, seeds, referees, args.out, args.depth_scale)
    for name, section, plies in WEIGHTED:
        if not only or name in only:
            makeweighted(name, seeds, section, plies, referees, args.out, args.depth_scale)
    referees.close()
    check = subprocess.run([os.path.join(ROOT, "build", "korvel-bookcheck"), args.out], text=True,
                           stdout=subprocess.PIPE)
    print(check.stdout, end="")
    if check.returncode != 0:
        raise SystemExit("makebooks: korvel-bookcheck found an illegal move")


if __name__ == "__main__":
    main()
