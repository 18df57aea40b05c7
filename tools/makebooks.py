#!/usr/bin/env python3
"""Writes the opening books of books/ from the hand-written lines of tools/bookseeds.txt.

    python3 tools/makebooks.py [--out books] [--only FILE,...] [--depth-scale X]
    python3 tools/makebooks.py --recheck --only FILE,... [--out books]
    python3 tools/makebooks.py --report [--out books] [--only FILE,...] [--report-ms N]

Every seed line is extended move by move with the best moves of an analysing engine at a fixed
depth (fairy-stockfish in normal chess, 3check, crazyhouse, giveaway/antichess and losers;
stockfish.js in atomic, whose moves chessops checks), branching at the first plies after the seed
into the engine's next-best moves: for the side the book plays, those close to the best, so that
the engine varies its own replies; for the opponent, its main replies, followed a ply or two
deeper. Each line's end is then analysed a few plies deeper, and a line that ends clearly worse
for the book's side than where its seed left it is cut back to its last sound move, and one lost
by force for that side is cut back into its seed (twokings, which no reference plays, is judged by
korvel's own full-strength search); --recheck does only that, to the lines already written, after
a book's check has changed (and, given openbk.txt, cuts the small book anew). The small book is the
start of the big book's lines, and the atomic books go on from every line of the weighted books. One
thread and a fixed depth make every run give the same files (stockfish.js's analysis is also cut
at three seconds, which a few atomic positions reach). The weighted atomic books repeat a line as
often as its weight: fixed weights for White's first move, the engine's ranking of the replies for
the second and third plies.

--report describes the books instead: lines, plies, the book side's distinct moves at plies 1-6,
the share of lines a later book continues, and the median and worst end score for the book's side
by the rules reference at --report-ms a position, the median score where the lines start (after
White's first move in a Black book) and how many ends fall more than 100 below their start, each
with those lines and the lines that end below -100.

A book line can only hold plain moves, so a line ends before a drop or a promotion; twokings lines
keep away from the squares where the two set-ups differ (c1, c8, f1, f8) and from king moves, and
are checked with korvel-tool in both set-ups. At the end korvel-bookcheck replays every file with
the engine's own generators; the script fails when it finds an illegal move.

Needs build/korvel, build/korvel-tool and build/korvel-bookcheck (make build) and, for atomic, build/npm
(scripts/setup.sh).
"""

import argparse
import collections
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEEDS = os.path.join(ROOT, "tools", "bookseeds.txt")
FAIRY = shutil.which("fairy-stockfish") or "/usr/games/fairy-stockfish"
MATE = 100000
# A score at least this far from 0 is a mate the engine has found.
MATEFOUND = MATE - 1000
STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

# Twokings as korvel sets it up playing White and playing Black.
TWOKINGSFENS = ["rnkqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNKQKBNR w - - 0 1",
                "rnbqkknr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w - - 0 1"]
CASTLINGMOVES = {"e1g1", "e1c1", "e8g8", "e8c8"}

# One book: its file, the engine and variant that extend it, its seed section, how long its lines
# grow, whose book it is ("white", "black", or "both" for the books of either colour), how many
# moves it takes at the owner's successive plies after the seed and at the opponent's, the margins
# (centipawns below the best) for the owner's first ply, its later plies and the opponent's plies,
# the depth, the books whose lines grow on from other books (joins), and how many plies deeper than
# the depth each line's end is checked. A book of both colours counts every ply after the seed as
# the owner's.
Book = collections.namedtuple("Book", "name engine variant section plies owner ownwidths oppwidths firstmargin "
                                      "ownmargin oppmargin depth joins check", defaults=((), 3))
BOOKS = [
    Book("bigbook.txt", "fairy", "chess", "normal", 16, "both", (2, 2, 2), (), 40, 40, 0, 10, check=8),
    Book("threebook.txt", "fairy", "3check", "3check", 12, "both", (2, 2, 2), (), 80, 80, 0, 9, check=9),
    Book("threeBookWhite.txt", "fairy", "3check", "3checkwhite", 12, "white", (2, 2), (3, 2), 30, 30, 100, 9,
         check=6),
    Book("threeBookBlack.txt", "fairy", "3check", "3checkblack", 12, "black", (3, 2), (2, 2), 100, 30, 100, 9,
         check=9),
    Book("kingsBookWhite.txt", "fairy", "twokings", "twokingswhite", 10, "white", (2, 2), (3, 1), 30, 30, 80, 9,
         check=5),
    Book("kingsBookBlack.txt", "fairy", "twokings", "twokingsblack", 10, "black", (4, 2), (2, 1), 100, 30, 80, 9,
         check=5),
    Book("suicideBookWhite.txt", "fairy", "antichess", "suicidewhite", 10, "white", (2, 2), (3, 1), 30, 30, 150,
         9, check=8),
    Book("suicideBookBlack.txt", "fairy", "antichess", "suicideblack", 10, "black", (4, 2), (2, 1), 200, 30, 150, 9,
         check=10),
    Book("losersWhite.txt", "fairy", "losers", "loserswhite", 10, "white", (2, 2), (3, 2), 30, 30, 150, 9,
         check=10),
    Book("losersBlack.txt", "fairy", "losers", "losersblack", 10, "black", (4, 2), (2, 1), 200, 30, 150, 9,
         check=8),
    Book("korvelCrazyWhite.txt", "fairy", "crazyhouse", "crazywhite", 12, "white", (2, 2), (3, 1), 30, 30, 100, 9,
         check=10),
    Book("korvelCrazyBlack.txt", "fairy", "crazyhouse", "crazyblack", 12, "black", (4, 2), (2, 1), 100, 30, 100, 9,
         check=10),
    Book("atomicBookWhite.txt", "sfjs", "atomic", "atomicwhite", 12, "white", (2, 2), (3, 1), 30, 30, 150, 12,
         ("atomicSecondMove.txt",)),
    Book("atomicBookBlack.txt", "sfjs", "atomic", "atomicblack", 12, "black", (4, 2), (2, 1), 150, 30, 150, 12,
         ("atomicThirdMove.txt",), check=5),
]
# A book may also grow from the lines of books written before it (joins): the atomic books go on
# from every line of the weighted books that hands the move to their side.
# The small book of normal chess: the first line the big book grew from each seed, cut at this
# many plies, so that every line of it goes on in the big book.
OPENBKPLIES = 14
# A line's end is checked a few plies deeper than it was grown (each book's check);
# an end the check scores below ENDFLOOR for the owner (or, after a seed that is already worse than
# that, more than ENDDROP below the seed) is cut back a move at a time until it holds; a book of
# both colours must hold for either side.
ENDFLOOR = -40
ENDDROP = 40
# The weighted atomic books: the first move with the weights of its seed section, the replies with
# weights 3, 2, 1 by the engine's ranking.
WEIGHTED = [("atomicFirstMove.txt", "atomicfirst", 1), ("atomicSecondMove.txt", "atomicfirst", 2),
            ("atomicThirdMove.txt", "atomicthird", 3)]
# The depth of the weighted books' analysis (from those grown at 12 the Black book ended lower).
WEIGHTEDDEPTH = 10
# The variants each book's lines must be legal in, by the rules references.
REFEREES = {"antichess": ["giveaway", "antichess"], "losers": ["losers"], "chess": ["chess"],
            "3check": ["3check"], "crazyhouse": ["crazyhouse"], "twokings": ["chess"], "atomic": ["atomic"]}


# One thread and a small table for fairy-stockfish; stockfish.js hangs on either option and runs
# one thread with a small table anyway.
FAIRYOPTIONS = ["Threads value 1", "Hash value 16"]
# The seconds korvel may take for a search to a fixed depth (its "st", so that the depth decides).
KORVELPATIENCE = 600


class Uci:
    """A UCI engine on pipes: analyses a line from the starting position at a fixed depth. An
    analysis that gives no best move within the patience (seconds, None for no limit) restarts the
    engine and counts as one without moves, so that the line ends there. An engine that cannot
    tell a finished game is given a referee that does (Referees, in atomic)."""

    def __init__(self, command, variant, multipv, options=FAIRYOPTIONS, cap="", patience=None, referee=None):
        self.command, self.variant, self.multipv, self.options = command, variant, multipv, options
        self.cache = {}
        self.cap = cap
        self.patience = patience
        self.referee = referee
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

    def ranked(self, moves, limit):
        """The engine's (move, score) list for one line searched to the limit ("depth 9",
        "movetime 1000"), or None when it ran out of patience. A position without moves gives one
        entry whose move is None."""
        over = self.referee.ended(moves) if self.referee else None
        if over is not None:
            return [(None, over)]
        self.send("ucinewgame")
        self.send("isready")
        self.wait("readyok", self.patience)
        self.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
        self.send("go " + limit)
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
            if words[:1] != ["info"] or "score" not in words:
                continue
            rank = int(words[words.index("multipv") + 1]) if "multipv" in words else 1
            kind, value = words[words.index("score") + 1], int(words[words.index("score") + 2])
            score = value if kind == "cp" else (MATE - abs(value)) * (1 if value > 0 else -1)
            if kind == "mate" and value == 0:
                score = -MATE
            ranked[rank] = (words[words.index("pv") + 1] if "pv" in words else None, score)
        return [ranked[r] for r in sorted(ranked)]

    def analyse(self, moves, depth):
        """The engine's moves at the given depth, best first, as (move, score for the side to move)."""
        key = (tuple(moves), depth)
        if key not in self.cache:
            self.cache[key] = [(m, s) for m, s in self.ranked(moves, "depth %d%s" % (depth, self.cap)) or [] if m]
        return self.cache[key]

    def score(self, moves, limit, owner):
        """The owner's score of the position after the moves, searched to the limit (0 when the
        engine gave none)."""
        key = ("score", tuple(moves), limit)
        if key not in self.cache:
            ranked = self.ranked(moves, limit)
            self.cache[key] = ranked[0][1] if ranked else 0
        return ownerscore(self.cache[key], owner, moves)

    def close(self):
        self.send("quit")
        self.process.wait(timeout=10)
        if self.referee:
            self.referee.close()


class Referees:
    """Legal moves of a line by the rules references: fairy-stockfish's perft 1, chessops in atomic."""

    def __init__(self):
        self.fairy = {}
        self.chessops = None

    def atomic(self, moves):
        """chessops' answer about the atomic position after the moves."""
        if self.chessops is None:
            self.chessops = subprocess.Popen(["node", os.path.join(ROOT, "tools", "rules", "rules.mjs"), "referee"],
                                             stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.chessops.stdin.write(json.dumps({"variant": "atomic", "fen": STARTFEN, "moves": moves}) + "\n")
        self.chessops.stdin.flush()
        return json.loads(self.chessops.stdout.readline())

    def ended(self, moves):
        """The score for the side to move of an atomic game that is over after the moves (a lost
        game is mated), or None while it goes on."""
        over = self.atomic(moves).get("over")
        if over is None:
            return None
        tomove = "1-0" if len(moves) % 2 == 0 else "0-1"
        return 0 if over[0] not in ("1-0", "0-1") else MATE if over[0] == tomove else -MATE

    def legal(self, variant, moves):
        if variant == "atomic":
            answer = self.atomic(moves[:-1])
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


class Korvel:
    """Korvel itself as the analyst of twokings, which no reference plays: the moves given in force
    mode and its full-strength search to the limit ("depth N" as "sd N", "movetime M" as "st" of the
    whole seconds), in an empty folder so that no book answers. The score is that of its last
    thinking line, for the side to move."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="makebooks-")
        self.cache = {}

    @staticmethod
    def limits(limit):
        kind, value = limit.split()[:2]
        if kind == "depth":
            return "st %d\nsd %s" % (KORVELPATIENCE, value)
        return "st %d" % max(1, int(value) // 1000)

    def searched(self, moves, limit):
        command = [os.path.join(ROOT, "build", "korvel"), "norc", "full"]
        process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1,
                                   cwd=self.folder)
        process.stdin.write("xboard\nprotover 2\nnew\nvariant twokings\npost\nforce\n%s\n%s\ngo\n"
                            % ("\n".join(moves), self.limits(limit)))
        process.stdin.flush()
        score = 0
        for line in process.stdout:
            words = line.split()
            if len(words) >= 5 and words[0].isdigit() and words[1].lstrip("-").isdigit():
                score = int(words[1])
            if line.startswith("move "):
                break
        process.stdin.write("quit\n")
        process.stdin.close()
        process.wait(timeout=30)
        return score

    def score(self, moves, limit, owner):
        key = (tuple(moves), limit)
        if key not in self.cache:
            self.cache[key] = self.searched(moves, limit)
        return ownerscore(self.cache[key], owner, moves)

    def close(self):
        shutil.rmtree(self.folder, ignore_errors=True)


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


def branching(book, seed, line):
    """How many moves the line takes at its next ply, and within which margin of the best."""
    mover = "white" if len(line) % 2 == 0 else "black"
    after = len(line) - len(seed)
    if book.owner == "both":
        return (book.ownwidths[after] if after < len(book.ownwidths) else 1), book.ownmargin
    own = book.owner == mover
    index = after // 2
    widths = book.ownwidths if own else book.oppwidths
    take = widths[index] if index < len(widths) else 1
    if not own:
        return take, book.oppmargin
    return take, book.firstmargin if index == 0 else book.ownmargin


def grow(analyser, referees, variant, seed, book):
    """Every line grown from one seed, in the order found."""
    lines = []

    def extend(line):
        if len(line) >= book.plies:
            lines.append(line)
            return
        moves = [(m, s) for m, s in analyser.analyse(line, book.depth) if writable(variant, line, m)]
        if not moves:
            lines.append(line)
            return
        take, margin = branching(book, seed, line)
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


def ownerscore(score, owner, line):
    """A score for the side to move after the line, from the owner's side (White's in a book of
    both colours)."""
    tomove = "white" if len(line) % 2 == 0 else "black"
    return score if tomove == owner or (owner == "both" and tomove == "white") else -score


def holds(book, score, seedscore):
    """An end is sound for a side when it keeps above the floor or near where the seed left it; a
    book of both colours must be sound for either side."""
    def sound(score, seedscore):
        return score >= (ENDFLOOR if seedscore >= ENDFLOOR else seedscore - ENDDROP)
    return sound(score, seedscore) and (book.owner != "both" or sound(-score, -seedscore))


def lost(book, score):
    """A forced loss for the owner (for either side in a book of both colours)."""
    return score <= -MATEFOUND or (book.owner == "both" and score >= MATEFOUND)


def soundend(checker, book, seed, line):
    """The line cut back, from its end, to the last move whose position the deeper check finds sound
    for the owner. The seed itself is only cut where it is lost by force for the owner: a line
    joined from another book may hold the owner's moves, and the book must not play into a mate."""
    limit = "depth %d%s" % (book.depth + book.check, SFJSCAP if book.engine == "sfjs" else "")
    seedscore = checker.score(seed, limit, book.owner)
    while len(line) > len(seed) and not holds(book, checker.score(line, limit, book.owner), seedscore):
        line = line[:-1]
    while len(line) > 1 and lost(book, checker.score(line, limit, book.owner)):
        line = line[:-1]
    return line


def leaves(lines):
    """The lines without repeats and without those that another line continues, in their order."""
    prefixes = set()
    for line in lines:
        for i in range(1, len(line)):
            prefixes.add(tuple(line[:i]))
    kept, seen = [], set()
    for line in lines:
        if tuple(line) not in prefixes and tuple(line) not in seen:
            seen.add(tuple(line))
            kept.append(line)
    return kept


# stockfish.js never answers in a position whose king is blown up (chessops tells those instead),
# and can search some others past its own movetime: its analysis stops at three seconds and is given
# up after ten (the line then ends there), which only such positions reach (a search cut by the
# clock may differ by machine).
SFJSCAP = " movetime 3000"
SFJSPATIENCE = 10


def analysingengine(name, variant, multipv):
    if name == "sfjs":
        return Uci(enginecommand(name), variant, multipv, [], SFJSCAP, SFJSPATIENCE, Referees())
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


def checkingengine(book, variant):
    """The deeper analyst of a book's line ends: the rules reference of its variant, korvel itself
    in twokings."""
    if book.variant == "twokings":
        return Korvel()
    return analysingengine(book.engine, variant, 1)


def scaled(book, scale):
    return book._replace(depth=max(4, int(book.depth * scale)))


def grownhow(book):
    return "%s lines of %s analysis at depth %d, ends checked %d plies deeper" % (book.variant, book.engine,
                                                                                book.depth, book.check)


def makebook(book, seeds, referees, outdir, scale):
    book = scaled(book, scale)
    analysing = "chess" if book.variant == "twokings" else book.variant
    widest = max(book.ownwidths + book.oppwidths)
    analyser = analysingengine(book.engine, analysing, max(widest, 6 if book.variant == "twokings" else 3))
    checker = checkingengine(book, analysing)
    starts = [seed for _, seed in seeds[book.section]]
    for name in book.joins:
        starts += [line for line in readbook(os.path.join(outdir, name)) if line not in starts]
    lines = []
    for seed in starts:
        for line in grow(analyser, referees, book.variant, seed, book):
            lines.append(soundend(checker, book, seed, line))
    analyser.close()
    checker.close()
    writebook(outdir, book.name, leaves(lines), grownhow(book))


def recheck(book, seeds, outdir, scale):
    """Cuts the lines of a book already written with the check of its ends (after a change of the
    check), without growing them again: each line's seed is the longest seed it starts with."""
    book = scaled(book, scale)
    checker = checkingengine(book, "chess" if book.variant == "twokings" else book.variant)
    starts = [seed for _, seed in seeds[book.section]]
    for name in book.joins:
        starts += readbook(os.path.join(outdir, name))
    lines = []
    for line in readbook(os.path.join(outdir, book.name)):
        seed = max((s for s in starts if line[:len(s)] == s), key=len, default=line[:1])
        lines.append(soundend(checker, book, seed, line))
    checker.close()
    writebook(outdir, book.name, leaves(lines), grownhow(book))


def makeopenbk(outdir, scale):
    """The small book from the big book just written: the first line of each seed, cut short and
    checked at its end like the big book's lines."""
    book = scaled(BOOKS[0], scale)
    checker = analysingengine(book.engine, book.variant, 1)
    lines, seen = [], set()
    big = readbook(os.path.join(outdir, "bigbook.txt"))
    for _, seed in readseeds()["normal"]:
        grown = [line for line in big if line[:len(seed)] == seed]
        if not grown:
            continue
        # The first line that goes on past the small book's length, else the longest, cut so that
        # the big book always has a move after the small book's last.
        line = next((line for line in grown if len(line) > OPENBKPLIES), max(grown, key=len))
        line = soundend(checker, book, seed, line[:max(len(seed), min(OPENBKPLIES, len(line) - 1))])
        if tuple(line) not in seen:
            seen.add(tuple(line))
            lines.append(line)
    checker.close()
    writebook(outdir, "openbk.txt", lines, "")


def readbook(path):
    """The lines of a book file, each a list of moves."""
    lines = []
    with open(path) as text:
        for row in text:
            words = row.split()
            if not words:
                continue
            if words[0].startswith("$"):
                break
            if row[0] == ".":
                lines.append(words[1:])
            elif "a" <= words[0][0] <= "h":
                word = words[0]
                lines.append([word[i:i + 4] for i in range(0, len(word) - 3, 4)])
    return lines


def makeweighted(name, seeds, section, plies, referees, outdir, scale):
    """The first-move book repeats its seeds by weight; the reply books write each reply of the
    engine's best three (within 150 centipawns of the best) 3, 2 and 1 times."""
    lines = []
    if plies == 1:
        for weight, seed in seeds[section]:
            lines += [seed[:1]] * weight
    else:
        depth = max(4, int(WEIGHTEDDEPTH * scale))
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


# The book each weighted or small book hands the game on to, and whose book each of those is.
NEXTBOOKS = {"openbk.txt": ["bigbook.txt"], "atomicFirstMove.txt": ["atomicSecondMove.txt", "atomicBookBlack.txt"],
             "atomicSecondMove.txt": ["atomicThirdMove.txt", "atomicBookWhite.txt"],
             "atomicThirdMove.txt": ["atomicBookBlack.txt"]}
SMALLBOOKS = {"openbk.txt": ("fairy", "chess", "both"), "atomicFirstMove.txt": ("sfjs", "atomic", "white"),
              "atomicSecondMove.txt": ("sfjs", "atomic", "black"), "atomicThirdMove.txt": ("sfjs", "atomic", "white")}
# The Black books' own first replies are counted against this many of White's first moves, the
# first ones of their seed sections.
COMMONFIRSTS = 4


def ownreplies(lines, owner):
    """The owner's moves at plies 1-6 as 'ply:moves/positions' (distinct moves over the distinct
    positions they answer)."""
    counts = []
    for ply in range(1, 7):
        if owner != "both" and (ply % 2 == 1) != (owner == "white"):
            continue
        moves = {tuple(line[:ply]) for line in lines if len(line) >= ply}
        positions = {move[:-1] for move in moves}
        counts.append("%d:%d/%d" % (ply, len(moves), len(positions)))
    return " ".join(counts)


def continued(lines, outdir, name):
    """The share of the lines that a later book goes on from, or None when none follows."""
    if name not in NEXTBOOKS:
        return None
    starts = set()
    for following in NEXTBOOKS[name]:
        for line in readbook(os.path.join(outdir, following)):
            starts.update(tuple(line[:i]) for i in range(1, len(line)))
    return sum(tuple(line) in starts for line in lines) / max(1, len(lines))


def firstreplies(lines, seeds, book):
    """The fewest distinct own first replies to one of White's most common first moves (Black
    books only)."""
    if book.owner != "black":
        return None
    firsts = [seed for _, seed in seeds[book.section] if len(seed) == 1][:COMMONFIRSTS]
    return min(len({line[1] for line in lines if line[:1] == seed and len(line) > 1}) for seed in firsts)


def reportrows(outdir):
    """(name, engine, variant, owner, book or None) for every book file, in loading order."""
    rows = []
    for book in BOOKS:
        rows.append((book.name, book.engine, book.variant, book.owner, book))
        if book.name == "bigbook.txt":
            rows.append(("openbk.txt",) + SMALLBOOKS["openbk.txt"] + (None,))
    for name, _, _ in WEIGHTED:
        rows.append((name,) + SMALLBOOKS[name] + (None,))
    return rows


# One row of the report: book, lines, plies, own moves, continued share, fewest own first replies,
# median start, median and worst end, ends below -100, ends more than 100 below their start.
ROWFORMAT = "%-21s %5d %6.1f %-34s %5s %5s %6d %6d %6s %5d %5d"


def linestart(line, owner):
    """The position where a line hands the owner its first move: after White's first move in a
    Black book, the initial position in the others."""
    return line[:1] if owner == "black" else []


def report(outdir, only, milliseconds):
    """Prints one row per book: its lines and plies, the owner's replies at plies 1-6, the share of
    lines a later book continues, the fewest own first replies (Black books), and the median and
    worst end score for the owner by the rules reference at the given time a position, with the
    median score of the positions the lines start from and how many ends fall more than 100 below
    theirs; below it, the lines that end below -100 or more than 100 below their start."""
    seeds = readseeds()
    print(ROWFORMAT.replace("d", "s").replace(".1f", "s") % (
        "book", "lines", "plies", "own moves/positions at ply", "cont", "first", "start", "median", "worst", "<-100",
        "drops"))
    scorers = {}
    for name, engine, variant, owner, book in reportrows(outdir):
        if only and name not in only:
            continue
        lines = readbook(os.path.join(outdir, name))
        if not lines:
            continue
        analysing = "chess" if variant == "twokings" else variant
        if (engine, analysing) not in scorers:
            scorers[(engine, analysing)] = Korvel() if variant == "twokings" else analysingengine(engine, analysing, 1)
        scorer = scorers[(engine, analysing)]
        limit = "movetime %d" % milliseconds
        scored = sorted((scorer.score(line, limit, owner), scorer.score(linestart(line, owner), limit, owner), line)
                        for line in lines)
        ends = [score for score, _, _ in scored]
        share = continued(lines, outdir, name)
        first = firstreplies(lines, seeds, book) if book else None
        print(ROWFORMAT % (
            name, len(lines), sum(map(len, lines)) / len(lines), ownreplies(lines, owner),
            "-" if share is None else "%d%%" % round(100 * share), "-" if first is None else first,
            sorted(start for _, start, _ in scored)[len(scored) // 2], ends[len(ends) // 2],
            "mated" if ends[0] <= -MATEFOUND else ends[0], sum(score < -100 for score in ends),
            sum(score < start - 100 for score, start, _ in scored)), flush=True)
        # The lines that end below -100 for the owner or fall more than 100, worst first.
        for score, start, line in scored:
            if score < max(-100, start - 100):
                print("    %6d from %6d  %s" % (score, start, " ".join(line)), flush=True)
    for scorer in scorers.values():
        scorer.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=os.path.join(ROOT, "books"))
    parser.add_argument("--only", default="", help="comma-separated file names to write")
    parser.add_argument("--depth-scale", type=float, default=1.0, help="scale every depth (quick trial runs)")
    parser.add_argument("--report", action="store_true", help="describe the books of --out instead of writing them")
    parser.add_argument("--recheck", action="store_true", help="only check the ends of the --only books again")
    parser.add_argument("--report-ms", type=int, default=1000, help="the reference's time for each line's end")
    args = parser.parse_args()
    only = set(filter(None, args.only.split(",")))
    if args.report:
        report(args.out, only, args.report_ms)
        return
    seeds = readseeds()
    if args.recheck:
        for book in BOOKS:
            if book.name in only:
                recheck(book, seeds, args.out, args.depth_scale)
        # The small book is cut from the big book, so it is made again from the big book's new lines.
        if "openbk.txt" in only:
            makeopenbk(args.out, args.depth_scale)
        return
    os.makedirs(args.out, exist_ok=True)
    referees = Referees()
    for name, section, plies in WEIGHTED:
        if not only or name in only:
            makeweighted(name, seeds, section, plies, referees, args.out, args.depth_scale)
    for book in BOOKS:
        if not only or book.name in only:
            makebook(book, seeds, referees, args.out, args.depth_scale)
        if book.name == "bigbook.txt" and (not only or "openbk.txt" in only):
            makeopenbk(args.out, args.depth_scale)
    referees.close()
    check = subprocess.run([os.path.join(ROOT, "build", "korvel-bookcheck"), args.out], text=True,
                           stdout=subprocess.PIPE)
    print(check.stdout, end="")
    if check.returncode != 0:
        raise SystemExit("makebooks: korvel-bookcheck found an illegal move")


if __name__ == "__main__":
    main()
