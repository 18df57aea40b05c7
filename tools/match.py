#!/usr/bin/env python3
"""Plays korvel against a peer engine and checks every move.

The peer is a UCI engine (fairy-stockfish; stockfish.js in atomic, which fairy-stockfish does not
play) or an xboard engine such as sjeng. A referee lists the legal moves before every move and says
when the game is over: a second fairy-stockfish ("go perft 1" and "d") in every variant but atomic,
and in atomic the chessops rules reference (tools/rules/rules.mjs). Clocks are real: the time from
handing a side the position to reading its move is taken off its clock, the increment is added after
the move, and a side whose clock runs out loses on time.

Korvel is driven exactly as xboard drives an engine with protocol 2: new, variant, level, and force
and setboard for a set-up position; an engine that is not on move at the start waits in force mode
for the opponent's first move; "time" and "otim" in centiseconds come before every move; and since
korvel does not announce colors=0, the colour commands come in xboard's set phrases.

Faults of korvel: an illegal move, a legal move it refused, a time forfeit, a crash, silence, and a
wrong result claim. The runner prints every game with its faults and both clocks, the score per
variant and korvel's smallest clock left, and exits with status 1 when korvel committed any fault
(or the referee failed).

The peer can also be korvel itself with another command line (--peer korvel --peer-args ...),
refereed like any game; then the faults and result claims of both sides are korvel's. Every korvel
runs in a working folder of its own that holds a copy of the books (--books), as "make run" gives it.

Usage: tools/match.py --variants normal,3check --games 4 --tc 60+1
       tools/match.py --variants atomic --korvel-args fics --level "0 2 12" --games 2
       tools/match.py --variants losers --peer sjeng --fens positions.txt --games 4
       tools/match.py --variants normal --peer korvel --peer-args "mx0-4" --games 4 --tc 10+0
"""

import argparse
import atexit
import json
import os
import random
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FSF = "/usr/games/fairy-stockfish"
SJENG = "/usr/games/sjeng"
NODE = "node"
RULESCLI = os.path.join(HERE, "rules", "rules.mjs")
STOCKFISHJS = os.path.join(HERE, "rules", "stockfishjs.mjs")
BOOKS = os.path.join(ROOT, "books")
STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
CLAIMS = ("1-0", "0-1", "1/2-1/2", "1/2-1/2 (Stalemate)")
PERFTLINE = re.compile(r"^([a-h][1-8][a-h][1-8][a-z]?|[A-Z]@[a-h][1-8]): \d+$")
GRACE = 5.0          # seconds past the clock before a silent side is declared hung
MAXPLIES = 400       # longer games are adjudicated drawn
DRAIN = 0.3          # seconds to wait for result claims after a game
AFTERMOVE = 0.05     # seconds to wait for result claims right after a move
ENDWAIT = 5.0        # at most so many seconds for a korvel's answer to the move that ended the game
# The ends that the rules decide on the board; a korvel told the move that brought one must write no
# move after it. Draws by repetition, fifty moves or material are the runner's and are not told.
TERMINAL = ("mate", "stalemate", "mated", "no moves", "no pieces", "three checks", "bare king", "exploded king")

# The referee of each of korvel's variants and the referee's name for it; a UCI peer plays the same.
#
# atomic: fairy-stockfish 11.1 has no atomic (it silently plays chess), so chessops referees and
#   stockfish.js plays. chessops castles by the FICS rule: not out of check, not across or onto an
#   attacked square (a square next to the enemy king counts as safe, since kings may touch). Korvel
#   castles so only with "fics" on its command line (--korvel-args fics); without it korvel castles
#   whatever attacks the king's squares, and the referee reports such a castling as illegal. With
#   "fics" korvel's attack test does not know that touching kings make a square safe, so it may skip
#   a castling the referee allows: a choice it does not take, never a fault.
# giveaway: fairy-stockfish's giveaway agrees: captures compulsory, castling allowed and not tested
#   for attacks (as korvel without "fics"; with "fics" korvel skips castling across attacked squares,
#   again a choice not taken, and refuses such a castling by the peer, which ends the game uncounted),
#   a pawn may promote to a king, the side without a move wins.
# suicide: fairy-stockfish's own suicide scores a side without moves by counting pieces, while korvel
#   lets that side win; its antichess agrees with korvel: no castling, promotion to a king, the side
#   without a move wins.
# twokings: no peer and no rules reference plays it, so korvel plays itself (--peer korvel) without
#   a referee: every move is taken, the other korvel's refusal is the legality test, and the game
#   ends at the first result claim, which every later claim must repeat.
# losers: fairy-stockfish's losers agrees: captures compulsory unless none is legal, check must be
#   met, no castling out of, across or into check, no promotion to a king, and the game ends as soon
#   as either side is down to its bare king, which wins; so does a side left without a legal move.
REFEREE = {"normal": ("fairy-stockfish", "chess"), "nocastle": ("fairy-stockfish", "chess"),
           "wildcastle": ("fairy-stockfish", "chess"), "3check": ("fairy-stockfish", "3check"),
           "crazyhouse": ("fairy-stockfish", "crazyhouse"), "atomic": ("chessops", "atomic"),
           "giveaway": ("fairy-stockfish", "giveaway"), "suicide": ("fairy-stockfish", "antichess"),
           "losers": ("fairy-stockfish", "losers"), "twokings": ("none", "twokings")}
ANTICHESS = ("giveaway", "suicide", "losers")
SJENGVARIANTS = ("normal", "crazyhouse", "suicide", "losers")   # sjeng's names are korvel's


class Proc:
    """A child process read line by line, every read with a time limit."""

    def __init__(self, argv, name, log=None, cwd=None):
        self.name = name
        self.argv = argv
        self.log = log
        self.p = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, bufsize=0, cwd=cwd)
        self.buffer = b""
        self.dead = False

    def send(self, text):
        if self.log:
            self.log.write("> " + text.replace("\n", "\n> ").rstrip("> ") + "\n")
        try:
            self.p.stdin.write(text.encode())
            self.p.stdin.flush()
        except (BrokenPipeError, OSError):
            self.dead = True

    def readline(self, timeout):
        """The next line without its newline; None on time-out, or when the process ended (dead)."""
        end = time.time() + timeout
        while b"\n" not in self.buffer:
            left = end - time.time()
            if left <= 0 or self.dead:
                return None
            ready, _, _ = select.select([self.p.stdout], [], [], left)
            if not ready:
                return None
            chunk = os.read(self.p.stdout.fileno(), 65536)
            if not chunk:
                self.dead = True
                return None
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        text = line.decode(errors="replace").rstrip("\r")
        if self.log:
            self.log.write(text + "\n")
        return text

    def waitfor(self, prefix, timeout):
        """The lines up to and including the first that starts with prefix; None on time-out."""
        lines = []
        end = time.time() + timeout
        while True:
            line = self.readline(max(end - time.time(), 0))
            if line is None:
                return None
            lines.append(line)
            if line.startswith(prefix):
                return lines

    def close(self):
        try:
            self.send("quit\n")
            self.p.stdin.close()
        except OSError:
            pass
        try:
            self.p.wait(timeout=3)
        except subprocess.TimeoutExpired:
            self.p.kill()
            self.p.wait()


class Clock:
    """A time control as xboard's level command states it, and the real clocks of both sides."""

    def __init__(self, moves, base, inc):
        self.moves = moves        # moves per control, 0 for the whole game in one
        self.base = base          # seconds per control
        self.inc = inc            # seconds added after every move
        self.left = {}
        self.played = {}

    @staticmethod
    def fromtc(text):
        """base+inc in seconds, such as 5+0 or 120+12."""
        base, inc = text.split("+")
        return Clock(0, float(base), float(inc))

    @staticmethod
    def fromlevel(text):
        """The three arguments of xboard's level command, such as "0 2 12" or "0 0:10 0"."""
        moves, base, inc = text.split()
        minutes, _, seconds = base.partition(":")
        return Clock(int(moves), 60 * int(minutes) + int(seconds or 0), float(inc))

    def level(self):
        """The level command as xboard writes it: the base in minutes, or minutes:seconds."""
        minutes, seconds = divmod(int(round(self.base)), 60)
        base = "%d:%02d" % (minutes, seconds) if seconds else "%d" % minutes
        return "level %d %s %s\n" % (self.moves, base, "%g" % self.inc)

    def describe(self):
        """The time control as the header line names it."""
        return self.level().strip()

    def start(self):
        """Both clocks at the base time, for a new game."""
        self.left = {True: float(self.base), False: float(self.base)}   # by colour: True = White
        self.played = {True: 0, False: 0}

    def spend(self, white, seconds):
        """Takes the time of a move off a clock; False when the clock ran out."""
        self.left[white] -= seconds
        return self.left[white] >= 0

    def addmove(self, white):
        """The increment after a move, and a new control after every control's last move."""
        self.left[white] += self.inc
        self.played[white] += 1
        if self.moves and self.played[white] % self.moves == 0:
            self.left[white] += self.base


def centiseconds(seconds):
    """A clock as the time and otim commands give it, never below 0."""
    return max(int(seconds * 100), 0)


def fenwhite(fen):
    """Whether White is to move in a FEN."""
    fields = fen.split()
    return len(fields) < 2 or fields[1] != "b"


class FairyReferee:
    """fairy-stockfish asked for the legal moves and the position."""

    def __init__(self, name):
        self.proc = Proc([FSF], "referee")
        self.proc.send("uci\nsetoption name UCI_Variant value %s\nisready\n" % name)
        if self.proc.waitfor("readyok", 10) is None:
            raise RuntimeError("fairy-stockfish referee silent")

    def look(self, startfen, moves):
        """Legal moves, FEN, key and whether the side to move is in check."""
        command = "position fen %s" % startfen if startfen else "position startpos"
        if moves:
            command += " moves " + " ".join(moves)
        self.proc.send(command + "\nd\ngo perft 1\n")
        lines = self.proc.waitfor("Nodes searched", 20)
        if lines is None:
            raise RuntimeError("fairy-stockfish referee silent")
        info = {"legal": [], "fen": "", "key": "", "check": False, "over": None}
        for line in lines:
            if line.startswith("Fen: "):
                info["fen"] = line[5:]
            elif line.startswith("Key: "):
                info["key"] = line[5:]
            elif line.startswith("Checkers:"):
                info["check"] = bool(line[9:].strip())
            elif PERFTLINE.match(line):
                info["legal"].append(line[:line.index(": ")])
        return info

    def close(self):
        self.proc.close()


class RulesReferee:
    """The chessops rules reference (tools/rules/rules.mjs referee), one JSON line each way."""

    def __init__(self, name, npm):
        self.name = name
        self.proc = Proc([NODE, RULESCLI, "referee", "--npm", npm], "referee")

    def look(self, startfen, moves):
        """Legal moves, FEN, key, check, and how the game ended when it has."""
        self.proc.send(json.dumps({"variant": self.name, "fen": startfen or STARTFEN, "moves": moves}) + "\n")
        line = self.proc.readline(20)
        if line is None:
            raise RuntimeError("chessops referee silent (is it installed? run scripts/setup.sh)")
        try:
            info = json.loads(line)
        except ValueError:
            raise RuntimeError("chessops referee: %s" % line)
        if "error" in info:
            raise RuntimeError("chessops referee: %s" % info["error"])
        return info

    def close(self):
        self.proc.close()


class ClaimReferee:
    """No referee: every move is legal, and the players' result claims end the game."""

    def look(self, startfen, moves):
        """Nothing known of the position but the number of moves made."""
        return {"legal": None, "fen": "", "key": str(len(moves)), "check": False, "over": None}

    def close(self):
        pass


def makereferee(variant, npm):
    """The referee of a variant (see REFEREE)."""
    kind, name = REFEREE[variant]
    if kind == "none":
        return ClaimReferee()
    return RulesReferee(name, npm) if kind == "chessops" else FairyReferee(name)


def barekings(variant, board):
    """Whether neither side can mate any more: bare kings, or a single minor piece beside them (in
    3check only bare kings, since a lone minor piece still gives checks)."""
    men = [c for c in board if c.isalpha()]
    if variant == "3check":
        return len(men) == 2
    return all(c in "kKnNbB" for c in men) and len(men) <= 3


def ending(variant, info):
    """How a game refereed by fairy-stockfish has ended at this position: (result, reason) or None.
    fairy-stockfish lists no moves once a game is over, so the side to move has none."""
    fields = info["fen"].split()
    white = fields[1] == "w" if len(fields) > 1 else True
    board = fields[0] if fields else ""
    win, loss = ("1-0", "0-1") if white else ("0-1", "1-0")
    if variant == "3check" and len(fields) > 4 and "+" in fields[4]:
        left = fields[4].split("+")
        if left[0] == "0":
            return ("1-0", "three checks")
        if left[1] == "0":
            return ("0-1", "three checks")
    if variant == "losers":
        for colour, letters in (("1-0", "PNBRQ"), ("0-1", "pnbrq")):
            if not any(c in letters for c in board):
                return (colour, "bare king")
    if info["legal"]:
        return None
    if variant in ANTICHESS:
        return (win, "mated" if info["check"] else "no moves")
    if info["check"]:
        return (loss, "mate")
    return ("1/2-1/2", "stalemate")


def status(variant, info, keys):
    """The result of a position: None while the game goes on, else (result, reason)."""
    if info["legal"] is None:
        return None   # no referee: the claims end the game
    over = info.get("over") or ending(variant, info)
    if over:
        return tuple(over)
    fields = info["fen"].split()
    if len(fields) >= 2 and fields[-2].isdigit() and int(fields[-2]) >= 100:
        return ("1/2-1/2", "fifty moves")
    if keys.count(info["key"]) >= 3:
        return ("1/2-1/2", "repetition")
    if REFEREE[variant][1] in ("chess", "3check") and barekings(variant, fields[0] if fields else ""):
        return ("1/2-1/2", "bare kings")
    return None


def squares(fen):
    """The men of a FEN's board by square name ("e1": "K")."""
    men = {}
    for rank, row in zip("87654321", fen.split()[0].split("/")):
        file = 0
        for c in row:
            if c.isdigit():
                file += int(c)
            else:
                men["abcdefgh"[file] + rank] = c
                file += 1
    return men


def attacked(men, square, bywhite):
    """Whether a man of the colour attacks the square: pawns, knights and lines up to the first man.
    Kings are left out, as in korvel's attack test."""
    f, r = ord(square[0]) - 97, int(square[1]) - 1

    def man(df, dr):
        x, y = f + df, r + dr
        return men.get(chr(97 + x) + str(y + 1)) if 0 <= x < 8 and 0 <= y < 8 else None

    own = (lambda c: c is not None and c.isupper()) if bywhite else (lambda c: c is not None and c.islower())
    pawn = -1 if bywhite else 1
    if any(man(df, pawn) == ("P" if bywhite else "p") for df in (-1, 1)):
        return True
    jumps = [(1, 2), (2, 1), (-1, 2), (-2, 1), (1, -2), (2, -1), (-1, -2), (-2, -1)]
    if any(own(man(*j)) and man(*j).upper() == "N" for j in jumps):
        return True
    around = [(x, y) for x in (-1, 0, 1) for y in (-1, 0, 1) if x or y]
    for dx, dy in around:
        slider = "RQ" if dx == 0 or dy == 0 else "BQ"
        for step in range(1, 8):
            c = man(dx * step, dy * step)
            if c is None and not (0 <= f + dx * step < 8 and 0 <= r + dy * step < 8):
                break
            if c is not None:
                if own(c) and c.upper() in slider:
                    return True
                break
    return False


def ficsforbidscastling(fen, move):
    """Whether the move is a castling that giveaway under FICS rules (korvel's "fics") forbids, since
    the king stands on, crosses or lands on an attacked square; fairy-stockfish's giveaway allows it."""
    men = squares(fen)
    if move not in ("e1g1", "e1c1", "e8g8", "e8c8") or men.get(move[:2]) not in ("K", "k"):
        return False
    white = men[move[:2]] == "K"
    passed = chr((ord(move[0]) + ord(move[2])) // 2) + move[1]
    return any(attacked(men, sq, not white) for sq in (move[:2], passed, move[2:]))


def claimvalid(claim, variant, infos, keys, index, result, white):
    """1 when a result claim of korvel fits the position after index moves, or one next to it;
    without a referee, when it is the game's result. A claim of its own loss (korvel playing White
    when white) is a resignation, which xboard takes at any time."""
    if claim == ("0-1" if white else "1-0"):
        return True
    if REFEREE[variant][0] == "none":
        return claim.split()[0] == result
    for k in (index - 1, index, index + 1):
        if k < 0 or k >= len(infos):
            continue
        result = status(variant, infos[k], keys[:k + 1])
        fields = infos[k]["fen"].split()
        if result and claim == result[0]:
            return True
        if claim == "1/2-1/2 (Stalemate)" and result and result[1] == "stalemate":
            return True
        if claim == "1/2-1/2" and len(fields) >= 2 and fields[-2].isdigit() and int(fields[-2]) >= 98:
            return True
    return False


class XboardPlayer:
    """korvel or another xboard engine, driven as xboard drives it."""

    def __init__(self, argv, name, iskorvel, log=None, cwd=None):
        self.log = log
        self.argv = argv
        self.name = name
        self.iskorvel = iskorvel
        self.cwd = cwd
        self.proc = None
        self.colors = True
        self.start()

    def start(self):
        """Starts the engine and reads its features."""
        self.proc = Proc(self.argv, self.name, self.log, self.cwd)
        self.proc.send("xboard\nprotover 2\n")
        features = []
        end = time.time() + 10
        while time.time() < end:
            line = self.proc.readline(end - time.time())
            if line is None:
                break
            if line.startswith("feature"):
                features.append(line)
            if "done=1" in line:
                break
        # xboard accepts every feature it knows; without colors=0 it sends the colour commands
        # "white" and "black" in its set phrases.
        names = [name for line in features for name in re.findall(r"(\w+)=", line)]
        self.proc.send("".join("accepted %s\n" % name for name in names))
        self.colors = "colors=0" not in " ".join(features)
        self.ics = "ics=1" in " ".join(features)
        if not self.iskorvel:
            self.proc.send("easy\n")

    def newgame(self, variant, startfen, white, onmove, clock):
        """A new game; an engine not on move at the start, and every engine given a set-up
        position, is put in force mode, as xboard does."""
        self.white = white
        self.first = True
        self.said = []   # ("claim", line), ("move", move) and ("end", reason) as they came
        self.lastafter = []   # the claims written right after the last move
        self.moveat = None    # when the last move line came: the clock stops there, as xboard's does
        text = "new\nrandom\n"
        if variant != "normal":
            text += "variant %s\n" % variant
        if self.ics:
            text += "ics -\n"   # no chess server: a local game
        text += clock.level()
        if startfen or not onmove:
            text += "force\n"
        if startfen:
            text += "setboard %s\n" % startfen
        self.proc.send(text)

    def colour(self, white):
        """The colour command of a side, or nothing when the engine does without them."""
        if not self.colors:
            return ""
        return "white\n" if white else "black\n"

    def turn(self, lastmove, ownclock, otherclock):
        """Hands over the opponent's move (or, at the start, the move) and returns
        (move, claims, refusals, hung)."""
        times = "time %d\notim %d\n" % (centiseconds(ownclock), centiseconds(otherclock))
        if lastmove is None:
            # The engine moves first: xboard's phrase begins with the other colour, then the clocks.
            text = self.colour(not self.white) + times + self.colour(self.white) + "go\n"
        elif self.first:
            # The engine waited in force mode for the opponent's first move.
            text = times + "%s\n" % lastmove + self.colour(self.white) + "go\n"
        else:
            text = times + "%s\n" % lastmove
        self.first = False
        self.proc.send(text)
        return self.readmove(ownclock + GRACE)

    def readmove(self, timeout):
        """Reads up to the engine's move; a refusal of the move handed over ends the reading, and a
        result claim ends it when no move follows within ENDWAIT seconds."""
        claims, refusals = [], []
        end = time.time() + timeout
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                return None, claims, refusals, not self.proc.dead and not claims
            kind, text = self.heard(line)
            if kind == "claim":
                claims.append(text)
                end = min(end, time.time() + ENDWAIT)
            elif kind == "refusal":
                refusals.append(text)
                return None, claims, refusals, False
            elif kind == "move":
                self.moveat = time.time()
                self.lastafter = self.afterclaims()
                return text, claims, refusals, False

    def heard(self, line):
        """What a line of the engine is: ("claim", result line), ("move", move), ("refusal", line) or
        (None, line); claims and moves are noted in the game's record of what the engine said."""
        line = line.strip()
        if line in CLAIMS:
            self.said.append(("claim", line))
            return "claim", line
        if line.startswith("Illegal move"):
            return "refusal", line
        if line.startswith("move "):
            self.said.append(("move", line[5:].strip()))
            return "move", line[5:].strip()
        return None, line

    def afterclaims(self):
        """The result claims written right after a move, in the same moment."""
        claims = []
        while True:
            line = self.proc.readline(AFTERMOVE)
            if line is None:
                return claims
            kind, text = self.heard(line)
            if kind == "claim":
                claims.append(text)

    def hearend(self, lastmove, reason, ownclock, otherclock):
        """Hands over the move that ended the game, as xboard does when a person made it, and returns
        the result claims written in answer. Reading ends at a move, a short while after a claim, or
        after ENDWAIT seconds of thinking."""
        self.said.append(("end", reason))
        self.proc.send("time %d\notim %d\n%s\n" % (centiseconds(ownclock), centiseconds(otherclock), lastmove))
        claims = []
        end = time.time() + min(max(ownclock, 0), ENDWAIT)
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                return claims
            kind, text = self.heard(line)
            if kind == "claim":
                claims.append(text)
                end = min(end, time.time() + DRAIN)
            elif kind == "move":
                return claims

    def endfaults(self):
        """The faults of a game's end in what the engine wrote: a second result line, and a move
        written after a result line or after the move that ended the game."""
        faults, results, over = [], [], None
        for kind, text in self.said:
            if kind == "claim":
                results.append(text)
                if len(results) == 2:
                    faults.append("double result: %s then %s" % tuple(results))
                over = over or "result %s" % text
            elif kind == "end":
                over = over or "the game's end (%s)" % text
            elif over:
                faults.append("move %s written after %s" % (text, over))
                break
        return faults

    def finish(self, result):
        """Tells the result and returns the claims written after the last move. Then, as xboard
        does, "force" (a moment later, as xboard's own writes come)."""
        self.proc.send("result %s {game over}\n" % result)
        claims = []
        end = time.time() + DRAIN
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                break
            kind, text = self.heard(line)
            if kind == "claim":
                claims.append(text)
        self.proc.send("force\n")
        return claims

    def close(self):
        self.proc.close()


class UciPlayer:
    """A UCI engine as the opponent, at a given skill level: fairy-stockfish, or stockfish.js."""

    def __init__(self, argv, name, skill):
        self.argv = argv
        self.name = name
        self.skill = skill
        self.proc = None
        self.variant = None
        self.start()

    def start(self):
        """Starts the engine at its skill level."""
        self.proc = Proc(self.argv, self.name)
        self.proc.send("uci\nsetoption name Skill Level value %d\n" % self.skill)
        self.variant = None

    def newgame(self, variant, startfen, white, onmove, clock):
        """A new game: the variant, and the FEN every position command starts from."""
        self.startfen = startfen
        self.inc = clock.inc
        name = REFEREE[variant][1]
        if self.variant != name:
            self.proc.send("setoption name UCI_Variant value %s\n" % name)
            self.variant = name
        self.proc.send("ucinewgame\nisready\n")
        self.proc.waitfor("readyok", 20)

    def position(self, moves):
        """The position command of the game so far."""
        command = "position fen %s" % self.startfen if self.startfen else "position startpos"
        if moves:
            command += " moves " + " ".join(moves)
        return command

    def turn(self, moves, wclock, bclock, ownclock):
        """The engine's move with both clocks, or None when it says nothing in time."""
        self.proc.send("%s\ngo wtime %d btime %d winc %d binc %d\n" % (
            self.position(moves), max(wclock, 0) * 1000, max(bclock, 0) * 1000, self.inc * 1000, self.inc * 1000))
        lines = self.proc.waitfor("bestmove", ownclock + GRACE)
        if lines is None:
            return None
        parts = lines[-1].split()
        return parts[1] if len(parts) > 1 else None

    def finish(self, result):
        """A UCI engine hears nothing of the result and writes no claims."""
        return []

    def close(self):
        self.proc.close()


def workfolder(books):
    """A fresh working folder for one korvel, holding a copy of the book files of books (none when
    books is empty); removed when the runner ends."""
    folder = tempfile.mkdtemp(prefix="korvel-match-")
    atexit.register(shutil.rmtree, folder, True)
    if books:
        for name in os.listdir(books):
            if os.path.isfile(os.path.join(books, name)):
                shutil.copy(os.path.join(books, name), folder)
    return folder


def startkorvel(path, words, name, books, log):
    """korvel with its command line words in a working folder of its own."""
    return XboardPlayer([os.path.abspath(path)] + words.split(), name, True, log, workfolder(books))


def makepeer(args, variant, log):
    """The opponent of a variant: sjeng, korvel with the peer's command line, or the UCI engine that
    plays the variant."""
    if args.peer == "sjeng":
        return XboardPlayer([SJENG], "sjeng", False)
    if args.peer == "korvel":
        return startkorvel(args.peer_korvel or args.korvel, args.peer_args,
                           "korvel" + (" " + args.peer_args if args.peer_args else ""), args.books, log)
    return ucipeer(variant, args.skill, args.npm)


def ucipeer(variant, skill, npm):
    """The UCI engine that plays the variant at a skill level: stockfish.js in atomic, else
    fairy-stockfish."""
    if variant == "atomic":
        return UciPlayer([NODE, STOCKFISHJS, "--npm", npm], "stockfish.js", skill)
    return UciPlayer([FSF], "fairy-stockfish", skill)


def randomfen(variant, rng):
    """The set-up position of nocastle and wildcastle as the interface sends it."""
    if variant == "nocastle":
        return STARTFEN.replace("KQkq", "-")
    men = list("RNBQKBNR")
    rng.shuffle(men)
    back = "".join(men)
    return "%s/pppppppp/8/8/8/8/PPPPPPPP/%s w - - 0 1" % (back.lower(), back)


def readfens(path):
    """The set-up positions of a file: one FEN a line, or variant;FEN for one variant only; lines
    starting with # are comments. Returns a list of (variant or None, FEN)."""
    fens = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            variant, _, fen = line.rpartition(";")
            fens.append((variant or None, fen))
    return fens


def startposition(variant, fens, number, rng):
    """The FEN a game starts from (None for the starting position): the given set-up positions in
    turn, each played twice so that korvel takes both colours, else nocastle's and wildcastle's."""
    mine = [fen for v, fen in fens if v in (None, variant)]
    if mine:
        return mine[(number // 2) % len(mine)]
    if variant in ("nocastle", "wildcastle"):
        return randomfen(variant, rng)
    return None


class Game:
    """The record of one game: moves, what the referee said of each position, faults and claims."""

    def __init__(self, variant, startfen, korvelwhite):
        self.variant = variant
        self.startfen = startfen
        self.korvelwhite = korvelwhite
        self.startwhite = fenwhite(startfen) if startfen else True
        self.moves, self.infos, self.keys = [], [], []
        self.faults, self.peerfaults = [], []
        self.claims = []       # (claim, index of the position korvel had seen)
        self.peerclaims = []   # the same of a korvel peer
        self.result, self.reason = None, None
        self.refereeerror = None

    def whitetomove(self):
        """Whether White is to move after the moves so far."""
        return (len(self.moves) % 2 == 0) == self.startwhite

    def end(self, result, reason):
        """Records how the game ended."""
        self.result, self.reason = result, reason


def xboardturn(player, game, clock, white, faults, claims):
    """The move of an xboard engine, or None, and whether it hung; its refusals go into faults and,
    for a korvel, its result claims into claims."""
    last = game.moves[-1] if game.moves else None
    player.lastafter = []
    player.moveat = None
    move, said, refusals, hung = player.turn(last, clock.left[white], clock.left[not white])
    if player.iskorvel:
        claims += [(c, len(game.moves)) for c in said] + [(c, len(game.moves) + 1) for c in player.lastafter]
    if refusals and game.variant == "giveaway" and "fics" in getattr(player, "argv", []) and len(game.infos) >= 2 \
            and ficsforbidscastling(game.infos[-2]["fen"], last):
        # Not a fault: the rules differ. The game does not count.
        game.end("*", "%s refused %s by the FICS castling rule, which the referee does not know" % (player.name, last))
    elif refusals:
        faults.append("refused a legal move (%s)" % refusals[0])
        game.end("0-1" if white else "1-0", "%s refused %s" % (player.name, last))
    return move, hung


def korvelturn(korvel, game, clock, white):
    """korvel's move, or None; its refusals and claims go into the game."""
    return xboardturn(korvel, game, clock, white, game.faults, game.claims)


def peerturn(peer, game, clock, white):
    """The peer's move, or None, and whether it hung."""
    if isinstance(peer, UciPlayer):
        move = peer.turn(game.moves, clock.left[True], clock.left[False], clock.left[white])
        return move, move is None and not peer.proc.dead
    return xboardturn(peer, game, clock, white, game.peerfaults, game.peerclaims)


def tellend(game, korvel, peer, clock, reason):
    """Hands the move that ended the game by the rules to the side on move when that is a korvel,
    and notes its answer's result claims."""
    white = game.whitetomove()
    if white == game.korvelwhite:
        player, claims = korvel, game.claims
    elif getattr(peer, "iskorvel", False):
        player, claims = peer, game.peerclaims
    else:
        return
    said = player.hearend(game.moves[-1], reason, clock.left[white], clock.left[not white])
    claims += [(c, len(game.moves)) for c in said]


def playmoves(game, korvel, peer, referee, clock):
    """Plays until the referee, a fault or the ply limit ends the game."""
    claimed = None
    while True:
        info = referee.look(game.startfen, game.moves)
        game.infos.append(info)
        game.keys.append(info["key"])
        over = status(game.variant, info, game.keys)
        if over:
            if over[1] in TERMINAL and game.moves:
                tellend(game, korvel, peer, clock, over[1])
            return game.end(*over)
        if claimed:
            # A result claim ends the game, as under xboard; the referee or the other claims judge it.
            return game.end(*claimed)
        if len(game.moves) >= MAXPLIES:
            return game.end("1/2-1/2", "adjudicated after %d plies" % MAXPLIES)
        white = game.whitetomove()
        iskorvel = white == game.korvelwhite
        claims = (len(game.claims), len(game.peerclaims))
        started = time.time()
        who = korvel if iskorvel else peer
        if iskorvel:
            move, hung = korvelturn(korvel, game, clock, white)
        else:
            move, hung = peerturn(peer, game, clock, white)
        # The wait for claims after the move is the runner's, not the mover's.
        elapsed = (getattr(who, "moveat", None) or time.time()) - started
        if game.result:
            return
        mover = "White" if white else "Black"
        said = game.claims[claims[0]:] + game.peerclaims[claims[1]:]
        if said:
            claimed = (said[0][0].split()[0], "%s claimed %s" % (mover, said[0][0]))
            if move is None:
                return game.end(*claimed)
        intime = clock.spend(white, elapsed)
        loss = "0-1" if white else "1-0"
        side = game.faults if iskorvel else game.peerfaults
        if move is None:
            side.append("silence" if hung else "crash")
            if not hung:
                who.start()
            return game.end(loss, "%s %s" % (mover, "silent" if hung else "crashed"))
        if not intime:
            side.append("time forfeit (%.2fs over)" % -clock.left[white])
            return game.end(loss, "%s lost on time" % mover)
        clock.addmove(white)
        if info["legal"] is not None and move not in info["legal"]:
            side.append("illegal move %s after %s" % (move, " ".join(game.moves) or "the start"))
            return game.end(loss, "%s played an illegal move" % mover)
        game.moves.append(move)


def playgame(korvel, peer, variant, startfen, korvelwhite, clock, npm):
    """Plays one game from the starting position or a FEN; returns the Game."""
    game = Game(variant, startfen, korvelwhite)
    clock.start()
    referee = None
    try:
        referee = makereferee(variant, npm)
        korvel.newgame(variant, startfen, korvelwhite, korvelwhite == game.startwhite, clock)
        peer.newgame(variant, startfen, not korvelwhite, korvelwhite != game.startwhite, clock)
        playmoves(game, korvel, peer, referee, clock)
    except RuntimeError as error:
        game.refereeerror = str(error)
        game.end("*", "referee error: %s" % error)
    finally:
        if referee:
            referee.close()
    game.claims += [(c, len(game.moves)) for c in korvel.finish(game.result)]
    peerclaims = peer.finish(game.result)
    if getattr(peer, "iskorvel", False):
        game.peerclaims += [(c, len(game.moves)) for c in peerclaims]
    for player, faults, claims, white in ((korvel, game.faults, game.claims, korvelwhite),
                                          (peer, game.peerfaults, game.peerclaims, not korvelwhite)):
        if getattr(player, "iskorvel", False) and player.proc.dead:
            if "crash" not in faults:
                faults.append("crash")
            player.start()
        for claim, index in claims:
            if not claimvalid(claim, variant, game.infos, game.keys, index, game.result, white):
                faults.append("wrong result claim %s after %d plies" % (claim, index))
        if getattr(player, "iskorvel", False):
            faults += player.endfaults()
    return game


class Tally:
    """Score per variant, faults, forfeits and the smallest clock korvel was left with."""

    def __init__(self):
        self.faults = 0
        self.refereeerrors = 0
        self.forfeits = {"korvel": 0, "peer": 0}
        self.leastclock = None   # (seconds, game number)

    def add(self, number, game, clock, peeriskorvel):
        """Counts a finished game; a korvel peer's faults are korvel's too."""
        self.faults += len(game.faults) + (len(game.peerfaults) if peeriskorvel else 0)
        self.refereeerrors += game.refereeerror is not None
        self.forfeits["korvel"] += sum(f.startswith("time forfeit") for f in game.faults)
        self.forfeits["peer"] += sum(f.startswith("time forfeit") for f in game.peerfaults)
        left = clock.left[game.korvelwhite]
        if self.leastclock is None or left < self.leastclock[0]:
            self.leastclock = (left, number)

    def report(self):
        """The summary lines after all games."""
        if self.leastclock:
            print("korvel's smallest clock left at a game's end: %.2fs (game %d)" % self.leastclock)
        print("time forfeits: korvel %d, peer %d" % (self.forfeits["korvel"], self.forfeits["peer"]))
        if self.refereeerrors:
            print("referee errors: %d" % self.refereeerrors)
        print("korvel faults: %d" % self.faults)


def gameline(number, game, clock, setup):
    """The line printed after a game: result, both clocks, the faults of both sides; with setup, the
    FEN the game started from."""
    return "game %d %s%s: korvel %s, %s (%s), %d plies, clocks White %.2fs Black %.2fs; korvel faults: %s; " \
           "peer faults: %s" % (
               number, game.variant, " from %s" % game.startfen if setup and game.startfen else "",
               "White" if game.korvelwhite else "Black", game.result, game.reason, len(game.moves),
               clock.left[True], clock.left[False], "; ".join(game.faults) or "none",
               "; ".join(game.peerfaults) or "none")


def playvariant(variant, args, korvel, clock, fens, rng, tally, number, peerlog):
    """All games of one variant; returns the number of the last game played."""
    if args.peer == "sjeng" and variant not in SJENGVARIANTS:
        print("%s: sjeng does not play it, skipped" % variant)
        return number
    peer = makepeer(args, variant, peerlog)
    score, wins, draws, losses = 0.0, 0, 0, 0
    for g in range(args.games):
        number += 1
        korvelwhite = number % 2 == 1   # games of all variants in turn, so even a single game alternates
        startfen = startposition(variant, fens, g, rng)
        game = playgame(korvel, peer, variant, startfen, korvelwhite, clock, args.npm)
        if game.result == "1/2-1/2":
            draws += 1
            score += 0.5
        elif game.result in ("1-0", "0-1") and (game.result == "1-0") == korvelwhite:
            wins += 1
            score += 1
        elif game.result in ("1-0", "0-1"):
            losses += 1
        tally.add(number, game, clock, args.peer == "korvel")
        print(gameline(number, game, clock, bool(fens)), flush=True)
    peer.close()
    print("%s: korvel %.1f/%d (+%d =%d -%d) against %s" % (variant, score, wins + draws + losses, wins, draws,
                                                          losses, peer.name), flush=True)
    return number


def main():
    """Reads the command line, plays every variant and reports; returns the exit status."""
    parser = argparse.ArgumentParser(description="korvel against a peer engine, every move refereed")
    parser.add_argument("--korvel", default=os.path.join(ROOT, "build", "korvel"))
    parser.add_argument("--korvel-args", default="", help="korvel's command line, split on blanks (e.g. fics)")
    parser.add_argument("--peer", default="fairy-stockfish", choices=["fairy-stockfish", "sjeng", "korvel"],
                        help="fairy-stockfish means the UCI peer: stockfish.js in atomic")
    parser.add_argument("--peer-korvel", help="the korvel binary of --peer korvel (default: --korvel)")
    parser.add_argument("--peer-args", default="", help="the command line of --peer korvel, split on blanks")
    parser.add_argument("--peer-log", help="file that receives everything said to and by a korvel peer")
    parser.add_argument("--books", default=BOOKS, help="the book files each korvel finds in its working "
                        "folder; an empty value for none")
    parser.add_argument("--skill", type=int, default=0, help="the UCI peer's Skill Level")
    parser.add_argument("--variants", default="normal,nocastle,3check,crazyhouse")
    parser.add_argument("--games", type=int, default=2, help="games per variant, colours alternating")
    timecontrol = parser.add_mutually_exclusive_group()
    timecontrol.add_argument("--tc", default="60+1", help="base+increment in seconds")
    timecontrol.add_argument("--level", help='xboard\'s level arguments, such as "0 2 12" or "0 0:10 0"')
    parser.add_argument("--fen", action="append", default=[], help="a set-up position to start from (repeatable)")
    parser.add_argument("--fens", help="a file of set-up positions: FEN or variant;FEN a line")
    parser.add_argument("--npm", default=os.path.join(ROOT, "build", "npm"), help="where chessops and stockfish.js are")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--log", help="file that receives everything said to and by korvel")
    args = parser.parse_args()
    variants = args.variants.split(",")
    unknown = [v for v in variants if v not in REFEREE]
    if unknown:
        parser.error("unknown variant %s" % ", ".join(unknown))
    if args.peer != "korvel" and any(REFEREE[v][0] == "none" for v in variants):
        parser.error("no peer plays twokings: use --peer korvel")
    clock = Clock.fromlevel(args.level) if args.level else Clock.fromtc(args.tc)
    fens = [(None, fen) for fen in args.fen] + (readfens(args.fens) if args.fens else [])
    rng = random.Random(args.seed)
    log = open(args.log, "w", buffering=1) if args.log else None
    peerlog = open(args.peer_log, "w", buffering=1) if args.peer_log else None
    korvel = startkorvel(args.korvel, args.korvel_args, "korvel", args.books, log)
    tally = Tally()
    uci = args.peer == "fairy-stockfish"
    print("korvel%s against %s%s at %s, %d games per variant" % (
        " " + args.korvel_args if args.korvel_args else "",
        "korvel " + args.peer_args if args.peer == "korvel" and args.peer_args else args.peer,
        " (Skill Level %d%s)" % (args.skill, "; stockfish.js in atomic" if "atomic" in variants else "") if uci else "",
        clock.describe(), args.games))
    number = 0
    for variant in variants:
        number = playvariant(variant, args, korvel, clock, fens, rng, tally, number, peerlog)
    korvel.close()
    tally.report()
    return 1 if tally.faults or tally.refereeerrors else 0


if __name__ == "__main__":
    sys.exit(main())
