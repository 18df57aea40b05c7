#!/usr/bin/env python3
"""A long run: many consecutive games in ONE korvel process, across all ten variants.

The games go round the variants in turn. Korvel meets the match runner's peers, refereed as there
(tools/match.py): fairy-stockfish in normal, nocastle, 3check, crazyhouse, giveaway, suicide and
losers, stockfish.js in atomic; where no peer plays the variant it meets a second korvel process:
wildcastle (refereed by fairy-stockfish from a shuffled back rank) and twokings, which no referee
knows, so there the receiving korvel is the referee (it refuses an illegal move) and a game ends
when a side claims a result and has no move, or after the match runner's ply limit.

After every game the resident memory (VmRSS) of the long-lived korvel is read. The table shows per
game the variant, korvel's colour, the result, the plies, the memory and the faults. The run fails
(status 1) on any fault of korvel (an illegal or refused move, a time forfeit, a crash, silence, a
wrong claim), on a referee error, and when the memory after the last game is more than MAXGROWTH
above the memory after the first.

Usage: tools/soak.py --games 200 --tc 5+0
"""

import argparse
import os
import random
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import match  # noqa: E402

VARIANTS = ("normal", "atomic", "crazyhouse", "3check", "giveaway", "wildcastle", "suicide", "losers",
            "nocastle", "twokings")
SELFPLAY = ("wildcastle", "twokings")   # no peer plays them: korvel meets a second korvel
UNREFEREED = ("twokings",)             # no referee knows it: the receiving korvel refuses illegal moves
MAXGROWTH = 0.05                       # memory after the last game may exceed the first's by this


def residentkb(pid):
    """The resident memory of a process in kB: (VmRSS, RssAnon), each 0 when it cannot be read.
    RssAnon leaves out the program's own pages, which grow as new code first runs."""
    found = {"VmRSS:": 0, "RssAnon:": 0}
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                fields = line.split()
                if fields and fields[0] in found:
                    found[fields[0]] = int(fields[1])
    except OSError:
        pass
    return found["VmRSS:"], found["RssAnon:"]


def drainclaims(player):
    """The result claims a korvel has already written after its move."""
    claims = []
    while True:
        line = player.proc.readline(0)
        if line is None:
            return claims
        if line.strip() in match.CLAIMS:
            claims.append(line.strip())


def playunrefereed(korvel, other, variant, korvelwhite, clock):
    """A game between two korvel processes that no referee knows: each hands its move to the
    other, which refuses an illegal one. Returns a match.Game."""
    game = match.Game(variant, None, korvelwhite)
    clock.start()
    korvel.newgame(variant, None, korvelwhite, korvelwhite, clock)
    other.newgame(variant, None, not korvelwhite, not korvelwhite, clock)
    claims = []
    while not game.result:
        if len(game.moves) >= match.MAXPLIES:
            game.end("1/2-1/2", "adjudicated after %d plies" % match.MAXPLIES)
            break
        white = game.whitetomove()
        player = korvel if white == korvelwhite else other
        side = game.faults if player is korvel else game.peerfaults
        last = game.moves[-1] if game.moves else None
        started = time.time()
        player.moveat = None
        move, said, refusals, hung = player.turn(last, clock.left[white], clock.left[not white])
        # The clock stops at the move line, not after the wait for claims that may follow it.
        intime = clock.spend(white, (player.moveat or time.time()) - started)
        claims += said
        if refusals:
            # The receiving side refused the move just handed over: the mover's fault.
            (game.peerfaults if player is korvel else game.faults).append("illegal move %s" % last)
            game.end("1-0" if white else "0-1", "%s refused" % last)
        elif move is None and claims:
            game.end(claims[-1].split()[0], "claimed")
        elif move is None:
            side.append("silence" if hung else "crash")
            game.end("0-1" if white else "1-0", "silent" if hung else "crashed")
        elif not intime:
            side.append("time forfeit (%.2fs over)" % -clock.left[white])
            game.end("0-1" if white else "1-0", "lost on time")
        else:
            clock.addmove(white)
            game.moves.append(move)
            # A claim written right after the move ends the game, as under xboard: the claiming
            # side takes the game as over and does not move again.
            after = player.lastafter + drainclaims(player)
            if after:
                claims += after
                game.end(after[0].split()[0], "claimed")
    korvel.finish(game.result)
    other.finish(game.result)
    for player in (korvel, other):
        if player.proc.dead:
            (game.faults if player is korvel else game.peerfaults).append("crash")
            player.start()
    return game


class Peers:
    """The long-lived opponents, started when first needed: fairy-stockfish, stockfish.js and a
    second korvel."""

    def __init__(self, args):
        self.args = args
        self.uci = {}
        self.korvel = None

    def get(self, variant):
        if variant in SELFPLAY:
            if not self.korvel:
                argv = [os.path.abspath(self.args.korvel)] + self.args.korvel_args.split()
                self.korvel = match.XboardPlayer(argv, "korvel (second)", True)
            return self.korvel
        kind = "stockfish.js" if variant == "atomic" else "fairy-stockfish"
        if kind not in self.uci:
            self.uci[kind] = match.ucipeer(variant, self.args.skill, self.args.npm)
        return self.uci[kind]

    def close(self):
        for peer in list(self.uci.values()) + ([self.korvel] if self.korvel else []):
            peer.close()


def main():
    """Plays the games, prints the table and the summary; returns the exit status."""
    parser = argparse.ArgumentParser(description="many games in one korvel process, memory watched")
    parser.add_argument("--korvel", default=os.path.join(match.ROOT, "build", "korvel"))
    parser.add_argument("--korvel-args", default="fics", help="korvel's command line (fics: atomic's castling rule)")
    parser.add_argument("--games", type=int, default=200)
    parser.add_argument("--tc", default="5+0", help="base+increment in seconds")
    parser.add_argument("--skill", type=int, default=0, help="the UCI peers' Skill Level")
    parser.add_argument("--npm", default=os.path.join(match.ROOT, "build", "npm"))
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    clock = match.Clock.fromtc(args.tc)
    rng = random.Random(args.seed)
    korvel = match.XboardPlayer([os.path.abspath(args.korvel)] + args.korvel_args.split(), "korvel", True)
    pid = korvel.proc.p.pid
    peers = Peers(args)
    tally = match.Tally()
    memory, anonymous = [], []
    print("soak: %d games in one korvel (pid %d)%s at %s, variants in turn" % (
        args.games, pid, " " + args.korvel_args if args.korvel_args else "", clock.describe()))
    print("%5s %-11s %-6s %-8s %6s %10s %10s  %s" % (
        "game", "variant", "korvel", "result", "plies", "VmRSS kB", "RssAnon kB", "faults"))
    for number in range(1, args.games + 1):
        variant = VARIANTS[(number - 1) % len(VARIANTS)]
        korvelwhite = ((number - 1) // len(VARIANTS)) % 2 == 0
        peer = peers.get(variant)
        if variant in UNREFEREED:
            game = playunrefereed(korvel, peer, variant, korvelwhite, clock)
        else:
            startfen = match.startposition(variant, [], number, rng)
            game = match.playgame(korvel, peer, variant, startfen, korvelwhite, clock, args.npm)
        tally.add(number, game, clock, variant in SELFPLAY)
        if korvel.proc.p.pid != pid and "crash" not in game.faults:
            game.faults.append("crash")
            tally.faults += 1
        pid = korvel.proc.p.pid
        rss, anon = residentkb(pid)
        memory.append(rss)
        anonymous.append(anon)
        print("%5d %-11s %-6s %-8s %6d %10d %10d  %s" % (
            number, variant, "White" if korvelwhite else "Black", game.result, len(game.moves), rss, anon,
            "; ".join(game.faults) or "none"), flush=True)
    korvel.close()
    peers.close()
    first, last = memory[0], memory[-1]
    growth = (last - first) / first if first else 0.0
    print("games %d, korvel faults %d, time forfeits %d, referee errors %d" % (
        args.games, tally.faults, tally.forfeits["korvel"], tally.refereeerrors))
    print("memory (VmRSS) after the first game %d kB, after the last %d kB (%+.1f %%), largest %d kB" % (
        first, last, 100 * growth, max(memory)))
    print("anonymous memory (RssAnon) after the first game %d kB, after the last %d kB, largest %d kB" % (
        anonymous[0], anonymous[-1], max(anonymous)))
    failed = tally.faults or tally.refereeerrors or growth > MAXGROWTH
    print("soak %s" % ("FAILED" if failed else "passed"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
