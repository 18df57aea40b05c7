#!/usr/bin/env python3
"""Plays korvel against a peer engine and checks every move.

The peer is fairy-stockfish (UCI) or an xboard engine such as sjeng. A second fairy-stockfish
instance is the referee: before every move it lists the legal moves ("go perft 1") and shows the
position ("d"), from which the runner decides mate, stalemate, the third check, the fifty-move
count, repetitions and bare kings. Clocks are real: the time from handing a side the position to
reading its move is taken off its clock.

Faults of korvel: an illegal move, a legal move it refused, a time forfeit, a crash, silence, and a
wrong result claim. The runner prints every game with its faults and the score per variant, and
exits with status 1 when korvel committed any fault.

Usage: tools/match.py --peer fairy-stockfish --variants normal,3check --games 4 --tc 60+1
"""

import argparse
import os
import random
import re
import select
import subprocess
import sys
import time

FSF = "/usr/games/fairy-stockfish"
SJENG = "/usr/games/sjeng"
STARTFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
CLAIMS = ("1-0", "0-1", "1/2-1/2", "1/2-1/2 (Stalemate)")
PERFTLINE = re.compile(r"^([a-h][1-8][a-h][1-8][a-z]?|[A-Z]@[a-h][1-8]): \d+$")
GRACE = 5.0          # seconds past the clock before a silent side is declared hung
MAXPLIES = 400       # longer games are adjudicated drawn
# The referee's name of each variant, and whether the game starts from a set-up position.
REFEREEVARIANT = {"normal": "chess", "nocastle": "chess", "wildcastle": "chess", "3check": "3check",
                  "crazyhouse": "crazyhouse"}
SJENGVARIANTS = ("normal", "crazyhouse")


class Proc:
    """A child process read line by line, every read with a time limit."""

    def __init__(self, argv, name, log=None):
        self.name = name
        self.argv = argv
        self.log = log
        self.p = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, bufsize=0)
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


class Referee:
    """fairy-stockfish asked for legal moves and the position."""

    def __init__(self, variant):
        self.proc = Proc([FSF], "referee")
        self.proc.send("uci\nsetoption name UCI_Variant value %s\nisready\n" % REFEREEVARIANT[variant])
        self.waitfor("readyok", 10)

    def waitfor(self, prefix, timeout):
        lines = []
        while True:
            line = self.proc.readline(timeout)
            if line is None:
                raise RuntimeError("referee silent")
            lines.append(line)
            if line.startswith(prefix):
                return lines

    def look(self, startfen, moves):
        """Legal moves, FEN, key and whether the side to move is in check."""
        command = "position fen %s" % startfen if startfen else "position startpos"
        if moves:
            command += " moves " + " ".join(moves)
        self.proc.send(command + "\nd\ngo perft 1\n")
        lines = self.waitfor("Nodes searched", 20)
        info = {"legal": [], "fen": "", "key": "", "check": False}
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


def status(variant, info, keys):
    """The result of a position: None while the game goes on, else (result, reason)."""
    fields = info["fen"].split()
    white = fields[1] == "w" if len(fields) > 1 else True
    if variant == "3check" and len(fields) > 4 and "+" in fields[4]:
        left = fields[4].split("+")
        if left[0] == "0":
            return ("1-0", "three checks")
        if left[1] == "0":
            return ("0-1", "three checks")
    if not info["legal"]:
        if info["check"]:
            return ("0-1", "mate") if white else ("1-0", "mate")
        return ("1/2-1/2", "stalemate")
    if len(fields) >= 2 and fields[-2].isdigit() and int(fields[-2]) >= 100:
        return ("1/2-1/2", "fifty moves")
    if keys.count(info["key"]) >= 3:
        return ("1/2-1/2", "repetition")
    board = fields[0] if fields else ""
    if variant != "crazyhouse":
        men = [c for c in board if c.isalpha()]
        if all(c in "kKnNbB" for c in men) and len(men) <= 3:
            return ("1/2-1/2", "bare kings")
    return None


def claimvalid(claim, variant, infos, keys, index):
    """1 when a result claim of korvel fits the position after index moves, or one next to it."""
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


def levelcommand(base, inc):
    return "level 0 %d:%02d %d\n" % (int(base) // 60, int(base) % 60, int(inc))


class XboardPlayer:
    """korvel or another xboard engine."""

    def __init__(self, argv, name, iskorvel, log=None):
        self.log = log
        self.argv = argv
        self.name = name
        self.iskorvel = iskorvel
        self.proc = None
        self.start()

    def start(self):
        self.proc = Proc(self.argv, self.name, self.log)
        self.proc.send("xboard\nprotover 2\n")
        end = time.time() + 10
        while time.time() < end:
            line = self.proc.readline(end - time.time())
            if line is None or "done=1" in line:
                break
        if not self.iskorvel:
            self.proc.send("easy\n")

    def newgame(self, variant, startfen, white, base, inc):
        self.white = white
        self.startfen = startfen
        self.first = True
        text = "new\n"
        if variant != "normal":
            text += "variant %s\n" % variant
        text += levelcommand(base, inc)
        if startfen:
            text += ("setboard %s\n" % startfen) if white else ("force\nsetboard %s\n" % startfen)
        self.proc.send(text)

    def turn(self, lastmove, ownclock, otherclock):
        """Hands over the opponent's move (or go) and returns (move, claims, refusals, hung)."""
        text = "time %d\notim %d\n" % (max(ownclock, 0) * 100, max(otherclock, 0) * 100)
        if lastmove is None:
            text += "go\n"
        elif self.first and self.startfen and not self.white:
            text += "%s\nblack\n" % lastmove
        else:
            text += "%s\n" % lastmove
        self.first = False
        self.proc.send(text)
        return self.readmove(ownclock + GRACE)

    def readmove(self, timeout):
        claims, refusals = [], []
        end = time.time() + timeout
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                return None, claims, refusals, not self.proc.dead
            line = line.strip()
            if line in CLAIMS:
                claims.append(line)
            elif line.startswith("Illegal move"):
                refusals.append(line)
            elif line.startswith("move "):
                return line[5:].strip(), claims, refusals, False

    def drain(self, seconds):
        """Claims written after the last move."""
        claims = []
        end = time.time() + seconds
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                return claims
            if line.strip() in CLAIMS:
                claims.append(line.strip())

    def endgame(self, result):
        self.proc.send("result %s {game over}\n" % result)

    def close(self):
        self.proc.close()


class UciPlayer:
    """fairy-stockfish as the opponent, at a given skill level."""

    def __init__(self, skill):
        self.name = "fairy-stockfish"
        self.skill = skill
        self.proc = None
        self.variant = None
        self.start()

    def start(self):
        self.proc = Proc([FSF], self.name)
        self.proc.send("uci\nsetoption name Skill Level value %d\n" % self.skill)
        self.variant = None

    def newgame(self, variant, startfen, white, base, inc):
        self.startfen = startfen
        self.inc = inc
        if self.variant != variant:
            self.proc.send("setoption name UCI_Variant value %s\n" % REFEREEVARIANT[variant])
            self.variant = variant
        self.proc.send("ucinewgame\nisready\n")
        end = time.time() + 10
        while time.time() < end:
            line = self.proc.readline(end - time.time())
            if line is None or line.startswith("readyok"):
                break

    def position(self, moves):
        command = "position fen %s" % self.startfen if self.startfen else "position startpos"
        if moves:
            command += " moves " + " ".join(moves)
        return command

    def turn(self, moves, wclock, bclock, ownclock):
        self.proc.send("%s\ngo wtime %d btime %d winc %d binc %d\n" % (
            self.position(moves), max(wclock, 0) * 1000, max(bclock, 0) * 1000, self.inc * 1000, self.inc * 1000))
        end = time.time() + ownclock + GRACE
        while True:
            line = self.proc.readline(max(end - time.time(), 0))
            if line is None:
                return None
            if line.startswith("bestmove"):
                parts = line.split()
                return parts[1] if len(parts) > 1 else None

    def endgame(self, result):
        pass

    def close(self):
        self.proc.close()


def randomfen(variant, rng):
    """The set-up position of nocastle and wildcastle as the interface sends it."""
    if variant == "nocastle":
        return STARTFEN.replace("KQkq", "-")
    men = list("RNBQKBNR")
    rng.shuffle(men)
    back = "".join(men)
    return "%s/pppppppp/8/8/8/8/PPPPPPPP/%s w - - 0 1" % (back.lower(), back)


def playgame(number, korvel, peer, variant, korvelwhite, base, inc, rng):
    """Plays one game; returns (result, reason, korvel faults, peer faults, plies)."""
    startfen = randomfen(variant, rng) if variant in ("nocastle", "wildcastle") else None
    referee = Referee(variant)
    moves, infos, keys = [], [], []
    faults, peerfaults = [], []
    clocks = {True: float(base), False: float(base)}   # by colour: True = White
    korvel.newgame(variant, startfen, korvelwhite, base, inc)
    peer.newgame(variant, startfen, not korvelwhite, base, inc)
    claims = []   # (claim, index of the position korvel had seen)
    result, reason = None, None
    while True:
        info = referee.look(startfen, moves)
        infos.append(info)
        keys.append(info["key"])
        over = status(variant, info, keys)
        if over:
            result, reason = over
            break
        if len(moves) >= MAXPLIES:
            result, reason = "1/2-1/2", "adjudicated after %d plies" % MAXPLIES
            break
        whitetomove = len(moves) % 2 == 0
        korvelturn = whitetomove == korvelwhite
        started = time.time()
        if korvelturn:
            last = moves[-1] if moves else None
            move, turnclaims, refusals, hung = korvel.turn(last, clocks[whitetomove], clocks[not whitetomove])
            for c in turnclaims:
                claims.append((c, len(moves)))
            for r in refusals:
                faults.append("refused a legal move (%s)" % r)
        else:
            move = peer.turn(moves, clocks[True], clocks[False], clocks[whitetomove]) if isinstance(peer, UciPlayer) \
                else peer.turn(moves[-1] if moves else None, clocks[whitetomove], clocks[not whitetomove])[0]
            hung = move is None and not peer.proc.dead
        clocks[whitetomove] -= time.time() - started
        mover = "White" if whitetomove else "Black"
        loss = "0-1" if whitetomove else "1-0"
        side = faults if korvelturn else peerfaults
        who = korvel if korvelturn else peer
        if move is None:
            if who.proc.dead:
                side.append("crash")
                result, reason = loss, "%s crashed" % mover
                who.start()
            else:
                side.append("silence")
                result, reason = loss, "%s silent" % mover
            break
        if clocks[whitetomove] < 0:
            side.append("time forfeit (%.2fs over)" % -clocks[whitetomove])
            result, reason = loss, "%s lost on time" % mover
            break
        clocks[whitetomove] += inc
        if move not in info["legal"]:
            side.append("illegal move %s after %s" % (move, " ".join(moves) or "the start"))
            result, reason = loss, "%s played an illegal move" % mover
            break
        moves.append(move)
    korvel.endgame(result)
    peer.endgame(result)
    for c in korvel.drain(0.3):
        claims.append((c, len(moves)))
    if korvel.proc.dead:
        if "crash" not in faults:
            faults.append("crash")
        korvel.start()
    for claim, index in claims:
        if not claimvalid(claim, variant, infos, keys, index):
            faults.append("wrong result claim %s after %d plies" % (claim, index))
    referee.close()
    return result, reason, faults, peerfaults, len(moves)


def main():
    parser = argparse.ArgumentParser(description="korvel against a peer engine, every move refereed")
    parser.add_argument("--korvel", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build",
                                                         "korvel"))
    parser.add_argument("--peer", default="fairy-stockfish", choices=["fairy-stockfish", "sjeng"])
    parser.add_argument("--skill", type=int, default=0, help="fairy-stockfish Skill Level")
    parser.add_argument("--variants", default="normal,nocastle,3check,crazyhouse")
    parser.add_argument("--games", type=int, default=2, help="games per variant, colours alternating")
    parser.add_argument("--tc", default="60+1", help="base+increment in seconds")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--log", help="file that receives everything said to and by korvel")
    args = parser.parse_args()
    base, inc = (float(x) for x in args.tc.split("+"))
    inc = int(inc)
    rng = random.Random(args.seed)
    log = open(args.log, "w", buffering=1) if args.log else None
    korvel = XboardPlayer([os.path.abspath(args.korvel)], "korvel", True, log)
    if args.peer == "sjeng":
        peer = XboardPlayer([SJENG], "sjeng", False)
    else:
        peer = UciPlayer(args.skill)
    totalfaults = 0
    number = 0
    print("korvel against %s%s at %s, %d games per variant" % (
        args.peer, " (Skill Level %d)" % args.skill if args.peer == "fairy-stockfish" else "", args.tc, args.games))
    for variant in args.variants.split(","):
        if args.peer == "sjeng" and variant not in SJENGVARIANTS:
            print("%s: sjeng does not play it, skipped" % variant)
            continue
        score, wins, draws, losses = 0.0, 0, 0, 0
        for g in range(args.games):
            number += 1
            korvelwhite = g % 2 == 0
            result, reason, faults, peerfaults, plies = playgame(number, korvel, peer, variant, korvelwhite, base,
                                                                 inc, rng)
            won = (result == "1-0") == korvelwhite and result != "1/2-1/2"
            if result == "1/2-1/2":
                draws += 1
                score += 0.5
            elif won:
                wins += 1
                score += 1
            else:
                losses += 1
            totalfaults += len(faults)
            print("game %d %s: korvel %s, %s (%s), %d plies; korvel faults: %s; peer faults: %s" % (
                number, variant, "White" if korvelwhite else "Black", result, reason, plies,
                "; ".join(faults) or "none", "; ".join(peerfaults) or "none"), flush=True)
        print("%s: korvel %.1f/%d (+%d =%d -%d)" % (variant, score, wins + draws + losses, wins, draws, losses),
              flush=True)
    korvel.close()
    peer.close()
    print("korvel faults: %d" % totalfaults)
    return 1 if totalfaults else 0


if __name__ == "__main__":
    sys.exit(main())
